#include "Shell.h"

#include "platform/text/Utf.h"

#include <QGuiApplication>
#include <QProcess>

#include <cstdio>

namespace {

bool HasDisplay() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

} // namespace

// xdg-open hands the file to the program the desktop associates with its type and ends with its
// own verdict: 0 when that program was started, non-zero when none could be (no program for the
// type, an unknown file). It normally ends at once; one still running after a few seconds is
// running the program in the foreground, so the opening worked, and it is left to end on its own.
bool OpenWithDesktop(const std::u16string& path) {
    if (!HasDisplay()) {
        std::fprintf(stderr, "%s\n", Utf16ToUtf8(path).c_str());
        std::fflush(stderr);
        return false;
    }
    constexpr int kVerdictWaitMs = 5000;
    auto* opener = new QProcess(QCoreApplication::instance());
    opener->setProgram(QStringLiteral("xdg-open"));
    opener->setArguments({QString::fromStdU16String(path)});
    opener->setStandardInputFile(QProcess::nullDevice());
    opener->start();
    if (!opener->waitForStarted()) {
        delete opener; // no opener on this desktop
        return false;
    }
    if (!opener->waitForFinished(kVerdictWaitMs)) {
        QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
        return true;
    }
    const bool opened = opener->exitStatus() == QProcess::NormalExit && opener->exitCode() == 0;
    delete opener;
    return opened;
}
