// One channel of an assay drawn as a signal over time (assay/ChannelSignal.h says how its numbers
// are read), each peak marked at its time and named.
#pragma once

#include "assay/VeltraFile4.h"

#include <QWidget>

#include <vector>

class ChromatogramPlot : public QWidget {
    Q_OBJECT
public:
    // Copies what it draws from the channel (the samples under the channel's lock).
    ChromatogramPlot(const AssayChannel& channel, QWidget* parent);

    QSize sizeHint() const override { return {720, 300}; }
    QSize minimumSizeHint() const override { return {240, 120}; }

    // The data range drawn: time in seconds and signal, padded so the peak names fit.
    double MinTime() const { return 0; }
    double MaxTime() const;
    double MinSignal() const { return minSignal; }
    double MaxSignal() const { return maxSignal; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<double> signal; // signal units, one per sample
    double timeStep;            // seconds per sample
    std::vector<AssayPeak> peaks;
    double minSignal = 0;
    double maxSignal = 1;
};
