#include "WindowsHost.h"

#include "hostcore/AssayCatalog.h"
#include "hostcore/ScriptTexts.h"
#include "hostwin/WindowReader.h"
#include "platform/system/Environment.h"
#include "platform/system/MessageBox.h"
#include "platform/system/ModuleFolder.h"
#include "platform/text/Utf.h"

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
    SetPublicFolder(options.publicDir, GetEnvironmentText("PUBLIC").value_or(u""));
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

HMENU WindowsHost::Popup(const std::u16string& path) {
    if (path.empty())
        return menuBar;
    if (auto it = popups.find(path); it != popups.end())
        return it->second;
    const size_t slash = path.rfind(u'/');
    const HMENU parent = Popup(slash == path.npos ? u"" : path.substr(0, slash));
    if (!parent)
        return nullptr;
    const HMENU popup = CreatePopupMenu();
    const std::u16string title = slash == path.npos ? path : path.substr(slash + 1);
    AppendMenuW(parent, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), AsWide(title));
    popups[path] = popup;
    return popup;
}

bool WindowsHost::AddMenuItem(const std::u16string& menuPath, const char* commandName) {
    const size_t slash = menuPath.rfind(u'/');
    const std::u16string title = slash == menuPath.npos ? menuPath : menuPath.substr(slash + 1);
    // An item needs a title, and a path already holding a submenu holds no item.
    if (title.empty() || popups.count(menuPath) || items.count(menuPath.substr(0, slash)))
        return false;
    if (auto it = items.find(menuPath); it != items.end()) {
        commands[it->second] = commandName;
        return true;
    }
    const HMENU parent = Popup(slash == menuPath.npos ? u"" : menuPath.substr(0, slash));
    if (!parent)
        return false;
    const UINT id = nextItemId++;
    AppendMenuW(parent, MF_STRING, id, AsWide(title));
    items[menuPath] = id;
    commands[id] = commandName;
    DrawMenuBar(window);
    return true;
}

bool WindowsHost::ChooseMenuItem(const std::u16string& path, std::u16string& error) {
    const auto it = items.find(path);
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
