// The built atmocalc.dll as the Windows host sees it: loaded with LoadLibraryW, exporting exactly three
// functions, its whole life driven through a host table. The exports and the handlers it hands the host
// are called through pointers typed cdecl, and each call is checked to leave the stack pointer where
// the cdecl convention leaves it: a function built as stdcall pops its own arguments and would corrupt
// the host's stack. Its message boxes are real windows (Xvfb under wine); a watcher reads and closes them.
#include "host/PluginInfo.h"
#include "platform/text/Utf.h"
#include "support/FakeHost.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <gtest/gtest.h>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

using GetPluginInfoFunction = const PluginInfo*(__cdecl*)();
using LoadFunction = int(__cdecl*)(const HostFunctions*);
using UnloadFunction = int(__cdecl*)();
using HandlerFunction = int(__cdecl*)(void*);

// Calls `function` with no argument or one, and gives back its result and how many bytes of arguments
// it popped itself (0 for cdecl). Written in assembly: a compiler may fold its own clean-up into the
// next instructions, so only the stack pointer right after the call tells what the callee did.
extern "C" intptr_t CallCdeclChecked(const void* function, const void* argument, int argumentCount,
                                     intptr_t* popped);
asm(R"(
    .text
    .globl _CallCdeclChecked
_CallCdeclChecked:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    movl %esp, %esi
    cmpl $0, 16(%ebp)
    je 1f
    pushl 12(%ebp)
1:  call *8(%ebp)
    movl %esp, %edx
    movl 16(%ebp), %ecx
    shll $2, %ecx
    addl %ecx, %edx
    subl %esi, %edx
    movl 20(%ebp), %ecx
    movl %edx, (%ecx)
    movl %esi, %esp
    popl %esi
    popl %ebp
    ret
)");

namespace {

template <typename Function>
intptr_t Call(Function function, const void* argument, int argumentCount) {
    intptr_t popped = -1;
    const intptr_t result =
        CallCdeclChecked(reinterpret_cast<const void*>(function), argument, argumentCount, &popped);
    EXPECT_EQ(popped, 0) << "the callee popped its own arguments";
    return result;
}

std::wstring PluginPath() {
    // The test program is built into the same folder as the library.
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"atmocalc.dll";
}

// The names in a loaded module's export directory.
std::set<std::string> ExportedNames(HMODULE module) {
    const auto base = reinterpret_cast<const BYTE*>(module);
    const auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    std::set<std::string> names;
    if (!directory.VirtualAddress)
        return names;
    const auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
    const auto nameOffsets = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        names.insert(reinterpret_cast<const char*>(base + nameOffsets[i]));
    EXPECT_EQ(exports->NumberOfFunctions, exports->NumberOfNames) << "exports by ordinal only";
    return names;
}

// The message boxes the library shows while it lives: each is read (caption, text, owner, icon) and
// closed with OK, as a user would.
class BoxWatcher {
public:
    struct Box {
        std::wstring caption;
        std::wstring text;
        bool owned;
        bool hasIcon;
    };

    BoxWatcher() : thread([this] { Watch(); }) {}
    ~BoxWatcher() {
        stop = true;
        thread.join();
    }

    std::vector<Box> Boxes() {
        std::lock_guard lock(mutex);
        return boxes;
    }
    std::vector<std::wstring> Texts() {
        std::vector<std::wstring> texts;
        for (const Box& box : Boxes())
            texts.push_back(box.text);
        return texts;
    }

private:
    void Watch() {
        while (!stop) {
            EnumWindows(&BoxWatcher::Found, reinterpret_cast<LPARAM>(this));
            Sleep(20);
        }
    }

    static BOOL CALLBACK Found(HWND window, LPARAM self) {
        wchar_t className[32] = {};
        GetClassNameW(window, className, 32);
        // Only this program's boxes: ctest runs other test programs on the same display meanwhile.
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (std::wstring(className) != L"#32770" || !IsWindowVisible(window) || process != GetCurrentProcessId())
            return TRUE;
        auto* watcher = reinterpret_cast<BoxWatcher*>(self);
        if (watcher->seen.count(window))
            return TRUE;
        Box box{Text(window), L"", GetWindow(window, GW_OWNER) != nullptr, false};
        EnumChildWindows(window, &BoxWatcher::FoundPart, reinterpret_cast<LPARAM>(&box));
        if (box.text.empty()) // not filled in yet: read it at the next look
            return TRUE;
        watcher->seen.insert(window);
        {
            std::lock_guard lock(watcher->mutex);
            watcher->boxes.push_back(box);
        }
        PostMessageW(window, WM_COMMAND, IDOK, 0);
        return TRUE;
    }

    // The box's text and icon are static controls.
    static BOOL CALLBACK FoundPart(HWND child, LPARAM found) {
        auto* box = reinterpret_cast<Box*>(found);
        wchar_t childClass[32] = {};
        GetClassNameW(child, childClass, 32);
        if (std::wstring(childClass) != L"Static")
            return TRUE;
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            box->hasIcon = box->hasIcon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
        else if (const std::wstring text = Text(child); !text.empty())
            box->text = text;
        return TRUE;
    }

    static std::wstring Text(HWND window) {
        wchar_t text[512] = {};
        GetWindowTextW(window, text, 512);
        return text;
    }

    std::set<HWND> seen; // the watcher's thread only
    std::mutex mutex;
    std::vector<Box> boxes;
    std::atomic<bool> stop{false};
    std::thread thread;
};

std::string JoinedTexts(const std::vector<BoxWatcher::Box>& boxes) {
    std::wstring texts;
    for (const auto& box : boxes)
        texts += L"[" + box.caption + L"] " + box.text + L"\n";
    return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(texts.data()), texts.size()));
}

class PluginLibrary : public ::testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryW(PluginPath().c_str());
        ASSERT_NE(module, nullptr) << "LoadLibraryW failed with " << GetLastError();
        getInfo = reinterpret_cast<GetPluginInfoFunction>(reinterpret_cast<void*>(GetProcAddress(module, "GetPluginInfo")));
        load = reinterpret_cast<LoadFunction>(reinterpret_cast<void*>(GetProcAddress(module, "Load")));
        unload = reinterpret_cast<UnloadFunction>(reinterpret_cast<void*>(GetProcAddress(module, "Unload")));
        ASSERT_TRUE(getInfo && load && unload);
    }
    void TearDown() override {
        if (module) {
            EXPECT_TRUE(FreeLibrary(module));
        }
    }

    // Load, the modules-loaded event, Unload: the life the host gives the library.
    void RunLife(FakeHost& host) {
        EXPECT_EQ(Call(load, host.Table(), 1), 0);
        ASSERT_EQ(host.subscriptions.size(), 1u);
        EXPECT_EQ(host.subscriptions[0].name, "System/ModulesLoaded");
        EXPECT_EQ(Call(reinterpret_cast<HandlerFunction>(host.subscriptions[0].handler), nullptr, 1), 0);
        EXPECT_EQ(Call(unload, nullptr, 0), 0);
        EXPECT_EQ(host.unsubscribed, std::vector<uint32_t>{host.subscriptions[0].handle});
    }

    HMODULE module = nullptr;
    GetPluginInfoFunction getInfo = nullptr;
    LoadFunction load = nullptr;
    UnloadFunction unload = nullptr;
};

} // namespace

TEST_F(PluginLibrary, ExportsExactlyTheThreeEntryPointsByName) {
    EXPECT_EQ(ExportedNames(module), (std::set<std::string>{"GetPluginInfo", "Load", "Unload"}));
}

// The width of a loaded icon's image.
int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info))
        return 0;
    BITMAP image{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof image, &image);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return image.bmWidth;
}

TEST_F(PluginLibrary, CarriesEachDialogIconUnderItsNumberAtSixteenPixelsAndTheAboutBoxsSize) {
    for (int id : {102, 104, 105, 106, 107, 111, 112, 114, 117, 119}) {
        const auto icon =
            static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, LR_SHARED));
        ASSERT_NE(icon, nullptr) << id;
        EXPECT_EQ(IconWidth(icon), 16) << id;
    }
    const auto large = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(102), IMAGE_ICON, 80, 80, 0));
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(IconWidth(large), 80);
    DestroyIcon(large);
    EXPECT_EQ(LoadImageW(module, MAKEINTRESOURCEW(103), IMAGE_ICON, 16, 16, LR_SHARED), nullptr);
}

TEST_F(PluginLibrary, InfoRecordIsFortyEightBytesWithThirtyTwoBitPointers) {
    const auto* info = reinterpret_cast<const PluginInfo*>(Call(getInfo, nullptr, 0));
    ASSERT_NE(info, nullptr);
    const auto* bytes = reinterpret_cast<const uint8_t*>(info);
    const auto word = [bytes](size_t offset) {
        uint32_t value;
        std::memcpy(&value, bytes + offset, 4);
        return value;
    };
    EXPECT_EQ(word(0), 48u);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(uintptr_t{word(4)})), u"atmocalc");
    EXPECT_EQ(word(8), 0x01000200u);
    EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(uintptr_t{word(12)})),
              u"Расчет Аэро: Тамирель по ПНД Ф 13.1:2:3.25-99");
    EXPECT_EQ(word(32), 0x6d1f3a52u);
    // The record is constant and the same before and after a life.
    FakeHost host;
    host.OfferStandardServices();
    RunLife(host);
    EXPECT_EQ(reinterpret_cast<const PluginInfo*>(Call(getInfo, nullptr, 0)), info);
}

TEST_F(PluginLibrary, LivesThroughAHostThatOffersEveryService) {
    BoxWatcher watcher;
    FakeHost host;
    host.OfferStandardServices();
    RunLife(host);
    // The menu path is the library's string resource 104.
    EXPECT_EQ(host.menuPaths, std::vector<std::u16string>{u"Данные/Расчёты/Тамирель"});
    EXPECT_EQ(host.menuCommands, std::vector<std::string>{"atmocalc/MenuCommand"});
    ASSERT_EQ(host.commands.size(), 1u);
    EXPECT_EQ(host.commands[0].name, "atmocalc/MenuCommand");
    EXPECT_EQ(host.unregistered, std::vector<uint32_t>{host.commands[0].handle});
    EXPECT_TRUE(watcher.Texts().empty());
}

TEST_F(PluginLibrary, MenuCommandRunsAndOpensNothingYet) {
    FakeHost host;
    host.OfferStandardServices();
    EXPECT_EQ(Call(load, host.Table(), 1), 0);
    EXPECT_EQ(Call(reinterpret_cast<HandlerFunction>(host.subscriptions.at(0).handler), nullptr, 1), 0);
    ASSERT_EQ(host.commands.size(), 1u);
    EXPECT_EQ(Call(reinterpret_cast<HandlerFunction>(host.commands[0].handler), nullptr, 1), 0);
    EXPECT_EQ(Call(unload, nullptr, 0), 0);
}

TEST_F(PluginLibrary, EachMissingServiceIsToldInAnErrorBoxWithoutOwner) {
    const struct {
        const char* service;
        const wchar_t* text;
    } cases[] = {
        {"MainMenu/CreateNewMenu", L"CreateNewMenu service not found."},
        {"Main/OpenAssayIdDlg", L"OpenAssayIdDlg service not found."},
        {"DB/GetConnectionUri", L"GetDbUri service not found."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.service);
        BoxWatcher watcher;
        FakeHost host;
        host.OfferStandardServices();
        host.Withhold(c.service);
        RunLife(host);
        const auto boxes = watcher.Boxes();
        ASSERT_EQ(boxes.size(), 1u) << JoinedTexts(boxes);
        EXPECT_EQ(boxes[0].text, c.text);
        EXPECT_EQ(boxes[0].caption, L"atmocalc");
        EXPECT_FALSE(boxes[0].owned);
        EXPECT_TRUE(boxes[0].hasIcon);
        // The other services were still used: the command stays registered.
        EXPECT_EQ(host.commands.size(), 1u);
    }
}

TEST_F(PluginLibrary, UnloadWithoutTheEventUnregistersCommandZero) {
    FakeHost host;
    EXPECT_EQ(Call(load, host.Table(), 1), 0);
    EXPECT_EQ(Call(unload, nullptr, 0), 0);
    EXPECT_EQ(host.unregistered, std::vector<uint32_t>{0});
}
