#pragma once

#include "reports/Layout.h"

#include <QFont>
#include <QRectF>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace corvadel::reports {

class Pipeline;

// Something printed in a band. Its geometry is in millimetres relative to
// the band (or region, or sub-sheet) that holds it.
class Element
{
public:
    explicit Element(const QRectF &geometryMm);
    virtual ~Element();
    Element(const Element &) = delete;
    Element &operator=(const Element &) = delete;

    QRectF geometry() const { return m_geometry; }
    void setGeometry(const QRectF &geometryMm) { m_geometry = geometryMm; }

    // Stacking: this element keeps its declared distance below `above`, so it
    // moves down as much as `above` grows (and up as much as it shrinks).
    // `above` must be declared earlier in the same band or region.
    void stackBelow(const Element &above) { m_above = &above; }
    const Element *stackedBelow() const { return m_above; }

    // Lays the element out at its declared width. The fragment's items are
    // relative to the element's top-left corner; its height is what the
    // element takes on the page.
    virtual Fragment layout(LayoutContext &context) const = 0;

private:
    QRectF m_geometry;
    const Element *m_above = nullptr;
};

// Owns elements and lays them out together, applying the stacking rule.
class ElementContainer
{
public:
    ElementContainer() = default;
    ElementContainer(const ElementContainer &) = delete;
    ElementContainer &operator=(const ElementContainer &) = delete;

    template<class T, class... Args>
    T &add(Args &&...args)
    {
        auto element = std::make_unique<T>(std::forward<Args>(args)...);
        T &ref = *element;
        m_elements.push_back(std::move(element));
        return ref;
    }

    const std::vector<std::unique_ptr<Element>> &elements() const { return m_elements; }

protected:
    // The container's height follows its content: the declared space below
    // the lowest element is kept below where that content ends.
    Fragment layoutElements(LayoutContext &context, qreal declaredHeight) const;

private:
    std::vector<std::unique_ptr<Element>> m_elements;
};

// A band: a strip of the page with its elements. Its height grows with
// stretching content.
class Band : public ElementContainer
{
public:
    void setHeight(qreal mm) { m_height = mm; }
    qreal height() const { return m_height; }
    // Moves the whole band to the next page when it does not fit on this one.
    void setKeepTogether(bool keep) { m_keepTogether = keep; }
    bool isEmpty() const { return elements().empty() && m_height <= 0; }

    Fragment layout(LayoutContext &context) const;

private:
    qreal m_height = 0;
    bool m_keepTogether = false;
};

// Text in one font. A height of 0 takes the font's line height.
class TextElement : public Element
{
public:
    using Element::Element;

    void setFont(const QFont &font) { m_font = font; }
    const QFont &font() const { return m_font; }
    void setBold(bool bold) { m_font.setBold(bold); }
    void setPointSize(qreal size) { m_font.setPointSizeF(size); }
    void setAlignment(Qt::Alignment alignment) { m_alignment = alignment; }
    Qt::Alignment alignment() const { return m_alignment; }
    // Automatic width: the element is as wide as its text, kept at the side
    // its alignment names.
    void setAutoWidth(bool autoWidth) { m_autoWidth = autoWidth; }
    // Word wrap: long text wraps within the width and the element grows.
    void setWordWrap(bool wrap) { m_wordWrap = wrap; }

    virtual QString text(const LayoutContext &context) const = 0;
    virtual PageField pageField() const { return PageField::None; }

    Fragment layout(LayoutContext &context) const override;

private:
    QFont m_font = defaultFont();
    static QFont defaultFont();
    Qt::Alignment m_alignment = Qt::AlignLeft;
    bool m_autoWidth = false;
    bool m_wordWrap = false;
};

class Label : public TextElement
{
public:
    Label(const QRectF &geometryMm, QString caption);
    QString text(const LayoutContext &) const override { return m_caption; }
    void setCaption(const QString &caption) { m_caption = caption; }

private:
    QString m_caption;
};

// A field of a pipeline: the source's display text, or with a display format
// (DisplayFormat.h) the value formatted by it.
class DataText : public TextElement
{
public:
    DataText(const QRectF &geometryMm, Pipeline &pipeline, QString field);
    void setDisplayFormat(const QString &pattern) { m_format = pattern; }
    QString text(const LayoutContext &context) const override;

private:
    Pipeline *m_pipeline;
    QString m_field;
    QString m_format;
};

enum class SystemVariableKind { PrintDateTime, PageNumber, PageCount };

// The print date-time in the platform's short format, the page number or the
// page count.
class SystemVariable : public TextElement
{
public:
    SystemVariable(const QRectF &geometryMm, SystemVariableKind kind);
    QString text(const LayoutContext &context) const override;
    PageField pageField() const override;

private:
    SystemVariableKind m_kind;
};

// Text supplied by the sheet's owner when the element is printed.
class CalcVariable : public TextElement
{
public:
    CalcVariable(const QRectF &geometryMm, std::function<QString()> onCalculate);
    QString text(const LayoutContext &) const override;

private:
    std::function<QString()> m_onCalculate;
};

// Text pieces set one after another on a line, each as wide as its text, as
// in "Page 2 of 5" or a bold caption followed by its value. The row sits at
// the side of its geometry that its alignment names.
class TextRow : public Element
{
public:
    using Element::Element;

    template<class T, class... Args>
    T &add(Args &&...args)
    {
        auto piece = std::make_unique<T>(QRectF(), std::forward<Args>(args)...);
        T &ref = *piece;
        m_pieces.push_back(std::move(piece));
        return ref;
    }

    void setAlignment(Qt::Alignment alignment) { m_alignment = alignment; }
    // Space between pieces; by default a space of the first piece's font.
    void setSpacing(qreal mm) { m_spacing = mm; }

    Fragment layout(LayoutContext &context) const override;

private:
    std::vector<std::unique_ptr<TextElement>> m_pieces;
    Qt::Alignment m_alignment = Qt::AlignLeft;
    std::optional<qreal> m_spacing;
};

// A horizontal rule along the top of its geometry.
class Line : public Element
{
public:
    explicit Line(const QRectF &geometryMm, qreal weightPt = 0.75);
    Fragment layout(LayoutContext &context) const override;

private:
    qreal m_weight;
};

// A rich-text memo field. Stretching, it grows downwards to fit its text;
// otherwise it shows what fits in its declared height.
class DataRichText : public Element
{
public:
    DataRichText(const QRectF &geometryMm, Pipeline &pipeline, QString field);
    void setStretch(bool stretch) { m_stretch = stretch; }
    void setFont(const QFont &font) { m_font = font; }
    Fragment layout(LayoutContext &context) const override;

private:
    Pipeline *m_pipeline;
    QString m_field;
    bool m_stretch = true;
    QFont m_font;
};

// A borderless group; stretching, it grows with its elements (and shrinks
// when a sub-sheet in it has no rows). Not stretching, it takes its declared
// height whatever its elements need; they are not clipped.
class Region : public Element, public ElementContainer
{
public:
    explicit Region(const QRectF &geometryMm);
    void setStretch(bool stretch) { m_stretch = stretch; }
    Fragment layout(LayoutContext &context) const override;

private:
    bool m_stretch = true;
};

enum class CheckStyle { CheckmarkAndBox, XAndBox, CheckmarkOnly, XOnly };

// A check glyph for a field read as text. Checked: with no pipeline, never;
// with a true text, exactly when the value equals it (case-sensitive); else
// with a false text, when the value differs from it; else when the value is
// not empty. A value that cannot be read is unchecked.
class CheckBox : public Element
{
public:
    // A zero size takes the default quarter-inch square.
    CheckBox(const QRectF &geometryMm, Pipeline *pipeline, QString field);

    void setTrueText(const QString &text) { m_trueText = text; }
    void setFalseText(const QString &text) { m_falseText = text; }
    void setStyle(CheckStyle style) { m_style = style; }

    bool isChecked() const;
    // The glyph drawn for the current value ("" for none).
    QString glyph() const;
    Fragment layout(LayoutContext &context) const override;

private:
    Pipeline *m_pipeline;
    QString m_field;
    QString m_trueText = QStringLiteral("True");
    QString m_falseText = QStringLiteral("False");
    CheckStyle m_style = CheckStyle::CheckmarkAndBox;
};

// A child sheet printed inside a band: its title band, one detail band per
// record of its pipeline (the children of the enclosing record when the
// pipeline has a master), then its summary band. Its height is what that
// takes, so a sub-sheet without records shrinks to its title and summary
// and whatever is stacked below it moves up.
class SubSheet : public Element
{
public:
    SubSheet(const QRectF &geometryMm, Pipeline *pipeline);

    Band &title() { return m_title; }
    Band &detail() { return m_detail; }
    Band &summary() { return m_summary; }
    Pipeline *pipeline() const { return m_pipeline; }

    // Moves the whole sub-sheet to the next page when it fits on one page but
    // not on the rest of this one.
    void setKeepTogether(bool keep) { m_keepTogether = keep; }

    Fragment layout(LayoutContext &context) const override;

private:
    Pipeline *m_pipeline;
    Band m_title;
    Band m_detail;
    Band m_summary;
    bool m_keepTogether = false;
};

} // namespace corvadel::reports
