#include "ModuleString.h"

std::u16string LoadModuleString(unsigned id) {
    for (std::size_t i = 0; i < kModuleStringCount; ++i)
        if (kModuleStrings[i].id == id)
            return kModuleStrings[i].text;
    return {};
}
