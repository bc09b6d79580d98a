// The calibration factor's control chart, drawn like the chromatogram: the calibrations' Kcal in date
// order, the centre line and the warning and action limits; a flagged calibration is drawn in its own
// colour and shape and numbered, and the chosen one is ringed.
#pragma once

#include "calc/CalibrationHistory.h"

#include <QWidget>

class ControlChartPlot : public QWidget {
    Q_OBJECT
public:
    explicit ControlChartPlot(QWidget* parent);

    QSize sizeHint() const override { return {760, 300}; }
    QSize minimumSizeHint() const override { return {320, 160}; }

    // Draws the history, which must outlive the plot or be replaced first; nothing is chosen.
    void SetHistory(const CalibrationHistory* history);
    // Rings the calibration (-1: none).
    void SetChosen(int index);
    int Chosen() const { return chosen; }

    // The calibration whose point is drawn within a few pixels of `position`, else -1.
    int PointAt(QPointF position) const;
    // Where the calibration's point is drawn.
    QPointF PointPosition(int index) const;

signals:
    void pointClicked(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRectF PlotArea() const;
    double Y(double value) const;

    const CalibrationHistory* history = nullptr;
    int chosen = -1;
    double low = 0, high = 1; // the factor range drawn
};
