// veltra-host: the interactive host, or a scripted run without a display (--script).
#include "hostapp/HostOptions.h"
#include "hostapp/MainWindow.h"
#include "hostapp/QtMessageBox.h"
#include "hostapp/ScriptRunner.h"
#include "hostapp/VeltraHost.h"
#include "hostcore/ScriptTexts.h"
#include "platform/ui/QtTranslations.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>

#include <cstdio>

namespace {

void PrintLine(FILE* stream, const QString& line) {
    std::fputs(line.toUtf8().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

QStringList Arguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// The offscreen platform warns on every top-level window that it cannot pass size hints on; nothing
// here needs them, and the scripted output should stay readable.
void FilterQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message == u"This plugin does not support propagateSizeHints()")
        return;
    std::fputs(qFormatLogMessage(type, context, message).toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
}

int RunScript(VeltraHost& host, const HostOptions& options) {
    std::vector<ScriptStep> steps;
    std::u16string error;
    if (!ParseScriptSteps(options.steps.isEmpty() ? DemoSteps() : options.steps.toStdU16String(), steps, error)) {
        PrintLine(stderr, QString::fromStdU16String(error));
        return 2;
    }
    host.Window().show();
    host.Start();
    bool done;
    {
        ScriptRunner runner(host.Window(), [](const QString& line) { PrintLine(stdout, line); });
        done = runner.Run(steps);
        if (!done)
            PrintLine(stderr, QString::fromStdU16String(ScriptText::Stopped(runner.Failure().toStdU16String())));
    }
    host.Stop();
    return done ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    HostOptions options;
    QString message;
    ParseResult parsed = ParseHostOptions(Arguments(argc, argv), options, message);
    if (parsed != ParseResult::Run) {
        // Qt's own words in the help and its errors ("Usage:", "Unknown option") are translated only under
        // an application with Qt's translations: parsed again under one that needs no display.
        // Named as the help names the program, not by the path it was started with.
        char name[] = "veltra-host";
        char* coreArgv[] = {name, nullptr};
        int coreArgc = 1;
        QCoreApplication texts(coreArgc, coreArgv);
        InstallQtTranslations();
        parsed = ParseHostOptions(Arguments(argc, argv), options, message);
    }
    switch (parsed) {
    case ParseResult::Help:
        PrintLine(stdout, message);
        return 0;
    case ParseResult::Error:
        PrintLine(stderr, message + QStringLiteral("\nСправка: veltra-host --help"));
        return 2;
    case ParseResult::Run:
        break;
    }
    // A scripted run needs no display: Qt's offscreen platform unless one is chosen explicitly.
    if (options.script && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt reads options of its own from the arguments ("--plugin" among them, which it would load as a Qt
    // plug-in): it gets the program name only.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    qInstallMessageHandler(FilterQtMessages);
    QApplication::setApplicationName(QStringLiteral("veltra-host"));
    InstallQtTranslations();
    // The plug-in's icon, installed under ../share from the program's folder (the desktop entry's icon).
    const QString icon = QCoreApplication::applicationDirPath() +
                         QStringLiteral("/../share/icons/hicolor/scalable/apps/atmocalc.svg");
    QApplication::setWindowIcon(QFileInfo::exists(icon) ? QIcon(icon)
                                                        : QIcon::fromTheme(QStringLiteral("atmocalc")));

    if (options.script) {
        // Message boxes of the host go to standard error; the plug-in's are answered by the script.
        VeltraHost host(options, [](const QString& line) { PrintLine(stdout, line); });
        return RunScript(host, options);
    }
    // Installed before the host is built, so that a damaged profile is told in a box too.
    QWidget* owner = nullptr;
    SetMessageBoxHandler(
        [&owner](const MessageBoxRequest& request) { return ShowQtMessageBox(request, owner); });
    VeltraHost host(options);
    owner = &host.Window();
    host.Window().show();
    host.Start();
    const int status = QApplication::exec();
    host.Stop();
    SetMessageBoxHandler({});
    return status;
}
