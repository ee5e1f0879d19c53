#include "app/Style.h"

#include <QLineEdit>
#include <QProxyStyle>

namespace corvadel::app {

namespace {

// Masks with "*" whatever the platform's own password character is.
class StarMaskStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        if (hint == SH_LineEdit_PasswordMaskDelay)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

void makeUpperCase(QLineEdit *edit)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString &text) {
        const QString upper = text.toUpper();
        if (upper == text)
            return;
        const int cursor = edit->cursorPosition();
        edit->setText(upper);
        edit->setCursorPosition(cursor);
    });
}

void makeMasked(QLineEdit *edit)
{
    auto *style = new StarMaskStyle;
    style->setParent(edit);
    edit->setStyle(style);
    edit->setEchoMode(QLineEdit::Password);
}

QString makerNotice()
{
    return QStringLiteral("Copyright \u00A9 Ardenmoor Software. All rights reserved.");
}

} // namespace corvadel::app
