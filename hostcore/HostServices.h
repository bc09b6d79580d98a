// The services the host offers on its bus. None throws; an argument it cannot use gives 0.
//   "MainMenu/CreateNewMenu"  (0, NewMenuInfo*): the menu item; 1, or 0 for a record it cannot use
//   "Main/OpenAssayIdDlg"     (capacity, uint32 ids[capacity]): the picker; the number of ids written,
//                             at most the capacity; 0 when cancelled or when there is nothing to offer
//   "Main/OpenAssayFile"      (any, UTF-16 path): a chromatogram window for the file (the plug-in passes
//                             1 first; the host reads no meaning into it); 1, or 0 when it cannot be read
//   "DB/GetConnectionUri"     (0, 0): the database path as UTF-16, owned by the host until it closes;
//                             0 (no text) when the host has no database
//   "Profile/GetInt", "Profile/GetDouble" (UTF-16 key, int32* / double*): 1 and the value written when
//                             the key holds one of that type, else 0 and the value untouched
//   "Profile/SetInt", "Profile/SetDouble" (UTF-16 key, int32* / double*): 1 when stored in the file
// What the services show goes through the host program's windows (HostWindows); the rest is the same in
// every host program.
#pragma once

#include "hostcore/ScriptSteps.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class CVeltraFile4;
class HostProfile;
class ServiceBus;

// The host program's windows, as the services use them.
class HostWindows {
public:
    virtual ~HostWindows() = default;
    // Adds the item at the "/"-separated path, running the command; false when it cannot be added.
    virtual bool AddMenuItem(const std::u16string& menuPath, const char* commandName) = 0;
    // The ids of the database's assays as the picker offers them, in its order (the list is reread, so
    // that every window of the host shows what the picker offers); false with `error` set when the
    // database cannot be read.
    virtual bool OfferedAssays(std::vector<uint32_t>& ids, std::u16string& error) = 0;
    // The picker shown to the user: the ids chosen, at most `capacity`; empty when cancelled.
    virtual std::vector<uint32_t> AskForAssays(uint32_t capacity) = 0;
    // A window showing the chromatogram read from the file at path.
    virtual void ShowChromatogram(const std::u16string& path, const CVeltraFile4& file) = 0;
};

struct HostServiceContext {
    HostWindows* windows = nullptr;
    HostProfile* profile = nullptr;
    std::u16string connectionUri;           // the database's path, "DB/GetConnectionUri"'s text (owned here);
                                            // empty: the host has no database
    std::optional<PickAnswer> scriptedPick; // set: the picker answers by itself, unseen
    std::function<void(const std::u16string&)> report; // scripted runs: one line per thing the host did
    bool profileWriteFailed = false;        // a failed profile write was shown; the next is not
};

// True when a file is at path, the database a host was started with; else says so in a box (the host
// then works without a database).
bool DatabaseFileFound(const std::u16string& path);
// Offers the services on the bus; the context must outlive the bus's use of them.
void OfferHostServices(ServiceBus& bus, HostServiceContext& context);
// Opens the chromatogram window for the assay file, as "Main/OpenAssayFile" does; false (and shown in a
// box) when the file cannot be read.
bool OpenChromatogram(HostServiceContext& context, const std::u16string& path);
// The scripted picker's choice among the offered ids (in their order), told line by line to `report`:
// every one, none, or the given ones that are offered. More than `capacity` passes nothing, as the
// picker's OK does not take them.
std::vector<uint32_t> ScriptedPick(const std::vector<uint32_t>& offered, const PickAnswer& answer,
                                   uint32_t capacity, const std::function<void(const std::u16string&)>& report);
