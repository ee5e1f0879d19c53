// B3 post: new issues posted one at a time on the large project, through
// IBDSIssue with the record rules (a new key from the unique-key procedure,
// the insert with its rich-text description, the re-read of the posted row),
// against the same three steps as prepared statements on the client
// library's own API. The two alternate post by post. Then the Project group
// save, against a plain commit. The rows posted are deleted afterwards, so
// the database stays as seeded.

#include "data/fb/Attachment.h"
#include "data/fb/Transaction.h"
#include "support/BenchModule.h"
#include "support/BenchSupport.h"
#include "support/RawStatement.h"

#include <QCoreApplication>
#include <QDate>

#include <stdexcept>

using namespace corvadel;
using namespace corvadel::bench;

namespace {

const QString Marker = QStringLiteral("Bench post ");

// A detailed description as the editor stores it, a few hundred bytes.
QByteArray richText(int n)
{
    return QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}"
                          "\\viewkind4\\uc1\\pard\\f0\\fs20 Background: the supplier has asked to move the delivery "
                          "of the cabinets by two weeks.\\par The planner estimates the impact on the commissioning "
                          "window at five working days. Logged as bench item %1.\\par\\par\\b Next step:\\b0  raise a "
                          "change request if the cost exceeds tolerance.\\par }")
        .arg(n)
        .toUtf8();
}

// Who raises and owns the posted issues: people the project already has.
struct People
{
    int raisedRole = 0;
    int raisedPerson = 0;
    int ownerRole = 0;
    int ownerPerson = 0;
};

void removePosted(const QString &database, int projectId)
{
    fb::Attachment db = fb::Attachment::attach(database, adminUser(), adminPassword());
    fb::Transaction tx(db, fb::TransactionOptions::readCommittedNoWait());
    tx.start();
    RawStatement remove(db, tx, QStringLiteral("delete from ISSUE where PRJ_ID = :PRJ_ID and "
                                               "ISSUE_DESCRIPTION starting with '") + Marker + u'\'');
    remove.setInteger(QStringLiteral("PRJ_ID"), projectId);
    remove.execute();
    tx.commit();
    db.detach();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString database = option(args, QStringLiteral("database"), benchDatabase(LargeIssueCount));
    const int posts = option(args, QStringLiteral("posts"), QStringLiteral("1000")).toInt();
    const int warmUp = 20;

    try {
        BenchModule bench(database);
        data::TDModBase &module = bench.module();
        module.connectDatabase();
        module.OpenAllDataSets();
        data::Dataset &projects = bench.dataSet(QStringLiteral("IBDSProject"));
        if (!projects.locate(QStringLiteral("PRJ_NAME"), largeProjectName()))
            throw std::runtime_error("no large project: run bench_seed");
        const int projectId = bench.largeProjectId();
        removePosted(database, projectId);   // left over by a run that was stopped

        data::Dataset &issues = bench.issues();
        const auto field = [&issues](const char *name) { return issues.fieldByName(QLatin1String(name)); };
        People people;
        people.raisedRole = field("RAISED_BY_ROLE_ID")->asInteger();
        people.raisedPerson = field("RAISED_BY_PERSONNEL_ID")->asInteger();
        people.ownerRole = people.raisedRole;
        people.ownerPerson = people.raisedPerson;

        fb::Attachment rawDb = fb::Attachment::attach(database, adminUser(), adminPassword());
        fb::Transaction rawTx(rawDb, fb::TransactionOptions::readCommittedNoWait());
        rawTx.start();
        const data::Statements &sql = issues.statements();
        RawStatement key(rawDb, rawTx, QStringLiteral("execute procedure PROC_FETCH_UNIQUE_ID"));
        RawStatement insert(rawDb, rawTx, sql.insert);
        RawStatement reread(rawDb, rawTx, sql.refresh);

        const QDate raised(2024, 7, 1);
        const auto postOurs = [&](int n) {
            issues.insert();   // the new-record rule fetches the key and sets the project
            field("ISSUE_TYPE")->setValue(QStringLiteral("Issue"));
            field("ISSUE_DESCRIPTION")->setValue(Marker + QStringLiteral("ours %1").arg(n));
            field("ISSUE_DETAILED_DESCRIPTION")->setValue(richText(n));
            field("DATE_RAISED")->setValue(raised);
            field("RAISED_BY_ROLE_ID")->setValue(people.raisedRole);
            field("RAISED_BY_PERSONNEL_ID")->setValue(people.raisedPerson);
            field("OWNER_ROLE_ID")->setValue(people.ownerRole);
            field("OWNER_PERSONNEL_ID")->setValue(people.ownerPerson);
            field("ISSUE_STATUS")->setValue(QStringLiteral("Open"));
            issues.post();     // insert, then the re-read brings the number the database gave
            if (field("ISSUE_NBR")->isNull())
                throw std::runtime_error("the posted issue came back without a number");
        };
        const auto postRaw = [&](int n) {
            key.execute();
            const int id = key.integer(0);
            insert.setInteger(QStringLiteral("ISSUE_ID"), id);
            insert.setNull(QStringLiteral("ISSUE_NBR"));
            insert.setText(QStringLiteral("ISSUE_TYPE"), QByteArrayLiteral("Issue"));
            insert.setText(QStringLiteral("ISSUE_DESCRIPTION"), (Marker + QStringLiteral("raw %1").arg(n)).toUtf8());
            insert.setBlob(QStringLiteral("ISSUE_DETAILED_DESCRIPTION"), richText(n));
            insert.setDate(QStringLiteral("DATE_RAISED"), raised);
            insert.setInteger(QStringLiteral("PRJ_ID"), projectId);
            insert.setInteger(QStringLiteral("RAISED_BY_ROLE_ID"), people.raisedRole);
            insert.setInteger(QStringLiteral("RAISED_BY_PERSONNEL_ID"), people.raisedPerson);
            insert.setNull(QStringLiteral("OUTCOME"));
            insert.setInteger(QStringLiteral("OWNER_ROLE_ID"), people.ownerRole);
            insert.setInteger(QStringLiteral("OWNER_PERSONNEL_ID"), people.ownerPerson);
            insert.setText(QStringLiteral("ISSUE_STATUS"), QByteArrayLiteral("Open"));
            insert.execute();
            reread.setInteger(QStringLiteral("ISSUE_ID"), id);
            reread.open();
            if (!reread.fetch())
                throw std::runtime_error("the posted issue was not found again");
            reread.close();
        };

        // The first posts prepare the dataset's statements; they are not counted.
        // "--only ours" or "--only raw" runs one side alone, for a profile.
        const QString only = option(args, QStringLiteral("only"), QString());
        const bool runOurs = only.isEmpty() || only == QLatin1String("ours");
        const bool runRaw = only.isEmpty() || only == QLatin1String("raw");
        for (int n = 0; n < warmUp; ++n) {
            if (runOurs)
                postOurs(n);
            if (runRaw)
                postRaw(n);
        }
        Samples ours, raw;
        for (int n = warmUp; n < warmUp + posts; ++n) {
            Stopwatch watch;
            if (runOurs)
                postOurs(n);
            ours.add(watch.seconds() * 1000);
            watch.restart();
            if (runRaw)
                postRaw(n);
            raw.add(watch.seconds() * 1000);
        }
        Stopwatch watch;
        module.SaveProjectGroup();
        const double save = watch.milliseconds();
        watch.restart();
        rawTx.commitRetaining();
        const double commit = watch.milliseconds();
        rawTx.commit();
        rawDb.detach();
        removePosted(database, projectId);

        report(QStringLiteral("B3.posts"), posts, QStringLiteral("posts"));
        report(QStringLiteral("B3.ours.median"), ours.median(), QStringLiteral("ms"));
        report(QStringLiteral("B3.ours.p95"), ours.percentile(95), QStringLiteral("ms"));
        report(QStringLiteral("B3.raw.median"), raw.median(), QStringLiteral("ms"));
        report(QStringLiteral("B3.raw.p95"), raw.percentile(95), QStringLiteral("ms"));
        report(QStringLiteral("B3.ratio.median_ours_raw"), ours.median() / raw.median(), QStringLiteral("x"));
        report(QStringLiteral("B3.ratio.p95_ours_raw"), ours.percentile(95) / raw.percentile(95), QStringLiteral("x"));
        report(QStringLiteral("B3.ours.group_save"), save, QStringLiteral("ms"));
        report(QStringLiteral("B3.raw.commit"), commit, QStringLiteral("ms"));
    } catch (const std::exception &error) {
        note(QStringLiteral("bench_post: %1").arg(QString::fromUtf8(error.what())));
        return 1;
    }
    return 0;
}
