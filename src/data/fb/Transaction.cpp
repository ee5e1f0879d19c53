#include "data/fb/Transaction.h"

#include "data/fb/Attachment.h"
#include "data/fb/Status.h"
#include "data/fb/XpbBuilder.h"

#include <stdexcept>
#include <string>

namespace corvadel::fb {

namespace {

XpbBuilderPtr transactionParameters(Status &status, const TransactionOptions &options)
{
    XpbBuilderPtr tpb = newXpbBuilder(status, Firebird::IXpbBuilder::TPB);
    if (options.isServerDefault())
        return tpb; // empty: the server's default
    if (options.readCommitted) {
        tpb->insertTag(&status, isc_tpb_read_committed);
        tpb->insertTag(&status, options.recVersion ? isc_tpb_rec_version : isc_tpb_no_rec_version);
    } else {
        tpb->insertTag(&status, isc_tpb_concurrency);
    }
    tpb->insertTag(&status, options.wait ? isc_tpb_wait : isc_tpb_nowait);
    tpb->insertTag(&status, options.readOnly ? isc_tpb_read : isc_tpb_write);
    return tpb;
}

} // namespace

Transaction::Transaction(Attachment &attachment, TransactionOptions options)
    : m_owner(&attachment), m_attachment(RefPtr<Firebird::IAttachment>::share(attachment.handle())),
      m_options(options)
{
    // A transaction may be declared before its attachment connects (the data
    // module's are); it takes the attachment's handle when it first starts.
}

Transaction::~Transaction()
{
    rollbackQuietly();
}

Transaction &Transaction::operator=(Transaction &&other) noexcept
{
    if (this != &other) {
        rollbackQuietly();
        m_owner = other.m_owner;
        m_attachment = std::move(other.m_attachment);
        m_handle = std::move(other.m_handle);
        m_options = other.m_options;
    }
    return *this;
}

void Transaction::start()
{
    if (m_handle)
        throw std::logic_error("transaction already active");
    if (!m_attachment && m_owner)
        m_attachment = RefPtr<Firebird::IAttachment>::share(m_owner->handle());
    if (!m_attachment)
        throw std::logic_error("a transaction needs a connected attachment");
    Status status;
    XpbBuilderPtr tpb = transactionParameters(status, m_options);
    const unsigned length = tpb->getBufferLength(&status);
    m_handle = RefPtr<Firebird::ITransaction>::adopt(
        m_attachment->startTransaction(&status, length, length ? tpb->getBuffer(&status) : nullptr));
}

void Transaction::commit()
{
    requireActive("commit");
    Status status;
    m_handle->commit(&status);
    m_handle.abandon(); // a successful commit released our reference
}

void Transaction::commitRetaining()
{
    requireActive("commitRetaining");
    Status status;
    m_handle->commitRetaining(&status);
}

void Transaction::rollback()
{
    requireActive("rollback");
    Status status;
    m_handle->rollback(&status);
    m_handle.abandon(); // a successful rollback released our reference
}

void Transaction::rollbackRetaining()
{
    requireActive("rollbackRetaining");
    Status status;
    m_handle->rollbackRetaining(&status);
}

void Transaction::requireActive(const char *operation) const
{
    if (!m_handle)
        throw std::logic_error(std::string(operation) + " of a transaction that is not active");
}

void Transaction::rollbackQuietly() noexcept
{
    if (!m_handle)
        return;
    QuietStatus status;
    m_handle->rollback(status.get());
    if (status.failed())
        m_handle.reset(); // the connection is gone or refuses: drop our reference
    else
        m_handle.abandon();
}

} // namespace corvadel::fb
