#pragma once

#include "data/FieldDef.h"

#include <vector>

namespace corvadel::records {

// The six audit columns every table but the reference lists carries, hidden
// and filled by the database. Datasets label and format them a little
// differently; `createdOnLabel` empty leaves all six unlabelled.
inline std::vector<data::FieldDef> auditFields(const QString &createdOnLabel, const QString &dateFormat,
                                               int byWidth = 0)
{
    using namespace corvadel::data;
    const bool labelled = !createdOnLabel.isEmpty();
    auto label = [&](const QString &l) { return labelled ? l : QString(); };
    return {
        hidden(dateField(QStringLiteral("CREATE_DATE"), label(createdOnLabel), dateFormat)),
        hidden(timeField(QStringLiteral("CREATE_TIME"), label(QStringLiteral("at")))),
        hidden(width(stringField(QStringLiteral("CREATED_BY"), 40, label(QStringLiteral("by"))), byWidth)),
        hidden(dateField(QStringLiteral("UPDATE_DATE"), label(QStringLiteral("Updated on")), dateFormat)),
        hidden(timeField(QStringLiteral("UPDATE_TIME"), label(QStringLiteral("at")))),
        hidden(width(stringField(QStringLiteral("UPDATED_BY"), 40, label(QStringLiteral("by"))), byWidth)),
    };
}

// Shows a field that its builder hides by default (a blob a grid lists).
inline data::FieldDef shown(data::FieldDef f)
{
    f.visible = true;
    return f;
}

// Appends one list of fields to another, for definitions built in parts.
inline std::vector<data::FieldDef> operator+(std::vector<data::FieldDef> a, const std::vector<data::FieldDef> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace corvadel::records
