#include "ImportPatch.h"

#include <cstring>

void* PatchImport(HMODULE module, const char* library, const char* function, void* replacement) {
    const auto base = reinterpret_cast<BYTE*>(module);
    const auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (!module || dos->e_magic != IMAGE_DOS_SIGNATURE)
        return nullptr;
    const auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (nt->Signature != IMAGE_NT_SIGNATURE || directory.VirtualAddress == 0)
        return nullptr;
    for (auto descriptor = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         descriptor->Name != 0; ++descriptor) {
        if (_stricmp(reinterpret_cast<const char*>(base + descriptor->Name), library) != 0)
            continue;
        // The names are in the lookup table; the loader wrote the addresses over the other copy. A
        // module bound without a lookup table cannot be searched by name.
        if (descriptor->OriginalFirstThunk == 0)
            continue;
        auto names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + descriptor->OriginalFirstThunk);
        auto addresses = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++addresses) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0)
                continue;
            void* const previous = reinterpret_cast<void*>(addresses->u1.Function);
            DWORD protection = 0;
            if (!VirtualProtect(&addresses->u1.Function, sizeof(addresses->u1.Function), PAGE_READWRITE,
                                &protection))
                return nullptr;
            addresses->u1.Function = reinterpret_cast<decltype(addresses->u1.Function)>(replacement);
            VirtualProtect(&addresses->u1.Function, sizeof(addresses->u1.Function), protection, &protection);
            FlushInstructionCache(GetCurrentProcess(), &addresses->u1.Function, sizeof(addresses->u1.Function));
            return previous;
        }
    }
    return nullptr;
}
