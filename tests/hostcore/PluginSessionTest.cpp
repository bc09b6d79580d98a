// The plug-in's start and stop as every host program does them: PUBLIC, a module that cannot be opened.
#include "hostcore/PluginLibrary.h"
#include "hostcore/PluginSession.h"
#include "hostcore/ServiceBus.h"
#include "platform/system/Environment.h"
#include "platform/text/Utf.h"
#include "support/MessageBoxRecorder.h"
#include "support/ScopedEnvironment.h"
#include "support/ScratchFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

std::filesystem::path Normal(const std::u16string& path) {
    return std::filesystem::path(path).lexically_normal();
}

int modulesLoaded = 0;

int CountModulesLoaded(void*) {
    ++modulesLoaded;
    return 0;
}

} // namespace

TEST(PluginSession, PublicFolderIsTheGivenOneElseTheEnvironmentsElseTheFallback) {
    ScratchFolder folder;
    const std::u16string existing = Utf8ToUtf16(folder.Path()), missing = Utf8ToUtf16(folder.Path("missing"));
    const struct {
        std::u16string publicDir, environment, fallback, expected, box;
    } cases[] = {
        {existing, u"", u"", existing, u""},
        {missing, u"C:/elsewhere", u"", missing,
         u"Общая папка не найдена: " + missing + u". Переменная PUBLIC всё же задана."},
        {u"", u"", u"/etc/atmocalc/public", u"/etc/atmocalc/public", u""},
        {u"", u"/srv/lab", u"/etc/atmocalc/public", u"/srv/lab", u""},
        {u"", u"", u"", u"", u""},
    };
    for (const auto& c : cases) {
        ScopedEnvironment environment;
        if (c.environment.empty())
            environment.Unset("PUBLIC");
        else
            environment.Set("PUBLIC", Utf16ToUtf8(c.environment));
        MessageBoxRecorder boxes;
        SetPublicFolder(c.publicDir, c.fallback);
        EXPECT_EQ(Normal(GetEnvironmentText("PUBLIC").value_or(u"")), Normal(c.expected)) << Utf16ToUtf8(c.publicDir);
        EXPECT_EQ(boxes.Texts(), c.box.empty() ? std::vector<std::u16string>{} : std::vector{c.box});
    }
}

TEST(PluginSession, ModuleThatCannotBeOpenedIsToldAndTheModulesLoadedEventStillFires) {
    ScratchFolder folder;
    MessageBoxRecorder boxes;
    ServiceBus bus;
    bus.Subscribe("System/ModulesLoaded", &CountModulesLoaded);
    PluginLibrary plugin;
    std::vector<std::u16string> lines;
    const ReportLine report = [&lines](const std::u16string& line) { lines.push_back(line); };
    const std::u16string path = Utf8ToUtf16(folder.Path("nothing.dll"));
    modulesLoaded = 0;
    EXPECT_FALSE(StartPlugin(plugin, path, bus, report, [] { FAIL() << "nothing to take over"; }));
    EXPECT_EQ(modulesLoaded, 1);
    EXPECT_EQ(boxes.Texts(), std::vector<std::u16string>{u"Файл модуля не найден: " + path +
                                                          u"\nХост работает без этого модуля."});
    StopPlugin(plugin, report, [] { FAIL() << "nothing to unmap"; });
    EXPECT_TRUE(lines.empty());
}
