// The plug-in's own calls to the system's message box and to the desktop's "open", taken over for a
// scripted run the way a test host does, without touching the plug-in: its import address table entries
// for MessageBoxW (user32) and ShellExecuteW (shell32) are pointed at the host's stand-ins while the
// takeover lives. A box is printed as veltra-host prints it ("Сообщение [CAPTION]: TEXT") and answered
// as a person pressing Enter does (its default button); an opened file is printed ("Открыт файл: PATH")
// and reported as opened.
#pragma once

#include "hostcore/PluginSession.h"

#include <windows.h>

class ScriptedCalls {
public:
    ScriptedCalls(HMODULE module, ReportLine print);
    ~ScriptedCalls(); // puts the module's own entries back
    ScriptedCalls(const ScriptedCalls&) = delete;
    ScriptedCalls& operator=(const ScriptedCalls&) = delete;

    // Whether each call was found among the module's imports (and so is taken over).
    bool MessageBoxTaken() const { return messageBox != nullptr; }
    bool ShellExecuteTaken() const { return shellExecute != nullptr; }

private:
    HMODULE module;
    void* messageBox = nullptr;
    void* shellExecute = nullptr;
};

// The button a message box of these MB_* flags gives when Enter is pressed: its default button.
int DefaultButton(UINT flags);
