#pragma once

#include "data/DataSource.h"
#include "data/Dataset.h"
#include "data/DatasetDef.h"
#include "data/Prompt.h"
#include "data/fb/Attachment.h"
#include "data/fb/Transaction.h"

#include <QObject>
#include <QStringList>

#include <map>
#include <memory>
#include <vector>

namespace corvadel::data {

struct ConnectionSettings
{
    QString database;       // connection string of the database
    QString adminUser;      // the stored connection parameters
    QString adminPassword;
    QString server;         // host of the server's services
};

// The one data module: the connection, the three unit-of-work groups with
// their transactions and pending-changes flags, every dataset and query with
// its data source, the unique-key service and the run-time values of a
// session. Created closed; the login opens it.
class TDModBase : public QObject
{
    Q_OBJECT

public:
    TDModBase(const ConnectionSettings &settings, Prompt &prompt, QObject *parent = nullptr);
    ~TDModBase() override;

    // Creates a dataset (closed) with its data source and record rules.
    Dataset &addDataSet(const DatasetDef &def);
    Dataset *dataSet(const QString &name) const;
    DataSource *dataSource(const QString &name) const;
    const DatasetDef *definition(const QString &name) const;
    Group groupOf(const Dataset &dataSet) const;

    // --- the connection IBDb ----------------------------------------------
    // Appends connection parameter lines ("user_name=...", "password=...");
    // where a parameter occurs more than once, the last line counts.
    void appendConnectionParameter(const QString &line);
    QString connectionParameter(const QString &name) const;
    void connectDatabase();            // opens IBDb; nothing when already open
    bool isConnected() const;

    fb::Attachment &IBDb() { return m_db; }
    fb::Transaction &IBTProject() { return m_project; }
    fb::Transaction &IBTPersonnel() { return m_personnel; }
    fb::Transaction &IBTRefData() { return m_refData; }
    fb::Transaction &transaction(Group group);
    const ConnectionSettings &settings() const { return m_settings; }
    Prompt &prompt() { return m_prompt; }

    // --- operations -------------------------------------------------------
    int FetchUniqueId();
    void OpenAllDataSets();
    void SaveProjectGroup() { saveGroup(Group::Project); }
    void SavePersonnelGroup() { saveGroup(Group::Personnel); }
    void SaveRefDataGroup() { saveGroup(Group::RefData); }
    void CancelProjectGroup() { cancelGroup(Group::Project); }
    void CancelPersonnelGroup() { cancelGroup(Group::Personnel); }
    void CancelRefDataGroup() { cancelGroup(Group::RefData); }
    void saveGroup(Group group);
    void cancelGroup(Group group);

    bool pendingChanges(Group group) const { return m_pending[int(group)]; }
    void raisePendingChanges(Group group) { m_pending[int(group)] = true; }

    // --- run-time values --------------------------------------------------
    QString loginUserName;
    QString loginPassword;
    bool systemsManager = false;
    bool newUser = false;
    QString newPassword;
    QString deletingUserName;
    // The user name the server's security service holds: that of the last
    // user written to or deleted from the server's accounts in this run, the
    // administrator's before any. The password window changes its password.
    QString serviceUserName;

    // The total cost of the current change request's resource lines, a
    // currency amount held in ten-thousandths. The resource lines' rules
    // keep it; every new value is announced, also an unchanged one.
    qint64 totalCost() const { return m_totalCost; }
    void setTotalCost(qint64 tenThousandths);

    // The datasets a group saves, in the order they are posted.
    static QStringList saveOrder(Group group);
    // The datasets and queries in the order OpenAllDataSets opens them.
    static QStringList openOrder();

signals:
    void totalCostChanged(qint64 tenThousandths);

private:
    void reopenAfterRollback(Group group);
    void installRecordRules(Dataset &dataSet, const DatasetDef &def);

    ConnectionSettings m_settings;
    Prompt &m_prompt;
    QStringList m_connectionParameters;
    fb::Attachment m_db;
    fb::Transaction m_project;
    fb::Transaction m_personnel;
    fb::Transaction m_refData;
    std::unique_ptr<fb::Statement> m_fetchUniqueId;

    std::vector<DatasetDef> m_defs;
    std::map<QString, Dataset *> m_dataSets;
    std::map<QString, DataSource *> m_dataSources;
    bool m_pending[3] = {false, false, false};
    // Whether anything was posted or deleted since the group's last commit.
    bool m_uncommitted[3] = {false, false, false};
    qint64 m_totalCost = 0;
};

} // namespace corvadel::data
