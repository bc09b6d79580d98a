// Helpers for tests of windows on the offscreen platform.
#pragma once

#include "platform/ui/Wnd.h"

#include <QCoreApplication>
#include <QEvent>
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
