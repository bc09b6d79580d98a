#include "CalculationInput.h"

#include "assay/Database.h"
#include "components/ComponentTable.h"
#include "platform/system/Console.h"
#include "platform/text/Utf.h"

#include <cstdio>

std::vector<OptionSpec> CalculationInputOptions() {
    return {
        {"--db", OptionKind::Text, "ФАЙЛ", "база данных хоста (SQLite)", true},
        {"--ids", OptionKind::Ids, "СПИСОК", "номера хроматограмм (id) через запятую, в порядке выбора",
         true},
        {"--components", OptionKind::Text, "ФАЙЛ", "справочник компонентов", false,
         "PUBLIC/Documents/Veltra4/atmocalc/files/CompsTable.csv"},
        {"--std-mode", OptionKind::Integer, "N",
         "приведение к стандартным условиям: 1 — атмосферный воздух, 0 — воздух рабочей зоны", false, "0"},
        {"--press-grad", OptionKind::Number, "X", "давление при градуировке, мм рт. ст. (\".\" или \",\")",
         false, "-1.0"},
        {"--press-an", OptionKind::Number, "X", "давление при анализе, мм рт. ст. (\".\" или \",\")", false,
         "-1.0"},
    };
}

CalculationInput ReadCalculationInput(const ParsedOptions& options) {
    CalculationInput input;
    auto& table = ComponentTable::Instance();
    const bool loaded = options.Has("--components")
                            ? table.LoadFrom(Utf8ToUtf16(options.Text("--components")))
                            : table.Load();
    // The calculation's message does not name the file; the tool's user learns which one it was.
    if (!loaded) {
        std::u16string error = table.lastError;
        if (const size_t line = error.find(u":\n"); line != std::u16string::npos)
            error.replace(line, 2, u": ");
        PrintText(stderr, "atmocalc: %s\n", Utf16ToUtf8(error).c_str());
    }

    input.settings.stdMode = options.IntegerOr("--std-mode", 0);
    input.settings.pressGrad = options.NumberOr("--press-grad", -1.0);
    input.settings.pressAn = options.NumberOr("--press-an", -1.0);

    // One connection for the whole pick, closed also when an error ends the batch.
    DatabaseGuard db(OpenDatabase(Utf8ToUtf16(options.Text("--db")), DatabaseAccess::ReadOnly));
    for (const uint32_t id : options.Ids("--ids"))
        AddChromatogram(input.measurements, db.get(), id);
    return input;
}
