#include "records/Personnel/PersonnelDataSets.h"

#include "data/DataModule.h"
#include "records/AuditFields.h"

namespace corvadel::records {

using namespace corvadel::data;

QString composePersonName(const QString &title, const QString &forename, const QString &surname,
                          const QString &suffix)
{
    // Every separator is written even around empty parts, and nothing is
    // trimmed: the stored name is exactly what was typed.
    return (title + u' ' + forename + u' ' + surname + u' ' + suffix).left(80);
}

QString composeInitials(const QString &forenameFirst, const QString &forenameSecond)
{
    return (forenameFirst.left(1) + u' ' + forenameSecond.left(1)).left(3);
}

namespace {

void IBDSPersonnelBeforePost(Dataset &ds)
{
    auto text = [&ds](const char *name) { return ds.fieldByName(QLatin1String(name))->asString(); };
    ds.fieldByName(QStringLiteral("INITIALS"))->setValue(composeInitials(text("FORENAME_FIRST"), text("FORENAME_SECOND")));
    ds.fieldByName(QStringLiteral("PERSON_NAME"))
        ->setValue(composePersonName(text("TITLE"), text("FORENAME_FIRST"), text("SURNAME"), text("NAME_SUFFIX")));
}

const QString PersonnelColumns = QStringLiteral(
    "PERSONNEL_ID, PERSON_NAME, TITLE, FORENAME_FIRST, FORENAME_SECOND, SURNAME, INITIALS, NAME_SUFFIX, "
    "APPOINTMENT, DEPARTMENT, TEL_NBR, FAX_NBR, MOBILE_NBR, PAGER_NBR, EMAIL_ADDR, NOTES, "
    "CREATE_DATE, CREATE_TIME, CREATED_BY, UPDATE_DATE, UPDATE_TIME, UPDATED_BY");

const QString PersonSkillColumns = QStringLiteral(
    "PS.PERSONNEL_ID, PS.SKILL_ID, S.SKILL_DESCRIPTION, PS.QUALIFICATION_DATE, PS.CREATE_DATE, "
    "PS.CREATE_TIME, PS.CREATED_BY, PS.UPDATE_DATE, PS.UPDATE_TIME, PS.UPDATED_BY "
    "from PERSON_SKILL PS left outer join SKILL S on S.SKILL_ID = PS.SKILL_ID");

} // namespace

DatasetDef personnelDataSet()
{
    DatasetDef d;
    d.name = QStringLiteral("IBDSPersonnel");
    d.dataSource = QStringLiteral("DSPersonnel");
    d.group = Group::Personnel;
    d.blockSize = 32;
    d.sql.select = QStringLiteral("select ") + PersonnelColumns + QStringLiteral(" from PERSONNEL order by PERSON_NAME");
    d.sql.refresh = QStringLiteral("select ") + PersonnelColumns
                    + QStringLiteral(" from PERSONNEL where PERSONNEL_ID = :PERSONNEL_ID");
    d.sql.insert = QStringLiteral(
        "insert into PERSONNEL (PERSONNEL_ID, PERSON_NAME, TITLE, FORENAME_FIRST, FORENAME_SECOND, SURNAME, "
        "INITIALS, NAME_SUFFIX, APPOINTMENT, DEPARTMENT, TEL_NBR, FAX_NBR, MOBILE_NBR, PAGER_NBR, EMAIL_ADDR, "
        "NOTES) values (:PERSONNEL_ID, :PERSON_NAME, :TITLE, :FORENAME_FIRST, :FORENAME_SECOND, :SURNAME, "
        ":INITIALS, :NAME_SUFFIX, :APPOINTMENT, :DEPARTMENT, :TEL_NBR, :FAX_NBR, :MOBILE_NBR, :PAGER_NBR, "
        ":EMAIL_ADDR, :NOTES)");
    d.sql.modify = QStringLiteral(
        "update PERSONNEL set PERSON_NAME = :PERSON_NAME, TITLE = :TITLE, FORENAME_FIRST = :FORENAME_FIRST, "
        "FORENAME_SECOND = :FORENAME_SECOND, SURNAME = :SURNAME, INITIALS = :INITIALS, "
        "NAME_SUFFIX = :NAME_SUFFIX, APPOINTMENT = :APPOINTMENT, DEPARTMENT = :DEPARTMENT, "
        "TEL_NBR = :TEL_NBR, FAX_NBR = :FAX_NBR, MOBILE_NBR = :MOBILE_NBR, PAGER_NBR = :PAGER_NBR, "
        "EMAIL_ADDR = :EMAIL_ADDR, NOTES = :NOTES where PERSONNEL_ID = :PERSONNEL_ID");
    d.sql.remove = QStringLiteral("delete from PERSONNEL where PERSONNEL_ID = :PERSONNEL_ID");
    d.fields = std::vector<FieldDef>{
        width(required(integerField(QStringLiteral("PERSONNEL_ID"), QStringLiteral("CVL Person Id"))), 18),
        width(stringField(QStringLiteral("PERSON_NAME"), 80, QStringLiteral("Name")), 49),
        hidden(required(stringField(QStringLiteral("TITLE"), 20, QStringLiteral("Title")))),
        hidden(required(stringField(QStringLiteral("FORENAME_FIRST"), 40, QStringLiteral("Forename (1st)")))),
        hidden(stringField(QStringLiteral("FORENAME_SECOND"), 40, QStringLiteral("Forename (2nd)"))),
        hidden(required(stringField(QStringLiteral("SURNAME"), 40, QStringLiteral("Surname")))),
        hidden(stringField(QStringLiteral("INITIALS"), 3, QStringLiteral("Initials"))),
        hidden(stringField(QStringLiteral("NAME_SUFFIX"), 40, QStringLiteral("Suffix"))),
        width(stringField(QStringLiteral("APPOINTMENT"), 80, QStringLiteral("Appointment")), 31),
        width(stringField(QStringLiteral("DEPARTMENT"), 80, QStringLiteral("Department")), 24),
        width(stringField(QStringLiteral("TEL_NBR"), 40, QStringLiteral("Tel. No.")), 24),
        width(stringField(QStringLiteral("FAX_NBR"), 40, QStringLiteral("Fax No.")), 24),
        width(stringField(QStringLiteral("MOBILE_NBR"), 40, QStringLiteral("Mobile")), 48),
        width(stringField(QStringLiteral("PAGER_NBR"), 40, QStringLiteral("Pager No.")), 48),
        width(stringField(QStringLiteral("EMAIL_ADDR"), 40, QStringLiteral("E-Mail")), 48),
        blobField(QStringLiteral("NOTES")),
    } + auditFields({}, QStringLiteral("dd mmmm yyyy"));
    d.confirmDelete = {text(QStringLiteral("Are you sure you want to delete ")),
                       fieldText(QStringLiteral("PERSON_NAME")), text(QStringLiteral(" ?"))};
    d.inUseMessage = QStringLiteral("Person Details are in use, Deletion not allowed");
    d.duplicateMessage = QStringLiteral("Person already Exists");
    d.newKeyField = QStringLiteral("PERSONNEL_ID");
    d.install = [](TDModBase &, Dataset &ds) { ds.beforePost.push_back(IBDSPersonnelBeforePost); };
    return d;
}

DatasetDef personSkillDataSet()
{
    DatasetDef d;
    d.name = QStringLiteral("IBDSPersonSkill");
    d.dataSource = QStringLiteral("DSPersonSkill");
    d.group = Group::Personnel;
    d.master = QStringLiteral("DSPersonnel");
    d.refreshAfterPost = false;
    d.sql.select = QStringLiteral("select ") + PersonSkillColumns
                   + QStringLiteral(" where PS.PERSONNEL_ID = :PERSONNEL_ID");
    d.sql.refresh = QStringLiteral("select ") + PersonSkillColumns
                    + QStringLiteral(" where PS.PERSONNEL_ID = :PERSONNEL_ID and PS.SKILL_ID = :OLD_SKILL_ID");
    d.sql.insert = QStringLiteral(
        "insert into PERSON_SKILL (PERSONNEL_ID, SKILL_ID, QUALIFICATION_DATE) "
        "values (:PERSONNEL_ID, :SKILL_ID, :QUALIFICATION_DATE)");
    d.sql.modify = QStringLiteral(
        "update PERSON_SKILL set SKILL_ID = :SKILL_ID, QUALIFICATION_DATE = :QUALIFICATION_DATE "
        "where PERSONNEL_ID = :PERSONNEL_ID and SKILL_ID = :OLD_SKILL_ID");
    d.sql.remove = QStringLiteral(
        "delete from PERSON_SKILL where PERSONNEL_ID = :PERSONNEL_ID and SKILL_ID = :SKILL_ID");
    d.fields = std::vector<FieldDef>{
        hidden(required(integerField(QStringLiteral("PERSONNEL_ID")))),
        hidden(required(integerField(QStringLiteral("SKILL_ID"), QStringLiteral("Skill")))),
        width(required(stringField(QStringLiteral("SKILL_DESCRIPTION"), 80, QStringLiteral("Skill"))), 75),
        width(mask(dateField(QStringLiteral("QUALIFICATION_DATE"), QStringLiteral("Qual. Date"),
                             QStringLiteral("dd mmmm yyyy")),
                   QStringLiteral("!99/99/0000;1; ")),
              22),
    } + auditFields(QStringLiteral("Created on"), QStringLiteral("dd mmmm yyyy"), 15);
    d.confirmDelete = {text(QStringLiteral("Are you sure you want to delete ")),
                       fieldText(QStringLiteral("SKILL_DESCRIPTION")), text(QStringLiteral(" for ")),
                       fieldText(QStringLiteral("PERSON_NAME"), QStringLiteral("IBDSPersonnel")),
                       text(QStringLiteral(" ?"))};
    d.duplicateMessage = QStringLiteral("Person already has this Skill Recorded");
    d.parentKeys = {{QStringLiteral("PERSONNEL_ID"), QStringLiteral("IBDSPersonnel"), {}}};
    d.postBeforeInsert = QStringLiteral("IBDSPersonnel");
    d.postOnlyWhenInserting = true;
    return d;
}

} // namespace corvadel::records
