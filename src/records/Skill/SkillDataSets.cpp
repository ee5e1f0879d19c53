#include "records/Skill/SkillDataSets.h"

#include "data/DataModule.h"

namespace corvadel::records {

using namespace corvadel::data;

DatasetDef skillDataSet()
{
    DatasetDef d;
    d.name = QStringLiteral("IBDSSkill");
    d.dataSource = QStringLiteral("DSSkill");
    d.group = Group::RefData;
    d.sql.select = QStringLiteral(
        "select SKILL_ID, SKILL_DESCRIPTION, SKILL_CATEGORY from SKILL order by SKILL_DESCRIPTION");
    d.sql.refresh = QStringLiteral(
        "select SKILL_ID, SKILL_DESCRIPTION, SKILL_CATEGORY from SKILL where SKILL_ID = :SKILL_ID");
    d.sql.insert = QStringLiteral(
        "insert into SKILL (SKILL_ID, SKILL_DESCRIPTION, SKILL_CATEGORY) "
        "values (:SKILL_ID, :SKILL_DESCRIPTION, :SKILL_CATEGORY)");
    d.sql.modify = QStringLiteral(
        "update SKILL set SKILL_DESCRIPTION = :SKILL_DESCRIPTION, SKILL_CATEGORY = :SKILL_CATEGORY "
        "where SKILL_ID = :SKILL_ID");
    d.sql.remove = QStringLiteral("delete from SKILL where SKILL_ID = :SKILL_ID");
    d.fields = {
        hidden(required(integerField(QStringLiteral("SKILL_ID")))),
        width(required(stringField(QStringLiteral("SKILL_DESCRIPTION"), 80, QStringLiteral("Skill"))), 40),
        width(required(stringField(QStringLiteral("SKILL_CATEGORY"), 40, QStringLiteral("Skill Category"))), 15),
    };
    d.confirmDelete = {text(QStringLiteral("Are you sure you want to delete ")),
                       fieldText(QStringLiteral("SKILL_DESCRIPTION")), text(QStringLiteral(" ?"))};
    d.inUseMessage = QStringLiteral("Skill is in use, Deletion not allowed");
    d.duplicateMessage = QStringLiteral("Skill already Exists");
    d.newKeyField = QStringLiteral("SKILL_ID");
    // A posted skill is committed at once: the whole RefData group is saved.
    d.install = [](TDModBase &module, Dataset &ds) {
        ds.afterPost.push_back([&module](Dataset &) { module.SaveRefDataGroup(); });
    };
    return d;
}

} // namespace corvadel::records
