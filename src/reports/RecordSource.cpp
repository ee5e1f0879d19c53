#include "reports/RecordSource.h"

#include "reports/DisplayFormat.h"

namespace corvadel::reports {

QString RecordSource::displayText(int row, const QString &field) const
{
    const std::optional<QVariant> v = value(row, field);
    if (!v)
        return QString();
    return format::value(*v, QString());
}

void RecordSource::followMaster(const RecordSource &, int)
{
}

} // namespace corvadel::reports
