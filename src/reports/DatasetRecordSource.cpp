#include "reports/DatasetRecordSource.h"

#include "data/Dataset.h"

namespace corvadel::reports {

DatasetRecordSource::DatasetRecordSource(data::Dataset &dataSet) : m_dataSet(&dataSet) {}

void DatasetRecordSource::open()
{
    if (m_dataSet)
        m_dataSet->open();
}

void DatasetRecordSource::close()
{
    if (m_dataSet)
        m_dataSet->close();
}

bool DatasetRecordSource::isOpen() const
{
    return m_dataSet && m_dataSet->isOpen();
}

int DatasetRecordSource::count() const
{
    return isOpen() ? m_dataSet->recordCount() : 0;
}

bool DatasetRecordSource::fetchMore()
{
    return isOpen() && m_dataSet->canFetchMore() && m_dataSet->fetchMore() > 0;
}

int DatasetRecordSource::currentRow() const
{
    return isOpen() ? m_dataSet->currentRow() : -1;
}

std::optional<QVariant> DatasetRecordSource::value(int row, const QString &field) const
{
    if (!isOpen() || row < 0 || row >= m_dataSet->recordCount())
        return std::nullopt;
    const data::Field *f = m_dataSet->findField(field);
    if (!f)
        return std::nullopt;
    try {
        if (f->type() == data::FieldType::Blob) {
            const QByteArray bytes = m_dataSet->blobContent(row, f);
            return bytes.isNull() ? QVariant() : QVariant(bytes);
        }
        return m_dataSet->value(row, f);
    } catch (const std::exception &) {
        return std::nullopt;   // a value that cannot be read prints as such
    }
}

QString DatasetRecordSource::displayText(int row, const QString &field) const
{
    const data::Field *f = isOpen() ? m_dataSet->findField(field) : nullptr;
    if (!f || row < 0 || row >= m_dataSet->recordCount())
        return {};
    return m_dataSet->displayText(row, f);
}

void DatasetRecordSource::followMaster(const RecordSource &master, int masterRow)
{
    if (!isOpen() || !m_dataSet->master())
        return;
    // The user's record is told by its whole-number fields: its key is among
    // them (one column or several), and together they are unique.
    if (!m_userRecord) {
        m_userRecord.emplace();
        if (m_dataSet->currentRow() >= 0)
            for (data::Field *f : m_dataSet->fields())
                if (f->kind() == data::FieldKind::Data && f->type() == data::FieldType::Integer)
                    m_userRecord->push_back({f, f->value()});
    }
    m_dataSet->requery([&](const QString &name) { return master.value(masterRow, name).value_or(QVariant()); });
    if (masterRow != master.currentRow())
        return;
    const std::vector<std::pair<data::Field *, QVariant>> wanted = *m_userRecord;
    m_userRecord.reset();
    if (wanted.empty())
        return;
    for (int row = 0; row < m_dataSet->recordCount() || fetchMore(); ++row) {
        bool same = true;
        for (const auto &[field, value] : wanted)
            same = same && m_dataSet->value(row, field) == value;
        if (same) {
            m_dataSet->moveTo(row);
            return;
        }
    }
}

} // namespace corvadel::reports
