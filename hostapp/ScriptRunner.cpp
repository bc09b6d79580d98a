#include "ScriptRunner.h"

#include "hostapp/MainWindow.h"
#include "hostapp/ReadableText.h"
#include "hostcore/ScriptTexts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace {

QString Text(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

QString Plain(const QString& text) {
    return QString::fromStdU16String(PlainText(text.toStdU16String()));
}

bool IsHostWindow(const QWidget* w) {
    return w->property("veltraHostWindow").toBool();
}

QAbstractButton* FindButton(QWidget* window, const QString& name) {
    for (QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
        if (!b->isVisibleTo(window))
            continue;
        if (Plain(b->text()) == name || b->toolTip() == name || b->accessibleName() == name ||
            b->objectName() == name)
            return b;
    }
    return nullptr;
}

} // namespace

ScriptRunner::ScriptRunner(MainWindow& window, std::function<void(const QString&)> print)
    : window(window), print(std::move(print)) {
    qApp->installEventFilter(this);
    QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "OpenUrl");
}

ScriptRunner::~ScriptRunner() {
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    qApp->removeEventFilter(this);
}

void ScriptRunner::OpenUrl(const QUrl& url) {
    print(Text(ScriptText::OpenedFile((url.isLocalFile() ? url.toLocalFile() : url.toString()).toStdU16String())));
}

bool ScriptRunner::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow())
        shown.emplace_back(static_cast<QWidget*>(watched));
    return false;
}

bool ScriptRunner::Run(const std::vector<ScriptStep>& scriptSteps) {
    steps = &scriptSteps;
    next = 0;
    finished = false;
    failure.clear();
    QEventLoop loop;
    QTimer timer;
    connect(&timer, &QTimer::timeout, this, [this, &loop] {
        Tick();
        if (finished && depth == 0)
            loop.quit();
    });
    timer.start(10);
    loop.exec();
    steps = nullptr;
    return failure.isEmpty();
}

void ScriptRunner::Tick() {
    if (stepPosted || AnswerMessageBox())
        return;
    QWidget* modal = QApplication::activeModalWidget();
    // Inside a step still in progress only a modal window it opened lets the script go on.
    if (depth > 0 && !modal)
        return;
    if (!failure.isEmpty() || next == steps->size()) {
        if (modal) {
            if (failure.isEmpty())
                failure =
                    Text(ScriptText::LeftOpen(modal->windowTitle().toStdU16String()));
            print(Text(ScriptText::ClosingWindow(modal->windowTitle().toStdU16String())));
            modal->close();
            return;
        }
        finished = true;
        return;
    }
    // The step runs from a posted call, not from the timer's own signal: Qt does not fire a timer again
    // while its signal is still being handled, and the step may enter a modal loop in which the timer
    // must go on.
    stepPosted = true;
    QMetaObject::invokeMethod(this, &ScriptRunner::RunNextStep, Qt::QueuedConnection);
}

void ScriptRunner::RunNextStep() {
    stepPosted = false;
    const ScriptStep& step = (*steps)[next++];
    print(QString::fromStdU16String(StepLine(step)));
    QString error;
    ++depth;
    const bool done = Execute(step, error);
    --depth;
    if (!done && failure.isEmpty())
        failure = QString::fromStdU16String(StepFailure(step, error.toStdU16String()));
}

bool ScriptRunner::AnswerMessageBox() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box)
        return false;
    print(Text(ScriptText::AnsweredBox(box->windowTitle().toStdU16String(), box->text().toStdU16String())));
    QAbstractButton* button = box->defaultButton();
    if (!button)
        button = box->escapeButton();
    if (button)
        button->click();
    else
        box->accept();
    return true;
}

std::vector<QWidget*> ScriptRunner::Windows() const {
    if (QWidget* modal = QApplication::activeModalWidget())
        return {modal};
    std::vector<QWidget*> windows;
    for (auto it = shown.rbegin(); it != shown.rend(); ++it) {
        QWidget* w = *it;
        if (w && w->isVisible() && w != &window && !qobject_cast<QMenu*>(w) &&
            std::find(windows.begin(), windows.end(), w) == windows.end())
            windows.push_back(w);
    }
    return windows;
}

bool ScriptRunner::Execute(const ScriptStep& step, QString& error) {
    const QString name = QString::fromStdU16String(step.argument);
    if (step.verb == u"menu") {
        QAction* item = window.FindMenuItem(name);
        if (!item || item->menu()) {
            error = Text(ScriptText::NoMenuItem(step.argument));
            return false;
        }
        if (!item->isEnabled()) {
            error = Text(ScriptText::MenuItemWithoutCommand(step.argument));
            return false;
        }
        item->trigger();
        return true;
    }
    const std::vector<QWidget*> windows = Windows();
    if (step.verb == u"press") {
        for (QWidget* w : windows) {
            if (QAbstractButton* button = FindButton(w, name)) {
                if (!button->isEnabled()) {
                    error = Text(ScriptText::ButtonDisabled(step.argument));
                    return false;
                }
                button->click();
                return true;
            }
        }
        error = Text(ScriptText::NoButton(step.argument));
        return false;
    }
    if (step.verb == u"shot") {
        // The host window with every window open over it, as a person sees the desktop.
        QRect area = window.frameGeometry();
        for (QWidget* w : windows)
            area = area.united(w->frameGeometry());
        QImage picture(area.size(), QImage::Format_RGB32);
        picture.fill(QColor(0x5a, 0x6e, 0x82));
        QPainter painter(&picture);
        painter.drawPixmap(window.geometry().topLeft() - area.topLeft(), window.grab());
        for (auto it = windows.rbegin(); it != windows.rend(); ++it)
            painter.drawPixmap((*it)->geometry().topLeft() - area.topLeft(), (*it)->grab());
        painter.end();
        if (!picture.save(name)) {
            error = QStringLiteral("не удалось записать \"%1\"").arg(name);
            return false;
        }
        return true;
    }
    if (step.verb == u"print") {
        for (QWidget* w : windows) {
            for (QTabWidget* tabs : w->findChildren<QTabWidget*>()) {
                for (int i = 0; i < tabs->count(); ++i) {
                    if (Plain(tabs->tabText(i)) != name || !tabs->isVisibleTo(w))
                        continue;
                    tabs->setCurrentIndex(i);
                    print(Text(ScriptText::Heading(step.argument)));
                    for (const QString& line : ReadableText(tabs->widget(i)))
                        print(line);
                    return true;
                }
            }
        }
        // A tab control that is a bare tab bar over an area of pages (as the plug-in's dialogs make
        // them): choose the tab, then read the pages the owner shows in that area.
        for (QWidget* w : windows) {
            for (QTabBar* bar : w->findChildren<QTabBar*>()) {
                QWidget* area = bar->parentWidget();
                if (qobject_cast<QTabWidget*>(area) || !bar->isVisibleTo(w))
                    continue;
                for (int i = 0; i < bar->count(); ++i) {
                    if (Plain(bar->tabText(i)) != name)
                        continue;
                    bar->setCurrentIndex(i);
                    print(Text(ScriptText::Heading(step.argument)));
                    for (QWidget* page : area->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                        if (page != bar && page->isVisibleTo(w))
                            for (const QString& line : ReadableText(page))
                                print(line);
                    return true;
                }
            }
        }
        for (QWidget* w : windows) {
            if (w->windowTitle().startsWith(name)) {
                print(Text(ScriptText::Heading(w->windowTitle().toStdU16String())));
                for (const QString& line : ReadableText(w))
                    print(line);
                return true;
            }
        }
        error = Text(ScriptText::NoTabOrWindow(step.argument));
        return false;
    }
    // close
    for (QWidget* w : windows) {
        if (name.isEmpty() ? IsHostWindow(w) : !w->windowTitle().startsWith(name))
            continue;
        const QString title = w->windowTitle();
        // A dialog may refuse the close event and end itself instead (hide now, destroy on the next
        // turn of the event loop): what counts is that the window went away.
        if (!w->close() && w->isVisible()) {
            error = Text(ScriptText::WindowNotClosed(title.toStdU16String()));
            return false;
        }
        return true;
    }
    error = Text(ScriptText::NoWindow(step.argument));
    return false;
}
