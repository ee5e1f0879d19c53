#include "app/Splash/SplashForm.h"

#include "app/Artwork.h"
#include "app/Style.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace corvadel::app {

SplashForm::SplashForm(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("SplashForm"));

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(2);
    panel->setAutoFillBackground(true);
    QPalette white = panel->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, QColor(0x33, 0x33, 0x33));
    panel->setPalette(white);

    auto *logo = new QLabel(panel);
    logo->setObjectName(QStringLiteral("ImageLogo"));
    logo->setPixmap(artwork::logo(96));
    logo->setAlignment(Qt::AlignCenter);

    auto *banner = new QLabel(panel);
    banner->setObjectName(QStringLiteral("ImageBanner"));
    banner->setPixmap(artwork::banner(380, 84));
    banner->setAlignment(Qt::AlignCenter);

    m_loading = new QLabel(QStringLiteral("Loading ...."), panel);
    m_loading->setObjectName(QStringLiteral("LabelLoading"));
    m_loading->setAlignment(Qt::AlignCenter);
    QFont loadingFont = m_loading->font();
    loadingFont.setBold(true);
    m_loading->setFont(loadingFont);

    auto *notice = new QLabel(makerNotice(), panel);
    notice->setObjectName(QStringLiteral("LabelNotice"));
    notice->setAlignment(Qt::AlignCenter);
    QFont small = notice->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    notice->setFont(small);

    auto *inner = new QVBoxLayout(panel);
    inner->setContentsMargins(24, 20, 24, 10);
    inner->setSpacing(12);
    inner->addWidget(logo);
    inner->addWidget(banner);
    inner->addSpacing(6);
    inner->addWidget(m_loading);
    inner->addStretch();
    inner->addWidget(notice);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panel);
    setFixedSize(sizeHint().expandedTo(QSize(440, 300)));

    // The label blinks whenever the event loop gets a turn during start-up.
    m_blink.setInterval(450);
    connect(&m_blink, &QTimer::timeout, this, [this] {
        QPalette p = m_loading->palette();
        const bool shown = p.color(QPalette::WindowText) != Qt::white;
        p.setColor(QPalette::WindowText, shown ? QColor(Qt::white) : QColor(0x33, 0x33, 0x33));
        m_loading->setPalette(p);
    });
}

void SplashForm::showNow()
{
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
    show();
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_blink.start();
}

} // namespace corvadel::app
