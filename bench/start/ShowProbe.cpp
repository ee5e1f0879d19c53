// Loaded into a Qt Widgets program with LD_PRELOAD, it notes the moment the
// window named by BENCH_PROBE_WINDOW (an objectName) has been painted for
// the first time, writes that moment (CLOCK_MONOTONIC, nanoseconds) to the
// file named by BENCH_PROBE_OUT and ends the process at once. The program
// itself is not changed: this measures the very binary a user starts.
//
// It hooks in through Qt's start-up hook (the table qtHookData of QtCore,
// entry 5, called once the application object exists), the entry point
// debugging tools use.

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>

extern quintptr qtHookData[];

namespace {

constexpr int StartupHook = 5;

long long monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

class PaintWatcher : public QObject
{
public:
    PaintWatcher(const char *window, const char *out) : m_window(QString::fromUtf8(window)), m_out(out) {}

    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen && object->isWidgetType()
            && static_cast<QWidget *>(object)->isWindow() && object->objectName() == m_window) {
            m_seen = true;
            // The paint event is being delivered now; the moment after it
            // has been handled is the one that counts.
            QTimer::singleShot(0, [out = m_out] {
                const long long shown = monotonicNanoseconds();
                if (FILE *file = std::fopen(out, "w")) {
                    std::fprintf(file, "%lld\n", shown);
                    std::fclose(file);
                }
                std::_Exit(0);
            });
        }
        return false;
    }

private:
    QString m_window;
    const char *m_out;
    bool m_seen = false;
};

void startup()
{
    const char *window = std::getenv("BENCH_PROBE_WINDOW");
    const char *out = std::getenv("BENCH_PROBE_OUT");
    if (!window || !out || !QCoreApplication::instance())
        return;
    auto *watcher = new PaintWatcher(window, out);
    watcher->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(watcher);
}

__attribute__((constructor)) void installHook()
{
    qtHookData[StartupHook] = reinterpret_cast<quintptr>(&startup);
}

} // namespace
