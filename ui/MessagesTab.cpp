#include "MessagesTab.h"

#include "calc/MessageLines.h"

namespace {

constexpr int kListId = 1011;

// clang-format off
const DialogTemplate kMessagesTemplate{109, u"", WS_CHILD, 235, 100, u"MS Shell Dlg", 8, {
    {kListId, ControlKind::ListBox, u"", WS_VSCROLL | WS_HSCROLL | WS_BORDER | WS_TABSTOP | LBS_NOTIFY | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT, 7, 7, 221, 86, {0, 0, 100, 100}},
}};
// clang-format on

} // namespace

MessagesTab::MessagesTab(HWND parent) : CDialogEx(kMessagesTemplate, parent) {
    list.SetHeading(u"Сообщения");
}

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
    const RedrawSuspended quiet(list);
    list.ResetContent();
    for (const std::u16string& line : MessageLines(errors, warnings, infos))
        list.AddString(line);
}
