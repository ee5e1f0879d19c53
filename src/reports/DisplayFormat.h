#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QVariant>

namespace corvadel::reports {

// The display formats the record sheets use, in the notation the layouts are
// written in:
//
//   numbers   "£#,0.00;-£#,0.00"  sections positive;negative;zero. '0' is a
//             digit that always prints, '#' one that prints when significant,
//             ',' in the integer part turns on thousands grouping, '.' marks
//             the decimals. Quoted text ("..." or '...') and every other
//             character print as they stand. Without a negative section the
//             positive one is used with a leading minus.
//   dates     "dd mmm yyyy", "dd mmmm yyyy": d/dd day, ddd/dddd day name,
//             m/mm month, mmm/mmmm month name, yy/yyyy year; times hh, nn, ss.
//
// Grouping and decimal characters are ',' and '.', whatever the platform's
// locale: the sheets print money in a fixed notation. Names of months and
// days come from the locale given (English by default).
namespace format {

QString number(double value, const QString &pattern);
QString date(const QDate &value, const QString &pattern, const QLocale &locale = QLocale::c());
QString dateTime(const QDateTime &value, const QString &pattern, const QLocale &locale = QLocale::c());

// Formats a field value with a pattern chosen by the value's type: numbers
// (and text that reads as a number) with number(), dates with date(). An
// empty pattern gives the value's plain text; a null value gives "".
QString value(const QVariant &value, const QString &pattern);

} // namespace format
} // namespace corvadel::reports
