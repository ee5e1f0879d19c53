#pragma once

#include "data/DatasetDef.h"

namespace corvadel::records {

// IBDSProductType: the product types, in description order, read whole on
// opening; a posted product type is committed at once.
data::DatasetDef productTypeDataSet();

} // namespace corvadel::records
