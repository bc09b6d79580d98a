// What a channel block's numbers mean when the host draws the chromatogram. The assay file keeps
// them as they are; the host reads them this way, and whatever writes assay files for the host (the
// demo data generator) writes them this way:
//   - a sample word is a signed 32-bit reading (two's complement);
//   - signalParamA is the time step: seconds from one sample to the next; sample i is taken at
//     i * signalParamA seconds after the start of the run;
//   - signalParamB is the signal scale: signal units (mV) per unit of a sample word, so the signal of
//     a word w is w * signalParamB;
//   - a peak's `time`, `front` and `back` are seconds after the start of the run, on the samples'
//     time axis; its `height` is in signal units.
// A value that cannot be a step or a scale (zero, negative for the step, not finite) is read as 1,
// so such a channel is drawn over sample numbers or in raw words rather than not at all.
#pragma once

#include "assay/VeltraFile4.h"

#include <cmath>
#include <cstdint>

// The time step of the channel in seconds (1 when signalParamA is no usable step).
inline double ChannelTimeStep(const AssayChannel& channel) {
    const double a = channel.signalParamA;
    return std::isfinite(a) && a > 0 ? a : 1.0;
}

// The signal units per sample word (1 when signalParamB is no usable scale).
inline double ChannelSignalScale(const AssayChannel& channel) {
    const double b = channel.signalParamB;
    return std::isfinite(b) && b != 0 ? b : 1.0;
}

// The signal of one sample word.
inline double SampleSignal(uint32_t word, double signalScale) {
    return static_cast<int32_t>(word) * signalScale;
}
