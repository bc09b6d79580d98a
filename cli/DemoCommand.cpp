// atmocalc demo: writes a complete demo installation.
#include "Commands.h"
#include "DemoData.h"

#include <cstdio>

namespace {

int Run(const ParsedOptions& options) {
    const DemoInstallation demo = options.Has("--history") ? WriteHistoryInstallation(options.positionals[0])
                                                           : WriteDemoInstallation(options.positionals[0]);
    std::printf("host database:   %s\n", demo.database.c_str());
    for (const auto& file : demo.assayFiles)
        std::printf("assay file:      %s\n", file.c_str());
    std::printf("component table: %s\n", demo.componentTable.c_str());
    std::printf("report template: %s\n", demo.reportTemplate.c_str());
    std::string ids;
    for (const uint32_t id : demo.visibleIds)
        ids += (ids.empty() ? "" : ",") + std::to_string(id);
    std::printf("PUBLIC=%s\nvisible ids:     %s\n", demo.publicFolder.c_str(), ids.c_str());
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
