#include "Metrics.h"

bool RectOnSomeScreen(const CRect& rect) {
    const RECT r{rect.left, rect.top, rect.right, rect.bottom};
    return MonitorFromRect(&r, MONITOR_DEFAULTTONULL) != nullptr;
}
