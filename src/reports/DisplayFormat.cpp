#include "reports/DisplayFormat.h"

#include <QDateTime>
#include <QStringList>

#include <cmath>

namespace corvadel::reports::format {
namespace {

// Splits at ';' outside quotes.
QStringList sections(const QString &pattern)
{
    QStringList out;
    QString current;
    QChar quote;
    for (QChar c : pattern) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            current += c;
            continue;
        }
        if (c == u'"' || c == u'\'') {
            quote = c;
            current += c;
        } else if (c == u';') {
            out << current;
            current.clear();
        } else {
            current += c;
        }
    }
    out << current;
    return out;
}

// What one number section asks for: how many digits must show on each side
// of the point, how many may, and whether to group thousands.
struct NumberShape
{
    int minInt = 0;
    int minFrac = 0;
    int maxFrac = 0;
    bool grouping = false;
    bool hasDigits = false;
};

NumberShape shapeOf(const QString &section)
{
    NumberShape shape;
    bool afterPoint = false;
    QChar quote;
    for (QChar c : section) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'0' || c == u'#') {
            shape.hasDigits = true;
            if (afterPoint) {
                ++shape.maxFrac;
                if (c == u'0')
                    shape.minFrac = shape.maxFrac;
            } else if (c == u'0') {
                ++shape.minInt;
            }
        } else if (c == u'.') {
            afterPoint = true;
        } else if (c == u',' && !afterPoint) {
            shape.grouping = true;
        }
    }
    return shape;
}

QString digitsOf(double magnitude, const NumberShape &shape)
{
    QString text = QString::number(magnitude, 'f', shape.maxFrac);
    QString intPart = text.section(u'.', 0, 0);
    QString fracPart = shape.maxFrac > 0 ? text.section(u'.', 1, 1) : QString();
    while (fracPart.size() > shape.minFrac && fracPart.endsWith(u'0'))
        fracPart.chop(1);
    if (intPart == u"0" && shape.minInt == 0)
        intPart.clear();
    while (intPart.size() < shape.minInt)
        intPart.prepend(u'0');
    if (shape.grouping) {
        for (int i = intPart.size() - 3; i > 0; i -= 3)
            intPart.insert(i, u',');
    }
    if (fracPart.isEmpty())
        return intPart;
    return intPart + u'.' + fracPart;
}

// Writes the section's literals around the formatted digits, which take the
// place of the first run of digit placeholders.
QString applySection(const QString &section, double magnitude)
{
    const NumberShape shape = shapeOf(section);
    if (!shape.hasDigits)
        return section;
    const QString digits = digitsOf(magnitude, shape);
    QString out;
    bool digitsWritten = false;
    QChar quote;
    for (QChar c : section) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                out += c;
            continue;
        }
        if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'0' || c == u'#' || c == u'.' || c == u',') {
            if (!digitsWritten) {
                out += digits;
                digitsWritten = true;
            }
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

QString number(double value, const QString &pattern)
{
    if (std::isnan(value))
        return QString();
    if (pattern.isEmpty())
        return QString::number(value, 'g', 15);
    const QStringList parts = sections(pattern);
    const NumberShape positiveShape = shapeOf(parts.value(0));
    // Decide the sign on the rounded value, so that -0.001 shown with two
    // decimals is not printed as a negative zero.
    const double scale = std::pow(10.0, positiveShape.maxFrac);
    const double rounded = std::round(value * scale) / scale;
    if (rounded == 0.0 && parts.size() >= 3 && !parts.at(2).isEmpty())
        return applySection(parts.at(2), 0.0);
    if (rounded < 0.0) {
        if (parts.size() >= 2 && !parts.at(1).isEmpty())
            return applySection(parts.at(1), -value);
        return u'-' + applySection(parts.at(0), -value);
    }
    return applySection(parts.at(0), std::fabs(value));
}

namespace {

int runLength(const QString &pattern, int at)
{
    const QChar c = pattern.at(at).toLower();
    int n = 1;
    while (at + n < pattern.size() && pattern.at(at + n).toLower() == c)
        ++n;
    return n;
}

QString twoDigits(int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); }

} // namespace

QString dateTime(const QDateTime &value, const QString &pattern, const QLocale &locale)
{
    if (!value.isValid())
        return QString();
    const QDate d = value.date();
    const QTime t = value.time();
    QString out;
    for (int i = 0; i < pattern.size();) {
        const QChar c = pattern.at(i);
        if (c == u'"' || c == u'\'') {
            const int end = pattern.indexOf(c, i + 1);
            const int stop = end < 0 ? pattern.size() : end;
            out += pattern.mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        const int n = runLength(pattern, i);
        switch (c.toLower().unicode()) {
        case 'd':
            if (n == 1) out += QString::number(d.day());
            else if (n == 2) out += twoDigits(d.day());
            else if (n == 3) out += locale.dayName(d.dayOfWeek(), QLocale::ShortFormat);
            else out += locale.dayName(d.dayOfWeek(), QLocale::LongFormat);
            break;
        case 'm':
            if (n == 1) out += QString::number(d.month());
            else if (n == 2) out += twoDigits(d.month());
            else if (n == 3) out += locale.monthName(d.month(), QLocale::ShortFormat);
            else out += locale.monthName(d.month(), QLocale::LongFormat);
            break;
        case 'y':
            out += n <= 2 ? twoDigits(d.year() % 100) : QString::number(d.year());
            break;
        case 'h':
            out += n == 1 ? QString::number(t.hour()) : twoDigits(t.hour());
            break;
        case 'n':
            out += n == 1 ? QString::number(t.minute()) : twoDigits(t.minute());
            break;
        case 's':
            out += n == 1 ? QString::number(t.second()) : twoDigits(t.second());
            break;
        default:
            out += pattern.mid(i, n);
            break;
        }
        i += n;
    }
    return out;
}

QString date(const QDate &value, const QString &pattern, const QLocale &locale)
{
    if (!value.isValid())
        return QString();
    return dateTime(QDateTime(value, QTime(0, 0)), pattern, locale);
}

QString value(const QVariant &v, const QString &pattern)
{
    if (!v.isValid() || v.isNull())
        return QString();
    switch (v.metaType().id()) {
    case QMetaType::QDate:
        return pattern.isEmpty() ? v.toDate().toString(Qt::ISODate) : date(v.toDate(), pattern);
    case QMetaType::QDateTime:
        return pattern.isEmpty() ? v.toDateTime().toString(Qt::ISODate) : dateTime(v.toDateTime(), pattern);
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return pattern.isEmpty() ? v.toString() : number(v.toDouble(), pattern);
    default:
        break;
    }
    const QString text = v.toString();
    if (pattern.isEmpty())
        return text;
    bool ok = false;
    const double asNumber = text.trimmed().toDouble(&ok);
    return ok ? number(asNumber, pattern) : text;
}

} // namespace corvadel::reports::format
