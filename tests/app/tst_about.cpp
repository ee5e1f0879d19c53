// The about window and its links, with the platform's open action replaced
// by one that records what it was handed.

#include "app/About/FrmAbout.h"
#include "app/About/LinkOpener.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace corvadel;

namespace {

class RecordingOpener : public app::LinkOpener
{
public:
    bool open(const QUrl &url) override
    {
        opened << url;
        return succeed;
    }
    QList<QUrl> opened;
    bool succeed = true;
};

} // namespace

class AboutTest : public QObject
{
    Q_OBJECT

private slots:
    void namesTheProduct();
    void linkClickOpensItsTarget_data();
    void linkClickOpensItsTarget();
    void okCloses();
};

void AboutTest::namesTheProduct()
{
    RecordingOpener opener;
    app::FrmAbout about(opener);
    QCOMPARE(about.windowTitle(), QStringLiteral("About Ardenmoor Corvadel"));
    QStringList texts;
    for (QLabel *label : about.findChildren<QLabel *>())
        if (!label->text().isEmpty())
            texts << label->text();
    for (const QString &expected : {QStringLiteral("Ardenmoor Corvadel"), QStringLiteral("Version 1.0"),
                                    QStringLiteral("Visit our Web Site at:"), QStringLiteral("Contact us at:")})
        QVERIFY2(texts.contains(expected), qPrintable(expected));
    QVERIFY(!about.findChild<QLabel *>(QStringLiteral("ProgramIcon"))->pixmap().isNull());
}

void AboutTest::linkClickOpensItsTarget_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("platformOpensIt");
    const QString web = app::FrmAbout::webAddress();
    const QString mail = QStringLiteral("mailto:") + app::FrmAbout::supportAddress();
    QTest::newRow("web site") << "LinkWebSite" << web << true;
    QTest::newRow("mail") << "LinkEmail" << mail << true;
    QTest::newRow("web site, no browser") << "LinkWebSite" << web << false;
    QTest::newRow("mail, no mail program") << "LinkEmail" << mail << false;
}

void AboutTest::linkClickOpensItsTarget()
{
    QFETCH(QString, link);
    QFETCH(QString, target);
    QFETCH(bool, platformOpensIt);
    RecordingOpener opener;
    opener.succeed = platformOpensIt;
    app::FrmAbout about(opener);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));

    auto *label = about.findChild<app::LinkLabel *>(link);
    QVERIFY(label);
    const QColor before = label->palette().color(QPalette::WindowText);
    QCOMPARE(before, label->palette().color(QPalette::Link));
    QTest::mouseClick(label, Qt::LeftButton);

    QCOMPARE(opener.opened, QList<QUrl>{QUrl(target)});
    // Opened: shown as visited from then on. Not opened: nothing changes,
    // nothing is said and the window stays.
    QCOMPARE(label->isVisited(), platformOpensIt);
    QCOMPARE(label->palette().color(QPalette::WindowText),
             platformOpensIt ? label->palette().color(QPalette::LinkVisited) : before);
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(about.isVisible());
    // Each link shows its own address as its text.
    QVERIFY(target.endsWith(label->text()));
}

void AboutTest::okCloses()
{
    RecordingOpener opener;
    app::FrmAbout about(opener);
    about.show();
    auto *ok = about.findChild<QPushButton *>(QStringLiteral("OKButton"));
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QVERIFY(ok->isDefault());
    QTest::keyClick(&about, Qt::Key_Return);
    QVERIFY(!about.isVisible());
    QCOMPARE(about.result(), int(QDialog::Accepted));
    QVERIFY(opener.opened.isEmpty());
}

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
