#include "records/Project/ProjectDataSets.h"

#include "data/DataModule.h"
#include "records/AuditFields.h"

namespace corvadel::records {

using namespace corvadel::data;

namespace {

const QString Columns = QStringLiteral(
    "PRJ_ID, PRJ_REF, PRJ_NAME, START_DATE, END_DATE, PRJ_STATUS, PRJ_CAP_BUDGET, PRJ_REV_BUDGET, "
    "PRJ_CAP_SPEND_TO_DATE, PRJ_REV_SPEND_TO_DATE, CREATE_DATE, CREATE_TIME, CREATED_BY, "
    "UPDATE_DATE, UPDATE_TIME, UPDATED_BY");

// Remaining spend: budget less spend to date, an empty figure counting as 0;
// negative when overspent.
void IBDSProjectCalcFields(Dataset &ds)
{
    ds.fieldByName(QStringLiteral("CapRemainingSpend"))
        ->setValue(ds.fieldByName(QStringLiteral("PRJ_CAP_BUDGET"))->asFloat()
                   - ds.fieldByName(QStringLiteral("PRJ_CAP_SPEND_TO_DATE"))->asFloat());
    ds.fieldByName(QStringLiteral("RevRemainingSpend"))
        ->setValue(ds.fieldByName(QStringLiteral("PRJ_REV_BUDGET"))->asFloat()
                   - ds.fieldByName(QStringLiteral("PRJ_REV_SPEND_TO_DATE"))->asFloat());
}

} // namespace

DatasetDef projectDataSet()
{
    DatasetDef d;
    d.name = QStringLiteral("IBDSProject");
    d.dataSource = QStringLiteral("DSProject");
    d.group = Group::Project;
    d.sql.select = QStringLiteral("select ") + Columns + QStringLiteral(" from PROJECT");
    d.sql.refresh = QStringLiteral("select ") + Columns + QStringLiteral(" from PROJECT where PRJ_ID = :PRJ_ID");
    d.sql.insert = QStringLiteral(
        "insert into PROJECT (PRJ_ID, PRJ_REF, PRJ_NAME, START_DATE, END_DATE, PRJ_STATUS, PRJ_CAP_BUDGET, "
        "PRJ_REV_BUDGET, PRJ_CAP_SPEND_TO_DATE, PRJ_REV_SPEND_TO_DATE) values (:PRJ_ID, :PRJ_REF, :PRJ_NAME, "
        ":START_DATE, :END_DATE, :PRJ_STATUS, :PRJ_CAP_BUDGET, :PRJ_REV_BUDGET, :PRJ_CAP_SPEND_TO_DATE, "
        ":PRJ_REV_SPEND_TO_DATE)");
    d.sql.modify = QStringLiteral(
        "update PROJECT set PRJ_REF = :PRJ_REF, PRJ_NAME = :PRJ_NAME, START_DATE = :START_DATE, "
        "END_DATE = :END_DATE, PRJ_STATUS = :PRJ_STATUS, PRJ_CAP_BUDGET = :PRJ_CAP_BUDGET, "
        "PRJ_REV_BUDGET = :PRJ_REV_BUDGET, PRJ_CAP_SPEND_TO_DATE = :PRJ_CAP_SPEND_TO_DATE, "
        "PRJ_REV_SPEND_TO_DATE = :PRJ_REV_SPEND_TO_DATE where PRJ_ID = :PRJ_ID");
    d.sql.remove = QStringLiteral("delete from PROJECT where PRJ_ID = :PRJ_ID");

    d.fields = std::vector<FieldDef>{
        width(required(integerField(QStringLiteral("PRJ_ID"), QStringLiteral("Project Id"))), 15),
        width(required(stringField(QStringLiteral("PRJ_NAME"), 80, QStringLiteral("Project Name"))), 63),
        width(required(dateField(QStringLiteral("START_DATE"), QStringLiteral("Start Date"), QStringLiteral("dd mmm yyyy"))), 22),
        width(dateField(QStringLiteral("END_DATE"), QStringLiteral("End Date"), QStringLiteral("dd mmmm yyyy")), 21),
        width(required(stringField(QStringLiteral("PRJ_STATUS"), 20, QStringLiteral("Status"))), 29),
        width(stringField(QStringLiteral("PRJ_REF"), 40, QStringLiteral("Project Reference")), 29),
        hidden(currencyField(QStringLiteral("PRJ_CAP_BUDGET"), QStringLiteral("Capital Budget"))),
        hidden(currencyField(QStringLiteral("PRJ_REV_BUDGET"), QStringLiteral("Revenue Budget"))),
        hidden(currencyField(QStringLiteral("PRJ_CAP_SPEND_TO_DATE"), QStringLiteral("Capital Spend to Date"))),
        hidden(currencyField(QStringLiteral("PRJ_REV_SPEND_TO_DATE"), QStringLiteral("Revenue Spend to Date"))),
        hidden(calculated(currencyField(QStringLiteral("CapRemainingSpend"), QStringLiteral("Capital Remaining Spend")))),
        hidden(calculated(currencyField(QStringLiteral("RevRemainingSpend"), QStringLiteral("Revenue Remaining Spend")))),
    } + auditFields(QStringLiteral("Created on "), QStringLiteral("dd mmm yyyy"));

    d.confirmDelete = {text(QStringLiteral("Are you sure you want to delete ")), fieldText(QStringLiteral("PRJ_ID")),
                       text(QStringLiteral(" ?"))};
    d.inUseMessage = QStringLiteral("Project is in use, Deletion not allowed");
    d.duplicateMessage = QStringLiteral("Project with this name already Exists");
    d.newKeyField = QStringLiteral("PRJ_ID");
    d.defaults = {{QStringLiteral("START_DATE"), {}, true},
                  {QStringLiteral("PRJ_STATUS"), QStringLiteral("Not Started"), false}};
    d.install = [](TDModBase &, Dataset &ds) { ds.onCalcFields.push_back(IBDSProjectCalcFields); };
    return d;
}

} // namespace corvadel::records
