// The takeover of a module's MessageBoxW and ShellExecuteW, tried on this test program's own imports.
#include "hostwin/ScriptedCalls.h"
#include "hostwin/ImportPatch.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <vector>

TEST(ScriptedCalls, BoxesAndOpenedFilesArePrintedAndAnsweredUntilTheTakeoverEnds) {
    std::vector<std::u16string> lines;
    {
        ScriptedCalls calls(GetModuleHandleW(nullptr), [&lines](const std::u16string& line) { lines.push_back(line); });
        // Without the takeover a real box would wait for a person: nothing is called then.
        ASSERT_TRUE(calls.MessageBoxTaken());
        ASSERT_TRUE(calls.ShellExecuteTaken());
        EXPECT_EQ(MessageBoxW(nullptr, L"Сохранить?", L"atmocalc", MB_YESNO | MB_DEFBUTTON2), IDNO);
        EXPECT_EQ(reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", L"C:\\отчёт 1.html", nullptr, nullptr,
                                                          SW_SHOWMAXIMIZED)),
                  33);
    }
    EXPECT_EQ(lines, (std::vector<std::u16string>{u"Сообщение [atmocalc]: Сохранить?",
                                                   u"Открыт файл: C:\\отчёт 1.html"}));
    // Put back: the system's own function is there again.
    void* const system = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "MessageBoxW"));
    void* const restored = PatchImport(GetModuleHandleW(nullptr), "USER32.DLL", "MessageBoxW", system);
    EXPECT_EQ(restored, system);
}

TEST(ScriptedCalls, ModuleWithoutTheImportIsLeftAsItIs) {
    const ScriptedCalls calls(GetModuleHandleW(L"kernel32.dll"), {});
    EXPECT_FALSE(calls.MessageBoxTaken());
    EXPECT_FALSE(calls.ShellExecuteTaken());
}

TEST(ScriptedCalls, DefaultButtonIsTheOneEnterPresses) {
    const struct {
        UINT flags;
        int button;
    } cases[] = {
        {MB_OK | MB_ICONERROR, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_YESNO, IDYES},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
        {MB_RETRYCANCEL | MB_DEFBUTTON3, IDRETRY}, // beyond its buttons: the first
        {MB_CANCELTRYCONTINUE | MB_DEFBUTTON3, IDCONTINUE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DefaultButton(c.flags), c.button) << c.flags;
}
