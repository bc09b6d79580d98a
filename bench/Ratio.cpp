#include "Ratio.h"

#include <algorithm>
#include <chrono>
#include <cmath>

double MeasureRatio(void (*work)(), void (*baseline)(), double seconds) {
    using Clock = std::chrono::steady_clock;
    work();
    baseline();
    double fastestWork = INFINITY;
    double fastestBaseline = INFINITY;
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    for (int turn = 0; turn < 5 || Clock::now() < end; ++turn) {
        const auto t0 = Clock::now();
        baseline();
        const auto t1 = Clock::now();
        work();
        const auto t2 = Clock::now();
        fastestBaseline = std::min(fastestBaseline, std::chrono::duration<double>(t1 - t0).count());
        fastestWork = std::min(fastestWork, std::chrono::duration<double>(t2 - t1).count());
    }
    return fastestWork / fastestBaseline;
}

