#include "BenchDesktop.h"

struct BenchDesktop::Application {};

BenchDesktop::BenchDesktop(int&, char**) {}

BenchDesktop::~BenchDesktop() = default;

void BenchDesktop::Click(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
}

void BenchDesktop::ProcessEvents() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

BenchHostWindow::BenchHostWindow()
    : window(CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr, nullptr, nullptr,
                             nullptr)) {}

BenchHostWindow::~BenchHostWindow() {
    DestroyWindow(window);
}
