#include "GridTestDialog.h"

#include "platform/text/Format.h"

namespace {

// clang-format off
const DialogTemplate kGridTestTemplate{950, u"Сетка", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX, 300, 160, u"MS Shell Dlg", 8, {
    {1002, ControlKind::ListView, u"", LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 7, 7, 286, 120, {0, 0, 100, 100}},
    {IDOK, ControlKind::PushButton, u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 189, 139, 50, 14, {100, 100, 0, 0}},
    {IDCANCEL, ControlKind::PushButton, u"Отмена", WS_TABSTOP, 243, 139, 50, 14, {100, 100, 0, 0}},
}};
// clang-format on

} // namespace

GridTestDialog::GridTestDialog() : CDialogEx(kGridTestTemplate) {}

void GridTestDialog::Fill(int rows) {
    grid.InsertColumn(0, u"№", LVCFMT_CENTER, 40);
    grid.InsertColumn(1, u"Компонент", LVCFMT_LEFT, 150);
    grid.InsertColumn(2, u"K", LVCFMT_RIGHT, 80);
    for (int i = 0; i < rows; ++i) {
        grid.InsertItem(i, FormatText(u"%d", i + 1));
        grid.SetRowData(i, {CLR_DEFAULT, CLR_DEFAULT, i});
        grid.SetItemText(i, 1, FormatText(u"Компонент %d", i + 1));
        grid.SetItemText(i, 2, FormatText(u"%.4f", 1.0 + i));
    }
}

std::vector<unsigned> GridTestDialog::Codes() const {
    std::vector<unsigned> codes;
    for (const GridNotice& n : notices)
        codes.push_back(n.code);
    return codes;
}

#ifdef _WIN32
CPoint GridTestDialog::CellCenter(int row, int column) const {
    CRect cell;
    grid.GetSubItemRect(row, column, cell);
    return {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
}

HWND GridTestDialog::Editor() const {
    const HWND editor = ::GetDlgItem(grid.GetViewport(), 9801);
    return editor && (GetWindowLongW(editor, GWL_STYLE) & WS_VISIBLE) ? editor : nullptr;
}
#else
QTableWidget* GridTestDialog::Table() const {
    return static_cast<QTableWidget*>(grid.GetSafeHwnd());
}

QWidget* GridTestDialog::Viewport() const {
    return grid.GetViewport();
}

QPoint GridTestDialog::CellCenter(int row, int column) const {
    CRect cell;
    grid.GetSubItemRect(row, column, cell);
    return ToQRect(cell).center();
}

QLineEdit* GridTestDialog::Editor() const {
    for (QLineEdit* edit : Viewport()->findChildren<QLineEdit*>())
        if (edit->isVisible() && CWnd::FromHandle(edit) && CWnd::FromHandle(edit)->GetDlgCtrlID() == 9801)
            return edit;
    return nullptr;
}
#endif

bool GridTestDialog::OnNotify(NMHDR& hdr, intptr_t* result) {
    if (hdr.idFrom != 1002)
        return false;
    if (hdr.code >= GCN_CELLCHANGED && hdr.code <= GCN_DBLCLK) {
        GridNotice notice{hdr.code, 0, 0, {}};
        if (hdr.code == GCN_DBLCLK) {
            const auto& click = reinterpret_cast<GridDblClkNotify&>(hdr);
            notice.first = click.activate->iItem;
            notice.second = click.activate->iSubItem;
            if (markDoubleClickHandled)
                *click.handled = 1;
        } else {
            const auto& fields = reinterpret_cast<GridNotify&>(hdr);
            notice.first = fields.first;
            notice.second = fields.second;
            if (hdr.code == GCN_CELLCHANGED)
                notice.cell = grid.GetItemText(notice.first, notice.second);
        }
        notices.push_back(notice);
        *result = answers.count(hdr.code) ? answers[hdr.code] : 0;
        return true;
    }
    if (hdr.code == LVN_ITEMCHANGED)
        itemChanges.push_back(reinterpret_cast<NMLISTVIEW&>(hdr));
    return false;
}
