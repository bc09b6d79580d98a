#include "WindowsScriptRunner.h"

#include "hostcore/ScriptTexts.h"
#include "hostwin/WindowReader.h"
#include "hostwin/WindowsHost.h"

namespace {

// Timer procedures carry no context: the runner running now.
WindowsScriptRunner* current = nullptr;

constexpr UINT kTickMilliseconds = 10;

} // namespace

WindowsScriptRunner::WindowsScriptRunner(WindowsHost& windowsHost, ReportLine printLine)
    : host(windowsHost), print(std::move(printLine)) {}

bool WindowsScriptRunner::Run(const std::vector<ScriptStep>& scriptSteps) {
    steps = &scriptSteps;
    next = 0;
    finished = false;
    failure.clear();
    WindowsScriptRunner* const previous = current;
    current = this;
    const UINT_PTR tick = SetTimer(nullptr, 0, kTickMilliseconds, &WindowsScriptRunner::OnTick);
    MSG message;
    while (!(finished && depth == 0) && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    KillTimer(nullptr, tick);
    current = previous;
    steps = nullptr;
    return failure.empty();
}

void CALLBACK WindowsScriptRunner::OnTick(HWND, UINT, UINT_PTR, DWORD) {
    if (current)
        current->Tick();
}

void CALLBACK WindowsScriptRunner::OnStep(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (current)
        current->RunNextStep();
}

HWND WindowsScriptRunner::ModalWindow() const {
    for (HWND w : ThreadWindows(GetCurrentThreadId(), nullptr)) {
        const HWND owner = GetWindow(w, GW_OWNER);
        if (owner && !IsWindowEnabled(owner) && IsWindowEnabled(w))
            return w;
    }
    return nullptr;
}

std::vector<HWND> WindowsScriptRunner::Windows() const {
    if (const HWND modal = ModalWindow())
        return {modal};
    return ThreadWindows(GetCurrentThreadId(), host.Window());
}

void WindowsScriptRunner::Tick() {
    if (stepPosted || finished)
        return;
    const HWND modal = ModalWindow();
    // Inside a step still in progress only a modal window it opened lets the script go on.
    if (depth > 0 && !modal)
        return;
    if (!failure.empty() || next == steps->size()) {
        if (modal) {
            const std::u16string title = WindowText(modal);
            if (failure.empty())
                failure = ScriptText::LeftOpen(title);
            print(ScriptText::ClosingWindow(title));
            SendMessageW(modal, WM_CLOSE, 0, 0);
            return;
        }
        finished = true;
        return;
    }
    // The step runs from a timer of its own, not from this one's call: the step may enter a modal loop
    // in which this timer must go on.
    stepPosted = true;
    SetTimer(nullptr, 0, 0, &WindowsScriptRunner::OnStep);
}

void WindowsScriptRunner::RunNextStep() {
    stepPosted = false;
    const ScriptStep& step = (*steps)[next++];
    print(StepLine(step));
    std::u16string error;
    ++depth;
    const bool done = Execute(step, error);
    --depth;
    if (!done && failure.empty())
        failure = StepFailure(step, error);
}

bool WindowsScriptRunner::Execute(const ScriptStep& step, std::u16string& error) {
    const std::u16string& name = step.argument;
    if (step.verb == u"menu")
        return host.ChooseMenuItem(name, error);
    const std::vector<HWND> windows = Windows();
    if (step.verb == u"press") {
        for (HWND w : windows) {
            if (const HWND button = FindButton(w, name)) {
                if (!IsWindowEnabled(button)) {
                    error = ScriptText::ButtonDisabled(name);
                    return false;
                }
                ClickButton(button);
                return true;
            }
        }
        error = ScriptText::NoButton(name);
        return false;
    }
    if (step.verb == u"shot") {
        error = u"этот хост не делает снимков окон";
        return false;
    }
    if (step.verb == u"print") {
        for (HWND w : windows) {
            if (const HWND tabs = SelectTab(w, name)) {
                print(ScriptText::Heading(name));
                for (HWND page : TabPages(tabs))
                    for (const std::u16string& line : ReadableLines(page))
                        print(line);
                return true;
            }
        }
        for (HWND w : windows) {
            const std::u16string title = WindowText(w);
            if (title.starts_with(name)) {
                print(ScriptText::Heading(title));
                for (const std::u16string& line : ReadableLines(w))
                    print(line);
                return true;
            }
        }
        error = ScriptText::NoTabOrWindow(name);
        return false;
    }
    // close
    for (HWND w : windows) {
        const std::u16string title = WindowText(w);
        if (!name.empty() && !title.starts_with(name))
            continue;
        SendMessageW(w, WM_CLOSE, 0, 0);
        if (IsWindow(w) && IsWindowVisible(w)) {
            error = ScriptText::WindowNotClosed(title);
            return false;
        }
        return true;
    }
    error = ScriptText::NoWindow(name);
    return false;
}
