#include "DialogEx.h"

#include "ControlFactory.h"
#include "DlgTemplateEx.h"
#include "HandlerScope.h"
#include "TabCtrl.h"
#include "Win32Window.h"

#include "platform/ui/UiEntryScope.h"

#include <algorithm>
#include <exception>
#include <utility>

struct CDialogEx::Backend {
    struct Control {
        const ControlTemplate* source;
        HWND window;
        CRect initialRect; // the parent's pixels, at creation
    };
    HWND parent = nullptr;
    std::vector<Control> controls;
    CSize initialClientSize;
    bool modal = false;
    std::vector<uint32_t> templateData; // the DLGTEMPLATEEX the window is made from
    // What OnInitDialog threw: it cannot pass the system's frames, so the window is destroyed and
    // Create or DoModal throws it once the system has returned.
    std::exception_ptr initFailure;

    static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static BOOL InitWindow(CDialogEx& dialog, HWND window);
    static INT_PTR Message(CDialogEx& dialog, UINT message, WPARAM wParam, LPARAM lParam);
    static void CenterOverOwner(HWND window);
    static bool CycleTabs(HWND root, bool backwards);
    static LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam);
    static void AddModeless(HWND window);
    static void RemoveModeless(HWND window);
};

namespace {

// The modeless top-level dialogs of this thread. The host's message loop is not ours and calls no
// IsDialogMessageW for them, so while one lives a WH_GETMESSAGE hook on the thread hands their
// keyboard messages to it: Tab, Enter, Escape and the mnemonics work as in a modal dialog.
struct ModelessDialogs {
    HHOOK hook = nullptr;
    std::vector<HWND> windows;
};
thread_local ModelessDialogs modeless;

} // namespace

LRESULT CALLBACK CDialogEx::Backend::GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        auto* msg = reinterpret_cast<MSG*>(lParam);
        if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && msg->hwnd) {
            HWND root = GetAncestor(msg->hwnd, GA_ROOT);
            if (std::ranges::find(modeless.windows, root) != modeless.windows.end()) {
                const bool taken = GuardedProc(FALSE, [&]() -> LRESULT {
                    const bool ctrlTab = msg->message == WM_KEYDOWN && msg->wParam == VK_TAB &&
                                         (GetKeyState(VK_CONTROL) & 0x8000);
                    if (ctrlTab && CycleTabs(root, GetKeyState(VK_SHIFT) & 0x8000))
                        return TRUE;
                    return IsDialogMessageW(root, msg);
                });
                if (taken) { // the message was handled: the host's loop gets nothing to dispatch
                    msg->message = WM_NULL;
                    msg->wParam = 0;
                    msg->lParam = 0;
                }
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CDialogEx::Backend::AddModeless(HWND window) {
    if (!modeless.hook)
        modeless.hook = SetWindowsHookExW(WH_GETMESSAGE, &GetMessageHook, nullptr, GetCurrentThreadId());
    modeless.windows.push_back(window);
}

void CDialogEx::Backend::RemoveModeless(HWND window) {
    if (std::erase(modeless.windows, window) && modeless.windows.empty() && modeless.hook) {
        UnhookWindowsHookEx(modeless.hook);
        modeless.hook = nullptr;
    }
}

namespace {

CRect ChildRect(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetAncestor(child, GA_PARENT), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

} // namespace

INT_PTR CALLBACK CDialogEx::Backend::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        auto* dialog = reinterpret_cast<CDialogEx*>(lParam);
        try {
            HandlerScope scope;
            return InitWindow(*dialog, window);
        } catch (...) {
            dialog->backend->initFailure = std::current_exception();
            if (dialog->backend->modal)
                ::EndDialog(window, -1);
            else
                ::DestroyWindow(window);
            return FALSE;
        }
    }
    auto* dialog = reinterpret_cast<CDialogEx*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!dialog || dialog->GetSafeHwnd() != window)
        return FALSE;
    return GuardedProc(FALSE, [&]() -> LRESULT {
        HandlerScope scope;
        return Message(*dialog, message, wParam, lParam);
    });
}

BOOL CDialogEx::Backend::InitWindow(CDialogEx& dialog, HWND window) {
    Backend& backend = *dialog.backend;
    MarkFrameworkWindow(window);
    dialog.Attach(window);
    RECT units{0, 0, 4, 8};
    ::MapDialogRect(window, &units);
    dialog.baseUnits = {units.right, units.bottom};

    // The dialog manager made the controls in template order, which is the order of the children.
    backend.controls.clear();
    dialog.frameworkObjects.clear();
    HWND child = GetWindow(window, GW_CHILD);
    for (const ControlTemplate& c : dialog.dialogTemplate.controls) {
        if (!child)
            break;
        MarkFrameworkWindow(child);
        backend.controls.push_back({&c, child, ChildRect(child)});
        if (c.id != IDC_STATIC) {
            std::unique_ptr<CWnd> object = MakeControlObject(c.kind);
            object->Attach(child);
            dialog.frameworkObjects.push_back(std::move(object));
        }
        child = GetWindow(child, GW_HWNDNEXT);
    }
    const CRect client = dialog.GetClientRect();
    backend.initialClientSize = {client.Width(), client.Height()};
    for (const bool big : {true, false})
        if (HICON icon = big ? dialog.bigIcon : dialog.smallIcon)
            dialog.SetIcon(icon, big);
    const bool page = dialog.dialogTemplate.style & WS_CHILD;
    if (!page)
        CenterOverOwner(window); // before OnInitDialog, which may place the window itself
    dialog.layoutReady = true;

    dialog.RunInitDialog();
    if (!dialog.IsWindow())
        return FALSE;
    // The items appended to the system menu go into the window's own one.
    const auto& items = dialog.systemMenu.Items();
    if (HMENU menu = items.empty() ? nullptr : ::GetSystemMenu(window, FALSE))
        for (const CSystemMenu::Item& item : items)
            AppendMenuW(menu, item.id ? MF_STRING : MF_SEPARATOR, item.id, item.id ? Wide(item.text) : nullptr);
    if (!page && !backend.modal)
        AddModeless(window);
    return FALSE; // the focus is set (RunInitDialog)
}

INT_PTR CDialogEx::Backend::Message(CDialogEx& dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = dialog.GetSafeHwnd();
    switch (message) {
    case WM_COMMAND:
        dialog.RouteCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY: {
        NMHDR& hdr = *reinterpret_cast<NMHDR*>(lParam);
        intptr_t result = 0;
        CWnd* sender = FromHandle(hdr.hwndFrom);
        const bool handled = (!WasOfferedToSender(hdr) && sender && sender != &dialog &&
                              sender->OnReflectNotify(hdr, &result)) ||
                             dialog.OnNotify(hdr, &result);
        if (!handled)
            return FALSE;
        if (dialog.GetSafeHwnd() == window)
            SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
        return TRUE;
    }
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED)
            dialog.WindowResized(LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_GETMINMAXINFO:
        if (dialog.minTrackSize.cx > 0 && dialog.minTrackSize.cy > 0) {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            info->ptMinTrackSize = {dialog.minTrackSize.cx, dialog.minTrackSize.cy};
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        dialog.RouteCommand(IDCANCEL, BN_CLICKED);
        return TRUE;
    case WM_SYSCOMMAND: {
        const unsigned id = static_cast<unsigned>(wParam & 0xFFF0);
        for (const CSystemMenu::Item& item : dialog.systemMenu.Items())
            if (item.id && item.id == id) {
                dialog.OnSysCommand(id);
                return TRUE;
            }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

void CDialogEx::Backend::CenterOverOwner(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    HWND owner = GetWindow(window, GW_OWNER);
    RECT around{};
    const bool overOwner = owner && ::IsWindowVisible(owner) && !IsIconic(owner) && ::GetWindowRect(owner, &around);
    if (!GetMonitorInfoW(MonitorFromWindow(overOwner ? owner : window, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    if (!overOwner)
        around = monitor.rcWork;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    // Centred, but kept on the work area as far as it fits.
    const int x = std::clamp<int>((around.left + around.right - width) / 2, monitor.rcWork.left,
                                  std::max<int>(monitor.rcWork.left, monitor.rcWork.right - width));
    const int y = std::clamp<int>((around.top + around.bottom - height) / 2, monitor.rcWork.top,
                                  std::max<int>(monitor.rcWork.top, monitor.rcWork.bottom - height));
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CDialogEx::Backend::CycleTabs(HWND root, bool backwards) {
    auto* dialog = dynamic_cast<CDialogEx*>(FromHandle(root));
    if (!dialog)
        return false;
    for (const Control& c : dialog->backend->controls) {
        auto* tabs = c.source->kind == ControlKind::TabControl ? dynamic_cast<CTabCtrl*>(FromHandle(c.window)) : nullptr;
        const int count = tabs ? tabs->GetItemCount() : 0;
        if (count < 2 || !tabs->IsWindowEnabled())
            continue;
        tabs->SetCurSel((tabs->GetCurSel() + (backwards ? count - 1 : 1)) % count);
        NMHDR hdr{c.window, static_cast<UINT_PTR>(c.source->id), TCN_SELCHANGE};
        SendMessageW(root, WM_NOTIFY, static_cast<WPARAM>(c.source->id), reinterpret_cast<LPARAM>(&hdr));
        return true;
    }
    return false;
}

CDialogEx::CDialogEx(const DialogTemplate& dialogTemplate, HWND parent)
    : dialogTemplate(dialogTemplate), backend(std::make_unique<Backend>()) {
    backend->parent = parent;
}

CDialogEx::~CDialogEx() {
    HWND window = GetSafeHwnd();
    if (!window)
        return;
    // The window goes without calling back into a dialog that is going itself.
    SetWindowLongPtrW(window, DWLP_USER, 0);
    Backend::RemoveModeless(window);
    Detach();
    if (backend->modal)
        ::EndDialog(window, IDCANCEL);
    else
        ::DestroyWindow(window);
}

intptr_t CDialogEx::DoModal() {
    if (IsWindow())
        return -1;
    ended = false;
    result = IDCANCEL;
    UiEntryScope entry;
    backend->templateData = BuildDlgTemplateEx(dialogTemplate);
    backend->modal = true;
    const INT_PTR made = DialogBoxIndirectParamW(
        FrameworkModule(), reinterpret_cast<LPCDLGTEMPLATEW>(backend->templateData.data()), backend->parent,
        &Backend::Proc, reinterpret_cast<LPARAM>(this));
    backend->modal = false;
    RethrowInitFailure();
    return made == -1 ? -1 : result;
}

bool CDialogEx::IsModal() const {
    return backend->modal;
}

bool CDialogEx::Create(HWND parent) {
    if (IsWindow())
        return false;
    if (parent)
        backend->parent = parent;
    ended = false;
    // A page inside a control (a tab control's body): Tab walks from the dialog into the page.
    if (backend->parent && (dialogTemplate.style & WS_CHILD) && (GetWindowLongPtrW(backend->parent, GWL_STYLE) & WS_CHILD))
        SetWindowLongPtrW(backend->parent, GWL_EXSTYLE,
                          GetWindowLongPtrW(backend->parent, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
    UiEntryScope entry;
    backend->templateData = BuildDlgTemplateEx(dialogTemplate);
    CreateDialogIndirectParamW(FrameworkModule(), reinterpret_cast<LPCDLGTEMPLATEW>(backend->templateData.data()),
                               backend->parent, &Backend::Proc, reinterpret_cast<LPARAM>(this));
    RethrowInitFailure();
    return IsWindow();
}

void CDialogEx::RethrowInitFailure() {
    if (std::exception_ptr failure = std::exchange(backend->initFailure, nullptr))
        std::rethrow_exception(failure);
}

void CDialogEx::EndDialog(int code) {
    result = code;
    ended = true;
    HWND window = GetSafeHwnd();
    if (!window)
        return;
    if (backend->modal)
        ::EndDialog(window, code);
    else
        ::ShowWindow(window, SW_HIDE);
}

void CDialogEx::FocusFirstTabStop() {
    for (const Backend::Control& c : backend->controls) {
        const auto style = GetWindowLongPtrW(c.window, GWL_STYLE);
        if ((style & WS_TABSTOP) && !(style & WS_DISABLED) && (style & WS_VISIBLE)) {
            SendMessageW(GetSafeHwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(c.window), TRUE);
            return;
        }
    }
}

HWND CDialogEx::ControlWidget(int id) const {
    for (const Backend::Control& c : backend->controls)
        if (c.source->id == id)
            return c.window;
    return nullptr;
}

void CDialogEx::SetIcon(HICON icon, bool big) {
    (big ? bigIcon : smallIcon) = icon;
    if (HWND window = GetSafeHwnd(); window && !(dialogTemplate.style & WS_CHILD))
        SendMessageW(window, WM_SETICON, big ? ICON_BIG : ICON_SMALL,
                     reinterpret_cast<LPARAM>(SizedIcon(icon, GetSystemMetrics(big ? SM_CXICON : SM_CXSMICON))));
}

void CDialogEx::SetMinTrackSize(int width, int height) {
    // Applied by the window's WM_GETMINMAXINFO: only the user's sizing is held.
    minTrackSize = {std::max(0, width), std::max(0, height)};
}

void CDialogEx::WindowResized(int width, int height) {
    if (!layoutReady)
        return;
    const int dx = width - backend->initialClientSize.cx;
    const int dy = height - backend->initialClientSize.cy;
    HDWP moves = BeginDeferWindowPos(static_cast<int>(backend->controls.size()));
    for (const Backend::Control& c : backend->controls) {
        const DynamicLayout& l = c.source->layout;
        if (l.moveX == 0 && l.moveY == 0 && l.sizeX == 0 && l.sizeY == 0)
            continue;
        const CRect r = ApplyDynamicLayout(l, c.initialRect, dx, dy);
        if (moves)
            moves = DeferWindowPos(moves, c.window, nullptr, r.left, r.top, r.Width(), r.Height(),
                                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (moves)
        EndDeferWindowPos(moves);
    OnSize(width, height);
}

void CDialogEx::WindowDestroying() {
    Backend::RemoveModeless(GetSafeHwnd());
    WidgetDestroying();
}

void CDialogEx::WindowGone() {
    layoutReady = false;
    backend->controls.clear();
    // The controls' own objects stay, unbound, until the next window or the dialog's end: one of
    // them may be running the handler that destroyed the window.
    WidgetGone(); // may delete this
}
