// Renders the plug-in's dialogs to PNG files, on whatever Qt platform the process runs (./run
// screenshots uses the offscreen one), with the chromatograms of a demo installation made by
// `atmocalc demo DIR`:
//   dialogs_screenshots <folder> <demo DIR>  ->  main-results.png, main-messages.png, settings.png,
//                                               components-editing.png, about.png, picker.png,
//                                               chromatogram.png
// (picker.png and chromatogram.png: the host's windows behind "Добавить хроматограммы" and
// "Открыть хроматограмму", on the demo database and its first assay).
// The program plays the host: its picker offers every visible assay of the demo database, and its
// profile holds the demo's settings (atmospheric air, 750 and 745 mm Hg).
#include "Capture.h"
#include "ui/AboutDlg.h"
#include "ui/ComponentsDlg.h"
#include "ui/DlgMain.h"
#include "ui/GridCtrlEditCell.h"
#include "ui/SettingsDlg.h"

#include "assay/VeltraFile4.h"
#include "hostapp/AssayTableModel.h"
#include "hostapp/AssayPickerDlg.h"
#include "hostapp/ChromatogramWindow.h"
#include "host/DataBaseConnectionBase.h"
#include "host/PluginState.h"
#include "host/Profile.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <sqlite3.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

std::vector<uint32_t> visibleIds;
std::map<std::u16string, int32_t> intProfile;
std::map<std::u16string, double> doubleProfile;

std::vector<uint32_t> VisibleAssays(const std::filesystem::path& database) {
    std::vector<uint32_t> ids;
    sqlite3* connection = nullptr;
    if (sqlite3_open_v2(database.c_str(), &connection, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(connection,
                           "SELECT id FROM assay WHERE isdeleted = 0 AND ishidden = 0 ORDER BY id;", -1,
                           &statement, nullptr);
        while (statement && sqlite3_step(statement) == SQLITE_ROW)
            ids.push_back(static_cast<uint32_t>(sqlite3_column_int64(statement, 0)));
        sqlite3_finalize(statement);
    }
    sqlite3_close(connection);
    return ids;
}

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
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: dialogs_screenshots <folder> <demo folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const std::filesystem::path demo = argv[2];
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot make the folder %s\n", qPrintable(folder));
        return 1;
    }
    visibleIds = VisibleAssays(demo / "host.db");
    if (visibleIds.empty()) {
        std::fprintf(stderr, "no assays in %s\n", (demo / "host.db").c_str());
        return 1;
    }
    ::setenv("PUBLIC", (demo / "public").c_str(), 1);
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
    QTest::mouseClick(main->GetDlgItem(1003)->GetSafeHwnd(), Qt::LeftButton);
    ok &= Save(main->GetSafeHwnd(), folder + "/main-results.png");
    auto* bar = main->tabs.GetSafeHwnd()->findChild<QTabBar*>();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    ok &= Save(main->GetSafeHwnd(), folder + "/main-messages.png");

    SettingsDlg settings(main->GetSafeHwnd());
    settings.Create();
    settings.ShowWindow(SW_SHOWNORMAL);
    ok &= Save(settings.GetSafeHwnd(), folder + "/settings.png");

    ComponentsDlg components(main->GetSafeHwnd());
    components.Create();
    components.ShowWindow(SW_SHOWNORMAL);
    Settle();
    if (CGridCtrlEditCell* editor = components.grid.EditCell(2, 2)) {
        editor->SetWindowText(u"1,05");
        editor->SetSel(0, -1);
    }
    ok &= Save(components.GetSafeHwnd(), folder + "/components-editing.png");

    CAboutDlg about(main->GetSafeHwnd());
    about.Create();
    about.ShowWindow(SW_SHOWNORMAL);
    ok &= Save(about.GetSafeHwnd(), folder + "/about.png");

    AssayTableModel assays;
    if (assays.Reload(QString::fromStdString((demo / "host.db").string()))) {
        AssayPickerDlg picker(assays, 256, main->GetSafeHwnd());
        picker.SelectIds({4, 5});
        picker.show();
        ok &= Save(&picker, folder + "/picker.png");
    } else {
        std::fprintf(stderr, "cannot list the assays: %s\n", qPrintable(assays.Error()));
        ok = false;
    }

    CVeltraFile4 assay;
    const std::filesystem::path firstAssay = demo / "assays" / "assay1.stg";
    if (assay.LoadFromFile(firstAssay.u16string()) == 0) {
        auto* chromatogram = new ChromatogramWindow(assay.passport, assay.channels, main->GetSafeHwnd());
        chromatogram->resize(900, 600);
        chromatogram->show();
        ok &= Save(chromatogram, folder + "/chromatogram.png");
        chromatogram->close();
    } else {
        std::fprintf(stderr, "cannot read %s\n", firstAssay.c_str());
        ok = false;
    }

    main->DestroyNow();
    return ok ? 0 : 1;
}
