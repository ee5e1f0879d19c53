#include "PdfProbe.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace pdfprobe {

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString unescape(QString text)
{
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&apos;"), QStringLiteral("'"));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text;
}

} // namespace

bool toolsAvailable()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()
        && !QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty();
}

int pageCount(const QString &pdf)
{
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"),
                                                             QRegularExpression::MultilineOption)
                                              .match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QSizeF pageSize(const QString &pdf)
{
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts")).match(info);
    return match.hasMatch() ? QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble()) : QSizeF();
}

QString text(const QString &pdf, int page)
{
    QStringList arguments{QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8")};
    if (page > 0)
        arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    arguments << pdf << QStringLiteral("-");
    return run(QStringLiteral("pdftotext"), arguments);
}

std::vector<Word> words(const QString &pdf)
{
    const QString html = run(QStringLiteral("pdftotext"),
                             {QStringLiteral("-bbox"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf,
                              QStringLiteral("-")});
    std::vector<Word> out;
    static const QRegularExpression token(
        QStringLiteral("<page\\b|<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"[\\d.]+\">([^<]*)</word>"));
    int page = 0;
    for (auto it = token.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.captured(0).startsWith(QStringLiteral("<page"))) {
            ++page;
            continue;
        }
        out.push_back({page, unescape(match.captured(4)), match.captured(1).toDouble(), match.captured(2).toDouble(),
                       match.captured(3).toDouble()});
    }
    return out;
}

const Word *find(const std::vector<Word> &words, const QString &text, int fromPage, double fromY)
{
    for (const Word &word : words) {
        if (word.page < fromPage || (word.page == fromPage && word.y < fromY))
            continue;
        if (word.text == text)
            return &word;
    }
    return nullptr;
}

int countOf(const std::vector<Word> &words, const QString &text)
{
    int n = 0;
    for (const Word &word : words)
        n += word.text == text ? 1 : 0;
    return n;
}

} // namespace pdfprobe
