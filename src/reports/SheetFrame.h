#pragma once

#include <QString>
#include <Qt>

namespace corvadel::reports {

class CheckBox;
class Label;
class Pipeline;
class Sheet;
class TextRow;
class Line;

// The frame every record sheet shares, built into a sheet's header and
// footer bands:
//
//   Corvadel - <subject>                       (14 pt bold sans-serif)
//   ─────────────────────────────────────────── rule
//   identification lines                        (11 pt, bold captions)
//   ─────────────────────────────────────────── rule
//   ...
//   ─────────────────────────────────────────── rule
//   Page n of m                 Printed: <print date-time>   (10 pt)
//
// Rules span the text width of the sheet's orientation. Each add... call
// places an element on the current identification line; newLine() starts
// the next one. The second rule and the header's height follow the lines.
class SheetFrame
{
public:
    static constexpr qreal kLineHeightMm = 5.5;

    SheetFrame(Sheet &sheet, const QString &subject);

    // A bold caption followed by the field's value. Left-aligned, it starts
    // at xMm; right-aligned, it ends at the right edge of the text width.
    TextRow &addField(const QString &caption, Pipeline &pipeline, const QString &field, qreal xMm = 0,
                      Qt::Alignment side = Qt::AlignLeft);
    // A bold column heading.
    Label &addHeading(const QString &text, qreal xMm, qreal widthMm, Qt::Alignment alignment = Qt::AlignLeft);
    // A bold caption with a check box after it.
    CheckBox &addCheckBox(const QString &caption, Pipeline &pipeline, const QString &field, qreal xMm);
    void newLine();

    // The usual identification lines.
    void identifyProject(Pipeline &pipeline, bool withStatus = true);
    void identifyPerson(Pipeline &pipeline);

    qreal widthMm() const { return m_width; }

private:
    void relayout();

    Sheet &m_sheet;
    Line *m_closingRule = nullptr;
    qreal m_width = 0;
    int m_lines = 1;
};

} // namespace corvadel::reports
