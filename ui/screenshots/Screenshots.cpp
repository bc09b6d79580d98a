// Renders the main dialog's pages and a grid being edited to PNG files, on the system's desktop
// (./run screenshots: Qt's offscreen platform on Linux, the real windows under wine on Windows):
//   ui_screenshots <folder>  ->  results.png, messages.png, grid-editing.png, icons.png
#include "Capture.h"
#include "ui/GridCtrl.h"
#include "ui/GridCtrlEditCell.h"
#include "ui/MessagesTab.h"
#include "ui/ResultsTab.h"

#include "platform/text/Utf.h"
#include "platform/ui/Button.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Icons.h"
#include "platform/ui/Static.h"
#include "platform/ui/TabCtrl.h"

#include "support/Desktop.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

// A window holding the two pages in a tab control, placed as the main dialog places them.
// clang-format off
const DialogTemplate kPagesTemplate{1, u"Расчет", WS_POPUP | WS_CAPTION | WS_SYSMENU, 645, 135, u"MS Shell Dlg", 8, {
    {1007, ControlKind::StaticText, u"Сходимость калибровки есть", SS_LEFT, 8, 4, 440, 8},
    {1001, ControlKind::TabControl, u"", WS_TABSTOP, 7, 14, 631, 121},
}};
// clang-format on

class PagesHost : public CDialogEx {
public:
    PagesHost() : CDialogEx(kPagesTemplate) {}
    CTabCtrl tabs;
    ResultsTab results;
    MessagesTab messages;

    void ShowPage(int index) {
        tabs.SetCurSel(index);
        results.ShowWindow(index == 0 ? SW_SHOW : SW_HIDE);
        messages.ShowWindow(index == 1 ? SW_SHOW : SW_HIDE);
    }

protected:
    void DoDataExchange(CDataExchange& dx) override { DDX_Control(dx, 1001, tabs); }
    bool OnInitDialog() override {
        CDialogEx::OnInitDialog();
        const CRect client = tabs.GetClientRect();
        const CRect page{client.left + 1, client.top + 22, client.right - 4, client.bottom - 2};
        for (CDialogEx* p : {static_cast<CDialogEx*>(&results), static_cast<CDialogEx*>(&messages)}) {
            p->Create(tabs.GetSafeHwnd());
            p->MoveWindow(page);
        }
        tabs.InsertItem(0, u"Расчет", reinterpret_cast<intptr_t>(&results));
        tabs.InsertItem(1, u"Сообщения", reinterpret_cast<intptr_t>(&messages));

        const char16_t* rows[][2] = {{u"Метан", u"1.25 ± 0.31"},
                                     {u"Этан", u"0.048 ± 0.012"},
                                     {u"Пропан", u"0.112 ± 0.028"},
                                     {u"Сумма предельных углеводородов", u"2.41 ± 0.60"},
                                     {u"Сумма непредельных углеводородов", u"0.37 ± 0.09"}};
        for (int k = 0; k < 5; ++k) {
            results.list.InsertItem(k, rows[k][0]);
            results.list.SetItemText(k, 1, rows[k][1]);
        }
        messages.errors = {u"Не задано давление при анализе (настройки).",
                           u"Нет градуировочных хроматограмм."};
        messages.warnings = {u"Хроматограмма \"A-17\" не классифицирована."};
        messages.infos = {u"Расчет выполнен по 3 хроматограммам."};
        messages.Refresh();
        return true;
    }
};

// A window with a grid such as the chromatogram list, one of whose cells is being edited.
// clang-format off
const DialogTemplate kGridTemplate{2, u"Таблица", WS_POPUP | WS_CAPTION | WS_SYSMENU, 330, 120, u"MS Shell Dlg", 8, {
    {1002, ControlKind::ListView, u"", LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 7, 7, 316, 106},
}};
// clang-format on

class GridHost : public CDialogEx {
public:
    GridHost() : CDialogEx(kGridTemplate) { MapNotify(1002, GCN_BEGINEDIT, &GridHost::OnBeginEdit); }
    CGridCtrl grid;

protected:
    void DoDataExchange(CDataExchange& dx) override { DDX_Control(dx, 1002, grid); }
    bool OnInitDialog() override {
        CDialogEx::OnInitDialog();
        grid.InsertColumn(0, u"№", LVCFMT_CENTER, 30);
        grid.InsertColumn(1, u"Компонент", LVCFMT_LEFT, 200);
        grid.InsertColumn(2, u"K", LVCFMT_RIGHT, 90);
        grid.InsertColumn(3, u"Группа", LVCFMT_LEFT, 80);
        const char16_t* names[] = {u"Метан", u"Этан", u"Этилен", u"Пропан", u"Пропилен", u"н-Бутан"};
        const char16_t* factors[] = {u"1.0000", u"0.9870", u"1.0120", u"0.9530", u"1.0040", u"0.9310"};
        for (int i = 0; i < 6; ++i) {
            grid.InsertItem(i, Utf8ToUtf16(std::to_string(i + 1)));
            grid.SetItemText(i, 1, names[i]);
            grid.SetItemText(i, 2, factors[i]);
            grid.SetItemText(i, 3, i % 2 ? u"непредельные" : u"предельные");
            grid.SetRowData(i, {CLR_DEFAULT, i == 4 ? RGB(255, 244, 214) : CLR_DEFAULT, i});
        }
        grid.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        grid.GetHeaderCtrl().SetItemFormat(1, LVCFMT_LEFT | HDF_SORTUP); // the mark of an ascending sort
        return true;
    }

private:
    void OnBeginEdit(NMHDR*, intptr_t* result) { *result = 1; }
};

// A window showing every icon on its icon button, each icon again at 32 x 32 pixels, and the
// plug-in's icon as the About box shows it.
const std::pair<int, int> kButtonIcons[] = {{1003, 104}, {1004, 105}, {1005, 106}, {1006, 107}, {1010, 111},
                                            {1012, 112}, {1013, 117}, {1014, 114}, {1015, 119}};

// clang-format off
const DialogTemplate kIconsTemplate{3, u"Значки", WS_POPUP | WS_CAPTION, 220, 100, u"MS Shell Dlg", 8, {
    {1003, ControlKind::IconButton, u"+", WS_TABSTOP, 7, 7, 16, 14},
    {1004, ControlKind::IconButton, u"-", WS_TABSTOP, 30, 7, 16, 14},
    {1005, ControlKind::IconButton, u"/", WS_TABSTOP, 53, 7, 16, 14},
    {1006, ControlKind::IconButton, u"*", WS_TABSTOP, 76, 7, 16, 14},
    {1010, ControlKind::IconButton, u"^", WS_TABSTOP, 99, 7, 16, 14},
    {1012, ControlKind::IconButton, u"%", WS_TABSTOP, 122, 7, 16, 14},
    {1013, ControlKind::IconButton, u"#", WS_TABSTOP, 145, 7, 16, 14},
    {1014, ControlKind::IconButton, u"C", WS_TABSTOP, 168, 7, 16, 14},
    {1015, ControlKind::IconButton, u"i", WS_TABSTOP, 191, 7, 16, 14},
    {2003, ControlKind::StaticIcon, u"", 0, 7, 28, 20, 20},
    {2004, ControlKind::StaticIcon, u"", 0, 30, 28, 20, 20},
    {2005, ControlKind::StaticIcon, u"", 0, 53, 28, 20, 20},
    {2006, ControlKind::StaticIcon, u"", 0, 76, 28, 20, 20},
    {2010, ControlKind::StaticIcon, u"", 0, 99, 28, 20, 20},
    {2012, ControlKind::StaticIcon, u"", 0, 122, 28, 20, 20},
    {2013, ControlKind::StaticIcon, u"", 0, 145, 28, 20, 20},
    {2014, ControlKind::StaticIcon, u"", 0, 168, 28, 20, 20},
    {2015, ControlKind::StaticIcon, u"", 0, 191, 28, 20, 20},
    {1001, ControlKind::StaticIcon, u"", 0, 7, 50, 20, 20},
}};
// clang-format on

class IconsHost : public CDialogEx {
public:
    IconsHost() : CDialogEx(kIconsTemplate) {}

protected:
    bool OnInitDialog() override {
        CDialogEx::OnInitDialog();
        for (const auto& [control, icon] : kButtonIcons) {
            GetDlgItemAs<CButton>(control)->SetIcon(LoadIconResource(icon));
            GetDlgItemAs<CStatic>(control + 1000)->SetIcon(LoadIconImage(icon, 32));
        }
        GetDlgItemAs<CStatic>(1001)->SetIcon(LoadIconImage(102, 80));
        SetIcon(LoadIconResource(102), true);
        return true;
    }
};

} // namespace

int main(int argc, char** argv) {
    Desktop desktop(argc, argv);
    const std::filesystem::path folder = argc > 1 ? argv[1] : "screenshots";
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    if (made) {
        std::fprintf(stderr, "cannot make the folder %s: %s\n", folder.string().c_str(), made.message().c_str());
        return 1;
    }
    bool ok = true;

    PagesHost pages;
    pages.Create();
    pages.ShowWindow(SW_SHOWNORMAL);
    pages.ShowPage(0);
    ok &= Save(pages.GetSafeHwnd(), folder / "results.png");
    pages.ShowPage(1);
    ok &= Save(pages.GetSafeHwnd(), folder / "messages.png");

    GridHost grid;
    grid.Create();
    grid.ShowWindow(SW_SHOWNORMAL);
    Settle();
    if (CGridCtrlEditCell* editor = grid.grid.EditCell(1, 2)) {
        editor->SetWindowText(u"0.99");
        editor->SetSel(0, -1);
    }
    ok &= Save(grid.GetSafeHwnd(), folder / "grid-editing.png");

    IconsHost icons;
    icons.Create();
    icons.ShowWindow(SW_SHOWNORMAL);
    ok &= Save(icons.GetSafeHwnd(), folder / "icons.png");
    return ok ? 0 : 1;
}
