#include "data/fb/Error.h"

#include "data/fb/Master.h"

#include <firebird/Interface.h>

#include <algorithm>
#include <array>

namespace corvadel::fb {

namespace {

QString formatStatus(Firebird::IStatus *status)
{
    // Messages of a long status vector (a trigger's exception with its call
    // stack) can run to a few kilobytes.
    std::array<char, 8192> buffer{};
    const unsigned length = util()->formatStatus(buffer.data(), buffer.size(), status);
    return QString::fromUtf8(buffer.data(), std::min<qsizetype>(length, qsizetype(buffer.size())));
}

} // namespace

Error::Error(std::vector<long> codes, const QString &message)
    : std::runtime_error(message.toStdString()), m_codes(std::move(codes)), m_message(message)
{
}

Error Error::fromStatus(Firebird::IStatus *status)
{
    return Error(statusCodes(status->getErrors()), formatStatus(status));
}

Error Error::fromStatusVector(const intptr_t *vector)
{
    Firebird::IStatus *status = master()->getStatus();
    status->setErrors(vector);
    Error error(statusCodes(status->getErrors()), formatStatus(status));
    status->dispose();
    return error;
}

Error Error::fromCodes(const std::vector<long> &codes)
{
    std::vector<intptr_t> vector;
    for (long code : codes) {
        vector.push_back(isc_arg_gds);
        vector.push_back(code);
    }
    vector.push_back(isc_arg_end);
    return fromStatusVector(vector.data());
}

bool Error::hasCode(long code) const
{
    return std::find(m_codes.begin(), m_codes.end(), code) != m_codes.end();
}

bool Error::isConnectionLoss() const
{
    return hasCode(isc::connectionLost) || hasCode(isc::networkError) || hasCode(isc::networkWriteError)
        || hasCode(isc::connectionLostToDatabase) || hasCode(isc::connectionShutdown);
}

bool Error::isLockConflict() const
{
    return hasCode(isc::lockConflict) || hasCode(isc::updateConflict) || hasCode(isc::deadlock);
}

std::vector<long> statusCodes(const intptr_t *vector)
{
    std::vector<long> codes;
    if (!vector)
        return codes;
    const intptr_t *p = vector;
    while (*p != isc_arg_end) {
        switch (*p) {
        case isc_arg_gds:
        case isc_arg_number:
            codes.push_back(long(p[1]));
            p += 2;
            break;
        case isc_arg_cstring: // length and pointer
            p += 3;
            break;
        default: // a string, SQL state, OS error code: one value each
            p += 2;
            break;
        }
    }
    return codes;
}

} // namespace corvadel::fb
