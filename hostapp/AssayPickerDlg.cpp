#include "AssayPickerDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kId = AssayTableModel::kId;
constexpr int kIdRole = AssayTableModel::kIdRole;

} // namespace

AssayPickerDlg::AssayPickerDlg(AssayTableModel& assays, uint32_t capacity, QWidget* parent)
    : QDialog(parent), capacity(capacity), model(&assays) {
    setWindowTitle(QStringLiteral("Выбор хроматограмм"));
    setProperty("veltraHostWindow", true);
    resize(820, 480);

    proxy = new QSortFilterProxyModel(this);
    proxy->setFilterKeyColumn(-1);
    proxy->setFilterCaseSensitivity(Qt::CaseInsensitive);

    filterEdit = new QLineEdit(this);
    filterEdit->setPlaceholderText(QStringLiteral("Фильтр: проба, смесь, дата, файл"));
    filterEdit->setClearButtonEnabled(true);

    view = new QTableView(this);
    ShowAssayTable(assays, *proxy, *view);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->resizeColumnsToContents();

    countLabel = new QLabel(this);
    buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(filterEdit);
    layout->addWidget(view);
    layout->addWidget(countLabel);
    layout->addWidget(buttons);

    connect(filterEdit, &QLineEdit::textChanged, proxy, &QSortFilterProxyModel::setFilterFixedString);
    connect(filterEdit, &QLineEdit::textChanged, this, &AssayPickerDlg::UpdateCount);
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &AssayPickerDlg::UpdateCount);
    connect(view, &QTableView::doubleClicked, this, [this] {
        if (buttons->button(QDialogButtonBox::Ok)->isEnabled())
            accept();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    UpdateCount();
}

std::vector<uint32_t> AssayPickerDlg::SelectedIds() const {
    QModelIndexList selected = view->selectionModel()->selectedRows(kId);
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    std::vector<uint32_t> ids;
    if (!WithinCapacity())
        return ids;
    for (const QModelIndex& index : selected)
        ids.push_back(static_cast<uint32_t>(index.data(kIdRole).toULongLong()));
    return ids;
}

qsizetype AssayPickerDlg::SelectedCount() const {
    return view->selectionModel()->selectedRows().size();
}

bool AssayPickerDlg::WithinCapacity() const {
    return SelectedCount() <= qsizetype(capacity);
}

std::vector<uint32_t> AssayPickerDlg::SelectIds(const std::vector<uint32_t>& ids) {
    filterEdit->clear();
    QItemSelection selection;
    std::vector<uint32_t> missing;
    for (uint32_t id : ids) {
        const QModelIndexList found =
            proxy->match(proxy->index(0, kId), kIdRole, qulonglong(id), 1, Qt::MatchExactly);
        if (found.isEmpty())
            missing.push_back(id);
        else
            selection.select(found.first(), found.first());
    }
    view->selectionModel()->select(selection,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return missing;
}

void AssayPickerDlg::UpdateCount() {
    const qsizetype chosen = SelectedCount();
    QString text;
    if (model->rowCount() == 0)
        text = QStringLiteral("В базе данных нет хроматограмм.");
    else if (chosen > qsizetype(capacity))
        text = QStringLiteral("Выбрано: %1 — можно выбрать не более %2.").arg(chosen).arg(capacity);
    else
        text = QStringLiteral("Выбрано: %1 из %2.").arg(chosen).arg(proxy->rowCount());
    countLabel->setText(text);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(chosen > 0 && WithinCapacity());
}
