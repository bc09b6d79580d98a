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
#pragma once

#include "hostapp/HostOptions.h"

#include <QString>

#include <functional>
#include <optional>
#include <string>

class AssayTableModel;
class HostProfile;
class MainWindow;
class ServiceBus;

struct HostServiceContext {
    MainWindow* window = nullptr;
    HostProfile* profile = nullptr;
    AssayTableModel* assays = nullptr;          // the assay table the catalogue and the picker show
    QString databasePath;                       // empty: the host has no database
    std::u16string connectionUri;               // "DB/GetConnectionUri"'s text (owned here); empty: none
    std::optional<PickAnswer> scriptedPick;     // set: the picker answers by itself, unseen
    std::function<void(const QString&)> report; // scripted runs: one line per thing the host did
    bool profileWriteFailed = false;            // a failed profile write was shown; the next is not
};

// Offers the services on the bus; the context must outlive the bus's use of them.
void OfferHostServices(ServiceBus& bus, HostServiceContext& context);
// Opens the chromatogram window for the assay file, as "Main/OpenAssayFile" does; false (and shown in a
// box) when the file cannot be read.
bool OpenChromatogram(HostServiceContext& context, const std::u16string& path);
