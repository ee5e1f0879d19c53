#include "app/MessagePrompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace corvadel::app {

namespace {

QWidget *owner()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

} // namespace

void MessagePrompt::warning(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, QApplication::applicationDisplayName(), text, QMessageBox::Ok, owner());
    box.setObjectName(QLatin1String(WarningName));
    box.exec();
}

bool MessagePrompt::confirm(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, QApplication::applicationDisplayName(), text,
                    QMessageBox::Yes | QMessageBox::No, owner());
    box.setObjectName(QLatin1String(ConfirmName));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace corvadel::app
