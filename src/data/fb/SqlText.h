#pragma once

#include <QString>

namespace corvadel::fb::sqltext {

// Lexical helpers shared by the parameter rewrite and the script runner.

// Index just past the string literal ('...', q'{...}'), quoted identifier
// ("...") or comment (-- to the end of the line, /* */) that starts at i, or
// i itself when none starts there. An unterminated one runs to the end.
qsizetype skipQuotedOrComment(const QString &sql, qsizetype i);

bool isNameStart(QChar c);
bool isNamePart(QChar c);

} // namespace corvadel::fb::sqltext
