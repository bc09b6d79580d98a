// The main dialog's world for its tests: on top of DialogTest, a host window, a host database with
// an `assay` table and an assay file per assay (made by code in the test's folder), the host's picker
// answering what the test chose, and a record of the chromatograms the host was asked to open.
#pragma once

#include "DialogTestSupport.h"

#include "assay/VeltraFile4.h"
#include "ui/DlgMain.h"

#include <QWidget>

#include <cstdint>
#include <string>
#include <vector>

// Peaks of a calibration run with methane at the mixture's concentration.
std::vector<AssayPeak> CalibrationPeaks(double methaneArea);
// Peaks of a sample run.
std::vector<AssayPeak> SamplePeaks(double methaneArea, double ethaneArea);

class MainDialogTest : public DialogTest {
protected:
    MainDialogTest();
    ~MainDialogTest() override;

    // Writes the assay's file (one channel with the peaks) and its database row, replacing any row
    // of the id; returns the file's path.
    std::u16string AddAssay(uint32_t id, const std::u16string& sample, const std::vector<AssayPeak>& peaks,
                            bool isCalibration = false, const std::u16string& mixture = {},
                            int64_t date = 1700000000);
    // Runs SQL on the host database.
    void ExecuteSql(const std::string& sql);
    // From now on the lookup of `id` fails with SQLite's "integer overflow".
    void MakeLookupFail(uint32_t id);

    // Makes the dialog as the menu command does and shows it; null when that failed.
    DlgMain* Open();
    // Sets what the picker answers (the ids it writes and its result), then presses "+".
    void Pick(const std::vector<uint32_t>& ids);
    void Pick(const std::vector<uint32_t>& ids, HostResult answer);
    void Press(int id);

    std::vector<std::u16string> Column(int column) const;
    std::vector<std::u16string> MessageLines() const;
    std::vector<int32_t> RowValues() const;
    // A marker the next calculation run would wipe from the messages page.
    void MarkMessages();
    bool MarkerKept() const;

    QWidget hostWindow;
    std::filesystem::path database;
    DlgMain* dialog = nullptr;
    std::vector<uint32_t> pickerIds;
    HostResult pickerAnswer = 0;
    int pickerCalls = 0;
    std::function<void()> duringPicker;                           // runs while the picker is "open"
    std::vector<std::pair<intptr_t, std::u16string>> openedFiles; // "Main/OpenAssayFile" calls
};
