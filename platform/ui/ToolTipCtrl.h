// CToolTipCtrl: tips for a dialog's controls. Each tool is a control's window and its text; the
// tip shows when the mouse rests on the control while the tips are active. The controls show the
// tips themselves, so no mouse message needs relaying. TTS_ALWAYSTIP shows tips also while the
// dialog is not the active window.
#pragma once

#include "platform/ui/Wnd.h"

#include <memory>
#include <string>

class CToolTipCtrl {
public:
    CToolTipCtrl();
    ~CToolTipCtrl();
    CToolTipCtrl(const CToolTipCtrl&) = delete;
    CToolTipCtrl& operator=(const CToolTipCtrl&) = delete;

    // Prepares tips for the controls of `owner` (active from now on); false without a window.
    bool Create(CWnd* owner, unsigned style = 0);
    // Adds a tool; false before Create or when the tool has no window.
    bool AddTool(CWnd* tool, std::u16string_view text);
    // Gives a tool a new text, adding the tool when it is none yet; false as for AddTool.
    bool UpdateTipText(std::u16string_view text, CWnd* tool);
    // Turns all tips on or off.
    void Activate(bool active);
    int GetToolCount() const;
    std::u16string GetText(const CWnd* tool) const; // "" for a window that is no tool

private:
    struct Tools; // the owner and the tools, as the system names their windows
    std::unique_ptr<Tools> tools;
};
