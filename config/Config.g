// Grammar of the configuration file: one block of leaves and nested blocks.
//
//   Variables
//   {
//       x = 2;
//       y = 3.5;
//   }
//
// Words are runs of any bytes from 3 to 255 but blanks, tabs, line ends and
// the five punctuation characters # ; = { }. There is no quoting and no escape.
// Comments run from "#" to the end of the line; blanks, line ends and comments
// may stand between any two tokens. Reading stops at the closing brace of the
// first block.

header "pre_include_hpp" {
#include <memory>
#include <string>

#include "config/ComponentFactoryT.h"
}

options {
    language = "Cpp";
}

class ConfigParser extends Parser;

options {
    k = 2;
    buildAST = false;
    defaultErrorHandler = false;  // no recovery: the first error ends reading
}

// Listed first so that the token numbers are fixed: STR is 4, WHITE_SPACE 10.
tokens {
    STR;
    LBRACKET;
    EQUALS;
    SEMI_COLON;
    RBRACKET;
    COMMENT;
    WHITE_SPACE;
}

{
public:
    using Node = ComponentT<std::string>;
    using Factory = ComponentFactoryT<std::string>;

    // Blocks nested deeper than this are refused, so that a hostile file cannot
    // exhaust the stack of the reader, the writer or the destructor.
    static constexpr int MaxDepth = 1000;

private:
    int depth_ = 0;

    // Counts one level of nesting for as long as it lives.
    class DepthGuard {
    public:
        DepthGuard(ConfigParser& parser, int line) : parser_(parser) {
            if (++parser_.depth_ > MaxDepth) {
                --parser_.depth_;
                throw ANTLR_USE_NAMESPACE(antlr)RecognitionException("blocks nested too deeply", parser_.getFilename(), line, 0);
            }
        }
        ~DepthGuard() { --parser_.depth_; }
        DepthGuard(const DepthGuard&) = delete;
        DepthGuard& operator=(const DepthGuard&) = delete;

    private:
        ConfigParser& parser_;
    };
}

// One block: a word, "{", its entries, "}". Returns the new block, owned by the
// caller; on an error the part already built is destroyed and the error passed on.
composite returns [ComponentT<std::string>* result = nullptr]
{
    std::unique_ptr<Node> block;
    DepthGuard depth(*this, LT(1)->getLine());
}
    : name:STR LBRACKET
        { block.reset(Factory::createComposite(name->getText())); }
      ( entry[block.get()] )*
      RBRACKET
        { result = block.release(); }
    ;

// A leaf "name = value;" (the value may be empty) or a nested block; either is
// handed to `parent` in the order in which it stands in the file.
entry [ComponentT<std::string>* parent]
{
    ComponentT<std::string>* nested = nullptr;
    std::string value;
}
    : name:STR EQUALS ( v:STR { value = v->getText(); } )? SEMI_COLON
        { parent->add(Factory::createLeaf(name->getText(), value)); }
    | nested = composite
        { parent->add(nested); }
    ;

class ConfigLexer extends Lexer;

options {
    k = 2;
    charVocabulary = '\3'..'\377';
    caseSensitive = true;
    testLiterals = false;
}

STR
    : ( ~( '\t' | '\n' | '\r' | ' ' | '#' | ';' | '=' | '{' | '}' ) )+
    ;

LBRACKET : '{' ;
EQUALS : '=' ;
SEMI_COLON : ';' ;
RBRACKET : '}' ;

// Ends with a line feed, or a carriage return and a line feed; a comment that
// runs into the end of the input or into a lone carriage return is an error.
COMMENT
    : '#' ( ~( '\r' | '\n' ) )* ( '\n' | '\r' '\n' )
        { newline(); $setType(ANTLR_USE_NAMESPACE(antlr)Token::SKIP); }
    ;

WHITE_SPACE
    : ( ' '
      | '\t'
      | '\n' { newline(); }
      | '\r'
      )+
        { $setType(ANTLR_USE_NAMESPACE(antlr)Token::SKIP); }
    ;
