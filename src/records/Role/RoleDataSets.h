#pragma once

#include "data/DatasetDef.h"

namespace corvadel::records {

// IBDSRole: the roles list, in description order, read whole on opening.
data::DatasetDef roleDataSet();

} // namespace corvadel::records
