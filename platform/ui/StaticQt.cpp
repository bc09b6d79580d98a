#include "Static.h"

#include "QtIcons.h"
#include "WidgetHook.h"

#include <QLabel>

void CStatic::SetIcon(HICON icon) {
    if (auto* label = qobject_cast<QLabel*>(GetSafeHwnd())) {
        const int size = IconNaturalSize(icon);
        const QPixmap image = QtIcon(icon).pixmap(QSize(size, size));
        label->setPixmap(image);
        label->resize(image.deviceIndependentSize().toSize());
        WidgetHook::Of(label)->icon = icon;
    }
}

HICON CStatic::GetIcon() const {
    const WidgetHook* hook = GetSafeHwnd() ? WidgetHook::Of(GetSafeHwnd()) : nullptr;
    return hook ? hook->icon : nullptr;
}
