#pragma once

#include "data/DatasetDef.h"
#include "data/fb/SecurityService.h"

namespace corvadel::data {
class TDModBase;
}

namespace corvadel::records {

// IBDSSystemUser: the system's users. Every post writes the user through to
// the server account of the same name, and every delete removes that
// account, as the server's administrator.
data::DatasetDef systemUserDataSet();

// The server's security service as the data module's settings reach it.
fb::SecurityService accountService(const data::TDModBase &module);

} // namespace corvadel::records
