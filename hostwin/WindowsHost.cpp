#include "WindowsHost.h"

#include "hostcore/AssayCatalog.h"
#include "hostcore/ScriptTexts.h"
#include "hostwin/WindowReader.h"
#include "platform/system/Environment.h"
#include "platform/system/MessageBox.h"
#include "platform/system/ModuleFolder.h"
#include "platform/text/Utf.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr wchar_t kWindowClass[] = L"VeltraHostWindow";

std::u16string PluginPathOf(const WindowsHostOptions& options) {
    return options.pluginPath.empty() ? ModuleFolder() + u"\\atmocalc.dll" : options.pluginPath;
}

std::u16string ProfilePathOf(const WindowsHostOptions& options) {
    if (!options.profilePath.empty())
        return options.profilePath;
    return GetEnvironmentText("APPDATA").value_or(ModuleFolder()) + u"\\veltra-host\\profile.json";
}

// The levels of a menu path: its "/"-separated parts that are not empty.
std::vector<std::u16string> MenuLevels(std::u16string_view path) {
    std::vector<std::u16string> levels;
    for (size_t start = 0; start <= path.size();) {
        const size_t end = std::min(path.find(u'/', start), path.size());
        if (end > start)
            levels.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return levels;
}

void RegisterWindowClass(WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass); // a second host in the process finds the class registered
}

} // namespace

WindowsHost::WindowsHost(const WindowsHostOptions& hostOptions, ReportLine reportLine)
    : options(hostOptions), report(std::move(reportLine)), profile(ProfilePathOf(hostOptions)) {
    RegisterWindowClass(&WindowsHost::WindowProc);
    menuBar = CreateMenu();
    window = CreateWindowExW(0, kWindowClass, L"Veltra", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 900,
                             600, nullptr, menuBar, GetModuleHandleW(nullptr), this);
    context.windows = this;
    context.profile = &profile;
    if (!options.databasePath.empty() && DatabaseFileFound(options.databasePath))
        context.connectionUri = options.databasePath;
    context.scriptedPick = options.pick;
    context.report = report;
    OfferHostServices(bus, context);
    if (!profile.Warning().empty())
        ShowMessageBox(nullptr, profile.Warning(), u"Veltra", MB_OK | MB_ICONEXCLAMATION);
}

WindowsHost::~WindowsHost() {
    Stop();
    DestroyWindow(window);
}

bool WindowsHost::Start() {
    if (started)
        return plugin.IsOpen();
    started = true;
    SetPublicFolder(options.publicDir, {}); // Windows gives every process its PUBLIC
    return StartPlugin(plugin, PluginPathOf(options), bus, report,
                       [this] { calls.emplace(static_cast<HMODULE>(plugin.Module()), report); });
}

void WindowsHost::Stop() {
    if (stopped)
        return;
    stopped = true;
    StopPlugin(plugin, report, [this] {
        DestroyLeftWindows();
        calls.reset(); // the module's import table goes with it
    });
}

// Windows of the plug-in it did not destroy in Unload (the ones the host window owns, shown or not):
// they must go before the module's code is unmapped.
void WindowsHost::DestroyLeftWindows() {
    int left = 0;
    for (HWND w : OwnedWindows(window)) {
        // Destroying an owner has destroyed the windows it owned.
        if (IsWindow(w) && DestroyWindow(w))
            ++left;
    }
    if (left)
        std::fprintf(stderr, "veltra-host: модуль %s оставил после выгрузки окон: %d; хост закрыл их.\n",
                     Utf16ToUtf8(InfoText(plugin.Info()->name)).c_str(), left);
}

LRESULT CALLBACK WindowsHost::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* host = reinterpret_cast<WindowsHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (host && message == WM_COMMAND && HIWORD(wParam) == 0) {
        if (auto it = host->commands.find(LOWORD(wParam)); it != host->commands.end()) {
            host->bus.RunCommand(it->second, window);
            return 0;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool WindowsHost::AddMenuItem(const std::u16string& menuPath, const char* commandName) {
    const std::vector<std::u16string> levels = MenuLevels(menuPath);
    if (levels.empty())
        return false;
    HMENU container = menuBar;
    std::u16string path;
    for (size_t i = 0; i + 1 < levels.size(); ++i) {
        path += (i ? u"/" : u"") + levels[i];
        auto [popup, added] = popups.try_emplace(path, nullptr);
        if (added) {
            popup->second = CreatePopupMenu();
            AppendMenuW(container, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup->second),
                        AsWide(levels[i]));
        }
        container = popup->second;
    }
    path += (path.empty() ? u"" : u"/") + levels.back();
    // The same path again gives the item another command.
    auto [item, added] = items.try_emplace(path, nextItemId);
    if (added) {
        AppendMenuW(container, MF_STRING, nextItemId++, AsWide(levels.back()));
        DrawMenuBar(window);
    }
    commands[item->second] = commandName;
    return true;
}

bool WindowsHost::ChooseMenuItem(const std::u16string& path, std::u16string& error) {
    std::u16string normalized;
    for (const std::u16string& level : MenuLevels(path))
        normalized += (normalized.empty() ? u"" : u"/") + level;
    const auto it = items.find(normalized);
    if (it == items.end()) {
        error = ScriptText::NoMenuItem(path);
        return false;
    }
    if (!bus.HasCommand(commands[it->second])) {
        error = ScriptText::MenuItemWithoutCommand(path);
        return false;
    }
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(it->second, 0), 0);
    return true;
}

bool WindowsHost::OfferedAssays(std::vector<uint32_t>& ids, std::u16string& error) {
    std::vector<AssayListRow> rows;
    ids.clear();
    if (!ReadAssayList(context.connectionUri, rows, error))
        return false;
    for (const AssayListRow& row : rows)
        ids.push_back(row.id);
    return true;
}

std::vector<uint32_t> WindowsHost::AskForAssays(uint32_t) {
    return {}; // never asked: the script answers every pick (context.scriptedPick is always set)
}

void WindowsHost::ShowChromatogram(const std::u16string&, const CVeltraFile4&) {
    // No chromatogram window here: what a scripted run reads of it is the line the services print.
}
