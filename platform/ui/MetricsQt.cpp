#include "Metrics.h"

#include "QtGeometry.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>

int GetSystemMetrics(int index) {
    if (index != SM_CXVSCROLL || !qApp)
        return 0;
    return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

bool RectOnSomeScreen(const CRect& rect) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.isEmpty())
        return true;
    for (const QScreen* screen : screens)
        if (screen->geometry().intersects(ToQRect(rect)))
            return true;
    return false;
}
