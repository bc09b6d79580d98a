// A dialog holding one grid (control 1002) that records every notification the grid sends and
// answers each code as the test says.
#pragma once

#include "platform/ui/DialogEx.h"
#include "ui/GridCtrl.h"

#ifndef _WIN32
#include "platform/ui/QtGeometry.h"

#include <QLineEdit>
#include <QTableWidget>
#endif

#include <map>
#include <string>
#include <vector>

struct GridNotice {
    unsigned code;
    int first;
    int second;
    std::u16string cell; // GCN_CELLCHANGED: the cell's text when the notice came
    bool operator==(const GridNotice& other) const {
        return code == other.code && first == other.first && second == other.second;
    }
};

class GridTestDialog : public CDialogEx {
public:
    GridTestDialog();

    CGridCtrl grid;
    std::vector<GridNotice> notices;      // the grid's own notifications, in order
    std::vector<NMLISTVIEW> itemChanges;  // the list's item-changed notices that reached the dialog
    std::map<unsigned, intptr_t> answers; // the answer per code; 0 when not given
    bool markDoubleClickHandled = false;  // write 1 through GCN_DBLCLK's pointer
    int oks = 0;
    int cancels = 0;

    // Columns "№" (centred, 40), "Компонент" (left, 150), "K" (right, 80) and `rows` rows
    // "1", "Компонент 1", "1.0000", ... each with a record whose value is its index.
    void Fill(int rows);
    std::vector<unsigned> Codes() const;
#ifdef _WIN32
    CPoint CellCenter(int row, int column) const;
    HWND Editor() const; // the open cell editor, or null
#else
    QTableWidget* Table() const;
    QWidget* Viewport() const;
    QPoint CellCenter(int row, int column) const;
    QLineEdit* Editor() const; // the open cell editor, or null
#endif

protected:
    void DoDataExchange(CDataExchange& dx) override { DDX_Control(dx, 1002, grid); }
    bool OnNotify(NMHDR& hdr, intptr_t* result) override;
    void OnOK() override { ++oks; }
    void OnCancel() override { ++cancels; }
};
