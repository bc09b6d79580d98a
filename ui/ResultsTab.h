// ResultsTab: the results page of the main dialog, a page (template 107) holding one list with a
// row per result line: the component or group, and its concentration text. The calculation run
// writes the rows into `list` itself, then the trace behind them with ShowTrace.
#pragma once

#include "calc/CalcTrace.h"
#include "platform/ui/DialogEx.h"
#include "platform/ui/ListCtrl.h"

class ResultsTab : public CDialogEx {
public:
    explicit ResultsTab(HWND parent = nullptr);

    CListCtrl list; // control 1003: "Компонент", "Концентрация"

    // Gives each row the formula its value came from as its tip, and the area below the rows the
    // peaks that matched no component. The rows must be those of the result the trace belongs to.
    void ShowTrace(const CalcTrace& trace);

protected:
    void DoDataExchange(CDataExchange& dx) override;
    bool OnInitDialog() override;
};
