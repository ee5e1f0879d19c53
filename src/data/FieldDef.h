#pragma once

#include <QString>
#include <QStringList>

namespace corvadel::data {

enum class FieldKind { Data, Calculated, Lookup };

enum class FieldType { Integer, String, Date, Time, Float, Currency, Blob };

enum class Alignment { Left, Center, Right };

// The declared metadata of one field. Fields are fixed with the dataset, not
// derived from the select at run time; a data field shows the select column of
// the same name (a repeated column name is addressed with the suffix 1).
struct FieldDef
{
    QString name;
    FieldType type = FieldType::String;
    int size = 0;              // maximum length of a string
    QString label;             // display label; the name when empty
    int displayWidth = 0;      // characters; 0 means the toolkit's default
    bool visible = true;
    bool required = false;
    bool readOnly = false;
    FieldKind kind = FieldKind::Data;
    Alignment alignment = Alignment::Left;
    QString displayFormat;     // "dd mmm yyyy", "£######0.00", ...
    QString editMask;          // "!99/99/0000;1; "
    bool currency = false;     // show a float in the platform's currency format

    // Lookup fields: the result field of the lookup dataset's row whose key
    // fields equal this row's key fields.
    QString lookupDataSet;
    QStringList keyFields;
    QStringList lookupKeyFields;
    QString lookupResultField;

    QString displayLabel() const { return label.isEmpty() ? name : label; }
};

// Small builders so that the definitions under records/ read like the tables
// they come from.
inline FieldDef integerField(const QString &name, const QString &label = {})
{
    FieldDef f;
    f.name = name;
    f.type = FieldType::Integer;
    f.label = label;
    f.alignment = Alignment::Right;
    return f;
}

inline FieldDef stringField(const QString &name, int size, const QString &label = {})
{
    FieldDef f;
    f.name = name;
    f.type = FieldType::String;
    f.size = size;
    f.label = label;
    return f;
}

inline FieldDef dateField(const QString &name, const QString &label = {}, const QString &format = {})
{
    FieldDef f;
    f.name = name;
    f.type = FieldType::Date;
    f.label = label;
    f.displayFormat = format;
    return f;
}

inline FieldDef timeField(const QString &name, const QString &label = {})
{
    FieldDef f;
    f.name = name;
    f.type = FieldType::Time;
    f.label = label;
    return f;
}

inline FieldDef floatField(const QString &name, const QString &label = {})
{
    FieldDef f;
    f.name = name;
    f.type = FieldType::Float;
    f.label = label;
    f.alignment = Alignment::Right;
    return f;
}

inline FieldDef currencyField(const QString &name, const QString &label = {})
{
    FieldDef f = floatField(name, label);
    f.type = FieldType::Currency;
    f.currency = true;
    return f;
}

inline FieldDef blobField(const QString &name, const QString &label = {})
{
    FieldDef f;
    f.name = name;
    f.type = FieldType::Blob;
    f.label = label;
    f.visible = false;
    return f;
}

// Chainable modifiers.
inline FieldDef required(FieldDef f) { f.required = true; return f; }
inline FieldDef hidden(FieldDef f) { f.visible = false; return f; }
inline FieldDef readOnly(FieldDef f) { f.readOnly = true; return f; }
inline FieldDef width(FieldDef f, int w) { f.displayWidth = w; return f; }
inline FieldDef format(FieldDef f, const QString &fmt) { f.displayFormat = fmt; return f; }
inline FieldDef mask(FieldDef f, const QString &m) { f.editMask = m; return f; }
inline FieldDef centred(FieldDef f) { f.alignment = Alignment::Center; return f; }
inline FieldDef calculated(FieldDef f) { f.kind = FieldKind::Calculated; return f; }

} // namespace corvadel::data
