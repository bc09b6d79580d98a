// atmocalc demo: writes a complete demo installation.
#include "Commands.h"
#include "DemoData.h"

#include "platform/system/Console.h"
#include "platform/text/Utf.h"

#include <cstdio>

namespace {

int Run(const ParsedOptions& options) {
    const DemoInstallation demo = WriteDemoInstallation(Utf8ToUtf16(options.positionals[0]));
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
             "Writes a demo installation into DIR: host.db, assays/*.stg and, under public/, the component "
             "table and the report template (PUBLIC=DIR/public makes the folder rules find them).",
             {"DIR"},
             {}},
            &Run};
}
