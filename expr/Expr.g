// The expression language: statements of expressions and assignments, one per
// line, evaluated while they are parsed (there is no syntax tree). Every rule
// returns its value and writes the normalised text of what it matched: the
// primary assigns its text, the combining rules append theirs.
//
//   x = 2 ^ 100 + sin(PI / 6)
//   (x | 0xff) >> 2
//
// Values assigned by an input are committed to the variables table only when
// the whole input has been evaluated without error.

header "pre_include_hpp" {
#include <cstddef>
#include <map>
#include <string>
#include <utility>

#include "bignum/bigfloat.h"
#include "expr/ExprParserException.h"
#include "expr/IExprParserDisplayer.h"
#include "expr/IExprParserLog.h"

namespace expr_actions {
class Access;
}
}

header "post_include_cpp" {
#include "expr/Arithmetic.h"
#include "expr/Constants.h"
#include "expr/ExprActions.h"
}

options {
    language = "Cpp";
}

class ExprParser extends Parser;

options {
    k = 2;
    buildAST = false;
    defaultErrorHandler = false;  // the first error ends the evaluation
    exportVocab = ExprParser;
}

// Listed in this order so that the token numbers are fixed: NEWLINE is 4, WS 32.
tokens {
    NEWLINE;
    ID;
    EQUALS;
    BIT_OR;
    BIT_XOR;
    BIT_AND;
    BIT_LEFT_SHIFT;
    BIT_RIGHT_SHIFT;
    PLUS;
    MINUS;
    MULTIPLE;
    DIVIDE;
    MOD;
    BIT_NOT;
    POWER;
    FACTORIAL;
    DOUBLE;
    Bin;
    OCT;
    HEX;
    LEFT_PARENTHESES;
    RIGHT_PARENTHESES;
    COMMA;
    LEFT_SQUARE_BRAKET;
    RIGHT_SQUARE_BRAKET;
    LEFT_BRACE;
    RIGHT_BRACE;
    DBL_OCT;
    WS;
}

{
public:
    using Table = std::map<std::string, bignum::bigfloat>;

    // Brackets and calls nested deeper than this are refused, so that no input
    // can exhaust the stack of the recursive descent.
    static constexpr int MaxNesting = 1000;

    // Where the results go: the listeners (either may be null) and the
    // evaluator's tables, which must outlive the parser.
    void setTargets(IExprParserDisplayer* displayer, IExprParserLog* log, Table* variables, const Table* constants) {
        displayer_ = displayer;
        log_ = log;
        variables_ = variables;
        constants_ = constants;
    }
    // With `dryRun` the input is evaluated as usual but assigns nothing: the
    // variables and the displayer are left alone when it ends.
    void setDryRun(bool dryRun) { dryRun_ = dryRun; }

    // Counts the consumed tokens: the position that trial parses of calls are remembered by.
    void consume() override {
        ++consumed_;
        ANTLR_USE_NAMESPACE(antlr)LLkParser::consume();
    }

private:
    friend class expr_actions::Access;

    IExprParserDisplayer* displayer_ = nullptr;
    IExprParserLog* log_ = nullptr;
    Table* variables_ = nullptr;
    const Table* constants_ = nullptr;
    Table pendingAssignments_;
    bool dryRun_ = false;

    int nesting_ = 0;
    std::size_t consumed_ = 0;
    // Whether a call of 1 or 2 arguments starts at a token position. The trial
    // parse of a call meets the calls nested in it; remembering their outcome
    // keeps nested calls from being tried over and over (which would double
    // the work with each level).
    std::map<std::pair<std::size_t, int>, bool> callShapes_;

    // Whether ID ( bitOrExpr ) (arity 1) or ID ( bitOrExpr , bitOrExpr )
    // (arity 2) follows: a trial parse without actions, the input rewound after it.
    bool isCall(int arity) {
        const auto key = std::make_pair(consumed_, arity);
        if (const auto known = callShapes_.find(key); known != callShapes_.end()) return known->second;
        // The trial descends into the calls nested in this one: it counts as a level.
        Nesting level(*this, LT(1));
        const unsigned int start = mark();
        const std::size_t consumed = consumed_;
        bool matched = true;
        ++inputState->guessing;
        try {
            std::string text;
            match(ID);
            match(LEFT_PARENTHESES);
            bitOrExpr(text);
            if (arity == 2) {
                match(COMMA);
                bitOrExpr(text);
            }
            match(RIGHT_PARENTHESES);
        } catch (ANTLR_USE_NAMESPACE(antlr)RecognitionException&) {
            matched = false;
        }
        --inputState->guessing;
        rewind(start);
        consumed_ = consumed;
        callShapes_[key] = matched;
        return matched;
    }

    // One level of brackets or of a call for as long as it lives; refuses the
    // level beyond MaxNesting with the span of the token that opens it.
    class Nesting {
    public:
        Nesting(ExprParser& parser, const ANTLR_USE_NAMESPACE(antlr)RefToken& opening) : parser_(parser) {
            if (parser_.nesting_ >= MaxNesting)
                throw ExprParserException(ExprParserException::Kind::Nesting, "The expression is too deeply nested !",
                                          opening->getLine(), opening->getColumn(), opening->getLine(),
                                          opening->getColumn());
            ++parser_.nesting_;
        }
        ~Nesting() { --parser_.nesting_; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

    private:
        ExprParser& parser_;
    };
}

// The whole input: statements, each ended by line breaks. Parsing ends at the
// first token after a statement's line breaks that cannot start another.
program
{
    std::string text;
    bignum::bigfloat value;
    expr_actions::Access::beginInput(*this);
}
    : (NEWLINE)*
      ( value = statement[text] { expr_actions::Access::logStatement(*this, text, value); } (NEWLINE)+ )+
      { expr_actions::Access::commit(*this); }
    ;

// A name followed by line breaks and nothing else (the check of a name): a
// name holding a line break would break the constants file it is saved to.
nameOnly
    : ID (NEWLINE)+ EOF
    ;

// A decimal number followed by line breaks and nothing else (the check of a number).
numberOnly
    : DOUBLE (NEWLINE)+ EOF
    ;

statement [std::string& text] returns [bignum::bigfloat value]
{
    std::string expression;
}
    : value = bitOrExpr[text] { expr_actions::Access::assign(*this, "ans", value); }
    | name:ID EQUALS value = bitOrExpr[expression]
      {
          text = name->getText() + " = " + expression;
          expr_actions::Access::assign(*this, name->getText(), value);
      }
    ;

bitOrExpr [std::string& text] returns [bignum::bigfloat value]
{
    std::string right;
    bignum::bigfloat operand;
}
    : value = bitXorExpr[text]
      ( op:BIT_OR operand = bitXorExpr[right]
        {
            text += " | " + right;
            value = expr_actions::bitwise(expr_actions::Bitwise::Or, value, operand, op);
        }
      )*
    ;

bitXorExpr [std::string& text] returns [bignum::bigfloat value]
{
    std::string right;
    bignum::bigfloat operand;
}
    : value = bitAndExpr[text]
      ( op:BIT_XOR operand = bitAndExpr[right]
        {
            text += " $ " + right;
            value = expr_actions::bitwise(expr_actions::Bitwise::Xor, value, operand, op);
        }
      )*
    ;

bitAndExpr [std::string& text] returns [bignum::bigfloat value]
{
    std::string right;
    bignum::bigfloat operand;
}
    : value = shiftExpr[text]
      ( op:BIT_AND operand = shiftExpr[right]
        {
            text += " & " + right;
            value = expr_actions::bitwise(expr_actions::Bitwise::And, value, operand, op);
        }
      )*
    ;

shiftExpr [std::string& text] returns [bignum::bigfloat value]
{
    std::string right;
    bignum::bigfloat operand;
}
    : value = additiveExpr[text]
      ( ( left:BIT_LEFT_SHIFT operand = additiveExpr[right]
          {
              text += " << " + right;
              value = expr_actions::bitwise(expr_actions::Bitwise::LeftShift, value, operand, left);
          }
        | rightShift:BIT_RIGHT_SHIFT operand = additiveExpr[right]
          {
              text += " >> " + right;
              value = expr_actions::bitwise(expr_actions::Bitwise::RightShift, value, operand, rightShift);
          }
        )
      )*
    ;

additiveExpr [std::string& text] returns [bignum::bigfloat value]
{
    std::string right;
    bignum::bigfloat operand;
}
    : value = multiplicativeExpr[text]
      ( ( plus:PLUS operand = multiplicativeExpr[right]
          {
              text += " + " + right;
              value = expr_actions::sum(value, operand, plus);
          }
        | minus:MINUS operand = multiplicativeExpr[right]
          {
              text += " - " + right;
              value = expr_actions::difference(value, operand, minus);
          }
        )
      )*
    ;

multiplicativeExpr [std::string& text] returns [bignum::bigfloat value]
{
    std::string right;
    bignum::bigfloat operand;
}
    : value = unaryExpr[text]
      ( ( times:MULTIPLE operand = unaryExpr[right]
          {
              text += " * " + right;
              value = expr_actions::product(value, operand, times);
          }
        | divide:DIVIDE operand = unaryExpr[right]
          {
              value = expr_actions::quotient(value, operand, divide);
              text += " / " + right;
          }
        | mod:MOD operand = unaryExpr[right]
          {
              value = expr_actions::remainder(value, operand, mod);
              text += " % " + right;
          }
        )
      )*
    ;

// A prefix operator applies to a whole power and does not nest.
unaryExpr [std::string& text] returns [bignum::bigfloat value]
    : MINUS value = powerExpr[text]
      {
          text = "-" + text;
          value = -value;
      }
    | tilde:BIT_NOT value = powerExpr[text]
      {
          text = "~" + text;
          value = expr_actions::complement(value, tilde);
      }
    | value = powerExpr[text]
    ;

// Left-associative: 2 ^ 3 ^ 2 is 64. A minus sign directly after ^ negates
// the exponent (it does not nest): 2 ^ -1 is 0.5, 2 ^ -2 ^ 2 is (2 ^ -2) ^ 2.
powerExpr [std::string& text] returns [bignum::bigfloat value]
{
    std::string right;
    bignum::bigfloat operand;
    bool negative = false;
}
    : value = factorialExpr[text]
      ( op:POWER ( MINUS { negative = true; } )? operand = factorialExpr[right]
        {
            if (negative) {
                operand = -operand;
                right = "-" + right;
                negative = false;
            }
            text += " ^ " + right;
            value = expr_actions::power(value, operand, op);
        }
      )*
    ;

factorialExpr [std::string& text] returns [bignum::bigfloat value]
    : value = primaryExpr[text]
      ( bang:FACTORIAL
        {
            value = expr_actions::factorial(value, bang);
            text += "!";
        }
      )?
    ;

primaryExpr [std::string& text] returns [bignum::bigfloat value]
    : number:DOUBLE
      {
          text = number->getText();
          value = expr_actions::literal(arithmetic::decimal(text), number);
      }
    | binary:Bin
      {
          text = binary->getText();
          value = expr_actions::literal(fromBinaryText(text, VALUE_LIMIT), binary);
      }
    | octal:OCT
      {
          text = octal->getText();
          value = expr_actions::literal(fromOctalText(text, VALUE_LIMIT), octal);
      }
    | hex:HEX
      {
          text = hex->getText();
          value = expr_actions::literal(fromHexText(text, VALUE_LIMIT), hex);
      }
    | value = group[text]
    | { isCall(1) }? value = callOfOne[text]
    | { isCall(2) }? value = callOfTwo[text]
    | name:ID
      {
          text = name->getText();
          value = expr_actions::Access::lookUp(*this, name);
      }
    ;

// The three kinds of brackets group alike and keep their kind in the text.
// The one-token trial on "(" decides nothing; it is there because a grammar
// with a syntactic predicate has all its actions kept from running while
// calls are tried (isCall).
group [std::string& text] returns [bignum::bigfloat value]
{
    Nesting level(*this, LT(1));
    std::string inner;
}
    : (LEFT_PARENTHESES) => LEFT_PARENTHESES value = bitOrExpr[inner] RIGHT_PARENTHESES { text = "(" + inner + ")"; }
    | LEFT_SQUARE_BRAKET value = bitOrExpr[inner] RIGHT_SQUARE_BRAKET { text = "[" + inner + "]"; }
    | LEFT_BRACE value = bitOrExpr[inner] RIGHT_BRACE { text = "{" + inner + "}"; }
    ;

callOfOne [std::string& text] returns [bignum::bigfloat value]
{
    Nesting level(*this, LT(1));
    std::string argument;
    bignum::bigfloat x;
}
    : name:ID LEFT_PARENTHESES x = bitOrExpr[argument] close:RIGHT_PARENTHESES
      {
          text = name->getText() + "(" + argument + ")";
          value = expr_actions::call(name, close, &x, nullptr);
      }
    ;

callOfTwo [std::string& text] returns [bignum::bigfloat value]
{
    Nesting level(*this, LT(1));
    std::string first, second;
    bignum::bigfloat a, b;
}
    : name:ID LEFT_PARENTHESES a = bitOrExpr[first] COMMA b = bitOrExpr[second] close:RIGHT_PARENTHESES
      {
          text = name->getText() + "(" + first + ", " + second + ")";
          value = expr_actions::call(name, close, &a, &b);
      }
    ;

// The tokens. Every token is decided by its first character and the next
// one, so one character of lookahead serves: after a number's "e" an exponent
// must follow (1e is an error, not 1 and e).
class ExprLexer extends Lexer;

options {
    k = 1;
    importVocab = ExprParser;
    charVocabulary = '\3'..'\377';
    testLiterals = false;
    caseSensitive = true;
}

// Blanks and tabs separate tokens and are dropped; a tab moves the column to
// the next tab stop.
WS
    : (' ' | '\t')+ { $setType(ANTLR_USE_NAMESPACE(antlr)Token::SKIP); }
    ;

// Line ends in any mix make one token; the line count never advances.
NEWLINE
    : ('\r' | '\n')+
    ;

EQUALS : '=' ;
BIT_OR : '|' ;
BIT_XOR : '$' ;
BIT_AND : '&' ;
BIT_LEFT_SHIFT : "<<" ;
BIT_RIGHT_SHIFT : ">>" ;
PLUS : '+' ;
MINUS : '-' ;
MULTIPLE : '*' ;
DIVIDE : '/' ;
MOD : '%' ;
BIT_NOT : '~' ;
POWER : '^' ;
FACTORIAL : '!' ;
LEFT_PARENTHESES : '(' ;
RIGHT_PARENTHESES : ')' ;
COMMA : ',' ;
LEFT_SQUARE_BRAKET : '[' ;
RIGHT_SQUARE_BRAKET : ']' ;
LEFT_BRACE : '{' ;
RIGHT_BRACE : '}' ;

ID
    : ('a'..'z' | 'A'..'Z' | '_') ('a'..'z' | 'A'..'Z' | '_' | '0'..'9')*
    ;

// Decimal numbers, and after a leading 0 the binary (0b), hexadecimal (0x)
// and octal (0 and octal digits) ones. A sign is never part of a number.
DOUBLE
    : '.' ('0'..'9')+ (EXPONENT)?
    | '0'
      ( ('b' | 'B') ('0' | '1')+ { $setType(Bin); }
      | ('x' | 'X') (HEX_DIGIT)+ { $setType(HEX); }
      | ('0'..'7')+ { $setType(OCT); }
      | ('.' ('0'..'9')*)? (EXPONENT)?
      )
    | '1'..'9' ('0'..'9')* ('.' ('0'..'9')*)? (EXPONENT)?
    ;

protected EXPONENT
    : ('e' | 'E') ('+' | '-')? ('0'..'9')+
    ;

protected HEX_DIGIT
    : '0'..'9' | 'a'..'f' | 'A'..'F'
    ;
