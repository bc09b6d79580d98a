// The axes' round ticks, shared by the host's plots.
#pragma once

#include <QString>

// A round tick step giving about `count` ticks over the range: 1, 2 or 5 times a power of ten.
double TickStep(double range, int count);

// A tick's label: six significant digits, and 0 for what is 0 but for rounding.
QString TickText(double v);
