#include "CalculationInput.h"

#include "assay/Database.h"
#include "components/ComponentTable.h"
#include "platform/text/Utf.h"

std::vector<OptionSpec> CalculationInputOptions() {
    return {
        {"--db", OptionKind::Text, "FILE", "the host's SQLite database", true},
        {"--ids", OptionKind::Ids, "LIST", "comma-separated assay ids, in pick order", true},
        {"--components", OptionKind::Text, "FILE", "the component table file", false,
         "CompsTable.csv of the folder rule (PUBLIC)"},
        {"--std-mode", OptionKind::Integer, "N",
         "standard conditions: 1 = atmospheric air, 0 = working-area air", false, "0"},
        {"--press-grad", OptionKind::Number, "X", "pressure at calibration, mm Hg (\".\" or \",\")", false,
         "-1.0"},
        {"--press-an", OptionKind::Number, "X", "pressure at analysis, mm Hg (\".\" or \",\")", false,
         "-1.0"},
    };
}

CalculationInput ReadCalculationInput(const ParsedOptions& options) {
    CalculationInput input;
    auto& table = ComponentTable::Instance();
    if (options.Has("--components"))
        table.LoadFrom(Utf8ToUtf16(options.Text("--components")));
    else
        table.Load();

    input.settings.stdMode = options.IntegerOr("--std-mode", 0);
    input.settings.pressGrad = options.NumberOr("--press-grad", -1.0);
    input.settings.pressAn = options.NumberOr("--press-an", -1.0);

    // One connection for the whole pick, closed also when an error ends the batch.
    DatabaseGuard db(OpenDatabase(Utf8ToUtf16(options.Text("--db"))));
    for (const uint32_t id : options.Ids("--ids"))
        AddChromatogram(input.measurements, db.get(), id);
    return input;
}
