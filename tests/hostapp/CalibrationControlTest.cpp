// The control-chart window on a database of calibrations: its table, filter, chart clicks and runs.
#include "hostapp/CalibrationControlWindow.h"
#include "hostapp/ControlChartPlot.h"
#include "hostapp/MainWindow.h"
#include "hostapp/VeltraHost.h"
#include "support/MessageBoxRecorder.h"
#include "tests/hostapp/HostTestSupport.h"

#include "assay/VeltraFile4.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr int64_t kMonday = 1793577600 + 8 * 3600; // 2026-11-02 08:00 UTC

QString WriteCalibration(const QTemporaryDir& folder, int id, double factor) {
    CVeltraFile4 file;
    AssayChannel& channel = file.channels.emplace_back();
    channel.samples.assign(100, 1000);
    AssayPeak& peak = channel.peaks.emplace_back();
    peak.name = u"метан";
    peak.concent = 50;
    peak.area = 50 / factor;
    const QString path = folder.filePath(QStringLiteral("cal%1.stg").arg(id));
    EXPECT_EQ(file.SaveToFile(path.toStdU16String()), 0);
    return path;
}

// Seven days of mixture "А", two runs a day, rising from the second day on (the last breaks the six-point
// rule); on the first day also one run of mixture "Б", far off (beyond a warning limit); a run whose
// file is gone; a sample that is no calibration.
QString MakeHistory(const QTemporaryDir& folder) {
    const double factors[] = {1.00, 0.99, 1.00, 1.01, 1.02, 1.03, 1.04};
    std::vector<AssayTableRow> rows;
    int id = 1;
    for (int d = 0; d < 7; ++d)
        for (int r = 0; r < 2; ++r, ++id)
            rows.push_back({id, WriteCalibration(folder, id, factors[d]), QStringLiteral("Градуировка"),
                            QStringLiteral("А"), kMonday + d * 86400 + r * 600, 1, 0, 0});
    rows.push_back({id, WriteCalibration(folder, id, 2.0), QStringLiteral("Градуировка"), QStringLiteral("Б"),
                    kMonday + 3000, 1, 0, 0});
    rows.push_back({++id, folder.filePath(QStringLiteral("gone.stg")), QStringLiteral("Градуировка"),
                    QStringLiteral("А"), kMonday + 3600, 1, 0, 0});
    rows.push_back({++id, WriteCalibration(folder, id, 1.0), QStringLiteral("Проба без патрона"), QString(),
                    kMonday, 0, 0, 0});
    const QString path = folder.filePath(QStringLiteral("history.db"));
    MakeAssayDatabase(path, rows);
    return path;
}

QStringList Column(const QTableWidget* table, int column) {
    QStringList cells;
    for (int r = 0; r < table->rowCount(); ++r)
        cells << table->item(r, column)->text();
    return cells;
}

} // namespace

TEST(CalibrationControl, TableFilterChartClickAndRunDoubleClick) {
    QTemporaryDir folder;
    CalibrationControlWindow window(MakeHistory(folder), nullptr);
    window.resize(1180, 800);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // The newest calibration is chosen at first.
    EXPECT_EQ(window.chart->Chosen(), 7);
    EXPECT_EQ(window.calibrationTable->currentRow(), 7);
    EXPECT_EQ(window.runTable->rowCount(), 2);

    // Flagged in colour and in words; a run without its file is named with the reason.
    EXPECT_EQ(Column(window.calibrationTable, 2), QStringList({"А", "Б", "А", "А", "А", "А", "А", "А"}));
    const QStringList verdicts = Column(window.calibrationTable, 7);
    EXPECT_EQ(verdicts[1], QStringLiteral("предупреждение"));
    EXPECT_EQ(verdicts[7], QStringLiteral("требуется действие: шесть точек подряд возрастают или убывают"));
    EXPECT_EQ(verdicts.count(QStringLiteral("в норме")), 6);
    const QBrush ok = window.calibrationTable->item(0, 0)->background(),
                 warning = window.calibrationTable->item(1, 0)->background(),
                 action = window.calibrationTable->item(7, 6)->background();
    EXPECT_TRUE(ok != warning && warning != action && action != ok);
    EXPECT_TRUE(window.skippedText->text().contains(QStringLiteral("файл не прочитан (ошибка -1)")));

    // The filter: one mixture, then a later first day.
    struct Case {
        int mixture;
        QDate from;
        int rows;
    };
    for (const Case& c : {Case{2, {2026, 11, 2}, 1}, Case{1, {2026, 11, 2}, 7}, Case{1, {2026, 11, 5}, 4},
                          Case{0, {2026, 11, 2}, 8}}) {
        window.mixtureBox->setCurrentIndex(c.mixture);
        window.fromDate->setDate(c.from);
        EXPECT_EQ(window.calibrationTable->rowCount(), c.rows) << c.mixture;
        EXPECT_EQ(int(window.History().calibrations.size()), c.rows);
    }
    window.mixtureBox->setCurrentIndex(2);
    EXPECT_TRUE(window.summary->text().contains(QString::fromStdU16String(kNoControlLimitsText)));
    window.mixtureBox->setCurrentIndex(0);

    // A click on a point chooses its calibration and lists its runs; a double click on a run asks for its file.
    const QPoint point = window.chart->PointPosition(3).toPoint();
    EXPECT_EQ(window.chart->PointAt(point + QPoint(30, 0)), -1);
    QTest::mouseClick(window.chart, Qt::LeftButton, {}, point);
    EXPECT_EQ(window.chart->Chosen(), 3);
    EXPECT_EQ(window.calibrationTable->currentRow(), 3);
    EXPECT_EQ(Column(window.runTable, 0), QStringList({"5", "6"}));
    EXPECT_TRUE(window.runsTitle->text().startsWith(QStringLiteral("Градуировка №4 от 04.11.2026")));

    window.calibrationTable->setCurrentCell(0, 0);
    EXPECT_EQ(window.chart->Chosen(), 0);
    EXPECT_EQ(Column(window.runTable, 0), QStringList({"1", "2"}));

    QSignalSpy asked(&window, &CalibrationControlWindow::chromatogramRequested);
    const QRect cell = window.runTable->visualItemRect(window.runTable->item(1, 0));
    QTest::mouseClick(window.runTable->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(window.runTable->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0][0].toString(), folder.filePath(QStringLiteral("cal2.stg")));
}

TEST(CalibrationControl, OpensFromTheDataMenuOnTheOpenDatabase) {
    QTemporaryDir folder;
    MessageBoxRecorder boxes;
    HostOptions options = OptionsIn(folder);
    options.databasePath = MakeHistory(folder);
    VeltraHost host(options);
    QAction* item = host.Window().FindMenuItem(QStringLiteral("Данные/Контроль градуировки…"));
    ASSERT_NE(item, nullptr);
    ASSERT_TRUE(item->isEnabled());
    item->trigger();
    auto* window = host.Window().findChild<CalibrationControlWindow*>();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Контроль градуировки — history.db"));
    EXPECT_EQ(window->calibrationTable->rowCount(), 8);
    window->close();
}
