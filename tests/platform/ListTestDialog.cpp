#include "ListTestDialog.h"

namespace {

// clang-format off
const DialogTemplate kListTemplate{930, u"Список", WS_POPUP | WS_CAPTION, 200, 175, u"MS Shell Dlg", 8, {
    {1002, ControlKind::ListView, u"", LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 7, 7, 186, 86},
    {1011, ControlKind::ListBox, u"", WS_VSCROLL | WS_BORDER | LBS_EXTENDEDSEL | WS_TABSTOP, 7, 98, 90, 45},
    {1012, ControlKind::ListBox, u"", WS_BORDER | LBS_SORT | WS_TABSTOP, 103, 98, 90, 45},
    {1013, ControlKind::ListBox, u"", WS_VSCROLL | WS_HSCROLL | WS_BORDER, 7, 148, 186, 20},
}};
// clang-format on

} // namespace

ListDialog::ListDialog() : CDialogEx(kListTemplate) {}

void ListDialog::Fill(int rows) {
    list.InsertColumn(0, u"Имя", LVCFMT_LEFT, 100);
    list.InsertColumn(1, u"Число", LVCFMT_RIGHT, 60);
    for (int row = 0; row < rows; ++row) {
        list.InsertItem(row, u"строка " + std::u16string(1, u'A' + row));
        list.SetItemText(row, 1, std::u16string(1, u'0' + (rows - row) % 10));
        list.SetItemData(row, 100 + row);
    }
}

void ListDialog::DoDataExchange(CDataExchange& dx) {
    DDX_Control(dx, 1002, list);
    DDX_Control(dx, 1011, texts);
    DDX_Control(dx, 1012, sortedTexts);
    DDX_Control(dx, 1013, wideTexts);
}

bool ListDialog::OnNotify(NMHDR& hdr, intptr_t* result) {
    if (hdr.idFrom != 1002)
        return CDialogEx::OnNotify(hdr, result);
    const auto& record = reinterpret_cast<const NMLISTVIEW&>(hdr);
    switch (hdr.code) {
    case LVN_ITEMCHANGED:
        changes.push_back({record.iItem, record.uNewState, record.uOldState});
        break;
    case NM_DBLCLK:
        clickedData.push_back(reinterpret_cast<const NMITEMACTIVATE&>(hdr).lParam);
        [[fallthrough]];
    case LVN_COLUMNCLICK:
        notices.push_back({hdr.code, record.iItem, record.iSubItem});
        break;
#ifdef _WIN32
    case LVN_KEYDOWN:
        notices.push_back({hdr.code, -1, -1});
        break;
#endif
    default:
        return CDialogEx::OnNotify(hdr, result);
    }
    *result = 0;
    return true;
}
