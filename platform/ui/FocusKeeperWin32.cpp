#include "FocusKeeper.h"

struct FocusKeeper::Kept {
    HWND window = nullptr;
    HWND focus = nullptr;
};

FocusKeeper::FocusKeeper(HWND window) : kept(std::make_unique<Kept>()) {
    kept->window = window ? GetAncestor(window, GA_ROOT) : nullptr;
    HWND focus = GetFocus();
    if (kept->window && focus && GetAncestor(focus, GA_ROOT) == kept->window)
        kept->focus = focus;
}

void FocusKeeper::Release() {
    kept->window = nullptr;
}

FocusKeeper::~FocusKeeper() {
    HWND window = kept->window;
    // A window closed meanwhile, or hidden, is not brought back.
    if (!window || !IsWindow(window) || !IsWindowVisible(window))
        return;
    SetActiveWindow(window);
    HWND focus = kept->focus;
    if (focus && IsWindow(focus) && GetAncestor(focus, GA_ROOT) == window && IsWindowVisible(focus) &&
        IsWindowEnabled(focus))
        SetFocus(focus);
}
