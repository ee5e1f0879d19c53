// The yardstick of start-up time: the least a Qt Widgets program does to
// show one window with a line of text in it.

#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Hello"));
    window.setObjectName(QStringLiteral("MinimalWindow"));
    window.show();
    return app.exec();
}
