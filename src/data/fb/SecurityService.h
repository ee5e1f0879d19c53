#pragma once

#include "data/fb/Error.h"

#include <QString>

#include <optional>

namespace corvadel::fb {

// One account of the server's security database.
struct UserAccount
{
    QString userName;
    std::optional<int> userId;
    std::optional<int> groupId;
    std::optional<QString> password;
    std::optional<QString> firstName;
    std::optional<QString> middleName;
    std::optional<QString> lastName;
};

// A user name refused before anything reached the server: empty, or (for
// add and modify) containing a blank. An Error without ISC codes, so code
// that reports server errors reports this one the same way.
class InvalidUserName : public Error
{
public:
    explicit InvalidUserName(const QString &message) : Error({}, message) {}
};

// The server's security service, used as the server's administrator through
// the services API. Each call attaches to the service manager, starts one
// action, polls the service until it has finished and detaches, also when
// the server reports an error (thrown as Error). A call therefore returns
// only once the server has done the work.
class SecurityService
{
public:
    // server: host of the database server ("localhost"); empty for a local
    // connection without the network.
    SecurityService(QString server, QString adminUser, QString adminPassword);

    // Sends the user name and each other value that is set and, for text,
    // not empty. Throws InvalidUserName for an empty name or one with a
    // blank, Error when the server refuses (an existing account, say).
    void addUser(const UserAccount &account);
    // Same rules; values not sent keep what the account had.
    void modifyUser(const UserAccount &account);
    // Throws InvalidUserName for an empty name, Error (isc::userNameNotFound)
    // when there is no such account.
    void deleteUser(const QString &userName);
    // The account's names and ids as the server keeps them (no password).
    // Throws Error with isc::userNameNotFound when there is no such account,
    // InvalidUserName for an empty name (which would list every account).
    UserAccount displayUser(const QString &userName);

    QString server() const { return m_server; }

private:
    QString m_server;
    QString m_adminUser;
    QString m_adminPassword;
};

} // namespace corvadel::fb
