// ComponentsDlg: the modal dialog (template 118, "Компоненты") in which the user looks through the
// component reference and changes the coefficient K of its components, in place in the grid; only
// the K column can be edited. The edits go to a working copy; OK puts it into the process-wide
// table and saves the file, Отмена discards it. (It lives with the other windows so that the
// component module itself stays free of the GUI.)
#pragma once

#include "components/ComponentTable.h"
#include "platform/ui/DialogEx.h"
#include "ui/GridCtrl.h"

#include <vector>

class ComponentsDlg : public CDialogEx {
public:
    explicit ComponentsDlg(HWND parent = nullptr);

    // Rebuilds the grid rows from workingCopy.
    void FillGrid();

    CGridCtrl grid;                           // control 1015
    std::vector<ComponentRecord> workingCopy; // the records being edited
    bool modified = false;                    // a K value was stored

protected:
    void DoDataExchange(CDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;

private:
    void OnBeginEdit(NMHDR* hdr, intptr_t* result);
    void OnCellChanged(NMHDR* hdr, intptr_t* result);
};
