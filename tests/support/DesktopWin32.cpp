#include "support/Desktop.h"

#include <commctrl.h>

struct Desktop::Application {};

Desktop::Desktop(int&, char**) {}

Desktop::~Desktop() = default;

void Desktop::Click(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
}

void Desktop::ProcessEvents() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Desktop::ChooseTab(HWND tabs, int index) {
    // What a click on the tab does: the change is asked for, made, and told to the tab's parent.
    const auto id = static_cast<UINT_PTR>(GetDlgCtrlID(tabs));
    NMHDR changing{tabs, id, static_cast<UINT>(TCN_SELCHANGING)};
    if (SendMessageW(GetParent(tabs), WM_NOTIFY, id, reinterpret_cast<LPARAM>(&changing)))
        return;
    SendMessageW(tabs, TCM_SETCURSEL, index, 0);
    NMHDR changed{tabs, id, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(GetParent(tabs), WM_NOTIFY, id, reinterpret_cast<LPARAM>(&changed));
}

DesktopHostWindow::DesktopHostWindow()
    : window(CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr, nullptr, nullptr,
                             nullptr)) {}

DesktopHostWindow::~DesktopHostWindow() {
    DestroyWindow(window);
}
