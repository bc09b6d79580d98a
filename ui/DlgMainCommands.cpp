// The main dialog's commands on the measurement set: add, remove the selected, remove all, open in
// the host, reload.
#include "DlgMain.h"

#include "assay/Database.h"
#include "host/DataBaseConnectionBase.h"
#include "platform/system/PathName.h"
#include "platform/text/Format.h"
#include "platform/ui/FocusKeeper.h"
#include "report/Report.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

constexpr int kPickerCapacity = 256; // assay ids the picker may return at once

std::u16string HostDatabasePath() {
    // Without a path from the host the lookup fails on an empty private database and says so.
    return DataBaseConnectionBase::Instance()->connectionUri.value_or(std::u16string());
}

} // namespace

void DlgMain::OnAddChromatograms() {
    if (pickerOpen)
        return;
    std::array<uint32_t, kPickerCapacity> ids{};
    HostResult count;
    {
        const FocusKeeper keeper(GetSafeHwnd());
        pickerOpen = true;
        count = CallService("Main/OpenAssayIdDlg", kPickerCapacity, ids.data());
        pickerOpen = false;
    }
    // Nothing chosen, or no picker. The host's answer is a count, so a negative one chose nothing.
    if (count <= 0 || count == ServiceNotFound)
        return;
    const size_t chosen = static_cast<size_t>(std::min<HostResult>(count, kPickerCapacity));
    AddChromatograms(std::span(ids.data(), chosen));
    RunCalculation();
}

void DlgMain::OnRemoveSelected() {
    const std::vector<int> rows = chromatograms.GetSelectedRows();
    if (rows.empty())
        return;
    for (int row : rows)
        if (const GridRowData* data = chromatograms.GetRowData(row))
            measurements.erase(static_cast<uint32_t>(data->value));
    RebuildRows();
    RunCalculation();
}

void DlgMain::OnRemoveAll() {
    ClearAll();
    RunCalculation();
}

void DlgMain::OnOpenChromatogram() {
    for (int row : chromatograms.GetSelectedRows()) {
        const GridRowData* data = chromatograms.GetRowData(row);
        const auto found = data ? measurements.find(static_cast<uint32_t>(data->value)) : measurements.end();
        if (found == measurements.end())
            continue;
        // The host's answer is not used.
        CallService("Main/OpenAssayFile", 1, const_cast<char16_t*>(found->second.fileName.c_str()));
    }
}

void DlgMain::OnRecalculate() {
    std::vector<uint32_t> ids;
    ids.reserve(measurements.size());
    for (const auto& entry : measurements)
        ids.push_back(entry.first);
    ClearAll();
    RunCalculation();
    // Each chromatogram is looked up, read and classified afresh, so edits made in the host count.
    AddChromatograms(ids);
    RunCalculation();
}

void DlgMain::AddChromatograms(std::span<const uint32_t> ids) {
    try {
        const RedrawSuspended quiet(chromatograms); // drawn once, with every row
        DatabaseGuard connection(OpenDatabase(HostDatabasePath()));
        for (uint32_t id : ids)
            if (const MeasurementRecord* record = AddChromatogram(measurements, connection.get(), id))
                AppendChromatogramRow(*record, id);
    } catch (...) {
        // The rows read before the failure stay, so the pages are made to describe them before the
        // failure is shown.
        RunCalculation();
        throw;
    }
    ScrollToLastRow();
}

void DlgMain::AppendChromatogramRow(const MeasurementRecord& record, uint32_t assayId) {
    const int position = chromatograms.GetItemCount();
    const int row = chromatograms.InsertItem(position, FormatText(u"%d", position + 1));
    if (row < 0)
        return;
    chromatograms.SetItemText(row, 1, std::u16string(PathFindFileName(record.fileName)));
    chromatograms.SetItemText(row, 2, record.sample);
    chromatograms.SetItemText(row, 3, FormatDateTime(record.analysisTime));
    chromatograms.SetItemText(row, 4, SampleTypeName(record.sampleType));
    chromatograms.SetItemText(row, 5, record.isCalibration ? u"Градуировка" : u"Анализ");
    chromatograms.SetItemText(row, 6, record.mixture);
    chromatograms.SetRowData(row, GridRowData{CLR_DEFAULT, CLR_DEFAULT, static_cast<int32_t>(assayId)});
}

void DlgMain::ScrollToLastRow() {
    const int last = chromatograms.GetItemCount() - 1;
    chromatograms.ClearSelection();
    if (last >= 0) {
        chromatograms.SetItemState(last, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        chromatograms.EnsureVisible(last, true);
    }
    chromatograms.ClearSelection();
}

void DlgMain::ClearAll() {
    measurements.clear();
    chromatograms.DeleteAllRows();
    resultsTab.list.DeleteAllItems();
    messagesTab.Clear();
}

void DlgMain::RebuildRows() {
    chromatograms.DeleteAllRows();
    for (const auto& [id, record] : measurements)
        AppendChromatogramRow(record, id);
}
