#include "MessagesTab.h"

#include "platform/text/Format.h"

namespace {

constexpr int kListId = 1011;

// clang-format off
const DialogTemplate kMessagesTemplate{109, u"", WS_CHILD, 235, 100, u"MS Shell Dlg", 8, {
    {kListId, ControlKind::ListBox, u"", WS_VSCROLL | WS_BORDER | WS_TABSTOP | LBS_NOTIFY | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT, 7, 7, 221, 86, {0, 0, 100, 100}},
}};
// clang-format on

} // namespace

MessagesTab::MessagesTab(QWidget* parent) : CDialogEx(kMessagesTemplate, parent) {}

void MessagesTab::DoDataExchange(CDataExchange& dx) {
    DDX_Control(dx, kListId, list);
}

void MessagesTab::Clear() {
    list.ResetContent();
    errors.clear();
    warnings.clear();
    infos.clear();
}

void MessagesTab::Refresh() {
    list.ResetContent();
    int number = 0; // runs on across the groups
    const auto addGroup = [&](std::u16string_view heading, const std::vector<std::u16string>& messages) {
        if (messages.empty())
            return;
        list.AddString(heading);
        for (const std::u16string& message : messages)
            list.AddString(FormatText(u"    %d. %s", ++number, message));
    };
    addGroup(u"Ошибки:", errors);
    addGroup(u"Предупреждения:", warnings);
    addGroup(u"Информация:", infos);
}
