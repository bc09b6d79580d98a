// The scripted run of the Windows host: the steps of hostcore/ScriptSteps.h run one after another from
// the thread's message loop (timers, which every message loop dispatches, the modal loops of dialogs
// included), so a step may act inside a modal dialog that the step before opened. Buttons, tabs and
// windows are looked for in the modal window when one is open (a window whose owner it disabled), else
// in the thread's visible windows other than the host's main window, topmost first. Pages and windows
// are printed as WindowReader reads them.
#pragma once

#include "hostcore/PluginSession.h"
#include "hostcore/ScriptSteps.h"

#include <windows.h>

#include <string>
#include <vector>

class WindowsHost;

class WindowsScriptRunner {
public:
    WindowsScriptRunner(WindowsHost& host, ReportLine print);

    // Runs the steps; true when every step was done and no window was left modal. After a failed step
    // the rest are skipped, the open modal windows are closed and Failure() says why.
    bool Run(const std::vector<ScriptStep>& steps);
    const std::u16string& Failure() const { return failure; }

private:
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD);
    static void CALLBACK OnStep(HWND, UINT, UINT_PTR timer, DWORD);
    void Tick();
    void RunNextStep();
    bool Execute(const ScriptStep& step, std::u16string& error);
    std::vector<HWND> Windows() const;
    HWND ModalWindow() const;

    WindowsHost& host;
    ReportLine print;
    const std::vector<ScriptStep>* steps = nullptr;
    size_t next = 0;
    int depth = 0; // steps in progress (a step running inside the modal loop of an earlier one)
    bool stepPosted = false;
    bool finished = false;
    std::u16string failure;
};
