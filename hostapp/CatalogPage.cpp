#include "CatalogPage.h"

#include "hostapp/AssayTableModel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// Lets through the rows whose sample or mixture holds the text, whatever the case of its letters
// (Qt's case folding covers Cyrillic as well as Latin).
class SampleMixtureFilter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void SetText(const QString& text) {
        needle = text.trimmed();
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        if (needle.isEmpty())
            return true;
        for (int column : {AssayTableModel::kSample, AssayTableModel::kMixture})
            if (sourceModel()
                    ->index(row, column, parent)
                    .data()
                    .toString()
                    .contains(needle, Qt::CaseInsensitive))
                return true;
        return false;
    }

private:
    QString needle;
};

} // namespace

CatalogPage::CatalogPage(AssayTableModel& assayModel, QWidget* parent)
    : QStackedWidget(parent), assays(assayModel) {
    auto* filter = new SampleMixtureFilter(this);
    proxy = filter;

    listPage = new QWidget(this);
    filterEdit = new QLineEdit(listPage);
    filterEdit->setPlaceholderText(QStringLiteral("Фильтр: проба, смесь"));
    filterEdit->setClearButtonEnabled(true);
    view = new QTableView(listPage);
    ShowAssayTable(assays, *proxy, *view);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* listLayout = new QVBoxLayout(listPage);
    listLayout->addWidget(filterEdit);
    listLayout->addWidget(view);

    noticePage = new QWidget(this);
    notice = new QLabel(noticePage);
    notice->setWordWrap(true);
    notice->setAlignment(Qt::AlignCenter);
    notice->setTextInteractionFlags(Qt::TextSelectableByMouse);
    openButton = new QPushButton(QStringLiteral("Открыть базу данных…"), noticePage);
    demoButton = new QPushButton(QStringLiteral("Создать демонстрационную базу"), noticePage);
    // Outside a dialog a button takes Enter only when told to.
    openButton->setAutoDefault(true);
    demoButton->setAutoDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(openButton);
    buttons->addWidget(demoButton);
    buttons->addStretch();
    auto* noticeLayout = new QVBoxLayout(noticePage);
    noticeLayout->addStretch();
    noticeLayout->addWidget(notice);
    noticeLayout->addLayout(buttons);
    noticeLayout->addStretch();

    addWidget(listPage);
    addWidget(noticePage);

    connect(filterEdit, &QLineEdit::textChanged, this,
            [filter](const QString& text) { filter->SetText(text); });
    connect(openButton, &QPushButton::clicked, this, &CatalogPage::openRequested);
    connect(demoButton, &QPushButton::clicked, this, &CatalogPage::demoRequested);
    connect(view, &QTableView::activated, this,
            [this](const QModelIndex& index) { emit assayActivated(proxy->mapToSource(index).row()); });
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(proxy, signal, this, &CatalogPage::shownRowsChanged);
    connect(proxy, &QAbstractItemModel::modelReset, this, &CatalogPage::shownRowsChanged);
    connect(proxy, &QAbstractItemModel::layoutChanged, this, &CatalogPage::shownRowsChanged);
}

void CatalogPage::ShowList() {
    view->resizeColumnsToContents();
    setCurrentWidget(listPage);
}

void CatalogPage::ShowNotice(const QString& text, bool offerDemo) {
    notice->setText(text);
    demoButton->setVisible(offerDemo);
    setCurrentWidget(noticePage);
}

bool CatalogPage::ShowsList() const {
    return currentWidget() == listPage;
}

int CatalogPage::ShownRows() const {
    return proxy->rowCount();
}
