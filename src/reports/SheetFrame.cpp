#include "reports/SheetFrame.h"

#include "reports/Sheet.h"
#include "reports/Units.h"
#include "richtext/RichText.h"

#include <QFontMetricsF>

namespace corvadel::reports {

namespace {

constexpr qreal kTitleHeightMm = 7.0;
constexpr qreal kFirstRuleMm = 7.5;
constexpr qreal kFirstLineMm = 9.0;
constexpr qreal kFooterHeightMm = 7.0;

qreal captionWidthMm(const QString &caption)
{
    return toMm(QFontMetricsF(layoutFont(sheetFont(11, true))).horizontalAdvance(caption));
}

} // namespace

SheetFrame::SheetFrame(Sheet &sheet, const QString &subject)
    : m_sheet(sheet)
    , m_width(sheet.textSizeMm().width())
{
    // Long texts are stored as the editors save them (RTF, or plain text in
    // older rows); every record sheet reads them through the same codec.
    sheet.setRichTextLoader(&richtext::read);
    Band &header = sheet.header();
    Label &title = header.add<Label>(QRectF(0, 0, m_width, kTitleHeightMm), QStringLiteral("Corvadel - ") + subject);
    title.setFont(sheetFont(14, true));
    header.add<Line>(QRectF(0, kFirstRuleMm, m_width, 0));
    m_closingRule = &header.add<Line>(QRectF(0, 0, m_width, 0));

    Band &footer = sheet.footer();
    footer.setHeight(kFooterHeightMm);
    footer.add<Line>(QRectF(0, 0, m_width, 0));
    TextRow &pages = footer.add<TextRow>(QRectF(0, 1.5, m_width / 2, 0));
    pages.add<Label>(QStringLiteral("Page"));
    pages.add<SystemVariable>(SystemVariableKind::PageNumber);
    pages.add<Label>(QStringLiteral("of"));
    pages.add<SystemVariable>(SystemVariableKind::PageCount);
    TextRow &printed = footer.add<TextRow>(QRectF(m_width / 2, 1.5, m_width / 2, 0));
    printed.setAlignment(Qt::AlignRight);
    printed.add<Label>(QStringLiteral("Printed:"));
    printed.add<SystemVariable>(SystemVariableKind::PrintDateTime);

    relayout();
}

TextRow &SheetFrame::addField(const QString &caption, Pipeline &pipeline, const QString &field, qreal xMm,
                              Qt::Alignment side)
{
    const qreal top = kFirstLineMm + (m_lines - 1) * kLineHeightMm;
    const QRectF geometry = side & Qt::AlignRight ? QRectF(m_width / 2, top, m_width / 2, 0)
                                                  : QRectF(xMm, top, m_width - xMm, 0);
    TextRow &row = m_sheet.header().add<TextRow>(geometry);
    row.setAlignment(side & Qt::AlignRight ? Qt::AlignRight : Qt::AlignLeft);
    Label &label = row.add<Label>(caption);
    label.setFont(sheetFont(11, true));
    DataText &value = row.add<DataText>(pipeline, field);
    value.setFont(sheetFont(11));
    return row;
}

Label &SheetFrame::addHeading(const QString &text, qreal xMm, qreal widthMm, Qt::Alignment alignment)
{
    const qreal top = kFirstLineMm + (m_lines - 1) * kLineHeightMm;
    Label &label = m_sheet.header().add<Label>(QRectF(xMm, top, widthMm, 0), text);
    label.setFont(sheetFont(11, true));
    label.setAlignment(alignment);
    return label;
}

CheckBox &SheetFrame::addCheckBox(const QString &caption, Pipeline &pipeline, const QString &field, qreal xMm)
{
    const qreal top = kFirstLineMm + (m_lines - 1) * kLineHeightMm;
    const qreal captionWidth = captionWidthMm(caption);
    Label &label = m_sheet.header().add<Label>(QRectF(xMm, top, captionWidth, 0), caption);
    label.setFont(sheetFont(11, true));
    const qreal box = kLineHeightMm - 1.0;
    CheckBox &check = m_sheet.header().add<CheckBox>(QRectF(xMm + captionWidth + 1.0, top - 0.25, box, box),
                                                     &pipeline, field);
    check.setTrueText(QStringLiteral("Yes"));
    check.setFalseText(QStringLiteral("No"));
    return check;
}

void SheetFrame::newLine()
{
    ++m_lines;
    relayout();
}

void SheetFrame::identifyProject(Pipeline &pipeline, bool withStatus)
{
    addField(QStringLiteral("Project:"), pipeline, QStringLiteral("PRJ_NAME"));
    if (withStatus)
        addField(QStringLiteral("Status:"), pipeline, QStringLiteral("PRJ_STATUS"), 0, Qt::AlignRight);
}

void SheetFrame::identifyPerson(Pipeline &pipeline)
{
    addField(QStringLiteral("Person:"), pipeline, QStringLiteral("PERSON_NAME"));
}

void SheetFrame::relayout()
{
    const qreal ruleTop = kFirstLineMm + m_lines * kLineHeightMm + 0.5;
    m_closingRule->setGeometry(QRectF(0, ruleTop, m_width, 0));
    m_sheet.header().setHeight(ruleTop + 2.0);
}

} // namespace corvadel::reports
