#include "data/fb/Script.h"

#include "data/fb/Attachment.h"
#include "data/fb/Error.h"
#include "data/fb/RefPtr.h"
#include "data/fb/SqlText.h"
#include "data/fb/Status.h"
#include "data/fb/Transaction.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace corvadel::fb {

namespace {

constexpr unsigned sqlDialect = 3;

// Index of the first character of text at or after from that is neither a
// blank nor inside a comment.
qsizetype firstWord(const QString &text, qsizetype from, qsizetype end)
{
    qsizetype i = from;
    while (i < end) {
        if (text[i].isSpace()) {
            ++i;
            continue;
        }
        const bool comment = (text[i] == u'-' || text[i] == u'/');
        const qsizetype skipped = comment ? sqltext::skipQuotedOrComment(text, i) : i;
        if (skipped == i)
            return i;
        i = skipped;
    }
    return end;
}

// Words of a statement, upper case, for recognising the tool's commands.
QStringList words(const QString &statement)
{
    return statement.simplified().toUpper().split(u' ', Qt::SkipEmptyParts);
}

enum class Command { Sql, Commit, Rollback, Ignored };

Command classify(const ScriptStatement &statement)
{
    const QStringList w = words(statement.text);
    const auto is = [&w](std::initializer_list<const char *> expected) {
        if (w.size() != qsizetype(expected.size()))
            return false;
        qsizetype i = 0;
        for (const char *word : expected) {
            if (w[i++] != QLatin1StringView(word))
                return false;
        }
        return true;
    };
    if (is({"COMMIT"}) || is({"COMMIT", "WORK"}))
        return Command::Commit;
    if (is({"ROLLBACK"}) || is({"ROLLBACK", "WORK"}))
        return Command::Rollback;

    const QString first = w.value(0);
    const QString second = w.value(1);
    if (first == u"SET" && second == u"SQL" && w.value(2) == u"DIALECT") {
        if (w.size() != 4 || w[3] != u"3")
            throw std::invalid_argument("line " + std::to_string(statement.line)
                                        + ": only SQL dialect 3 is supported");
        return Command::Ignored;
    }
    // Settings of the interactive tool that mean nothing here. SET GENERATOR,
    // SET STATISTICS and SET TRANSACTION are SQL and are not among them.
    static const QStringList toolSettings = {
        "NAMES", "AUTODDL", "ECHO", "LIST", "STATS", "BAIL", "COUNT", "PLAN", "PLANONLY", "WARNINGS",
        "NOWARNINGS", "BLOB", "BLOBDISPLAY", "HEADING", "WIDTH", "TIME", "ROWCOUNT", "SQLDA_DISPLAY",
        "EXPLAIN", "MAXROWS"};
    if (first == u"SET" && toolSettings.contains(second))
        return Command::Ignored;

    if ((first == u"CREATE" && (second == u"DATABASE" || second == u"SCHEMA")) || first == u"CONNECT")
        throw std::invalid_argument("line " + std::to_string(statement.line)
                                    + ": a script run here must not create or connect to a database");
    return Command::Sql;
}

// The new terminator if statement is SET TERM, else an empty string.
QString newTerminator(const QString &statement)
{
    const QStringList w = statement.simplified().split(u' ', Qt::SkipEmptyParts);
    if (w.size() == 3 && w[0].compare(u"SET", Qt::CaseInsensitive) == 0
        && w[1].compare(u"TERM", Qt::CaseInsensitive) == 0)
        return w[2];
    return QString();
}

Error atLine(const Error &error, const ScriptStatement &statement)
{
    QString excerpt = statement.text.simplified();
    if (excerpt.size() > 200)
        excerpt = excerpt.left(200) + QStringLiteral("...");
    return Error(error.codes(), error.message()
                     + QStringLiteral("\nin the statement at line %1 of the script: %2")
                           .arg(statement.line)
                           .arg(excerpt));
}

// Runs one statement; true if it was data definition.
bool run(Attachment &attachment, Transaction &transaction, const ScriptStatement &statement)
{
    Status status;
    const QByteArray text = statement.text.toUtf8();
    auto prepared = RefPtr<Firebird::IStatement>::adopt(attachment.handle()->prepare(
        &status, transaction.handle(), 0, text.constData(), sqlDialect,
        Firebird::IStatement::PREPARE_PREFETCH_TYPE));
    const unsigned type = prepared->getType(&status);
    if (type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd)
        throw std::invalid_argument("line " + std::to_string(statement.line)
                                    + ": a script run here runs no selects");
    prepared->execute(&status, transaction.handle(), nullptr, nullptr, nullptr, nullptr);
    prepared->free(&status);
    prepared.abandon(); // a successful free released our reference
    return type == isc_info_sql_stmt_ddl;
}

} // namespace

QList<ScriptStatement> splitScript(const QString &script)
{
    std::vector<qsizetype> lineStarts{0};
    for (qsizetype i = 0; i < script.size(); ++i) {
        if (script[i] == u'\n')
            lineStarts.push_back(i + 1);
    }
    const auto lineOf = [&](qsizetype index) {
        return int(std::upper_bound(lineStarts.begin(), lineStarts.end(), index) - lineStarts.begin());
    };

    QList<ScriptStatement> statements;
    QString terminator = QStringLiteral(";");
    // Appends the statement in [start, end) unless it is empty or SET TERM.
    const auto take = [&](qsizetype start, qsizetype end) {
        const qsizetype first = firstWord(script, start, end);
        if (first >= end)
            return;
        const QString text = script.mid(first, end - first).trimmed();
        if (const QString changed = newTerminator(text); !changed.isEmpty()) {
            terminator = changed;
            return;
        }
        statements.append({text, lineOf(first)});
    };

    qsizetype start = 0;
    qsizetype i = 0;
    while (i < script.size()) {
        const qsizetype skipped = sqltext::skipQuotedOrComment(script, i);
        if (skipped != i) {
            i = skipped;
            continue;
        }
        if (QStringView(script).mid(i).startsWith(terminator)) {
            const qsizetype length = terminator.size(); // take() may change it
            take(start, i);
            i += length;
            start = i;
            continue;
        }
        ++i;
    }
    take(start, script.size());
    return statements;
}

void executeScript(Attachment &attachment, const QString &script)
{
    if (!attachment.isConnected())
        throw std::logic_error("a script needs a connected attachment");
    const QList<ScriptStatement> statements = splitScript(script);
    Transaction transaction(attachment);
    transaction.start();
    for (const ScriptStatement &statement : statements) {
        switch (classify(statement)) {
        case Command::Ignored:
            break;
        case Command::Commit:
            transaction.commit();
            transaction.start();
            break;
        case Command::Rollback:
            transaction.rollback();
            transaction.start();
            break;
        case Command::Sql:
            try {
                if (run(attachment, transaction, statement)) {
                    // Later statements may use what this one defined.
                    transaction.commit();
                    transaction.start();
                }
            } catch (const Error &error) {
                throw atLine(error, statement);
            }
            break;
        }
    }
    transaction.commit();
}

} // namespace corvadel::fb
