#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;

namespace corvadel::app {

// The window shown while the program starts: borderless, centred on the
// screen, a white panel with a lowered bevel holding the logo, the banner,
// the blinking "Loading ...." and the maker's notice. Nothing on it can be
// used.
class SplashForm : public QWidget
{
    Q_OBJECT

public:
    explicit SplashForm(QWidget *parent = nullptr);

    // Shows the window centred on its screen and paints it at once, before
    // the event loop runs.
    void showNow();

    QLabel *loadingLabel() const { return m_loading; }

private:
    QLabel *m_loading;
    QTimer m_blink;
};

} // namespace corvadel::app
