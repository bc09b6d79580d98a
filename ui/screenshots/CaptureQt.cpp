#include "Capture.h"

#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include <cstdio>

void Settle() {
    QEventLoop loop;
    QTimer::singleShot(50, &loop, &QEventLoop::quit);
    loop.exec();
}

bool Save(HWND window, const std::filesystem::path& path) {
    Settle();
    const bool saved = window->grab().save(QString::fromStdString(path.string()));
    std::printf("%s %s\n", saved ? "wrote" : "could not write", path.string().c_str());
    return saved;
}
