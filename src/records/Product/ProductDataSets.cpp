#include "records/Product/ProductDataSets.h"

#include "data/DataModule.h"
#include "records/ChangeRequest/ChangeRequestDataSets.h"

namespace corvadel::records {

using namespace corvadel::data;

namespace {

const QString ProductColumns = QStringLiteral(
    "select P.PRODUCT_ID, P.PRODUCT_DESCRIPTION, P.PRODUCT_TYPE_ID, PT.PRODUCT_TYPE_DESCRIPTION, PT.REVIEW_TYPE, "
    "P.PRJ_ID, P.ROLE_ID, R.ROLE_DESCRIPTION, P.OWNER_PERSONNEL_ID, OP.PERSON_NAME, P.LOCATION, "
    "P.CREATE_DATE, P.CREATE_TIME, P.CREATED_BY, P.UPDATE_DATE, P.UPDATE_TIME, P.UPDATED_BY "
    "from PRODUCT P "
    "left outer join PRODUCT_TYPE PT on PT.PRODUCT_TYPE_ID = P.PRODUCT_TYPE_ID "
    "left outer join ROLES R on R.ROLE_ID = P.ROLE_ID "
    "left outer join PERSONNEL OP on OP.PERSONNEL_ID = P.OWNER_PERSONNEL_ID");

} // namespace

DatasetDef productDataSet()
{
    DatasetDef d;
    d.name = QStringLiteral("IBDSProduct");
    d.dataSource = QStringLiteral("DSProduct");
    d.group = Group::Project;
    d.master = QStringLiteral("DSProject");
    // Grouped by type name; no order within a type.
    d.sql.select = ProductColumns + QStringLiteral(" where P.PRJ_ID = :PRJ_ID order by PT.PRODUCT_TYPE_DESCRIPTION");
    d.sql.refresh = ProductColumns + QStringLiteral(" where P.PRODUCT_ID = :PRODUCT_ID");
    d.sql.insert = QStringLiteral(
        "insert into PRODUCT (PRODUCT_ID, PRODUCT_DESCRIPTION, PRODUCT_TYPE_ID, PRJ_ID, ROLE_ID, OWNER_PERSONNEL_ID, "
        "LOCATION) values (:PRODUCT_ID, :PRODUCT_DESCRIPTION, :PRODUCT_TYPE_ID, :PRJ_ID, :ROLE_ID, "
        ":OWNER_PERSONNEL_ID, :LOCATION)");
    d.sql.modify = QStringLiteral(
        "update PRODUCT set PRODUCT_DESCRIPTION = :PRODUCT_DESCRIPTION, PRODUCT_TYPE_ID = :PRODUCT_TYPE_ID, "
        "ROLE_ID = :ROLE_ID, OWNER_PERSONNEL_ID = :OWNER_PERSONNEL_ID, LOCATION = :LOCATION "
        "where PRODUCT_ID = :PRODUCT_ID");
    d.sql.remove = QStringLiteral("delete from PRODUCT where PRODUCT_ID = :PRODUCT_ID");
    const QString dateFormat = QStringLiteral("dd mmm yyyy");
    // The audit fields of this dataset come newest first.
    d.fields = {
        hidden(required(integerField(QStringLiteral("PRODUCT_ID")))),
        width(required(stringField(QStringLiteral("PRODUCT_DESCRIPTION"), 80, QStringLiteral("Product Description"))), 55),
        hidden(required(integerField(QStringLiteral("PRODUCT_TYPE_ID")))),
        width(stringField(QStringLiteral("PRODUCT_TYPE_DESCRIPTION"), 80, QStringLiteral("Product Type")), 31),
        width(stringField(QStringLiteral("REVIEW_TYPE"), 20, QStringLiteral("Review Type")), 14),
        hidden(required(integerField(QStringLiteral("PRJ_ID")))),
        hidden(integerField(QStringLiteral("ROLE_ID"))),
        width(stringField(QStringLiteral("ROLE_DESCRIPTION"), 80, QStringLiteral("Owner Role")), 26),
        hidden(integerField(QStringLiteral("OWNER_PERSONNEL_ID"))),
        width(stringField(QStringLiteral("PERSON_NAME"), 80, QStringLiteral("Owner")), 31),
        width(stringField(QStringLiteral("LOCATION"), 80, QStringLiteral("Location")), 96),
        hidden(stringField(QStringLiteral("UPDATED_BY"), 40, QStringLiteral("by"))),
        hidden(timeField(QStringLiteral("UPDATE_TIME"), QStringLiteral("at"))),
        hidden(dateField(QStringLiteral("UPDATE_DATE"), QStringLiteral("Updated on"), dateFormat)),
        hidden(stringField(QStringLiteral("CREATED_BY"), 40, QStringLiteral("by"))),
        hidden(timeField(QStringLiteral("CREATE_TIME"), QStringLiteral("at"))),
        hidden(dateField(QStringLiteral("CREATE_DATE"), QStringLiteral("Created on "), dateFormat)),
    };
    d.confirmDelete = {text(QStringLiteral("Are you sure you want to delete ")),
                       fieldText(QStringLiteral("PRODUCT_DESCRIPTION")), text(QStringLiteral(" ?"))};
    d.inUseMessage = QStringLiteral("Product is in use, Deletion not allowed");
    d.duplicateMessage = QStringLiteral("Product with this Description already Exists");
    d.newKeyField = QStringLiteral("PRODUCT_ID");
    d.parentKeys = {{QStringLiteral("PRJ_ID"), QStringLiteral("IBDSProject"), {}}};
    return d;
}

DatasetDef productQualityReviewQuery()
{
    DatasetDef d;
    d.name = QStringLiteral("IBQProductQualityReview");
    d.dataSource = QStringLiteral("DSProductQualityReview");
    d.group = Group::Project;
    d.master = QStringLiteral("DSProduct");
    d.sql.select = QStringLiteral(
        "select Q.QR_ID, Q.PRODUCT_ID, Q.PRJ_ID, Q.SCHEDULED_REVIEW_DATE, Q.VERSION_FOR_REVIEW, Q.ACTUAL_REVIEW_DATE, "
        "Q.SIGNED_OFF_VERSION, Q.SIGN_OFF_DATE, Q.QR_STATUS, Q.OWNER_PERSONNEL_ID, P2.PERSON_NAME "
        "from QUALITY_REVIEW Q left outer join PERSONNEL P2 on P2.PERSONNEL_ID = Q.OWNER_PERSONNEL_ID "
        "where Q.PRODUCT_ID = :PRODUCT_ID order by QR_ID desc");
    const QString dateFormat = QStringLiteral("dd mmm yyyy");
    d.fields = {
        required(integerField(QStringLiteral("QR_ID"), QStringLiteral("QR Id"))),
        hidden(required(integerField(QStringLiteral("PRODUCT_ID")))),
        hidden(required(integerField(QStringLiteral("PRJ_ID")))),
        required(dateField(QStringLiteral("SCHEDULED_REVIEW_DATE"), QStringLiteral("Scheduled Review"), dateFormat)),
        stringField(QStringLiteral("VERSION_FOR_REVIEW"), 20, QStringLiteral("Version for Review")),
        dateField(QStringLiteral("ACTUAL_REVIEW_DATE"), QStringLiteral("Actual Review"), dateFormat),
        stringField(QStringLiteral("SIGNED_OFF_VERSION"), 20, QStringLiteral("Signed Off Version")),
        dateField(QStringLiteral("SIGN_OFF_DATE"), QStringLiteral("Sign Off Date"), dateFormat),
        stringField(QStringLiteral("QR_STATUS"), 20, QStringLiteral("Status")),
        hidden(integerField(QStringLiteral("OWNER_PERSONNEL_ID"))),
        stringField(QStringLiteral("PERSON_NAME"), 80, QStringLiteral("Owner")),
    };
    return d;
}

DatasetDef productChangeRequestQuery()
{
    DatasetDef d;
    d.name = QStringLiteral("IBQProductChangeRequest");
    d.dataSource = QStringLiteral("DSProductChangeRequest");
    d.group = Group::Project;
    d.master = QStringLiteral("DSProduct");
    d.sql.select = QStringLiteral(
        "select CRP.CR_ID, C.CR_DESCRIPTION, C.DATE_RAISED, C.PRIORITY, C.CR_STATUS, C.OWNER_ROLE_ID, "
        "R2.ROLE_DESCRIPTION, C.OWNER_PERSONNEL_ID, P2.PERSON_NAME "
        "from CHANGE_REQUEST_PRODUCT CRP "
        "left outer join CHANGE_REQUEST C on C.CR_ID = CRP.CR_ID "
        "left outer join ROLES R2 on R2.ROLE_ID = C.OWNER_ROLE_ID "
        "left outer join PERSONNEL P2 on P2.PERSONNEL_ID = C.OWNER_PERSONNEL_ID "
        "where CRP.PRODUCT_ID = :PRODUCT_ID order by CRP.CR_ID desc");
    d.fields = changeRequestListFields();
    return d;
}

} // namespace corvadel::records
