#include "app/Login/FrmLogin.h"

#include "app/Style.h"
#include "data/DataModule.h"

#include <QDate>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvadel::app {

using namespace corvadel::data;

QString FrmLogin::failureText()
{
    return QStringLiteral("Login was unsuccessfull, please try again or contact your System Administrator");
}

FrmLogin::FrmLogin(TDModBase &module, std::function<void()> connected, QWidget *parent)
    : QDialog(parent), m_module(module), m_connected(std::move(connected))
{
    setObjectName(QStringLiteral("FrmLogin"));
    setWindowTitle(QStringLiteral("Ardenmoor Corvadel - Login"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto *label1 = new QLabel(QStringLiteral("Please enter the following details (Case Sensative) to login:"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    auto *label2 = new QLabel(QStringLiteral("User Name:"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    auto *label3 = new QLabel(QStringLiteral("Password:"), this);
    label3->setObjectName(QStringLiteral("Label3"));

    m_userName = new QLineEdit(this);
    m_userName->setObjectName(QStringLiteral("EditUserName"));
    makeUpperCase(m_userName);
    m_password = new QLineEdit(this);
    m_password->setObjectName(QStringLiteral("EditPassword"));
    makeMasked(m_password);
    label2->setBuddy(m_userName);
    label3->setBuddy(m_password);

    auto *loginButton = new QPushButton(QStringLiteral("Login"), this);
    loginButton->setObjectName(QStringLiteral("Button1"));
    loginButton->setDefault(true);
    loginButton->setAutoDefault(true);
    auto *cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("Button2"));
    cancelButton->setAutoDefault(false);
    connect(loginButton, &QPushButton::clicked, this, &FrmLogin::login);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *notice = new QLabel(makerNotice(), this);
    notice->setObjectName(QStringLiteral("LabelNotice"));
    notice->setEnabled(false);

    auto *grid = new QGridLayout;
    grid->addWidget(label2, 0, 0);
    grid->addWidget(m_userName, 0, 1);
    grid->addWidget(label3, 1, 0);
    grid->addWidget(m_password, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(loginButton);
    buttons->addWidget(cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label1);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->addWidget(notice);
    setTabOrder(m_userName, m_password);
    setTabOrder(m_password, loginButton);
    setTabOrder(loginButton, cancelButton);
    m_userName->setFocus();
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void FrmLogin::login()
{
    const QString userName = m_userName->text();
    const QString password = m_password->text();
    try {
        performLogin(m_module, userName, password, m_connected);
        accept();
    } catch (const std::exception &) {
        // Whatever failed, the user sees one message and may try again;
        // nothing done so far is undone.
        QMessageBox box(QMessageBox::Warning, windowTitle(), failureText(), QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("LoginFailed"));
        box.exec();
        setResult(QDialog::Rejected);
    }
}

void performLogin(TDModBase &module, const QString &userName, const QString &password,
                  const std::function<void()> &connected)
{
    module.loginUserName = userName;
    module.loginPassword = password;
    // The entered credentials go after the stored ones and so take effect.
    module.appendConnectionParameter(QStringLiteral("user_name=") + userName);
    module.appendConnectionParameter(QStringLiteral("password=") + password);
    module.connectDatabase();
    if (connected)
        connected();
    module.OpenAllDataSets();

    Dataset *users = module.dataSet(QStringLiteral("IBDSSystemUser"));
    const bool found = users && users->locate(QStringLiteral("USER_NAME"), userName);
    if ((found && users->fieldByName(QStringLiteral("SYSTEMS_MANAGER"))->asString() == QLatin1String("Yes"))
        || userName == QLatin1String("SYSDBA"))
        module.systemsManager = true;
    // The server administrator's logins are not counted.
    if (userName == QLatin1String("SYSDBA"))
        return;
    if (found) {
        users->edit();
        Field *count = users->fieldByName(QStringLiteral("NBR_LOGINS"));
        count->setValue(count->asInteger() + 1);
        users->fieldByName(QStringLiteral("LAST_LOGIN_DATE"))->setValue(QDate::currentDate());
    }
    module.SaveRefDataGroup();
}

} // namespace corvadel::app
