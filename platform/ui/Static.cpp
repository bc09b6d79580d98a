#include "Static.h"

#include <QLabel>

void CStatic::SetIcon(const QPixmap& image) {
    if (auto* label = qobject_cast<QLabel*>(GetSafeHwnd())) {
        label->setPixmap(image);
        label->resize(image.deviceIndependentSize().toSize());
    }
}

QPixmap CStatic::GetIcon() const {
    auto* label = qobject_cast<QLabel*>(GetSafeHwnd());
    return label ? label->pixmap() : QPixmap();
}
