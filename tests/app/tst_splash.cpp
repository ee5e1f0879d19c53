// The splash window shown while the program starts.

#include "app/Splash/SplashForm.h"

#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QtTest>

using namespace corvadel;

class SplashTest : public QObject
{
    Q_OBJECT

private slots:
    void borderlessCentredAndPaintedAtOnce();
};

void SplashTest::borderlessCentredAndPaintedAtOnce()
{
    app::SplashForm splash;
    splash.showNow();
    // Shown before any event loop runs.
    QVERIFY(splash.isVisible());
    QVERIFY(splash.windowFlags() & Qt::FramelessWindowHint);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY((splash.frameGeometry().center() - screen.center()).manhattanLength() <= 2);

    auto *panel = splash.findChild<QFrame *>(QStringLiteral("Panel1"));
    QCOMPARE(panel->frameShadow(), QFrame::Sunken);
    QCOMPARE(panel->palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(splash.loadingLabel()->text(), QStringLiteral("Loading ...."));
    QVERIFY(!splash.findChild<QLabel *>(QStringLiteral("ImageLogo"))->pixmap().isNull());
    QVERIFY(!splash.findChild<QLabel *>(QStringLiteral("ImageBanner"))->pixmap().isNull());
    QVERIFY(splash.findChild<QLabel *>(QStringLiteral("LabelNotice"))->text().contains(QStringLiteral("Ardenmoor")));
    // Nothing on it takes the focus: it has no controls to use.
    for (QWidget *w : splash.findChildren<QWidget *>())
        QCOMPARE(w->focusPolicy(), Qt::NoFocus);
}

QTEST_MAIN(SplashTest)
#include "tst_splash.moc"
