#include "ServiceBus.h"

#include "platform/system/MessageBox.h"
#include "platform/text/Format.h"
#include "platform/text/Utf.h"

#include <exception>

namespace {

ServiceBus* current = nullptr;

constexpr char16_t kCaption[] = u"Veltra";

// Runs the body; an exception is shown (`format` gets the name and the reason) and the fallback returned.
template <typename Result, typename Body>
Result Guarded(std::u16string_view format, const char* name, Result fallback, Body body) {
    std::u16string reason;
    try {
        return body();
    } catch (const std::exception& e) {
        reason = Utf8ToUtf16(e.what());
    } catch (...) {
        reason = u"непредвиденная ошибка";
    }
    ShowMessageBox(nullptr, FormatText(format, Utf8ToUtf16(name), reason), kCaption, MB_OK | MB_ICONERROR);
    return fallback;
}

uint32_t SubscribeThunk(const char* name, HostHandler handler) {
    return current ? current->Subscribe(name, handler) : 0;
}
void UnsubscribeThunk(uint32_t handle) {
    if (current)
        current->Unsubscribe(handle);
}
uint32_t RegisterCommandThunk(const char* name, HostHandler handler) {
    return current ? current->RegisterCommand(name, handler) : 0;
}
void UnregisterCommandThunk(uint32_t handle) {
    if (current)
        current->UnregisterCommand(handle);
}
HostResult CallServiceThunk(const char* name, intptr_t first, void* second) {
    return current ? current->CallService(name, first, second) : ServiceNotFound;
}
int ServiceExistsThunk(const char* name) {
    return current ? current->ServiceExists(name) : 0;
}

void Deactivate(auto& registrations, uint32_t handle) {
    for (auto& r : registrations)
        if (r.handle == handle)
            r.active = false;
}

} // namespace

ServiceBus::ServiceBus() : previous(current) {
    table.Subscribe = &SubscribeThunk;
    table.Unsubscribe = &UnsubscribeThunk;
    table.RegisterCommand = &RegisterCommandThunk;
    table.UnregisterCommand = &UnregisterCommandThunk;
    table.CallService = &CallServiceThunk;
    table.ServiceExists = &ServiceExistsThunk;
    current = this;
}

ServiceBus::~ServiceBus() {
    if (current == this)
        current = previous;
}

void ServiceBus::Offer(const std::string& name, Service service) {
    services[name] = std::move(service);
}

uint32_t ServiceBus::Subscribe(const char* eventName, HostHandler handler) {
    if (!eventName || !handler)
        return 0;
    subscriptions.push_back({nextHandle, eventName, handler, true});
    return nextHandle++;
}

void ServiceBus::Unsubscribe(uint32_t handle) {
    Deactivate(subscriptions, handle);
}

uint32_t ServiceBus::RegisterCommand(const char* commandName, HostHandler handler) {
    if (!commandName || !handler)
        return 0;
    commands.push_back({nextHandle, commandName, handler, true});
    if (commandsChanged)
        commandsChanged();
    return nextHandle++;
}

void ServiceBus::UnregisterCommand(uint32_t handle) {
    Deactivate(commands, handle);
    if (commandsChanged)
        commandsChanged();
}

HostResult ServiceBus::CallService(const char* serviceName, intptr_t firstArgument, void* secondArgument) {
    if (!serviceName)
        return ServiceNotFound;
    auto it = services.find(serviceName);
    if (it == services.end())
        return ServiceNotFound;
    // A copy: the service may offer or replace services while it runs.
    const Service service = it->second;
    return Guarded<HostResult>(u"Ошибка в сервисе \"%s\": %s\nВызов вернул 0, хост продолжает работу.",
                               serviceName, 0, [&] { return service(firstArgument, secondArgument); });
}

int ServiceBus::ServiceExists(const char* serviceName) const {
    return serviceName && services.count(serviceName) ? 1 : 0;
}

int ServiceBus::Fire(const std::string& eventName) {
    int ran = 0;
    // By index: a handler may subscribe further handlers, which run in this firing too.
    for (size_t i = 0; i < subscriptions.size(); ++i) {
        if (!subscriptions[i].active || subscriptions[i].name != eventName)
            continue;
        const HostHandler handler = subscriptions[i].handler;
        Guarded<int>(u"Ошибка в обработчике события \"%s\": %s\nХост продолжает работу.", eventName.c_str(),
                     0, [handler] { return handler(nullptr); });
        ++ran;
    }
    return ran;
}

bool ServiceBus::RunCommand(const std::string& commandName, void* window) {
    for (auto it = commands.rbegin(); it != commands.rend(); ++it) {
        if (!it->active || it->name != commandName)
            continue;
        // Copied out: the handler may register or unregister commands while it runs.
        const HostHandler handler = it->handler;
        Guarded<int>(u"Ошибка в команде \"%s\": %s\nХост продолжает работу.", commandName.c_str(), 0,
                     [handler, window] { return handler(window); });
        return true;
    }
    return false;
}

bool ServiceBus::HasCommand(const std::string& commandName) const {
    for (const auto& c : commands)
        if (c.active && c.name == commandName)
            return true;
    return false;
}
