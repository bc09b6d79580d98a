#include "ModuleFolder.h"

#include "platform/text/Utf.h"

#include <cstdlib>
#include <dlfcn.h>
#include <link.h>

std::u16string ModuleFolder() {
    Dl_info info;
    link_map* module = nullptr;
    if (dladdr1(reinterpret_cast<void*>(&ModuleFolder), &info, reinterpret_cast<void**>(&module),
                RTLD_DL_LINKMAP) == 0 ||
        !module)
        return {};
    // The main program has no name of its own in the list of modules.
    char* resolved = realpath(module->l_name[0] ? module->l_name : "/proc/self/exe", nullptr);
    if (!resolved)
        return {};
    std::string path(resolved);
    std::free(resolved);
    return Utf8ToUtf16(path.substr(0, path.rfind('/')));
}

std::u16string ProgramFileName(std::u16string_view name) {
    return std::u16string(name);
}
