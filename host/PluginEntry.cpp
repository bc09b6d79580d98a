// The exported entry points, the two host handlers and the process-wide state.
#include "host/DataBaseConnectionBase.h"
#include "host/PluginInfo.h"
#include "host/PluginState.h"
#include "host/Version.h"
#include "platform/system/MessageBox.h"
#include "platform/system/ModuleString.h"
#include "platform/text/Utf.h"

#include <cstring>
#include <exception>

const HostFunctions* hostTable = nullptr;
uint32_t eventHandle = 0;
uint32_t commandHandle = 0;
MainDialogWindow* mainDialog = nullptr;
bool mainDialogClosed = true;
std::u16string profileSection;

namespace {

MainDialogCreator mainDialogCreator = nullptr;

constexpr char kModulesLoadedEvent[] = "System/ModulesLoaded";
constexpr char kMenuCommand[] = "atmocalc/MenuCommand";
constexpr unsigned kMenuPathString = 104; // in host/Strings.rc
constexpr char16_t kCaption[] = u"atmocalc";

const PluginInfo kPluginInfo = {
    sizeof(PluginInfo),
    u"atmocalc",
    kVersionPacked,
    u"Расчет Аэро: Тамирель по ПНД Ф 13.1:2:3.25-99",
    u"atmocalc team",
    u"support@atmocalc.example",
    u"© 2026 atmocalc team. All rights reserved.",
    u"https://atmocalc.example",
    {0x6d1f3a52, 0x4c8e, 0x4b1a, {0x9e, 0x27, 0x51, 0x0c, 0xa4, 0x3d, 0x7b, 0x86}},
};

void ShowError(std::u16string_view text) { ShowMessageBox(nullptr, text, kCaption, MB_OK | MB_ICONERROR); }

// No exception may cross the host table: a failure inside an entry point or a handler is shown and the
// host goes on. Nor may one leave through the box itself (no memory left for its text): on Windows an
// exception cannot be unwound through the host's frames at all, and the process would end.
template <typename Body>
int Guarded(Body body) noexcept {
    try {
        try {
            body();
        } catch (const std::exception& e) {
            ShowError(Utf8ToUtf16(e.what()));
        } catch (...) {
            ShowError(u"Unexpected error.");
        }
    } catch (...) {
    }
    return 0;
}

} // namespace

void SetMainDialogCreator(MainDialogCreator creator) { mainDialogCreator = creator; }

HostResult CallService(const char* serviceName, intptr_t firstArgument, void* secondArgument) {
    if (!hostTable || !hostTable->CallService)
        return ServiceNotFound;
    return hostTable->CallService(serviceName, firstArgument, secondArgument);
}

bool ServiceExists(const char* serviceName) {
    return hostTable && hostTable->ServiceExists && hostTable->ServiceExists(serviceName) != 0;
}

int OnModulesLoaded(void*) {
    return Guarded([] {
        if (!hostTable)
            return;
        // A host without a slot is a host without that operation: the plug-in goes on without it.
        if (hostTable->RegisterCommand)
            commandHandle = hostTable->RegisterCommand(kMenuCommand, &OnMenuCommand);

        const std::u16string menuPath = LoadModuleString(kMenuPathString);
        NewMenuInfo menu{sizeof(NewMenuInfo), menuPath.c_str(), 0, kMenuCommand};
        if (CallService("MainMenu/CreateNewMenu", 0, &menu) == ServiceNotFound)
            ShowError(u"CreateNewMenu service not found.");

        if (!ServiceExists("Main/OpenAssayIdDlg"))
            ShowError(u"OpenAssayIdDlg service not found.");

        if (ServiceExists("DB/GetConnectionUri")) {
            // A host that says it has the service and then answers "not found" gives no text either.
            const HostResult answer = CallService("DB/GetConnectionUri", 0, nullptr);
            if (answer != 0 && answer != ServiceNotFound)
                DataBaseConnectionBase::Instance()->connectionUri =
                    std::u16string(reinterpret_cast<const char16_t*>(answer));
        } else {
            ShowError(u"GetDbUri service not found.");
        }

        profileSection = u"plugins\\atmocalc";
    });
}

int OnMenuCommand(void* hostWindow) {
    return Guarded([hostWindow] {
        if ((!mainDialog || mainDialogClosed) && mainDialogCreator)
            mainDialog = mainDialogCreator(hostWindow);
        if (mainDialog && !mainDialogClosed)
            mainDialog->ShowNormal();
    });
}

extern "C" const PluginInfo* GetPluginInfo(void) { return &kPluginInfo; }

extern "C" int Load(const HostFunctions* host) {
    return Guarded([host] {
        hostTable = host;
        if (host && host->Subscribe)
            eventHandle = host->Subscribe(kModulesLoadedEvent, &OnModulesLoaded);
    });
}

extern "C" int Unload(void) {
    return Guarded([] {
        if (hostTable && hostTable->Unsubscribe)
            hostTable->Unsubscribe(eventHandle);
        if (hostTable && hostTable->UnregisterCommand)
            hostTable->UnregisterCommand(commandHandle);
        // The module's code goes away with the host's dlclose: a main dialog still open would be left
        // with no code behind its window, so it is destroyed here.
        if (mainDialog && !mainDialogClosed)
            mainDialog->DestroyNow();
        mainDialog = nullptr;
        DataBaseConnectionBase::DeleteInstance();
        eventHandle = 0;
        commandHandle = 0;
    });
}
