#include "reports/MemoryRecordSource.h"

#include <algorithm>

namespace corvadel::reports {

MemoryRecordSource::MemoryRecordSource(QStringList fields)
    : m_fields(std::move(fields))
{
}

void MemoryRecordSource::addRow(const QVariantList &values)
{
    m_rows.push_back(values);
    reselect();
}

void MemoryRecordSource::setCurrentRow(int row)
{
    m_current = row;
}

void MemoryRecordSource::setFetchBlock(int rows)
{
    m_block = std::max(0, rows);
    reselect();
}

void MemoryRecordSource::setMasterLink(const QString &masterField, const QString &detailField)
{
    m_masterField = masterField;
    m_detailField = detailField;
}

void MemoryRecordSource::open()
{
    ++m_openCount;
    m_open = true;
    reselect();
}

void MemoryRecordSource::close()
{
    ++m_closeCount;
    m_open = false;
}

int MemoryRecordSource::count() const
{
    return m_open ? m_fetched : 0;
}

bool MemoryRecordSource::fetchMore()
{
    if (!m_open || m_fetched >= int(m_visible.size()))
        return false;
    m_fetched = std::min<int>(int(m_visible.size()), m_fetched + m_block);
    return true;
}

int MemoryRecordSource::currentRow() const
{
    if (!m_open || m_current >= int(m_visible.size()))
        return -1;
    return m_current;
}

std::optional<QVariant> MemoryRecordSource::value(int row, const QString &field) const
{
    const qsizetype column = m_fields.indexOf(field);
    if (!m_open || column < 0 || row < 0 || row >= m_fetched)
        return std::nullopt;
    return m_rows[m_visible[row]].value(column);
}

void MemoryRecordSource::followMaster(const RecordSource &master, int masterRow)
{
    if (m_masterField.isEmpty())
        return;
    m_masterValue = master.value(masterRow, m_masterField);
    if (!m_masterValue)
        m_masterValue = QVariant(); // an unreadable master key links nothing
    reselect();
    m_current = m_visible.empty() ? -1 : 0;
}

// Re-reads the selection the way a dataset re-runs its select: rows of the
// current master only, delivered again from the first block.
void MemoryRecordSource::reselect()
{
    m_visible.clear();
    const qsizetype column = m_fields.indexOf(m_detailField);
    for (int i = 0; i < int(m_rows.size()); ++i) {
        if (m_masterValue) {
            if (column < 0 || !m_masterValue->isValid())
                continue;
            if (m_rows[i].value(column) != *m_masterValue)
                continue;
        }
        m_visible.push_back(i);
    }
    m_fetched = m_block > 0 ? std::min<int>(m_block, int(m_visible.size())) : int(m_visible.size());
}

} // namespace corvadel::reports
