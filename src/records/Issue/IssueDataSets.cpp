#include "records/Issue/IssueDataSets.h"

#include "data/DataModule.h"
#include "records/AuditFields.h"
#include "records/ChangeRequest/ChangeRequestDataSets.h"

namespace corvadel::records {

using namespace corvadel::data;

namespace {

const QString IssueColumns = QStringLiteral(
    "select I.ISSUE_ID, I.ISSUE_NBR, I.ISSUE_TYPE, I.ISSUE_DESCRIPTION, I.ISSUE_DETAILED_DESCRIPTION, "
    "I.DATE_RAISED, I.PRJ_ID, I.RAISED_BY_ROLE_ID, R1.ROLE_DESCRIPTION, I.RAISED_BY_PERSONNEL_ID, "
    "P1.PERSON_NAME, I.OUTCOME, I.OWNER_ROLE_ID, R2.ROLE_DESCRIPTION, I.OWNER_PERSONNEL_ID, P2.PERSON_NAME, "
    "I.ISSUE_STATUS, I.CREATE_DATE, I.CREATE_TIME, I.CREATED_BY, I.UPDATE_DATE, I.UPDATE_TIME, I.UPDATED_BY "
    "from ISSUE I "
    "left outer join ROLES R1 on R1.ROLE_ID = I.RAISED_BY_ROLE_ID "
    "left outer join PERSONNEL P1 on P1.PERSONNEL_ID = I.RAISED_BY_PERSONNEL_ID "
    "left outer join ROLES R2 on R2.ROLE_ID = I.OWNER_ROLE_ID "
    "left outer join PERSONNEL P2 on P2.PERSONNEL_ID = I.OWNER_PERSONNEL_ID");

} // namespace

DatasetDef issueDataSet()
{
    DatasetDef d;
    d.name = QStringLiteral("IBDSIssue");
    d.dataSource = QStringLiteral("DSIssue");
    d.group = Group::Project;
    d.master = QStringLiteral("DSProject");
    d.sql.select = IssueColumns + QStringLiteral(" where I.PRJ_ID = :PRJ_ID order by ISSUE_NBR desc");
    d.sql.refresh = IssueColumns + QStringLiteral(" where I.ISSUE_ID = :ISSUE_ID");
    // The number goes in as typed (usually empty: the database numbers the
    // issue) and is never changed afterwards; the re-read brings it.
    d.sql.insert = QStringLiteral(
        "insert into ISSUE (ISSUE_ID, ISSUE_NBR, ISSUE_TYPE, ISSUE_DESCRIPTION, ISSUE_DETAILED_DESCRIPTION, "
        "DATE_RAISED, PRJ_ID, RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID, OUTCOME, OWNER_ROLE_ID, "
        "OWNER_PERSONNEL_ID, ISSUE_STATUS) values (:ISSUE_ID, :ISSUE_NBR, :ISSUE_TYPE, :ISSUE_DESCRIPTION, "
        ":ISSUE_DETAILED_DESCRIPTION, :DATE_RAISED, :PRJ_ID, :RAISED_BY_ROLE_ID, :RAISED_BY_PERSONNEL_ID, "
        ":OUTCOME, :OWNER_ROLE_ID, :OWNER_PERSONNEL_ID, :ISSUE_STATUS)");
    d.sql.modify = QStringLiteral(
        "update ISSUE set ISSUE_TYPE = :ISSUE_TYPE, ISSUE_DESCRIPTION = :ISSUE_DESCRIPTION, "
        "ISSUE_DETAILED_DESCRIPTION = :ISSUE_DETAILED_DESCRIPTION, DATE_RAISED = :DATE_RAISED, "
        "RAISED_BY_ROLE_ID = :RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID = :RAISED_BY_PERSONNEL_ID, "
        "OUTCOME = :OUTCOME, OWNER_ROLE_ID = :OWNER_ROLE_ID, OWNER_PERSONNEL_ID = :OWNER_PERSONNEL_ID, "
        "ISSUE_STATUS = :ISSUE_STATUS where ISSUE_ID = :ISSUE_ID");
    d.sql.remove = QStringLiteral("delete from ISSUE where ISSUE_ID = :ISSUE_ID");
    const QString dateFormat = QStringLiteral("dd mmm yyyy");
    d.fields = std::vector<FieldDef>{
        hidden(required(integerField(QStringLiteral("ISSUE_ID")))),
        integerField(QStringLiteral("ISSUE_NBR"), QStringLiteral("Issue No.")),
        required(stringField(QStringLiteral("ISSUE_TYPE"), 20, QStringLiteral("Issue Type"))),
        required(stringField(QStringLiteral("ISSUE_DESCRIPTION"), 80, QStringLiteral("Description"))),
        blobField(QStringLiteral("ISSUE_DETAILED_DESCRIPTION")),
        required(dateField(QStringLiteral("DATE_RAISED"), QStringLiteral("Date Raised"), dateFormat)),
        hidden(required(integerField(QStringLiteral("PRJ_ID")))),
        hidden(required(integerField(QStringLiteral("RAISED_BY_ROLE_ID"), QStringLiteral("Raised by")))),
        stringField(QStringLiteral("ROLE_DESCRIPTION"), 80, QStringLiteral("Raised by Role")),
        hidden(required(integerField(QStringLiteral("RAISED_BY_PERSONNEL_ID")))),
        stringField(QStringLiteral("PERSON_NAME"), 80, QStringLiteral("Raised by")),
        blobField(QStringLiteral("OUTCOME")),
        hidden(integerField(QStringLiteral("OWNER_ROLE_ID"))),
        stringField(QStringLiteral("ROLE_DESCRIPTION1"), 80, QStringLiteral("Owner Role")),
        hidden(integerField(QStringLiteral("OWNER_PERSONNEL_ID"), QStringLiteral("Owner"))),
        stringField(QStringLiteral("PERSON_NAME1"), 80, QStringLiteral("Owner")),
        required(stringField(QStringLiteral("ISSUE_STATUS"), 20, QStringLiteral("Status"))),
    } + auditFields(QStringLiteral("Created on "), dateFormat);
    d.confirmDelete = {text(QStringLiteral("Are you sure you want to delete Issue No.")),
                       fieldText(QStringLiteral("ISSUE_NBR")), text(QStringLiteral(" ")),
                       fieldText(QStringLiteral("ISSUE_DESCRIPTION")), text(QStringLiteral(" ?"))};
    d.inUseMessage = QStringLiteral("Issue is in use, Deletion not allowed");
    d.duplicateMessage = QStringLiteral("Issue with this Description already Exists");
    // Nothing else: a new issue has no number, type, status, date or people.
    d.newKeyField = QStringLiteral("ISSUE_ID");
    d.parentKeys = {{QStringLiteral("PRJ_ID"), QStringLiteral("IBDSProject"), {}}};
    return d;
}

DatasetDef issueChangeRequestQuery()
{
    DatasetDef d;
    d.name = QStringLiteral("IBQIssueChangeRequest");
    d.dataSource = QStringLiteral("DSIssueChangeRequest");
    d.group = Group::Project;
    d.master = QStringLiteral("DSIssue");
    d.sql.select = QStringLiteral(
        "select CRI.CR_ID, C.CR_DESCRIPTION, C.DATE_RAISED, C.PRIORITY, C.CR_STATUS, C.OWNER_ROLE_ID, "
        "R2.ROLE_DESCRIPTION, C.OWNER_PERSONNEL_ID, P2.PERSON_NAME "
        "from CHANGE_REQUEST_ISSUE CRI "
        "left outer join CHANGE_REQUEST C on C.CR_ID = CRI.CR_ID "
        "left outer join ROLES R2 on R2.ROLE_ID = C.OWNER_ROLE_ID "
        "left outer join PERSONNEL P2 on P2.PERSONNEL_ID = C.OWNER_PERSONNEL_ID "
        "where CRI.ISSUE_ID = :ISSUE_ID order by CRI.CR_ID desc");
    d.fields = changeRequestListFields();
    return d;
}

} // namespace corvadel::records
