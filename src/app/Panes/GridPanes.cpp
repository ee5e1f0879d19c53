// The list panes that are one read-only grid each.
#include "app/Panes/ListPanes.h"

#include "controls/DataGrid.h"

namespace corvadel::app {

FrameProjectList::FrameProjectList(data::TDModBase &module, QWidget *parent)
    : ListPane("FrameProjectList", QStringLiteral("Projects"), QStringLiteral("FrmProject"), parent)
{
    m_grid = addGrid(module, "DSProject", "DBGridProjects",
                     {column("PRJ_NAME"), column("START_DATE"), column("END_DATE"), column("PRJ_STATUS"),
                      column("PRJ_REF"), filler()});
}

FrameProducts::FrameProducts(data::TDModBase &module, QWidget *parent)
    : ListPane("FrameProducts", QStringLiteral("Products"), QStringLiteral("FrmProduct"), parent)
{
    addGrid(module, "DSProduct", "DBGridProducts",
            {column("PRODUCT_DESCRIPTION"), column("PRODUCT_TYPE_DESCRIPTION"), column("REVIEW_TYPE"),
             column("PERSON_NAME"), column("LOCATION"), filler()});
}

FrameIssueList::FrameIssueList(data::TDModBase &module, QWidget *parent)
    : ListPane("FrameIssueList", QStringLiteral("Issues"), QStringLiteral("FrmIssue"), parent)
{
    addGrid(module, "DSIssue", "DBGridIssues",
            {column("ISSUE_NBR"), column("ISSUE_STATUS"), column("ISSUE_TYPE"), column("ISSUE_DESCRIPTION"),
             column("DATE_RAISED"), column("PERSON_NAME1"), filler()});
}

FrameRiskList::FrameRiskList(data::TDModBase &module, QWidget *parent)
    : ListPane("FrameRiskList", QStringLiteral("Risks"), QStringLiteral("FrmRisk"), parent)
{
    addGrid(module, "DSRisk", "DBGridRisks",
            {column("RISK_NBR"), column("RISK_STATUS"), column("RISK_DESCRIPTION"), column("DATE_RAISED"),
             column("PERSON_NAME1"), filler()});
}

FrameChangeRequests::FrameChangeRequests(data::TDModBase &module, QWidget *parent)
    : ListPane("FrameChangeRequests", QStringLiteral("Change Requests"), QStringLiteral("FrmChangeRequest"), parent)
{
    addGrid(module, "DSChangeRequest", "DBGridChangeRequests",
            {column("CR_ID"), column("CR_DESCRIPTION"), column("DATE_RAISED"), column("PRIORITY"),
             column("CR_STATUS"), column("PERSON_NAME1")});
}

FrameQualityReviews::FrameQualityReviews(data::TDModBase &module, QWidget *parent)
    : ListPane("FrameQualityReviews", QStringLiteral("Quality Reviews"), QStringLiteral("FrmQualityReview"), parent)
{
    addGrid(module, "DSQualityReview", "DBGridQualityReviews",
            {column("QR_ID", "QR No."), column("PRODUCT_DESCRIPTION"), column("SCHEDULED_REVIEW_DATE"),
             column("PERSON_NAME"), column("VERSION_FOR_REVIEW"), column("SIGNED_OFF_VERSION"),
             column("SIGN_OFF_DATE"), column("QR_STATUS"), column("PERSON_NAME1")});
}

FramePersonnel::FramePersonnel(data::TDModBase &module, QWidget *parent)
    : ListPane("FramePersonnel", QStringLiteral("Personnel"), QStringLiteral("FrmPersonnel"), parent)
{
    addGrid(module, "DSPersonnel", "DBGridPersonnel",
            {column("PERSON_NAME"), column("APPOINTMENT"), column("DEPARTMENT"), column("TEL_NBR"),
             column("MOBILE_NBR"), column("FAX_NBR"), column("PAGER_NBR"), column("EMAIL_ADDR"), filler()});
}

} // namespace corvadel::app
