// A scripted, display-free session: steps run one after another against the host's menus and the
// plug-in's windows, as a person would work them, and what a person would read is printed.
//
// The steps are those of hostcore/ScriptSteps.h; a button is also found by its accessible or object
// name. Buttons, tabs and windows are looked for in the modal window when one is open, else in the visible
// windows other than the main window, the one shown last first. So a step may act inside a modal
// dialog that the previous step opened: steps run from the event loop, also from a modal dialog's own.
// Message boxes are answered as they come: their text is printed and they are confirmed. Files the
// plug-in opens for the user (QDesktopServices) are printed as "Открыт файл: PATH" and not opened.
//
// Printing reads what ReadableText (hostapp/ReadableText.h) reads. To extend the runner, add a verb
// to ParseScriptSteps and ScriptRunner::Execute.
#pragma once

#include "hostcore/ScriptSteps.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <vector>

class MainWindow;
class QUrl;
class QWidget;

class ScriptRunner : public QObject {
    Q_OBJECT
public:
    // `print` receives each output line.
    ScriptRunner(MainWindow& window, std::function<void(const QString&)> print);
    ~ScriptRunner() override;

    // Runs the steps in the event loop; true when every step was done and no window was left modal.
    // After a failed step the rest are skipped, the open modal windows are closed and Failure() says why.
    bool Run(const std::vector<ScriptStep>& steps);
    const QString& Failure() const { return failure; }

public slots:
    // Takes the place of the desktop's program for file URLs while the runner lives.
    void OpenUrl(const QUrl& url);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Tick();
    void RunNextStep();
    bool Execute(const ScriptStep& step, QString& error);
    std::vector<QWidget*> Windows() const;
    bool AnswerMessageBox();

    MainWindow& window;
    std::function<void(const QString&)> print;
    std::vector<QPointer<QWidget>> shown; // windows in the order they were shown
    const std::vector<ScriptStep>* steps = nullptr;
    size_t next = 0;
    int depth = 0; // steps in progress (a step running inside the modal loop of an earlier one)
    bool stepPosted = false;
    bool finished = false;
    QString failure;
};
