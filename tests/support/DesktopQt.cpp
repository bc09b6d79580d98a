#include "support/Desktop.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTabBar>
#include <QTest>

struct Desktop::Application {
    Application(int& argc, char** argv) : app(argc, argv) {}
    QApplication app;
};

Desktop::Desktop(int& argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    application = std::make_unique<Application>(argc, argv);
}

Desktop::~Desktop() = default;

void Desktop::Click(HWND button) {
    qobject_cast<QAbstractButton*>(button)->click();
}

void Desktop::ProcessEvents() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void Desktop::ChooseTab(HWND tabs, int index) {
    auto* bar = tabs->findChild<QTabBar*>();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

DesktopHostWindow::DesktopHostWindow() : window(new QWidget) {}

DesktopHostWindow::~DesktopHostWindow() {
    delete window;
}
