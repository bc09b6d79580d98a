// The main dialog's tool commands: settings, component reference, report, About.
#include "DlgMain.h"

#include "calc/CalculationRun.h"
#include "components/ComponentTable.h"
#include "host/SettingsRecord.h"
#include "platform/shell/Shell.h"
#include "platform/system/MessageBox.h"
#include "platform/text/Format.h"
#include "platform/ui/FocusKeeper.h"
#include "report/Report.h"
#include "ui/AboutDlg.h"
#include "ui/ComponentsDlg.h"
#include "ui/SettingsDlg.h"

#include <vector>

namespace {
constexpr char16_t kCaption[] = u"atmocalc";
} // namespace

// Each tool opens windows of its own; when they close, this dialog is the active window again.

void DlgMain::OnSettings() {
    const FocusKeeper keeper(GetSafeHwnd());
    SettingsDlg dialog(GetSafeHwnd());
    if (dialog.DoModal() == IDOK)
        RunCalculation();
}

void DlgMain::OnComponents() {
    const FocusKeeper keeper(GetSafeHwnd());
    ComponentsDlg dialog(GetSafeHwnd());
    if (dialog.DoModal() == IDOK)
        RunCalculation();
}

void DlgMain::OnReport() {
    FocusKeeper keeper(GetSafeHwnd());
    // A fresh result on the same inputs; the messages as the last run left them. Nothing on screen changes.
    const CalcResult result =
        CalculateResults(measurements, SettingsRecord::Instance(), ComponentTable::Instance());
    std::vector<std::u16string> messages = messagesTab.errors;
    messages.insert(messages.end(), messagesTab.warnings.begin(), messagesTab.warnings.end());
    messages.insert(messages.end(), messagesTab.infos.begin(), messagesTab.infos.end());
    ReportRequest request(measurements, result, messages, SettingsRecord::Instance());
    // A failed report has shown its own error box and leaves nothing to open. An opened report stays in
    // front of the dialog. A written report the desktop cannot open is not lost: the user learns where it is.
    if (!MakeReport(request))
        return;
    if (ShellOpenFile(request.outputPath))
        keeper.Release();
    else
        ShowMessageBox(GetSafeHwnd(),
                       FormatText(u"Отчёт сохранён в файле:\n%s\nОткрыть его программой по умолчанию не удалось.",
                                  request.outputPath),
                       kCaption, MB_OK | MB_ICONEXCLAMATION);
}

void DlgMain::OnAbout() {
    const FocusKeeper keeper(GetSafeHwnd());
    CAboutDlg dialog(GetSafeHwnd());
    dialog.DoModal();
}
