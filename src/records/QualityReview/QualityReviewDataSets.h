#pragma once

#include "data/DatasetDef.h"

namespace corvadel::records {

// IBDSQualityReview: the active project's quality reviews, newest first.
data::DatasetDef qualityReviewDataSet();
// IBDSQualityReviewInvolvement: the reviewers of the current review.
data::DatasetDef qualityReviewInvolvementDataSet();

} // namespace corvadel::records
