#include "records/DataSets.h"

#include "data/DataModule.h"
#include "records/ChangeRequest/ChangeRequestDataSets.h"
#include "records/Issue/IssueDataSets.h"
#include "records/Personnel/PersonnelDataSets.h"
#include "records/Product/ProductDataSets.h"
#include "records/ProductType/ProductTypeDataSets.h"
#include "records/Project/ProjectDataSets.h"
#include "records/ProjectRole/ProjectRoleDataSets.h"
#include "records/QualityReview/QualityReviewDataSets.h"
#include "records/Risk/RiskDataSets.h"
#include "records/Role/RoleDataSets.h"
#include "records/Skill/SkillDataSets.h"
#include "records/SystemUser/SystemUserDataSets.h"

namespace corvadel::records {

void addAllDataSets(data::TDModBase &module)
{
    // The order OpenAllDataSets opens them in, which already puts every
    // master before its details.
    module.addDataSet(skillDataSet());
    module.addDataSet(roleDataSet());
    module.addDataSet(productTypeDataSet());
    module.addDataSet(systemUserDataSet());
    module.addDataSet(personnelDataSet());
    module.addDataSet(personSkillDataSet());
    module.addDataSet(projectDataSet());
    module.addDataSet(projectRoleDataSet());
    module.addDataSet(projectRolePersonDataSet());
    module.addDataSet(productDataSet());
    module.addDataSet(issueDataSet());
    module.addDataSet(riskDataSet());
    module.addDataSet(changeRequestDataSet());
    module.addDataSet(changeRequestIssueDataSet());
    module.addDataSet(changeRequestProductDataSet());
    module.addDataSet(changeRequestResourceDataSet());
    module.addDataSet(qualityReviewDataSet());
    module.addDataSet(qualityReviewInvolvementDataSet());
    module.addDataSet(productChangeRequestQuery());
    module.addDataSet(productQualityReviewQuery());
    module.addDataSet(issueChangeRequestQuery());
    module.addDataSet(lookupProjectRoleQuery(1));
    module.addDataSet(lookupProjectRolePersonQuery(1));
    module.addDataSet(lookupProjectRoleQuery(2));
    module.addDataSet(lookupProjectRolePersonQuery(2));
}

} // namespace corvadel::records
