#include "reports/Elements.h"

#include "reports/DisplayFormat.h"
#include "reports/Pipeline.h"
#include "reports/RecordSource.h"
#include "reports/Units.h"

#include <QAbstractTextDocumentLayout>
#include <QStringList>
#include <QFontMetricsF>
#include <QLocale>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <exception>
#include <unordered_map>

namespace corvadel::reports {

Element::Element(const QRectF &geometryMm)
    : m_geometry(geometryMm)
{
}

Element::~Element() = default;

Fragment ElementContainer::layoutElements(LayoutContext &context, qreal declaredHeight) const
{
    struct Placed
    {
        qreal declaredBottom;
        qreal bottom;
    };
    std::unordered_map<const Element *, Placed> placed;
    Fragment out;
    qreal lowestDeclared = 0;
    qreal lowest = 0;
    for (const auto &element : m_elements) {
        const QRectF declared = fromMm(element->geometry());
        qreal top = declared.top();
        if (const Element *above = element->stackedBelow()) {
            const auto it = placed.find(above);
            Q_ASSERT_X(it != placed.end(), "ElementContainer", "stacked below an element declared later or elsewhere");
            if (it != placed.end())
                top = it->second.bottom + (declared.top() - it->second.declaredBottom);
        }
        Fragment fragment = element->layout(context);
        const qreal bottom = top + fragment.height;
        placed[element.get()] = {declared.bottom(), bottom};
        lowestDeclared = std::max(lowestDeclared, declared.bottom());
        lowest = std::max(lowest, bottom);
        out.append(std::move(fragment), declared.left(), top);
    }
    if (m_elements.empty())
        out.height = declaredHeight;
    else
        out.height = lowest + std::max<qreal>(0, declaredHeight - lowestDeclared);
    return out;
}

Fragment Band::layout(LayoutContext &context) const
{
    Fragment fragment = layoutElements(context, fromMm(m_height));
    if (m_keepTogether)
        fragment.keeps.push_back({0, fragment.height});
    return fragment;
}

// ---------------------------------------------------------------- text

QFont TextElement::defaultFont()
{
    return sheetFont(10);
}

Fragment TextElement::layout(LayoutContext &context) const
{
    const QFont font = layoutFont(m_font);
    const QFontMetricsF metrics(font);
    const QRectF declared = fromMm(geometry());
    const QString content = text(context);

    QRectF rect(0, 0, declared.width(), declared.height() > 0 ? declared.height() : metrics.height());
    int flags = int(m_alignment & Qt::AlignHorizontal_Mask) | int(Qt::AlignTop);
    if (m_autoWidth) {
        const qreal width = metrics.horizontalAdvance(content);
        if (m_alignment & Qt::AlignRight)
            rect.setLeft(declared.width() - width);
        else if (m_alignment & Qt::AlignHCenter)
            rect.setLeft((declared.width() - width) / 2);
        rect.setWidth(width);
    }
    if (m_wordWrap) {
        flags |= Qt::TextWordWrap;
        const QRectF needed = metrics.boundingRect(QRectF(0, 0, rect.width(), 1e9), flags, content);
        rect.setHeight(std::max(rect.height(), needed.height()));
    }
    Fragment fragment;
    fragment.height = rect.height();
    fragment.items.push_back(textItem({rect, content, font, flags, pageField()}));
    return fragment;
}

Label::Label(const QRectF &geometryMm, QString caption)
    : TextElement(geometryMm)
    , m_caption(std::move(caption))
{
}

DataText::DataText(const QRectF &geometryMm, Pipeline &pipeline, QString field)
    : TextElement(geometryMm)
    , m_pipeline(&pipeline)
    , m_field(std::move(field))
{
}

QString DataText::text(const LayoutContext &) const
{
    if (m_format.isEmpty())
        return m_pipeline->displayText(m_field);
    const std::optional<QVariant> value = m_pipeline->value(m_field);
    return value ? format::value(*value, m_format) : QString();
}

SystemVariable::SystemVariable(const QRectF &geometryMm, SystemVariableKind kind)
    : TextElement(geometryMm)
    , m_kind(kind)
{
}

QString SystemVariable::text(const LayoutContext &context) const
{
    switch (m_kind) {
    case SystemVariableKind::PrintDateTime:
        return QLocale::system().toString(context.printedAt, QLocale::ShortFormat);
    case SystemVariableKind::PageNumber:
        // Until the pages are known, room for a few digits is measured.
        return context.pageNumber > 0 ? QString::number(context.pageNumber) : QStringLiteral("999");
    case SystemVariableKind::PageCount:
        return context.pageCount > 0 ? QString::number(context.pageCount) : QStringLiteral("999");
    }
    return QString();
}

PageField SystemVariable::pageField() const
{
    switch (m_kind) {
    case SystemVariableKind::PageNumber:
        return PageField::PageNumber;
    case SystemVariableKind::PageCount:
        return PageField::PageCount;
    default:
        return PageField::None;
    }
}

CalcVariable::CalcVariable(const QRectF &geometryMm, std::function<QString()> onCalculate)
    : TextElement(geometryMm)
    , m_onCalculate(std::move(onCalculate))
{
}

QString CalcVariable::text(const LayoutContext &) const
{
    return m_onCalculate ? m_onCalculate() : QString();
}

Fragment TextRow::layout(LayoutContext &context) const
{
    struct Piece
    {
        QString text;
        QFont font;
        qreal width;
        qreal ascent;
        qreal height;
        PageField field;
    };
    std::vector<Piece> pieces;
    qreal ascent = 0;
    qreal height = 0;
    qreal total = 0;
    for (const auto &element : m_pieces) {
        const QFont font = layoutFont(element->font());
        const QFontMetricsF metrics(font);
        Piece piece{element->text(context), font, 0, metrics.ascent(), metrics.height(), element->pageField()};
        piece.width = metrics.horizontalAdvance(piece.text);
        ascent = std::max(ascent, piece.ascent);
        height = std::max(height, piece.height);
        total += piece.width;
        pieces.push_back(std::move(piece));
    }
    const qreal spacing = m_spacing ? fromMm(*m_spacing)
                                    : (pieces.empty() ? 0 : QFontMetricsF(pieces.front().font).horizontalAdvance(u' '));
    if (!pieces.empty())
        total += spacing * qreal(pieces.size() - 1);

    const QRectF declared = fromMm(geometry());
    qreal x = 0;
    if (m_alignment & Qt::AlignRight)
        x = declared.width() - total;
    else if (m_alignment & Qt::AlignHCenter)
        x = (declared.width() - total) / 2;

    Fragment fragment;
    fragment.height = std::max(declared.height(), height);
    for (Piece &piece : pieces) {
        const QRectF rect(x, ascent - piece.ascent, piece.width, piece.height);
        fragment.items.push_back(textItem({rect, std::move(piece.text), piece.font,
                                           int(Qt::AlignLeft | Qt::AlignTop) | int(Qt::TextDontClip), piece.field}));
        x += piece.width + spacing;
    }
    return fragment;
}

Line::Line(const QRectF &geometryMm, qreal weightPt)
    : Element(geometryMm)
    , m_weight(weightPt)
{
}

Fragment Line::layout(LayoutContext &) const
{
    const QRectF declared = fromMm(geometry());
    const qreal weight = fromPt(m_weight);
    Fragment fragment;
    fragment.height = std::max(declared.height(), weight);
    fragment.items.push_back(lineItem({QLineF(0, weight / 2, declared.width(), weight / 2), weight}));
    return fragment;
}

// ---------------------------------------------------------------- rich text

DataRichText::DataRichText(const QRectF &geometryMm, Pipeline &pipeline, QString field)
    : Element(geometryMm)
    , m_pipeline(&pipeline)
    , m_field(std::move(field))
    , m_font(sheetFont(10))
{
}

namespace {

QByteArray storedBytes(const QVariant &value)
{
    if (value.metaType().id() == QMetaType::QByteArray)
        return value.toByteArray();
    return value.toString().toUtf8();
}

// The tops of the document's lines, in document coordinates: the places
// where the text may be cut between pages.
std::vector<qreal> lineTops(QTextDocument &doc)
{
    std::vector<qreal> tops;
    QAbstractTextDocumentLayout *layout = doc.documentLayout();
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QTextLayout *lines = block.layout();
        if (!lines)
            continue;
        const qreal blockTop = layout->blockBoundingRect(block).top();
        for (int i = 0; i < lines->lineCount(); ++i)
            tops.push_back(blockTop + lines->lineAt(i).y());
    }
    std::sort(tops.begin(), tops.end());
    tops.erase(std::unique(tops.begin(), tops.end()), tops.end());
    return tops;
}

} // namespace

Fragment DataRichText::layout(LayoutContext &context) const
{
    const QRectF declared = fromMm(geometry());
    Fragment fragment;
    fragment.height = declared.height();

    const std::optional<QVariant> value = m_pipeline->value(m_field);
    if (!value || !value->isValid())
        return fragment;
    const QByteArray bytes = storedBytes(*value);
    if (bytes.isEmpty())
        return fragment;

    auto doc = std::make_shared<QTextDocument>();
    if (context.textDevice)
        doc->documentLayout()->setPaintDevice(context.textDevice);
    doc->setDocumentMargin(0);
    QFont font = m_font;
    font.setStyleStrategy(QFont::PreferNoShaping);
    doc->setDefaultFont(font);
    try {
        (context.loader ? context.loader : plainTextLoader())(bytes, *doc);
    } catch (const std::exception &) {
        // A memo the codec cannot read still prints, as the text it holds.
        plainTextLoader()(bytes, *doc);
    }
    doc->setTextWidth(declared.width());
    const qreal docHeight = doc->documentLayout()->documentSize().height();
    const qreal shown = m_stretch ? docHeight : std::min(docHeight, declared.height());
    if (m_stretch)
        fragment.height = std::max(declared.height(), docHeight);

    // One slice per line, tiling the document from its top to where it is
    // cut off, so that nothing between lines (table rules, spacing) is lost.
    std::vector<qreal> cuts = lineTops(*doc);
    if (cuts.empty() || cuts.front() > 0)
        cuts.insert(cuts.begin(), 0);
    cuts.front() = 0;
    cuts.erase(std::remove_if(cuts.begin(), cuts.end(), [&](qreal y) { return y >= shown; }), cuts.end());
    cuts.push_back(shown);
    for (size_t i = 0; i + 1 < cuts.size(); ++i) {
        if (cuts[i + 1] <= cuts[i])
            continue;
        fragment.items.push_back(richItem({doc, QPointF(0, cuts[i]), cuts[i], cuts[i + 1]}));
    }
    return fragment;
}

Region::Region(const QRectF &geometryMm)
    : Element(geometryMm)
{
}

Fragment Region::layout(LayoutContext &context) const
{
    const qreal declaredHeight = fromMm(geometry().height());
    Fragment fragment = layoutElements(context, declaredHeight);
    if (!m_stretch)
        fragment.height = declaredHeight;
    return fragment;
}

// ---------------------------------------------------------------- check box

CheckBox::CheckBox(const QRectF &geometryMm, Pipeline *pipeline, QString field)
    : Element(geometryMm.isEmpty() ? QRectF(geometryMm.topLeft(), QSizeF(6.35, 6.35)) : geometryMm)
    , m_pipeline(pipeline)
    , m_field(std::move(field))
{
}

bool CheckBox::isChecked() const
{
    if (!m_pipeline)
        return false;
    const std::optional<QString> value = m_pipeline->text(m_field);
    if (!value)
        return false;
    if (!m_trueText.isEmpty())
        return *value == m_trueText;
    if (!m_falseText.isEmpty())
        return *value != m_falseText;
    return !value->isEmpty();
}

QString CheckBox::glyph() const
{
    const bool boxed = m_style == CheckStyle::CheckmarkAndBox || m_style == CheckStyle::XAndBox;
    if (!isChecked())
        return boxed ? QString(QChar(0x2610)) : QString();
    switch (m_style) {
    case CheckStyle::CheckmarkAndBox:
        return QString(QChar(0x2611));
    case CheckStyle::XAndBox:
        return QString(QChar(0x2612));
    case CheckStyle::CheckmarkOnly:
        return QString(QChar(0x2713));
    case CheckStyle::XOnly:
        return QString(QChar(0x2717));
    }
    return QString();
}

Fragment CheckBox::layout(LayoutContext &) const
{
    const QRectF declared = fromMm(geometry());
    Fragment fragment;
    fragment.height = declared.height();
    const QString symbol = glyph();
    if (symbol.isEmpty())
        return fragment;
    // A symbol font scaled to the element's height.
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Segoe UI Symbol"), QStringLiteral("Symbol")});
    font.setPixelSize(std::max(1, qRound(declared.height() * 0.9)));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferNoShaping);
    fragment.items.push_back(textItem({QRectF(0, 0, declared.width(), declared.height()), symbol, font,
                                       int(Qt::AlignCenter) | int(Qt::TextDontClip)}));
    return fragment;
}

// ---------------------------------------------------------------- sub-sheet

SubSheet::SubSheet(const QRectF &geometryMm, Pipeline *pipeline)
    : Element(geometryMm)
    , m_pipeline(pipeline)
{
}

Fragment SubSheet::layout(LayoutContext &context) const
{
    Fragment out;
    qreal y = 0;
    auto place = [&](const Band &band) {
        Fragment fragment = band.layout(context);
        const qreal height = fragment.height;
        out.append(std::move(fragment), 0, y);
        y += height;
    };

    place(m_title);
    if (m_pipeline) {
        const int outerRow = m_pipeline->row();
        m_pipeline->followMasterRow();
        int last = -1;
        for (int row = m_pipeline->firstRow(); row >= 0; row = m_pipeline->nextRow(row)) {
            m_pipeline->setRow(row);
            place(m_detail);
            last = row;
        }
        // The summary sees the last record, as totals over the list would.
        m_pipeline->setRow(last);
        place(m_summary);
        m_pipeline->setRow(outerRow);
    } else {
        place(m_detail);
        place(m_summary);
    }
    out.height = y;
    if (m_keepTogether)
        out.keeps.push_back({0, y});
    return out;
}

} // namespace corvadel::reports
