// Renders the plug-in's dialogs to PNG files, with the chromatograms of a demo installation made by
// `atmocalc demo DIR`, on the system's desktop (./run screenshots: Qt's offscreen platform on Linux,
// the real windows under wine on a virtual display on Windows):
//   dialogs_screenshots <folder> <demo DIR>  ->  main-results.png, main-messages.png, settings.png,
//                                               components-editing.png, about.png
// and on Linux the host's windows behind "Добавить хроматограммы" and "Открыть хроматограмму", on the
// demo database and its first assay: picker.png and chromatogram.png (HostScreenshots.cpp).
// The program plays the host: its picker offers every visible assay of the demo database, and its
// profile holds the demo's settings (atmospheric air, 750 and 745 mm Hg).
#include "Capture.h"
#include "ui/AboutDlg.h"
#include "ui/ComponentsDlg.h"
#include "ui/DlgMain.h"
#include "ui/GridCtrlEditCell.h"
#include "ui/SettingsDlg.h"

#include "host/DataBaseConnectionBase.h"
#include "host/PluginState.h"
#include "host/Profile.h"
#include "hostcore/AssayCatalog.h"
#include "platform/system/Environment.h"
#include "platform/text/Utf.h"
#include "support/Desktop.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#ifndef _WIN32
// The host's own windows, which only the Linux host has: true when both were saved.
bool SaveHostWindows(HWND owner, const std::filesystem::path& folder, const std::filesystem::path& demo);
#endif

namespace {

std::vector<uint32_t> visibleIds;
std::map<std::u16string, int32_t> intProfile;
std::map<std::u16string, double> doubleProfile;

template <typename T> HostResult Read(const std::map<std::u16string, T>& profile, intptr_t key, void* value) {
    const auto found = profile.find(reinterpret_cast<const char16_t*>(key));
    if (found == profile.end())
        return 0;
    *static_cast<T*>(value) = found->second;
    return 1;
}

HostResult CallHostService(const char* name, intptr_t first, void* second) {
    const std::string service = name;
    if (service == "Main/OpenAssayIdDlg") {
        const size_t count = std::min(visibleIds.size(), static_cast<size_t>(first));
        std::memcpy(second, visibleIds.data(), count * sizeof(uint32_t));
        return static_cast<HostResult>(count);
    }
    if (service == "Profile/GetInt")
        return Read(intProfile, first, second);
    if (service == "Profile/GetDouble")
        return Read(doubleProfile, first, second);
    if (service == "Profile/SetInt" || service == "Profile/SetDouble" || service == "Main/OpenAssayFile")
        return 1;
    return ServiceNotFound;
}

int HostServiceExists(const char* name) {
    static const std::set<std::string> offered = {"Main/OpenAssayIdDlg", "Main/OpenAssayFile",
                                                  "Profile/GetInt",      "Profile/GetDouble",
                                                  "Profile/SetInt",      "Profile/SetDouble"};
    return offered.count(name) ? 1 : 0;
}

const HostFunctions kHost = {{}, nullptr, nullptr, nullptr, nullptr, &CallHostService, &HostServiceExists};

} // namespace

int main(int argc, char** argv) {
    Desktop desktop(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: dialogs_screenshots <folder> <demo folder>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const std::filesystem::path demo = argv[2];
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    if (made) {
        std::fprintf(stderr, "cannot make the folder %s: %s\n", folder.string().c_str(), made.message().c_str());
        return 1;
    }
    std::vector<AssayListRow> assays;
    std::u16string error;
    if (!ReadAssayList((demo / "host.db").u16string(), assays, error) || assays.empty()) {
        std::fprintf(stderr, "no assays in %s %s\n", (demo / "host.db").string().c_str(), Utf16ToUtf8(error).c_str());
        return 1;
    }
    for (const AssayListRow& row : assays)
        visibleIds.push_back(row.id);
    SetEnvironmentText("PUBLIC", (demo / "public").u16string());
    hostTable = &kHost;
    profileSection = u"plugins\\atmocalc";
    DataBaseConnectionBase::Instance()->connectionUri = (demo / "host.db").u16string();
    intProfile[ProfileKey(u"Settings", u"stdMode")] = 1;
    doubleProfile[ProfileKey(u"Settings", u"pressGrad")] = 750.0;
    doubleProfile[ProfileKey(u"Settings", u"pressAn")] = 745.0;
    bool ok = true;

    auto* main = static_cast<DlgMain*>(CreateMainDialog(nullptr));
    if (!main)
        return 1;
    main->ShowNormal();
    Desktop::Click(main->GetDlgItem(1003)->GetSafeHwnd());
    ok &= Save(main->GetSafeHwnd(), folder / "main-results.png");
    Desktop::ChooseTab(main->tabs.GetSafeHwnd(), 1);
    ok &= Save(main->GetSafeHwnd(), folder / "main-messages.png");

    SettingsDlg settings(main->GetSafeHwnd());
    settings.Create();
    settings.ShowWindow(SW_SHOWNORMAL);
    ok &= Save(settings.GetSafeHwnd(), folder / "settings.png");
    settings.DestroyWindow();

    ComponentsDlg components(main->GetSafeHwnd());
    components.Create();
    components.ShowWindow(SW_SHOWNORMAL);
    Settle();
    if (CGridCtrlEditCell* editor = components.grid.EditCell(2, 2)) {
        editor->SetWindowText(u"1,05");
        editor->SetSel(0, -1);
    }
    ok &= Save(components.GetSafeHwnd(), folder / "components-editing.png");
    components.DestroyWindow();

    CAboutDlg about(main->GetSafeHwnd());
    about.Create();
    about.ShowWindow(SW_SHOWNORMAL);
    ok &= Save(about.GetSafeHwnd(), folder / "about.png");
    about.DestroyWindow();

#ifndef _WIN32
    ok &= SaveHostWindows(main->GetSafeHwnd(), folder, demo);
#endif
    main->DestroyNow();
    return ok ? 0 : 1;
}
