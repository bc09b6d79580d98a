#include "assay/VeltraFile4.h"

// A copy takes everything but the lock; the samples are read under the source's lock, and an
// assignment also holds its own while it replaces them.
AssayChannel::AssayChannel(const AssayChannel& other)
    : number(other.number), signalParamA(other.signalParamA), signalParamB(other.signalParamB),
      peaks(other.peaks) {
    std::lock_guard lock(other.sampleLock);
    samples = other.samples;
}

AssayChannel& AssayChannel::operator=(const AssayChannel& other) {
    if (this == &other)
        return *this;
    {
        std::scoped_lock locks(sampleLock, other.sampleLock);
        samples = other.samples;
    }
    number = other.number;
    signalParamA = other.signalParamA;
    signalParamB = other.signalParamB;
    peaks = other.peaks;
    return *this;
}
