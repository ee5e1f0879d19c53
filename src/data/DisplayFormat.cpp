#include "data/DisplayFormat.h"

#include "data/FieldDef.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>
#include <QTime>

#include <cmath>

namespace corvadel::data {

namespace {

bool isPictureChar(QChar c)
{
    return c == u'#' || c == u'0' || c == u',' || c == u'.';
}

QString formatSection(double magnitude, const QString &section)
{
    const qsizetype begin = [&] {
        for (qsizetype i = 0; i < section.size(); ++i)
            if (isPictureChar(section[i]) && section[i] != u',' && section[i] != u'.')
                return i;
        return section.size();
    }();
    if (begin == section.size())
        return section;
    qsizetype end = begin;
    while (end < section.size() && isPictureChar(section[end]))
        ++end;
    const QString pattern = section.mid(begin, end - begin);

    const qsizetype point = pattern.indexOf(u'.');
    const QString intPart = point < 0 ? pattern : pattern.left(point);
    const QString fracPart = point < 0 ? QString() : pattern.mid(point + 1);
    const bool grouping = intPart.contains(u',');
    const int minIntDigits = int(intPart.count(u'0'));
    const int minFrac = int(fracPart.count(u'0'));
    const int maxFrac = int(fracPart.count(u'0') + fracPart.count(u'#'));

    QString digits = QString::number(magnitude, 'f', maxFrac);
    QString whole = digits;
    QString frac;
    if (const qsizetype dot = digits.indexOf(u'.'); dot >= 0) {
        whole = digits.left(dot);
        frac = digits.mid(dot + 1);
    }
    while (frac.size() > minFrac && frac.endsWith(u'0'))
        frac.chop(1);
    if (whole == QLatin1String("0") && minIntDigits == 0)
        whole.clear();
    while (whole.size() < minIntDigits)
        whole.prepend(u'0');
    if (grouping) {
        for (qsizetype i = whole.size() - 3; i > 0; i -= 3)
            whole.insert(i, u',');
    }
    QString number = whole;
    if (!frac.isEmpty())
        number += u'.' + frac;
    return section.left(begin) + number + section.mid(end);
}

} // namespace

QString formatFloat(double value, const QString &picture)
{
    const QStringList sections = picture.split(u';');
    if (value < 0 && sections.size() > 1 && !sections[1].isEmpty())
        return formatSection(-value, sections[1]);
    const QString text = formatSection(std::fabs(value), sections[0]);
    // Rounding may turn a tiny negative into zero; no "-0.00".
    if (value < 0 && text.contains(QRegularExpression(QStringLiteral("[1-9]"))))
        return u'-' + text;
    return text;
}

QString formatDate(const QDate &date, const QString &picture)
{
    if (!date.isValid())
        return {};
    const QLocale locale;
    QString out;
    for (qsizetype i = 0; i < picture.size();) {
        const QChar c = picture[i].toLower();
        qsizetype run = 1;
        while (i + run < picture.size() && picture[i + run].toLower() == c)
            ++run;
        if (c == u'd') {
            out += run >= 2 ? QStringLiteral("%1").arg(date.day(), 2, 10, QLatin1Char('0'))
                            : QString::number(date.day());
        } else if (c == u'm') {
            if (run >= 4)
                out += locale.monthName(date.month(), QLocale::LongFormat);
            else if (run == 3)
                out += locale.monthName(date.month(), QLocale::ShortFormat);
            else if (run == 2)
                out += QStringLiteral("%1").arg(date.month(), 2, 10, QLatin1Char('0'));
            else
                out += QString::number(date.month());
        } else if (c == u'y') {
            out += run >= 4 ? QString::number(date.year())
                            : QStringLiteral("%1").arg(date.year() % 100, 2, 10, QLatin1Char('0'));
        } else {
            out += picture.mid(i, run);
        }
        i += run;
    }
    return out;
}

QString displayText(const FieldDef &def, const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return {};
    const QLocale locale;
    switch (def.type) {
    case FieldType::Integer:
        return QString::number(value.toLongLong());
    case FieldType::Float:
    case FieldType::Currency: {
        const double v = value.toDouble();
        if (!def.displayFormat.isEmpty())
            return formatFloat(v, def.displayFormat);
        if (def.currency)
            return locale.toCurrencyString(v);
        return QString::number(v, 'g', 15);
    }
    case FieldType::Date: {
        const QDate d = value.toDate();
        if (!def.displayFormat.isEmpty())
            return formatDate(d, def.displayFormat);
        return locale.toString(d, QLocale::ShortFormat);
    }
    case FieldType::Time:
        return locale.toString(value.toTime(), QStringLiteral("HH:mm:ss"));
    case FieldType::Blob:
        return QStringLiteral("(BLOB)");
    case FieldType::String:
        return value.toString();
    }
    return value.toString();
}

} // namespace corvadel::data
