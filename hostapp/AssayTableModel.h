// The host database's assay table as the host's windows show it: one model that the catalogue of the
// main window and the chromatogram picker both look at, so a reread shows in both.
#pragma once

#include "hostcore/AssayCatalog.h"

#include <QStandardItemModel>

class QSortFilterProxyModel;
class QTableView;

class AssayTableModel : public QStandardItemModel {
    Q_OBJECT
public:
    enum Column { kId, kSample, kDate, kMixture, kCalibration, kFile, kColumnCount };
    static constexpr int kSortRole = Qt::UserRole; // ids and dates as numbers, texts in small letters
    static constexpr int kIdRole = Qt::UserRole + 1;

    explicit AssayTableModel(QObject* parent = nullptr);

    // Rereads the rows of the database (see ReadAssayList). False with Error() set when it cannot be
    // read: the model is then empty, not left with the rows of another database.
    bool Reload(const QString& databasePath);
    // No database: no rows and no error.
    void Clear();
    const QString& Error() const { return error; }

    // The assay of a row of this model.
    uint32_t IdAt(int row) const;
    QString FileAt(int row) const;

private:
    void SetRows(const std::vector<AssayListRow>& rows);

    QString error;
};

// Shows the assays in view through proxy as both the catalogue and the picker show them: whole rows,
// sortable by the sort role, by id at first, the last column taking the width that is left.
void ShowAssayTable(AssayTableModel& assays, QSortFilterProxyModel& proxy, QTableView& view);
