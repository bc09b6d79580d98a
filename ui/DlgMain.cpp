#include "DlgMain.h"

#include "assay/Database.h"
#include "calc/CalculationRun.h"
#include "calc/TraceText.h"
#include "components/ComponentTable.h"
#include "host/Profile.h"
#include "host/SettingsRecord.h"
#include "host/Version.h"
#include "platform/system/MessageBox.h"
#include "platform/text/Format.h"
#include "platform/text/Utf.h"
#include "platform/ui/Button.h"
#include "platform/ui/DialogFramework.h"
#include "platform/ui/Icons.h"
#include "platform/ui/Metrics.h"
#include "platform/ui/UiEntryScope.h"

#include <cstdint>
#include <exception>
#include <limits>
#include <new>

namespace {

constexpr int kTabsId = 1001;
constexpr int kListId = 1002;
constexpr int kConvergenceId = 1007;
constexpr unsigned kAboutSysCommand = 16;
constexpr int kPluginIcon = 102;
constexpr int kMinTrackWidth = 975;
constexpr int kMinTrackHeight = 560;
constexpr char16_t kCaption[] = u"atmocalc";

// clang-format off
const DialogTemplate kMainTemplate{101, u"Расчет Аэро: Тамирель по ПНД Ф 13.1:2:3.25-99",
                                   WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_MODALFRAME,
                                   645, 313, u"MS Shell Dlg", 8, {
    {IDOK, ControlKind::PushButton, u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 534, 292, 50, 14, {100, 100, 0, 0}},
    {IDCANCEL, ControlKind::PushButton, u"Отмена", WS_TABSTOP, 588, 292, 50, 14, {100, 100, 0, 0}},
    {1003, ControlKind::IconButton, u"+", WS_TABSTOP, 7, 7, 16, 14},
    {1004, ControlKind::IconButton, u"-", WS_TABSTOP, 7, 22, 16, 14},
    {1005, ControlKind::IconButton, u"/", WS_TABSTOP, 7, 37, 16, 14},
    {1006, ControlKind::IconButton, u"*", WS_TABSTOP, 7, 52, 16, 14},
    {1010, ControlKind::IconButton, u"^", WS_TABSTOP, 7, 67, 16, 14},
    {1012, ControlKind::IconButton, u"%", WS_TABSTOP, 7, 82, 16, 14},
    {1013, ControlKind::IconButton, u"#", WS_TABSTOP, 7, 112, 16, 14},
    {kListId, ControlKind::ListView, u"", LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 30, 7, 608, 135, {0, 0, 100, 50}},
    {1014, ControlKind::IconButton, u"C", WS_TABSTOP, 7, 97, 16, 14},
    {kTabsId, ControlKind::TabControl, u"", WS_TABSTOP, 7, 162, 631, 121, {0, 50, 100, 50}},
    {kConvergenceId, ControlKind::StaticText, u"Сходимость калибровки есть", SS_LEFT, 8, 145, 440, 8, {0, 50, 0, 0}},
    {1015, ControlKind::IconButton, u"i", WS_TABSTOP, 7, 128, 16, 14},
}};
// clang-format on

struct ListColumn {
    const char16_t* heading;
    int format;
    int width; // pixels at the reference dialog font
};
const ListColumn kColumns[] = {
    {u"№", LVCFMT_CENTER, 30},           {u"Имя файла", LVCFMT_LEFT, 250}, {u"Проба", LVCFMT_LEFT, 180},
    {u"Дата анализа", LVCFMT_LEFT, 120}, {u"Патрон", LVCFMT_LEFT, 110},    {u"Тип анализа", LVCFMT_LEFT, 80},
    {u"Смесь", LVCFMT_LEFT, 110},
};

// Profile keys of the window rectangle (empty group).
constexpr char16_t kLeftKey[] = u"WindowRect_tlx";
constexpr char16_t kTopKey[] = u"WindowRect_tly";
constexpr char16_t kRightKey[] = u"WindowRect_btx";
constexpr char16_t kBottomKey[] = u"WindowRect_bty";

// A rectangle worth applying: with an area that a window can have, and on some screen at least in
// part. The profile may hold anything, so the size is worked out without overflowing.
bool UsableWindowRect(const CRect& rect) {
    const int64_t width = int64_t{rect.right} - rect.left;
    const int64_t height = int64_t{rect.bottom} - rect.top;
    if (width <= 0 || height <= 0 || width > std::numeric_limits<int>::max() ||
        height > std::numeric_limits<int>::max())
        return false;
    return RectOnSomeScreen(rect);
}

} // namespace

std::span<const DlgMain::ToolButton> DlgMain::ToolButtons() {
    static const ToolButton buttons[] = {
        {1003, &DlgMain::OnAddChromatograms, 104, u"Добавить хроматограммы"},
        {1004, &DlgMain::OnRemoveSelected, 105, u"Удалить выбранные хроматограммы"},
        {1005, &DlgMain::OnRemoveAll, 106, u"Удалить все хроматограммы"},
        {1006, &DlgMain::OnOpenChromatogram, 107, u"Открыть хроматограмму"},
        {1010, &DlgMain::OnRecalculate, 111, u"Пересчитать"},
        {1012, &DlgMain::OnSettings, 112, u"Открыть настройки"},
        {1013, &DlgMain::OnReport, 117, u"Создать отчёт (HTML)"},
        {1014, &DlgMain::OnComponents, 114, u"Справочник компонентов"},
        {1015, &DlgMain::OnAbout, 119, u"О плагине"},
    };
    return buttons;
}

DlgMain::DlgMain(HWND hostWindow) : CDialogEx(kMainTemplate, hostWindow) {
    mainDialogClosed = false;
    for (const ToolButton& button : ToolButtons())
        MapCommand(button.id, button.command);
    MapNotify(kTabsId, TCN_SELCHANGE, &DlgMain::OnTabChanged);
    MapNotify(kListId, GCN_DBLCLK, &DlgMain::OnListDblClk);
}

DlgMain::~DlgMain() {
    if (mainDialog == this)
        mainDialog = nullptr;
    mainDialogClosed = true;
}

void DlgMain::ShowNormal() {
    ShowWindow(SW_SHOWNORMAL);
}

void DlgMain::DestroyNow() {
    DestroyWindowNow();
}

void DlgMain::DoDataExchange(CDataExchange& dx) {
    DDX_Control(dx, kListId, chromatograms);
    DDX_Control(dx, kTabsId, tabs);
}

bool DlgMain::OnInitDialog() {
    CDialogEx::OnInitDialog();
    // Name comparisons use the text layer's own case tables: no runtime locale to set here.
    SetWindowText(GetWindowText() + kVersionSuffix);

    GetSystemMenu().AppendSeparator();
    GetSystemMenu().AppendItem(kAboutSysCommand, u"О плагине");

    const HICON icon = LoadIconResource(kPluginIcon);
    SetIcon(icon, true);
    SetIcon(icon, false);
    for (const ToolButton& button : ToolButtons())
        if (auto* control = GetDlgItemAs<CButton>(button.id))
            control->SetIcon(LoadIconResource(button.icon));

    toolTips.Create(this, TTS_ALWAYSTIP | TTS_BALLOON);
    for (const ToolButton& button : ToolButtons())
        toolTips.AddTool(GetDlgItem(button.id), button.tip);
    toolTips.Activate(true);

    // The pixel measures were chosen for the reference dialog font; they grow with this one, as the
    // template does, so the same texts fit.
    const PixelScale scale = FontPixelScale(GetBaseUnits());
    chromatograms.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    int column = 0;
    for (const ListColumn& c : kColumns)
        chromatograms.InsertColumn(column++, c.heading, c.format, ScalePixels(c.width, scale.x));

    SetMinTrackSize(ScalePixels(kMinTrackWidth, scale.x), ScalePixels(kMinTrackHeight, scale.y));
    RestoreWindowRect();

    const CRect page = PageRect();
    resultsTab.Create(tabs.GetSafeHwnd());
    resultsTab.MoveWindow(page);
    tabs.InsertItem(0, u"Расчет", reinterpret_cast<intptr_t>(static_cast<CDialogEx*>(&resultsTab)));
    resultsTab.ShowWindow(SW_SHOW);
    messagesTab.Create(tabs.GetSafeHwnd());
    messagesTab.MoveWindow(page);
    tabs.InsertItem(1, u"Сообщения", reinterpret_cast<intptr_t>(static_cast<CDialogEx*>(&messagesTab)));
    messagesTab.ShowWindow(SW_HIDE);

    // A table that cannot be read is reported by the calculation run on the messages page.
    SettingsRecord::Instance().Load();
    ComponentTable::Instance().Load();
    RunCalculation();
    return true;
}

void DlgMain::RunCalculation() {
    SetDlgItemText(kConvergenceId, u"");
    messagesTab.Clear();
    CalcTrace trace;
    const CalculationRun run =
        PerformCalculationRun(measurements, SettingsRecord::Instance(), ComponentTable::Instance(), &trace);
    SetDlgItemText(kConvergenceId, run.result.convergenceText);
    // The line's tip: the calibration runs' factors and the spread behind it.
    toolTips.UpdateTipText(JoinTexts(CalibrationLines(trace)), GetDlgItem(kConvergenceId));
    {
        const RedrawSuspended quiet(resultsTab.list);
        resultsTab.list.DeleteAllItems();
        int row = 0;
        for (const ResultRow& result : run.result.rows) {
            resultsTab.list.InsertItem(row, result.name);
            resultsTab.list.SetItemText(row++, 1, result.value);
        }
        resultsTab.ShowTrace(trace);
    }
    messagesTab.errors = run.errors;
    messagesTab.warnings = run.warnings;
    messagesTab.infos = run.infos;
    messagesTab.Refresh();
}

void DlgMain::OnOK() {
    SaveWindowRect();
    CDialogEx::OnOK();
    DestroyWindow();
}

void DlgMain::OnCancel() {
    SaveWindowRect();
    CDialogEx::OnCancel();
    DestroyWindow();
}

void DlgMain::PostNcDestroy() {
    delete this;
}

// No exception may leave a command: a database failure is shown with SQLite's message, anything
// else with its own text, and the host goes on.
template <typename Body> void DlgMain::Guarded(Body body) {
    try {
        body();
    } catch (const DataBase::SqlException& e) {
        ShowMessageBox(GetSafeHwnd(),
                       FormatText(u"Не удалось прочитать базу данных хроматограмм:\n%s\nВ списке остались "
                                  u"хроматограммы, прочитанные до ошибки; расчёт выполнен по ним.",
                                  Utf8ToUtf16(e.what())),
                       kCaption, MB_OK | MB_ICONERROR);
    } catch (const std::bad_alloc&) {
        ShowMessageBox(GetSafeHwnd(), u"Недостаточно памяти: команда не выполнена.", kCaption,
                       MB_OK | MB_ICONERROR);
    } catch (const std::exception& e) {
        ShowMessageBox(GetSafeHwnd(), FormatText(u"Команда не выполнена:\n%s", Utf8ToUtf16(e.what())),
                       kCaption, MB_OK | MB_ICONERROR);
    }
}

bool DlgMain::OnCommand(int id, int code) {
    bool handled = false;
    Guarded([&] { handled = CDialogEx::OnCommand(id, code); });
    return handled;
}

bool DlgMain::OnNotify(NMHDR& hdr, intptr_t* result) {
    bool handled = false;
    Guarded([&] { handled = CDialogEx::OnNotify(hdr, result); });
    return handled;
}

void DlgMain::OnSysCommand(unsigned id) {
    if ((id & ~0xFu) == kAboutSysCommand)
        Guarded([this] { OnAbout(); });
}

void DlgMain::OnSize(int, int) {
    if (tabs.IsWindow())
        LayoutPages();
}

void DlgMain::OnTabChanged(NMHDR*, intptr_t* result) {
    const int current = tabs.GetCurSel();
    for (int i = 0; i < tabs.GetItemCount(); ++i)
        if (auto* page = reinterpret_cast<CDialogEx*>(tabs.GetItemData(i)))
            page->ShowWindow(i == current ? SW_SHOW : SW_HIDE);
    *result = 0;
}

void DlgMain::OnListDblClk(NMHDR*, intptr_t* result) {
    // The grid goes on with its own handling (select, or ask to edit, which nobody answers here).
    OnOpenChromatogram();
    *result = 1;
}

CRect DlgMain::PageRect() const {
    const CRect client = tabs.GetClientRect();
    const PixelScale scale = FontPixelScale(GetBaseUnits());
    return {client.left + ScalePixels(1, scale.x), client.top + ScalePixels(22, scale.y),
            client.right - ScalePixels(4, scale.x), client.bottom - ScalePixels(2, scale.y)};
}

void DlgMain::LayoutPages() {
    const CRect page = PageRect();
    for (int i = 0; i < tabs.GetItemCount(); ++i)
        if (auto* p = reinterpret_cast<CDialogEx*>(tabs.GetItemData(i))) {
            p->MoveWindow(page);
            p->Invalidate();
        }
}

void DlgMain::SaveWindowRect() {
    // A maximised window's rectangle, stored, would reopen as a window over the whole screen that the
    // user, without a sizing border, could never make smaller: the normal one is stored instead.
    const CRect rect = GetNormalWindowRect();
    ProfileSetInt(u"", kRightKey, rect.right);
    ProfileSetInt(u"", kBottomKey, rect.bottom);
    ProfileSetInt(u"", kLeftKey, rect.left);
    ProfileSetInt(u"", kTopKey, rect.top);
}

void DlgMain::RestoreWindowRect() {
    CRect rect;
    rect.right = ProfileGetInt(u"", kRightKey, 0);
    rect.bottom = ProfileGetInt(u"", kBottomKey, 0);
    rect.left = ProfileGetInt(u"", kLeftKey, 0);
    rect.top = ProfileGetInt(u"", kTopKey, 0);
    // Nothing stored, or nothing that could be seen: the window keeps its template size and opens
    // centred over the host window.
    if (UsableWindowRect(rect))
        MoveWindow(rect);
}

MainDialogWindow* CreateMainDialog(void* hostWindow) {
    const UiEntryScope entry; // the dialog's windows get the library's own controls
    // A main dialog means a GUI: message boxes from here on are windows, in Russian.
    InitDialogFramework();
    auto* dialog = new DlgMain(static_cast<HWND>(hostWindow));
    try {
        if (dialog->Create())
            return dialog;
    } catch (...) {
        delete dialog; // with its half-made window
        throw;
    }
    delete dialog;
    return nullptr;
}
