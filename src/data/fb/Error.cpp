#include "data/fb/Error.h"

#include <algorithm>

namespace corvadel::fb {

Error::Error(std::vector<long> codes, const std::string &message)
    : std::runtime_error(message), m_codes(std::move(codes))
{
}

bool Error::hasCode(long code) const
{
    return std::find(m_codes.begin(), m_codes.end(), code) != m_codes.end();
}

} // namespace corvadel::fb
