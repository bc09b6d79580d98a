#include "FocusKeeper.h"

#include <QPointer>
#include <QWidget>
#include <QWindow>

struct FocusKeeper::Kept {
    QPointer<QWidget> window;
    QPointer<QWidget> focus;
};

FocusKeeper::FocusKeeper(HWND widget) : kept(std::make_unique<Kept>()) {
    kept->window = widget ? widget->window() : nullptr;
    if (kept->window)
        kept->focus = kept->window->focusWidget();
}

void FocusKeeper::Release() {
    kept->window = nullptr;
}

FocusKeeper::~FocusKeeper() {
    QWidget* window = kept->window;
    QWidget* focus = kept->focus;
    // A window closed meanwhile, or hidden, is not brought back.
    if (!window || !window->isVisible())
        return;
    // Not QWidget::activateWindow: a dialog counts as active while its owner is, so that call does
    // nothing just when the desktop has handed the activation to the owner (the host's window).
    if (QWindow* handle = window->windowHandle())
        handle->requestActivate();
    else
        window->activateWindow();
    if (focus && focus->window() == window && focus->isVisible() && focus->isEnabled())
        focus->setFocus(Qt::ActiveWindowFocusReason);
}
