// B4 login: the whole login path on the large bench database, as the login
// window runs it: attach with the user's own account, open every dataset
// (the active project's issue list reads its first block), look the user up,
// count the login in SYSTEM_USER, write the user to the server's account
// and commit the reference-data group. The data module is created before
// the clock starts, as the program creates it at start-up.
//
// Also the server administrator's login, which is not counted: the
// difference is the cost of counting.

#include "app/Login/FrmLogin.h"
#include "support/BenchModule.h"
#include "support/BenchSupport.h"

#include <QCoreApplication>

using namespace corvadel;
using namespace corvadel::bench;

namespace {

struct LoginTimes
{
    Samples total;
    Samples attach;        // until the connection is open
    Samples afterAttach;   // opening every dataset and counting the login
};

LoginTimes login(const QString &database, const QString &user, const QString &password, int reps)
{
    LoginTimes times;
    for (int rep = 0; rep < reps; ++rep) {
        BenchModule bench(database);
        Stopwatch watch;
        double attached = 0;
        app::performLogin(bench.module(), user, password, [&] { attached = watch.milliseconds(); });
        const double total = watch.milliseconds();
        if (bench.issues().recordCount() == 0)
            throw std::runtime_error("the login opened an empty issue list");
        times.total.add(total);
        times.attach.add(attached);
        times.afterAttach.add(total - attached);
    }
    return times;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString database = option(args, QStringLiteral("database"), benchDatabase(LargeIssueCount));
    const int reps = repetitions(args, 10);
    try {
        const LoginTimes user = login(database, benchUserName(), benchUserPassword(), reps);
        const LoginTimes admin = login(database, adminUser(), adminPassword(), reps);
        report(QStringLiteral("B4.login.total"), user.total.best(), QStringLiteral("ms"));
        report(QStringLiteral("B4.login.attach"), user.attach.best(), QStringLiteral("ms"));
        report(QStringLiteral("B4.login.open_and_count"), user.afterAttach.best(), QStringLiteral("ms"));
        report(QStringLiteral("B4.admin_login.total"), admin.total.best(), QStringLiteral("ms"));
        report(QStringLiteral("B4.admin_login.open"), admin.afterAttach.best(), QStringLiteral("ms"));
    } catch (const std::exception &error) {
        note(QStringLiteral("bench_login: %1").arg(QString::fromUtf8(error.what())));
        return 1;
    }
    return 0;
}
