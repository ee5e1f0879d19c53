#pragma once

#include <QTableView>

#include <memory>

namespace corvadel::app {
class FrmMain;
}

namespace corvadel::bench {

class BenchModule;

// The main window after a login as the server administrator, through its
// own login window, showing its Issues pane: every dataset open, the large
// project active.
class IssuePane
{
public:
    explicit IssuePane(BenchModule &bench);
    ~IssuePane();

    QTableView *grid() const { return m_grid; }

private:
    std::unique_ptr<app::FrmMain> m_main;
    QTableView *m_grid = nullptr;
};

} // namespace corvadel::bench
