#pragma once

#include "data/fb/Column.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <firebird/Interface.h>

#include <memory>
#include <vector>

namespace corvadel::fb {

class Attachment;
class Transaction;

// A statement prepared once and executed many times with new parameters.
//
// The SQL may name its parameters (:PRJ_ID, :OLD_SKILL_ID); a name may occur
// several times and setting it sets every occurrence. Every parameter is
// NULL until set, and after clearParameters().
//
// A select runs as a forward-only cursor: openCursor(), then fetch() until it
// returns false. The cursor survives commitRetaining/rollbackRetaining of its
// transaction (not a plain commit or rollback). fetch() reads into one row
// buffer that is reused for every row: nothing is allocated per row, and
// value() decodes a column only when asked.
//
// Move-only; a moved-from statement may only be destroyed or assigned to.
// The statement keeps its own reference to the attachment's handle, so it
// may outlive the Attachment object; its calls then fail with Error.
class Statement
{
public:
    // Prepares sql in transaction (which must be active).
    Statement(Attachment &attachment, Transaction &transaction, const QString &sql);
    ~Statement();
    Statement(Statement &&) noexcept;
    Statement &operator=(Statement &&) noexcept;
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    QString sql() const;

    // isc_info_sql_stmt_select, _insert, _update, _delete, _exec_procedure, ...
    unsigned type() const;
    // Whether the statement yields rows through a cursor (a select).
    bool isSelect() const;

    // The names used in the SQL, each once, in order of first use.
    QStringList parameterNames() const;
    bool hasParameter(const QString &name) const; // names compare case-insensitively
    int parameterCount() const;                   // positions, named or not
    const Column &parameter(int position) const;

    // Every parameter back to NULL.
    void clearParameters();

    // Sets every position of the parameter name. A null QVariant, or one
    // holding a null QString, QByteArray or an invalid QDate, QTime or
    // QDateTime, sets NULL. Otherwise the value is converted to the
    // parameter's SQL type:
    //   integer and numeric types: integral or floating-point values, or text
    //     that reads as a number (floating-point values are rounded to the
    //     parameter's scale);
    //   DOUBLE/FLOAT: any number;
    //   text: any value QVariant turns into a string, sent as UTF-8 whole; a
    //     value longer than the column is refused by the server itself
    //     (string right truncation), never cut short here;
    //   DATE: QDate (or what QVariant turns into one: QDateTime, ISO text);
    //   TIME: QTime; TIMESTAMP: QDateTime (local time) or QDate (midnight);
    //   BLOB: QByteArray (bytes as given) or QString (UTF-8), written whole
    //     as a new blob in the executing transaction at each execute or
    //     openCursor; or a BlobId of an existing blob;
    //   BOOLEAN: bool.
    // A value that cannot be converted throws Error with the server's codes
    // for it (conversion error, numeric value out of range). An unknown name
    // throws std::invalid_argument.
    void setValue(const QString &name, const QVariant &value);
    void setValue(int position, const QVariant &value);

    // Runs the statement in transaction with the current parameters. For a
    // statement with output values (EXECUTE PROCEDURE, a select used as a
    // singleton) the output row becomes readable: hasRow() says whether a
    // select found one. Closes a cursor left open.
    void execute(Transaction &transaction);

    void openCursor(Transaction &transaction);
    // Reads the next row; false at the end, which also closes the cursor.
    bool fetch();
    // Closes the cursor if open; never throws.
    void closeCursor() noexcept;
    bool isCursorOpen() const;

    // Whether a row (fetched or executed) is current.
    bool hasRow() const;

    int columnCount() const;
    const Column &column(int index) const;
    const std::vector<Column> &columns() const;
    int columnIndex(const QString &name) const; // case-insensitive; -1 if absent

    // Of the current row; std::logic_error when there is none.
    bool isNull(int index) const;
    QVariant value(int index) const;
    QVariant value(const QString &name) const; // std::invalid_argument for an unknown name

    // The raw output message of the current row, laid out as the columns'
    // offsets say; valid until the next fetch or execute.
    const unsigned char *rowBuffer() const;
    unsigned rowBufferSize() const;

    // Rows changed by the last execute (asks the server: one round trip).
    int affectedRows() const;

    // The server's plan for the statement (a select's access path).
    QString plan() const;

    Firebird::IStatement *handle() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace corvadel::fb
