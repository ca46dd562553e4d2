// SPDX-License-Identifier: Apache-2.0
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

/** The control of the window with the objectName; the test stops when there is none. */
template <typename T> T* control(QWidget* window, const char* name)
{
    T* found = window->findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("control %s not found", name);
    return found;
}

/** The objectName of the control with the keyboard focus, "(none)" without one. */
inline QString focusName()
{
    const QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QStringLiteral("(none)");
}

/** Presses the key on the widget that has the focus. */
inline void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

/**
 * Runs the action while drive() works the modal window it opens (waiting for it to appear and
 * become active: work before it may spin the event loop, while the modal window that was up
 * before, if any, is still in front), then closes it if drive() left it open. False when no
 * modal window opened within five seconds.
 */
inline bool withModal(const std::function<void()>& action,
                      const std::function<void(QWidget*)>& drive)
{
    bool opened = false;
    QElapsedTimer waited;
    waited.start();
    const QWidget* before = QApplication::activeModalWidget();
    auto attempt = std::make_shared<std::function<void()>>();
    *attempt = [&, attempt] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == before || !modal->isActiveWindow()) {
            if (waited.elapsed() < 5000)
                QTimer::singleShot(10, *attempt);
            return;
        }
        opened = true;
        drive(modal);
        if (modal->isVisible())
            modal->close();
    };
    QTimer::singleShot(0, *attempt);
    action();
    return opened;
}
