#pragma once

#include "reports/RecordSource.h"

#include <QPointer>

#include <utility>
#include <vector>

namespace corvadel::data {
class Dataset;
class Field;
} // namespace corvadel::data

namespace corvadel::reports {

// A record source over a dataset of the data module (or a sheet query of a
// window, which is a dataset too). Rows are the dataset's own; printing the
// children of another master record re-runs the dataset's select for that
// record, and when the sheet hands the source back its master's current row
// the user's current record is found again by its key, so that a window
// showing the dataset is left where it was.
class DatasetRecordSource : public RecordSource
{
public:
    explicit DatasetRecordSource(data::Dataset &dataSet);

    void open() override;
    void close() override;
    bool isOpen() const override;
    int count() const override;
    bool fetchMore() override;
    int currentRow() const override;
    std::optional<QVariant> value(int row, const QString &field) const override;
    QString displayText(int row, const QString &field) const override;
    void followMaster(const RecordSource &master, int masterRow) override;

private:
    QPointer<data::Dataset> m_dataSet;
    // The user's record while the source prints other masters' rows.
    std::optional<std::vector<std::pair<data::Field *, QVariant>>> m_userRecord;
};

} // namespace corvadel::reports
