#pragma once

#include <QDialog>

#include <functional>

class QLineEdit;
class QPushButton;

namespace corvadel::data {
class TDModBase;
}

namespace corvadel::app {

// The login window: the user's own server account opens the connection,
// every dataset opens, the systems-manager right is given where due and the
// login is counted in the user's SYSTEM_USER row.
class FrmLogin : public QDialog
{
    Q_OBJECT

public:
    // `connected` is called as soon as the connection has opened.
    FrmLogin(data::TDModBase &module, std::function<void()> connected, QWidget *parent = nullptr);

    QLineEdit *userNameEdit() const { return m_userName; }
    QLineEdit *passwordEdit() const { return m_password; }

    // The failure text shown when any step of the login fails.
    static QString failureText();

private:
    void login();

    data::TDModBase &m_module;
    std::function<void()> m_connected;
    QLineEdit *m_userName;
    QLineEdit *m_password;
};

// The steps of a login after the connection parameters are known; throws
// when a step fails. Separate from the window so that it reads as the steps.
void performLogin(data::TDModBase &module, const QString &userName, const QString &password,
                  const std::function<void()> &connected);

} // namespace corvadel::app
