#pragma once

#include <QString>
#include <QVariant>

namespace corvadel::data {

struct FieldDef;

// Turns a field value into the text controls and sheets show, following the
// field's display format ("dd mmm yyyy", "dd mmmm yyyy", "£######0.00") or its
// currency flag; values without a format use the platform's conventions.
QString displayText(const FieldDef &def, const QVariant &value);

// A float formatted by a picture such as "£######0.00" or "£#,0.00;-£#,0.00":
// literal text around one number pattern of '#', '0', ',' and '.', with an
// optional second section for negative values. A single-section picture puts
// the minus sign in front of everything, as money is usually written.
QString formatFloat(double value, const QString &picture);

// A date formatted by a picture of d, dd, m, mm, mmm, mmmm, yy and yyyy with
// literal separators in between.
QString formatDate(const QDate &date, const QString &picture);

} // namespace corvadel::data
