// The desktop that the dialog benchmark's and the screenshot tools' windows live on, as each system
// offers it.
#pragma once

#include "platform/ui/Handles.h"

#include <memory>

class Desktop {
public:
    // Readies the process for windows (Linux: a Qt application, offscreen unless told otherwise).
    Desktop(int& argc, char** argv);
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    // A user's click on a push button of a dialog.
    static void Click(HWND button);
    // Runs what the windows have waiting, as an idle event loop would (windows destroyed meanwhile
    // are gone afterwards).
    static void ProcessEvents();
    // A user's click on a tab of a tab control: the page changes as the dialog hears of it.
    static void ChooseTab(HWND tabs, int index);

private:
    struct Application;
    std::unique_ptr<Application> application;
};

// A plain top-level window standing for the host's main window.
class DesktopHostWindow {
public:
    DesktopHostWindow();
    ~DesktopHostWindow();
    DesktopHostWindow(const DesktopHostWindow&) = delete;
    DesktopHostWindow& operator=(const DesktopHostWindow&) = delete;
    HWND Handle() const { return window; }

private:
    HWND window = nullptr;
};
