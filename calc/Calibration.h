// The methane calibration factor: each calibration run's factor Ki from its methane peak, the harmonic
// mean Kcal of several runs and their spread. The engine and the calibration history both compute them here.
#pragma once

#include "assay/VeltraFile4.h"

#include <cstdint>
#include <limits>
#include <vector>

inline constexpr double kConvergenceLimitPercent = 15.0;

// The peak that gives a calibration run its factor: the last peak named "метан" (case-insensitive,
// the whole name) whose concent is above 0; null when there is none.
const AssayPeak* FindCalibrationPeak(const std::vector<AssayPeak>& peaks);

// Ki = concent / area of the calibration peak; an area of 0 gives an infinite factor.
inline double MethaneFactor(const AssayPeak& peak) {
    return peak.concent / peak.area;
}

// The factors of several runs, gathered in order.
struct CalibrationFactors {
    int32_t n = 0;
    double sumInv = 0.0; // the sum of 1 / Ki
    double min = std::numeric_limits<double>::max();
    double max = -std::numeric_limits<double>::max();

    void Add(double factor);
    // Kcal = n / sumInv, the harmonic mean; 0 when sumInv is 0 (every factor infinite, or none).
    double Factor() const;
    // (max − min) / Kcal × 100; only meaningful when sumInv is not 0.
    double SpreadPercent() const;
};

// The convergence verdict of a spread: at most 15 %.
inline bool Converges(double spreadPercent) {
    return spreadPercent <= kConvergenceLimitPercent;
}
