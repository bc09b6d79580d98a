// Helpers for tests of windows on the offscreen platform.
#pragma once

#include "platform/ui/QtGeometry.h"
#include "platform/ui/Wnd.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

// Deletes the windows whose deletion was deferred to the event loop (DestroyWindow).
inline void FlushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Shows a top-level window and waits until it is the active window, so that the keyboard focus
// moves as it does for a user. False when the window never became active.
inline bool ShowActive(CWnd& window) {
    window.ShowWindow(SW_SHOWNORMAL);
    window.GetSafeHwnd()->activateWindow();
    return QTest::qWaitForWindowActive(window.GetSafeHwnd());
}

inline QString Q(std::u16string_view text) {
    return QString::fromStdU16String(std::u16string(text));
}

// Types a text into the widget key by key, Cyrillic letters included (QTest::keyClicks knows
// ASCII only).
inline void TypeText(QWidget* widget, std::u16string_view text) {
    for (const QChar c : Q(text)) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(widget, &release);
    }
}
