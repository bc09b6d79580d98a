#include "AboutDlg.h"

#include "host/Version.h"
#include "platform/ui/Icons.h"
#include "platform/ui/Static.h"

namespace {

constexpr int kIconId = 1001;
constexpr int kVersionId = 1021;
constexpr int kPluginIcon = 102;
constexpr int kLargeIconSize = 80;

// The method's code is one name: its spaces do not break ("\u00A0").
// clang-format off
const DialogTemplate kAboutTemplate{103, u"О плагине", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 255, 119, u"MS Shell Dlg", 8, {
    {kIconId, ControlKind::StaticIcon, u"", 0, 16, 12, 20, 20},
    {IDC_STATIC, ControlKind::StaticText, u"Тамирель по\nПНД\u00A0Ф\u00A013.1:2:3.25-99", SS_LEFT, 88, 10, 160, 19},
    {kVersionId, ControlKind::StaticText, u"Плагин Аэро Версия: 1.0.2.0", SS_LEFT, 88, 30, 93, 8},
    {IDC_STATIC, ControlKind::StaticText, u"© atmocalc team, 2026", SS_LEFT, 88, 45, 126, 8},
    {IDC_STATIC, ControlKind::StaticText, u"Плагин выполняет количественный химический анализ атмосферного воздуха и выбросов в атмосферу по ПНД\u00A0Ф\u00A013.1:2:3.25-99.", SS_LEFT, 17, 70, 220, 27},
    {IDOK, ControlKind::PushButton, u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 198, 98, 50, 14},
}};
// clang-format on

} // namespace

CAboutDlg::CAboutDlg(HWND parent) : CDialogEx(kAboutTemplate, parent) {}

bool CAboutDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    const HICON icon = LoadIconResource(kPluginIcon);
    SetIcon(icon, true);
    SetIcon(icon, false);
    if (auto* image = GetDlgItemAs<CStatic>(kIconId))
        image->SetIcon(LoadIconImage(kPluginIcon, ScalePixels(kLargeIconSize, FontPixelScale(GetBaseUnits()).x)));
    // The version is the constant every other place shows, not the template's text.
    SetDlgItemText(kVersionId, kVersionSuffix);
    return true;
}
