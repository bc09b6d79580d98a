#include "BenchDesktop.h"

#include <QAbstractButton>
#include <QApplication>

struct BenchDesktop::Application {
    Application(int& argc, char** argv) : app(argc, argv) {}
    QApplication app;
};

BenchDesktop::BenchDesktop(int& argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    application = std::make_unique<Application>(argc, argv);
}

BenchDesktop::~BenchDesktop() = default;

void BenchDesktop::Click(HWND button) {
    qobject_cast<QAbstractButton*>(button)->click();
}

void BenchDesktop::ProcessEvents() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

BenchHostWindow::BenchHostWindow() : window(new QWidget) {}

BenchHostWindow::~BenchHostWindow() {
    delete window;
}
