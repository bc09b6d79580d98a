#include "Button.h"

#include <QAbstractButton>

void CButton::SetIcon(const QIcon& icon) {
    if (auto* button = qobject_cast<QAbstractButton*>(GetSafeHwnd())) {
        button->setIconSize(QSize(16, 16));
        button->setIcon(icon);
    }
}

QIcon CButton::GetIcon() const {
    auto* button = qobject_cast<QAbstractButton*>(GetSafeHwnd());
    return button ? button->icon() : QIcon();
}
