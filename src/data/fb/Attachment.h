#pragma once

#include "data/fb/RefPtr.h"

#include <QString>

#include <firebird/Interface.h>

namespace corvadel::fb {

// One connection to a database: SQL dialect 3, connection character set
// UTF8, so every text value crosses the wire as UTF-8.
//
// Move-only. Transactions and statements made on it keep their own reference
// to the library's attachment object, so they stay safe to use and destroy
// after the attachment is detached or moved (their calls then fail with the
// server's error instead of touching freed memory). Still, end transactions
// before detaching: a detach with an active transaction fails and the work
// of that transaction is lost.
class Attachment
{
public:
    Attachment() = default;
    ~Attachment();
    Attachment(Attachment &&) noexcept = default;
    Attachment &operator=(Attachment &&other) noexcept;
    Attachment(const Attachment &) = delete;
    Attachment &operator=(const Attachment &) = delete;

    // database: a connection string such as "localhost:/path/db.fdb".
    static Attachment attach(const QString &database, const QString &user, const QString &password);

    // Creates the database (default character set UTF8, dialect 3) and
    // returns the attachment to it. Without forced writes the server does
    // not wait for the disk at each commit: for throwaway databases only.
    static Attachment create(const QString &database, const QString &user, const QString &password,
                             int pageSize = 8192, bool forcedWrites = true);

    bool isConnected() const { return bool(m_handle); }

    // Detaches. With a transaction still active the server refuses and
    // closes the connection anyway, rolling that transaction back: Error is
    // thrown and the attachment is no longer connected either way.
    void detach();

    // Deletes the database; this attachment must be its only one.
    void dropDatabase();

    // Null when not connected.
    Firebird::IAttachment *handle() const { return m_handle.get(); }

private:
    explicit Attachment(RefPtr<Firebird::IAttachment> handle) : m_handle(std::move(handle)) {}
    void close() noexcept;

    RefPtr<Firebird::IAttachment> m_handle;
};

} // namespace corvadel::fb
