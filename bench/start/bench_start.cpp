// B6 start: from starting the program's process to its login window painted,
// against a minimal Qt Widgets program showing one window, both on the
// offscreen platform. Each is started --reps times, alternately, after one
// run each that warms the file cache; the best times count.
//
// The moment of painting comes from the probe library (ShowProbe.cpp),
// preloaded into the unchanged binaries; the clock starts just before the
// process is started.

#include "support/BenchSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <ctime>
#include <stdexcept>

using namespace corvadel::bench;

namespace {

struct Program
{
    QString name;
    QString path;
    QString window;   // objectName of the window whose first paint counts
    Samples ms;
};

long long monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

double startOnce(const Program &program, const QString &probe, const QString &outFile,
                 const QString &runtimeDir)
{
    QFile::remove(outFile);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LD_PRELOAD"), probe);
    env.insert(QStringLiteral("BENCH_PROBE_WINDOW"), program.window);
    env.insert(QStringLiteral("BENCH_PROBE_OUT"), outFile);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!env.contains(QStringLiteral("XDG_RUNTIME_DIR")))
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);   // shown only when something fails
    const long long started = monotonicNanoseconds();
    process.start(program.path, {});
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        throw std::runtime_error(program.path.toStdString() + " showed no window " + program.window.toStdString()
                                 + " within 30 s");
    }
    QFile file(outFile);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(program.path.toStdString() + " ended without painting "
                                 + program.window.toStdString() + ":\n" + process.readAll().toStdString());
    const long long shown = file.readAll().trimmed().toLongLong();
    return double(shown - started) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString probe = option(args, QStringLiteral("probe"), QStringLiteral(BENCH_SHOWPROBE));
    std::vector<Program> programs = {
        {QStringLiteral("corvadel"), option(args, QStringLiteral("program"), QStringLiteral(BENCH_PROGRAM)),
         option(args, QStringLiteral("program-window"), QStringLiteral(BENCH_PROGRAM_WINDOW)), {}},
        {QStringLiteral("minimal"), option(args, QStringLiteral("minimal"), QStringLiteral(BENCH_MINIMAL)),
         QStringLiteral("MinimalWindow"), {}},
    };
    const int reps = repetitions(args, 10);
    try {
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("shown"));
        for (const Program &p : programs)
            startOnce(p, probe, out, dir.path());   // warms the file cache
        for (int rep = 0; rep < reps; ++rep)
            for (Program &p : programs)
                p.ms.add(startOnce(p, probe, out, dir.path()));
        report(QStringLiteral("B6.program.start"), programs[0].ms.best(), QStringLiteral("ms"));
        report(QStringLiteral("B6.minimal.start"), programs[1].ms.best(), QStringLiteral("ms"));
        report(QStringLiteral("B6.ratio.program_minimal"), programs[0].ms.best() / programs[1].ms.best(),
               QStringLiteral("x"));
    } catch (const std::exception &error) {
        note(QStringLiteral("bench_start: %1").arg(QString::fromUtf8(error.what())));
        return 1;
    }
    return 0;
}
