#include "listpane/IssuePane.h"

#include "controls/DataGrid.h"
#include "support/BenchModule.h"

#include <QMainWindow>

namespace corvadel::bench {

// Until the main window exists, the Issues pane is the data module's issue
// grid on a plain main window of the program's size.
IssuePane::IssuePane(BenchModule &bench)
{
    data::TDModBase &module = bench.module();
    module.connectDatabase();
    module.OpenAllDataSets();
    auto window = std::make_unique<QMainWindow>();
    auto *grid = new controls::DataGrid(module.dataSource(QStringLiteral("DSIssue")), window.get());
    grid->setObjectName(QStringLiteral("DBGridIssues"));
    window->setCentralWidget(grid);
    window->resize(1024, 700);
    window->show();
    m_grid = grid;
    m_window = std::move(window);
}

IssuePane::~IssuePane() = default;

} // namespace corvadel::bench
