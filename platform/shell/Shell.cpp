#include "Shell.h"

#include "platform/text/Utf.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QUrl>

#include <cstdio>

namespace {

ShellOpenHandler& CurrentHandler() {
    static ShellOpenHandler handler;
    return handler;
}

bool HasDisplay() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

bool OpenWithDesktop(const std::u16string& path) {
    if (!HasDisplay()) {
        std::fprintf(stderr, "%s\n", Utf16ToUtf8(path).c_str());
        std::fflush(stderr);
        return false;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdU16String(path)));
}

} // namespace

bool ShellOpenFile(std::u16string_view path) {
    const std::u16string file(path);
    const ShellOpenHandler handler = CurrentHandler();
    return handler ? handler(file) : OpenWithDesktop(file);
}

ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler) {
    ShellOpenHandler previous = std::move(CurrentHandler());
    CurrentHandler() = std::move(handler);
    return previous;
}
