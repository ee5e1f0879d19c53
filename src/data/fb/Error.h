#pragma once

#include <QString>

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace Firebird {
class IStatus;
}

namespace corvadel::fb {

// ISC error codes the rest of the program tests. A status vector usually
// carries several codes, so callers ask Error::hasCode(), never compare the
// first code alone.
//
// A row another transaction has changed and not yet committed: the Firebird
// 3 server (3.0.11) reports deadlock, updateConflict and
// concurrentTransaction, both when a no-wait transaction meets it (at once)
// and when a waiting snapshot or read-committed transaction finds that the
// other one committed. It does not send lockConflict for such a row, so test
// Error::isLockConflict(), which takes any of these, not that code alone.
namespace isc {
constexpr long arithmeticException = 335544321;  // arithmetic exception, numeric overflow, or string truncation
constexpr long conversionError = 335544334;      // conversion error from string
constexpr long deadlock = 335544336;
constexpr long lockConflict = 335544345;         // lock conflict on no wait transaction
constexpr long notValid = 335544347;             // validation error (e.g. NOT NULL)
constexpr long uniqueIndexViolation = 335544349; // a bare unique index, not a constraint
constexpr long updateConflict = 335544451;       // update conflicts with concurrent update
constexpr long foreignKeyViolation = 335544466;
constexpr long loginFailed = 335544472;
constexpr long connectionLostToDatabase = 335544648; // connection lost to database
constexpr long uniqueKeyViolation = 335544665;   // primary or unique key constraint
constexpr long connectionLost = 335544721;       // unable to complete network request to host
constexpr long networkError = 335544726;         // error reading data from the connection
constexpr long networkWriteError = 335544727;    // error writing data to the connection
constexpr long userNameNotFound = 335544753;     // no such account in the security database
constexpr long connectionShutdown = 335544856;   // the attachment is gone (closed, or the server shut it)
constexpr long concurrentTransaction = 335544878;
constexpr long stringTruncation = 335544914;     // string right truncation
constexpr long numericOutOfRange = 335544916;
} // namespace isc

// A failed call of the client library: every code of the status vector
// (each isc_arg_gds entry and each isc_arg_number argument, in order; a
// remote server's numeric arguments arrive as text and are not among them)
// and the library's interpreted message. Both are copied out of the status, whose
// strings belong to the library and die with it.
//
// An Error can also be raised by this layer itself before anything reaches
// the server (a value that cannot be converted to its parameter's type, say);
// it then carries the codes the server would have used.
class Error : public std::runtime_error
{
public:
    Error(std::vector<long> codes, const QString &message);

    // Copies codes and message out of a status that holds an error.
    static Error fromStatus(Firebird::IStatus *status);

    // Builds an error from a status vector laid out as the library lays it
    // out (isc_arg_gds code, isc_arg_string text, ..., isc_arg_end), with the
    // message the client library's message file gives it.
    static Error fromStatusVector(const intptr_t *vector);

    // The same from ISC codes alone (each an isc_arg_gds entry); for codes
    // whose messages take no arguments.
    static Error fromCodes(const std::vector<long> &codes);

    const std::vector<long> &codes() const { return m_codes; }
    bool hasCode(long code) const;
    QString message() const { return m_message; }

    // True for the codes of a broken or closed connection to the server.
    bool isConnectionLoss() const;

    // True when a change met another transaction's change of the same row
    // (or another lock): see the note on the isc codes above.
    bool isLockConflict() const;

private:
    std::vector<long> m_codes;
    QString m_message;
};

// The codes of a status vector (a sequence of isc_arg_* clusters ending in
// isc_arg_end), as Error::codes() lists them.
std::vector<long> statusCodes(const intptr_t *vector);

} // namespace corvadel::fb
