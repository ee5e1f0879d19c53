#pragma once

#include "data/DatasetDef.h"

namespace corvadel::records {

// IBDSSkill: the skills list, in description order.
data::DatasetDef skillDataSet();

} // namespace corvadel::records
