#include "controls/ErrorReporting.h"

#include "data/Errors.h"

#include <QApplication>
#include <QMessageBox>

namespace corvadel::controls {

void reportError(QWidget *parent, const std::exception &error)
{
    if (dynamic_cast<const data::Abort *>(&error))
        return;
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), data::errorMessage(error),
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("ErrorMessage"));
    box.exec();
}

bool runAction(QWidget *parent, const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (const std::exception &error) {
        reportError(parent, error);
        return false;
    }
}

} // namespace corvadel::controls
