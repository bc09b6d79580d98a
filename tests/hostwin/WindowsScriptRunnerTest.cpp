// The Windows host's scripted run against a stand-in for a plug-in window that uses only the host table:
// its menu item, a button found by its tooltip, a modal window worked from the script, a tab's page
// printed, and the failures a run reports.
#include "hostwin/WindowReader.h"
#include "hostwin/WindowsHost.h"
#include "hostwin/WindowsScriptRunner.h"
#include "platform/text/Utf.h"
#include "support/MessageBoxRecorder.h"
#include "support/ScratchFolder.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

const HostFunctions* table = nullptr;
HWND messages = nullptr; // the stand-in's list on its "Сообщения" tab

enum { kAdd = 1001, kSettings = 1002 };

HWND Control(HWND parent, const wchar_t* windowClass, const wchar_t* text, int id, int y, DWORD style = 0) {
    return CreateWindowExW(0, windowClass, text, WS_CHILD | WS_VISIBLE | style, 10, y, 300, 25, parent,
                           reinterpret_cast<HMENU>(INT_PTR(id)), nullptr, nullptr);
}

LRESULT CALLBACK SettingsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK)
        DestroyWindow(window);
    return DefWindowProcW(window, message, wParam, lParam);
}

// A modal window as a dialog box makes one: its owner disabled while its own loop runs.
void RunSettings(HWND owner) {
    const HWND settings = CreateWindowExW(0, L"StandInSettings", L"Настройки", WS_POPUPWINDOW | WS_CAPTION | WS_VISIBLE,
                                          50, 50, 300, 200, owner, nullptr, nullptr, nullptr);
    Control(settings, L"EDIT", L"750", 0, 10);
    Control(settings, L"BUTTON", L"OK", IDOK, 40);
    EnableWindow(owner, FALSE);
    MSG message;
    while (IsWindow(settings) && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    EnableWindow(owner, TRUE);
}

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == kAdd) {
        uint32_t ids[256] = {};
        const HostResult count = table->CallService("Main/OpenAssayIdDlg", 256, ids);
        const std::wstring line = L"Добавлено: " + std::to_wstring(count);
        SendMessageW(messages, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    if (message == WM_COMMAND && LOWORD(wParam) == kSettings)
        RunSettings(window);
    return DefWindowProcW(window, message, wParam, lParam);
}

int OpenStandIn(void* owner) {
    const HWND window = CreateWindowExW(0, L"StandIn", L"Стенд", WS_POPUPWINDOW | WS_CAPTION | WS_VISIBLE, 0, 0,
                                        400, 300, static_cast<HWND>(owner), nullptr, nullptr, nullptr);
    const HWND add = Control(window, L"BUTTON", L"+", kAdd, 10);
    Control(window, L"BUTTON", L"Открыть &настройки", kSettings, 40);
    const HWND tips = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, 0, 0, 0, 0, window, nullptr, nullptr,
                                      nullptr);
    TTTOOLINFOW tool{sizeof(tool), TTF_IDISHWND | TTF_SUBCLASS, window, reinterpret_cast<UINT_PTR>(add)};
    tool.lpszText = const_cast<wchar_t*>(L"Добавить хроматограммы");
    SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    const HWND tabs = Control(window, WC_TABCONTROLW, L"", 7, 70);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"Сообщения");
    SendMessageW(tabs, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    messages = Control(tabs, L"LISTBOX", L"", 0, 0, LBS_HASSTRINGS);
    return 0;
}

class WindowsScript : public testing::Test {
protected:
    WindowsScript() {
        INITCOMMONCONTROLSEX init{sizeof(init), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&init);
        for (auto [name, procedure] : {std::pair{L"StandIn", &StandInProc}, std::pair{L"StandInSettings", &SettingsProc}}) {
            WNDCLASSW windowClass{};
            windowClass.lpfnWndProc = procedure;
            windowClass.lpszClassName = name;
            RegisterClassW(&windowClass);
        }
        // The host is never started: the stand-in takes the plug-in's place through the table.
        table = host.Bus().Table();
        table->RegisterCommand("standin/MenuCommand", &OpenStandIn);
        NewMenuInfo menu{sizeof(NewMenuInfo), u"Данные/Стенд", 0, "standin/MenuCommand"};
        table->CallService("MainMenu/CreateNewMenu", 0, &menu);
    }
    bool Run(std::u16string_view text) {
        std::vector<ScriptStep> steps;
        std::u16string error;
        EXPECT_TRUE(ParseScriptSteps(text, steps, error));
        WindowsScriptRunner runner(host, [this](const std::u16string& line) { output.push_back(line); });
        const bool done = runner.Run(steps);
        failure = runner.Failure();
        return done;
    }

    ScratchFolder folder;
    MessageBoxRecorder boxes;
    WindowsHost host{WindowsHostOptions{.profilePath = Utf8ToUtf16(folder.Path("profile.json"))}, {}};
    std::vector<std::u16string> output;
    std::u16string failure;
};

} // namespace

TEST_F(WindowsScript, StepsWorkTheWindowAndAModalOneAndPrintWhatAPersonReads) {
    ASSERT_TRUE(Run(u"menu Данные/Стенд; press Добавить хроматограммы; press Открыть настройки; print Настройки; "
                    u"press OK; print Сообщения; close"))
        << Utf16ToUtf8(failure);
    EXPECT_EQ(output, (std::vector<std::u16string>{
                          u"> menu Данные/Стенд", u"> press Добавить хроматограммы", u"> press Открыть настройки",
                          u"> print Настройки", u"== Настройки", u"750", u"> press OK", u"> print Сообщения",
                          u"== Сообщения", u"Добавлено: 0", u"> close"}));
    // The picker had no database to offer from, and said so.
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_TRUE(boxes.boxes[0].text.starts_with(u"У хоста нет базы данных"));
    EXPECT_TRUE(ThreadWindows(GetCurrentThreadId(), host.Window()).empty());
}

TEST_F(WindowsScript, RunThatEndsInAModalWindowOrFailsAStepSaysWhy) {
    const struct {
        std::u16string_view steps, failure, lastLine;
    } cases[] = {
        {u"menu Данные/Стенд; press Открыть настройки", u"после сценария осталось открытым окно \"Настройки\"",
         u"Сценарий закрывает окно \"Настройки\""},
        {u"menu Данные/Стенд; press Открыть настройки; press Нет такой; print Сообщения",
         u"шаг \"press Нет такой\" не выполнен: кнопки \"Нет такой\" нет в открытых окнах",
         u"Сценарий закрывает окно \"Настройки\""},
        {u"menu Данные/Нет", u"шаг \"menu Данные/Нет\" не выполнен: в меню нет пункта \"Данные/Нет\"",
         u"> menu Данные/Нет"},
        {u"menu Данные", u"шаг \"menu Данные\" не выполнен: в меню нет пункта \"Данные\"", u"> menu Данные"},
        {u"close", u"шаг \"close\" не выполнен: нет открытого окна модуля", u"> close"},
    };
    for (const auto& c : cases) {
        output.clear();
        EXPECT_FALSE(Run(c.steps));
        EXPECT_EQ(failure, c.failure);
        ASSERT_FALSE(output.empty());
        EXPECT_EQ(output.back(), c.lastLine);
        for (HWND w : ThreadWindows(GetCurrentThreadId(), host.Window()))
            DestroyWindow(w);
    }
}

TEST_F(WindowsScript, MenuPathsAreReadByTheirLevels) {
    const struct {
        const char16_t* path;
        HostResult added;
    } records[] = {{u"/Данные//Стенд 2/", 1}, {u"Стенд 3", 1}, {u"", 0}, {u"//", 0}};
    for (const auto& r : records) {
        NewMenuInfo menu{sizeof(NewMenuInfo), r.path, 0, "standin/MenuCommand"};
        EXPECT_EQ(table->CallService("MainMenu/CreateNewMenu", 0, &menu), r.added) << Utf16ToUtf8(r.path);
    }
    EXPECT_TRUE(Run(u"menu Данные/Стенд 2; close; menu Стенд 3; close")) << Utf16ToUtf8(failure);
    // "Данные" holds a submenu, not an item.
    const HMENU data = GetSubMenu(GetMenu(host.Window()), 0);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(GetMenuItemCount(data), 2); // "Стенд" and "Стенд 2"
    EXPECT_EQ(GetMenuItemCount(GetMenu(host.Window())), 2); // "Данные" and "Стенд 3"
}

TEST(WindowsHostDatabase, MissingFileIsToldAndTheHostGoesOnWithoutOne) {
    ScratchFolder folder;
    MessageBoxRecorder boxes;
    const std::u16string missing = Utf8ToUtf16(folder.Path("nowhere.db"));
    WindowsHost host(WindowsHostOptions{.databasePath = missing, .profilePath = Utf8ToUtf16(folder.Path("p.json"))},
                     {});
    EXPECT_EQ(host.Bus().Table()->CallService("DB/GetConnectionUri", 0, nullptr), 0);
    EXPECT_EQ(boxes.Texts(),
              std::vector<std::u16string>{u"Файл базы данных не найден: " + missing +
                                          u". Хост работает без базы данных."});
}
