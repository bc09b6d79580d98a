#include "QtMessageBox.h"

#include <QApplication>

namespace {

inline constexpr unsigned kIconMask = 0xF0;
inline constexpr unsigned kIconQuestion = 0x20;
inline constexpr unsigned kIconInformation = 0x40;

bool HasDisplay() {
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

int ShowQtMessageBox(const MessageBoxRequest& request) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()) || !HasDisplay())
        return WriteMessageBoxToStderr(request);
    MakeMessageBox(request)->exec();
    return IDOK;
}

} // namespace

std::unique_ptr<QMessageBox> MakeMessageBox(const MessageBoxRequest& request) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (request.flags & kIconMask) {
    case MB_ICONERROR:
        icon = QMessageBox::Critical;
        break;
    case MB_ICONEXCLAMATION:
        icon = QMessageBox::Warning;
        break;
    case kIconQuestion:
        icon = QMessageBox::Question;
        break;
    case kIconInformation:
        icon = QMessageBox::Information;
        break;
    default:
        break;
    }
    auto box = std::make_unique<QMessageBox>(icon, QString::fromStdU16String(request.caption),
                                             QString::fromStdU16String(request.text), QMessageBox::Ok,
                                             static_cast<QWidget*>(request.owner));
    box->setTextFormat(Qt::PlainText);
    return box;
}

bool InstallQtMessageBoxHandler() {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return false;
    MessageBoxHandler previous = SetMessageBoxHandler(&ShowQtMessageBox);
    if (!previous)
        return true;
    const auto* function = previous.target<int (*)(const MessageBoxRequest&)>();
    if (function && *function == &ShowQtMessageBox)
        return true;
    SetMessageBoxHandler(std::move(previous)); // someone else's handler stays
    return false;
}
