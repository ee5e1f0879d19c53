#include "records/ProjectRole/ProjectRoleDataSets.h"

#include "data/DataModule.h"
#include "records/AuditFields.h"

namespace corvadel::records {

using namespace corvadel::data;

namespace {

const QString ProjectRoleAudit = QStringLiteral(
    "PR.CREATE_DATE, PR.CREATE_TIME, PR.CREATED_BY, PR.UPDATE_DATE, PR.UPDATE_TIME, PR.UPDATED_BY");
const QString ProjectRoleFrom = QStringLiteral(
    " from PROJECT_ROLE PR left outer join ROLES R on R.ROLE_ID = PR.ROLE_ID");

const QString RolePersonColumns = QStringLiteral(
    "PRP.PRJ_ID, PRP.ROLE_ID, PRP.PERSONNEL_ID, P.PERSON_NAME, PRP.SCHEDULED_START_DATE, "
    "PRP.ACTUAL_START_DATE, PRP.END_DATE");
const QString RolePersonAudit = QStringLiteral(
    "PRP.CREATE_DATE, PRP.CREATE_TIME, PRP.CREATED_BY, PRP.UPDATE_DATE, PRP.UPDATE_TIME, PRP.UPDATED_BY");
const QString RolePersonFrom = QStringLiteral(
    " from PROJECT_ROLE_PERSON PRP left outer join PERSONNEL P on P.PERSONNEL_ID = PRP.PERSONNEL_ID"
    " where PRP.PRJ_ID = :PRJ_ID and PRP.ROLE_ID = :ROLE_ID");

QString pairName(const char *stem, int pair)
{
    return QLatin1String(stem) + QString::number(pair);
}

// Closes and opens a query again, so that it reads its rows afresh; nothing
// when the module has no such query.
void reopen(TDModBase &module, const QString &name)
{
    Dataset *query = module.dataSet(name);
    if (!query)
        return;
    query->close();
    query->open();
}

// The project's roles are read whole, and the role pick lists are read again
// for the project now active. A posted project role is only refreshed, which
// is no opening: the pick lists then keep what they held.
void IBDSProjectRoleAfterOpen(TDModBase &module, Dataset &ds)
{
    ds.fetchAll();
    reopen(module, QStringLiteral("IBQLkupProjectRole1"));
    reopen(module, QStringLiteral("IBQLkupProjectRole2"));
}

// The same for the people of the current project role and the person pick
// lists; this runs whenever the current project role changes or is re-read.
void IBDSProjectRolePersonAfterOpen(TDModBase &module, Dataset &ds)
{
    ds.fetchAll();
    reopen(module, QStringLiteral("IBQLkupProjectRolePerson1"));
    reopen(module, QStringLiteral("IBQLkupProjectRolePerson2"));
}

// A lookup drop-down finds the name of any key it is given only when its
// list holds every row: each pick list is read whole on every opening.
void IBQLkupProjectRole1AfterOpen(Dataset &ds) { ds.fetchAll(); }
void IBQLkupProjectRole2AfterOpen(Dataset &ds) { ds.fetchAll(); }
void IBQLkupProjectRolePerson1AfterOpen(Dataset &ds) { ds.fetchAll(); }
void IBQLkupProjectRolePerson2AfterOpen(Dataset &ds) { ds.fetchAll(); }

} // namespace

DatasetDef projectRoleDataSet()
{
    DatasetDef d;
    d.name = QStringLiteral("IBDSProjectRole");
    d.dataSource = QStringLiteral("DSProjectRole");
    d.group = Group::Project;
    d.master = QStringLiteral("DSProject");
    d.sql.select = QStringLiteral(
        "select PR.PRJ_ID, PR.ROLE_ID, R.ROLE_DESCRIPTION, PR.DAILY_RATE, R.QA_ROLE, R.MGT_ROLE, R.BUS_ROLE, "
        "R.IT_ROLE, ") + ProjectRoleAudit + ProjectRoleFrom + QStringLiteral(" where PR.PRJ_ID = :PRJ_ID");
    d.sql.refresh = QStringLiteral(
        "select PR.ROLE_ID, R.ROLE_DESCRIPTION, PR.DAILY_RATE, R.QA_ROLE, R.MGT_ROLE, R.BUS_ROLE, R.IT_ROLE, ")
        + ProjectRoleAudit + ProjectRoleFrom + QStringLiteral(" where PR.PRJ_ID = :PRJ_ID and PR.ROLE_ID = :ROLE_ID");
    d.sql.insert = QStringLiteral(
        "insert into PROJECT_ROLE (PRJ_ID, ROLE_ID, DAILY_RATE) values (:PRJ_ID, :ROLE_ID, :DAILY_RATE)");
    // The role of a stored project role never changes: only its rate does.
    d.sql.modify = QStringLiteral(
        "update PROJECT_ROLE set DAILY_RATE = :DAILY_RATE where PRJ_ID = :PRJ_ID and ROLE_ID = :ROLE_ID");
    d.sql.remove = QStringLiteral("delete from PROJECT_ROLE where PRJ_ID = :PRJ_ID and ROLE_ID = :ROLE_ID");
    d.fields = std::vector<FieldDef>{
        hidden(required(integerField(QStringLiteral("PRJ_ID")))),
        hidden(integerField(QStringLiteral("ROLE_ID"))),
        width(stringField(QStringLiteral("ROLE_DESCRIPTION"), 80, QStringLiteral("Role")), 30),
        width(stringField(QStringLiteral("QA_ROLE"), 3, QStringLiteral("QA")), 3),
        width(stringField(QStringLiteral("MGT_ROLE"), 3, QStringLiteral("Mgt.")), 3),
        width(stringField(QStringLiteral("BUS_ROLE"), 3, QStringLiteral("Bus.")), 3),
        width(stringField(QStringLiteral("IT_ROLE"), 3, QStringLiteral("IT")), 3),
        format(required(floatField(QStringLiteral("DAILY_RATE"), QStringLiteral("Daily Rate"))), QStringLiteral("£######0.00")),
    } + auditFields({}, QStringLiteral("dd mmm yyyy"));
    d.confirmDelete = {text(QStringLiteral("Are you sure you want to delete ")),
                       fieldText(QStringLiteral("ROLE_DESCRIPTION")), text(QStringLiteral(" ?"))};
    d.inUseMessage = QStringLiteral("Project Role is in use, Deletion not allowed");
    d.duplicateMessage = QStringLiteral("Role already Exists for this Project");
    // No generated key: the user chooses the role.
    d.parentKeys = {{QStringLiteral("PRJ_ID"), QStringLiteral("IBDSProject"), {}}};
    d.install = [](TDModBase &module, Dataset &ds) {
        ds.afterOpen.push_back([&module](Dataset &d) { IBDSProjectRoleAfterOpen(module, d); });
    };
    return d;
}

DatasetDef projectRolePersonDataSet()
{
    DatasetDef d;
    d.name = QStringLiteral("IBDSProjectRolePerson");
    d.dataSource = QStringLiteral("DSProjectRolePerson");
    d.group = Group::Project;
    d.master = QStringLiteral("DSProjectRole");
    d.sql.select = QStringLiteral("select ") + RolePersonColumns + QStringLiteral(", ") + RolePersonAudit + RolePersonFrom;
    d.sql.refresh = d.sql.select + QStringLiteral(" and PRP.PERSONNEL_ID = :PERSONNEL_ID");
    d.sql.insert = QStringLiteral(
        "insert into PROJECT_ROLE_PERSON (PRJ_ID, ROLE_ID, PERSONNEL_ID, SCHEDULED_START_DATE, ACTUAL_START_DATE, "
        "END_DATE) values (:PRJ_ID, :ROLE_ID, :PERSONNEL_ID, :SCHEDULED_START_DATE, :ACTUAL_START_DATE, :END_DATE)");
    d.sql.modify = QStringLiteral(
        "update PROJECT_ROLE_PERSON set SCHEDULED_START_DATE = :SCHEDULED_START_DATE, "
        "ACTUAL_START_DATE = :ACTUAL_START_DATE, END_DATE = :END_DATE "
        "where PRJ_ID = :PRJ_ID and ROLE_ID = :ROLE_ID and PERSONNEL_ID = :PERSONNEL_ID");
    d.sql.remove = QStringLiteral(
        "delete from PROJECT_ROLE_PERSON where PRJ_ID = :PRJ_ID and ROLE_ID = :ROLE_ID and PERSONNEL_ID = :PERSONNEL_ID");
    const QString dateFormat = QStringLiteral("dd mmm yyyy");
    d.fields = std::vector<FieldDef>{
        hidden(required(integerField(QStringLiteral("PRJ_ID")))),
        hidden(integerField(QStringLiteral("ROLE_ID"), QStringLiteral("Role"))),
        hidden(required(integerField(QStringLiteral("PERSONNEL_ID"), QStringLiteral("Person")))),
        width(required(stringField(QStringLiteral("PERSON_NAME"), 80, QStringLiteral("Person in Role"))), 60),
        width(dateField(QStringLiteral("SCHEDULED_START_DATE"), QStringLiteral("Scheduled Start Date"), dateFormat), 21),
        width(dateField(QStringLiteral("ACTUAL_START_DATE"), QStringLiteral("Actual Start Date"), dateFormat), 16),
        width(dateField(QStringLiteral("END_DATE"), QStringLiteral("End Date"), dateFormat), 12),
    } + auditFields({}, dateFormat);
    d.confirmDelete = {text(QStringLiteral("Are you sure you want to delete ")),
                       fieldText(QStringLiteral("PERSON_NAME")), text(QStringLiteral(" in Role ")),
                       fieldText(QStringLiteral("ROLE_DESCRIPTION"), QStringLiteral("IBDSProjectRole")),
                       text(QStringLiteral(" ?"))};
    d.inUseMessage = QStringLiteral("Person in Role is in use, Deletion not allowed");
    d.duplicateMessage = QStringLiteral("Person already in this Role on this Project");
    d.parentKeys = {{QStringLiteral("PRJ_ID"), QStringLiteral("IBDSProject"), {}},
                    {QStringLiteral("ROLE_ID"), QStringLiteral("IBDSProjectRole"), {}}};
    // An assignment always refers to a stored project role.
    d.postBeforeInsert = QStringLiteral("IBDSProjectRole");
    d.install = [](TDModBase &module, Dataset &ds) {
        ds.afterOpen.push_back([&module](Dataset &d) { IBDSProjectRolePersonAfterOpen(module, d); });
    };
    return d;
}

DatasetDef lookupProjectRoleQuery(int pair)
{
    DatasetDef d;
    d.name = pairName("IBQLkupProjectRole", pair);
    d.dataSource = pairName("DSLkupProjectRole", pair);
    d.group = Group::Project;
    d.master = QStringLiteral("DSProject");
    d.sql.select = QStringLiteral("select PR.PRJ_ID, PR.ROLE_ID, R.ROLE_DESCRIPTION, R.QA_ROLE, R.MGT_ROLE, R.BUS_ROLE, "
                                  "R.IT_ROLE") + ProjectRoleFrom + QStringLiteral(" where PR.PRJ_ID = :PRJ_ID");
    const bool second = pair == 2;
    d.fields = {
        integerField(QStringLiteral("PRJ_ID")),
        integerField(QStringLiteral("ROLE_ID"), second ? QStringLiteral("Role Id") : QString()),
        stringField(QStringLiteral("ROLE_DESCRIPTION"), 80, second ? QStringLiteral("Role") : QString()),
        stringField(QStringLiteral("QA_ROLE"), 3),
        stringField(QStringLiteral("MGT_ROLE"), 3),
        stringField(QStringLiteral("BUS_ROLE"), 3),
        stringField(QStringLiteral("IT_ROLE"), 3),
    };
    d.install = [second](TDModBase &, Dataset &ds) {
        ds.afterOpen.push_back(second ? IBQLkupProjectRole2AfterOpen : IBQLkupProjectRole1AfterOpen);
    };
    return d;
}

DatasetDef lookupProjectRolePersonQuery(int pair)
{
    DatasetDef d;
    d.name = pairName("IBQLkupProjectRolePerson", pair);
    d.dataSource = pairName("DSLkupProjectRolePerson", pair);
    d.group = Group::Project;
    d.master = pairName("DSLkupProjectRole", pair);
    // Ended assignments are never offered.
    d.sql.select = QStringLiteral("select ") + RolePersonColumns + RolePersonFrom
                   + QStringLiteral(" and PRP.END_DATE is NULL");
    const bool second = pair == 2;
    d.fields = {
        integerField(QStringLiteral("PRJ_ID")),
        integerField(QStringLiteral("ROLE_ID")),
        integerField(QStringLiteral("PERSONNEL_ID")),
        stringField(QStringLiteral("PERSON_NAME"), 80, second ? QStringLiteral("Person in Role") : QString()),
        dateField(QStringLiteral("SCHEDULED_START_DATE")),
        dateField(QStringLiteral("ACTUAL_START_DATE")),
        dateField(QStringLiteral("END_DATE")),
    };
    d.install = [second](TDModBase &, Dataset &ds) {
        ds.afterOpen.push_back(second ? IBQLkupProjectRolePerson2AfterOpen : IBQLkupProjectRolePerson1AfterOpen);
    };
    return d;
}

} // namespace corvadel::records
