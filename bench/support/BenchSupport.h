#pragma once

#include "data/Prompt.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <cstddef>
#include <vector>

namespace corvadel::bench {

// The seeded databases the benchmarks read: the large project of the one
// holds this many issues.
constexpr int LargeIssueCount = 100000;
constexpr int SmallIssueCount = 1000;

// Connection string of the bench database whose large project holds
// `issues` issues, on the local server, beside the application's own.
QString benchDatabase(int issues);
// Name of that project, so every benchmark finds the same one.
QString largeProjectName();
// The login the seeder creates (a server account and its SYSTEM_USER row).
QString benchUserName();
QString benchUserPassword();

QString adminUser();
QString adminPassword();
QString serverHost();

// Monotonic wall-clock time.
class Stopwatch
{
public:
    Stopwatch() : m_start(std::chrono::steady_clock::now()) {}
    void restart() { m_start = std::chrono::steady_clock::now(); }
    double seconds() const
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    }
    double milliseconds() const { return seconds() * 1000.0; }

private:
    std::chrono::steady_clock::time_point m_start;
};

// Measured values of one quantity; the best of several repetitions is the
// figure least disturbed by whatever else the machine was doing.
class Samples
{
public:
    void add(double value) { m_values.push_back(value); }
    bool empty() const { return m_values.empty(); }
    std::size_t size() const { return m_values.size(); }
    double best() const;                 // the smallest
    double median() const;
    double percentile(double p) const;   // nearest rank, p in [0, 100]

private:
    std::vector<double> m_values;
};

// Prints one result as "name value unit" on standard output, at once.
void report(const QString &name, double value, const QString &unit);
// A line for the reader, on standard error so that result lines stay clean.
void note(const QString &text);

// Peak and current resident memory of this process in bytes (VmHWM, VmRSS).
std::size_t peakResidentBytes();
std::size_t residentBytes();
// Lets the peak start again from the current resident size.
void resetPeakResident();

// Answers every question of the record rules with Yes and keeps warnings,
// so that a benchmark can say what went wrong.
class AnsweringPrompt : public data::Prompt
{
public:
    void warning(const QString &text) override { warnings << text; }
    bool confirm(const QString &) override { return true; }
    QStringList warnings;
};

// Repetitions asked for on the command line ("--reps N"), or the default.
int repetitions(const QStringList &arguments, int fallback);
// The value after a "--name" argument, or the fallback.
QString option(const QStringList &arguments, const QString &name, const QString &fallback);

} // namespace corvadel::bench
