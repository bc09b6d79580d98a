// The desktop the dialog benchmark's windows live on, as each system offers it.
#pragma once

#include "platform/ui/Handles.h"

#include <memory>

class BenchDesktop {
public:
    // Readies the process for windows (Linux: a Qt application, offscreen unless told otherwise).
    BenchDesktop(int& argc, char** argv);
    ~BenchDesktop();
    BenchDesktop(const BenchDesktop&) = delete;
    BenchDesktop& operator=(const BenchDesktop&) = delete;

    // A user's click on a push button of a dialog.
    static void Click(HWND button);
    // Runs what the windows have waiting, as an idle event loop would (windows destroyed meanwhile
    // are gone afterwards).
    static void ProcessEvents();

private:
    struct Application;
    std::unique_ptr<Application> application;
};

// A plain top-level window standing for the host's main window.
class BenchHostWindow {
public:
    BenchHostWindow();
    ~BenchHostWindow();
    BenchHostWindow(const BenchHostWindow&) = delete;
    BenchHostWindow& operator=(const BenchHostWindow&) = delete;
    HWND Handle() const { return window; }

private:
    HWND window = nullptr;
};
