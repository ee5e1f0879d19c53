#pragma once

#include "data/DatasetDef.h"

namespace corvadel::records {

// IBDSPersonnel: the personnel register, by composed name.
data::DatasetDef personnelDataSet();
// IBDSPersonSkill: the skills of the current person.
data::DatasetDef personSkillDataSet();

// The composed name and initials of a person, as they are stored.
QString composePersonName(const QString &title, const QString &forename, const QString &surname,
                          const QString &suffix);
QString composeInitials(const QString &forenameFirst, const QString &forenameSecond);

} // namespace corvadel::records
