#include "records/QualityReview/QualityReviewDataSets.h"

#include "data/DataModule.h"
#include "data/DataSource.h"
#include "data/Errors.h"
#include "records/AuditFields.h"

namespace corvadel::records {

using namespace corvadel::data;

namespace {

const QString ReviewColumns = QStringLiteral(
    "select Q.QR_ID, Q.PRJ_ID, Q.PRODUCT_ID, PR.PRODUCT_DESCRIPTION, Q.SCHEDULED_REVIEW_DATE, "
    "Q.FACILITATED_BY_ROLE_ID, R1.ROLE_DESCRIPTION, Q.FACILITATED_BY_PERSONNEL_ID, P1.PERSON_NAME, "
    "Q.VERSION_FOR_REVIEW, Q.ACTUAL_REVIEW_DATE, Q.SIGNED_OFF_VERSION, Q.SIGN_OFF_DATE, Q.MEETING_LOCATION, "
    "Q.INVITATIONS_SENT_DATE, Q.QR_STATUS, Q.OWNER_ROLE_ID, R2.ROLE_DESCRIPTION, Q.OWNER_PERSONNEL_ID, "
    "P2.PERSON_NAME, Q.NOTES, Q.CREATE_DATE, Q.CREATE_TIME, Q.CREATED_BY, Q.UPDATE_DATE, Q.UPDATE_TIME, "
    "Q.UPDATED_BY "
    "from QUALITY_REVIEW Q "
    "left outer join PRODUCT PR on PR.PRODUCT_ID = Q.PRODUCT_ID "
    "left outer join ROLES R1 on R1.ROLE_ID = Q.FACILITATED_BY_ROLE_ID "
    "left outer join PERSONNEL P1 on P1.PERSONNEL_ID = Q.FACILITATED_BY_PERSONNEL_ID "
    "left outer join ROLES R2 on R2.ROLE_ID = Q.OWNER_ROLE_ID "
    "left outer join PERSONNEL P2 on P2.PERSONNEL_ID = Q.OWNER_PERSONNEL_ID");

const QString ReviewerColumns = QStringLiteral(
    "select Q.QR_ID, Q.PRJ_ID, Q.INVOLVEMENT_ROLE_ID, R.ROLE_DESCRIPTION, Q.INVOLVEMENT_PERSONNEL_ID, "
    "P.PERSON_NAME, P.EMAIL_ADDR, Q.ACCEPTED_INVITATION_DATE, Q.REVIEW_COMMENTS_RECEIVED_DATE, "
    "Q.ATTENDED_REVIEW, Q.NOTES, Q.CREATE_DATE, Q.CREATE_TIME, Q.CREATED_BY, Q.UPDATE_DATE, Q.UPDATE_TIME, "
    "Q.UPDATED_BY "
    "from QUALITY_REVIEW_INVOLVEMENT Q "
    "left outer join ROLES R on R.ROLE_ID = Q.INVOLVEMENT_ROLE_ID "
    "left outer join PERSONNEL P on P.PERSONNEL_ID = Q.INVOLVEMENT_PERSONNEL_ID");

// A name shown through another dataset: the result column of that dataset's
// first row whose key equals this row's key, empty when it holds none.
FieldDef lookupName(const QString &name, const QString &label, const QString &lookupDataSet,
                    const QString &keyField, const QString &lookupKeyField, const QString &resultField)
{
    FieldDef f = stringField(name, 80, label);
    f.kind = FieldKind::Lookup;
    f.lookupDataSet = lookupDataSet;
    f.keyFields = {keyField};
    f.lookupKeyFields = {lookupKeyField};
    f.lookupResultField = resultField;
    return f;
}

// A reviewer whose attendance has been recorded either way stays on the
// review: the refusal comes before the delete confirmation.
void IBDSQualityReviewInvolvementBeforeDelete(TDModBase &module, Dataset &ds)
{
    if (ds.fieldByName(QStringLiteral("ATTENDED_REVIEW"))->asString().isEmpty())
        return;
    module.prompt().warning(QStringLiteral("Reviewer attended review, deletion not allowed"));
    throw Abort();
}

// Keeps the pair-2 role list on the current reviewer's role, so that its
// person list offers the people of that role; when the list does not hold
// the role it stays where it was.
void DSQualityReviewInvolvementDataChange(TDModBase &module, Dataset &reviewers)
{
    Dataset *roles = module.dataSet(QStringLiteral("IBQLkupProjectRole2"));
    if (!roles || !roles->isOpen() || !reviewers.isOpen())
        return;
    const QVariant role = reviewers.fieldByName(QStringLiteral("INVOLVEMENT_ROLE_ID"))->value();
    if (role.isNull() || !role.isValid())
        return;
    roles->locate(QStringLiteral("ROLE_ID"), role);
}

} // namespace

DatasetDef qualityReviewDataSet()
{
    DatasetDef d;
    d.name = QStringLiteral("IBDSQualityReview");
    d.dataSource = QStringLiteral("DSQualityReview");
    d.group = Group::Project;
    d.master = QStringLiteral("DSProject");
    d.sql.select = ReviewColumns + QStringLiteral(" where Q.PRJ_ID = :PRJ_ID order by QR_ID desc");
    d.sql.refresh = ReviewColumns + QStringLiteral(" where QR_ID = :QR_ID");
    d.sql.insert = QStringLiteral(
        "insert into QUALITY_REVIEW (QR_ID, PRJ_ID, PRODUCT_ID, SCHEDULED_REVIEW_DATE, FACILITATED_BY_ROLE_ID, "
        "FACILITATED_BY_PERSONNEL_ID, VERSION_FOR_REVIEW, ACTUAL_REVIEW_DATE, SIGNED_OFF_VERSION, SIGN_OFF_DATE, "
        "MEETING_LOCATION, INVITATIONS_SENT_DATE, QR_STATUS, OWNER_ROLE_ID, OWNER_PERSONNEL_ID, NOTES) values "
        "(:QR_ID, :PRJ_ID, :PRODUCT_ID, :SCHEDULED_REVIEW_DATE, :FACILITATED_BY_ROLE_ID, "
        ":FACILITATED_BY_PERSONNEL_ID, :VERSION_FOR_REVIEW, :ACTUAL_REVIEW_DATE, :SIGNED_OFF_VERSION, "
        ":SIGN_OFF_DATE, :MEETING_LOCATION, :INVITATIONS_SENT_DATE, :QR_STATUS, :OWNER_ROLE_ID, "
        ":OWNER_PERSONNEL_ID, :NOTES)");
    d.sql.modify = QStringLiteral(
        "update QUALITY_REVIEW set PRODUCT_ID = :PRODUCT_ID, SCHEDULED_REVIEW_DATE = :SCHEDULED_REVIEW_DATE, "
        "FACILITATED_BY_ROLE_ID = :FACILITATED_BY_ROLE_ID, FACILITATED_BY_PERSONNEL_ID = :FACILITATED_BY_PERSONNEL_ID, "
        "VERSION_FOR_REVIEW = :VERSION_FOR_REVIEW, ACTUAL_REVIEW_DATE = :ACTUAL_REVIEW_DATE, "
        "SIGNED_OFF_VERSION = :SIGNED_OFF_VERSION, SIGN_OFF_DATE = :SIGN_OFF_DATE, "
        "MEETING_LOCATION = :MEETING_LOCATION, INVITATIONS_SENT_DATE = :INVITATIONS_SENT_DATE, "
        "QR_STATUS = :QR_STATUS, OWNER_ROLE_ID = :OWNER_ROLE_ID, OWNER_PERSONNEL_ID = :OWNER_PERSONNEL_ID, "
        "NOTES = :NOTES where QR_ID = :QR_ID");
    d.sql.remove = QStringLiteral("delete from QUALITY_REVIEW where QR_ID = :QR_ID");
    const QString dateFormat = QStringLiteral("dd mmm yyyy");
    // The select's joined names go unused: the five name fields look their
    // names up in the lists the window offers, so a facilitator or owner shows
    // only while the pick list holds that person.
    d.fields = std::vector<FieldDef>{
        required(integerField(QStringLiteral("QR_ID"), QStringLiteral("QR Identifier"))),
        hidden(required(integerField(QStringLiteral("PRJ_ID")))),
        hidden(required(integerField(QStringLiteral("PRODUCT_ID"), QStringLiteral("Product")))),
        lookupName(QStringLiteral("PRODUCT_DESCRIPTION"), QStringLiteral("Product"), QStringLiteral("IBDSProduct"),
                   QStringLiteral("PRODUCT_ID"), QStringLiteral("PRODUCT_ID"), QStringLiteral("PRODUCT_DESCRIPTION")),
        required(dateField(QStringLiteral("SCHEDULED_REVIEW_DATE"), QStringLiteral("Scheduled Review Date"), dateFormat)),
        hidden(integerField(QStringLiteral("FACILITATED_BY_ROLE_ID"), QStringLiteral("Facilitated by (Role)"))),
        hidden(lookupName(QStringLiteral("ROLE_DESCRIPTION"), QStringLiteral("Facilitated by (Role)"),
                          QStringLiteral("IBQLkupProjectRole1"), QStringLiteral("FACILITATED_BY_ROLE_ID"),
                          QStringLiteral("ROLE_ID"), QStringLiteral("ROLE_DESCRIPTION"))),
        hidden(integerField(QStringLiteral("FACILITATED_BY_PERSONNEL_ID"), QStringLiteral("Facilitator"))),
        lookupName(QStringLiteral("PERSON_NAME"), QStringLiteral("Facilitator"), QStringLiteral("IBQLkupProjectRolePerson1"),
                   QStringLiteral("FACILITATED_BY_PERSONNEL_ID"), QStringLiteral("PERSONNEL_ID"), QStringLiteral("PERSON_NAME")),
        hidden(stringField(QStringLiteral("VERSION_FOR_REVIEW"), 20, QStringLiteral("Version for Review"))),
        hidden(dateField(QStringLiteral("ACTUAL_REVIEW_DATE"), QStringLiteral("Actual Review Date"), dateFormat)),
        hidden(stringField(QStringLiteral("SIGNED_OFF_VERSION"), 20, QStringLiteral("Signed Off Version No."))),
        dateField(QStringLiteral("SIGN_OFF_DATE"), QStringLiteral("Sign Off Date"), dateFormat),
        hidden(stringField(QStringLiteral("MEETING_LOCATION"), 80, QStringLiteral("Meeting Location"))),
        hidden(dateField(QStringLiteral("INVITATIONS_SENT_DATE"), QStringLiteral("Invitations Sent"), dateFormat)),
        stringField(QStringLiteral("QR_STATUS"), 20, QStringLiteral("Status")),
        blobField(QStringLiteral("NOTES"), QStringLiteral("Notes")),
        hidden(integerField(QStringLiteral("OWNER_ROLE_ID"), QStringLiteral("Owner Role"))),
        hidden(lookupName(QStringLiteral("ROLE_DESCRIPTION1"), {}, QStringLiteral("IBQLkupProjectRole2"),
                          QStringLiteral("OWNER_ROLE_ID"), QStringLiteral("ROLE_ID"), QStringLiteral("ROLE_DESCRIPTION"))),
        hidden(integerField(QStringLiteral("OWNER_PERSONNEL_ID"), QStringLiteral("Owner"))),
        lookupName(QStringLiteral("PERSON_NAME1"), QStringLiteral("Owner"), QStringLiteral("IBQLkupProjectRolePerson2"),
                   QStringLiteral("OWNER_PERSONNEL_ID"), QStringLiteral("PERSONNEL_ID"), QStringLiteral("PERSON_NAME")),
    } + auditFields({}, dateFormat);
    d.confirmDelete = {text(QStringLiteral("Are you sure you want to delete Quality Review No.")),
                       fieldText(QStringLiteral("QR_ID")), text(QStringLiteral(" ?"))};
    d.inUseMessage = QStringLiteral("Quality Review is in use, Deletion not allowed");
    d.duplicateMessage = QStringLiteral("Quality Review already Exists");
    // Nothing else is preset.
    d.newKeyField = QStringLiteral("QR_ID");
    d.parentKeys = {{QStringLiteral("PRJ_ID"), QStringLiteral("IBDSProject"), {}}};
    return d;
}

DatasetDef qualityReviewInvolvementDataSet()
{
    DatasetDef d;
    d.name = QStringLiteral("IBDSQualityReviewInvolvement");
    d.dataSource = QStringLiteral("DSQualityReviewInvolvement");
    d.group = Group::Project;
    d.master = QStringLiteral("DSQualityReview");
    d.sql.select = ReviewerColumns + QStringLiteral(" where Q.QR_ID = :QR_ID");
    d.sql.refresh = ReviewerColumns + QStringLiteral(
        " where Q.QR_ID = :QR_ID and Q.INVOLVEMENT_ROLE_ID = :INVOLVEMENT_ROLE_ID"
        " and Q.INVOLVEMENT_PERSONNEL_ID = :INVOLVEMENT_PERSONNEL_ID");
    d.sql.insert = QStringLiteral(
        "insert into QUALITY_REVIEW_INVOLVEMENT (QR_ID, PRJ_ID, INVOLVEMENT_ROLE_ID, INVOLVEMENT_PERSONNEL_ID, "
        "ACCEPTED_INVITATION_DATE, REVIEW_COMMENTS_RECEIVED_DATE, ATTENDED_REVIEW, NOTES) values (:QR_ID, :PRJ_ID, "
        ":INVOLVEMENT_ROLE_ID, :INVOLVEMENT_PERSONNEL_ID, :ACCEPTED_INVITATION_DATE, "
        ":REVIEW_COMMENTS_RECEIVED_DATE, :ATTENDED_REVIEW, :NOTES)");
    // A reviewer's role and person can change in place: the row is found by
    // the values it had when it was read.
    d.sql.modify = QStringLiteral(
        "update QUALITY_REVIEW_INVOLVEMENT set INVOLVEMENT_ROLE_ID = :INVOLVEMENT_ROLE_ID, "
        "INVOLVEMENT_PERSONNEL_ID = :INVOLVEMENT_PERSONNEL_ID, ACCEPTED_INVITATION_DATE = :ACCEPTED_INVITATION_DATE, "
        "REVIEW_COMMENTS_RECEIVED_DATE = :REVIEW_COMMENTS_RECEIVED_DATE, ATTENDED_REVIEW = :ATTENDED_REVIEW, "
        "NOTES = :NOTES where QR_ID = :QR_ID and PRJ_ID = :PRJ_ID "
        "and INVOLVEMENT_ROLE_ID = :OLD_INVOLVEMENT_ROLE_ID and INVOLVEMENT_PERSONNEL_ID = :OLD_INVOLVEMENT_PERSONNEL_ID");
    d.sql.remove = QStringLiteral(
        "delete from QUALITY_REVIEW_INVOLVEMENT where QR_ID = :OLD_QR_ID and PRJ_ID = :OLD_PRJ_ID "
        "and INVOLVEMENT_ROLE_ID = :OLD_INVOLVEMENT_ROLE_ID and INVOLVEMENT_PERSONNEL_ID = :OLD_INVOLVEMENT_PERSONNEL_ID");
    const QString dateFormat = QStringLiteral("dd mmm yyyy");
    d.fields = std::vector<FieldDef>{
        hidden(required(integerField(QStringLiteral("QR_ID"), QStringLiteral("QR Identifier")))),
        hidden(required(integerField(QStringLiteral("PRJ_ID")))),
        hidden(required(integerField(QStringLiteral("INVOLVEMENT_ROLE_ID"), QStringLiteral("Role")))),
        stringField(QStringLiteral("ROLE_DESCRIPTION"), 80, QStringLiteral("Role")),
        hidden(required(integerField(QStringLiteral("INVOLVEMENT_PERSONNEL_ID"), QStringLiteral("Reviewer")))),
        stringField(QStringLiteral("PERSON_NAME"), 80, QStringLiteral("Reviewer")),
        dateField(QStringLiteral("ACCEPTED_INVITATION_DATE"), QStringLiteral("Invite Accepted on"), dateFormat),
        dateField(QStringLiteral("REVIEW_COMMENTS_RECEIVED_DATE"), QStringLiteral("Review Comments Received"), dateFormat),
        hidden(stringField(QStringLiteral("ATTENDED_REVIEW"), 3, QStringLiteral("Attended Review"))),
        blobField(QStringLiteral("NOTES"), QStringLiteral("Notes")),
        hidden(stringField(QStringLiteral("EMAIL_ADDR"), 40)),
    } + auditFields({}, dateFormat);
    d.confirmDelete = {text(QStringLiteral("Are you sure you want to delete Reviewer")),
                       fieldText(QStringLiteral("PERSON_NAME")), text(QStringLiteral(" ?"))};
    d.inUseMessage = QStringLiteral("Deletion not allowed");
    d.duplicateMessage = QStringLiteral("Person already exists as a Reviewer on this review");
    d.parentKeys = {{QStringLiteral("PRJ_ID"), QStringLiteral("IBDSProject"), {}},
                    {QStringLiteral("QR_ID"), QStringLiteral("IBDSQualityReview"), {}}};
    d.postBeforeInsert = QStringLiteral("IBDSQualityReview");
    d.install = [name = d.dataSource](TDModBase &module, Dataset &ds) {
        ds.beforeDelete.push_back([&module](Dataset &d) { IBDSQualityReviewInvolvementBeforeDelete(module, d); });
        DataSource *source = module.dataSource(name);
        auto dataChange = [&module, &ds] { DSQualityReviewInvolvementDataChange(module, ds); };
        QObject::connect(source, &DataSource::currentRowChanged, &ds, dataChange);
        QObject::connect(source, &DataSource::fieldChanged, &ds, dataChange);
    };
    return d;
}

} // namespace corvadel::records
