#include "AssayTableModel.h"

#include <QDateTime>
#include <QHeaderView>
#include <QLocale>
#include <QSortFilterProxyModel>
#include <QTableView>

namespace {

QStandardItem* Cell(const QString& text, const QVariant& sortKey) {
    auto* item = new QStandardItem(text);
    item->setData(sortKey, AssayTableModel::kSortRole);
    item->setEditable(false);
    return item;
}

QString LocalDateTime(int64_t seconds) {
    return QLocale().toString(QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC).toLocalTime(),
                              QLocale::ShortFormat);
}

} // namespace

AssayTableModel::AssayTableModel(QObject* parent) : QStandardItemModel(0, kColumnCount, parent) {
    setHorizontalHeaderLabels({QStringLiteral("№"), QStringLiteral("Проба"), QStringLiteral("Дата анализа"),
                               QStringLiteral("Смесь"), QStringLiteral("Градуировка"),
                               QStringLiteral("Файл")});
}

bool AssayTableModel::Reload(const QString& databasePath) {
    std::vector<AssayListRow> rows;
    std::u16string why;
    const bool read = ReadAssayList(databasePath.toStdU16String(), rows, why);
    error = QString::fromStdU16String(why);
    SetRows(rows);
    return read;
}

void AssayTableModel::Clear() {
    error.clear();
    SetRows({});
}

uint32_t AssayTableModel::IdAt(int row) const {
    return static_cast<uint32_t>(index(row, kId).data(kIdRole).toULongLong());
}

QString AssayTableModel::FileAt(int row) const {
    return index(row, kFile).data().toString();
}

void AssayTableModel::SetRows(const std::vector<AssayListRow>& rows) {
    removeRows(0, rowCount());
    for (const AssayListRow& r : rows) {
        const QString sample = QString::fromStdU16String(r.sample), mixture = QString::fromStdU16String(r.mixture),
                      fileName = QString::fromStdU16String(r.fileName);
        QList<QStandardItem*> cells{
            Cell(QString::number(r.id), qulonglong(r.id)),
            Cell(sample, sample.toLower()),
            Cell(LocalDateTime(r.date), qlonglong(r.date)),
            Cell(mixture, mixture.toLower()),
            Cell(r.isCalibration ? QStringLiteral("да") : QStringLiteral("нет"), int(r.isCalibration)),
            Cell(fileName, fileName.toLower()),
        };
        cells[kId]->setData(qulonglong(r.id), kIdRole);
        appendRow(cells);
    }
}

void ShowAssayTable(AssayTableModel& assays, QSortFilterProxyModel& proxy, QTableView& view) {
    proxy.setSourceModel(&assays);
    proxy.setSortRole(AssayTableModel::kSortRole);
    view.setModel(&proxy);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setSortingEnabled(true);
    view.sortByColumn(AssayTableModel::kId, Qt::AscendingOrder);
    view.verticalHeader()->hide();
    view.horizontalHeader()->setStretchLastSection(true);
}
