// The built atmocalc.dll's windows as a lab technician meets them in a Windows host: the menu command
// opens the main dialog over the host window, and everything after is done with the messages that
// clicks and keys make, on the demo installation the Windows tool writes, and read as the scripted
// Windows host reads a window (hostwin/WindowReader.h).
#include "hostwin/ScriptedCalls.h"
#include "hostwin/WindowReader.h"
#include "support/FakeHost.h"
#include "support/Win32Input.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using LoadFunction = int(__cdecl*)(const HostFunctions*);
using UnloadFunction = int(__cdecl*)();

constexpr int kAddId = 1003;
constexpr int kReportId = 1013;
constexpr int kSettingsId = 1012;
constexpr int kComponentsId = 1014;
constexpr int kListId = 1002;
constexpr int kTabsId = 1001;
constexpr int kConvergenceId = 1007;

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring program(path, length);
    return program.substr(0, program.find_last_of(L"\\/") + 1);
}

// Runs a program of the build and waits for it; its exit code, -1 when it did not start.
int RunProgram(const std::wstring& commandLine) {
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION process{};
    std::wstring line = commandLine;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &process))
        return -1;
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// Clicks a button that opens a modal dialog, and acts in that dialog from inside its loop.
void ClickIntoModal(HWND button, std::function<void(HWND modal)> act) {
    static std::function<void(HWND)> pending;
    static HWND opener;
    pending = std::move(act);
    opener = GetAncestor(button, GA_ROOT);
    struct Timer {
        static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
            HWND modal = GetActiveWindow();
            if (!modal || modal == opener)
                return; // not open yet
            KillTimer(nullptr, id);
            pending(modal);
        }
    };
    SetTimer(nullptr, 0, 30, &Timer::Fire);
    SendMessageW(button, BM_CLICK, 0, 0);
}

void Click(HWND dialog, int id) {
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

class MainDialogWin32 : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder = std::wstring(temp) + L"atmocalc-dialogs-" + std::to_wstring(GetCurrentProcessId());
        ASSERT_EQ(RunProgram(L"\"" + ProgramFolder() + L"atmocalc.exe\" demo \"" + folder + L"\""), 0);
        SetEnvironmentVariableW(L"PUBLIC", (folder + L"\\public").c_str());
        module = LoadLibraryW((ProgramFolder() + L"atmocalc.dll").c_str());
        ASSERT_NE(module, nullptr);

        host.OfferStandardServices();
        host.OfferProfile();
        host.connectionUri = std::u16string(folder.begin(), folder.end()) + u"\\host.db";
        host.intProfile[u"plugins\\atmocalc\\Settings/stdMode"] = 1;
        host.doubleProfile[u"plugins\\atmocalc\\Settings/pressGrad"] = 750;
        host.doubleProfile[u"plugins\\atmocalc\\Settings/pressAn"] = 745;
        host.Offer("Main/OpenAssayIdDlg", [](intptr_t capacity, void* ids) -> HostResult {
            auto* out = static_cast<uint32_t*>(ids);
            HostResult count = 0;
            for (uint32_t id = 1; id <= 8 && count < capacity; ++id)
                out[count++] = id;
            return count;
        });
        ASSERT_EQ(reinterpret_cast<LoadFunction>(GetProcAddress(module, "Load"))(host.Table()), 0);
        host.Fire("System/ModulesLoaded");

        hostWindow = CreateWindowExW(0, L"STATIC", L"Хост", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                                     nullptr, nullptr, nullptr);
        ASSERT_TRUE(host.RunCommand(host.menuCommands.at(0), hostWindow));
        Desktop::ProcessEvents();
        for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
            if (GetWindow(w, GW_OWNER) == hostWindow && ClassOf(w) == L"#32770" && IsWindowVisible(w))
                dialog = w;
        ASSERT_NE(dialog, nullptr);
    }
    void TearDown() override {
        if (module)
            reinterpret_cast<UnloadFunction>(GetProcAddress(module, "Unload"))();
        EXPECT_FALSE(IsWindow(dialog)) << "Unload leaves no window behind";
        DestroyWindow(hostWindow);
        if (module)
            FreeLibrary(module);
    }

    std::wstring folder;
    HMODULE module = nullptr;
    FakeHost host;
    HWND hostWindow = nullptr;
    HWND dialog = nullptr;
};

// What the visible page of the main dialog's tabs shows.
std::vector<std::u16string> PageLines(HWND dialog) {
    std::vector<std::u16string> lines;
    for (HWND page : TabPages(GetDlgItem(dialog, kTabsId)))
        for (const std::u16string& line : ReadableLines(page))
            lines.push_back(line);
    return lines;
}

TEST_F(MainDialogWin32, AddingTheDemoFillsTheGridAndBothPages) {
    EXPECT_EQ(WindowText(dialog), u"Расчет Аэро: Тамирель по ПНД Ф 13.1:2:3.25-99 1.0.2.0");
    Click(dialog, kAddId);
    EXPECT_EQ(ReadableLines(GetDlgItem(dialog, kListId)).size(), 1u + 8u); // the header and a row each
    const std::vector<std::u16string> results = PageLines(dialog);
    ASSERT_EQ(results.size(), 1u + 10u);
    EXPECT_EQ(results[0], u"Компонент\tКонцентрация");
    EXPECT_EQ(results[1], u"предельные углеводороды\t2.2393±0.5150 мг/м3");
    EXPECT_EQ(results[3], u"метан\t2.2593±0.5196 мг/м3");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, kConvergenceId)).rfind(u"Сходимость калибровки есть", 0), 0u);

    // Ctrl+Tab shows the messages, as a click on the tab does.
    SetFocus(GetDlgItem(dialog, kListId));
    BYTE keys[256] = {};
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PressKeyOn(GetFocus(), VK_TAB);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    const std::vector<std::u16string> messages = PageLines(dialog);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], u"Предупреждения:");
    EXPECT_EQ(messages[1].find(u"1. Проба \"Проба воздуха, цех №3\": тип не определён"), 4u);
}

TEST_F(MainDialogWin32, SettingsKeepTheProfileOnCancelAndStoreItOnOK) {
    const struct {
        int button;
        double stored;
    } cases[] = {{IDCANCEL, 750}, {IDOK, 760}};
    for (const auto& c : cases) {
        ClickIntoModal(GetDlgItem(dialog, kSettingsId), [&](HWND settings) {
            EXPECT_EQ(WindowText(GetDlgItem(settings, 1005)), u"750.0") << "the pressure at calibration";
            SetWindowTextW(GetDlgItem(settings, 1005), L"760");
            Click(settings, c.button);
        });
        EXPECT_EQ(host.doubleProfile[u"plugins\\atmocalc\\Settings/pressGrad"], c.stored) << c.button;
    }
}

TEST_F(MainDialogWin32, AKIsEditedInTheComponentsGridInPlace) {
    ClickIntoModal(GetDlgItem(dialog, kComponentsId), [&](HWND components) {
        HWND grid = FindWindowExW(components, nullptr, L"SysListView32", nullptr);
        ASSERT_NE(grid, nullptr);
        // The first component's K: focus its row, move to the K column, F2 opens the editor.
        LVITEMW focus{};
        focus.stateMask = focus.state = LVIS_FOCUSED | LVIS_SELECTED;
        SendMessageW(grid, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&focus));
        RECT cell{};
        cell.top = 2; // the K column
        cell.left = LVIR_BOUNDS;
        SendMessageW(grid, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
        const LPARAM at = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
        SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(grid, WM_LBUTTONUP, 0, at);
        SetFocus(grid);
        PressKeyOn(GetFocus(), VK_F2);
        HWND editor = FindWindowExW(grid, nullptr, L"Edit", nullptr);
        ASSERT_NE(editor, nullptr) << "the cell editor is the list's child";
        SetWindowTextW(editor, L"1,25");
        PressKeyOn(GetFocus(), VK_RETURN);
        EXPECT_FALSE(IsWindow(editor));
        const std::vector<std::u16string> rows = ReadableLines(grid);
        const auto first = std::find_if(rows.begin(), rows.end(), [](const auto& row) { return row.starts_with(u"1\t"); });
        ASSERT_NE(first, rows.end());
        EXPECT_EQ(first->substr(first->rfind(u'\t') + 1), u"1.2500");
        Click(components, IDOK);
    });
    HANDLE table = CreateFileW((folder + L"\\public\\Documents\\Veltra4\\atmocalc\\files\\CompsTable.csv").c_str(),
                               GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(table, INVALID_HANDLE_VALUE);
    char content[4096] = {};
    DWORD read = 0;
    ReadFile(table, content, sizeof content - 1, &read, nullptr);
    CloseHandle(table);
    EXPECT_NE(std::string(content, read).find(";1,250000;"), std::string::npos) << content;
}

TEST_F(MainDialogWin32, TheReportIsMadeAndHandedToTheOpener) {
    // The desktop's opener is the scripted host's stand-in, which reports the file it was given.
    std::vector<std::u16string> lines;
    const ScriptedCalls opener(module, [&](const std::u16string& line) { lines.push_back(line); });
    ASSERT_TRUE(opener.ShellExecuteTaken());
    Click(dialog, kAddId);
    Click(dialog, kReportId);
    ASSERT_EQ(lines.size(), 1u);
    const std::u16string prefix = u"Открыт файл: ";
    ASSERT_EQ(lines[0].rfind(prefix, 0), 0u) << std::string(lines[0].begin(), lines[0].end());
    const std::u16string path = lines[0].substr(prefix.size());
    HANDLE report = CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_READ, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(report, INVALID_HANDLE_VALUE);
    char head[256] = {};
    DWORD read = 0;
    ReadFile(report, head, sizeof head - 1, &read, nullptr);
    CloseHandle(report);
    DeleteFileW(reinterpret_cast<const wchar_t*>(path.c_str()));
    EXPECT_NE(std::string(head, read).find("<html"), std::string::npos) << head;
}

TEST_F(MainDialogWin32, CancelStoresTheWindowRectangleAndEndsTheDialog) {
    RECT placed{};
    MoveWindow(dialog, 40, 30, 1100, 700, TRUE);
    GetWindowRect(dialog, &placed);
    Click(dialog, IDCANCEL);
    Desktop::ProcessEvents();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(host.intProfile[u"plugins\\atmocalc\\/WindowRect_tlx"], placed.left);
    EXPECT_EQ(host.intProfile[u"plugins\\atmocalc\\/WindowRect_tly"], placed.top);
    EXPECT_EQ(host.intProfile[u"plugins\\atmocalc\\/WindowRect_btx"], placed.right);
    EXPECT_EQ(host.intProfile[u"plugins\\atmocalc\\/WindowRect_bty"], placed.bottom);
}

TEST_F(MainDialogWin32, ASecondMenuCommandShowsTheSameDialog) {
    ShowWindow(dialog, SW_MINIMIZE);
    ASSERT_TRUE(host.RunCommand(host.menuCommands.at(0), hostWindow));
    EXPECT_FALSE(IsIconic(dialog));
    EXPECT_TRUE(IsWindowVisible(dialog));
    int dialogs = 0;
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        dialogs += GetWindow(w, GW_OWNER) == hostWindow && ClassOf(w) == L"#32770";
    EXPECT_EQ(dialogs, 1);
}

} // namespace
