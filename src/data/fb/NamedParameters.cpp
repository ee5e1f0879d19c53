#include "data/fb/NamedParameters.h"

#include "data/fb/SqlText.h"

namespace corvadel::fb {

QString rewriteNamedParameters(const QString &sql, QStringList *namesByPosition)
{
    using namespace sqltext;
    QString result;
    result.reserve(sql.size());
    QStringList names;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype skipped = skipQuotedOrComment(sql, i);
        if (skipped != i) {
            result += QStringView(sql).mid(i, skipped - i);
            i = skipped;
            continue;
        }
        const QChar c = sql[i];
        if (c == u'?') {
            names.append(QString());
            result += c;
            ++i;
            continue;
        }
        if (c == u':' && i + 1 < n && isNameStart(sql[i + 1])) {
            qsizetype end = i + 2;
            while (end < n && isNamePart(sql[end]))
                ++end;
            names.append(sql.mid(i + 1, end - i - 1));
            result += u'?';
            i = end;
            continue;
        }
        result += c;
        ++i;
    }
    if (namesByPosition)
        *namesByPosition = names;
    return result;
}

} // namespace corvadel::fb
