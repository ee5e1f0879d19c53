#pragma once

#include "data/DatasetDef.h"

namespace corvadel::records {

// IBDSProjectRole: the roles the active project staffs, at a daily rate.
data::DatasetDef projectRoleDataSet();
// IBDSProjectRolePerson: the people assigned to the current project role.
data::DatasetDef projectRolePersonDataSet();

// The role-then-person pick lists: IBQLkupProjectRole1 and 2 offer the active
// project's roles, IBQLkupProjectRolePerson1 and 2 the people currently (no
// end date) in the role their role list stands on. `pair` is 1 or 2.
data::DatasetDef lookupProjectRoleQuery(int pair);
data::DatasetDef lookupProjectRolePersonQuery(int pair);

} // namespace corvadel::records
