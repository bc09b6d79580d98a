#include "FakeHost.h"

#include <stdexcept>

namespace {
FakeHost* current = nullptr;

FakeHost& Current() {
    if (!current)
        throw std::logic_error("no fake host is current");
    return *current;
}
} // namespace

FakeHost::FakeHost() {
    table.Subscribe = &SubscribeThunk;
    table.Unsubscribe = &UnsubscribeThunk;
    table.RegisterCommand = &RegisterCommandThunk;
    table.UnregisterCommand = &UnregisterCommandThunk;
    table.CallService = &CallServiceThunk;
    table.ServiceExists = &ServiceExistsThunk;
    current = this;
}

FakeHost::~FakeHost() {
    if (current == this)
        current = nullptr;
}

void FakeHost::Offer(const std::string& name, Service service) { services[name] = std::move(service); }

void FakeHost::Withhold(const std::string& name) { services.erase(name); }

void FakeHost::OfferProfile() {
    Offer("Profile/GetInt", [this](intptr_t key, void* value) -> HostResult {
        const std::u16string k(reinterpret_cast<const char16_t*>(key));
        profileKeys.push_back(k);
        auto it = intProfile.find(k);
        if (it == intProfile.end())
            return 0;
        *static_cast<int32_t*>(value) = it->second;
        return 1;
    });
    Offer("Profile/GetDouble", [this](intptr_t key, void* value) -> HostResult {
        const std::u16string k(reinterpret_cast<const char16_t*>(key));
        profileKeys.push_back(k);
        auto it = doubleProfile.find(k);
        if (it == doubleProfile.end())
            return 0;
        *static_cast<double*>(value) = it->second;
        return 1;
    });
    Offer("Profile/SetInt", [this](intptr_t key, void* value) -> HostResult {
        const std::u16string k(reinterpret_cast<const char16_t*>(key));
        profileKeys.push_back(k);
        intProfile[k] = *static_cast<int32_t*>(value);
        return 1;
    });
    Offer("Profile/SetDouble", [this](intptr_t key, void* value) -> HostResult {
        const std::u16string k(reinterpret_cast<const char16_t*>(key));
        profileKeys.push_back(k);
        doubleProfile[k] = *static_cast<double*>(value);
        return 1;
    });
}

void FakeHost::OfferStandardServices() {
    Offer("MainMenu/CreateNewMenu", [this](intptr_t, void* info) -> HostResult {
        const auto* menu = static_cast<const NewMenuInfo*>(info);
        menuPaths.emplace_back(menu->menuPath);
        menuCommands.emplace_back(menu->commandName);
        return 1;
    });
    Offer("Main/OpenAssayIdDlg", [](intptr_t, void*) -> HostResult { return 0; });
    Offer("DB/GetConnectionUri",
          [this](intptr_t, void*) -> HostResult { return reinterpret_cast<HostResult>(connectionUri.c_str()); });
}

int FakeHost::Fire(const std::string& eventName) {
    int ran = 0;
    // Handlers may subscribe further handlers: walk by index over a list that may grow.
    for (size_t i = 0; i < subscriptions.size(); ++i) {
        if (subscriptions[i].active && subscriptions[i].name == eventName) {
            subscriptions[i].handler(nullptr);
            ++ran;
        }
    }
    return ran;
}

bool FakeHost::RunCommand(const std::string& commandName, void* window) {
    for (const auto& c : commands)
        if (c.active && c.name == commandName) {
            c.handler(window);
            return true;
        }
    return false;
}

uint32_t FakeHost::SubscribeThunk(const char* name, HostHandler handler) {
    auto& host = Current();
    host.subscriptions.push_back({host.nextHandle, name, handler, true});
    return host.nextHandle++;
}

void FakeHost::UnsubscribeThunk(uint32_t handle) {
    auto& host = Current();
    host.unsubscribed.push_back(handle);
    for (auto& s : host.subscriptions)
        if (s.handle == handle)
            s.active = false;
}

uint32_t FakeHost::RegisterCommandThunk(const char* name, HostHandler handler) {
    auto& host = Current();
    host.commands.push_back({host.nextHandle, name, handler, true});
    return host.nextHandle++;
}

void FakeHost::UnregisterCommandThunk(uint32_t handle) {
    auto& host = Current();
    host.unregistered.push_back(handle);
    for (auto& c : host.commands)
        if (c.handle == handle)
            c.active = false;
}

HostResult FakeHost::CallServiceThunk(const char* name, intptr_t first, void* second) {
    auto& host = Current();
    host.serviceCalls.emplace_back(name);
    auto it = host.services.find(name);
    if (it == host.services.end())
        return ServiceNotFound;
    return it->second(first, second);
}

int FakeHost::ServiceExistsThunk(const char* name) { return Current().services.count(name) ? 1 : 0; }
