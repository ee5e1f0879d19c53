#pragma once

#include "data/DatasetDef.h"

namespace corvadel::records {

// IBDSProject: every project; its current row is the active project.
data::DatasetDef projectDataSet();

} // namespace corvadel::records
