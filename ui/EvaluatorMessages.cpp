#include "ui/EvaluatorMessages.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QVector>
#include <iterator>

namespace {

const char* const kContext = "EvaluatorMessages";

// Every message the evaluator throws, in English exactly as it words it;
// %1, %2, ... stand for the parts it fills in. A text that matches several
// patterns takes the first, so the narrower ones come first.
const char* const kMessages[] = {
    // The evaluator's own refusals.
    QT_TRANSLATE_NOOP("EvaluatorMessages", "In the expression 'x | y', x and y MUST be non-negative integers !"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "In the expression 'x $ y', x and y MUST be non-negative integers !"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "In the expression 'x && y', x and y MUST be non-negative integers !"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "In the expression 'x << y', x and y MUST be non-negative integers !"),
    QT_TRANSLATE_NOOP("EvaluatorMessages",
                      "In the expression 'x >> y', x and y MUST be non-negative integers and y >= 0 !"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "In the expression '~x', x MUST be a non-negative integer !"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "In the expression 'x / y', y MUST NOT be zero !"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "In the expression 'x % y', y MUST NOT be zero !"),
    QT_TRANSLATE_NOOP("EvaluatorMessages",
                      "In the expression 'x ^ y', y MUST be a non-negative value when x equals zero !"),
    QT_TRANSLATE_NOOP("EvaluatorMessages",
                      "In the expression 'x ^ y', y MUST be an integer when x is a negative value !"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "In the expression 'x!', x MUST be a non-negative integer !"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "The result or temporary value is too big !"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "The result would have %1 digits, more than the %2 digits allowed !"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "The expression is too deeply nested !"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "Undefined variable: %1"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "Undefined function: %1"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "Expect one parameter for '%1(x)' function !"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "Expect two parameters for '%1(a, b)' function !"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "Undefined logarithm value !"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "Undefined tangent value !"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "Undefined arcsine value !"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "Undefined arccos value !"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "Undefined  arccos hyperbolic value !"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "Undefined arctangent hyperbolic value !"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "Undefined square root value !"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "The computation was interrupted !"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "Not enough memory or disk space for this computation !"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "Unknown exception. Please check the expressions inputted."),
    // The parser's syntax messages (token and character names stay as it writes them).
    QT_TRANSLATE_NOOP("EvaluatorMessages", "unexpected end of file"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "unexpected token: %1"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "unexpected char: %1"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "expecting anything but %1; got it anyway"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "expecting token in range: %1..%2, found %3"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "expecting token NOT in range: %1..%2, found %3"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "expecting NOT one of (%1), found %2"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "expecting one of (%1), found %2"),
    QT_TRANSLATE_NOOP("EvaluatorMessages", "expecting %1, found %2"),
};

const QRegularExpression kPlaceholder(QStringLiteral("%([1-9])"));

// A message pattern made ready for matching: the regular expression of its
// English text, each placeholder a group, and the placeholders' numbers in
// the order of the groups.
struct Pattern {
  const char* english;
  QRegularExpression expression;
  QVector<int> numbers;
};

Pattern compiled(const char* english) {
  const QString text = QString::fromUtf8(english);
  Pattern pattern{english, {}, {}};
  QString expression = QStringLiteral("\\A");
  qsizetype at = 0;
  for (QRegularExpressionMatchIterator it = kPlaceholder.globalMatch(text); it.hasNext();) {
    const QRegularExpressionMatch placeholder = it.next();
    expression += QRegularExpression::escape(text.mid(at, placeholder.capturedStart() - at)) + QStringLiteral("(.+?)");
    pattern.numbers.append(placeholder.captured(1).toInt());
    at = placeholder.capturedEnd();
  }
  expression += QRegularExpression::escape(text.mid(at)) + QStringLiteral("\\z");
  // A token's text may be a line break.
  pattern.expression = QRegularExpression(expression, QRegularExpression::DotMatchesEverythingOption);
  return pattern;
}

const QVector<Pattern>& patterns() {
  static const QVector<Pattern> all = [] {
    QVector<Pattern> made;
    made.reserve(static_cast<qsizetype>(std::size(kMessages)));
    for (const char* english : kMessages) made.append(compiled(english));
    return made;
  }();
  return all;
}

// `pattern` with %1 ... %9 replaced by parts[number - 1] in one pass, so that
// a part holding "%2" stays as it is.
QString filledIn(const QString& pattern, const QStringList& parts) {
  QString text;
  qsizetype at = 0;
  for (QRegularExpressionMatchIterator it = kPlaceholder.globalMatch(pattern); it.hasNext();) {
    const QRegularExpressionMatch placeholder = it.next();
    const qsizetype number = placeholder.captured(1).toInt();
    text += pattern.mid(at, placeholder.capturedStart() - at);
    text += number <= parts.size() ? parts[number - 1] : placeholder.captured();
    at = placeholder.capturedEnd();
  }
  return text + pattern.mid(at);
}

}  // namespace

QString localisedEvaluatorMessage(const QString& english) {
  for (const Pattern& pattern : patterns()) {
    const QRegularExpressionMatch match = pattern.expression.match(english);
    if (!match.hasMatch()) continue;
    QStringList parts;
    for (qsizetype group = 0; group < pattern.numbers.size(); ++group) {
      const qsizetype number = pattern.numbers[group];
      if (parts.size() < number) parts.resize(number);
      parts[number - 1] = match.captured(static_cast<int>(group + 1));
    }
    const QString translated = QCoreApplication::translate(kContext, pattern.english);
    return pattern.numbers.isEmpty() ? translated : filledIn(translated, parts);
  }
  return english;
}
