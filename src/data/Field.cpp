#include "data/Field.h"

#include "data/Dataset.h"
#include "data/DisplayFormat.h"

#include <QDate>

namespace corvadel::data {

int Field::index() const
{
    const auto &order = m_dataSet->fields();
    for (std::size_t i = 0; i < order.size(); ++i)
        if (order[i] == this)
            return int(i);
    return -1;
}

void Field::setIndex(int index)
{
    m_dataSet->moveField(this, index);
}

QVariant Field::value() const
{
    return m_dataSet->currentValue(this);
}

bool Field::isNull() const
{
    const QVariant v = value();
    return v.isNull() || !v.isValid();
}

QString Field::asString() const
{
    const QVariant v = value();
    if (v.isNull() || !v.isValid())
        return {};
    if (m_def.type == FieldType::Blob)
        return QString::fromUtf8(v.toByteArray());
    if (m_def.type == FieldType::Integer)
        return QString::number(v.toLongLong());
    return v.toString();
}

QString Field::displayText() const
{
    return data::displayText(m_def, value());
}

int Field::asInteger() const
{
    return value().toInt();
}

double Field::asFloat() const
{
    return value().toDouble();
}

QDate Field::asDate() const
{
    return value().toDate();
}

QByteArray Field::asBytes() const
{
    return m_dataSet->blobContent(this);
}

QVariant Field::oldValue() const
{
    return m_dataSet->oldValue(this);
}

void Field::setValue(const QVariant &value)
{
    m_dataSet->setFieldValue(this, value);
}

} // namespace corvadel::data
