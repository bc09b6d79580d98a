#include "ComboBox.h"

#include "platform/text/CaseMapping.h"

#include <QComboBox>

namespace {
QComboBox* Combo(QWidget* widget) {
    return qobject_cast<QComboBox*>(widget);
}
bool Valid(const QComboBox* combo, int index) {
    return combo && index >= 0 && index < combo->count();
}
constexpr int kDataRole = Qt::UserRole + 1;
} // namespace

int CComboBox::AddString(std::u16string_view text) {
    const QComboBox* combo = Combo(GetSafeHwnd());
    if (!combo)
        return -1;
    int index = combo->count();
    if (GetStyle() & CBS_SORT) {
        const std::u16string key = FoldText(text);
        index = 0;
        while (index < combo->count() && FoldText(combo->itemText(index).toStdU16String()) <= key)
            ++index;
    }
    return InsertString(index, text);
}

int CComboBox::InsertString(int index, std::u16string_view text) {
    QComboBox* combo = Combo(GetSafeHwnd());
    if (!combo)
        return -1;
    const int at = index < 0 || index > combo->count() ? combo->count() : index;
    const int chosen = combo->currentIndex();
    combo->insertItem(at, QString::fromStdU16String(std::u16string(text)));
    // Qt chooses the first item of an empty list by itself; this control waits to be told.
    if (chosen < 0)
        combo->setCurrentIndex(-1);
    return at;
}

int CComboBox::DeleteString(int index) {
    QComboBox* combo = Combo(GetSafeHwnd());
    if (!Valid(combo, index))
        return -1;
    combo->removeItem(index);
    return combo->count();
}

void CComboBox::ResetContent() {
    if (QComboBox* combo = Combo(GetSafeHwnd()))
        combo->clear();
}

int CComboBox::GetCount() const {
    const QComboBox* combo = Combo(GetSafeHwnd());
    return combo ? combo->count() : 0;
}

std::u16string CComboBox::GetLBText(int index) const {
    const QComboBox* combo = Combo(GetSafeHwnd());
    return Valid(combo, index) ? combo->itemText(index).toStdU16String() : std::u16string();
}

int CComboBox::SetItemData(int index, intptr_t data) {
    QComboBox* combo = Combo(GetSafeHwnd());
    if (!Valid(combo, index))
        return -1;
    combo->setItemData(index, QVariant::fromValue<qintptr>(data), kDataRole);
    return 0;
}

intptr_t CComboBox::GetItemData(int index) const {
    const QComboBox* combo = Combo(GetSafeHwnd());
    return Valid(combo, index) ? combo->itemData(index, kDataRole).value<qintptr>() : 0;
}

int CComboBox::GetCurSel() const {
    const QComboBox* combo = Combo(GetSafeHwnd());
    return combo ? combo->currentIndex() : -1;
}

int CComboBox::SetCurSel(int index) {
    QComboBox* combo = Combo(GetSafeHwnd());
    if (!combo)
        return -1;
    combo->setCurrentIndex(Valid(combo, index) ? index : -1);
    return combo->currentIndex();
}
