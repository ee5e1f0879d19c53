#include "reports/Pipeline.h"

#include "reports/RecordSource.h"

namespace corvadel::reports {

Pipeline::Pipeline(RecordSource &source)
    : m_source(&source)
{
}

bool Pipeline::hasRow(int row) const
{
    if (row < 0)
        return false;
    while (row >= m_source->count()) {
        if (!m_source->fetchMore())
            return false;
    }
    return true;
}

int Pipeline::firstRow() const
{
    if (!m_source->isOpen())
        return -1;
    if (m_range == Range::CurrentRecord) {
        const int current = m_source->currentRow();
        return hasRow(current) ? current : -1;
    }
    return hasRow(0) ? 0 : -1;
}

int Pipeline::nextRow(int row) const
{
    if (m_range == Range::CurrentRecord || row < 0)
        return -1;
    return hasRow(row + 1) ? row + 1 : -1;
}

void Pipeline::followMasterRow()
{
    if (!m_master)
        return;
    m_source->followMaster(m_master->source(), m_master->row());
    m_followedMaster = true;
}

std::optional<QVariant> Pipeline::value(const QString &field) const
{
    if (m_row < 0)
        return std::nullopt;
    return m_source->value(m_row, field);
}

std::optional<QString> Pipeline::text(const QString &field) const
{
    const std::optional<QVariant> v = value(field);
    if (!v)
        return std::nullopt;
    if (!v->isValid())
        return QString();
    if (!v->canConvert<QString>())
        return std::nullopt;
    return v->toString();
}

QString Pipeline::displayText(const QString &field) const
{
    if (m_row < 0)
        return QString();
    return m_source->displayText(m_row, field);
}

} // namespace corvadel::reports
