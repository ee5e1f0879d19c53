#pragma once

#include "data/fb/Status.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

#include <firebird/Interface.h>

#include <cstddef>
#include <vector>

namespace corvadel::fb {
class Attachment;
class Transaction;
} // namespace corvadel::fb

namespace corvadel::bench {

// A statement run straight on the client library's object-oriented API, as
// plainly as it can be: the server's own message layouts, one reused row
// buffer, nothing kept and nothing decoded. It is the limit a layer above
// the library can approach, and the yardstick for the bytes a row carries.
//
// The SQL may name its parameters (:PRJ_ID); they are rewritten to
// positions once and set by name, in the parameter's own type only.
class RawStatement
{
public:
    RawStatement(fb::Attachment &attachment, fb::Transaction &transaction, const QString &sql);
    ~RawStatement();
    RawStatement(const RawStatement &) = delete;
    RawStatement &operator=(const RawStatement &) = delete;

    void setNull(const QString &name);
    void setInteger(const QString &name, int value);
    void setText(const QString &name, const QByteArray &utf8);
    void setDate(const QString &name, const QDate &date);
    // Writes the bytes as a new blob now and sets its id.
    void setBlob(const QString &name, const QByteArray &content);

    // Runs a statement that yields no cursor; output values, if any, are
    // then readable with integer().
    void execute();
    int integer(unsigned column) const;

    void open();
    bool fetch();   // false at the end
    void close();

    // Bytes of the current row's non-null values as they came off the wire:
    // texts by their actual length, numbers and dates by their size, blobs
    // by their 8-byte id.
    std::size_t payload() const;

    struct Column
    {
        unsigned type;
        unsigned length;
        unsigned offset;
        unsigned nullOffset;
    };

private:
    unsigned char *parameter(const QString &name, unsigned type, std::vector<unsigned> &positions);
    void markNotNull(const std::vector<unsigned> &positions);
    const unsigned char *row() const { return reinterpret_cast<const unsigned char *>(m_out.data()); }

    fb::Status m_status;   // throws fb::Error with the server's codes
    Firebird::IAttachment *m_attachment;
    Firebird::ITransaction *m_transaction;
    Firebird::IStatement *m_statement = nullptr;
    Firebird::IMessageMetadata *m_input = nullptr;
    Firebird::IMessageMetadata *m_output = nullptr;
    Firebird::IResultSet *m_cursor = nullptr;
    QStringList m_names;                 // parameter name by position
    std::vector<Column> m_parameters;
    std::vector<Column> m_columns;
    std::vector<std::max_align_t> m_in;
    std::vector<std::max_align_t> m_out;
};

} // namespace corvadel::bench
