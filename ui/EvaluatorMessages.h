// The evaluator's error messages in the user's language. The evaluator and the
// parser under it speak English only; the windows translate what they show
// here, from the message text alone. Texts written to files stay English.
#pragma once

#include <QString>

// The translation of `english`, a message of the evaluator: a fixed message,
// or one with names or numbers in it ("Undefined variable: x", the parser's
// "unexpected token: ..."), whose parts are put into the translated sentence
// unchanged. Needs the application's translators (none gives English); returns
// `english` itself for a text it does not know or that has no translation.
QString localisedEvaluatorMessage(const QString& english);
