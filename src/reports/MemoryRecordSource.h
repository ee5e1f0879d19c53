#pragma once

#include "reports/RecordSource.h"

#include <QStringList>
#include <QVariantList>

#include <vector>

namespace corvadel::reports {

// A record source over rows held in memory: the engine's tests use it, and
// it serves sheets built from values the program already has.
//
// It can behave like a server cursor (rows handed out in blocks through
// fetchMore) and like a detail dataset (with a master link it holds only the
// rows whose link field equals the master row's value). It counts opens and
// closes so that a caller can see what a sheet run did to it.
class MemoryRecordSource : public RecordSource
{
public:
    explicit MemoryRecordSource(QStringList fields);

    // A value of QVariant() is a database NULL.
    void addRow(const QVariantList &values);
    void setCurrentRow(int row);
    // Hands out rows in blocks of this size instead of all at once (0: all).
    void setFetchBlock(int rows);
    void setMasterLink(const QString &masterField, const QString &detailField);

    int openCount() const { return m_openCount; }
    int closeCount() const { return m_closeCount; }
    int totalRows() const { return int(m_rows.size()); }

    void open() override;
    void close() override;
    bool isOpen() const override { return m_open; }
    int count() const override;
    bool fetchMore() override;
    int currentRow() const override;
    std::optional<QVariant> value(int row, const QString &field) const override;
    void followMaster(const RecordSource &master, int masterRow) override;

private:
    void reselect();

    QStringList m_fields;
    std::vector<QVariantList> m_rows;
    std::vector<int> m_visible; // indexes into m_rows that the current selection holds
    int m_fetched = 0;
    int m_block = 0;
    int m_current = -1;
    bool m_open = true;
    int m_openCount = 0;
    int m_closeCount = 0;
    QString m_masterField;
    QString m_detailField;
    std::optional<QVariant> m_masterValue;
};

} // namespace corvadel::reports
