// The services the host offers on its bus: "MainMenu/CreateNewMenu", "Main/OpenAssayIdDlg",
// "Main/OpenAssayFile", "DB/GetConnectionUri" and the four profile services. A service never throws;
// an argument it cannot use gives 0.
#pragma once

#include "hostapp/HostOptions.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>

class HostProfile;
class MainWindow;
class ServiceBus;

struct HostServiceContext {
    MainWindow* window = nullptr;
    HostProfile* profile = nullptr;
    QString databasePath;                       // empty: the host has no database
    std::u16string connectionUri;               // "DB/GetConnectionUri"'s text (owned here); empty: none
    std::optional<PickAnswer> scriptedPick;     // set: the picker answers by itself, unseen
    std::function<void(const QString&)> report; // scripted runs: one line per thing the host did
    bool profileWriteFailed = false;            // a failed profile write was shown; the next is not
};

// Offers the services on the bus; the context must outlive the bus's use of them.
void OfferHostServices(ServiceBus& bus, HostServiceContext& context);
