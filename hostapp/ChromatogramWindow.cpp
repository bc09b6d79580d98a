#include "ChromatogramWindow.h"

#include "hostapp/ChromatogramPlot.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QTableWidget* PeakTable(const std::vector<AssayPeak>& peaks, QWidget* parent) {
    auto* table = new QTableWidget(int(peaks.size()), 6, parent);
    table->setHorizontalHeaderLabels({QStringLiteral("№"), QStringLiteral("Имя"), QStringLiteral("Время, с"),
                                      QStringLiteral("Площадь"), QStringLiteral("Высота"),
                                      QStringLiteral("Концентрация")});
    // A peak without a concentration (the file keeps 0) shows none rather than a measured 0.
    auto concentration = [](double v) { return v != 0.0 ? QString::number(v, 'g', 6) : QStringLiteral("—"); };
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    auto number = [](double v) { return QString::number(v, 'g', 6); };
    for (int r = 0; r < int(peaks.size()); ++r) {
        const AssayPeak& p = peaks[r];
        const QStringList cells{QString::number(r + 1), QString::fromStdU16String(p.name),
                                number(p.time),         number(p.area),
                                number(p.height),       concentration(p.concent)};
        for (int c = 0; c < cells.size(); ++c)
            table->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    table->horizontalHeader()->setStretchLastSection(true);
    table->resizeColumnsToContents();
    return table;
}

} // namespace

ChromatogramWindow::ChromatogramWindow(const AssayPassport& passport, const std::list<AssayChannel>& channels,
                                       QWidget* owner)
    : QWidget(owner, Qt::Window) {
    setAttribute(Qt::WA_DeleteOnClose);
    setProperty("veltraHostWindow", true);
    const QString fileName = QFileInfo(QString::fromStdU16String(passport.filePath)).fileName();
    const QString sample = QString::fromStdU16String(passport.sample);
    setWindowTitle(QStringLiteral("Хроматограмма: %1 — %2").arg(sample, fileName));
    resize(900, 640);
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    auto* header = new QLabel(QStringLiteral("Проба: %1    Смесь: %2    Файл: %3")
                                  .arg(sample, QString::fromStdU16String(passport.mixture),
                                       QString::fromStdU16String(passport.filePath)),
                              this);
    header->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(header);

    channelTabs = new QTabWidget(this);
    layout->addWidget(channelTabs);
    for (const AssayChannel& channel : channels) {
        auto* splitter = new QSplitter(Qt::Vertical, channelTabs);
        splitter->addWidget(new ChromatogramPlot(channel, splitter));
        splitter->addWidget(PeakTable(channel.peaks, splitter));
        splitter->setStretchFactor(0, 3);
        splitter->setStretchFactor(1, 2);
        channelTabs->addTab(splitter, QStringLiteral("Канал %1").arg(channel.number));
    }
    if (channels.empty())
        layout->addWidget(new QLabel(QStringLiteral("В файле нет каналов."), this));
}
