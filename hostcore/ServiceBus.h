// The host side of the function table: events, commands and services by name, reached by the
// plug-in through the C table. The table's functions carry no context, so one bus is current per
// process: the one constructed last. Nothing thrown by a handler or a service crosses the table: it is
// caught here and shown in a message box, and the host goes on.
#pragma once

#include "host/HostFunctions.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

class ServiceBus {
public:
    using Service = std::function<HostResult(intptr_t firstArgument, void* secondArgument)>;

    ServiceBus();
    ~ServiceBus();
    ServiceBus(const ServiceBus&) = delete;
    ServiceBus& operator=(const ServiceBus&) = delete;

    // The table handed to a plug-in's Load; valid while the bus lives.
    const HostFunctions* Table() const { return &table; }

    // Offers a service under the name, replacing any earlier one of that name.
    void Offer(const std::string& name, Service service);

    // The table's operations. Handles are never 0; an unknown handle is ignored.
    uint32_t Subscribe(const char* eventName, HostHandler handler);
    void Unsubscribe(uint32_t handle);
    uint32_t RegisterCommand(const char* commandName, HostHandler handler);
    void UnregisterCommand(uint32_t handle);
    // The service's result; ServiceNotFound for an unknown name, 0 when the service threw.
    HostResult CallService(const char* serviceName, intptr_t firstArgument, void* secondArgument);
    // 1 when the service is offered, else 0.
    int ServiceExists(const char* serviceName) const;

    // Runs every handler subscribed to the event, in subscription order (handlers subscribed while
    // it runs included); returns how many ran.
    int Fire(const std::string& eventName);
    // Runs the command registered last under the name, with the window as owner; false when none is.
    bool RunCommand(const std::string& commandName, void* window);
    bool HasCommand(const std::string& commandName) const;

    // Called after every change of the registered commands (the menus enable their items by it).
    std::function<void()> commandsChanged;

private:
    struct Registration {
        uint32_t handle;
        std::string name;
        HostHandler handler;
        bool active;
    };

    HostFunctions table{};
    std::vector<Registration> subscriptions;
    std::vector<Registration> commands;
    std::map<std::string, Service> services;
    uint32_t nextHandle = 1;
    ServiceBus* previous;
};
