// atmocalc: the plug-in's calculation, report and assay-file code without the host and without a window.
#include "Commands.h"
#include "assay/Database.h"
#include "host/Version.h"
#include "platform/system/Console.h"
#include "platform/text/Utf.h"

#include <cstdio>
#include <exception>

namespace {

std::vector<Command> AllCommands() {
    return {CalcCommand(), ReportCommand(), AssayCommand(), SqlCommand(), DemoCommand()};
}

void PrintHelp(FILE* to) {
    PrintText(to, "atmocalc %s: hydrocarbons in air and emissions by ПНД Ф 13.1:2:3.25-99\n\n",
                 Utf16ToUtf8(kVersionText).c_str());
    for (const auto& c : AllCommands())
        PrintText(to, "%s\n", UsageText(c.declaration).c_str());
    PrintText(to, "Exit status: 0 done, 1 failed (report error, unreadable assay file), 2 usage error, "
                     "3 database error.\n");
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
    for (const auto& command : AllCommands()) {
        if (command.declaration.name != args[0])
            continue;
        const std::vector<std::string> rest(args.begin() + 1, args.end());
        try {
            for (const auto& a : rest)
                if (a == "--help" || a == "-h") {
                    PrintText(stdout, "%s", UsageText(command.declaration).c_str());
                    return kExitDone;
                }
            return command.run(ParseOptions(command.declaration, rest));
        } catch (const UsageError& e) {
            PrintText(stderr, "atmocalc %s: %s\n%s", args[0].c_str(), e.what(),
                         UsageText(command.declaration).c_str());
            return kExitUsage;
        } catch (const DataBase::SqlException& e) {
            PrintText(stderr, "database error: %s\ncode: %d\nsql: %s\n", e.what(), e.code, e.sql.c_str());
            return kExitDatabase;
        } catch (const std::exception& e) {
            PrintText(stderr, "atmocalc %s: %s\n", args[0].c_str(), e.what());
            return kExitFailed;
        }
    }
    PrintText(stderr, "atmocalc: unknown command \"%s\"\n\n", args[0].c_str());
    PrintHelp(stderr);
    return kExitUsage;
}
