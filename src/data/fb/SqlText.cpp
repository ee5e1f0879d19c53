#include "data/fb/SqlText.h"

namespace corvadel::fb::sqltext {

namespace {

// Closing delimiter of a q'<open>...<close>' literal.
QChar closingQuoteOf(QChar open)
{
    switch (open.unicode()) {
    case u'(': return u')';
    case u'[': return u']';
    case u'{': return u'}';
    case u'<': return u'>';
    default: return open;
    }
}

} // namespace

bool isNameStart(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u'_';
}

bool isNamePart(QChar c)
{
    return isNameStart(c) || (c >= u'0' && c <= u'9') || c == u'$';
}

qsizetype skipQuotedOrComment(const QString &sql, qsizetype i)
{
    const qsizetype n = sql.size();
    if (i >= n)
        return i;
    const QChar c = sql[i];
    const QChar next = i + 1 < n ? sql[i + 1] : QChar();

    if (c == u'\'' || c == u'"') {
        // A doubled quote inside is two literals back to back: same result.
        const qsizetype close = sql.indexOf(c, i + 1);
        return close < 0 ? n : close + 1;
    }
    if (c == u'-' && next == u'-') {
        const qsizetype end = sql.indexOf(u'\n', i + 2);
        return end < 0 ? n : end + 1;
    }
    if (c == u'/' && next == u'*') {
        const qsizetype end = sql.indexOf(QStringLiteral("*/"), i + 2);
        return end < 0 ? n : end + 2;
    }
    if ((c == u'q' || c == u'Q') && next == u'\'' && i + 2 < n && (i == 0 || !isNamePart(sql[i - 1]))) {
        const QChar close = closingQuoteOf(sql[i + 2]);
        for (qsizetype j = i + 3; j + 1 < n; ++j) {
            if (sql[j] == close && sql[j + 1] == u'\'')
                return j + 2;
        }
        return n;
    }
    return i;
}

} // namespace corvadel::fb::sqltext
