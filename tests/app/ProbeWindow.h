#pragma once

// A window registered in place of a record kind's editor window, to see how
// the main window opens editor windows: what the dataset looked like when the
// window was created, that it was shown modally, and that it is gone after.

#include "app/Editors/EditorWindows.h"
#include "data/DataModule.h"

#include <QDialog>
#include <QTimer>

#include <stdexcept>
#include <vector>

namespace corvadel::test {

struct Opening
{
    QString window;
    data::DataSetState state = data::DataSetState::Inactive;
    QVariant key;        // the dataset's key field in its current record
    int rows = -1;
    bool modal = false;
};

class ProbeWindow : public QDialog
{
public:
    ProbeWindow(const QString &window, data::Dataset *dataSet, const QString &keyField,
                std::vector<Opening> &log, QWidget *parent)
        : QDialog(parent), m_log(log)
    {
        setObjectName(window);
        Opening o;
        o.window = window;
        if (dataSet) {
            o.state = dataSet->state();
            o.key = dataSet->fieldByName(keyField)->value();
            o.rows = dataSet->recordCount();
        }
        m_log.push_back(o);
        m_index = m_log.size() - 1;
        ++live;
    }
    ~ProbeWindow() override { --live; }

    static inline int live = 0;

protected:
    void showEvent(QShowEvent *event) override
    {
        QDialog::showEvent(event);
        m_log[m_index].modal = isModal();
        QTimer::singleShot(0, this, &QDialog::accept);
    }

private:
    std::vector<Opening> &m_log;
    std::size_t m_index = 0;
};

// Registers a probe under a window name, watching one dataset.
inline void addProbe(app::EditorWindows &windows, const QString &window, const QString &dataSet,
                     const QString &keyField, std::vector<Opening> &log)
{
    windows.add(window, [window, dataSet, keyField, &log](data::TDModBase &module, QWidget *parent) {
        return std::make_unique<ProbeWindow>(window, module.dataSet(dataSet), keyField, log, parent);
    });
}

// Probes for every window the main window can open from the New menu and the
// list panes.
inline void addAllProbes(app::EditorWindows &windows, std::vector<Opening> &log)
{
    const struct
    {
        const char *window, *dataSet, *key;
    } kinds[] = {
        {"FrmProject", "IBDSProject", "PRJ_ID"},
        {"FrmProjectRole", "IBDSProjectRole", "ROLE_ID"},
        {"FrmProduct", "IBDSProduct", "PRODUCT_ID"},
        {"FrmRisk", "IBDSRisk", "RISK_ID"},
        {"FrmIssue", "IBDSIssue", "ISSUE_ID"},
        {"FrmQualityReview", "IBDSQualityReview", "QR_ID"},
        {"FrmChangeRequest", "IBDSChangeRequest", "CR_ID"},
        {"FrmPersonnel", "IBDSPersonnel", "PERSONNEL_ID"},
    };
    for (const auto &k : kinds)
        addProbe(windows, QLatin1String(k.window), QLatin1String(k.dataSet), QLatin1String(k.key), log);
}

} // namespace corvadel::test
