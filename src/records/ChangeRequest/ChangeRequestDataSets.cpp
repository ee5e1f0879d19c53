#include "records/ChangeRequest/ChangeRequestDataSets.h"

#include "data/DataModule.h"
#include "records/AuditFields.h"

#include <cmath>

namespace corvadel::records {

using namespace corvadel::data;

namespace {

const QString RequestColumns = QStringLiteral(
    "select C.CR_ID, C.CR_DESCRIPTION, C.CR_DETAILED_DESCRIPTION, C.DATE_RAISED, C.PRJ_ID, C.RAISED_BY_ROLE_ID, "
    "R1.ROLE_DESCRIPTION, C.RAISED_BY_PERSONNEL_ID, P1.PERSON_NAME, C.BENEFITS, C.RISKS_BY_NOT_CHANGING, "
    "C.IMPACT_ON_PLAN, C.EXCEPTION_DETAILS, C.CM_MEETING_DATE, C.CM_MEETING_COMMENTS, C.AGREED_ACTION, "
    "C.ACTION_REASON, C.PRIORITY, C.CR_STATUS, C.OWNER_ROLE_ID, R2.ROLE_DESCRIPTION, C.OWNER_PERSONNEL_ID, "
    "P2.PERSON_NAME, C.CREATE_DATE, C.CREATE_TIME, C.CREATED_BY, C.UPDATE_DATE, C.UPDATE_TIME, C.UPDATED_BY "
    "from CHANGE_REQUEST C "
    "left outer join ROLES R1 on R1.ROLE_ID = C.RAISED_BY_ROLE_ID "
    "left outer join PERSONNEL P1 on P1.PERSONNEL_ID = C.RAISED_BY_PERSONNEL_ID "
    "left outer join ROLES R2 on R2.ROLE_ID = C.OWNER_ROLE_ID "
    "left outer join PERSONNEL P2 on P2.PERSONNEL_ID = C.OWNER_PERSONNEL_ID");

const QString IssueColumns = QStringLiteral(
    "select CRI.CR_ID, CRI.ISSUE_ID, I.ISSUE_NBR, I.ISSUE_DESCRIPTION, CRI.CREATE_DATE, CRI.CREATE_TIME, "
    "CRI.CREATED_BY, CRI.UPDATE_DATE, CRI.UPDATE_TIME, CRI.UPDATED_BY "
    "from CHANGE_REQUEST_ISSUE CRI left outer join ISSUE I on I.ISSUE_ID = CRI.ISSUE_ID");

const QString ProductColumns = QStringLiteral(
    "select CRP.CR_ID, CRP.PRODUCT_ID, CRP.PRJ_ID, P.PRODUCT_TYPE_ID, PT.PRODUCT_TYPE_DESCRIPTION, "
    "P.PRODUCT_DESCRIPTION, CRP.IMPACT, CRP.COMPLETED_BY_ROLE_ID, R.ROLE_DESCRIPTION, "
    "CRP.COMPLETED_BY_PERSONNEL_ID, P1.PERSON_NAME, CRP.CREATE_DATE, CRP.CREATE_TIME, CRP.CREATED_BY, "
    "CRP.UPDATE_DATE, CRP.UPDATE_TIME, CRP.UPDATED_BY "
    "from CHANGE_REQUEST_PRODUCT CRP "
    "left outer join PRODUCT P on P.PRODUCT_ID = CRP.PRODUCT_ID "
    "left outer join PRODUCT_TYPE PT on P.PRODUCT_TYPE_ID = PT.PRODUCT_TYPE_ID "
    "left outer join ROLES R on R.ROLE_ID = CRP.COMPLETED_BY_ROLE_ID "
    "left outer join PERSONNEL P1 on P1.PERSONNEL_ID = CRP.COMPLETED_BY_PERSONNEL_ID");

// The project role's daily rate for the required role prices the line.
const QString ResourceColumns = QStringLiteral(
    "select CRR.CR_ID, CRR.ROLE_ID, CRR.PRJ_ID, R.ROLE_DESCRIPTION, PR.DAILY_RATE, CRR.RESOURCE_DAYS, "
    "CRR.COMPLETED_BY_ROLE_ID, R1.ROLE_DESCRIPTION, CRR.COMPLETED_BY_PERSONNEL_ID, P.PERSON_NAME, "
    "CRR.CREATE_DATE, CRR.CREATE_TIME, CRR.CREATED_BY, CRR.UPDATE_DATE, CRR.UPDATE_TIME, CRR.UPDATED_BY "
    "from CHANGE_REQUEST_RESOURCE CRR "
    "left outer join ROLES R on R.ROLE_ID = CRR.ROLE_ID "
    "left outer join PROJECT_ROLE PR on PR.ROLE_ID = CRR.ROLE_ID and PR.PRJ_ID = CRR.PRJ_ID "
    "left outer join ROLES R1 on R1.ROLE_ID = CRR.COMPLETED_BY_ROLE_ID "
    "left outer join PERSONNEL P on P.PERSONNEL_ID = CRR.COMPLETED_BY_PERSONNEL_ID");

// A line's cost: days times the project's daily rate for the required role,
// an empty value counting as 0. The rate arrives only with the re-read after
// a post, so a new line costs 0 until then.
void IBDSChangeRequestResourceCalcFields(Dataset &ds)
{
    ds.fieldByName(QStringLiteral("CalcCost"))
        ->setValue(ds.fieldByName(QStringLiteral("RESOURCE_DAYS"))->asInteger()
                   * ds.fieldByName(QStringLiteral("DAILY_RATE"))->asFloat());
}

// The change request's total: the lines are walked from first to last, which
// leaves the last line current. Typed values count once the line is posted.
void recomputeTotalCost(TDModBase &module, Dataset &lines)
{
    qint64 total = 0;
    Field *cost = lines.fieldByName(QStringLiteral("CalcCost"));
    lines.first();
    while (!lines.eof()) {
        total = addLineCost(total, cost->asFloat());
        lines.next();
    }
    module.setTotalCost(total);
}

// Opened, or read again for another change request.
void IBDSChangeRequestResourceAfterOpen(TDModBase &module, Dataset &ds) { recomputeTotalCost(module, ds); }
// A line was posted; the dataset has already re-read it, so its rate is in.
void IBDSChangeRequestResourceAfterPost(TDModBase &module, Dataset &ds) { recomputeTotalCost(module, ds); }
void IBDSChangeRequestResourceAfterDelete(TDModBase &module, Dataset &ds) { recomputeTotalCost(module, ds); }

} // namespace

qint64 addLineCost(qint64 totalTenThousandths, double lineCost)
{
    const double sum = double(totalTenThousandths) + lineCost * 10000.0;
    const double whole = std::floor(sum);
    const double fraction = sum - whole;
    auto rounded = qint64(whole);
    if (fraction > 0.5 || (fraction == 0.5 && rounded % 2 != 0))
        ++rounded;
    return rounded;
}

std::vector<FieldDef> changeRequestListFields()
{
    // The status field is as wide as its column, so the longer entries of the
    // status list are shown whole.
    return {
        width(required(integerField(QStringLiteral("CR_ID"), QStringLiteral("CR No."))), 12),
        width(stringField(QStringLiteral("CR_DESCRIPTION"), 80, QStringLiteral("Description")), 53),
        width(dateField(QStringLiteral("DATE_RAISED"), QStringLiteral("Date Raised")), 12),
        width(stringField(QStringLiteral("PRIORITY"), 20, QStringLiteral("Priority")), 24),
        width(stringField(QStringLiteral("CR_STATUS"), 40, QStringLiteral("Status")), 24),
        hidden(integerField(QStringLiteral("OWNER_ROLE_ID"))),
        width(stringField(QStringLiteral("ROLE_DESCRIPTION"), 80, QStringLiteral("Owner Role")), 44),
        hidden(integerField(QStringLiteral("OWNER_PERSONNEL_ID"))),
        width(stringField(QStringLiteral("PERSON_NAME"), 80, QStringLiteral("Owner")), 96),
    };
}

DatasetDef changeRequestDataSet()
{
    DatasetDef d;
    d.name = QStringLiteral("IBDSChangeRequest");
    d.dataSource = QStringLiteral("DSChangeRequest");
    d.group = Group::Project;
    d.master = QStringLiteral("DSProject");
    d.sql.select = RequestColumns + QStringLiteral(" where C.PRJ_ID = :PRJ_ID order by CR_ID desc");
    d.sql.refresh = RequestColumns + QStringLiteral(" where C.CR_ID = :CR_ID");
    d.sql.insert = QStringLiteral(
        "insert into CHANGE_REQUEST (CR_ID, CR_DESCRIPTION, CR_DETAILED_DESCRIPTION, DATE_RAISED, PRJ_ID, "
        "RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID, BENEFITS, RISKS_BY_NOT_CHANGING, IMPACT_ON_PLAN, "
        "EXCEPTION_DETAILS, CM_MEETING_DATE, CM_MEETING_COMMENTS, AGREED_ACTION, ACTION_REASON, PRIORITY, "
        "CR_STATUS, OWNER_ROLE_ID, OWNER_PERSONNEL_ID) values (:CR_ID, :CR_DESCRIPTION, :CR_DETAILED_DESCRIPTION, "
        ":DATE_RAISED, :PRJ_ID, :RAISED_BY_ROLE_ID, :RAISED_BY_PERSONNEL_ID, :BENEFITS, :RISKS_BY_NOT_CHANGING, "
        ":IMPACT_ON_PLAN, :EXCEPTION_DETAILS, :CM_MEETING_DATE, :CM_MEETING_COMMENTS, :AGREED_ACTION, "
        ":ACTION_REASON, :PRIORITY, :CR_STATUS, :OWNER_ROLE_ID, :OWNER_PERSONNEL_ID)");
    d.sql.modify = QStringLiteral(
        "update CHANGE_REQUEST set CR_DESCRIPTION = :CR_DESCRIPTION, CR_DETAILED_DESCRIPTION = :CR_DETAILED_DESCRIPTION, "
        "DATE_RAISED = :DATE_RAISED, RAISED_BY_ROLE_ID = :RAISED_BY_ROLE_ID, "
        "RAISED_BY_PERSONNEL_ID = :RAISED_BY_PERSONNEL_ID, BENEFITS = :BENEFITS, "
        "RISKS_BY_NOT_CHANGING = :RISKS_BY_NOT_CHANGING, IMPACT_ON_PLAN = :IMPACT_ON_PLAN, "
        "EXCEPTION_DETAILS = :EXCEPTION_DETAILS, CM_MEETING_DATE = :CM_MEETING_DATE, "
        "CM_MEETING_COMMENTS = :CM_MEETING_COMMENTS, AGREED_ACTION = :AGREED_ACTION, ACTION_REASON = :ACTION_REASON, "
        "PRIORITY = :PRIORITY, CR_STATUS = :CR_STATUS, OWNER_ROLE_ID = :OWNER_ROLE_ID, "
        "OWNER_PERSONNEL_ID = :OWNER_PERSONNEL_ID where CR_ID = :CR_ID");
    d.sql.remove = QStringLiteral("delete from CHANGE_REQUEST where CR_ID = :CR_ID");
    const QString dateFormat = QStringLiteral("dd mmm yyyy");
    // Two entries of the status and agreed-action lists are longer than 20
    // characters; their fields hold what the columns hold, so the chosen
    // entry is stored and shown whole.
    d.fields = std::vector<FieldDef>{
        required(integerField(QStringLiteral("CR_ID"), QStringLiteral("CR No."))),
        required(stringField(QStringLiteral("CR_DESCRIPTION"), 80, QStringLiteral("Description"))),
        blobField(QStringLiteral("CR_DETAILED_DESCRIPTION")),
        required(dateField(QStringLiteral("DATE_RAISED"), QStringLiteral("Date Raised"), dateFormat)),
        hidden(required(integerField(QStringLiteral("PRJ_ID")))),
        hidden(required(integerField(QStringLiteral("RAISED_BY_ROLE_ID")))),
        hidden(stringField(QStringLiteral("ROLE_DESCRIPTION"), 80)),
        hidden(required(integerField(QStringLiteral("RAISED_BY_PERSONNEL_ID")))),
        hidden(stringField(QStringLiteral("PERSON_NAME"), 80)),
        blobField(QStringLiteral("BENEFITS")),
        blobField(QStringLiteral("RISKS_BY_NOT_CHANGING")),
        blobField(QStringLiteral("IMPACT_ON_PLAN")),
        blobField(QStringLiteral("EXCEPTION_DETAILS")),
        hidden(dateField(QStringLiteral("CM_MEETING_DATE"), {}, dateFormat)),
        blobField(QStringLiteral("CM_MEETING_COMMENTS")),
        hidden(stringField(QStringLiteral("AGREED_ACTION"), 40)),
        blobField(QStringLiteral("ACTION_REASON")),
        stringField(QStringLiteral("PRIORITY"), 20, QStringLiteral("Priority")),
        stringField(QStringLiteral("CR_STATUS"), 40, QStringLiteral("Status")),
        hidden(integerField(QStringLiteral("OWNER_ROLE_ID"), QStringLiteral("Owner Role"))),
        hidden(stringField(QStringLiteral("ROLE_DESCRIPTION1"), 80)),
        hidden(integerField(QStringLiteral("OWNER_PERSONNEL_ID"), QStringLiteral("Owner"))),
        stringField(QStringLiteral("PERSON_NAME1"), 80, QStringLiteral("Owner")),
    } + auditFields({}, dateFormat);
    d.confirmDelete = {text(QStringLiteral("Are you sure you want to delete Change Request No.")),
                       fieldText(QStringLiteral("CR_ID")), text(QStringLiteral(" ")),
                       fieldText(QStringLiteral("CR_DESCRIPTION")), text(QStringLiteral(" ?"))};
    d.inUseMessage = QStringLiteral("Change Request is in use, Deletion not allowed");
    d.duplicateMessage = QStringLiteral("Change Request with this Description already Exists");
    d.newKeyField = QStringLiteral("CR_ID");
    d.parentKeys = {{QStringLiteral("PRJ_ID"), QStringLiteral("IBDSProject"), {}}};
    d.defaults = {{QStringLiteral("DATE_RAISED"), {}, true},
                  {QStringLiteral("PRIORITY"), QStringLiteral("Low"), false},
                  {QStringLiteral("CR_STATUS"), QStringLiteral("Awaiting Review"), false}};
    return d;
}

DatasetDef changeRequestIssueDataSet()
{
    DatasetDef d;
    d.name = QStringLiteral("IBDSChangeRequestIssue");
    d.dataSource = QStringLiteral("DSChangeRequestIssue");
    d.group = Group::Project;
    d.master = QStringLiteral("DSChangeRequest");
    d.sql.select = IssueColumns + QStringLiteral(" where CRI.CR_ID = :CR_ID order by I.ISSUE_NBR");
    d.sql.refresh = IssueColumns + QStringLiteral(" where CRI.CR_ID = :CR_ID and CRI.ISSUE_ID = :ISSUE_ID");
    d.sql.insert = QStringLiteral("insert into CHANGE_REQUEST_ISSUE (CR_ID, ISSUE_ID) values (:CR_ID, :ISSUE_ID)");
    // Found by the key it had when read, so choosing another issue on a
    // stored line changes that line.
    d.sql.modify = QStringLiteral(
        "update CHANGE_REQUEST_ISSUE set CR_ID = :CR_ID, ISSUE_ID = :ISSUE_ID "
        "where CR_ID = :OLD_CR_ID and ISSUE_ID = :OLD_ISSUE_ID");
    d.sql.remove = QStringLiteral("delete from CHANGE_REQUEST_ISSUE where CR_ID = :CR_ID and ISSUE_ID = :ISSUE_ID");
    d.fields = std::vector<FieldDef>{
        hidden(required(integerField(QStringLiteral("CR_ID")))),
        hidden(required(integerField(QStringLiteral("ISSUE_ID")))),
        integerField(QStringLiteral("ISSUE_NBR"), QStringLiteral("Issue No.")),
        stringField(QStringLiteral("ISSUE_DESCRIPTION"), 80, QStringLiteral("Issue Description")),
    } + auditFields({}, {});
    d.confirmDelete = {text(QStringLiteral("Are you sure you want to delete Related Issue No.")),
                       fieldText(QStringLiteral("ISSUE_NBR")), text(QStringLiteral(" ")),
                       fieldText(QStringLiteral("ISSUE_DESCRIPTION")), text(QStringLiteral(" ?"))};
    d.inUseMessage = QStringLiteral("CR Issue is in use, Deletion not allowed");
    d.duplicateMessage = QStringLiteral("Issue already added to this CR");
    d.parentKeys = {{QStringLiteral("CR_ID"), QStringLiteral("IBDSChangeRequest"), {}}};
    d.postBeforeInsert = QStringLiteral("IBDSChangeRequest");
    return d;
}

DatasetDef changeRequestProductDataSet()
{
    DatasetDef d;
    d.name = QStringLiteral("IBDSChangeRequestProduct");
    d.dataSource = QStringLiteral("DSChangeRequestProduct");
    d.group = Group::Project;
    d.master = QStringLiteral("DSChangeRequest");
    d.sql.select = ProductColumns + QStringLiteral(" where CRP.CR_ID = :CR_ID order by P.PRODUCT_DESCRIPTION");
    d.sql.refresh = ProductColumns + QStringLiteral(" where CRP.CR_ID = :CR_ID and CRP.PRODUCT_ID = :PRODUCT_ID");
    d.sql.insert = QStringLiteral(
        "insert into CHANGE_REQUEST_PRODUCT (CR_ID, PRODUCT_ID, PRJ_ID, IMPACT, COMPLETED_BY_ROLE_ID, "
        "COMPLETED_BY_PERSONNEL_ID) values (:CR_ID, :PRODUCT_ID, :PRJ_ID, :IMPACT, :COMPLETED_BY_ROLE_ID, "
        ":COMPLETED_BY_PERSONNEL_ID)");
    d.sql.modify = QStringLiteral(
        "update CHANGE_REQUEST_PRODUCT set CR_ID = :CR_ID, PRODUCT_ID = :PRODUCT_ID, IMPACT = :IMPACT, "
        "COMPLETED_BY_ROLE_ID = :COMPLETED_BY_ROLE_ID, COMPLETED_BY_PERSONNEL_ID = :COMPLETED_BY_PERSONNEL_ID "
        "where CR_ID = :OLD_CR_ID and PRODUCT_ID = :OLD_PRODUCT_ID");
    d.sql.remove = QStringLiteral(
        "delete from CHANGE_REQUEST_PRODUCT where CR_ID = :CR_ID and PRODUCT_ID = :PRODUCT_ID");
    d.fields = std::vector<FieldDef>{
        hidden(required(integerField(QStringLiteral("CR_ID")))),
        hidden(required(integerField(QStringLiteral("PRODUCT_ID"), QStringLiteral("Product")))),
        hidden(integerField(QStringLiteral("PRODUCT_TYPE_ID"), QStringLiteral("Product Type"))),
        hidden(required(integerField(QStringLiteral("PRJ_ID")))),
        width(stringField(QStringLiteral("PRODUCT_TYPE_DESCRIPTION"), 80, QStringLiteral("Product Type")), 23),
        width(stringField(QStringLiteral("PRODUCT_DESCRIPTION"), 80, QStringLiteral("Product")), 96),
        shown(blobField(QStringLiteral("IMPACT"), QStringLiteral("Impact"))),
        hidden(required(integerField(QStringLiteral("COMPLETED_BY_ROLE_ID"), QStringLiteral("Completed by (Role)")))),
        required(stringField(QStringLiteral("ROLE_DESCRIPTION"), 80, QStringLiteral("Completed by (Role)"))),
        hidden(required(integerField(QStringLiteral("COMPLETED_BY_PERSONNEL_ID"), QStringLiteral("Completed by")))),
        required(stringField(QStringLiteral("PERSON_NAME"), 80, QStringLiteral("Completed by"))),
    } + auditFields({}, {});
    d.confirmDelete = {text(QStringLiteral("Are you sure you want to delete Impacted Product")),
                       fieldText(QStringLiteral("PRODUCT_TYPE_DESCRIPTION")), text(QStringLiteral(" ")),
                       fieldText(QStringLiteral("PRODUCT_DESCRIPTION")), text(QStringLiteral(" ?"))};
    d.inUseMessage = QStringLiteral("CR Impacted Product is in use, Deletion not allowed");
    d.duplicateMessage = QStringLiteral("Product already added to this CR");
    d.parentKeys = {{QStringLiteral("PRJ_ID"), QStringLiteral("IBDSProject"), {}},
                    {QStringLiteral("CR_ID"), QStringLiteral("IBDSChangeRequest"), {}}};
    d.postBeforeInsert = QStringLiteral("IBDSChangeRequest");
    return d;
}

DatasetDef changeRequestResourceDataSet()
{
    DatasetDef d;
    d.name = QStringLiteral("IBDSChangeRequestResource");
    d.dataSource = QStringLiteral("DSChangeRequestResource");
    d.group = Group::Project;
    d.master = QStringLiteral("DSChangeRequest");
    d.sql.select = ResourceColumns + QStringLiteral(" where CRR.CR_ID = :CR_ID");
    d.sql.refresh = ResourceColumns + QStringLiteral(" where CRR.CR_ID = :CR_ID and CRR.ROLE_ID = :ROLE_ID");
    d.sql.insert = QStringLiteral(
        "insert into CHANGE_REQUEST_RESOURCE (CR_ID, ROLE_ID, PRJ_ID, RESOURCE_DAYS, COMPLETED_BY_ROLE_ID, "
        "COMPLETED_BY_PERSONNEL_ID) values (:CR_ID, :ROLE_ID, :PRJ_ID, :RESOURCE_DAYS, :COMPLETED_BY_ROLE_ID, "
        ":COMPLETED_BY_PERSONNEL_ID)");
    d.sql.modify = QStringLiteral(
        "update CHANGE_REQUEST_RESOURCE set CR_ID = :CR_ID, ROLE_ID = :ROLE_ID, RESOURCE_DAYS = :RESOURCE_DAYS, "
        "COMPLETED_BY_ROLE_ID = :COMPLETED_BY_ROLE_ID, COMPLETED_BY_PERSONNEL_ID = :COMPLETED_BY_PERSONNEL_ID "
        "where CR_ID = :OLD_CR_ID and ROLE_ID = :OLD_ROLE_ID");
    d.sql.remove = QStringLiteral("delete from CHANGE_REQUEST_RESOURCE where CR_ID = :CR_ID and ROLE_ID = :ROLE_ID");
    const QString money = QStringLiteral("£######0.00");
    // The labels of the two role names are swapped relative to what they
    // hold: ROLE_DESCRIPTION names the required role, ROLE_DESCRIPTION1 the
    // completing one. Grids title these columns by content.
    d.fields = std::vector<FieldDef>{
        hidden(required(integerField(QStringLiteral("CR_ID")))),
        hidden(required(integerField(QStringLiteral("ROLE_ID"), QStringLiteral("Role")))),
        hidden(required(integerField(QStringLiteral("PRJ_ID")))),
        stringField(QStringLiteral("ROLE_DESCRIPTION1"), 80, QStringLiteral("Role")),
        required(integerField(QStringLiteral("RESOURCE_DAYS"), QStringLiteral("Days Work"))),
        format(readOnly(floatField(QStringLiteral("DAILY_RATE"), QStringLiteral("Daily Rate"))), money),
        format(readOnly(calculated(currencyField(QStringLiteral("CalcCost"), QStringLiteral("Cost")))), money),
        hidden(required(integerField(QStringLiteral("COMPLETED_BY_ROLE_ID"), QStringLiteral("Completed by (Role)")))),
        required(stringField(QStringLiteral("ROLE_DESCRIPTION"), 80, QStringLiteral("Completed by (Role)"))),
        hidden(required(integerField(QStringLiteral("COMPLETED_BY_PERSONNEL_ID"), QStringLiteral("Completed by")))),
        required(stringField(QStringLiteral("PERSON_NAME"), 80, QStringLiteral("Completed by"))),
    } + auditFields({}, {});
    d.confirmDelete = {text(QStringLiteral("Are you sure you want to delete Role Requirement")),
                       fieldText(QStringLiteral("ROLE_DESCRIPTION1")), text(QStringLiteral(" ")),
                       text(QStringLiteral(" ?"))};
    d.inUseMessage = QStringLiteral("CR Role Requirement is in use, Deletion not allowed");
    d.duplicateMessage = QStringLiteral("Role already added to this CR");
    d.parentKeys = {{QStringLiteral("PRJ_ID"), QStringLiteral("IBDSProject"), {}},
                    {QStringLiteral("CR_ID"), QStringLiteral("IBDSChangeRequest"), {}}};
    d.postBeforeInsert = QStringLiteral("IBDSChangeRequest");
    d.install = [](TDModBase &module, Dataset &ds) {
        ds.onCalcFields.push_back(IBDSChangeRequestResourceCalcFields);
        ds.afterOpen.push_back([&module](Dataset &d) { IBDSChangeRequestResourceAfterOpen(module, d); });
        ds.afterPost.push_back([&module](Dataset &d) { IBDSChangeRequestResourceAfterPost(module, d); });
        ds.afterDelete.push_back([&module](Dataset &d) { IBDSChangeRequestResourceAfterDelete(module, d); });
    };
    return d;
}

} // namespace corvadel::records
