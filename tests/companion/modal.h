#pragma once
// Driving the library's modal windows from a test: an action runs on the next modal
// window once it is shown (the test's own timer polls while the window's loop runs), and
// keys with Turkish text are sent as the keyboard would.
#include <QApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace selvar::test {

// Runs `action` on the first visible modal window that `wanted` accepts, within five
// seconds; `*missed` is set when none came. The returned timer may be deleted to give up.
inline QPointer<QTimer> whenModalIf(std::function<bool(QWidget*)> wanted, std::function<void(QWidget*)> action,
                                    bool* missed = nullptr)
{
    auto* timer = new QTimer;
    const QDeadlineTimer deadline(5000);
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        QWidget* w = QApplication::activeModalWidget();
        if (w && w->isVisible() && wanted(w)) {
            timer->stop();
            timer->deleteLater();
            action(w);
            return;
        }
        if (deadline.hasExpired()) {
            timer->stop();
            timer->deleteLater();
            if (missed) *missed = true;
        }
    });
    timer->start(10);
    return timer;
}

// The next modal window other than `below`.
inline QPointer<QTimer> whenModal(std::function<void(QWidget*)> action, QWidget* below = nullptr,
                                  bool* missed = nullptr)
{
    return whenModalIf([below](QWidget* w) { return w != below; }, std::move(action), missed);
}

// The next message box.
inline QPointer<QTimer> whenMessage(std::function<void(QMessageBox*)> action, bool* missed = nullptr)
{
    return whenModalIf([](QWidget* w) { return qobject_cast<QMessageBox*>(w) != nullptr; },
                       [action](QWidget* w) { action(static_cast<QMessageBox*>(w)); }, missed);
}

inline void press(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {})
{
    QKeyEvent down(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(w, &up);
}

// Each character as a key with its text, Turkish letters included.
inline void typeText(QWidget* w, const QString& text)
{
    for (QChar c : text) {
        const char16_t u = c.toUpper().unicode();
        const bool plain = (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u' ' || u == u'.';
        press(w, plain ? int(u) : int(Qt::Key_unknown), Qt::NoModifier, QString(c));
    }
}

// A text read from one of the library's windows, copied into the test's own memory: a
// text written in the library's code lives in the library, which is unloaded after
// the call.
inline QString own(const QString& s) { return QString(s.constData(), s.size()); }

// The widget that has the keyboard in a window: its focus widget, else the window.
inline QWidget* keyTarget(QWidget* window)
{
    QWidget* f = window->focusWidget();
    return f ? f : window;
}

// Answers a message box with the button whose text is `caption` ("&Evet", "&Hayır", "Tamam").
inline void answerBox(QMessageBox* box, const QString& caption)
{
    for (QAbstractButton* b : box->buttons())
        if (b->text() == caption) {
            b->click();
            return;
        }
    box->reject();
}

}  // namespace selvar::test
