#include "calc/Calibration.h"

#include "platform/text/CaseMapping.h"

const AssayPeak* FindCalibrationPeak(const std::vector<AssayPeak>& peaks) {
    const AssayPeak* counted = nullptr;
    for (const AssayPeak& peak : peaks)
        if (peak.concent > 0 && EqualsNoCase(peak.name, u"метан"))
            counted = &peak;
    return counted;
}

void CalibrationFactors::Add(double factor) {
    n = n + 1;
    min = factor < min ? factor : min;
    max = factor > max ? factor : max;
    // An infinite factor adds nothing to the harmonic mean.
    sumInv = sumInv + 1.0 / factor;
}

double CalibrationFactors::Factor() const {
    return sumInv == 0.0 ? 0.0 : n / sumInv;
}

double CalibrationFactors::SpreadPercent() const {
    return ((max - min) / Factor()) * 100;
}
