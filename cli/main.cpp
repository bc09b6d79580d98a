// atmocalc: the plug-in's calculation, report and assay-file code without the host and without a window.
#include "Commands.h"
#include "assay/Database.h"
#include "host/Version.h"
#include "platform/system/Console.h"
#include "platform/system/Environment.h"
#include "platform/text/Utf.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {

std::vector<Command> AllCommands() {
    return {CalcCommand(), ReportCommand(), AssayCommand(), SqlCommand(), DemoCommand(), QcCommand()};
}

void PrintHelp(FILE* to) {
    PrintText(to, "atmocalc %s: углеводороды в атмосферном воздухе и выбросах по ПНД Ф 13.1:2:3.25-99\n\n",
              Utf16ToUtf8(kVersionText).c_str());
    for (const auto& c : AllCommands())
        PrintText(to, "%s\n", UsageText(c.declaration).c_str());
    PrintText(to,
              "PUBLIC — общая папка со справочником компонентов и шаблоном отчёта (по умолчанию %s).\n"
              "Код выхода: 0 — выполнено (calc — при любых сообщениях расчёта), 1 — не выполнено (report: "
              "отчёт не создан; assay: файл не прочитан), 2 — ошибка вызова, 3 — ошибка базы данных.\n",
              ATMOCALC_PUBLIC_DIR);
}

// Where the database error happened, SQLite's message and code, and the statement when there was one.
void PrintDatabaseError(const std::string& command, const std::string& database,
                        const DataBase::SqlException& e) {
    PrintText(stderr, "atmocalc %s: ошибка базы данных %s: %s (код %d)\n", command.c_str(), database.c_str(),
              e.what(), e.code);
    if (!e.sql.empty())
        PrintText(stderr, "SQL: %s\n", e.sql.c_str());
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args = ProgramArguments(argc, argv);
    if (args.empty()) {
        PrintHelp(stderr);
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp(stdout);
        return kExitDone;
    }
    if (args[0] == "--version") {
        PrintText(stdout, "%s\n", Utf16ToUtf8(kVersionText).c_str());
        return kExitDone;
    }
    // As installed, the shared folder is the package's, as for the host: PUBLIC of the environment wins.
#ifndef _WIN32 // Windows always gives PUBLIC
    if (!GetEnvironmentText("PUBLIC"))
        ::setenv("PUBLIC", ATMOCALC_PUBLIC_DIR, 1);
#endif
    for (const auto& command : AllCommands()) {
        if (command.declaration.name != args[0])
            continue;
        const std::vector<std::string> rest(args.begin() + 1, args.end());
        ParsedOptions options;
        try {
            for (const auto& a : rest)
                if (a == "--help" || a == "-h") {
                    PrintText(stdout, "%s", UsageText(command.declaration).c_str());
                    return kExitDone;
                }
            options = ParseOptions(command.declaration, rest);
            return command.run(options);
        } catch (const UsageError& e) {
            PrintText(stderr, "atmocalc %s: %s\n%s", args[0].c_str(), e.what(),
                      UsageText(command.declaration).c_str());
            return kExitUsage;
        } catch (const DataBase::SqlException& e) {
            PrintDatabaseError(args[0], options.TextOr("--db", ""), e);
            return kExitDatabase;
        } catch (const std::exception& e) {
            PrintText(stderr, "atmocalc %s: %s\n", args[0].c_str(), e.what());
            return kExitFailed;
        }
    }
    PrintText(stderr, "atmocalc: неизвестная команда \"%s\"\n\n", args[0].c_str());
    PrintHelp(stderr);
    return kExitUsage;
}
