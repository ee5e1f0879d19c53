#pragma once

#include <QTableView>

#include <memory>

class QWidget;

namespace corvadel::bench {

class BenchModule;

// The Issues list as a user sees it after logging in, shown on the screen:
// the login done, every dataset open, the large project active.
class IssuePane
{
public:
    explicit IssuePane(BenchModule &bench);
    ~IssuePane();

    QTableView *grid() const { return m_grid; }

private:
    std::unique_ptr<QWidget> m_window;
    QTableView *m_grid = nullptr;
};

} // namespace corvadel::bench
