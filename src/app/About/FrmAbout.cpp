#include "app/About/FrmAbout.h"

#include "app/About/LinkOpener.h"
#include "app/Artwork.h"
#include "app/Style.h"

#include <QDesktopServices>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvadel::app {

bool DesktopLinkOpener::open(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

// --- a link -------------------------------------------------------------------

LinkLabel::LinkLabel(const QString &text, const QUrl &target, QWidget *parent)
    : QLabel(text, parent), m_target(target.isEmpty() ? QUrl(text) : target)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setVisited(false);
}

void LinkLabel::setVisited(bool visited)
{
    m_visited = visited;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, p.color(visited ? QPalette::LinkVisited : QPalette::Link));
    setPalette(p);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit activated(m_target);
}

void LinkLabel::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space) {
        emit activated(m_target);
        return;
    }
    QLabel::keyPressEvent(event);
}

// --- the window ---------------------------------------------------------------

QString FrmAbout::webAddress()
{
    return QStringLiteral("http://www.ardenmoor.example.com/corvadel");
}

QString FrmAbout::supportAddress()
{
    return QStringLiteral("corvadel.support@ardenmoor.example.com");
}

FrmAbout::FrmAbout(LinkOpener &opener, QWidget *parent) : QDialog(parent), m_opener(opener)
{
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(QStringLiteral("About Ardenmoor Corvadel"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto *panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);

    auto *icon = new QLabel(panel);
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    icon->setPixmap(artwork::logo(48));

    auto *product = new QLabel(QStringLiteral("Ardenmoor Corvadel"), panel);
    product->setObjectName(QStringLiteral("ProductName"));
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    product->setFont(big);

    auto *version = new QLabel(QStringLiteral("Version 1.0"), panel);
    version->setObjectName(QStringLiteral("Version"));

    auto *webCaption = new QLabel(QStringLiteral("Visit our Web Site at:"), panel);
    webCaption->setObjectName(QStringLiteral("LabelWebSite"));
    m_web = new LinkLabel(webAddress(), QUrl(webAddress()), panel);
    m_web->setObjectName(QStringLiteral("LinkWebSite"));

    auto *mailCaption = new QLabel(QStringLiteral("Contact us at:"), panel);
    mailCaption->setObjectName(QStringLiteral("LabelContact"));
    m_mail = new LinkLabel(supportAddress(), QUrl(QStringLiteral("mailto:") + supportAddress()), panel);
    m_mail->setObjectName(QStringLiteral("LinkEmail"));

    auto *heading = new QHBoxLayout;
    heading->addWidget(icon, 0, Qt::AlignTop);
    auto *names = new QVBoxLayout;
    names->addWidget(product);
    names->addWidget(version);
    heading->addSpacing(8);
    heading->addLayout(names, 1);

    auto *inner = new QVBoxLayout(panel);
    inner->setContentsMargins(14, 14, 14, 14);
    inner->addLayout(heading);
    inner->addSpacing(12);
    inner->addWidget(webCaption);
    inner->addWidget(m_web);
    inner->addSpacing(6);
    inner->addWidget(mailCaption);
    inner->addWidget(m_mail);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (LinkLabel *link : {m_web, m_mail})
        connect(link, &LinkLabel::activated, this, [this, link] { follow(link); });
}

void FrmAbout::follow(LinkLabel *link)
{
    // A link the platform could not open is left as it was, and nothing
    // is said about it.
    if (m_opener.open(link->target()))
        link->setVisited(true);
}

} // namespace corvadel::app
