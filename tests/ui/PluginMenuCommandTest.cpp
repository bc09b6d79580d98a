// The built plug-in in a GUI process: loaded with dlopen like the host does, its menu command opens
// the main dialog under the host window, and Unload takes the dialog away before the code goes.
#include "support/FakeHost.h"
#include "support/QtTestSupport.h"

#include <QApplication>

#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

QWidget* PluginWindow() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->windowTitle().endsWith(QStringLiteral(" 1.0.2.0")))
            return window;
    return nullptr;
}

} // namespace

TEST(PluginMenuCommand, OpensOneMainDialogUnderTheHostWindowUntilUnload) {
    void* module = dlopen(ATMOCALC_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    auto load = reinterpret_cast<int (*)(const HostFunctions*)>(dlsym(module, "Load"));
    auto unload = reinterpret_cast<int (*)()>(dlsym(module, "Unload"));
    ASSERT_TRUE(load && unload);

    FakeHost host;
    host.OfferStandardServices();
    host.OfferProfile();
    QWidget hostWindow;
    hostWindow.show();
    load(host.Table());
    host.Fire("System/ModulesLoaded");
    ASSERT_TRUE(host.RunCommand("atmocalc/MenuCommand", &hostWindow));
    QWidget* window = PluginWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->parentWidget(), &hostWindow);
    EXPECT_EQ(window->windowTitle(), Q(u"Расчет Аэро: Тамирель по ПНД Ф 13.1:2:3.25-99 1.0.2.0"));

    ASSERT_TRUE(host.RunCommand("atmocalc/MenuCommand", &hostWindow));
    int windows = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        windows += w->isVisible() && w->windowTitle().endsWith(QStringLiteral(" 1.0.2.0"));
    EXPECT_EQ(windows, 1);

    host.profileKeys.clear();
    unload();
    FlushDeletes();
    EXPECT_EQ(PluginWindow(), nullptr);
    EXPECT_TRUE(host.profileKeys.empty()); // unloading stores no rectangle
    EXPECT_EQ(dlclose(module), 0);
}
