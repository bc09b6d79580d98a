// String resources of the module (program or library) that this code is linked into.
#pragma once

#include <cstddef>
#include <string>

// String resource `id` of this module, or the empty text when it has none. On Windows the module's
// string table; elsewhere the table compiled into the module from the same resource script
// (cmake/StringTable.cmake).
std::u16string LoadModuleString(unsigned id);

#ifndef _WIN32
struct ModuleStringEntry {
    unsigned id;
    const char16_t* text;
};
// Defined by the generated table of the module.
extern const ModuleStringEntry kModuleStrings[];
extern const std::size_t kModuleStringCount;
#endif
