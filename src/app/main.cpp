#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Ardenmoor Corvadel"));
    QMainWindow window;
    window.setObjectName(QStringLiteral("FrmMain"));
    window.setWindowTitle(QStringLiteral("Corvadel"));
    window.resize(1024, 700);
    window.show();
    return app.exec();
}
