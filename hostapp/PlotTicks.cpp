#include "PlotTicks.h"

#include <algorithm>
#include <cmath>

double TickStep(double range, int count) {
    const double raw = range / std::max(count, 1);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0})
        if (raw <= m * power)
            return m * power;
    return 10 * power;
}

QString TickText(double v) {
    return QString::number(std::abs(v) < 1e-12 ? 0.0 : v, 'g', 6);
}
