// Internal to the framework: the widget of a report-view list, drawn cell by cell through its
// CListCtrl's colours, with a focus mark on the focused row.
#pragma once

#include "platform/ui/WidgetHook.h"

#include <QTableWidget>

#include <functional>
#include <string>

inline constexpr int kItemDataRole = Qt::UserRole + 1; // a row's item value, on its first cell
inline constexpr int kFormatRole = Qt::UserRole + 2;   // a column's header format
inline constexpr int kToolTipRole = Qt::UserRole + 3;  // a row's own tip, on its first cell

class ListViewWidget : public Hooked<QTableWidget> {
public:
    explicit ListViewWidget(QWidget* parent);
    // Applies the list and extended styles kept on the hook.
    void ApplyStyles();
    // Shows the header's sort mark as the columns' formats say.
    void SyncSortIndicator();
    int quiet = 0; // >0 while rows are inserted, deleted or sorted: no item-changed notifications

protected:
    void changeEvent(QEvent* event) override;
    // The cells, then, while the list holds the focus, the focus mark around the whole focused row.
    void paintEvent(QPaintEvent* event) override;
    // The mark spans the row: these repaint the whole viewport, not only the cells they touch.
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
};

// Keeps a list quiet while it lives.
class QuietList {
public:
    explicit QuietList(QTableWidget* table);
    ~QuietList();
    QuietList(const QuietList&) = delete;
    QuietList& operator=(const QuietList&) = delete;

private:
    ListViewWidget* list;
};

Qt::Alignment ColumnAlignment(int format);

// Whether a text drawn in `rect` of an item view loses part of itself: wider than the rectangle less
// the margins the style keeps on each side of an item's text.
bool TextCut(const QWidget* view, const QString& text, const QRect& rect);

// A list's Ctrl+C: true, and the event eaten, for its key press, which puts copyText() on the clipboard
// in place of the view's own copy of the current cell, and for the shortcut check before it, which the
// list claims so that no shortcut of the windows around the list takes the keys; false for other events.
bool CopyOnCtrlC(QEvent* event, const std::function<std::u16string()>& copyText);
