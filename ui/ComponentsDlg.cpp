#include "ComponentsDlg.h"

#include "platform/system/MessageBox.h"
#include "platform/text/Format.h"
#include "platform/text/Numbers.h"
#include "platform/ui/Icons.h"

namespace {

constexpr int kGridId = 1015;
constexpr int kKColumn = 2;
constexpr int kPluginIcon = 102;
constexpr char16_t kCaption[] = u"atmocalc";

// clang-format off
const DialogTemplate kComponentsTemplate{118, u"Компоненты", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 250, 200, u"MS Shell Dlg", 8, {
    {kGridId, ControlKind::ListView, u"", LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 7, 7, 236, 167},
    {IDOK, ControlKind::PushButton, u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 139, 179, 50, 14},
    {IDCANCEL, ControlKind::PushButton, u"Отмена", WS_TABSTOP, 193, 179, 50, 14},
}};
// clang-format on

std::u16string FormatK(double k) {
    return FormatText(u"%.4f", k);
}

} // namespace

ComponentsDlg::ComponentsDlg(HWND parent) : CDialogEx(kComponentsTemplate, parent) {
    MapNotify(kGridId, GCN_BEGINEDIT, &ComponentsDlg::OnBeginEdit);
    MapNotify(kGridId, GCN_CELLCHANGED, &ComponentsDlg::OnCellChanged);
}

void ComponentsDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Control(dx, kGridId, grid);
}

bool ComponentsDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    const HICON icon = LoadIconResource(kPluginIcon);
    SetIcon(icon, true);
    SetIcon(icon, false);

    grid.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    grid.ModifyStyle(0, LVS_REPORT | LVS_EDITLABELS);
    const PixelScale scale = FontPixelScale(GetBaseUnits());
    grid.InsertColumn(0, u"№", LVCFMT_LEFT, ScalePixels(40, scale.x));
    grid.InsertColumn(1, u"Компонент", LVCFMT_LEFT, ScalePixels(200, scale.x));
    grid.InsertColumn(kKColumn, u"K", LVCFMT_LEFT, ScalePixels(80, scale.x));

    ComponentTable& table = ComponentTable::Instance();
    if (!table.loaded && !table.Load())
        ShowMessageBox(GetSafeHwnd(), table.lastError, kCaption, MB_OK | MB_ICONERROR);
    workingCopy = table.records;
    FillGrid();
    return true;
}

void ComponentsDlg::FillGrid() {
    grid.DeleteAllRows();
    for (size_t i = 0; i < workingCopy.size(); ++i) {
        const int index = static_cast<int>(i);
        const int row = grid.InsertItem(index, FormatText(u"%d", index + 1));
        if (row < 0)
            continue;
        grid.SetRowData(row, GridRowData{CLR_DEFAULT, CLR_DEFAULT, index});
        grid.SetItemText(row, 1, workingCopy[i].Name);
        grid.SetItemText(row, kKColumn, FormatK(workingCopy[i].K));
    }
}

void ComponentsDlg::OnBeginEdit(NMHDR* hdr, intptr_t* result) {
    const auto* notify = reinterpret_cast<const GridNotify*>(hdr);
    *result = notify->second == kKColumn ? 1 : 0;
}

void ComponentsDlg::OnCellChanged(NMHDR* hdr, intptr_t* result) {
    const auto* notify = reinterpret_cast<const GridNotify*>(hdr);
    const int row = notify->first;
    *result = 1;
    if (notify->second != kKColumn || row < 0)
        return;
    const GridRowData* data = grid.GetRowData(row);
    if (!data || data->value < 0 || static_cast<size_t>(data->value) >= workingCopy.size())
        return;
    // The cell already holds the typed text; a decimal comma is read as a point.
    const double k = ReadDecimalWithComma(grid.GetItemText(row, kKColumn));
    workingCopy[data->value].K = k;
    modified = true;
    grid.SetItemText(row, kKColumn, FormatK(k));
}

void ComponentsDlg::OnOK() {
    if (modified) {
        ComponentTable& table = ComponentTable::Instance();
        table.records = workingCopy;
        table.loaded = true;
        // The edits stay in memory for the calculation even when the file cannot be written.
        if (!table.Save())
            ShowMessageBox(GetSafeHwnd(), table.lastError, kCaption, MB_OK | MB_ICONERROR);
    }
    CDialogEx::OnOK();
}
