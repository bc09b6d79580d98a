// Internal to the framework: the widget of a report-view list, drawn cell by cell through its
// CListCtrl's colours.
#pragma once

#include "platform/ui/WidgetHook.h"

#include <QTableWidget>

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
