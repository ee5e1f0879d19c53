#pragma once

// Answers the modal windows a test provokes, as a user would: each step waits
// for a modal window that it recognises, notes what it showed and then acts
// on it. Steps run in order; the actions run from a turn of the event loop
// of their own, so that a window opened by an action (a failure message
// after a click on "Login") gets its turn too.

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <deque>
#include <functional>

namespace corvadel::test {

class ModalScript
{
public:
    using Action = std::function<void(QWidget *)>;

    ModalScript()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
    }
    ~ModalScript() { m_timer.stop(); }

    // When the active modal window is a W named `objectName` (any name
    // when empty), run the action on it.
    template<typename W = QWidget>
    ModalScript &on(const QString &objectName, std::function<void(W *)> action)
    {
        m_steps.push_back({[objectName](QWidget *w) {
                               return qobject_cast<W *>(w)
                                      && (objectName.isEmpty() || w->objectName() == objectName);
                           },
                           [action](QWidget *w) { action(qobject_cast<W *>(w)); }});
        m_timer.start();
        return *this;
    }

    // When a message box appears, note its text and icon and click the
    // button with the given text (access-key marks ignored).
    ModalScript &answer(const QString &buttonText)
    {
        return on<QMessageBox>({}, [this, buttonText](QMessageBox *box) {
            texts << box->text();
            icons.push_back(box->icon());
            for (QAbstractButton *b : box->buttons()) {
                if (b->text().remove(QLatin1Char('&')) == buttonText) {
                    b->click();
                    return;
                }
            }
            unanswered << box->text();
            box->reject();
        });
    }

    // Presses Esc in the next message box.
    ModalScript &escape()
    {
        return on<QMessageBox>({}, [this](QMessageBox *box) {
            texts << box->text();
            icons.push_back(box->icon());
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(box, &press);
        });
    }

    bool done() const { return m_steps.empty() && m_running == 0; }
    int pending() const { return int(m_steps.size()); }

    QStringList texts;                       // what each answered box said
    std::vector<QMessageBox::Icon> icons;
    QStringList unanswered;                  // boxes without the expected button

private:
    struct Step
    {
        std::function<bool(QWidget *)> matches;
        Action act;
    };

    void poll()
    {
        if (m_steps.empty())
            return;
        // A window just handled is not handled again while it stays on
        // top; once another one has been on top, it may be again (the
        // login window after its failure message).
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == m_lastHandled || !m_steps.front().matches(modal))
            return;
        Step step = std::move(m_steps.front());
        m_steps.pop_front();
        m_lastHandled = modal;
        ++m_running;
        QPointer<QWidget> target = modal;
        QTimer::singleShot(0, [this, step, target] {
            if (target)
                step.act(target);
            --m_running;
        });
    }

    QTimer m_timer;
    std::deque<Step> m_steps;
    QPointer<QWidget> m_lastHandled;
    int m_running = 0;
};

} // namespace corvadel::test
