#include "Button.h"

#include "QtIcons.h"
#include "WidgetHook.h"

#include <QAbstractButton>

void CButton::SetIcon(HICON icon) {
    if (auto* button = qobject_cast<QAbstractButton*>(GetSafeHwnd())) {
        button->setIconSize(QSize(16, 16));
        button->setIcon(QtIcon(icon));
        WidgetHook::Of(button)->icon = icon;
    }
}

HICON CButton::GetIcon() const {
    const WidgetHook* hook = GetSafeHwnd() ? WidgetHook::Of(GetSafeHwnd()) : nullptr;
    return hook ? hook->icon : nullptr;
}
