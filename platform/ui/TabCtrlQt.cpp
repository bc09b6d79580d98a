#include "TabCtrl.h"

#include "TabControlWidget.h"

namespace {

TabControlWidget* Tabs(QWidget* widget) {
    return dynamic_cast<TabControlWidget*>(widget);
}

struct Quiet {
    explicit Quiet(TabControlWidget* tabs) : tabs(tabs) { ++tabs->quiet; }
    ~Quiet() { --tabs->quiet; }
    TabControlWidget* tabs;
};

} // namespace

void CTabCtrl::OnAttach() {
    TabControlWidget* tabs = Tabs(GetSafeHwnd());
    if (!tabs)
        return;
    QObject::connect(tabs->Bar(), &QTabBar::currentChanged, Context(), [this, tabs](int) {
        if (tabs->quiet)
            return;
        NMHDR hdr = MakeHeader(TCN_SELCHANGE);
        SendNotify(hdr);
    });
}

int CTabCtrl::InsertItem(int index, std::u16string_view text, intptr_t data) {
    TabControlWidget* tabs = Tabs(GetSafeHwnd());
    if (!tabs)
        return -1;
    Quiet quiet(tabs);
    const int at = tabs->Bar()->insertTab(index, QString::fromStdU16String(std::u16string(text)));
    tabs->Bar()->setTabData(at, QVariant::fromValue<qintptr>(data));
    return at;
}

bool CTabCtrl::DeleteAllItems() {
    TabControlWidget* tabs = Tabs(GetSafeHwnd());
    if (!tabs)
        return false;
    Quiet quiet(tabs);
    while (tabs->Bar()->count() > 0)
        tabs->Bar()->removeTab(0);
    return true;
}

int CTabCtrl::GetItemCount() const {
    const TabControlWidget* tabs = Tabs(GetSafeHwnd());
    return tabs ? tabs->Bar()->count() : 0;
}

std::u16string CTabCtrl::GetItemText(int index) const {
    const TabControlWidget* tabs = Tabs(GetSafeHwnd());
    return tabs && index >= 0 && index < tabs->Bar()->count() ? tabs->Bar()->tabText(index).toStdU16String()
                                                              : std::u16string();
}

intptr_t CTabCtrl::GetItemData(int index) const {
    const TabControlWidget* tabs = Tabs(GetSafeHwnd());
    return tabs && index >= 0 && index < tabs->Bar()->count() ? tabs->Bar()->tabData(index).value<qintptr>()
                                                              : 0;
}

int CTabCtrl::GetCurSel() const {
    const TabControlWidget* tabs = Tabs(GetSafeHwnd());
    return tabs ? tabs->Bar()->currentIndex() : -1;
}

int CTabCtrl::SetCurSel(int index) {
    TabControlWidget* tabs = Tabs(GetSafeHwnd());
    if (!tabs || index < 0 || index >= tabs->Bar()->count())
        return -1;
    Quiet quiet(tabs);
    const int previous = tabs->Bar()->currentIndex();
    tabs->Bar()->setCurrentIndex(index);
    return previous;
}
