// CGridCtrlEditCell: the in-place editor of one grid cell (control id 9801, inside the grid). It
// opens on the cell's text with all of it selected; Enter commits, Escape cancels, and any loss
// of the focus (a click elsewhere, scrolling the grid) commits. Ending sends the grid an
// end-of-edit notification, then the editor's window goes and the object deletes itself.
// Enter, Escape, Delete and Ctrl combinations go to the editor before any dialog key or shortcut.
#pragma once

#include "platform/ui/Edit.h"

#include <cstdint>
#include <string>

class CGridCtrlEditCell : public CEdit {
public:
    CGridCtrlEditCell(int row, int column, std::u16string initialText);

    const int32_t row;                // row being edited
    const int32_t column;             // column (sub-item) being edited
    const std::u16string initialText; // the cell's text when the editor opened
    int32_t cancelled = 0;            // set by Escape

protected:
    void OnAttach() override;
    bool WantsKey(unsigned key, unsigned modifiers) const override;
    bool OnKeyDown(unsigned key, unsigned modifiers) override;
    void OnKillFocus() override;
    void PostNcDestroy() override;

private:
    friend class CGridCtrl;
    ~CGridCtrlEditCell() override = default; // the editor ends its own life
    void EndEdit();
    bool ended = false;
};
