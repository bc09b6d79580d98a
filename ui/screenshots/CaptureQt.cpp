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

bool Save(QWidget* window, const QString& path) {
    Settle();
    const bool saved = window->grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}
