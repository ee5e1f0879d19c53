#pragma once

#include "data/FieldDef.h"

#include <QVariant>

namespace corvadel::data {

class Dataset;

// One field of a dataset: its declared metadata and access to its value in
// the dataset's current record (the edit buffer while editing).
class Field
{
public:
    Field(Dataset *dataSet, FieldDef def) : m_dataSet(dataSet), m_def(std::move(def)) {}

    const FieldDef &def() const { return m_def; }
    const QString &name() const { return m_def.name; }
    QString displayLabel() const { return m_def.displayLabel(); }
    FieldType type() const { return m_def.type; }
    FieldKind kind() const { return m_def.kind; }
    bool isVisible() const { return m_def.visible; }
    bool isRequired() const { return m_def.required; }
    bool isReadOnly() const { return m_def.readOnly || m_def.kind != FieldKind::Data; }
    Dataset *dataSet() const { return m_dataSet; }

    // Position among the dataset's fields; changing it reorders the fields
    // for every default grid that shows them afterwards.
    int index() const;
    void setIndex(int index);

    QVariant value() const;
    bool isNull() const;
    QString asString() const;      // the value as plain text (a number as digits)
    QString displayText() const;   // the value through the display format
    int asInteger() const;         // 0 when empty
    double asFloat() const;        // 0 when empty
    QDate asDate() const;
    QByteArray asBytes() const;    // a blob's content, read when first asked for

    // The value as it was when the row was last read from the database.
    QVariant oldValue() const;

    void setValue(const QVariant &value);
    void clear() { setValue(QVariant()); }

private:
    Dataset *m_dataSet;
    FieldDef m_def;
};

} // namespace corvadel::data
