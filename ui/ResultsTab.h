// ResultsTab: the results page of the main dialog, a page (template 107) holding one list with a
// row per result line: the component or group, and its concentration text. The calculation run
// writes the rows into `list` itself.
#pragma once

#include "platform/ui/DialogEx.h"
#include "platform/ui/ListCtrl.h"

class ResultsTab : public CDialogEx {
public:
    explicit ResultsTab(QWidget* parent = nullptr);

    CListCtrl list; // control 1003: "Компонент", "Концентрация"

protected:
    void DoDataExchange(CDataExchange& dx) override;
    bool OnInitDialog() override;
};
