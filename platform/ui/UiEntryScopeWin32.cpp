#include "UiEntryScope.h"

#include "Win32Window.h"

namespace {

// The activation context of the module this code is linked into, made once from its resource 2 and
// released when the module goes; INVALID_HANDLE_VALUE when the module has no usable manifest.
class ModuleContext {
public:
    ModuleContext() {
        const HMODULE module = FrameworkModule();
        if (!module)
            return;
        ACTCTXW request{};
        request.cbSize = sizeof request;
        request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.hModule = module;
        request.lpResourceName = MAKEINTRESOURCEW(2);
        context = CreateActCtxW(&request);
    }
    ~ModuleContext() {
        if (context != INVALID_HANDLE_VALUE)
            ReleaseActCtx(context);
    }
    ModuleContext(const ModuleContext&) = delete;
    ModuleContext& operator=(const ModuleContext&) = delete;

    static ModuleContext& Instance() {
        static ModuleContext instance;
        return instance;
    }
    HANDLE context = INVALID_HANDLE_VALUE;
};

} // namespace

UiEntryScope::UiEntryScope() {
    const HANDLE context = ModuleContext::Instance().context;
    active = context != INVALID_HANDLE_VALUE && ActivateActCtx(context, &cookie);
}

UiEntryScope::~UiEntryScope() {
    if (active)
        DeactivateActCtx(0, cookie);
}
