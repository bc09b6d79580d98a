// Internal to the framework's Windows backend: what its window procedures share.
#pragma once

#include "platform/ui/DialogUnits.h"

#include "platform/ui/Notify.h"

#include <windows.h>

#include <exception>
#include <string>

class CWnd;

// The module that holds the framework (the plug-in's DLL, or a test program): its templates'
// icons and its activation context live there.
HINSTANCE FrameworkModule();

// Marks a window as one the framework made, so that an object may bind to it (CWnd::Attach).
void MarkFrameworkWindow(HWND window);

// Whether CWnd::SendNotify has offered this notification to its sender already (the dialog's
// procedure then goes straight to the dialog's own handlers).
bool WasOfferedToSender(const NMHDR& hdr);

// The same icon of ours (Icons.h) at size x size pixels; any other icon as it is.
HICON SizedIcon(HICON icon, int size);

// Hands a framework window's mouse messages to a tip window (TTM_RELAYEVENT) before the window sees
// them, in place of the tip's own subclassing (TTF_SUBCLASS), which looks the tool up in a window
// property for every message; null stops it. False for a window that is not the framework's.
bool RelayMouseToTip(HWND window, HWND tip);

// The MOD_* keys held now.
unsigned HeldModifiers();

// The base units of the font a window draws its text with (WM_GETFONT, else the system's font).
DialogBaseUnits WindowFontBaseUnits(HWND window);

// A UTF-16 text of ours as the system's wide string.
inline const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

// Runs a window procedure's body: an exception never leaves a window procedure (it would unwind
// through the system's and the host's frames). The failure is shown in a message box, and the
// message gets `fallback`.
template <class Body> LRESULT GuardedProc(LRESULT fallback, Body body) noexcept;
void ReportProcFailure(const char* what) noexcept;

template <class Body> LRESULT GuardedProc(LRESULT fallback, Body body) noexcept {
    try {
        return body();
    } catch (const std::exception& e) {
        ReportProcFailure(e.what());
    } catch (...) {
        ReportProcFailure(nullptr);
    }
    return fallback;
}
