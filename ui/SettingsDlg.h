// SettingsDlg: the modal dialog (template 115, "Настройки") in which the user edits the calculation
// settings: the standard conditions and the two atmospheric pressures. OK stores them in the
// settings record and the host profile; Отмена changes nothing. Nothing typed is rejected: a text
// that gives no pressure above zero stores -1.0 (not set), which the calculation then reports.
#pragma once

#include "platform/ui/ComboBox.h"
#include "platform/ui/DialogEx.h"

#include <string>
#include <string_view>

// " - " for a pressure that is not set (0 or below), else "%.1f" ("745.5").
std::u16string FormatPressure(double value);
// The pressure a typed text gives: trimmed, every "," read as ".", the leading decimal number; -1.0
// (not set) for an empty text, "-", or a number that is not above zero or not finite.
double ParsePressure(std::u16string_view text);

class SettingsDlg : public CDialogEx {
public:
    explicit SettingsDlg(HWND parent = nullptr);

protected:
    void DoDataExchange(CDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;

private:
    CComboBox standardConditions; // control 1004: item data = stdMode
    std::u16string pressGradText; // edit 1005
    std::u16string pressAnText;   // edit 1006
};
