// An in-process fake of the host data system: it fills a real HostFunctions table, records
// subscriptions, commands and service calls, offers or withholds each service, fires events and
// keeps a profile. One fake host is current at a time (the table's functions carry no context).
#pragma once

#include "host/HostFunctions.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

class FakeHost {
public:
    using Service = std::function<HostResult(intptr_t firstArgument, void* secondArgument)>;

    struct Registration {
        uint32_t handle;
        std::string name;
        HostHandler handler;
        bool active;
    };

    FakeHost();
    ~FakeHost();
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    const HostFunctions* Table() const { return &table; }

    void Offer(const std::string& name, Service service);
    void Withhold(const std::string& name);
    // Offers "Profile/GetInt", "Profile/GetDouble", "Profile/SetInt" and "Profile/SetDouble" over the maps below.
    void OfferProfile();
    // Offers "MainMenu/CreateNewMenu" (recording menu paths), "Main/OpenAssayIdDlg" (answering 0) and
    // "DB/GetConnectionUri" (answering `connectionUri`).
    void OfferStandardServices();

    // Runs every active handler of the event; returns how many ran.
    int Fire(const std::string& eventName);
    // Runs the active command of that name with the window; false when there is none.
    bool RunCommand(const std::string& commandName, void* window);

    std::vector<Registration> subscriptions;
    std::vector<Registration> commands;
    std::vector<uint32_t> unsubscribed;
    std::vector<uint32_t> unregistered;
    std::vector<std::string> serviceCalls;      // every CallService, in order
    std::vector<std::u16string> menuPaths;      // from "MainMenu/CreateNewMenu"
    std::vector<std::string> menuCommands;
    std::u16string connectionUri = u"/tmp/host.db";
    std::map<std::u16string, int32_t> intProfile;
    std::map<std::u16string, double> doubleProfile;
    std::vector<std::u16string> profileKeys;    // every key asked for or stored, in order

private:
    static uint32_t SubscribeThunk(const char* name, HostHandler handler);
    static void UnsubscribeThunk(uint32_t handle);
    static uint32_t RegisterCommandThunk(const char* name, HostHandler handler);
    static void UnregisterCommandThunk(uint32_t handle);
    static HostResult CallServiceThunk(const char* name, intptr_t first, void* second);
    static int ServiceExistsThunk(const char* name);

    HostFunctions table{};
    std::map<std::string, Service> services;
    uint32_t nextHandle = 1;
};
