// CToolTipCtrl: tips for a dialog's controls. Each tool is a control's window and its text; the
// tip shows when the mouse rests on the control while the tips are active. The widgets show the
// tips themselves, so no mouse message needs relaying. TTS_ALWAYSTIP shows tips also while the
// dialog is not the active window.
#pragma once

#include "platform/ui/Wnd.h"

#include <QPointer>

#include <string>
#include <vector>

class CToolTipCtrl {
public:
    // Prepares tips for the controls of `owner` (active from now on); false without a window.
    bool Create(CWnd* owner, unsigned style = 0);
    // Adds a tool; false before Create or when the tool has no window.
    bool AddTool(CWnd* tool, std::u16string_view text);
    // Turns all tips on or off.
    void Activate(bool active);
    int GetToolCount() const { return static_cast<int>(tools.size()); }
    std::u16string GetText(const CWnd* tool) const; // "" for a window that is no tool

private:
    struct Tool {
        QPointer<QWidget> widget;
        std::u16string text;
    };
    void Apply(const Tool& tool) const;

    QPointer<QWidget> ownerWidget;
    unsigned style = 0;
    bool active = false;
    std::vector<Tool> tools;
};
