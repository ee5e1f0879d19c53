#include "support/BenchModule.h"

#include "records/DataSets.h"

#include <stdexcept>

namespace corvadel::bench {

namespace {

data::ConnectionSettings settingsFor(const QString &database)
{
    data::ConnectionSettings settings;
    settings.database = database;
    settings.adminUser = adminUser();
    settings.adminPassword = adminPassword();
    settings.server = serverHost();
    return settings;
}

} // namespace

BenchModule::BenchModule(const QString &database) : m_module(settingsFor(database), prompt)
{
    records::addAllDataSets(m_module);
}

data::Dataset &BenchModule::dataSet(const QString &name)
{
    data::Dataset *ds = m_module.dataSet(name);
    if (!ds)
        throw std::logic_error("no dataset " + name.toStdString());
    return *ds;
}

void BenchModule::openLargeProject()
{
    m_module.connectDatabase();
    if (!m_module.IBTProject().isActive())
        m_module.IBTProject().start();
    data::Dataset &projects = dataSet(QStringLiteral("IBDSProject"));
    projects.open();
    if (!projects.locate(QStringLiteral("PRJ_NAME"), largeProjectName()))
        throw std::runtime_error("the bench database has no project " + largeProjectName().toStdString()
                                 + ": run bench_seed");
}

int BenchModule::largeProjectId()
{
    return dataSet(QStringLiteral("IBDSProject")).fieldByName(QStringLiteral("PRJ_ID"))->asInteger();
}

} // namespace corvadel::bench
