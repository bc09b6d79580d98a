#include "ToolTipCtrl.h"

bool CToolTipCtrl::Create(CWnd* owner, unsigned tipStyle) {
    if (!owner || !owner->IsWindow())
        return false;
    ownerWidget = owner->GetSafeHwnd();
    style = tipStyle;
    active = true;
    if (style & TTS_ALWAYSTIP)
        ownerWidget->window()->setAttribute(Qt::WA_AlwaysShowToolTips);
    return true;
}

bool CToolTipCtrl::AddTool(CWnd* tool, std::u16string_view text) {
    if (!ownerWidget || !tool || !tool->IsWindow())
        return false;
    tools.push_back({tool->GetSafeHwnd(), std::u16string(text)});
    Apply(tools.back());
    return true;
}

void CToolTipCtrl::Activate(bool on) {
    active = on;
    for (const Tool& tool : tools)
        Apply(tool);
}

std::u16string CToolTipCtrl::GetText(const CWnd* tool) const {
    for (const Tool& t : tools)
        if (tool && t.widget && t.widget == tool->GetSafeHwnd())
            return t.text;
    return {};
}

void CToolTipCtrl::Apply(const Tool& tool) const {
    if (tool.widget)
        tool.widget->setToolTip(active ? QString::fromStdU16String(tool.text) : QString());
}
