#include "ListCtrl.h"

#include "ListViewWidget.h"
#include "QtGeometry.h"
#include "StableOrder.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>
#include <set>

namespace {

bool ValidRow(const QTableWidget* t, int row) {
    return t && row >= 0 && row < t->rowCount();
}
bool ValidColumn(const QTableWidget* t, int column) {
    return t && column >= 0 && column < t->columnCount();
}

QString ToQString(std::u16string_view text) {
    return QString::fromStdU16String(std::u16string(text));
}

QTableWidgetItem* MakeItem(std::u16string_view text) {
    auto* item = new QTableWidgetItem(ToQString(text));
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

std::vector<int> RowsOf(const QItemSelection& selection) {
    std::set<int> rows;
    for (const QItemSelectionRange& range : selection)
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.insert(row);
    return {rows.begin(), rows.end()};
}

// The column whose divider lies under x in the header's viewport, as the header itself finds it
// when a press starts a resize: the section under x when x is near its right edge, the nearest
// shown section to the left when x is near its left edge; -1 when x is on no divider.
int DividerAt(const QHeaderView* header, int x) {
    int visual = header->visualIndexAt(x);
    if (visual == -1)
        return -1;
    const int logical = header->logicalIndex(visual);
    const int position = header->sectionViewportPosition(logical);
    const int grip = header->style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, header);
    if (x < position + grip) {
        while (visual > 0) {
            const int left = header->logicalIndex(--visual);
            if (!header->isSectionHidden(left))
                return left;
        }
        return -1;
    }
    if (x > position + header->sectionSize(logical) - grip)
        return logical;
    return -1;
}

} // namespace

// ---- header ----

int CHeaderCtrl::GetItemCount() const {
    const auto* table = qobject_cast<const QTableWidget*>(list);
    return table ? table->columnCount() : 0;
}

int CHeaderCtrl::GetItemFormat(int item) const {
    const auto* table = qobject_cast<const QTableWidget*>(list);
    const QTableWidgetItem* heading = ValidColumn(table, item) ? table->horizontalHeaderItem(item) : nullptr;
    return heading ? heading->data(kFormatRole).toInt() : 0;
}

std::u16string CHeaderCtrl::GetItemText(int item) const {
    const auto* table = qobject_cast<const QTableWidget*>(list);
    const QTableWidgetItem* heading = ValidColumn(table, item) ? table->horizontalHeaderItem(item) : nullptr;
    return heading ? heading->text().toStdU16String() : std::u16string();
}

bool CHeaderCtrl::SetItemFormat(int item, int format) {
    auto* table = qobject_cast<QTableWidget*>(list);
    QTableWidgetItem* heading = ValidColumn(table, item) ? table->horizontalHeaderItem(item) : nullptr;
    if (!heading)
        return false;
    heading->setData(kFormatRole, format);
    heading->setTextAlignment(ColumnAlignment(format) | Qt::AlignVCenter);
    if (auto* list = dynamic_cast<ListViewWidget*>(table))
        list->SyncSortIndicator();
    return true;
}

// ---- columns ----

QTableWidget* CListCtrl::Table() const {
    return qobject_cast<QTableWidget*>(GetSafeHwnd());
}

HWND CListCtrl::GetViewport() const {
    QTableWidget* t = Table();
    return t ? t->viewport() : nullptr;
}

CListCtrl::CListCtrl() = default;

CListCtrl::~CListCtrl() = default;

int CListCtrl::InsertColumn(int column, std::u16string_view heading, int format, int width) {
    QTableWidget* t = Table();
    if (!t || column < 0)
        return -1;
    QuietList quiet(t);
    const int at = std::min(column, t->columnCount());
    t->insertColumn(at);
    auto* item = new QTableWidgetItem(ToQString(heading));
    item->setData(kFormatRole, format & LVCFMT_JUSTIFYMASK);
    item->setTextAlignment(ColumnAlignment(format) | Qt::AlignVCenter);
    t->setHorizontalHeaderItem(at, item);
    if (width >= 0)
        t->setColumnWidth(at, width);
    return at;
}

bool CListCtrl::DeleteColumn(int column) {
    QTableWidget* t = Table();
    if (!ValidColumn(t, column))
        return false;
    QuietList quiet(t);
    t->removeColumn(column);
    return true;
}

int CListCtrl::GetColumnCount() const {
    const QTableWidget* t = Table();
    return t ? t->columnCount() : 0;
}

int CListCtrl::GetColumnWidth(int column) const {
    const QTableWidget* t = Table();
    return ValidColumn(t, column) ? t->columnWidth(column) : 0;
}

bool CListCtrl::SetColumnWidth(int column, int width) {
    QTableWidget* t = Table();
    if (!ValidColumn(t, column) || width < 0)
        return false;
    t->setColumnWidth(column, width);
    return true;
}

int CListCtrl::GetColumnFormat(int column) const {
    return GetHeaderCtrl().GetItemFormat(column) & LVCFMT_JUSTIFYMASK;
}

CHeaderCtrl CListCtrl::GetHeaderCtrl() const {
    return CHeaderCtrl(Table());
}

// ---- rows ----

int CListCtrl::GetItemCount() const {
    const QTableWidget* t = Table();
    return t ? t->rowCount() : 0;
}

int CListCtrl::InsertItem(int row, std::u16string_view text) {
    QTableWidget* t = Table();
    if (!t || row < 0)
        return -1;
    QuietList quiet(t);
    const int at = std::min(row, t->rowCount());
    t->insertRow(at);
    t->setItem(at, 0, MakeItem(text));
    return at;
}

bool CListCtrl::DeleteItem(int row) {
    QTableWidget* t = Table();
    if (!ValidRow(t, row))
        return false;
    QuietList quiet(t);
    t->removeRow(row);
    return true;
}

bool CListCtrl::DeleteAllItems() {
    QTableWidget* t = Table();
    if (!t)
        return false;
    QuietList quiet(t);
    t->setRowCount(0);
    t->selectionModel()->clearCurrentIndex();
    return true;
}

bool CListCtrl::SetItemText(int row, int column, std::u16string_view text) {
    QTableWidget* t = Table();
    if (!ValidRow(t, row) || !ValidColumn(t, column))
        return false;
    if (QTableWidgetItem* item = t->item(row, column))
        item->setText(ToQString(text));
    else
        t->setItem(row, column, MakeItem(text));
    return true;
}

std::u16string CListCtrl::GetItemText(int row, int column) const {
    const QTableWidget* t = Table();
    const QTableWidgetItem* item =
        ValidRow(t, row) && ValidColumn(t, column) ? t->item(row, column) : nullptr;
    return item ? item->text().toStdU16String() : std::u16string();
}

bool CListCtrl::SetItemToolTip(int row, std::u16string_view text) {
    QTableWidget* t = Table();
    if (!ValidRow(t, row) || t->columnCount() == 0)
        return false;
    if (!t->item(row, 0))
        t->setItem(row, 0, MakeItem(u""));
    t->item(row, 0)->setData(kToolTipRole, text.empty() ? QVariant() : QVariant(ToQString(text)));
    return true;
}

std::u16string CListCtrl::GetItemToolTip(int row) const {
    const QTableWidget* t = Table();
    const QTableWidgetItem* item = ValidRow(t, row) && t->columnCount() > 0 ? t->item(row, 0) : nullptr;
    return item ? item->data(kToolTipRole).toString().toStdU16String() : std::u16string();
}

bool CListCtrl::SetItemData(int row, intptr_t data) {
    QTableWidget* t = Table();
    if (!ValidRow(t, row) || t->columnCount() == 0)
        return false;
    if (!t->item(row, 0))
        t->setItem(row, 0, MakeItem(u""));
    t->item(row, 0)->setData(kItemDataRole, QVariant::fromValue<qintptr>(data));
    return true;
}

intptr_t CListCtrl::GetItemData(int row) const {
    const QTableWidget* t = Table();
    const QTableWidgetItem* item = ValidRow(t, row) && t->columnCount() > 0 ? t->item(row, 0) : nullptr;
    return item ? item->data(kItemDataRole).value<qintptr>() : 0;
}

// ---- states ----

unsigned CListCtrl::GetItemState(int row, unsigned mask) const {
    const QTableWidget* t = Table();
    if (!ValidRow(t, row) || t->columnCount() == 0)
        return 0;
    unsigned state = 0;
    if (t->selectionModel()->isSelected(t->model()->index(row, 0)))
        state |= LVIS_SELECTED;
    if (t->currentIndex().isValid() && t->currentIndex().row() == row)
        state |= LVIS_FOCUSED;
    return state & mask;
}

bool CListCtrl::SetItemState(int row, unsigned state, unsigned mask) {
    QTableWidget* t = Table();
    if (!t || t->columnCount() == 0 || (row != -1 && !ValidRow(t, row)))
        return false;
    QItemSelectionModel* selection = t->selectionModel();
    const int first = row == -1 ? 0 : row;
    const int last = row == -1 ? t->rowCount() - 1 : row;
    for (int r = first; r <= last; ++r) {
        const QModelIndex cell = t->model()->index(r, 0);
        if (mask & LVIS_SELECTED)
            selection->select(
                cell, (state & LVIS_SELECTED ? QItemSelectionModel::Select : QItemSelectionModel::Deselect) |
                          QItemSelectionModel::Rows);
        if (mask & LVIS_FOCUSED) {
            if (state & LVIS_FOCUSED)
                selection->setCurrentIndex(t->model()->index(r, std::max(0, t->currentColumn())),
                                           QItemSelectionModel::NoUpdate);
            else if (t->currentIndex().isValid() && t->currentIndex().row() == r)
                selection->clearCurrentIndex();
        }
    }
    return true;
}

int CListCtrl::GetSelectedCount() const {
    return static_cast<int>(GetSelectedRows().size());
}

std::vector<int> CListCtrl::GetSelectedRows() const {
    const QTableWidget* t = Table();
    if (!t)
        return {};
    std::vector<int> rows = RowsOf(t->selectionModel()->selection());
    rows.erase(std::remove_if(rows.begin(), rows.end(), [t](int r) { return r >= t->rowCount(); }),
               rows.end());
    return rows;
}

int CListCtrl::GetNextItem(int start, unsigned flags) const {
    const unsigned wanted = flags & (LVNI_FOCUSED | LVNI_SELECTED);
    for (int row = std::max(start + 1, 0); row < GetItemCount(); ++row)
        if ((GetItemState(row, LVIS_FOCUSED | LVIS_SELECTED) & wanted) == wanted)
            return row;
    return -1;
}

bool CListCtrl::EnsureVisible(int row, bool partialOK) {
    QTableWidget* t = Table();
    if (!ValidRow(t, row) || t->columnCount() == 0)
        return false;
    const QModelIndex cell = t->model()->index(row, std::max(0, t->columnAt(0)));
    const QRect rect = t->visualRect(cell);
    const QRect area = t->viewport()->rect();
    const bool shown = partialOK ? rect.top() < area.bottom() && rect.bottom() > area.top()
                                 : rect.top() >= area.top() && rect.bottom() <= area.bottom();
    if (!shown) {
        // Rows scroll vertically only; the columns stay where the user put them.
        const int horizontal = t->horizontalScrollBar()->value();
        t->scrollTo(cell, QAbstractItemView::EnsureVisible);
        t->horizontalScrollBar()->setValue(horizontal);
    }
    return true;
}

int CListCtrl::GetTopIndex() const {
    const QTableWidget* t = Table();
    const int row = t ? t->rowAt(0) : -1;
    return row < 0 ? 0 : row;
}

int CListCtrl::GetCountPerPage() const {
    const QTableWidget* t = Table();
    if (!t)
        return 0;
    const int rowHeight = t->verticalHeader()->defaultSectionSize();
    return rowHeight > 0 ? t->viewport()->height() / rowHeight : 0;
}

int CListCtrl::HitTest(CPoint point, int* subItem) const {
    const QTableWidget* t = Table();
    if (subItem)
        *subItem = t ? t->columnAt(point.x) : -1;
    return t ? t->rowAt(point.y) : -1;
}

int CListCtrl::GetCurrentColumn() const {
    const QTableWidget* t = Table();
    return t && t->currentIndex().isValid() ? t->currentIndex().column() : 0;
}

bool CListCtrl::GetSubItemRect(int row, int column, CRect& rect) const {
    const QTableWidget* t = Table();
    if (!ValidRow(t, row) || !ValidColumn(t, column))
        return false;
    rect = FromQRect(t->visualRect(t->model()->index(row, column)));
    return true;
}

unsigned CListCtrl::GetExtendedStyle() const {
    const WidgetHook* hook = GetSafeHwnd() ? WidgetHook::Of(GetSafeHwnd()) : nullptr;
    return hook ? hook->extendedStyle : 0;
}

void CListCtrl::SetExtendedStyle(unsigned exStyle) {
    if (auto* list = dynamic_cast<ListViewWidget*>(GetSafeHwnd())) {
        list->extendedStyle = exStyle;
        list->ApplyStyles();
    }
}

void CListCtrl::OnStyleChanged() {
    if (auto* list = dynamic_cast<ListViewWidget*>(GetSafeHwnd()))
        list->ApplyStyles();
}

bool CListCtrl::SortItemsEx(const std::function<int(int, int)>& compare) {
    QTableWidget* t = Table();
    if (!t || !compare)
        return false;
    const int rows = t->rowCount();
    const int columns = t->columnCount();
    const std::vector<int> order = StableOrder(rows, compare);

    std::vector<bool> selected(rows);
    for (int row : GetSelectedRows())
        selected[row] = true;
    const int focused = t->currentIndex().isValid() ? t->currentIndex().row() : -1;
    const int focusedColumn = std::max(0, t->currentColumn());

    QuietList quiet(t);
    std::vector<std::vector<QTableWidgetItem*>> items(rows, std::vector<QTableWidgetItem*>(columns));
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column)
            items[row][column] = t->takeItem(row, column);
    t->selectionModel()->clear();
    for (int row = 0; row < rows; ++row) {
        const int from = order[row];
        for (int column = 0; column < columns; ++column)
            t->setItem(row, column, items[from][column]);
        if (selected[from])
            t->selectionModel()->select(t->model()->index(row, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
        if (from == focused)
            t->selectionModel()->setCurrentIndex(t->model()->index(row, focusedColumn),
                                                 QItemSelectionModel::NoUpdate);
    }
    return true;
}

// ---- what the list tells ----

void CListCtrl::SendItemChanged(int row, unsigned newState, unsigned oldState) {
    NMLISTVIEW change{
        MakeHeader(LVN_ITEMCHANGED), row, 0, newState, oldState, LVIF_STATE, CPoint(), GetItemData(row)};
    SendNotify(change.hdr);
}

void CListCtrl::SendStateChanges(const std::vector<int>& rows, unsigned bit, bool gained) {
    for (int row : rows) {
        if (row >= GetItemCount())
            continue;
        const unsigned now = GetItemState(row, LVIS_SELECTED | LVIS_FOCUSED);
        const unsigned newState = gained ? now | bit : now & ~bit;
        SendItemChanged(row, newState, gained ? newState & ~bit : newState | bit);
    }
}

void CListCtrl::SyncSortIndicator() const {
    if (auto* list = dynamic_cast<ListViewWidget*>(GetSafeHwnd()))
        list->SyncSortIndicator();
}

void CListCtrl::OnAttach() {
    auto* list = dynamic_cast<ListViewWidget*>(GetSafeHwnd());
    if (!list)
        return;
    QHeaderView* header = list->horizontalHeader();
    WatchEvents(list);
    WatchEvents(list->viewport());
    WatchEvents(header->viewport());

    QObject::connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, Context(),
                     [this, list](const QItemSelection& gained, const QItemSelection& lost) {
                         if (list->quiet)
                             return;
                         SendStateChanges(RowsOf(lost), LVIS_SELECTED, false);
                         SendStateChanges(RowsOf(gained), LVIS_SELECTED, true);
                     });
    QObject::connect(list->selectionModel(), &QItemSelectionModel::currentRowChanged, Context(),
                     [this, list](const QModelIndex& current, const QModelIndex& previous) {
                         if (list->quiet)
                             return;
                         if (previous.isValid())
                             SendStateChanges({previous.row()}, LVIS_FOCUSED, false);
                         if (current.isValid())
                             SendStateChanges({current.row()}, LVIS_FOCUSED, true);
                     });
    QObject::connect(header, &QHeaderView::sectionClicked, Context(), [this](int column) {
        NMLISTVIEW click{MakeHeader(LVN_COLUMNCLICK), -1, column, 0, 0, 0, CPoint(), 0};
        SendNotify(click.hdr);
        SyncSortIndicator(); // the header flips its own mark on a click; the formats decide
    });
    QObject::connect(header, &QHeaderView::sectionMoved, Context(),
                     [this](int column, int, int order) { OnHeaderEndDrag(column, order); });
    // The list fits the column to its texts before this runs; the start was asked on the press.
    QObject::connect(header, &QHeaderView::sectionHandleDoubleClicked, Context(),
                     [this, list](int column) { OnHeaderEndTrack(column, list->columnWidth(column)); });
    for (QScrollBar* bar : {list->verticalScrollBar(), list->horizontalScrollBar()}) {
        QObject::connect(bar, &QAbstractSlider::actionTriggered, Context(), [this](int) { OnScroll(); });
        QObject::connect(bar, &QAbstractSlider::sliderPressed, Context(), [this] { OnScroll(); });
    }
    SyncSortIndicator();
}

bool CListCtrl::OnWidgetEvent(QObject* watched, QEvent* event) {
    QTableWidget* t = Table();
    if (!t)
        return false;
    if (watched == t->horizontalHeader()->viewport())
        return HeaderEvent(event);
    if (watched == t->viewport())
        return ViewportEvent(event);
    if (watched == t && CopyOnCtrlC(event, [this] { return CopyText(); }))
        return true;
    if (watched == t && event->type() == QEvent::ContextMenu) {
        auto* request = static_cast<QContextMenuEvent*>(event);
        return OnContextMenu(request->reason() == QContextMenuEvent::Keyboard ? CPoint{-1, -1}
                                                                              : FromQPoint(request->globalPos()));
    }
    return false;
}

bool CListCtrl::HeaderEvent(QEvent* event) {
    QTableWidget* t = Table();
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton)
        return false;
    if (type == QEvent::MouseButtonRelease) {
        if (trackingColumn >= 0) {
            const int column = trackingColumn;
            trackingColumn = -1;
            OnHeaderEndTrack(column, t->columnWidth(column));
        }
        return false;
    }
    const int column = DividerAt(t->horizontalHeader(), mouse->position().toPoint().x());
    if (column < 0)
        return false;
    if (OnHeaderBeginTrack(column))
        return true; // the header never sees the press, so no resize starts
    if (type == QEvent::MouseButtonPress)
        trackingColumn = column;
    return false;
}

bool CListCtrl::ViewportEvent(QEvent* event) {
    QTableWidget* t = Table();
    switch (event->type()) {
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const CPoint point = FromQPoint(mouse->position().toPoint());
        int column = -1;
        const int row = HitTest(point, &column);
        unsigned keys = 0;
        if (mouse->modifiers() & Qt::AltModifier)
            keys |= LVKF_ALT;
        if (mouse->modifiers() & Qt::ControlModifier)
            keys |= LVKF_CONTROL;
        if (mouse->modifiers() & Qt::ShiftModifier)
            keys |= LVKF_SHIFT;
        NMITEMACTIVATE activate{MakeHeader(NM_DBLCLK), row, column, 0, 0, 0, point, GetItemData(row), keys};
        SendNotify(activate.hdr);
        return true; // the press before it already selected; a double-click does no more here
    }
    case QEvent::ContextMenu: {
        auto* request = static_cast<QContextMenuEvent*>(event);
        return OnContextMenu(request->reason() == QContextMenuEvent::Keyboard ? CPoint{-1, -1}
                                                                              : FromQPoint(request->globalPos()));
    }
    case QEvent::ToolTip: {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex cell = t->indexAt(help->pos());
        // A row's own tip, or the empty area's, wins over the tip of a cut-off text.
        const std::u16string own = cell.isValid() ? GetItemToolTip(cell.row()) : emptyAreaTip;
        if (!own.empty()) {
            const QRect area = cell.isValid() ? t->visualRect(cell) : QRect();
            QToolTip::showText(help->globalPos(), ToQString(own), t->viewport(), area);
            return true;
        }
        // A tip the owner gave the cell is its own to show.
        if (cell.isValid() && !cell.data(Qt::ToolTipRole).toString().isEmpty())
            return false;
        // Otherwise only a cut-off text shows, whole, as a tip.
        const QString text = cell.isValid() ? cell.data().toString() : QString();
        const QRect rect = cell.isValid() ? t->visualRect(cell) : QRect();
        if (TextCut(t, text, rect))
            QToolTip::showText(help->globalPos(), text, t->viewport(), rect);
        else
            QToolTip::hideText();
        return true;
    }
    case QEvent::Resize:
        OnSize();
        return false;
    default:
        return false;
    }
}
