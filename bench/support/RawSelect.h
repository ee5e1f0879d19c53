#pragma once

#include "data/fb/Status.h"

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

// A select run straight on the client library's object-oriented API, as
// plainly as it can be: the server's own message layout, one reused row
// buffer, nothing kept and nothing decoded. It is the limit a layer above
// the library can approach, and the yardstick for the bytes a row carries.
//
// The SQL may name integer parameters (:PRJ_ID); they are rewritten to
// positions once and set by name.
class RawSelect
{
public:
    RawSelect(fb::Attachment &attachment, fb::Transaction &transaction, const QString &sql);
    ~RawSelect();
    RawSelect(const RawSelect &) = delete;
    RawSelect &operator=(const RawSelect &) = delete;

    void setInteger(const QString &name, int value);

    void open();
    bool fetch();   // false at the end
    void close();

    // Bytes of the current row's non-null values as they came off the wire:
    // texts by their actual length, numbers and dates by their size, blobs
    // by their 8-byte id.
    std::size_t payload() const;
    unsigned columnCount() const { return unsigned(m_columns.size()); }

private:
    struct Column
    {
        unsigned type;
        unsigned length;
        unsigned offset;
        unsigned nullOffset;
    };

    fb::Status m_status;   // throws fb::Error with the server's codes
    Firebird::ITransaction *m_transaction;
    Firebird::IStatement *m_statement = nullptr;
    Firebird::IMessageMetadata *m_input = nullptr;
    Firebird::IMessageMetadata *m_output = nullptr;
    Firebird::IResultSet *m_cursor = nullptr;
    QStringList m_names;                 // parameter name by position
    std::vector<Column> m_parameters;
    std::vector<Column> m_columns;
    std::vector<unsigned char> m_in;
    std::vector<std::max_align_t> m_out;
};

} // namespace corvadel::bench
