#include "GridCtrlEditCell.h"

#include "platform/ui/Keys.h"

CGridCtrlEditCell::CGridCtrlEditCell(int row, int column, std::u16string initialText)
    : row(row), column(column), initialText(std::move(initialText)) {}

void CGridCtrlEditCell::OnAttach() {
    SetWindowText(initialText);
    SetSel(0, -1); // leaves the caret at the end, in view
    SetFocus();
}

bool CGridCtrlEditCell::WantsKey(unsigned key, unsigned modifiers) const {
    return key == VK_RETURN || key == VK_ESCAPE || key == VK_DELETE || (modifiers & MOD_CONTROL);
}

bool CGridCtrlEditCell::OnKeyDown(unsigned key, unsigned) {
    if (key == VK_ESCAPE)
        cancelled = 1;
    else if (key != VK_RETURN)
        return false;
    if (CWnd* grid = GetParent())
        grid->SetFocus();
    EndEdit(); // also when the grid could not take the focus
    return true;
}

void CGridCtrlEditCell::OnKillFocus() {
    EndEdit();
}

void CGridCtrlEditCell::EndEdit() {
    if (ended)
        return;
    ended = true;
    const std::u16string text = IsWindow() ? GetWindowText() : initialText;
    if (CWnd* grid = GetParent()) {
        NMLVDISPINFO info{};
        info.hdr.hwndFrom = grid->GetSafeHwnd();
        info.hdr.idFrom = GetDlgCtrlID();
        info.hdr.code = LVN_ENDLABELEDIT;
        info.item.mask = LVIF_TEXT;
        info.item.iItem = row;
        info.item.iSubItem = column;
        info.item.pszText = cancelled ? nullptr : ItemTextPointer(text);
        info.item.cchTextMax = static_cast<int>(text.size());
        grid->SendNotify(info.hdr);
    }
    DestroyWindow();
}

void CGridCtrlEditCell::PostNcDestroy() {
    delete this;
}
