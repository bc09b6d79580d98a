// DlgMain: the plug-in's working window, the one modeless main dialog (template 101) that the menu
// command opens. In it the user gathers chromatograms into the measurement set, removes them, opens
// them in the host, reloads them, edits the settings and the component coefficients, makes the
// report, and reads the results and the messages on two tab pages. Every change of the set and
// every confirmed change of settings or components ends with RunCalculation, so the pages and the
// convergence line always describe the current set.
//
// Life: made by the menu command with the host window as owner; OK, Отмена and the caption's close
// store the window rectangle in the profile and destroy the window; the object then deletes itself
// and raises mainDialogClosed as soon as that handler returns, before anything else can run (a menu
// command right after OK opens a new dialog), taking the set, the results and the messages with it.
#pragma once

#include "calc/MeasurementSet.h"
#include "host/PluginState.h"
#include "platform/ui/DialogEx.h"
#include "platform/ui/TabCtrl.h"
#include "platform/ui/ToolTipCtrl.h"
#include "ui/GridCtrl.h"
#include "ui/MessagesTab.h"
#include "ui/ResultsTab.h"

#include <cstdint>
#include <span>

struct sqlite3;

class DlgMain : public CDialogEx, public MainDialogWindow {
public:
    // Clears mainDialogClosed; the window is made by Create.
    explicit DlgMain(HWND hostWindow);
    // Raises mainDialogClosed and forgets itself as the main dialog.
    ~DlgMain() override;

    void ShowNormal() override;
    void DestroyNow() override;

    // Runs the calculation on the current set and shows what it returns: the convergence line, the
    // result rows and the messages.
    void RunCalculation();

    CGridCtrl chromatograms; // control 1002: one row per measurement, GridRowData value = assay id
    CToolTipCtrl toolTips;
    CTabCtrl tabs; // control 1001: "Расчет" and "Сообщения"
    MessagesTab messagesTab;
    ResultsTab resultsTab;
    MeasurementSet measurements;
    bool pickerOpen = false; // true while the host's chromatogram picker is open

protected:
    void DoDataExchange(CDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(int id, int code) override;
    bool OnNotify(NMHDR& hdr, intptr_t* result) override;
    void OnSysCommand(unsigned id) override;
    void OnSize(int width, int height) override;
    void PostNcDestroy() override;

private:
    // An icon button: its id, its command, its icon resource and its tooltip.
    struct ToolButton {
        int id;
        void (DlgMain::*command)();
        int icon;
        const char16_t* tip;
    };
    // The nine icon buttons, in the order their tooltips are attached.
    static std::span<const ToolButton> ToolButtons();

    // The five commands on the measurement set (DlgMainCommands.cpp).
    void OnAddChromatograms();
    void OnRemoveSelected();
    void OnRemoveAll();
    void OnOpenChromatogram();
    void OnRecalculate();
    // The four tool commands (DlgMainTools.cpp).
    void OnSettings();
    void OnComponents();
    void OnReport();
    void OnAbout();

    void OnTabChanged(NMHDR* hdr, intptr_t* result);
    void OnListDblClk(NMHDR* hdr, intptr_t* result);

    // Adds each id through one database connection, a row per record that comes back, then leaves
    // the list scrolled to its last row with nothing selected. Throws DataBase::SqlException, with
    // the connection closed, the rows added before the failure kept and the calculation run on them.
    void AddChromatograms(std::span<const uint32_t> ids);
    void AppendChromatogramRow(const MeasurementRecord& record, uint32_t assayId);
    void ScrollToLastRow();
    // Empties the set, the list, the result rows and the messages.
    void ClearAll();
    // Rebuilds the list from the set, in the set's order.
    void RebuildRows();

    // Runs the body; an exception that leaves it is shown in an error box.
    template <typename Body> void Guarded(Body body);

    void SaveWindowRect();
    void RestoreWindowRect();
    CRect PageRect() const;
    void LayoutPages();
};

// The menu command's way to a new main dialog: makes one owned by the host window and creates its
// (hidden) window; null when the window could not be made.
MainDialogWindow* CreateMainDialog(void* hostWindow);
