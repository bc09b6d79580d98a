#include "ToolTipCtrl.h"

#include "Win32ListHelpers.h"
#include "Win32Window.h"

#include <vector>

// One system tip window for all the tools of a dialog; each tool is a control's window, whose mouse
// messages the framework relays to the tip (RelayMouseToTip; a window not the framework's the tip
// watches itself, TTF_SUBCLASS). The texts are kept here too, as the tip only hands them out into a
// buffer of a size it does not tell.
struct CToolTipCtrl::Tools {
    struct Tool {
        HWND window;
        std::u16string text;
    };

    TOOLINFOW Info(const Tool& tool) const {
        TOOLINFOW info{};
        info.cbSize = sizeof(info);
        info.uFlags = TTF_IDISHWND | (RelayMouseToTip(tool.window, tip) ? 0 : TTF_SUBCLASS);
        info.hwnd = owner;
        info.uId = reinterpret_cast<UINT_PTR>(tool.window);
        info.lpszText = const_cast<wchar_t*>(Wide(tool.text));
        return info;
    }
    Tool* Find(const CWnd* tool) {
        for (Tool& t : list)
            if (tool && tool->GetSafeHwnd() && t.window == tool->GetSafeHwnd())
                return &t;
        return nullptr;
    }

    HWND owner = nullptr;
    HWND tip = nullptr;
    std::vector<Tool> list;
};

CToolTipCtrl::CToolTipCtrl() : tools(std::make_unique<Tools>()) {}

CToolTipCtrl::~CToolTipCtrl() {
    if (tools->tip && IsWindow(tools->tip))
        DestroyWindow(tools->tip);
}

bool CToolTipCtrl::Create(CWnd* owner, unsigned style) {
    if (!owner || !owner->IsWindow())
        return false;
    // Made again, the tips keep their tools under the new owner.
    if (tools->tip && IsWindow(tools->tip))
        DestroyWindow(tools->tip);
    tools->owner = owner->GetSafeHwnd();
    tools->tip = CreateTipWindow(tools->owner, style);
    if (!tools->tip)
        return false;
    for (const Tools::Tool& tool : tools->list) {
        TOOLINFOW info = tools->Info(tool);
        SendMessageW(tools->tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
    SendMessageW(tools->tip, TTM_ACTIVATE, TRUE, 0);
    return true;
}

bool CToolTipCtrl::AddTool(CWnd* tool, std::u16string_view text) {
    if (!tools->tip || !tool || !tool->IsWindow())
        return false;
    tools->list.push_back({tool->GetSafeHwnd(), std::u16string(text)});
    TOOLINFOW info = tools->Info(tools->list.back());
    if (SendMessageW(tools->tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)))
        return true;
    tools->list.pop_back();
    return false;
}

bool CToolTipCtrl::UpdateTipText(std::u16string_view text, CWnd* tool) {
    Tools::Tool* existing = tools->Find(tool);
    if (!existing)
        return AddTool(tool, text);
    existing->text = text;
    TOOLINFOW info = tools->Info(*existing);
    SendMessageW(tools->tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
    return true;
}

void CToolTipCtrl::Activate(bool active) {
    if (tools->tip)
        SendMessageW(tools->tip, TTM_ACTIVATE, active, 0);
}

int CToolTipCtrl::GetToolCount() const {
    return static_cast<int>(tools->list.size());
}

std::u16string CToolTipCtrl::GetText(const CWnd* tool) const {
    const Tools::Tool* found = tools->Find(tool);
    return found ? found->text : std::u16string();
}
