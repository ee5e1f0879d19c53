// B1 fetch all and B2 first rows: the issue list's select on the seeded
// databases, through our dataset layer and its peers, side by side in one
// run. Prints "name value unit" lines; times are the best of --reps runs.
//
// B1 reads the large project's whole issue log to the end:
//   raw            the client library's fetch loop, same select, same
//                  transaction parameters (read committed, record version,
//                  no wait): the limit
//   ours           IBDSIssue opened and read to the end (rows packed and kept)
//   qsqlquery      Qt's Firebird driver, QSqlQuery forward-only
//   qsqlquerymodel Qt's Firebird driver, QSqlQueryModel fetching all
// B2 times opening the issue list to its first block of 1,000 rows on the
// 1,000-issue and the 100,000-issue database, and the round trip that
// follows the first block on the raw connection (see next_round_trip).

#include "data/fb/Attachment.h"
#include "data/fb/Status.h"
#include "data/fb/Transaction.h"
#include "support/BenchModule.h"
#include "support/BenchSupport.h"
#include "support/RawStatement.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QUrl>

#include <algorithm>
#include <ctime>
#include <functional>
#include <memory>
#include <stdexcept>

using namespace corvadel;
using namespace corvadel::bench;

namespace {

struct Peer
{
    QString name;
    int reps;                   // runs of this peer
    std::function<int()> run;   // returns the rows it read
    Samples seconds;
    Samples cpuSeconds;         // of this thread: what the client side itself spends
};

double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

QSqlDatabase qtConnection(const QString &connectionString)
{
    // "host:path" as the Firebird client writes it; Qt wants the parts.
    const QString host = connectionString.section(u':', 0, 0);
    const QString path = connectionString.section(u':', 1);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), QStringLiteral("bench"));
    db.setHostName(host);
    db.setDatabaseName(path);
    db.setUserName(adminUser());
    db.setPassword(adminPassword());
    db.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=UTF8"));
    if (!db.open())
        throw std::runtime_error("QIBASE: " + db.lastError().text().toStdString());
    return db;
}

void fail(const QSqlError &error)
{
    throw std::runtime_error("QIBASE: " + error.text().toStdString());
}

// The slow peers read every blob of every row and take half a minute a run;
// their figures hardly move from run to run, so they run fewer times.
void fetchAll(const QString &database, int reps, int slowReps, const QStringList &only)
{
    BenchModule bench(database);
    bench.openLargeProject();
    const int projectId = bench.largeProjectId();
    data::Dataset &issues = bench.issues();
    const QString select = issues.statements().select;

    fb::Attachment rawDb = fb::Attachment::attach(database, adminUser(), adminPassword());
    fb::Transaction rawTx(rawDb, fb::TransactionOptions::readCommittedNoWait());
    rawTx.start();
    RawStatement raw(rawDb, rawTx, select);
    raw.setInteger(QStringLiteral("PRJ_ID"), projectId);

    // What the rows weigh as they come off the wire, read once untimed.
    std::size_t payload = 0;
    int payloadRows = 0;
    raw.open();
    while (raw.fetch()) {
        payload += raw.payload();
        ++payloadRows;
    }

    QSqlDatabase qt = qtConnection(database);
    QSqlQuery forward(qt);
    forward.setForwardOnly(true);
    if (!forward.prepare(select))
        fail(forward.lastError());
    forward.bindValue(QStringLiteral(":PRJ_ID"), projectId);

    std::vector<Peer> peers;
    peers.push_back({QStringLiteral("raw"), reps, [&] {
                         int rows = 0;
                         raw.open();
                         while (raw.fetch())
                             ++rows;
                         return rows;
                     }, {}, {}});
    peers.push_back({QStringLiteral("ours"), reps, [&] {
                         issues.close();
                         issues.open();
                         issues.fetchAll();
                         return issues.recordCount();
                     }, {}, {}});
    peers.push_back({QStringLiteral("qsqlquery"), slowReps, [&] {
                         if (!forward.exec())
                             fail(forward.lastError());
                         int rows = 0;
                         while (forward.next())
                             ++rows;
                         forward.finish();
                         return rows;
                     }, {}, {}});
    peers.push_back({QStringLiteral("qsqlquerymodel"), slowReps, [&] {
                         QSqlQuery query(qt);
                         if (!query.prepare(select))
                             fail(query.lastError());
                         query.bindValue(QStringLiteral(":PRJ_ID"), projectId);
                         if (!query.exec())
                             fail(query.lastError());
                         QSqlQueryModel model;
                         model.setQuery(std::move(query));
                         while (model.canFetchMore())
                             model.fetchMore();
                         return model.rowCount();
                     }, {}, {}});
    // Not a peer: the same driver without the two blob columns, to show what
    // reading every blob at fetch time costs it.
    QString withoutBlobs = select;
    withoutBlobs.remove(QStringLiteral("I.ISSUE_DETAILED_DESCRIPTION, ")).remove(QStringLiteral("I.OUTCOME, "));
    QSqlQuery forwardWithoutBlobs(qt);
    forwardWithoutBlobs.setForwardOnly(true);
    if (!forwardWithoutBlobs.prepare(withoutBlobs))
        fail(forwardWithoutBlobs.lastError());
    forwardWithoutBlobs.bindValue(QStringLiteral(":PRJ_ID"), projectId);
    peers.push_back({QStringLiteral("qsqlquery_noblobs"), reps, [&] {
                         if (!forwardWithoutBlobs.exec())
                             fail(forwardWithoutBlobs.lastError());
                         int rows = 0;
                         while (forwardWithoutBlobs.next())
                             ++rows;
                         forwardWithoutBlobs.finish();
                         return rows;
                     }, {}, {}});

    // "--peers raw,ours" runs only those, for a profile.
    if (!only.isEmpty())
        peers.erase(std::remove_if(peers.begin(), peers.end(), [&](const Peer &p) { return !only.contains(p.name); }),
                    peers.end());

    // Round robin, so that a slow moment of the machine hits every peer alike.
    for (int rep = 0; rep < std::max(reps, slowReps); ++rep) {
        for (Peer &peer : peers) {
            if (rep >= peer.reps)
                continue;
            Stopwatch watch;
            const double cpu = threadCpuSeconds();
            const int rows = peer.run();
            peer.seconds.add(watch.seconds());
            peer.cpuSeconds.add(threadCpuSeconds() - cpu);
            if (rows != payloadRows)
                throw std::runtime_error(QStringLiteral("%1 read %2 rows, the select has %3")
                                             .arg(peer.name)
                                             .arg(rows)
                                             .arg(payloadRows)
                                             .toStdString());
            note(QStringLiteral("  B1 %1 run %2: %3 s").arg(peer.name).arg(rep + 1).arg(watch.seconds(), 0, 'f', 3));
        }
    }
    issues.close();
    raw.close();

    const auto best = [&](const QString &name) {
        for (const Peer &p : peers)
            if (p.name == name)
                return p.seconds.best();
        return 0.0;
    };
    report(QStringLiteral("B1.rows"), payloadRows, QStringLiteral("rows"));
    report(QStringLiteral("B1.payload_per_row"), double(payload) / payloadRows, QStringLiteral("bytes"));
    for (const Peer &peer : peers) {
        report(QStringLiteral("B1.%1.time").arg(peer.name), peer.seconds.best(), QStringLiteral("s"));
        report(QStringLiteral("B1.%1.rate").arg(peer.name), payloadRows / peer.seconds.best(),
               QStringLiteral("rows/s"));
        report(QStringLiteral("B1.%1.cpu").arg(peer.name), peer.cpuSeconds.best(), QStringLiteral("s"));
    }
    const double ours = best(QStringLiteral("ours"));
    for (const char *peer : {"raw", "qsqlquery", "qsqlquerymodel"}) {
        const double other = best(QLatin1String(peer));
        if (ours > 0 && other > 0)
            report(QStringLiteral("B1.ratio.ours_%1").arg(QLatin1String(peer)), ours / other, QStringLiteral("x"));
    }
    // The client's own processor time hardly depends on what else the
    // machine runs: the share our layer adds, whatever the wall clock says.
    const auto cpu = [&](const QString &name) {
        for (const Peer &p : peers)
            if (p.name == name)
                return p.cpuSeconds.best();
        return 0.0;
    };
    if (cpu(QStringLiteral("ours")) > 0 && cpu(QStringLiteral("raw")) > 0)
        report(QStringLiteral("B1.ratio.ours_raw_cpu"), cpu(QStringLiteral("ours")) / cpu(QStringLiteral("raw")),
               QStringLiteral("x"));
    qt.close();
}

// Opening the issue list on a database: time until its first block is held,
// and the same first block read by the raw loop.
class FirstRows
{
public:
    explicit FirstRows(const QString &database)
        : m_bench(database),
          m_rawDb(fb::Attachment::attach(database, adminUser(), adminPassword())),
          m_rawTx(m_rawDb, fb::TransactionOptions::readCommittedNoWait())
    {
        m_bench.openLargeProject();
        m_bench.issues().open();   // prepares the select once, as the login does
        m_rawTx.start();
        m_raw = std::make_unique<RawStatement>(m_rawDb, m_rawTx, m_bench.issues().statements().select);
        m_raw->setInteger(QStringLiteral("PRJ_ID"), m_bench.largeProjectId());
    }

    void measure()
    {
        data::Dataset &issues = m_bench.issues();
        issues.close();
        settle();
        Stopwatch watch;
        issues.open();
        ours.add(watch.seconds());
        rows = issues.recordCount();

        settle();
        watch.restart();
        m_raw->open();
        for (int i = 0; i < issues.blockSize() && m_raw->fetch(); ++i) {
        }
        raw.add(watch.seconds());
        // The client library asks for the next rows before they are needed;
        // whatever the connection does next waits until they have arrived.
        watch.restart();
        fb::Status status;
        m_rawDb.handle()->ping(&status);
        nextRoundTrip.add(watch.seconds());
        m_raw->close();
    }

    Samples ours;
    Samples raw;
    Samples nextRoundTrip;
    int rows = 0;

private:
    // A closed cursor's last rows may still be on their way; each run starts
    // on a quiet connection, as a user's click would.
    void settle()
    {
        fb::Status status;
        m_bench.module().IBDb().handle()->ping(&status);
        m_rawDb.handle()->ping(&status);
    }

    BenchModule m_bench;
    fb::Attachment m_rawDb;
    fb::Transaction m_rawTx;
    std::unique_ptr<RawStatement> m_raw;
};

void firstRows(const QString &smallDatabase, const QString &largeDatabase, int reps)
{
    FirstRows small(smallDatabase);
    FirstRows large(largeDatabase);
    // Alternating, so that a busy moment of the machine hits both alike.
    for (int rep = 0; rep < reps; ++rep) {
        small.measure();
        large.measure();
    }
    report(QStringLiteral("B2.rows"), large.rows, QStringLiteral("rows"));
    report(QStringLiteral("B2.ours.1k"), small.ours.best() * 1000, QStringLiteral("ms"));
    report(QStringLiteral("B2.ours.100k"), large.ours.best() * 1000, QStringLiteral("ms"));
    report(QStringLiteral("B2.raw.1k"), small.raw.best() * 1000, QStringLiteral("ms"));
    report(QStringLiteral("B2.raw.100k"), large.raw.best() * 1000, QStringLiteral("ms"));
    report(QStringLiteral("B2.ratio.100k_1k"), large.ours.best() / small.ours.best(), QStringLiteral("x"));
    report(QStringLiteral("B2.next_round_trip.1k"), small.nextRoundTrip.best() * 1000, QStringLiteral("ms"));
    report(QStringLiteral("B2.next_round_trip.100k"), large.nextRoundTrip.best() * 1000, QStringLiteral("ms"));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString large = option(args, QStringLiteral("large"), benchDatabase(LargeIssueCount));
    const QString small = option(args, QStringLiteral("small"), benchDatabase(SmallIssueCount));
    try {
        if (!args.contains(QStringLiteral("--only-b2")))
            fetchAll(large, repetitions(args, 9), std::min(repetitions(args, 9), 2),
                     option(args, QStringLiteral("peers"), QString()).split(u',', Qt::SkipEmptyParts));
        if (!args.contains(QStringLiteral("--only-b1")))
            firstRows(small, large, repetitions(args, 9) * 4);
    } catch (const std::exception &error) {
        note(QStringLiteral("bench_fetch: %1").arg(QString::fromUtf8(error.what())));
        return 1;
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench"));
    return 0;
}
