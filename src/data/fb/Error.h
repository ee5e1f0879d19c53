#pragma once

#include <stdexcept>
#include <vector>

namespace corvadel::fb {

// A failed call of the client library: the whole status vector's error codes
// and the server's interpreted message.
class Error : public std::runtime_error
{
public:
    Error(std::vector<long> codes, const std::string &message);

    const std::vector<long> &codes() const { return m_codes; }
    bool hasCode(long code) const;

private:
    std::vector<long> m_codes;
};

} // namespace corvadel::fb
