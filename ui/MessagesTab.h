// MessagesTab: the messages page of the main dialog, a page (template 109) whose list box shows
// the last calculation run's errors, warnings and information messages under their headings,
// numbered from 1 across all three. The three lists are the messages' only store; the list box
// is only their display.
#pragma once

#include "platform/ui/DialogEx.h"
#include "platform/ui/ListBox.h"

#include <string>
#include <vector>

class MessagesTab : public CDialogEx {
public:
    explicit MessagesTab(HWND parent = nullptr);

    CListBox list; // control 1011
    std::vector<std::u16string> errors;
    std::vector<std::u16string> warnings;
    std::vector<std::u16string> infos;

    // Empties the list box and the three lists.
    void Clear();
    // Rebuilds the list box from the three lists: "Ошибки:", "Предупреждения:" and
    // "Информация:" each over its messages, "    %d. %s"; a group without messages shows nothing.
    void Refresh();

protected:
    void DoDataExchange(CDataExchange& dx) override;
};
