// B5 list pane: the Issues list on the offscreen platform, on the
// 1,000-issue and the 100,000-issue database.
//
// First screen: from the moment the issue list is opened for the active
// project (as choosing a project does) until the grid has painted its first
// screen of rows; best of --reps, the two databases alternating.
// The pane is the main window's own, after a login through its login window.
// Scrolling: from there, moving to the bottom again and again, as a user
// dragging the scroll bar to its end would, until the last row is painted.
// Memory: the process's peak resident size, and the rows as the dataset
// holds them per row against the bytes those rows' values take on the wire.

#include "listpane/IssuePane.h"
#include "data/fb/Attachment.h"
#include "data/fb/Status.h"
#include "data/fb/Transaction.h"
#include "support/BenchModule.h"
#include "support/BenchSupport.h"
#include "support/RawStatement.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QEvent>
#include <QScrollBar>
#include <QTableView>

#include <memory>
#include <stdexcept>

using namespace corvadel;
using namespace corvadel::bench;

namespace {

// Counts the paints of a widget.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget *widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// Runs the event loop until the widget has painted once more; the paint has
// been handled when this returns.
void untilPainted(PaintCounter &counter)
{
    const int before = counter.paints;
    Stopwatch limit;
    while (counter.paints == before) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (limit.seconds() > 30)
            throw std::runtime_error("the issue grid did not paint within 30 s");
    }
}

struct Pane
{
    std::unique_ptr<BenchModule> bench;
    std::unique_ptr<IssuePane> pane;
    std::unique_ptr<PaintCounter> paints;
    Samples firstScreen;
};

std::size_t payloadOfProject(const QString &database, const QString &select, int projectId, int &rows)
{
    fb::Attachment db = fb::Attachment::attach(database, adminUser(), adminPassword());
    fb::Transaction tx(db, fb::TransactionOptions::readCommittedNoWait());
    tx.start();
    std::size_t bytes = 0;
    rows = 0;
    {
        RawStatement raw(db, tx, select);
        raw.setInteger(QStringLiteral("PRJ_ID"), projectId);
        raw.open();
        while (raw.fetch()) {
            bytes += raw.payload();
            ++rows;
        }
    }
    tx.commit();
    return bytes;
}

} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString large = option(args, QStringLiteral("large"), benchDatabase(LargeIssueCount));
    const QString small = option(args, QStringLiteral("small"), benchDatabase(SmallIssueCount));
    const int reps = repetitions(args, 15);

    try {
        Pane panes[2];
        const QString databases[2] = {small, large};
        for (int i = 0; i < 2; ++i) {
            panes[i].bench = std::make_unique<BenchModule>(databases[i]);
            panes[i].pane = std::make_unique<IssuePane>(*panes[i].bench);
            panes[i].paints = std::make_unique<PaintCounter>(panes[i].pane->grid()->viewport());
            untilPainted(*panes[i].paints);
        }

        // Choosing the project again re-opens its issue list; the grid shows
        // its first screen from the first block of rows.
        for (int rep = 0; rep < reps; ++rep) {
            for (Pane &p : panes) {
                data::Dataset &issues = p.bench->issues();
                issues.close();
                untilPainted(*p.paints);
                fb::Status status;
                p.bench->module().IBDb().handle()->ping(&status);   // a quiet connection, as a click finds it
                Stopwatch watch;
                issues.open();
                untilPainted(*p.paints);
                p.firstScreen.add(watch.milliseconds());
                if (issues.recordCount() == 0)
                    throw std::runtime_error("the issue list is empty");
            }
        }

        // Down to the last row of the large project.
        Pane &p = panes[1];
        data::Dataset &issues = p.bench->issues();
        QTableView *grid = p.pane->grid();
        const std::size_t residentAtFirstScreen = residentBytes();
        const int rowsAtFirstScreen = issues.recordCount();
        Stopwatch watch;
        int paintsBefore = p.paints->paints;
        while (true) {
            grid->scrollToBottom();
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            if (!issues.canFetchMore() && grid->verticalScrollBar()->value() == grid->verticalScrollBar()->maximum()
                && grid->model()->rowCount() == issues.recordCount()) {
                // Whatever update the last step left pending is painted now.
                QCoreApplication::processEvents(QEventLoop::AllEvents);
                break;
            }
            if (watch.seconds() > 300)
                throw std::runtime_error("scrolling to the last row took more than 300 s");
        }
        const double scroll = watch.milliseconds();
        const int scrollPaints = p.paints->paints - paintsBefore;
        const int rows = issues.recordCount();
        const QModelIndex lastShown = grid->indexAt(QPoint(1, grid->viewport()->height() - 2));
        if (!grid->indexAt(QPoint(1, 1)).isValid() || (lastShown.isValid() && lastShown.row() != rows - 1))
            throw std::runtime_error("the grid does not show the last row");

        int payloadRows = 0;
        const std::size_t payload =
            payloadOfProject(large, issues.statements().select, p.bench->largeProjectId(), payloadRows);
        if (payloadRows != rows)
            throw std::runtime_error("the grid holds another number of rows than the select yields");
        const double buffered = double(issues.bufferedBytes()) / rows;
        const double wire = double(payload) / rows;

        report(QStringLiteral("B5.first_screen.1k"), panes[0].firstScreen.best(), QStringLiteral("ms"));
        report(QStringLiteral("B5.first_screen.100k"), panes[1].firstScreen.best(), QStringLiteral("ms"));
        report(QStringLiteral("B5.ratio.first_screen_100k_1k"),
               panes[1].firstScreen.best() / panes[0].firstScreen.best(), QStringLiteral("x"));
        report(QStringLiteral("B5.scroll_to_last.100k"), scroll, QStringLiteral("ms"));
        report(QStringLiteral("B5.scroll_paints"), scrollPaints, QStringLiteral("paints"));
        report(QStringLiteral("B5.rows"), rows, QStringLiteral("rows"));
        report(QStringLiteral("B5.peak_resident"), double(peakResidentBytes()) / (1024 * 1024), QStringLiteral("MiB"));
        report(QStringLiteral("B5.resident_growth_per_row"),
               double(residentBytes() - residentAtFirstScreen) / (rows - rowsAtFirstScreen), QStringLiteral("bytes"));
        report(QStringLiteral("B5.buffered_per_row"), buffered, QStringLiteral("bytes"));
        report(QStringLiteral("B5.payload_per_row"), wire, QStringLiteral("bytes"));
        report(QStringLiteral("B5.ratio.buffered_row_payload"), buffered / wire, QStringLiteral("x"));
    } catch (const std::exception &error) {
        note(QStringLiteral("bench_listpane: %1").arg(QString::fromUtf8(error.what())));
        return 1;
    }
    return 0;
}
