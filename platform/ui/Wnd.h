// CWnd: an object of ours standing for one window of the dialog framework, a dialog or a control.
// The window is made by the framework (from a template, or by a control class's Create); the
// object is bound to it, can outlive it, and learns of its end through OnDestroy and PostNcDestroy.
// Every call on an object without a window does nothing and answers empty.
#pragma once

#include "platform/ui/DialogUnits.h"
#include "platform/ui/Handles.h"
#include "platform/ui/Notify.h"
#include "platform/ui/Rect.h"
#include "platform/ui/Styles.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class CDialogEx;
class WidgetHook;
#ifndef _WIN32
class QEvent;
class QObject;
#endif

class CWnd {
public:
    CWnd();
    virtual ~CWnd(); // unbinds from the window; a control's window stays with its dialog
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The object bound to a framework window; null for none.
    static CWnd* FromHandle(HWND window);

    // Binds the object to a framework window that no other object holds, then runs OnAttach; false
    // when the window is not the framework's or is taken, or this object already has a window.
    bool Attach(HWND window);
    // Unbinds without destroying the window.
    void Detach();

    // The window; null before binding and once the window is destroyed.
    HWND GetSafeHwnd() const { return widget; }
    bool IsWindow() const { return widget != nullptr; }
    // The control id (0 for a dialog).
    int GetDlgCtrlID() const;
    // The styles the window was made with, as changed by ModifyStyle since.
    unsigned GetStyle() const;
    // Removes, then adds style bits; false without a window.
    bool ModifyStyle(unsigned remove, unsigned add);
    // The nearest dialog around this window (for a control, the dialog that holds it); null for none.
    CDialogEx* GetParentDialog() const;
    // The object of the nearest window around this one that has an object; null for none.
    CWnd* GetParent() const;

    std::u16string GetWindowText() const; // a window's title, a control's text
    void SetWindowText(std::u16string_view text);
    // SW_HIDE, SW_SHOW, SW_SHOWNORMAL, SW_RESTORE, SW_MINIMIZE, SW_SHOWMINIMIZED, SW_SHOWMAXIMIZED;
    // returns whether the window was visible before.
    bool ShowWindow(int command);
    bool IsWindowVisible() const;
    void EnableWindow(bool enable);
    bool IsWindowEnabled() const;
    // The window's rectangle in screen pixels; a top-level window's includes its frame.
    CRect GetWindowRect() const;
    // The rectangle of a top-level window in its normal state, as GetWindowRect gives it: for a
    // maximised or minimised window the one it is restored to (GetWindowPlacement's normal position).
    CRect GetNormalWindowRect() const;
    // (0, 0, width, height) of the area inside the window's frame or border.
    CRect GetClientRect() const;
    // A point of the client area (GetClientRect) in screen pixels.
    CPoint ClientToScreen(CPoint point) const;
    // The base units of the window's font (the dialog font, unless the window was given another).
    DialogBaseUnits GetFontBaseUnits() const;
    // Moves and sizes the window: a control in its parent's pixels, a top-level window in screen
    // pixels with its frame (a rectangle set before the frame is known is set again once it is).
    void MoveWindow(const CRect& rect, bool repaint = true);
    void MoveWindow(int x, int y, int width, int height, bool repaint = true);
    void SetFocus();
    bool HasFocus() const; // the keyboard focus is on this very window
    void Invalidate();
    // Stops drawing the window (false) while it changes much at once, such as a list taking hundreds
    // of rows; resuming (true) draws it anew. RedrawSuspended does both around a scope.
    void SetRedraw(bool redraw);
    // Destroys the window at once: it is hidden, and its object and those of the windows inside it
    // hear OnDestroy, then PostNcDestroy, before this returns; from inside a handler, PostNcDestroy
    // waits until the handler has returned. The widgets themselves are deleted when control
    // returns to the event loop, so a window may destroy itself from its own handlers. False
    // without a window.
    bool DestroyWindow();
    // Destroys the window and deletes its widgets at once (OnDestroy and PostNcDestroy as for
    // DestroyWindow); never from a handler of this window or of one inside it. False without a
    // window.
    bool DestroyWindowNow();
    // Reports a notification about this window (from the control itself, or from a window inside
    // it such as a cell editor): offered to OnReflectNotify, then to the dialog. The answer, 0 when
    // nobody handled it.
    intptr_t SendNotify(NMHDR& hdr);

protected:
    // The object was bound to its window: install event watches and connections here.
    virtual void OnAttach() {}
    // The window is going; it and everything inside it are still complete.
    virtual void OnDestroy() {}
    // The window is gone. An object that owns itself deletes itself here, as its very last act.
    virtual void PostNcDestroy() {}
    // A notification this control sends about itself comes here first; returning true (with
    // *result set) keeps it from the dialog.
    virtual bool OnReflectNotify(NMHDR& hdr, intptr_t* result);
    // A key (VK_*; 0 for one without a code) was pressed, with the MOD_* keys in `modifiers`,
    // while this window has the keyboard focus; true when handled, so the key goes no further.
    virtual bool OnKeyDown(unsigned, unsigned) { return false; }
    // Whether the window takes the key itself, before the dialog's Enter, Escape, Tab and
    // shortcuts see it.
    virtual bool WantsKey(unsigned, unsigned) const { return false; }
    // The window lost the keyboard focus (not to a menu of its own).
    virtual void OnKillFocus() {}
    // ModifyStyle changed the style bits.
    virtual void OnStyleChanged() {}
#ifdef _WIN32
    // Win32 backend: every message of the window while bound, before the window's own procedure
    // (its class's, or the dialog manager's); true with *result set keeps it from that procedure.
    // The keys, the focus and the reflected notifications have been offered to the handlers above.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // The window's own procedure for a message: what it does when OnMessage leaves the message.
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
#else
    // Qt backend: events of the objects passed to WatchEvents; true eats the event.
    virtual bool OnWidgetEvent(QObject* watched, QEvent* event);

    // Sends the events of an object (the window or a part of it) to OnWidgetEvent while bound.
    void WatchEvents(QObject* object);
    // An object that lives exactly as long as the binding: the context for Qt connections.
    QObject* Context();
#endif
    // A notification header naming this window and its control id.
    NMHDR MakeHeader(unsigned code) const;
    // Sends the notification to the dialog around this window only; its answer, 0 when unhandled.
    intptr_t NotifyParent(NMHDR& hdr);

private:
    friend class WidgetHook;
    friend class HandlerScope;
    friend class CDialogEx;
    void WidgetDestroying();
    void WidgetGone();

    HWND widget = nullptr; // null once the window reports its end
    bool destroying = false;
#ifdef _WIN32
    // The procedure every framework window is subclassed with, in front of its own.
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    friend void MarkFrameworkWindow(HWND window);
    bool KeyOrFocusMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
#else
    class EventHook;
    bool KeyOrFocusEvent(QEvent* event);
    std::unique_ptr<EventHook> hook;
#endif
};

// Holds a window's drawing off while it lives (CWnd::SetRedraw), also when the change ends in an
// exception.
class RedrawSuspended {
public:
    explicit RedrawSuspended(CWnd& window) : window(window) { window.SetRedraw(false); }
    ~RedrawSuspended() { window.SetRedraw(true); }
    RedrawSuspended(const RedrawSuspended&) = delete;
    RedrawSuspended& operator=(const RedrawSuspended&) = delete;

private:
    CWnd& window;
};
