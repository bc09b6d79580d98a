// The main dialog's tool commands: settings, component reference, report, About.
#include "DlgMain.h"

#include "calc/CalculationRun.h"
#include "components/ComponentTable.h"
#include "host/SettingsRecord.h"
#include "platform/shell/Shell.h"
#include "report/Report.h"
#include "ui/AboutDlg.h"
#include "ui/ComponentsDlg.h"
#include "ui/SettingsDlg.h"

#include <vector>

void DlgMain::OnSettings() {
    SettingsDlg dialog(GetSafeHwnd());
    if (dialog.DoModal() == IDOK)
        RunCalculation();
}

void DlgMain::OnComponents() {
    ComponentsDlg dialog(GetSafeHwnd());
    if (dialog.DoModal() == IDOK)
        RunCalculation();
}

void DlgMain::OnReport() {
    // A fresh result on the same inputs; the messages as the last run left them. Nothing on screen changes.
    const CalcResult result =
        CalculateResults(measurements, SettingsRecord::Instance(), ComponentTable::Instance());
    std::vector<std::u16string> messages = messagesTab.errors;
    messages.insert(messages.end(), messagesTab.warnings.begin(), messagesTab.warnings.end());
    messages.insert(messages.end(), messagesTab.infos.begin(), messagesTab.infos.end());
    ReportRequest request(measurements, result, messages, SettingsRecord::Instance());
    // A failed report has shown its own error box and leaves nothing to open.
    if (MakeReport(request))
        ShellOpenFile(request.outputPath);
}

void DlgMain::OnAbout() {
    CAboutDlg dialog(GetSafeHwnd());
    dialog.DoModal();
}
