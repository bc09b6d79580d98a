// Keeps a window's place as the active window across a call that opens windows of its own (the
// host's picker, a modal dialog, a message box, a program the desktop starts): closing those hands
// the activation to whatever window the desktop picks, often the host's. When the keeper goes, the
// window is active again with the keyboard focus where it was.
#pragma once

#include "platform/ui/Handles.h"

#include <memory>

class FocusKeeper {
public:
    explicit FocusKeeper(HWND window);
    ~FocusKeeper();
    FocusKeeper(const FocusKeeper&) = delete;
    FocusKeeper& operator=(const FocusKeeper&) = delete;

    // Leaves the activation where it is when the keeper goes: what the call opened (the report in the
    // browser) is what the user wants in front.
    void Release();

private:
    struct Kept; // the window and its focus, as the system names them
    std::unique_ptr<Kept> kept;
};
