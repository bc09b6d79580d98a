#include "Wnd.h"

#include "DialogEx.h"
#include "HandlerScope.h"
#include "Win32Window.h"

#include "platform/system/MessageBox.h"
#include "platform/text/Utf.h"
#include "platform/ui/Keys.h"

#include <commctrl.h>

#include <string>
#include <unordered_map>

namespace {

// The framework's windows and what is bound to each, kept in the process rather than as window
// properties: every message of a bound window looks its object up, and a property is a round trip to
// the window server on some systems. The dialogs live on one thread.
struct Binding {
    WNDPROC original = nullptr; // the window's own procedure
    CWnd* wnd = nullptr;        // null while no object is bound
    HWND tip = nullptr;         // the tip window its mouse messages are relayed to
};
std::unordered_map<HWND, Binding>& Bindings() {
    static std::unordered_map<HWND, Binding> bindings;
    return bindings;
}

Binding* BindingOf(HWND window) {
    const auto it = Bindings().find(window);
    return it == Bindings().end() ? nullptr : &it->second;
}

// A notification that CWnd::SendNotify has already offered to its sender's OnReflectNotify: the
// dialog's procedure does not offer it again.
thread_local const NMHDR* offeredToSender = nullptr;

bool IsChildWindow(HWND window) {
    return (GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0;
}

std::u16string WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0)
        return {};
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    const int copied = GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), length + 1);
    text.resize(static_cast<size_t>(std::max(0, copied)));
    return text;
}

// The window around a control, never the owner of a top-level window.
HWND ContainerOf(HWND window) {
    return window && IsChildWindow(window) ? GetAncestor(window, GA_PARENT) : nullptr;
}

} // namespace

HINSTANCE FrameworkModule() {
    static const HINSTANCE module = [] {
        HMODULE handle = nullptr;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCWSTR>(&FrameworkModule), &handle);
        return handle;
    }();
    return module;
}

void MarkFrameworkWindow(HWND window) {
    // Subclassed from the start, so that its end (WM_NCDESTROY) always clears its entry, bound or not.
    Binding& binding = Bindings()[window];
    if (!binding.original)
        binding.original = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::WindowProc)));
}

unsigned HeldModifiers() {
    const auto held = [](int key) { return (GetKeyState(key) & 0x8000) != 0; };
    return (held(VK_MENU) ? MOD_ALT : 0) | (held(VK_CONTROL) ? MOD_CONTROL : 0) | (held(VK_SHIFT) ? MOD_SHIFT : 0);
}

DialogBaseUnits WindowFontBaseUnits(HWND window) {
    HDC dc = GetDC(window);
    if (!dc)
        return kReferenceBaseUnits;
    auto font = reinterpret_cast<HFONT>(window ? SendMessageW(window, WM_GETFONT, 0, 0) : 0);
    if (!font)
        font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    const HGDIOBJ old = SelectObject(dc, font);
    // As the dialog manager measures its font: the average width of the 52 Latin letters, rounded,
    // and the character height.
    static const wchar_t letters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE size{};
    TEXTMETRICW metrics{};
    const bool measured = GetTextExtentPoint32W(dc, letters, 52, &size) && GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    if (!measured)
        return kReferenceBaseUnits;
    return {(size.cx / 26 + 1) / 2, static_cast<int>(metrics.tmHeight)};
}

void ReportProcFailure(const char* what) noexcept {
    try {
        std::u16string text = u"Внутренняя ошибка окна";
        if (what)
            text += u": " + Utf8ToUtf16(what);
        text += u". Действие не выполнено, окно продолжает работу.";
        ShowMessageBox(nullptr, text, u"atmocalc", MB_OK | MB_ICONERROR);
    } catch (...) {
    }
}

CWnd::CWnd() = default;

CWnd::~CWnd() {
    HandlerScope::Forget(this);
    Detach();
}

CWnd* CWnd::FromHandle(HWND window) {
    const Binding* binding = window ? BindingOf(window) : nullptr;
    return binding ? binding->wnd : nullptr;
}

bool CWnd::Attach(HWND window) {
    Binding* binding = window ? BindingOf(window) : nullptr;
    if (widget || !binding || binding->wnd || !::IsWindow(window))
        return false;
    binding->wnd = this;
    widget = window;
    OnAttach();
    return true;
}

void CWnd::Detach() {
    if (!widget)
        return;
    if (Binding* binding = BindingOf(widget); binding && binding->wnd == this)
        binding->wnd = nullptr;
    widget = nullptr;
}

bool RelayMouseToTip(HWND window, HWND tip) {
    Binding* binding = window ? BindingOf(window) : nullptr;
    if (!binding)
        return false;
    binding->tip = tip;
    return true;
}

LRESULT CALLBACK CWnd::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const Binding* binding = BindingOf(window);
    const WNDPROC original = binding ? binding->original : nullptr;
    if (!original)
        return DefWindowProcW(window, message, wParam, lParam);
    if (binding->tip && ((message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_MOUSELEAVE) &&
        ::IsWindow(binding->tip)) {
        MSG relayed{window, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
        GetCursorPos(&relayed.pt);
        SendMessageW(binding->tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    }
    CWnd* wnd = binding->wnd;
    if (message == WM_NCDESTROY) {
        const LRESULT result = CallWindowProcW(original, window, message, wParam, lParam);
        Bindings().erase(window);
        if (wnd)
            GuardedProc(0, [&]() -> LRESULT {
                HandlerScope scope;
                if (auto* dialog = dynamic_cast<CDialogEx*>(wnd))
                    dialog->WindowGone(); // may delete the object
                else
                    wnd->WidgetGone();
                return 0;
            });
        return result;
    }
    if (!wnd)
        return CallWindowProcW(original, window, message, wParam, lParam);
    return GuardedProc(0, [&]() -> LRESULT {
        HandlerScope scope;
        if (message == WM_DESTROY) {
            if (auto* dialog = dynamic_cast<CDialogEx*>(wnd))
                dialog->WindowDestroying();
            else
                wnd->WidgetDestroying();
            return CallWindowProcW(original, window, message, wParam, lParam);
        }
        LRESULT result = 0;
        if (wnd->KeyOrFocusMessage(message, wParam, lParam, &result) || wnd->OnMessage(message, wParam, lParam, &result))
            return result;
        return CallWindowProcW(original, window, message, wParam, lParam);
    });
}

bool CWnd::KeyOrFocusMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (message) {
    case WM_GETDLGCODE: {
        // The dialog manager asks before it takes Enter, Escape, Tab or an arrow for itself.
        const auto* pending = reinterpret_cast<const MSG*>(lParam);
        if (!pending || (pending->message != WM_KEYDOWN && pending->message != WM_SYSKEYDOWN) ||
            !WantsKey(static_cast<unsigned>(pending->wParam), HeldModifiers()))
            return false;
        *result = DefaultProc(message, wParam, lParam) | DLGC_WANTMESSAGE;
        return true;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (!OnKeyDown(static_cast<unsigned>(wParam), HeldModifiers()))
            return false;
        // The character the key makes (Enter, Escape, Ctrl+letter) is eaten with it.
        MSG character;
        PeekMessageW(&character, widget, WM_CHAR, WM_CHAR, PM_REMOVE | PM_NOYIELD);
        *result = 0;
        return true;
    case WM_KILLFOCUS:
        OnKillFocus();
        return false;
    default:
        return false;
    }
}

bool CWnd::OnMessage(UINT, WPARAM, LPARAM, LRESULT*) {
    return false;
}

LRESULT CWnd::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const Binding* binding = widget ? BindingOf(widget) : nullptr;
    return binding && binding->original ? CallWindowProcW(binding->original, widget, message, wParam, lParam) : 0;
}

int CWnd::GetDlgCtrlID() const {
    if (!widget || !IsChildWindow(widget))
        return 0;
    // Template controls nobody addresses carry 0xFFFF, the 16-bit form of IDC_STATIC.
    const int id = ::GetDlgCtrlID(widget);
    return id == 0xFFFF ? IDC_STATIC : id;
}

unsigned CWnd::GetStyle() const {
    return widget ? static_cast<unsigned>(GetWindowLongPtrW(widget, GWL_STYLE)) : 0;
}

bool CWnd::ModifyStyle(unsigned remove, unsigned add) {
    if (!widget)
        return false;
    SetWindowLongPtrW(widget, GWL_STYLE, static_cast<LONG_PTR>((GetStyle() & ~remove) | add));
    SetWindowPos(widget, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    OnStyleChanged();
    return true;
}

CDialogEx* CWnd::GetParentDialog() const {
    for (HWND w = ContainerOf(widget); w; w = ContainerOf(w))
        if (auto* dialog = dynamic_cast<CDialogEx*>(FromHandle(w)))
            return dialog;
    return nullptr;
}

CWnd* CWnd::GetParent() const {
    for (HWND w = ContainerOf(widget); w; w = ContainerOf(w))
        if (CWnd* wnd = FromHandle(w))
            return wnd;
    return nullptr;
}

std::u16string CWnd::GetWindowText() const {
    return widget ? WindowText(widget) : std::u16string();
}

void CWnd::SetWindowText(std::u16string_view text) {
    if (widget)
        ::SetWindowTextW(widget, Wide(std::u16string(text)));
}

bool CWnd::ShowWindow(int command) {
    return widget && ::ShowWindow(widget, command);
}

bool CWnd::IsWindowVisible() const {
    return widget && ::IsWindowVisible(widget);
}

void CWnd::EnableWindow(bool enable) {
    if (widget)
        ::EnableWindow(widget, enable);
}

bool CWnd::IsWindowEnabled() const {
    return widget && ::IsWindowEnabled(widget);
}

CRect CWnd::GetWindowRect() const {
    RECT r{};
    if (widget)
        ::GetWindowRect(widget, &r);
    return {r.left, r.top, r.right, r.bottom};
}

CRect CWnd::GetNormalWindowRect() const {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!widget || IsChildWindow(widget) || !GetWindowPlacement(widget, &placement) ||
        placement.showCmd == SW_SHOWNORMAL)
        return GetWindowRect();
    // The normal position is in the coordinates of the work area of the window's monitor.
    RECT r = placement.rcNormalPosition;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromWindow(widget, MONITOR_DEFAULTTONEAREST), &monitor))
        OffsetRect(&r, monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top);
    return {r.left, r.top, r.right, r.bottom};
}

CRect CWnd::GetClientRect() const {
    RECT r{};
    if (widget)
        ::GetClientRect(widget, &r);
    return {0, 0, r.right, r.bottom};
}

CPoint CWnd::ClientToScreen(CPoint point) const {
    POINT p{point.x, point.y};
    if (widget)
        ::ClientToScreen(widget, &p);
    return {p.x, p.y};
}

DialogBaseUnits CWnd::GetFontBaseUnits() const {
    return WindowFontBaseUnits(widget);
}

void CWnd::MoveWindow(const CRect& rect, bool repaint) {
    if (!widget)
        return;
    ::MoveWindow(widget, rect.left, rect.top, rect.Width(), rect.Height(), repaint);
}

void CWnd::SetFocus() {
    if (widget)
        ::SetFocus(widget);
}

bool CWnd::HasFocus() const {
    return widget && GetFocus() == widget;
}

void CWnd::Invalidate() {
    if (widget)
        InvalidateRect(widget, nullptr, TRUE);
}

void CWnd::SetRedraw(bool redraw) {
    if (!widget)
        return;
    SendMessageW(widget, WM_SETREDRAW, redraw, 0);
    if (redraw)
        RedrawWindow(widget, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

bool CWnd::DestroyWindow() {
    return widget && ::DestroyWindow(widget);
}

bool CWnd::DestroyWindowNow() {
    return DestroyWindow();
}

intptr_t CWnd::NotifyParent(NMHDR& hdr) {
    CDialogEx* dialog = GetParentDialog();
    if (!dialog)
        return 0;
    const NMHDR* outer = offeredToSender;
    offeredToSender = &hdr;
    const LRESULT result = SendMessageW(dialog->GetSafeHwnd(), WM_NOTIFY, static_cast<WPARAM>(hdr.idFrom),
                                        reinterpret_cast<LPARAM>(&hdr));
    offeredToSender = outer;
    return result;
}

bool WasOfferedToSender(const NMHDR& hdr) {
    return offeredToSender == &hdr;
}
