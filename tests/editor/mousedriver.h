#pragma once

// Mouse events as a user's mouse makes them: they enter through the window
// system layer of the window, so the application picks the receiving
// widget itself (the widget under the mouse, the pressed widget while a
// button is held, the grabbing widget during a drag).

#include <QTest>
#include <QWidget>
#include <QWindow>

namespace qmtest {

inline QWindow *windowOf(QWidget *w)
{
    return w->window()->windowHandle();
}

// Where the driver last put the mouse, in window coordinates.
inline QPoint &lastMousePoint()
{
    static QPoint point;
    return point;
}

// The point of `w` at `p` in its window's coordinates. The test library
// takes a null point for the window's centre, so the window's own corner
// cannot be addressed (no test needs it).
inline QPoint inWindow(QWidget *w, QPoint p)
{
    return w->mapTo(w->window(), p);
}

inline void mousePress(QWidget *w, QPoint p, Qt::MouseButton button = Qt::LeftButton,
                       Qt::KeyboardModifiers keys = {})
{
    lastMousePoint() = inWindow(w, p);
    QTest::mousePress(windowOf(w), button, keys, lastMousePoint());
}

inline void mouseRelease(QWidget *w, QPoint p, Qt::MouseButton button = Qt::LeftButton,
                         Qt::KeyboardModifiers keys = {})
{
    lastMousePoint() = inWindow(w, p);
    QTest::mouseRelease(windowOf(w), button, keys, lastMousePoint());
}

// Releases where the mouse is, however the widget under it has moved.
inline void mouseReleaseHere(QWidget *w, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseRelease(windowOf(w), button, {}, lastMousePoint());
}

inline void mouseMove(QWidget *w, QPoint p)
{
    lastMousePoint() = inWindow(w, p);
    QTest::mouseMove(windowOf(w), lastMousePoint());
}

// Moves the mouse to a corner of the window. The window system layer
// drops a move to where the mouse already is, and the mouse stays where
// the last test left it: a test that starts here sees its first move.
inline void parkMouse(QWidget *window)
{
    lastMousePoint() = QPoint(2, 2);
    QTest::mouseMove(windowOf(window), lastMousePoint());
}

// Shows a window as the user sees it, with the mouse parked in its corner.
inline bool showParked(QWidget *window)
{
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return false;
    parkMouse(window);
    return true;
}

// The offscreen platform cannot grab the mouse at the window system level
// (the application still routes every mouse event to the grabbing widget)
// nor raise a popup; its warnings about that are dropped, every other
// message kept.
inline void ignoreOffscreenGrabWarnings()
{
    static QtMessageHandler next = nullptr;
    next = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &text) {
        if (text.startsWith(QLatin1String("This plugin does not support grabbing the"))
            || text == QLatin1String("This plugin does not support raise()"))
            return;
        if (next)
            next(type, context, text);
    });
}

// Moves from `from` to `to` (both in w's coordinates, taken at the start)
// one pixel at a time along each axis, as a hand does.
inline void mouseGlide(QWidget *w, QPoint from, QPoint to)
{
    const QPoint a = inWindow(w, from), b = inWindow(w, to);
    const int steps = qMax(qAbs(b.x() - a.x()), qAbs(b.y() - a.y()));
    QWindow *window = windowOf(w);
    for (int i = 1; i <= steps; ++i) {
        lastMousePoint() = a + (b - a) * i / steps;
        QTest::mouseMove(window, lastMousePoint());
    }
}

} // namespace qmtest

#include <QApplication>
#include <QMenu>
#include <QTimer>

namespace qmtest {

// Answers the popup menu that the next press opens, as a user does: the
// right button comes up over the menu's frame, then a left click on
// `action`. Call it before the press that opens the menu.
inline void choosePopupItem(QAction *action)
{
    auto *poll = new QTimer(qApp);
    poll->setInterval(0);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu || !menu->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        QTest::mouseRelease(menu, Qt::RightButton, {}, QPoint(1, 1));
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    });
    poll->start();
    // Nothing waits longer than the test's time-out for a menu.
    QTimer::singleShot(5000, poll, [poll] { poll->deleteLater(); });
}

} // namespace qmtest
