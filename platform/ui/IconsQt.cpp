#include "Icons.h"

#include "QtIcons.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

#include <map>
#include <memory>
#include <utility>

namespace {

constexpr int kAllSizes = 0; // the cache's size for an icon in every size (LoadIconResource)
constexpr int kUsualSize = 32;

QString ResourcePath(int id) {
    return QStringLiteral(":/icons/%1.svg").arg(id);
}

struct LoadedIcon {
    QIcon icon;
    int size;
};

// Every icon loaded, by resource number and size: handles stay valid until the module goes (a
// plug-in's when the host unloads it, else the program's end).
std::map<std::pair<int, int>, std::unique_ptr<LoadedIcon>>& Loaded() {
    static std::map<std::pair<int, int>, std::unique_ptr<LoadedIcon>> loaded;
    return loaded;
}

HICON LoadIcon(int id, int size) {
    std::unique_ptr<LoadedIcon>& slot = Loaded()[{id, size}];
    if (!slot) {
        if (!QFile::exists(ResourcePath(id)))
            return nullptr;
        QIcon icon;
        if (size == kAllSizes)
            for (int each : {16, 20, 24, 32, 48, 64, 80})
                icon.addPixmap(LoadIconPixmap(id, each));
        else
            icon.addPixmap(LoadIconPixmap(id, size));
        slot = std::make_unique<LoadedIcon>(LoadedIcon{icon, size});
    }
    return &slot->icon;
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

HICON LoadIconResource(int id) {
    return LoadIcon(id, kAllSizes);
}

HICON LoadIconImage(int id, int size) {
    return size > 0 ? LoadIcon(id, size) : nullptr;
}

QIcon QtIcon(HICON icon) {
    return icon ? *icon : QIcon();
}

int IconNaturalSize(HICON icon) {
    for (const auto& [key, loaded] : Loaded())
        if (loaded && &loaded->icon == icon && loaded->size != kAllSizes)
            return loaded->size;
    return kUsualSize;
}
