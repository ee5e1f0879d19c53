// Creates and fills a bench database on the local server, unless one made
// by this same tool from this same schema is already there.
//
//   bench_seed [--issues N] [--database CONNECTION] [--force]
//
// N is the size of the large project's issue log (100000 by default; risks
// are a fifth of it). The database goes beside the application's own, named
// after N, created without forced writes: it is a measuring instrument,
// never anyone's data.

#include "data/fb/Attachment.h"
#include "data/fb/Error.h"
#include "data/fb/Script.h"
#include "data/fb/Statement.h"
#include "data/fb/Transaction.h"
#include "seed/Seeder.h"
#include "support/BenchSupport.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>

#include <optional>

using namespace corvadel;
using namespace corvadel::bench;

namespace {

// Changes whenever the seeder fills the database differently, so that an
// older bench database is made again rather than measured.
constexpr int SeedVersion = 2;

QString readSchema()
{
    QFile file(QStringLiteral(CORVADEL_SCHEMA_FILE));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " CORVADEL_SCHEMA_FILE);
    return QString::fromUtf8(file.readAll());
}

// What the marker row of a finished database says: the seeder's version,
// the plan and the schema it was made from.
QString stamp(const SeedPlan &plan, const QString &schema)
{
    const QByteArray hash = QCryptographicHash::hash(schema.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStringLiteral("v%1 issues=%2 risks=%3 people=%4 schema=%5")
        .arg(SeedVersion)
        .arg(plan.largeIssues)
        .arg(plan.largeRisks)
        .arg(plan.people)
        .arg(QString::fromLatin1(hash.left(12)));
}

// The stamp of an existing, finished database; nothing when the database
// is missing, unfinished (no marker) or cannot be read.
std::optional<QString> existingStamp(fb::Attachment &db)
{
    try {
        fb::Transaction transaction(db);
        transaction.start();
        fb::Statement statement(db, transaction, QStringLiteral("select SEED from BENCH_SEED"));
        statement.execute(transaction);
        const std::optional<QString> result =
            statement.hasRow() ? std::optional<QString>(statement.value(0).toString()) : std::nullopt;
        transaction.commit();
        return result;
    } catch (const fb::Error &) {
        return std::nullopt;
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    SeedPlan plan;
    plan.largeIssues = option(args, QStringLiteral("issues"), QString::number(LargeIssueCount)).toInt();
    plan.largeRisks = plan.largeIssues / 5;
    const QString database = option(args, QStringLiteral("database"), benchDatabase(plan.largeIssues));
    const bool force = args.contains(QStringLiteral("--force"));

    try {
        const QString schema = readSchema();
        const QString wanted = stamp(plan, schema);
        try {
            fb::Attachment existing = fb::Attachment::attach(database, adminUser(), adminPassword());
            const std::optional<QString> found = existingStamp(existing);
            if (found && *found == wanted && !force) {
                note(QStringLiteral("%1 is seeded (%2)").arg(database, wanted));
                return 0;
            }
            note(QStringLiteral("%1 is %2: making it again").arg(database, found ? QStringLiteral("out of date")
                                                                                  : QStringLiteral("unfinished")));
            existing.dropDatabase();
        } catch (const fb::Error &) {
            // Not there yet (or not reachable: creating it says which).
        }

        Stopwatch total;
        note(QStringLiteral("seeding %1 (%2)").arg(database, wanted));
        fb::Attachment db = fb::Attachment::create(database, adminUser(), adminPassword(), 8192, false);
        try {
            fb::executeScript(db, schema);
            Seeder(db, plan).run();
            // Written last: only a finished database carries it.
            fb::executeScript(db, QStringLiteral("create table BENCH_SEED (SEED varchar(200) not null);\n"
                                                 "insert into BENCH_SEED values ('%1');\n")
                                      .arg(wanted));
        } catch (...) {
            db.dropDatabase();
            throw;
        }
        db.detach();
        note(QStringLiteral("seeded in %1 s").arg(total.seconds(), 0, 'f', 1));
        return 0;
    } catch (const std::exception &error) {
        note(QStringLiteral("bench_seed: %1").arg(QString::fromUtf8(error.what())));
        return 1;
    }
}
