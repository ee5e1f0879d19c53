#include "support/TestDatabase.h"

#include "corvadel_config.h"
#include "data/fb/Error.h"
#include "data/fb/Master.h"
#include "data/fb/RefPtr.h"
#include "data/fb/Script.h"
#include "data/fb/Status.h"
#include "data/fb/XpbBuilder.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QFile>
#include <QUuid>
#include <QtDebug>

#include <optional>
#include <stdexcept>

namespace corvadel::test {

namespace {

QString uniqueDatabasePath()
{
    static QAtomicInt counter;
    return QStringLiteral("/tmp/corvadel-test-%1-%2-%3.fdb")
        .arg(QCoreApplication::applicationPid())
        .arg(counter.fetchAndAddRelaxed(1))
        .arg(QUuid::createUuid().toString(QUuid::Id128).left(8));
}

QString readScript(const QString &file)
{
    QFile script(file);
    if (!script.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read the schema script " + file.toStdString());
    return QString::fromUtf8(script.readAll());
}

// Attaches to the server's service manager and detaches again: the
// cheapest proof that the server answers and accepts the administrator.
QString checkServer()
{
    try {
        fb::Status status;
        fb::XpbBuilderPtr spb = fb::newXpbBuilder(status, Firebird::IXpbBuilder::SPB_ATTACH);
        spb->insertString(&status, isc_spb_user_name, TestDatabase::adminUser().toUtf8().constData());
        spb->insertString(&status, isc_spb_password, TestDatabase::adminPassword().toUtf8().constData());
        auto provider = fb::RefPtr<Firebird::IProvider>::adopt(fb::master()->getDispatcher());
        const QByteArray name = (TestDatabase::serverHost() + QStringLiteral(":service_mgr")).toUtf8();
        auto service = fb::RefPtr<Firebird::IService>::adopt(provider->attachServiceManager(
            &status, name.constData(), spb->getBufferLength(&status), spb->getBuffer(&status)));
        service->detach(&status);
        service.abandon();
        return QString();
    } catch (const fb::Error &error) {
        return error.message();
    }
}

const QString &serverProblem()
{
    static const QString problem = checkServer();
    return problem;
}

} // namespace

TestDatabase::TestDatabase(const QString &schemaFile)
    : m_connectionString(serverHost() + u':' + uniqueDatabasePath())
{
    m_attachment = fb::Attachment::create(m_connectionString, adminUser(), adminPassword());
    if (schemaFile.isEmpty())
        return;
    try {
        fb::executeScript(m_attachment, readScript(schemaFile));
    } catch (...) {
        m_attachment.dropDatabase();
        throw;
    }
}

TestDatabase TestDatabase::withSchema()
{
    return TestDatabase(QStringLiteral(CORVADEL_SCHEMA_FILE));
}

TestDatabase::~TestDatabase()
{
    if (m_connectionString.isEmpty())
        return; // moved from
    try {
        if (!m_attachment.isConnected())
            m_attachment = connect();
        m_attachment.dropDatabase();
    } catch (const std::exception &error) {
        qWarning("could not drop the test database %s: %s", qPrintable(m_connectionString), error.what());
    }
}

fb::Attachment TestDatabase::connect() const
{
    return fb::Attachment::attach(m_connectionString, adminUser(), adminPassword());
}

QString TestDatabase::adminUser()
{
    return QString::fromUtf8(config::adminUser);
}

QString TestDatabase::adminPassword()
{
    return QString::fromUtf8(config::adminPassword);
}

QString TestDatabase::serverHost()
{
    return QString::fromUtf8(config::server);
}

bool TestDatabase::serverAvailable()
{
    return serverProblem().isEmpty();
}

QString TestDatabase::unavailableReason()
{
    return serverProblem();
}

} // namespace corvadel::test
