#include "data/Errors.h"

#include "data/fb/Error.h"

namespace corvadel::data {

QString errorMessage(const std::exception &error)
{
    if (const auto *e = dynamic_cast<const DataSetError *>(&error))
        return e->message();
    if (const auto *e = dynamic_cast<const fb::Error *>(&error))
        return e->message();
    return QString::fromLocal8Bit(error.what());
}

} // namespace corvadel::data
