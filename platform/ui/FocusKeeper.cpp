#include "FocusKeeper.h"

#include <QWindow>

FocusKeeper::FocusKeeper(QWidget* widget) : window(widget ? widget->window() : nullptr) {
    if (window)
        focus = window->focusWidget();
}

void FocusKeeper::Release() {
    window = nullptr;
}

FocusKeeper::~FocusKeeper() {
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
