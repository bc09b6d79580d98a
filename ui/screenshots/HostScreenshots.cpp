// The Linux host's own windows for the screenshots: the chromatogram picker and the chromatogram.
#include "Capture.h"

#include "assay/VeltraFile4.h"
#include "hostapp/AssayPickerDlg.h"
#include "hostapp/AssayTableModel.h"
#include "hostapp/ChromatogramWindow.h"

#include <cstdio>
#include <filesystem>

bool SaveHostWindows(HWND owner, const std::filesystem::path& folder, const std::filesystem::path& demo) {
    bool ok = true;
    AssayTableModel assays;
    if (assays.Reload(QString::fromStdString((demo / "host.db").string()))) {
        AssayPickerDlg picker(assays, 256, owner);
        picker.SelectIds({4, 5});
        picker.show();
        ok &= Save(&picker, folder / "picker.png");
    } else {
        std::fprintf(stderr, "cannot list the assays: %s\n", qPrintable(assays.Error()));
        ok = false;
    }

    CVeltraFile4 assay;
    const std::filesystem::path firstAssay = demo / "assays" / "assay1.stg";
    if (assay.LoadFromFile(firstAssay.u16string()) == 0) {
        auto* chromatogram = new ChromatogramWindow(assay.passport, assay.channels, owner);
        chromatogram->resize(900, 600);
        chromatogram->show();
        ok &= Save(chromatogram, folder / "chromatogram.png");
        chromatogram->close();
    } else {
        std::fprintf(stderr, "cannot read %s\n", firstAssay.c_str());
        ok = false;
    }

    return ok;
}
