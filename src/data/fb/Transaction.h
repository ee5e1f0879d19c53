#pragma once

#include "data/fb/RefPtr.h"
#include "data/fb/TransactionOptions.h"

#include <firebird/Interface.h>

namespace corvadel::fb {

class Attachment;

// A transaction of one attachment; several may be active on the same
// attachment at once. Created inactive: start() begins it, commit() or
// rollback() ends it, and it can be started again afterwards with the same
// options. The retaining variants end the work but keep the transaction
// (and its open cursors) alive.
//
// Move-only. The destructor rolls back a transaction that is still active
// and never throws.
class Transaction
{
public:
    explicit Transaction(Attachment &attachment,
                         TransactionOptions options = TransactionOptions::serverDefault());
    ~Transaction();
    Transaction(Transaction &&) noexcept = default;
    Transaction &operator=(Transaction &&other) noexcept;
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    // Throws std::logic_error when already active, Error when the server
    // refuses.
    void start();
    bool isActive() const { return bool(m_handle); }

    // Each throws Error when the server refuses, leaving the transaction
    // active, and std::logic_error when it is not active.
    void commit();
    void commitRetaining();
    void rollback();
    void rollbackRetaining();

    const TransactionOptions &options() const { return m_options; }

    // Null while inactive.
    Firebird::ITransaction *handle() const { return m_handle.get(); }

private:
    void requireActive(const char *operation) const;
    void rollbackQuietly() noexcept;

    Attachment *m_owner = nullptr;              // asked for its handle when not connected yet
    RefPtr<Firebird::IAttachment> m_attachment;
    RefPtr<Firebird::ITransaction> m_handle;
    TransactionOptions m_options;
};

} // namespace corvadel::fb
