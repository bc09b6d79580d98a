// A dialog with a report-view list (control 1002) and list boxes (1011: several selected, 1012:
// sorted, 1013: scrolls sideways) that records what the list tells it.
#pragma once

#include "platform/ui/DialogEx.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/ListCtrl.h"

#include <string>
#include <vector>

struct Change {
    int row;
    unsigned newState;
    unsigned oldState;
    bool operator==(const Change&) const = default;
};

// A notification of the list other than an item change: its code, row and column.
struct ListNotice {
    unsigned code;
    int row;
    int column;
    bool operator==(const ListNotice&) const = default;
};

class ListDialog : public CDialogEx {
public:
    ListDialog();
    CListCtrl list;
    CListBox texts;
    CListBox sortedTexts;
    CListBox wideTexts;
    std::vector<Change> changes;       // LVN_ITEMCHANGED
    std::vector<ListNotice> notices;   // NM_DBLCLK, LVN_COLUMNCLICK, LVN_KEYDOWN
    std::vector<intptr_t> clickedData; // NM_DBLCLK: the item value it carried

    // Columns "Имя" (left, 100) and "Число" (right, 60); rows "строка A", "строка B", ... with the
    // numbers rows, rows - 1, ... 1 (mod 10) and the item values 100, 101, ...
    void Fill(int rows);

protected:
    void DoDataExchange(CDataExchange& dx) override;
    bool OnNotify(NMHDR& hdr, intptr_t* result) override;
};
