#include "ListBox.h"

#include "ListViewWidget.h"

#include <QHelpEvent>
#include <QListWidget>
#include <QToolTip>

#include <algorithm>

namespace {
QListWidget* List(QWidget* widget) {
    return qobject_cast<QListWidget*>(widget);
}
bool Valid(const QListWidget* list, int index) {
    return list && index >= 0 && index < list->count();
}
} // namespace

int CListBox::AddString(std::u16string_view text) {
    return InsertString(-1, text);
}

int CListBox::InsertString(int index, std::u16string_view text) {
    QListWidget* list = List(GetSafeHwnd());
    if (!list)
        return -1;
    auto* item = new QListWidgetItem(QString::fromStdU16String(std::u16string(text)));
    list->insertItem(index < 0 || index > list->count() ? list->count() : index, item);
    return list->row(item); // a sorted list puts it in its place
}

int CListBox::DeleteString(int index) {
    QListWidget* list = List(GetSafeHwnd());
    if (!Valid(list, index))
        return -1;
    delete list->takeItem(index);
    return list->count();
}

void CListBox::ResetContent() {
    if (QListWidget* list = List(GetSafeHwnd()))
        list->clear();
}

int CListBox::GetCount() const {
    const QListWidget* list = List(GetSafeHwnd());
    return list ? list->count() : 0;
}

std::u16string CListBox::GetText(int index) const {
    const QListWidget* list = List(GetSafeHwnd());
    return Valid(list, index) ? list->item(index)->text().toStdU16String() : std::u16string();
}

int CListBox::GetCurSel() const {
    const QListWidget* list = List(GetSafeHwnd());
    return list ? list->currentRow() : -1;
}

int CListBox::SetCurSel(int index) {
    QListWidget* list = List(GetSafeHwnd());
    if (!list)
        return -1;
    list->clearSelection();
    if (!Valid(list, index)) {
        list->setCurrentRow(-1);
        return -1;
    }
    list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    return index;
}

int CListBox::GetSelCount() const {
    return static_cast<int>(GetSelItems().size());
}

std::vector<int> CListBox::GetSelItems() const {
    std::vector<int> rows;
    if (const QListWidget* list = List(GetSafeHwnd()))
        for (const QModelIndex& index : list->selectionModel()->selectedIndexes())
            rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int CListBox::SetSel(int index, bool select) {
    QListWidget* list = List(GetSafeHwnd());
    if (!list || (index != -1 && !Valid(list, index)))
        return -1;
    const auto command = select ? QItemSelectionModel::Select : QItemSelectionModel::Deselect;
    for (int i = index < 0 ? 0 : index; i < (index < 0 ? list->count() : index + 1); ++i)
        list->selectionModel()->select(list->model()->index(i, 0), command);
    return 0;
}

int CListBox::GetTopIndex() const {
    const QListWidget* list = List(GetSafeHwnd());
    if (!list || list->count() == 0)
        return 0;
    const QModelIndex top = list->indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : 0;
}

void CListBox::OnAttach() {
    if (QListWidget* list = List(GetSafeHwnd())) {
        WatchEvents(list);
        WatchEvents(list->viewport());
    }
}

bool CListBox::OnWidgetEvent(QObject* watched, QEvent* event) {
    QListWidget* list = List(GetSafeHwnd());
    if (list && watched == list && CopyOnCtrlC(event, [this] { return CopyText(); }))
        return true;
    if (!list || watched != list->viewport() || event->type() != QEvent::ToolTip)
        return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    const QListWidgetItem* item = list->itemAt(help->pos());
    const QString text = item ? item->text() : QString();
    // A text longer than what the viewport shows of its item (narrow, or scrolled partly out of
    // sight) shows whole in the tip.
    const QRect visible = item ? list->visualItemRect(item).intersected(list->viewport()->rect()) : QRect();
    if (TextCut(list, text, visible))
        QToolTip::showText(help->globalPos(), text, list->viewport(), visible);
    else
        QToolTip::hideText();
    return true;
}
