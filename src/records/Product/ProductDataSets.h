#pragma once

#include "data/DatasetDef.h"

namespace corvadel::records {

// IBDSProduct: the active project's products, grouped by type name.
data::DatasetDef productDataSet();
// IBQProductChangeRequest: the change requests that name the current product.
data::DatasetDef productChangeRequestQuery();
// IBQProductQualityReview: the quality reviews of the current product.
data::DatasetDef productQualityReviewQuery();

} // namespace corvadel::records
