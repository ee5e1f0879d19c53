#pragma once

namespace corvadel::fb {

// What a transaction asks of the server. Options left at their defaults
// send an empty parameter block, so the server applies its own default: a
// consistent snapshot from the transaction's start (concurrency), waiting on
// lock conflicts, read-write.
struct TransactionOptions
{
    bool readCommitted = false; // see every change committed by others
    bool recVersion = false;    // with readCommitted: read the latest committed version instead of waiting for an uncommitted one
    bool wait = true;           // on a lock conflict wait for the other transaction, instead of failing at once
    bool readOnly = false;

    static TransactionOptions serverDefault() { return {}; }

    static TransactionOptions readCommittedNoWait()
    {
        TransactionOptions options;
        options.readCommitted = true;
        options.recVersion = true;
        options.wait = false;
        return options;
    }

    bool isServerDefault() const { return !readCommitted && wait && !readOnly; }

    bool operator==(const TransactionOptions &) const = default;
};

} // namespace corvadel::fb
