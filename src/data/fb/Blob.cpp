#include "data/fb/Blob.h"

#include "data/fb/Attachment.h"
#include "data/fb/RefPtr.h"
#include "data/fb/Status.h"
#include "data/fb/Transaction.h"

#include <algorithm>
#include <stdexcept>

namespace corvadel::fb {

namespace {

// A segment's length travels as an unsigned 16-bit number.
constexpr qsizetype maxSegment = 65535;

void requireHandles(Firebird::IAttachment *attachment, Firebird::ITransaction *transaction)
{
    if (!attachment)
        throw std::logic_error("blob access needs a connected attachment");
    if (!transaction)
        throw std::logic_error("blob access needs an active transaction");
}

// Total length the server reports for an open blob, or 0 if it says nothing.
qsizetype totalLength(Status &status, Firebird::IBlob *blob)
{
    const unsigned char items[] = {isc_info_blob_total_length};
    unsigned char answer[16] = {};
    blob->getInfo(&status, sizeof(items), items, sizeof(answer), answer);
    if (answer[0] != isc_info_blob_total_length)
        return 0;
    const unsigned length = answer[1] | (answer[2] << 8);
    qsizetype total = 0;
    for (unsigned i = 0; i < length && i < 8; ++i)
        total |= qsizetype(answer[3 + i]) << (8 * i);
    return total;
}

// Abandons a blob that was created or opened but not closed cleanly.
void cancelQuietly(RefPtr<Firebird::IBlob> &blob) noexcept
{
    if (!blob)
        return;
    QuietStatus status;
    blob->cancel(status.get());
    if (status.failed())
        blob.reset();
    else
        blob.abandon();
}

} // namespace

namespace detail {

QByteArray readBlob(Firebird::IAttachment *attachment, Firebird::ITransaction *transaction,
                    const ISC_QUAD &id)
{
    requireHandles(attachment, transaction);
    Status status;
    ISC_QUAD blobId = id; // openBlob takes a non-const id
    RefPtr<Firebird::IBlob> blob =
        RefPtr<Firebird::IBlob>::adopt(attachment->openBlob(&status, transaction, &blobId, 0, nullptr));
    try {
        QByteArray data;
        // Room for the whole blob plus one probe past its end, so that the
        // reads below never move the data.
        data.reserve(totalLength(status, blob.get()) + maxSegment);
        qsizetype used = 0;
        for (;;) {
            if (data.size() - used < maxSegment)
                data.resize(used + maxSegment);
            unsigned got = 0;
            const int result = blob->getSegment(&status, unsigned(maxSegment), data.data() + used, &got);
            if (result == Firebird::IStatus::RESULT_NO_DATA)
                break;
            used += got; // RESULT_OK: a whole segment; RESULT_SEGMENT: part of one
        }
        data.resize(used);
        blob->close(&status);
        blob.abandon(); // a successful close released our reference
        return data;
    } catch (...) {
        cancelQuietly(blob);
        throw;
    }
}

ISC_QUAD writeBlob(Firebird::IAttachment *attachment, Firebird::ITransaction *transaction,
                   const QByteArray &data)
{
    requireHandles(attachment, transaction);
    Status status;
    ISC_QUAD id{};
    RefPtr<Firebird::IBlob> blob =
        RefPtr<Firebird::IBlob>::adopt(attachment->createBlob(&status, transaction, &id, 0, nullptr));
    try {
        for (qsizetype offset = 0; offset < data.size(); offset += maxSegment) {
            const qsizetype length = std::min(maxSegment, data.size() - offset);
            blob->putSegment(&status, unsigned(length), data.constData() + offset);
        }
        blob->close(&status);
        blob.abandon(); // a successful close released our reference
        return id;
    } catch (...) {
        cancelQuietly(blob);
        throw;
    }
}

} // namespace detail

QByteArray readBlob(Attachment &attachment, Transaction &transaction, const ISC_QUAD &id)
{
    return detail::readBlob(attachment.handle(), transaction.handle(), id);
}

ISC_QUAD writeBlob(Attachment &attachment, Transaction &transaction, const QByteArray &data)
{
    return detail::writeBlob(attachment.handle(), transaction.handle(), data);
}

} // namespace corvadel::fb
