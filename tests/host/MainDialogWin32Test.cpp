// The built atmocalc.dll's windows as a lab technician meets them in a Windows host: the menu command
// opens the main dialog over the host window, and everything after is done with the messages that
// clicks and keys make, on the demo installation the Windows tool writes.
#include "support/FakeHost.h"

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using LoadFunction = int(__cdecl*)(const HostFunctions*);
using UnloadFunction = int(__cdecl*)();

constexpr int kAddId = 1003;
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

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

std::wstring Text(HWND window) {
    wchar_t buffer[512] = {};
    GetWindowTextW(window, buffer, 512);
    return buffer;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The rows of a list view, each as its cells joined by tabs.
std::vector<std::wstring> ListRows(HWND list) {
    const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    const int columns = static_cast<int>(SendMessageW(reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)),
                                                      HDM_GETITEMCOUNT, 0, 0));
    std::vector<std::wstring> lines;
    for (int row = 0; row < rows; ++row) {
        std::wstring line;
        for (int column = 0; column < columns; ++column) {
            wchar_t cell[256] = {};
            LVITEMW item{};
            item.iSubItem = column;
            item.pszText = cell;
            item.cchTextMax = 256;
            SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
            line += (column ? L"\t" : L"") + std::wstring(cell);
        }
        lines.push_back(line);
    }
    return lines;
}

// The visible page of the tab control and the control of that class on it.
HWND PageControl(HWND dialog, const wchar_t* className) {
    HWND tabs = GetDlgItem(dialog, kTabsId);
    for (HWND page = GetWindow(tabs, GW_CHILD); page; page = GetWindow(page, GW_HWNDNEXT))
        if (IsWindowVisible(page) && ClassOf(page) == L"#32770")
            for (HWND control = GetWindow(page, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT))
                if (ClassOf(control) == className)
                    return control;
    return nullptr;
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

// A key pressed on the window with the focus, through the thread's queue as the keyboard sends it.
void PressKey(unsigned key) {
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
    PostMessageW(GetFocus(), WM_KEYUP, key, 0xC0000001);
    PumpMessages();
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
        PumpMessages();
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

TEST_F(MainDialogWin32, AddingTheDemoFillsTheGridAndBothPages) {
    EXPECT_EQ(Text(dialog), L"Расчет Аэро: Тамирель по ПНД Ф 13.1:2:3.25-99 1.0.2.0");
    Click(dialog, kAddId);
    EXPECT_EQ(ListRows(GetDlgItem(dialog, kListId)).size(), 8u);
    const std::vector<std::wstring> results = ListRows(PageControl(dialog, L"SysListView32"));
    ASSERT_EQ(results.size(), 10u);
    EXPECT_EQ(results[0], L"предельные углеводороды\t2.2393±0.5150 мг/м3");
    EXPECT_EQ(results[2], L"метан\t2.2593±0.5196 мг/м3");
    EXPECT_EQ(Text(GetDlgItem(dialog, kConvergenceId)).rfind(L"Сходимость калибровки есть", 0), 0u);

    // Ctrl+Tab shows the messages, as a click on the tab does.
    SetFocus(GetDlgItem(dialog, kListId));
    BYTE keys[256] = {};
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PressKey(VK_TAB);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    HWND messages = PageControl(dialog, L"ListBox");
    ASSERT_NE(messages, nullptr);
    wchar_t line[512] = {};
    SendMessageW(messages, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(line));
    EXPECT_EQ(std::wstring(line).find(L"1. Проба \"Проба воздуха, цех №3\": тип не определён"), 4u) << line;
}

TEST_F(MainDialogWin32, SettingsKeepTheProfileOnCancelAndStoreItOnOK) {
    const struct {
        int button;
        double stored;
    } cases[] = {{IDCANCEL, 750}, {IDOK, 760}};
    for (const auto& c : cases) {
        ClickIntoModal(GetDlgItem(dialog, kSettingsId), [&](HWND settings) {
            EXPECT_EQ(Text(GetDlgItem(settings, 1005)), L"750.0") << "the pressure at calibration";
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
        PressKey(VK_F2);
        HWND editor = FindWindowExW(grid, nullptr, L"Edit", nullptr);
        ASSERT_NE(editor, nullptr) << "the cell editor is the list's child";
        SetWindowTextW(editor, L"1,25");
        PressKey(VK_RETURN);
        EXPECT_FALSE(IsWindow(editor));
        const std::wstring row = ListRows(grid).at(0);
        EXPECT_EQ(row.substr(row.rfind(L'\t') + 1), L"1.2500");
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

TEST_F(MainDialogWin32, CancelStoresTheWindowRectangleAndEndsTheDialog) {
    RECT placed{};
    MoveWindow(dialog, 40, 30, 1100, 700, TRUE);
    GetWindowRect(dialog, &placed);
    Click(dialog, IDCANCEL);
    PumpMessages();
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
