// The main window's page: the catalogue of the host database's assays (a filter box over a sortable
// list), or, when there is no list to show, a notice saying why with the ways on.
#pragma once

#include <QStackedWidget>

class AssayTableModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

class CatalogPage : public QStackedWidget {
    Q_OBJECT
public:
    CatalogPage(AssayTableModel& assays, QWidget* parent);

    // The list of the model's rows.
    void ShowList();
    // The notice instead of the list; "Создать демонстрационную базу" is offered when `offerDemo`.
    void ShowNotice(const QString& text, bool offerDemo);
    bool ShowsList() const;
    // Rows the filter lets through.
    int ShownRows() const;

    QLineEdit* filterEdit;
    QTableView* view;
    QLabel* notice;
    QPushButton* openButton;
    QPushButton* demoButton;

signals:
    void openRequested();
    void demoRequested();
    // A row was double-clicked (or Enter pressed on it); the row is the model's.
    void assayActivated(int modelRow);
    void shownRowsChanged();

private:
    AssayTableModel& assays;
    QSortFilterProxyModel* proxy;
    QWidget* listPage;
    QWidget* noticePage;
};
