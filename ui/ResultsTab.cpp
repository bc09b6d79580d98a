#include "ResultsTab.h"

#include "calc/TraceText.h"

namespace {

constexpr int kListId = 1003;

// clang-format off
const DialogTemplate kResultsTemplate{107, u"", WS_CHILD, 216, 108, u"MS Shell Dlg", 8, {
    {kListId, ControlKind::ListView, u"", LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 7, 7, 202, 94, {0, 0, 100, 100}},
}};
// clang-format on

} // namespace

ResultsTab::ResultsTab(HWND parent) : CDialogEx(kResultsTemplate, parent) {}

void ResultsTab::DoDataExchange(CDataExchange& dx) {
    DDX_Control(dx, kListId, list);
}

void ResultsTab::ShowTrace(const CalcTrace& trace) {
    const std::vector<std::u16string> formulas = RowFormulas(trace);
    const int rows = list.GetItemCount();
    for (int row = 0; row < rows && row < static_cast<int>(formulas.size()); ++row)
        list.SetItemToolTip(row, formulas[row]);
    list.SetEmptyAreaToolTip(JoinTexts(UnmatchedPeakLines(trace)));
}

bool ResultsTab::OnInitDialog() {
    CDialogEx::OnInitDialog();
    const PixelScale scale = FontPixelScale(GetBaseUnits());
    list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    list.InsertColumn(0, u"Компонент", LVCFMT_LEFT, ScalePixels(220, scale.x));
    list.InsertColumn(1, u"Концентрация", LVCFMT_LEFT, ScalePixels(150, scale.x));
    return true;
}
