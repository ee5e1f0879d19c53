#pragma once

#include "data/DatasetDef.h"

namespace corvadel::records {

// IBDSRisk: the active project's risk log, newest number first.
data::DatasetDef riskDataSet();

} // namespace corvadel::records
