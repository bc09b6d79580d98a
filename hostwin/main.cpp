// veltra-host.exe: the scripted Windows host. It loads atmocalc.dll through the C host table, runs the
// steps of --steps (the demo by default) against its menu and the plug-in's windows, and prints what a
// person reads; the plug-in's message boxes and opened files are printed and answered.
#include "hostcore/ScriptSteps.h"
#include "hostcore/ScriptTexts.h"
#include "hostwin/WindowsHost.h"
#include "hostwin/WindowsScriptRunner.h"
#include "platform/system/Console.h"
#include "platform/system/MessageBox.h"
#include "platform/text/Utf.h"

#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace {

constexpr char kUsage[] =
    "Использование: veltra-host [--plugin ПУТЬ] [--db ПУТЬ] [--profile ПУТЬ] [--public ПАПКА]\n"
    "                           [--script] [--pick all|cancel|НОМЕРА] [--steps ШАГИ]\n"
    "Хост системы обработки хроматограмм Veltra для модуля atmocalc в Windows: загружает модуль,\n"
    "выполняет шаги сценария с его окнами и выводит то, что в них видно.\n"
    "  --plugin ПУТЬ   файл модуля (по умолчанию atmocalc.dll рядом с программой)\n"
    "  --db ПУТЬ       база данных хоста (SQLite)\n"
    "  --profile ПУТЬ  файл профиля (по умолчанию veltra-host\\profile.json в %APPDATA%)\n"
    "  --public ПАПКА  общая папка: значение переменной PUBLIC для модуля\n"
    "  --script        сценарий (этот хост всегда выполняет сценарий)\n"
    "  --pick ОТВЕТ    ответ окна выбора хроматограмм: all (все), cancel (отмена) или номера через\n"
    "                  запятую; по умолчанию all\n"
    "  --steps ШАГИ    шаги через \";\": menu ПУТЬ, press КНОПКА, print ВКЛАДКА|ОКНО, close [ОКНО];\n"
    "                  по умолчанию демонстрация\n";

void PrintLine(std::FILE* stream, const std::u16string& line) {
    WriteText(stream, Utf16ToUtf8(line) + "\n");
}

std::u16string Absolute(const std::u16string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(path), error);
    return path.empty() || error ? path : absolute.lexically_normal().u16string();
}

// 0 to run, else the exit status (0 after the help, 2 for a wrong command line, told on standard error).
int ParseArguments(const std::vector<std::string>& arguments, WindowsHostOptions& options, std::u16string& steps,
                   bool& help) {
    auto fail = [](const std::u16string& message) {
        PrintLine(stderr, message + u"\nСправка: veltra-host --help");
        return 2;
    };
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        if (const size_t equals = name.find('='); name.starts_with("--") && equals != name.npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (name == "-h" || name == "--help") {
            help = true;
            return 0;
        }
        if (name == "--script")
            continue;
        std::u16string* target = name == "--plugin"    ? &options.pluginPath
                                 : name == "--db"      ? &options.databasePath
                                 : name == "--profile" ? &options.profilePath
                                 : name == "--public"  ? &options.publicDir
                                 : name == "--steps"   ? &steps
                                                       : nullptr;
        if (!target && name != "--pick")
            return fail(u"Неизвестный аргумент: " + Utf8ToUtf16(arguments[i]));
        if (!value && i + 1 == arguments.size())
            return fail(u"Аргументу " + Utf8ToUtf16(name) + u" нужно значение.");
        const std::u16string text = Utf8ToUtf16(value ? *value : arguments[++i]);
        if (target)
            *target = text;
        else if (!ParsePickAnswer(text, options.pick))
            return fail(ScriptText::BadPickOption(text));
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    WindowsHostOptions options;
    std::u16string stepText;
    bool help = false;
    if (const int status = ParseArguments(ProgramArguments(argc, argv), options, stepText, help); status != 0)
        return status;
    if (help) {
        WriteText(stdout, kUsage);
        return 0;
    }
    std::vector<ScriptStep> steps;
    std::u16string error;
    if (!ParseScriptSteps(stepText.empty() ? DemoSteps() : stepText, steps, error)) {
        PrintLine(stderr, error);
        return 2;
    }
    options.databasePath = Absolute(options.databasePath);

    const ReportLine print = [](const std::u16string& line) { PrintLine(stdout, line); };
    // The host's own boxes go to standard error: nobody is there to answer them.
    SetMessageBoxHandler(&WriteMessageBoxToStderr);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    WindowsHost host(options, print);
    ShowWindow(host.Window(), SW_SHOWNOACTIVATE);
    host.Start();
    WindowsScriptRunner runner(host, print);
    const bool done = runner.Run(steps);
    if (!done)
        PrintLine(stderr, ScriptText::Stopped(runner.Failure()));
    host.Stop();
    return done ? 0 : 1;
}
