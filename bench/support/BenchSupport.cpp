#include "support/BenchSupport.h"

#include "corvadel_config.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace corvadel::bench {

QString benchDatabase(int issues)
{
    const QString size = issues % 1000 == 0 ? QString::number(issues / 1000) + u'k' : QString::number(issues);
    return serverHost() + QStringLiteral(":/var/lib/firebird/3.0/data/bench-%1.fdb").arg(size);
}

QString largeProjectName() { return QStringLiteral("Harbour Line Resignalling"); }
QString benchUserName() { return QStringLiteral("BENCHUSER"); }
QString benchUserPassword() { return QStringLiteral("benchpw"); }

QString adminUser() { return QString::fromUtf8(config::adminUser); }
QString adminPassword() { return QString::fromUtf8(config::adminPassword); }
QString serverHost() { return QString::fromUtf8(config::server); }

double Samples::best() const
{
    return m_values.empty() ? 0.0 : *std::min_element(m_values.begin(), m_values.end());
}

double Samples::median() const
{
    return percentile(50.0);
}

double Samples::percentile(double p) const
{
    if (m_values.empty())
        return 0.0;
    std::vector<double> sorted = m_values;
    std::sort(sorted.begin(), sorted.end());
    // Nearest rank: the smallest value with at least p% of the values at or below it.
    const auto rank = std::size_t(std::ceil(p / 100.0 * double(sorted.size())));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

void report(const QString &name, double value, const QString &unit)
{
    // Enough digits for ratios near 1 and for large rates alike.
    const QString text = std::fabs(value) >= 1000 ? QString::number(value, 'f', 0)
                         : std::fabs(value) >= 10 ? QString::number(value, 'f', 1)
                                                  : QString::number(value, 'f', 3);
    std::printf("%s %s %s\n", qPrintable(name), qPrintable(text), qPrintable(unit));
    std::fflush(stdout);
}

void note(const QString &text)
{
    std::fprintf(stderr, "%s\n", qPrintable(text));
    std::fflush(stderr);
}

namespace {

std::size_t statusField(const char *key)
{
    QFile file(QStringLiteral("/proc/self/status"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray prefix = QByteArray(key) + ':';
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return std::size_t(line.mid(prefix.size()).trimmed().split(' ').value(0).toULongLong()) * 1024;
    }
    return 0;
}

} // namespace

std::size_t peakResidentBytes() { return statusField("VmHWM"); }
std::size_t residentBytes() { return statusField("VmRSS"); }

void resetPeakResident()
{
    // Writing 5 to clear_refs resets the peak resident size (Linux 4.0 on).
    QFile file(QStringLiteral("/proc/self/clear_refs"));
    if (file.open(QIODevice::WriteOnly))
        file.write("5");
}

int repetitions(const QStringList &arguments, int fallback)
{
    bool ok = false;
    const int n = option(arguments, QStringLiteral("reps"), QString()).toInt(&ok);
    return ok && n > 0 ? n : fallback;
}

QString option(const QStringList &arguments, const QString &name, const QString &fallback)
{
    const int i = arguments.indexOf(QStringLiteral("--") + name);
    return i >= 0 && i + 1 < arguments.size() ? arguments[i + 1] : fallback;
}

} // namespace corvadel::bench
