#include "records/Risk/RiskDataSets.h"

#include "data/DataModule.h"
#include "records/AuditFields.h"

namespace corvadel::records {

using namespace corvadel::data;

namespace {

const QString RiskColumns = QStringLiteral(
    "select R.RISK_ID, R.RISK_NBR, R.RISK_DESCRIPTION, R.RISK_DETAILED_DESCRIPTION, R.DATE_RAISED, R.PRJ_ID, "
    "R.RAISED_BY_ROLE_ID, R1.ROLE_DESCRIPTION, R.RAISED_BY_PERSONNEL_ID, P1.PERSON_NAME, R.LIKELIHOOD, R.IMPACT, "
    "R.COUNTERMEASURES, R.OWNER_ROLE_ID, R2.ROLE_DESCRIPTION, R.OWNER_PERSONNEL_ID, P2.PERSON_NAME, "
    "R.RISK_STATUS, R.CREATE_DATE, R.CREATE_TIME, R.CREATED_BY, R.UPDATE_DATE, R.UPDATE_TIME, R.UPDATED_BY "
    "from RISK R "
    "left outer join ROLES R1 on R1.ROLE_ID = R.RAISED_BY_ROLE_ID "
    "left outer join PERSONNEL P1 on P1.PERSONNEL_ID = R.RAISED_BY_PERSONNEL_ID "
    "left outer join ROLES R2 on R2.ROLE_ID = R.OWNER_ROLE_ID "
    "left outer join PERSONNEL P2 on P2.PERSONNEL_ID = R.OWNER_PERSONNEL_ID");

} // namespace

DatasetDef riskDataSet()
{
    DatasetDef d;
    d.name = QStringLiteral("IBDSRisk");
    d.dataSource = QStringLiteral("DSRisk");
    d.group = Group::Project;
    d.master = QStringLiteral("DSProject");
    d.sql.select = RiskColumns + QStringLiteral(" where R.PRJ_ID = :PRJ_ID order by RISK_NBR desc");
    d.sql.refresh = RiskColumns + QStringLiteral(" where R.RISK_ID = :RISK_ID");
    // As for issues, the database numbers a risk inserted without a number.
    d.sql.insert = QStringLiteral(
        "insert into RISK (RISK_ID, RISK_NBR, RISK_DESCRIPTION, RISK_DETAILED_DESCRIPTION, DATE_RAISED, PRJ_ID, "
        "RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID, LIKELIHOOD, IMPACT, COUNTERMEASURES, OWNER_ROLE_ID, "
        "OWNER_PERSONNEL_ID, RISK_STATUS) values (:RISK_ID, :RISK_NBR, :RISK_DESCRIPTION, "
        ":RISK_DETAILED_DESCRIPTION, :DATE_RAISED, :PRJ_ID, :RAISED_BY_ROLE_ID, :RAISED_BY_PERSONNEL_ID, "
        ":LIKELIHOOD, :IMPACT, :COUNTERMEASURES, :OWNER_ROLE_ID, :OWNER_PERSONNEL_ID, :RISK_STATUS)");
    d.sql.modify = QStringLiteral(
        "update RISK set RISK_DESCRIPTION = :RISK_DESCRIPTION, RISK_DETAILED_DESCRIPTION = :RISK_DETAILED_DESCRIPTION, "
        "DATE_RAISED = :DATE_RAISED, RAISED_BY_ROLE_ID = :RAISED_BY_ROLE_ID, "
        "RAISED_BY_PERSONNEL_ID = :RAISED_BY_PERSONNEL_ID, LIKELIHOOD = :LIKELIHOOD, IMPACT = :IMPACT, "
        "COUNTERMEASURES = :COUNTERMEASURES, OWNER_ROLE_ID = :OWNER_ROLE_ID, "
        "OWNER_PERSONNEL_ID = :OWNER_PERSONNEL_ID, RISK_STATUS = :RISK_STATUS where RISK_ID = :RISK_ID");
    d.sql.remove = QStringLiteral("delete from RISK where RISK_ID = :RISK_ID");
    const QString dateFormat = QStringLiteral("dd mmm yyyy");
    d.fields = std::vector<FieldDef>{
        hidden(required(integerField(QStringLiteral("RISK_ID")))),
        integerField(QStringLiteral("RISK_NBR"), QStringLiteral("Risk No.")),
        required(stringField(QStringLiteral("RISK_DESCRIPTION"), 80, QStringLiteral("Description"))),
        blobField(QStringLiteral("RISK_DETAILED_DESCRIPTION")),
        required(dateField(QStringLiteral("DATE_RAISED"), QStringLiteral("Date Raised"), dateFormat)),
        hidden(required(integerField(QStringLiteral("PRJ_ID")))),
        hidden(required(integerField(QStringLiteral("RAISED_BY_ROLE_ID"), QStringLiteral("Raised by Role")))),
        stringField(QStringLiteral("ROLE_DESCRIPTION"), 80, QStringLiteral("Raised by Role")),
        hidden(required(integerField(QStringLiteral("RAISED_BY_PERSONNEL_ID"), QStringLiteral("Raised by Person")))),
        stringField(QStringLiteral("PERSON_NAME"), 80, QStringLiteral("Raised by")),
        shown(blobField(QStringLiteral("LIKELIHOOD"), QStringLiteral("Likelihood"))),
        shown(blobField(QStringLiteral("IMPACT"), QStringLiteral("Impact"))),
        shown(blobField(QStringLiteral("COUNTERMEASURES"), QStringLiteral("Countermeasures"))),
        hidden(integerField(QStringLiteral("OWNER_ROLE_ID"))),
        stringField(QStringLiteral("ROLE_DESCRIPTION1"), 80, QStringLiteral("Owner Role")),
        hidden(integerField(QStringLiteral("OWNER_PERSONNEL_ID"), QStringLiteral("Owner"))),
        stringField(QStringLiteral("PERSON_NAME1"), 80, QStringLiteral("Owner")),
        required(stringField(QStringLiteral("RISK_STATUS"), 20, QStringLiteral("Status"))),
    } + auditFields({}, dateFormat);
    d.confirmDelete = {text(QStringLiteral("Are you sure you want to delete Risk No.")),
                       fieldText(QStringLiteral("RISK_NBR")), text(QStringLiteral(" ")),
                       fieldText(QStringLiteral("RISK_DESCRIPTION")), text(QStringLiteral(" ?"))};
    d.inUseMessage = QStringLiteral("Risk is in use, Deletion not allowed");
    d.duplicateMessage = QStringLiteral("Risk with this Description already Exists");
    d.newKeyField = QStringLiteral("RISK_ID");
    d.parentKeys = {{QStringLiteral("PRJ_ID"), QStringLiteral("IBDSProject"), {}}};
    d.defaults = {{QStringLiteral("DATE_RAISED"), {}, true},
                  {QStringLiteral("RISK_STATUS"), QStringLiteral("Open"), false}};
    return d;
}

} // namespace corvadel::records
