#include "SettingsDlg.h"

#include "host/SettingsRecord.h"
#include "platform/text/Format.h"
#include "platform/text/Numbers.h"

#include <cmath>

namespace {

constexpr int kStandardConditionsId = 1004;
constexpr int kPressGradId = 1005;
constexpr int kPressAnId = 1006;

// clang-format off
const DialogTemplate kSettingsTemplate{115, u"Настройки", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 281, 89, u"MS Shell Dlg", 8, {
    {IDC_STATIC, ControlKind::StaticText, u"Приведение к стандартным условиям", SS_LEFT, 7, 9, 140, 8},
    {kStandardConditionsId, ControlKind::DropDownCombo, u"", CBS_DROPDOWNLIST | WS_TABSTOP, 150, 7, 124, 60},
    {IDC_STATIC, ControlKind::StaticText, u"Давление при градуировке (мм.рт.ст.)", SS_LEFT, 7, 29, 140, 8},
    {kPressGradId, ControlKind::Edit, u"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 150, 27, 124, 14},
    {IDC_STATIC, ControlKind::StaticText, u"Давление при анализе (мм.рт.ст.)", SS_LEFT, 7, 49, 140, 8},
    {kPressAnId, ControlKind::Edit, u"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 150, 47, 124, 14},
    {IDOK, ControlKind::PushButton, u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 170, 68, 50, 14},
    {IDCANCEL, ControlKind::PushButton, u"Отмена", WS_TABSTOP, 224, 68, 50, 14},
}};
// clang-format on

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\u00A0';
}

} // namespace

std::u16string FormatPressure(double value) {
    return value > 0 ? FormatText(u"%.1f", value) : u" - ";
}

double ParsePressure(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    if (text.empty() || text == u"-")
        return -1.0;
    const double value = ReadDecimalWithComma(text);
    // An overflowing text ("1e999") reads as infinity: no pressure either.
    return value > 0 && std::isfinite(value) ? value : -1.0;
}

SettingsDlg::SettingsDlg(HWND parent) : CDialogEx(kSettingsTemplate, parent) {}

void SettingsDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Control(dx, kStandardConditionsId, standardConditions);
    DDX_Text(dx, kPressGradId, pressGradText);
    DDX_Text(dx, kPressAnId, pressAnText);
}

bool SettingsDlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    standardConditions.SetItemData(standardConditions.AddString(u"Воздух рабочей зоны"), 0);
    standardConditions.SetItemData(standardConditions.AddString(u"Атмосферный воздух"), 1);

    const SettingsRecord& settings = SettingsRecord::Instance();
    for (int i = 0; i < standardConditions.GetCount(); ++i)
        if (standardConditions.GetItemData(i) == settings.stdMode) {
            standardConditions.SetCurSel(i);
            break;
        }
    pressGradText = FormatPressure(settings.pressGrad);
    pressAnText = FormatPressure(settings.pressAn);
    UpdateData(false);
    return true;
}

void SettingsDlg::OnOK() {
    UpdateData(true);
    SettingsRecord& settings = SettingsRecord::Instance();
    const int chosen = standardConditions.GetCurSel();
    settings.stdMode = chosen >= 0 ? static_cast<int32_t>(standardConditions.GetItemData(chosen)) : 0;
    settings.pressGrad = ParsePressure(pressGradText);
    settings.pressAn = ParsePressure(pressAnText);
    settings.Save();
    EndDialog(IDOK);
}
