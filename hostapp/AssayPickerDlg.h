// The chromatogram picker behind "Main/OpenAssayIdDlg": the host database's assays in a sortable list
// with a filter box; several rows may be chosen, up to the capacity the caller gave. More than that
// cannot be confirmed, and the count under the list says so while the user selects.
#pragma once

#include "hostapp/AssayTableModel.h"

#include <QDialog>

#include <vector>

class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QSortFilterProxyModel;
class QTableView;

class AssayPickerDlg : public QDialog {
    Q_OBJECT
public:
    // Offers the rows of the host's assay model (the one the catalogue shows) through a proxy of its own.
    AssayPickerDlg(AssayTableModel& assays, uint32_t capacity, QWidget* parent);

    // Ids of the selected rows in the list's current order; nothing when more rows than the capacity are
    // selected: the picker passes on all the rows chosen or none, never the first few.
    std::vector<uint32_t> SelectedIds() const;
    // The number of selected rows, and whether the capacity allows passing them on.
    qsizetype SelectedCount() const;
    bool WithinCapacity() const;
    // Selects exactly the rows with these ids (clearing the filter first); returns the ids not offered.
    std::vector<uint32_t> SelectIds(const std::vector<uint32_t>& ids);

    QLineEdit* filterEdit;
    QTableView* view;
    QLabel* countLabel;
    QDialogButtonBox* buttons;

private:
    void UpdateCount();

    uint32_t capacity;
    AssayTableModel* model;
    QSortFilterProxyModel* proxy;
};
