// atmocalc demo: writes a complete demo installation.
#include "Commands.h"
#include "DemoData.h"

#include "platform/system/Console.h"
#include "platform/text/Utf.h"

#include <cstdio>

namespace {

int Run(const ParsedOptions& options) {
    const std::filesystem::path folder = Utf8ToUtf16(options.positionals[0]);
    const DemoInstallation demo =
        options.Has("--history") ? WriteHistoryInstallation(folder) : WriteDemoInstallation(folder);
    PrintText(stdout, "host database:   %s\n", PathText(demo.database).c_str());
    for (const auto& file : demo.assayFiles)
        PrintText(stdout, "assay file:      %s\n", PathText(file).c_str());
    PrintText(stdout, "component table: %s\n", PathText(demo.componentTable).c_str());
    PrintText(stdout, "report template: %s\n", PathText(demo.reportTemplate).c_str());
    std::string ids;
    for (const uint32_t id : demo.visibleIds)
        ids += (ids.empty() ? "" : ",") + std::to_string(id);
    PrintText(stdout, "PUBLIC=%s\nvisible ids:     %s\n", PathText(demo.publicFolder).c_str(), ids.c_str());
    return kExitDone;
}

} // namespace

Command DemoCommand() {
    return {{"demo",
             "Записывает в ПАПКУ демонстрационную установку: host.db, assays/*.stg и в public/ справочник "
             "компонентов и шаблон отчёта (с PUBLIC=ПАПКА/public расчёт находит их).",
             {"ПАПКА"},
             {{"--history", OptionKind::Flag, "",
               "вместо демонстрационного расчёта — месяц градуировок для контроля стабильности (atmocalc qc)"}}},
            &Run};
}
