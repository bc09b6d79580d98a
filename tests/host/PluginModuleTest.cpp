// The built plug-in as the host sees it: a module loaded with dlopen, exporting exactly three functions.
#include "host/PluginInfo.h"
#include "support/FakeHost.h"
#include "support/MessageBoxRecorder.h"

#include <cctype>
#include <cstdio>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <set>
#include <sstream>

TEST(PluginModule, ExportsExactlyTheThreeEntryPoints) {
    FILE* nm = popen("nm -D --defined-only " ATMOCALC_PLUGIN_PATH, "r");
    ASSERT_NE(nm, nullptr);
    std::set<std::string> names;
    char line[512];
    while (std::fgets(line, sizeof line, nm)) {
        std::istringstream fields(line);
        std::string address, kind, name;
        fields >> address >> kind >> name;
        // Version nodes, and local symbols: the linker keeps the C++ library's unique objects (such
        // as std::piecewise_construct) in the dynamic table as locals, which nobody can bind to.
        if (kind == "A" || std::islower(static_cast<unsigned char>(kind[0])))
            continue;
        names.insert(name);
    }
    ASSERT_EQ(pclose(nm), 0);
    EXPECT_EQ(names, (std::set<std::string>{"GetPluginInfo", "Load", "Unload"}));
}

TEST(PluginModule, LoadsThroughDlopenAndRunsItsLifecycle) {
    void* module = dlopen(ATMOCALC_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    auto getInfo = reinterpret_cast<const PluginInfo* (*)()>(dlsym(module, "GetPluginInfo"));
    auto load = reinterpret_cast<int (*)(const HostFunctions*)>(dlsym(module, "Load"));
    auto unload = reinterpret_cast<int (*)()>(dlsym(module, "Unload"));
    ASSERT_TRUE(getInfo && load && unload);
    EXPECT_EQ(getInfo()->version, 0x01000200u);
    EXPECT_EQ(std::u16string(getInfo()->name), u"atmocalc");

    FakeHost host;
    host.OfferStandardServices();
    EXPECT_EQ(load(host.Table()), 0);
    EXPECT_EQ(host.Fire("System/ModulesLoaded"), 1);
    EXPECT_EQ(host.commands.size(), 1u);
    EXPECT_EQ(host.menuPaths.size(), 1u);
    EXPECT_EQ(unload(), 0);
    EXPECT_EQ(host.unregistered.size(), 1u);
    EXPECT_EQ(dlclose(module), 0);
}
