#include "QtMessageBox.h"

#include <QMessageBox>

int ShowQtMessageBox(const MessageBoxRequest& request, QWidget* fallbackOwner) {
    const unsigned icon = request.flags & 0xF0;
    QMessageBox box(icon == MB_ICONERROR         ? QMessageBox::Critical
                    : icon == MB_ICONEXCLAMATION ? QMessageBox::Warning
                                                 : QMessageBox::Information,
                    QString::fromStdU16String(request.caption), QString::fromStdU16String(request.text),
                    QMessageBox::Ok, request.owner ? static_cast<QWidget*>(request.owner) : fallbackOwner);
    box.exec();
    return IDOK;
}
