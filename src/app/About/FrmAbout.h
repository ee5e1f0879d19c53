#pragma once

#include <QDialog>
#include <QLabel>
#include <QUrl>

namespace corvadel::app {

class LinkOpener;

// A link shown as its text; a click hands its target to the platform's open
// action. Once opened it keeps the visited-link colour.
class LinkLabel : public QLabel
{
    Q_OBJECT

public:
    LinkLabel(const QString &text, const QUrl &target, QWidget *parent = nullptr);
    const QUrl &target() const { return m_target; }
    bool isVisited() const { return m_visited; }
    void setVisited(bool visited);

signals:
    void activated(const QUrl &target);

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QUrl m_target;
    bool m_visited = false;
};

// The about window: the program icon, the product's name and version, and
// links to the maker's web site and support address.
class FrmAbout : public QDialog
{
    Q_OBJECT

public:
    FrmAbout(LinkOpener &opener, QWidget *parent = nullptr);

    static QString webAddress();
    static QString supportAddress();

    LinkLabel *webLink() const { return m_web; }
    LinkLabel *mailLink() const { return m_mail; }

private:
    void follow(LinkLabel *link);

    LinkOpener &m_opener;
    LinkLabel *m_web;
    LinkLabel *m_mail;
};

} // namespace corvadel::app
