#include "ToolTipCtrl.h"

#include <QPointer>
#include <QWidget>

#include <vector>

struct CToolTipCtrl::Tools {
    struct Tool {
        QPointer<QWidget> widget;
        std::u16string text;
    };
    void Apply(const Tool& tool) const {
        if (tool.widget)
            tool.widget->setToolTip(active ? QString::fromStdU16String(tool.text) : QString());
    }
    Tool* Find(const CWnd* tool) {
        for (Tool& t : list)
            if (tool && t.widget && t.widget == tool->GetSafeHwnd())
                return &t;
        return nullptr;
    }

    QPointer<QWidget> ownerWidget;
    unsigned style = 0;
    bool active = false;
    std::vector<Tool> list;
};

CToolTipCtrl::CToolTipCtrl() : tools(std::make_unique<Tools>()) {}

CToolTipCtrl::~CToolTipCtrl() = default;

bool CToolTipCtrl::Create(CWnd* owner, unsigned tipStyle) {
    if (!owner || !owner->IsWindow())
        return false;
    tools->ownerWidget = owner->GetSafeHwnd();
    tools->style = tipStyle;
    tools->active = true;
    if (tools->style & TTS_ALWAYSTIP)
        tools->ownerWidget->window()->setAttribute(Qt::WA_AlwaysShowToolTips);
    return true;
}

bool CToolTipCtrl::AddTool(CWnd* tool, std::u16string_view text) {
    if (!tools->ownerWidget || !tool || !tool->IsWindow())
        return false;
    tools->list.push_back({tool->GetSafeHwnd(), std::u16string(text)});
    tools->Apply(tools->list.back());
    return true;
}

bool CToolTipCtrl::UpdateTipText(std::u16string_view text, CWnd* tool) {
    Tools::Tool* existing = tools->Find(tool);
    if (!existing)
        return AddTool(tool, text);
    existing->text = text;
    tools->Apply(*existing);
    return true;
}

void CToolTipCtrl::Activate(bool on) {
    tools->active = on;
    for (const Tools::Tool& tool : tools->list)
        tools->Apply(tool);
}

int CToolTipCtrl::GetToolCount() const {
    return static_cast<int>(tools->list.size());
}

std::u16string CToolTipCtrl::GetText(const CWnd* tool) const {
    const Tools::Tool* found = tools->Find(tool);
    return found ? found->text : std::u16string();
}
