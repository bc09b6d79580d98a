#include "CalibrationControlWindow.h"

#include "assay/Database.h"
#include "hostapp/ControlChartPlot.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <set>

namespace {

constexpr char16_t kDayFormat[] = u"yyyy-MM-dd";

const QColor kWarningRow(0xff, 0xf0, 0xc0);
const QColor kActionRow(0xf8, 0xcc, 0xcc);

QString Number(double v) {
    return QString::number(v, 'g', 6);
}

QTableWidget* Table(const QStringList& headers, QWidget* parent) {
    auto* table = new QTableWidget(0, int(headers.size()), parent);
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void SetRow(QTableWidget* table, int row, const QStringList& cells, const QColor& background = {}) {
    for (int c = 0; c < cells.size(); ++c) {
        auto* item = new QTableWidgetItem(cells[c]);
        if (background.isValid())
            item->setBackground(background);
        table->setItem(row, c, item);
    }
}

} // namespace

CalibrationControlWindow::CalibrationControlWindow(const QString& databasePath, QWidget* owner)
    : QWidget(owner, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose);
    setProperty("veltraHostWindow", true);
    setWindowTitle(QStringLiteral("Контроль градуировки — %1").arg(QFileInfo(databasePath).fileName()));
    resize(1180, 800);

    auto* layout = new QVBoxLayout(this);
    auto* filter = new QHBoxLayout;
    filter->addWidget(new QLabel(QStringLiteral("Смесь:"), this));
    mixtureBox = new QComboBox(this);
    mixtureBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    filter->addWidget(mixtureBox);
    filter->addSpacing(16);
    filter->addWidget(new QLabel(QStringLiteral("Даты с"), this));
    fromDate = new QDateEdit(this);
    filter->addWidget(fromDate);
    filter->addWidget(new QLabel(QStringLiteral("по"), this));
    toDate = new QDateEdit(this);
    filter->addWidget(toDate);
    filter->addStretch(1);
    layout->addLayout(filter);
    for (QDateEdit* date : {fromDate, toDate}) {
        date->setCalendarPopup(true);
        date->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    }

    summary = new QLabel(this);
    summary->setWordWrap(true);
    summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(summary);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    chart = new ControlChartPlot(splitter);
    splitter->addWidget(chart);
    auto* tables = new QSplitter(Qt::Horizontal, splitter);
    calibrationTable = Table({QStringLiteral("№"), QStringLiteral("Дата"), QStringLiteral("Смесь"),
                              QStringLiteral("n"), QStringLiteral("Kcal"), QStringLiteral("Разброс, %"),
                              QStringLiteral("Сходимость"), QStringLiteral("Оценка")},
                             tables);
    tables->addWidget(calibrationTable);
    auto* runsPane = new QWidget(tables);
    auto* runsLayout = new QVBoxLayout(runsPane);
    runsLayout->setContentsMargins(0, 0, 0, 0);
    runsTitle = new QLabel(runsPane);
    runsTitle->setWordWrap(true);
    runsLayout->addWidget(runsTitle);
    runTable = Table({QStringLiteral("№"), QStringLiteral("Дата анализа"), QStringLiteral("Ki"),
                      QStringLiteral("Файл")},
                     runsPane);
    runsLayout->addWidget(runTable);
    tables->addWidget(runsPane);
    tables->setStretchFactor(0, 5);
    tables->setStretchFactor(1, 2);
    splitter->addWidget(tables);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
    layout->addWidget(splitter, 1);
    skippedText = new QLabel(this);
    skippedText->setWordWrap(true);
    skippedText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(skippedText);

    try {
        DatabaseGuard db(OpenDatabase(databasePath.toStdU16String()));
        runs = ReadHistoryRuns(db.get());
    } catch (const DataBase::SqlException& e) {
        summary->setText(QStringLiteral("Базу данных %1 не удалось прочитать: %2. Карта не построена.")
                             .arg(databasePath, QString::fromUtf8(e.what())));
    }
    std::set<std::u16string> mixtures;
    QDate first, last;
    for (const HistoryRun& run : runs) {
        mixtures.insert(run.mixture);
        const QDate day = QDate::fromString(QString::fromStdU16String(run.day), kDayFormat);
        if (day.isValid()) {
            first = first.isValid() ? std::min(first, day) : day;
            last = last.isValid() ? std::max(last, day) : day;
        }
    }
    mixtureBox->addItem(QStringLiteral("все смеси"));
    for (const std::u16string& mixture : mixtures)
        mixtureBox->addItem(mixture.empty() ? QStringLiteral("(без смеси)") : QString::fromStdU16String(mixture),
                            QString::fromStdU16String(mixture));
    if (first.isValid()) {
        for (QDateEdit* date : {fromDate, toDate})
            date->setDateRange(first, last);
        fromDate->setDate(first);
        toDate->setDate(last);
    }

    connect(mixtureBox, &QComboBox::currentIndexChanged, this, &CalibrationControlWindow::Rebuild);
    connect(fromDate, &QDateEdit::dateChanged, this, &CalibrationControlWindow::Rebuild);
    connect(toDate, &QDateEdit::dateChanged, this, &CalibrationControlWindow::Rebuild);
    connect(chart, &ControlChartPlot::pointClicked, this, &CalibrationControlWindow::ChooseCalibration);
    connect(calibrationTable, &QTableWidget::currentCellChanged, this,
            [this](int row) { ChooseCalibration(row); });
    connect(runTable, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        if (QTableWidgetItem* file = runTable->item(row, 3))
            emit chromatogramRequested(file->data(Qt::UserRole).toString());
    });
    if (summary->text().isEmpty())
        Rebuild();
}

void CalibrationControlWindow::Rebuild() {
    HistoryFilter filter;
    if (fromDate->date() != fromDate->minimumDate())
        filter.from = fromDate->date().toString(kDayFormat).toStdU16String();
    if (toDate->date() != toDate->maximumDate())
        filter.to = toDate->date().toString(kDayFormat).toStdU16String();
    if (mixtureBox->currentIndex() > 0)
        filter.mixture = mixtureBox->currentData().toString().toStdU16String();
    history = MakeCalibrationHistory(runs, filter);
    chart->SetHistory(&history);

    QString text = QStringLiteral("Градуировок: %1, в опорном периоде: %2. ")
                       .arg(history.calibrations.size())
                       .arg(history.reference);
    if (const auto& l = history.limits)
        text += QStringLiteral("Центр %1, s = %2; границы предупреждения %3 … %4, границы действия %5 … %6.")
                    .arg(Number(l->centre), Number(l->sd), Number(l->warningLow), Number(l->warningHigh),
                         Number(l->actionLow), Number(l->actionHigh));
    else
        text += QString::fromStdU16String(kNoControlLimitsText);
    summary->setText(text);

    calibrationTable->clearContents();
    calibrationTable->setRowCount(int(history.calibrations.size()));
    for (int i = 0; i < int(history.calibrations.size()); ++i) {
        const CalibrationPoint& p = history.calibrations[i];
        const QColor background = p.verdict == ControlVerdict::Action    ? kActionRow
                                  : p.verdict == ControlVerdict::Warning ? kWarningRow
                                                                         : QColor();
        SetRow(calibrationTable, i,
               {QString::number(i + 1), QString::fromStdU16String(DayText(p.day)), QString::fromStdU16String(p.mixture),
                QString::number(p.runs.size()), Number(p.factor), QString::number(p.spreadPercent, 'f', 2),
                p.converged ? QStringLiteral("есть") : QStringLiteral("НЕТ"), QString::fromStdU16String(VerdictLine(p))},
               background);
        calibrationTable->item(i, 7)->setToolTip(QString::fromStdU16String(VerdictLine(p)));
    }
    calibrationTable->resizeColumnsToContents();

    QString skipped;
    for (const HistoryRun& run : history.skipped)
        skipped += QStringLiteral("\n%1 (%2): %3")
                       .arg(QFileInfo(QString::fromStdU16String(run.fileName)).fileName())
                       .arg(run.id)
                       .arg(QString::fromStdU16String(run.reason));
    skippedText->setText(skipped.isEmpty() ? QString()
                                           : QStringLiteral("Не вошли в расчёт: %1").arg(history.skipped.size()) +
                                                 skipped);
    skippedText->setVisible(!skipped.isEmpty());
    // The newest calibration is the one a lab looks at first.
    ChooseCalibration(int(history.calibrations.size()) - 1);
}

void CalibrationControlWindow::ChooseCalibration(int index) {
    if (index < 0 || index >= int(history.calibrations.size()))
        index = -1;
    // Moving the table's current row comes back here through currentCellChanged, which then lists the runs.
    if (calibrationTable->currentRow() != index) {
        calibrationTable->setCurrentCell(index, 0);
        if (calibrationTable->currentRow() == index)
            return;
    }
    chart->SetChosen(index);
    runTable->clearContents();
    if (index < 0) {
        runTable->setRowCount(0);
        runsTitle->setText(QStringLiteral("Выберите точку на карте или строку таблицы, чтобы увидеть её "
                                          "хроматограммы."));
        return;
    }
    const CalibrationPoint& point = history.calibrations[index];
    runsTitle->setText(QStringLiteral("Градуировка №%1 от %2: хроматограмм %3. Двойной щелчок открывает "
                                      "хроматограмму.")
                           .arg(index + 1)
                           .arg(QString::fromStdU16String(DayText(point.day)))
                           .arg(point.runs.size()));
    runTable->setRowCount(int(point.runs.size()));
    for (int r = 0; r < int(point.runs.size()); ++r) {
        const HistoryRun& run = point.runs[r];
        const QString file = QString::fromStdU16String(run.fileName);
        SetRow(runTable, r,
               {QString::number(run.id),
                QDateTime::fromSecsSinceEpoch(run.analysisTime).toString(QStringLiteral("dd.MM.yyyy HH:mm")),
                Number(run.factor), QFileInfo(file).fileName()});
        runTable->item(r, 3)->setData(Qt::UserRole, file);
        runTable->item(r, 3)->setToolTip(file);
    }
    runTable->resizeColumnsToContents();
}
