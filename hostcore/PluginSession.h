// The plug-in's life in a host program: PUBLIC set for it, the module opened and loaded with the bus's
// table, "System/ModulesLoaded" fired, and at the end unloaded and unmapped. What a scripted run prints
// of it goes to `report` (when set).
#pragma once

#include <functional>
#include <string>

class PluginLibrary;
class ServiceBus;

using ReportLine = std::function<void(const std::u16string&)>;

// Sets PUBLIC to publicDir made absolute (a folder that is missing is shown in a box, and PUBLIC set all
// the same); with no publicDir, to fallback (when not empty) if the environment has no PUBLIC (a lab may
// keep its shared files elsewhere).
void SetPublicFolder(const std::u16string& publicDir, const std::u16string& fallback);
// Opens the module at path and calls its Load with the bus's table, reporting "Модуль загружен: NAME
// VERSION (PATH)"; a module that cannot be opened is shown in a box and the host goes on without it.
// Then fires "System/ModulesLoaded" (every module the host has is loaded: at most one). True when loaded.
// `beforeLoad` runs between the mapping and the Load (a host takes over the module's calls there).
bool StartPlugin(PluginLibrary& plugin, const std::u16string& path, ServiceBus& bus, const ReportLine& report,
                 const std::function<void()>& beforeLoad = {});
// Unloads and unmaps an open module, reporting "Модуль выгружен: NAME". `beforeUnmap` runs between its
// Unload and the unmapping (a host closes there what the module left behind).
void StopPlugin(PluginLibrary& plugin, const ReportLine& report, const std::function<void()>& beforeUnmap = {});
