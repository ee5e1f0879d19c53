#pragma once

#include <QByteArray>
#include <QMetaType>

#include <firebird/Interface.h>

namespace corvadel::fb {

class Attachment;
class Transaction;

// The id of a blob as a fetched row holds it. The content costs round trips
// of its own: read it with readBlob() when something needs it, in a
// transaction that can see the row.
struct BlobId
{
    ISC_QUAD id{};

    bool operator==(const BlobId &other) const
    {
        return id.gds_quad_high == other.id.gds_quad_high && id.gds_quad_low == other.id.gds_quad_low;
    }
};

// Reads a whole blob (any size that fits in memory).
QByteArray readBlob(Attachment &attachment, Transaction &transaction, const ISC_QUAD &id);

// Writes a new blob holding data and returns its id, to be stored in a row by
// a statement of the same transaction. An empty array makes an empty blob.
ISC_QUAD writeBlob(Attachment &attachment, Transaction &transaction, const QByteArray &data);

// The same on the library's handles, for this layer's statements.
namespace detail {
QByteArray readBlob(Firebird::IAttachment *attachment, Firebird::ITransaction *transaction,
                    const ISC_QUAD &id);
ISC_QUAD writeBlob(Firebird::IAttachment *attachment, Firebird::ITransaction *transaction,
                   const QByteArray &data);
} // namespace detail

} // namespace corvadel::fb

Q_DECLARE_METATYPE(corvadel::fb::BlobId)
