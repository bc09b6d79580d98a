#include "hostcore/PluginLibrary.h"

#include "platform/text/Utf.h"

#include <dlfcn.h>

void* PluginLibrary::MapModule(const std::u16string& path, std::u16string& reason) {
    // RTLD_LOCAL: two modules may export the same three names.
    void* module = dlopen(Utf16ToUtf8(path).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module)
        reason = Utf8ToUtf16(dlerror());
    return module;
}

void* PluginLibrary::FindEntry(void* module, const char* name) {
    return dlsym(module, name);
}

void PluginLibrary::UnmapModule(void* module) {
    dlclose(module);
}
