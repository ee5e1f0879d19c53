#pragma once

#include "data/DatasetDef.h"

namespace corvadel::records {

// IBDSIssue: the active project's issue log, newest number first.
data::DatasetDef issueDataSet();
// IBQIssueChangeRequest: the change requests that cite the current issue.
data::DatasetDef issueChangeRequestQuery();

} // namespace corvadel::records
