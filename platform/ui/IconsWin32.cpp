#include "Icons.h"

#include "Win32Window.h"

#include <map>
#include <mutex>

namespace {

// Which resource each icon handle of ours was loaded from, so that a window can show the same icon at
// the size its place needs (a caption's big and small icon, a button's).
struct LoadedIcons {
    std::mutex lock;
    std::map<HICON, int> resources;
};

LoadedIcons& Loaded() {
    static LoadedIcons loaded;
    return loaded;
}

HICON LoadShared(int id, int size) {
    // Shared images are the module's: loaded once per size and never destroyed.
    auto* icon = static_cast<HICON>(
        LoadImageW(FrameworkModule(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_SHARED));
    if (icon) {
        const std::lock_guard guard(Loaded().lock);
        Loaded().resources.emplace(icon, id);
    }
    return icon;
}

} // namespace

HICON LoadIconResource(int id) {
    return LoadShared(id, GetSystemMetrics(SM_CXSMICON));
}

HICON LoadIconImage(int id, int size) {
    return size > 0 ? LoadShared(id, size) : nullptr;
}

HICON SizedIcon(HICON icon, int size) {
    int id = 0;
    {
        const std::lock_guard guard(Loaded().lock);
        const auto it = Loaded().resources.find(icon);
        if (it == Loaded().resources.end())
            return icon;
        id = it->second;
    }
    HICON sized = LoadShared(id, size);
    return sized ? sized : icon;
}
