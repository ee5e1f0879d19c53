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
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QUuid>
#include <QtDebug>

#include <optional>
#include <stdexcept>

namespace corvadel::test {

namespace {

const QString databaseDirectory = QStringLiteral("/tmp");
const QString databasePrefix = QStringLiteral("corvadel-test-");

// <prefix><pid>-<counter>-<random>.fdb: the pid says whose it is.
QString uniqueDatabasePath()
{
    static QAtomicInt counter;
    return QStringLiteral("%1/%2%3-%4-%5.fdb")
        .arg(databaseDirectory, databasePrefix)
        .arg(QCoreApplication::applicationPid())
        .arg(counter.fetchAndAddRelaxed(1))
        .arg(QUuid::createUuid().toString(QUuid::Id128).left(8));
}

bool processRuns(qint64 pid)
{
    return QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid));
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

void TestDatabase::dropLeftovers()
{
    // Matched by hand: a wildcard filter compiles a regular expression, whose
    // generated code valgrind reports as reading uninitialised memory.
    const QStringList names = QDir(databaseDirectory).entryList(QDir::Files);
    for (const QString &name : names) {
        if (!name.startsWith(databasePrefix) || !name.endsWith(QStringLiteral(".fdb")))
            continue;
        bool isNumber = false;
        const qint64 pid = name.mid(databasePrefix.size()).section(u'-', 0, 0).toLongLong(&isNumber);
        if (!isNumber || pid == QCoreApplication::applicationPid() || processRuns(pid))
            continue;
        try {
            fb::Attachment::attach(serverHost() + u':' + databaseDirectory + u'/' + name, adminUser(),
                                   adminPassword())
                .dropDatabase();
        } catch (const fb::Error &) {
            // in use, or dropped by another process meanwhile
        }
    }
}

TestDatabase::TestDatabase(const QString &schemaFile)
    : m_connectionString(serverHost() + u':' + uniqueDatabasePath())
{
    dropLeftovers();
    // A throwaway database need not wait for the disk at every commit.
    m_attachment = fb::Attachment::create(m_connectionString, adminUser(), adminPassword(), 8192, false);
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
