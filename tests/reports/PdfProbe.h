#pragma once

#include <QSizeF>
#include <QString>

#include <vector>

// Reads a printed sheet back the way a user would see it: its pages, their
// text, and where each word stands (poppler's pdftotext and pdfinfo).
namespace pdfprobe {

struct Word
{
    int page = 0; // 1-based
    QString text;
    double x = 0; // points from the page's left edge
    double y = 0; // points from the page's top edge
    double right = 0;
};

bool toolsAvailable();
int pageCount(const QString &pdf);
QSizeF pageSize(const QString &pdf); // points, first page
// Text of one page (1-based) or, with page 0, of all pages; layout kept.
QString text(const QString &pdf, int page = 0);
std::vector<Word> words(const QString &pdf);
// The first word equal to `text` at or after (page, y); nullptr if none.
const Word *find(const std::vector<Word> &words, const QString &text, int fromPage = 1, double fromY = -1);
int countOf(const std::vector<Word> &words, const QString &text);

} // namespace pdfprobe
