#include "ListViewWidget.h"

#include "Clipboard.h"
#include "QtColors.h"
#include "ListCtrl.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStyledItemDelegate>

// Draws each cell with the colours its CListCtrl gives it.
class ListItemDelegate : public QStyledItemDelegate {
public:
    explicit ListItemDelegate(ListViewWidget* view) : QStyledItemDelegate(view), view(view) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        cell.state &= ~QStyle::State_HasFocus;
        if (!(view->windowStyle & LVS_SHOWSELALWAYS) && !view->hasFocus())
            cell.state &= ~QStyle::State_Selected;
        if (const QTableWidgetItem* heading = view->horizontalHeaderItem(index.column()))
            cell.displayAlignment = ColumnAlignment(heading->data(kFormatRole).toInt()) | Qt::AlignVCenter;
        if (const auto* list = dynamic_cast<const CListCtrl*>(CWnd::FromHandle(view))) {
            const CListCtrl::ItemColors colors = list->GetItemColors(index.row(), index.column());
            if (colors.back != CLR_DEFAULT) {
                cell.backgroundBrush = ToQColor(colors.back);
                cell.state &= ~QStyle::State_Selected; // the given colour is the whole look
            }
            if (colors.text != CLR_DEFAULT) {
                cell.palette.setColor(QPalette::Text, ToQColor(colors.text));
                cell.palette.setColor(QPalette::HighlightedText, ToQColor(colors.text));
            }
        }
        const QWidget* widget = cell.widget;
        (widget ? widget->style() : QApplication::style())
            ->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
    }

private:
    ListViewWidget* view;
};

Qt::Alignment ColumnAlignment(int format) {
    switch (format & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_LEFT:
        return Qt::AlignLeft;
    case LVCFMT_RIGHT:
        return Qt::AlignRight;
    default:
        return Qt::AlignHCenter;
    }
}

bool TextCut(const QWidget* view, const QString& text, const QRect& rect) {
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    return !text.isEmpty() && view->fontMetrics().horizontalAdvance(text) + 2 * margin > rect.width();
}

ListViewWidget::ListViewWidget(QWidget* parent) : Hooked<QTableWidget>(parent) {
    setItemDelegate(new ListItemDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* header = horizontalHeader();
    header->setMinimumSectionSize(0); // a column may be hidden at width 0
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSectionsClickable(true);
    ApplyStyles();
}

void ListViewWidget::ApplyStyles() {
    setSelectionMode(windowStyle & LVS_SINGLESEL ? QAbstractItemView::SingleSelection
                                                 : QAbstractItemView::ExtendedSelection);
    horizontalHeader()->setVisible(!(windowStyle & LVS_NOCOLUMNHEADER));
    setFrameShape(windowStyle & WS_BORDER ? QFrame::StyledPanel : QFrame::NoFrame);
    setShowGrid(extendedStyle & LVS_EX_GRIDLINES);
    horizontalHeader()->setSectionsMovable(extendedStyle & LVS_EX_HEADERDRAGDROP);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    viewport()->update();
}

void ListViewWidget::changeEvent(QEvent* event) {
    QTableWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
}

void ListViewWidget::paintEvent(QPaintEvent* event) {
    QTableWidget::paintEvent(event);
    const QModelIndex current = currentIndex();
    if (!hasFocus() || !current.isValid() || columnCount() == 0)
        return;
    QRect row;
    for (int column = 0; column < columnCount(); ++column)
        if (!isColumnHidden(column) && columnWidth(column) > 0)
            row |= visualRect(model()->index(current.row(), column));
    if (row.isEmpty())
        return;
    QPainter painter(viewport());
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = row.adjusted(0, 0, -1, -1);
    focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_HasFocus;
    focus.backgroundColor = palette().color(QPalette::Base);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
}

void ListViewWidget::focusInEvent(QFocusEvent* event) {
    QTableWidget::focusInEvent(event);
    viewport()->update();
}

void ListViewWidget::focusOutEvent(QFocusEvent* event) {
    QTableWidget::focusOutEvent(event);
    viewport()->update();
}

void ListViewWidget::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableWidget::currentChanged(current, previous);
    viewport()->update();
}

void ListViewWidget::SyncSortIndicator() {
    QHeaderView* header = horizontalHeader();
    for (int column = 0; column < columnCount(); ++column) {
        const QTableWidgetItem* heading = horizontalHeaderItem(column);
        const int format = heading ? heading->data(kFormatRole).toInt() : 0;
        if (format & (HDF_SORTUP | HDF_SORTDOWN)) {
            // Qt draws its "descending" indicator as the up mark.
            header->setSortIndicator(column, format & HDF_SORTUP ? Qt::DescendingOrder : Qt::AscendingOrder);
            header->setSortIndicatorShown(true);
            return;
        }
    }
    header->setSortIndicatorShown(false);
}

QuietList::QuietList(QTableWidget* table) : list(dynamic_cast<ListViewWidget*>(table)) {
    if (list)
        ++list->quiet;
}

QuietList::~QuietList() {
    if (list)
        --list->quiet;
}

bool CopyOnCtrlC(QEvent* event, const std::function<std::u16string()>& copyText) {
    if ((event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) ||
        !static_cast<const QKeyEvent*>(event)->matches(QKeySequence::Copy))
        return false;
    if (event->type() == QEvent::KeyPress)
        SetClipboardText(copyText());
    event->accept();
    return true;
}
