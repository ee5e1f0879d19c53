#include "records/Role/RoleDataSets.h"

#include "data/DataModule.h"

namespace corvadel::records {

using namespace corvadel::data;

namespace {

const QString Columns = QStringLiteral("ROLE_ID, ROLE_DESCRIPTION, QA_ROLE, MGT_ROLE, BUS_ROLE, IT_ROLE from ROLES");

// The project-role window's drop-down lists every role: the whole list is
// read at once and the first role is current again.
void IBDSRoleAfterOpen(Dataset &ds)
{
    ds.fetchAll();
    ds.first();
}

} // namespace

DatasetDef roleDataSet()
{
    DatasetDef d;
    d.name = QStringLiteral("IBDSRole");
    d.dataSource = QStringLiteral("DSRole");
    d.group = Group::RefData;
    d.sql.select = QStringLiteral("select ") + Columns + QStringLiteral(" order by ROLE_DESCRIPTION");
    d.sql.refresh = QStringLiteral("select ") + Columns + QStringLiteral(" where ROLE_ID = :ROLE_ID");
    d.sql.insert = QStringLiteral(
        "insert into ROLES (ROLE_ID, ROLE_DESCRIPTION, QA_ROLE, MGT_ROLE, BUS_ROLE, IT_ROLE) "
        "values (:ROLE_ID, :ROLE_DESCRIPTION, :QA_ROLE, :MGT_ROLE, :BUS_ROLE, :IT_ROLE)");
    d.sql.modify = QStringLiteral(
        "update ROLES set ROLE_DESCRIPTION = :ROLE_DESCRIPTION, QA_ROLE = :QA_ROLE, MGT_ROLE = :MGT_ROLE, "
        "BUS_ROLE = :BUS_ROLE, IT_ROLE = :IT_ROLE where ROLE_ID = :ROLE_ID");
    d.sql.remove = QStringLiteral("delete from ROLES where ROLE_ID = :ROLE_ID");
    d.fields = {
        hidden(required(integerField(QStringLiteral("ROLE_ID")))),
        width(required(stringField(QStringLiteral("ROLE_DESCRIPTION"), 80, QStringLiteral("Role"))), 40),
        width(centred(stringField(QStringLiteral("QA_ROLE"), 3, QStringLiteral("QA Role"))), 3),
        width(centred(stringField(QStringLiteral("MGT_ROLE"), 3, QStringLiteral("Management Role"))), 3),
        width(centred(stringField(QStringLiteral("BUS_ROLE"), 3, QStringLiteral("Business Role"))), 3),
        width(centred(stringField(QStringLiteral("IT_ROLE"), 3, QStringLiteral("IT Role"))), 3),
    };
    d.confirmDelete = {text(QStringLiteral("Are you sure you want to delete ")),
                       fieldText(QStringLiteral("ROLE_DESCRIPTION")), text(QStringLiteral(" ?"))};
    d.inUseMessage = QStringLiteral("Role is in use, Deletion not allowed");
    d.duplicateMessage = QStringLiteral("Role already Exists");
    d.newKeyField = QStringLiteral("ROLE_ID");
    // Unlike skills and product types, a posted role stays pending until the
    // group is saved.
    d.install = [](TDModBase &, Dataset &ds) { ds.afterOpen.push_back(IBDSRoleAfterOpen); };
    return d;
}

} // namespace corvadel::records
