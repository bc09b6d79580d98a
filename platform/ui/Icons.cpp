#include "Icons.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

namespace {

QString ResourcePath(int id) {
    return QStringLiteral(":/icons/%1.svg").arg(id);
}

} // namespace

QPixmap LoadIconPixmap(int id, int size) {
    QSvgRenderer renderer(ResourcePath(id));
    if (!renderer.isValid() || size <= 0)
        return {};
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(0, 0, size, size));
    return pixmap;
}

QIcon LoadIconResource(int id) {
    if (!QFile::exists(ResourcePath(id)))
        return {};
    QIcon icon;
    for (int size : {16, 20, 24, 32, 48, 64, 80})
        icon.addPixmap(LoadIconPixmap(id, size));
    return icon;
}
