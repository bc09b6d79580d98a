// Данные → "Контроль градуировки…": the stability of the methane calibration of the open database.
// A filter by mixture and dates, the control chart, the table of calibrations (a flagged one coloured and
// named in words) and the runs of the chosen calibration, the newest at first; a click on a point chooses
// its calibration, a double click on a run opens its chromatogram.
#pragma once

#include "calc/CalibrationHistory.h"

#include <QWidget>

#include <vector>

class ControlChartPlot;
class QComboBox;
class QDateEdit;
class QLabel;
class QTableWidget;

class CalibrationControlWindow : public QWidget {
    Q_OBJECT
public:
    // A top-level window owned by `owner`, deleted when closed; reads the database's calibration runs
    // once (a database that cannot be read is said in the window).
    CalibrationControlWindow(const QString& databasePath, QWidget* owner);

    // The chart as the filter now makes it.
    const CalibrationHistory& History() const { return history; }
    // Chooses the calibration: its row, its point ringed, its runs listed (-1: none).
    void ChooseCalibration(int index);

    QComboBox* mixtureBox;
    QDateEdit* fromDate;
    QDateEdit* toDate;
    QLabel* summary;
    ControlChartPlot* chart;
    QTableWidget* calibrationTable;
    QLabel* runsTitle;
    QTableWidget* runTable;
    QLabel* skippedText;

signals:
    // The assay file of a run the user double-clicked.
    void chromatogramRequested(const QString& fileName);

private:
    void Rebuild();

    std::vector<HistoryRun> runs;
    CalibrationHistory history;
};
