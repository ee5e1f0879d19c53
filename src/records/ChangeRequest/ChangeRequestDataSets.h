#pragma once

#include "data/DatasetDef.h"

#include <QtGlobal>

#include <vector>

namespace corvadel::records {

// IBDSChangeRequest: the active project's change requests, newest first.
data::DatasetDef changeRequestDataSet();
// The lines of the current change request: related issues, impacted
// products, and resource requirements with their cost.
data::DatasetDef changeRequestIssueDataSet();
data::DatasetDef changeRequestProductDataSet();
data::DatasetDef changeRequestResourceDataSet();

// The fields of a read-only list of change requests (those citing an issue,
// those naming a product).
std::vector<data::FieldDef> changeRequestListFields();

// One step of the total cost's walk: the line's cost is added to a total held
// in ten-thousandths and the sum is rounded to a whole number, ties to even.
qint64 addLineCost(qint64 totalTenThousandths, double lineCost);

} // namespace corvadel::records
