#include "ScriptedCalls.h"

#include "hostcore/ScriptTexts.h"
#include "hostwin/ImportPatch.h"
#include "platform/text/Utf.h"

#include <cwchar>
#include <vector>

namespace {

// The calls carry no context: one takeover at a time prints.
ReportLine printLine;

std::u16string Text(const wchar_t* text) {
    return text ? FromWide(text, std::wcslen(text)) : std::u16string();
}

int WINAPI ScriptedMessageBoxW(HWND, LPCWSTR text, LPCWSTR caption, UINT flags) {
    if (printLine)
        printLine(ScriptText::AnsweredBox(caption ? Text(caption) : u"Ошибка", Text(text)));
    return DefaultButton(flags);
}

HINSTANCE WINAPI ScriptedShellExecuteW(HWND, LPCWSTR, LPCWSTR file, LPCWSTR, LPCWSTR, INT) {
    if (printLine)
        printLine(ScriptText::OpenedFile(Text(file)));
    return reinterpret_cast<HINSTANCE>(INT_PTR(33)); // above 32: a program was started
}

} // namespace

int DefaultButton(UINT flags) {
    static const std::vector<int> buttons[] = {
        {IDOK},                             // MB_OK
        {IDOK, IDCANCEL},                   // MB_OKCANCEL
        {IDABORT, IDRETRY, IDIGNORE},       // MB_ABORTRETRYIGNORE
        {IDYES, IDNO, IDCANCEL},            // MB_YESNOCANCEL
        {IDYES, IDNO},                      // MB_YESNO
        {IDRETRY, IDCANCEL},                // MB_RETRYCANCEL
        {IDCANCEL, IDTRYAGAIN, IDCONTINUE}, // MB_CANCELTRYCONTINUE
    };
    const UINT type = flags & MB_TYPEMASK;
    const std::vector<int>& set = type < std::size(buttons) ? buttons[type] : buttons[0];
    const size_t index = (flags & MB_DEFMASK) >> 8;
    // A default beyond the box's buttons falls back to the first, as the system's box does.
    return index < set.size() ? set[index] : set[0];
}

ScriptedCalls::ScriptedCalls(HMODULE libraryModule, ReportLine print) : module(libraryModule) {
    printLine = std::move(print);
    messageBox = PatchImport(module, "user32.dll", "MessageBoxW", reinterpret_cast<void*>(&ScriptedMessageBoxW));
    shellExecute =
        PatchImport(module, "shell32.dll", "ShellExecuteW", reinterpret_cast<void*>(&ScriptedShellExecuteW));
}

ScriptedCalls::~ScriptedCalls() {
    if (messageBox)
        PatchImport(module, "user32.dll", "MessageBoxW", messageBox);
    if (shellExecute)
        PatchImport(module, "shell32.dll", "ShellExecuteW", shellExecute);
    printLine = {};
}
