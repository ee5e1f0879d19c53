#pragma once

namespace corvadel::data {
class TDModBase;
}

namespace corvadel::records {

// Adds every dataset and read-only query of the data module, each master
// before its details.
void addAllDataSets(data::TDModBase &module);

} // namespace corvadel::records
