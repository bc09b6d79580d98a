// The component reference: the components the calculation knows, with their coefficient and group,
// kept in the semicolon-separated file "CompsTable.csv" (code page 1251) under the public documents folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ComponentRecord {
    int32_t ID = 0;          // row identifier as stored; not used by any calculation
    std::u16string Name;     // matched case-insensitively with peak names
    std::u16string AltName;  // kept and written back only
    double K = 0;            // component coefficient
    int32_t group = 0;       // 0 and 1 enter the group sums; any other code none
};

class ComponentTable {
public:
    // The one table of the process, created empty and not loaded on first use.
    static ComponentTable& Instance();

    // Replaces `records` with the file's rows and sets `loaded`; true on success, else false with
    // `records` empty, `loaded` false and `lastError` "Не удалось открыть файл базы компонентов:\n<path>"
    // (also when the file opens but cannot be read, or a save held it for the whole wait). Never reads a
    // half-written table.
    bool Load();
    // The same from another file (the command-line tool's --components).
    bool LoadFrom(const std::u16string& path);
    // Writes all `records` to the file (platform/system/TableFile.h says how), waiting a little for another
    // save of the same file to end; true on success, else false with `lastError` "Не удалось сохранить
    // файл базы компонентов:\n<path>" and the old file untouched. A line follows the path when the
    // table was busy with another save for the whole wait, when a symbolic link stands in the file's
    // place, or when a `K` is not a finite number (nothing is written then). Changes neither `records`
    // nor `loaded`.
    bool Save();

    std::vector<ComponentRecord> records;
    bool loaded = false;
    std::u16string lastError;
};

// The folder of the file: PUBLIC + "/Documents/Veltra4/atmocalc/files" with PUBLIC's whole value, or empty
// when PUBLIC is not set. No folder is ever created.
std::u16string ComponentFolder();
// ComponentFolder() + "/" + "CompsTable.csv" ("/CompsTable.csv" when PUBLIC is not set).
std::u16string ComponentTablePath();
