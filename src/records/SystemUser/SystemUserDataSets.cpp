#include "records/SystemUser/SystemUserDataSets.h"

#include "data/DataModule.h"

namespace corvadel::records {

using namespace corvadel::data;

namespace {

const QString Columns = QStringLiteral(
    "USER_ID, USER_NAME, FORENAME_FIRST, FORENAME_SECOND, SURNAME, NBR_LOGINS, LAST_LOGIN_DATE, SYSTEMS_MANAGER, "
    "CREATED_BY, CREATE_DATE, CREATE_TIME, UPDATED_BY, UPDATE_DATE, UPDATE_TIME from SYSTEM_USER");

// The text the user windows' password boxes start with: it stands for "no
// new password" and is never sent as one.
const QString UnchangedPassword = QStringLiteral("Password");

QString textOf(Dataset &ds, const char *field)
{
    return ds.fieldByName(QLatin1String(field))->asString();
}

void IBDSSystemUserNewRecord(TDModBase &module, Dataset &)
{
    module.newUser = true;
}

// Writes the posted row to the server account of its name: added for a new
// user, otherwise displayed (which fails when there is no such account, as
// after a rename) and modified. An error reaches whoever posted the row,
// which stays posted; the new-user flag then stays as it was, so the next
// post tries again.
void IBDSSystemUserAfterPost(TDModBase &module, Dataset &ds)
{
    fb::SecurityService service = accountService(module);
    const QString userName = textOf(ds, "USER_NAME");
    if (!module.newUser)
        service.displayUser(userName);

    fb::UserAccount account;
    account.userName = userName;
    account.firstName = textOf(ds, "FORENAME_FIRST");
    account.middleName = textOf(ds, "FORENAME_SECOND");
    account.lastName = textOf(ds, "SURNAME");
    account.userId = ds.fieldByName(QStringLiteral("USER_ID"))->asInteger();
    account.groupId = 0;
    module.serviceUserName = userName;
    // An empty password is set but, being empty, not sent.
    if (module.newPassword != UnchangedPassword)
        account.password = module.newPassword;

    if (module.newUser)
        service.addUser(account);
    else
        service.modifyUser(account);

    module.newUser = false;
    ds.refresh();
}

// A new row abandoned before it was ever posted leaves no account to add.
void IBDSSystemUserBeforeCancel(TDModBase &module, Dataset &ds)
{
    if (ds.state() == DataSetState::Insert)
        module.newUser = false;
}

// Runs after the standard confirmation: only a Yes gets here.
void IBDSSystemUserBeforeDelete(TDModBase &module, Dataset &ds)
{
    module.deletingUserName = textOf(ds, "USER_NAME");
}

// The row is gone; so goes the account of the name remembered before.
void IBDSSystemUserAfterDelete(TDModBase &module, Dataset &ds)
{
    fb::SecurityService service = accountService(module);
    module.serviceUserName = module.deletingUserName;
    service.deleteUser(module.deletingUserName);
    module.newUser = false;
    ds.refresh();
}

} // namespace

fb::SecurityService accountService(const TDModBase &module)
{
    const ConnectionSettings &settings = module.settings();
    return fb::SecurityService(settings.server, settings.adminUser, settings.adminPassword);
}

DatasetDef systemUserDataSet()
{
    DatasetDef d;
    d.name = QStringLiteral("IBDSSystemUser");
    d.dataSource = QStringLiteral("DSSystemUser");
    d.group = Group::RefData;
    d.sql.select = QStringLiteral("select ") + Columns;
    d.sql.refresh = QStringLiteral("select ") + Columns + QStringLiteral(" where USER_ID = :USER_ID");
    d.sql.insert = QStringLiteral(
        "insert into SYSTEM_USER (USER_ID, USER_NAME, FORENAME_FIRST, FORENAME_SECOND, SURNAME, NBR_LOGINS, "
        "LAST_LOGIN_DATE, SYSTEMS_MANAGER) values (:USER_ID, :USER_NAME, :FORENAME_FIRST, :FORENAME_SECOND, "
        ":SURNAME, :NBR_LOGINS, :LAST_LOGIN_DATE, :SYSTEMS_MANAGER)");
    d.sql.modify = QStringLiteral(
        "update SYSTEM_USER set USER_NAME = :USER_NAME, FORENAME_FIRST = :FORENAME_FIRST, "
        "FORENAME_SECOND = :FORENAME_SECOND, SURNAME = :SURNAME, NBR_LOGINS = :NBR_LOGINS, "
        "LAST_LOGIN_DATE = :LAST_LOGIN_DATE, SYSTEMS_MANAGER = :SYSTEMS_MANAGER where USER_ID = :USER_ID");
    d.sql.remove = QStringLiteral("delete from SYSTEM_USER where USER_ID = :USER_ID");
    d.fields = {
        width(required(integerField(QStringLiteral("USER_ID"), QStringLiteral("User Identifier"))), 13),
        width(required(stringField(QStringLiteral("USER_NAME"), 80, QStringLiteral("User Name"))), 27),
        width(required(stringField(QStringLiteral("FORENAME_FIRST"), 40, QStringLiteral("Forename (1)"))), 21),
        width(stringField(QStringLiteral("FORENAME_SECOND"), 40, QStringLiteral("Forename (2)")), 19),
        width(required(stringField(QStringLiteral("SURNAME"), 40, QStringLiteral("Surname"))), 26),
        width(integerField(QStringLiteral("NBR_LOGINS"), QStringLiteral("No. of Logins")), 13),
        width(dateField(QStringLiteral("LAST_LOGIN_DATE"), QStringLiteral("Date Last Login")), 16),
        width(stringField(QStringLiteral("SYSTEMS_MANAGER"), 3, QStringLiteral("Systems Manager")), 17),
        hidden(stringField(QStringLiteral("CREATED_BY"), 40)),
        hidden(dateField(QStringLiteral("CREATE_DATE"))),
        hidden(timeField(QStringLiteral("CREATE_TIME"))),
        hidden(stringField(QStringLiteral("UPDATED_BY"), 40)),
        hidden(dateField(QStringLiteral("UPDATE_DATE"))),
        hidden(timeField(QStringLiteral("UPDATE_TIME"))),
    };
    d.confirmDelete = {text(QStringLiteral("Are you sure you want to delete ")),
                       fieldText(QStringLiteral("USER_NAME")), text(QStringLiteral(" ?"))};
    d.inUseMessage = QStringLiteral("System User is in use, Deletion not allowed");
    d.duplicateMessage = QStringLiteral("System User already Exists");
    d.newKeyField = QStringLiteral("USER_ID");
    d.install = [](TDModBase &module, Dataset &ds) {
        ds.onNewRecord.push_back([&module](Dataset &d) { IBDSSystemUserNewRecord(module, d); });
        ds.afterPost.push_back([&module](Dataset &d) { IBDSSystemUserAfterPost(module, d); });
        ds.afterDelete.push_back([&module](Dataset &d) { IBDSSystemUserAfterDelete(module, d); });
        ds.beforeCancel.push_back([&module](Dataset &d) { IBDSSystemUserBeforeCancel(module, d); });
    };
    d.installAfterRules = [](TDModBase &module, Dataset &ds) {
        ds.beforeDelete.push_back([&module](Dataset &d) { IBDSSystemUserBeforeDelete(module, d); });
    };
    return d;
}

} // namespace corvadel::records
