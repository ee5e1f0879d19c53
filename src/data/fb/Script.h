#pragma once

#include <QList>
#include <QString>

namespace corvadel::fb {

class Attachment;

// One statement of a script, its terminator removed.
struct ScriptStatement
{
    QString text;
    int line = 0; // 1-based line of its first word
};

// Splits a script written for the server's interactive SQL tool into its
// statements. Statements end with the current terminator (';' at first);
// "SET TERM <new>" followed by the current terminator changes it and is not
// returned itself. Terminators inside literals, quoted names and comments do
// not count. Text after the last terminator is a statement of its own unless
// it holds only blanks and comments.
QList<ScriptStatement> splitScript(const QString &script);

// Runs such a script on attachment: SET TERM as above; COMMIT [WORK] and
// ROLLBACK [WORK] end the script's transaction and start the next one; SET
// SQL DIALECT must say 3; SET NAMES, SET AUTODDL and the tool's other display
// settings are ignored (text is always UTF-8, and each DDL statement is
// committed as soon as it has run). Everything else goes to the server as it
// is, so procedure and trigger bodies keep their :variables. What is left at
// the end is committed.
//
// A failing statement throws Error with the server's codes and a message
// that names the statement's line; the work since the last commit is rolled
// back. A script that tries to create or connect to a database, or runs a
// select, throws std::invalid_argument.
void executeScript(Attachment &attachment, const QString &script);

} // namespace corvadel::fb
