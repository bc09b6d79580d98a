#include "host/PluginTestFixture.h"
#include "host/Version.h"

#include <cstring>

namespace {

class FakeDialog : public MainDialogWindow {
public:
    FakeDialog() { mainDialogClosed = false; }
    ~FakeDialog() override { mainDialogClosed = true; }
    void ShowNormal() override { ++shown; }
    void DestroyNow() override { delete this; }
    int shown = 0;
};

int created = 0;
MainDialogWindow* CreateFakeDialog(void*) {
    ++created;
    return new FakeDialog();
}

} // namespace

using PluginLifecycle = PluginTest;

TEST_F(PluginLifecycle, InfoRecordDescribesThePlugin) {
    const PluginInfo* info = GetPluginInfo();
    EXPECT_EQ(info->size, sizeof(PluginInfo));
    EXPECT_EQ(std::u16string(info->name), u"atmocalc");
    EXPECT_EQ(info->version, 0x01000200u);
    EXPECT_EQ(std::u16string(info->title), u"Расчет Аэро: Тамирель по ПНД Ф 13.1:2:3.25-99");
    EXPECT_EQ(std::u16string(kVersionSuffix), u" 1.0.2.0");
}

TEST_F(PluginLifecycle, LoadOnlySubscribesAndTheEventDoesTheRest) {
    EXPECT_EQ(Load(host.Table()), 0);
    ASSERT_EQ(host.subscriptions.size(), 1u);
    EXPECT_EQ(host.subscriptions[0].name, "System/ModulesLoaded");
    EXPECT_TRUE(host.commands.empty());
    EXPECT_TRUE(host.serviceCalls.empty());

    host.OfferStandardServices();
    host.connectionUri = u"/srv/veltra/host.db";
    host.Fire("System/ModulesLoaded");
    ASSERT_EQ(host.commands.size(), 1u);
    EXPECT_EQ(host.commands[0].name, "atmocalc/MenuCommand");
    EXPECT_EQ(host.menuPaths, std::vector<std::u16string>{u"Данные/Расчёты/Тамирель"});
    EXPECT_EQ(host.menuCommands, std::vector<std::string>{"atmocalc/MenuCommand"});
    EXPECT_EQ(DataBaseConnectionBase::Instance()->connectionUri, u"/srv/veltra/host.db");
    EXPECT_EQ(profileSection, u"plugins\\atmocalc");
    EXPECT_TRUE(boxes.boxes.empty());

    const uint32_t event = host.subscriptions[0].handle, command = host.commands[0].handle;
    EXPECT_EQ(Unload(), 0);
    EXPECT_EQ(host.unsubscribed, std::vector<uint32_t>{event});
    EXPECT_EQ(host.unregistered, std::vector<uint32_t>{command});
    EXPECT_FALSE(DataBaseConnectionBase::Exists());
}

TEST_F(PluginLifecycle, UnloadBeforeTheEventUnregistersHandleZeroAndDeletesNothing) {
    Load(host.Table());
    Unload();
    EXPECT_EQ(host.unregistered, std::vector<uint32_t>{0});
    EXPECT_FALSE(DataBaseConnectionBase::Exists());
}

TEST_F(PluginLifecycle, MissingServicesGiveExactlyTheThreeBoxes) {
    LoadAndFire();
    ASSERT_EQ(boxes.Texts(), (std::vector<std::u16string>{u"CreateNewMenu service not found.",
                                                          u"OpenAssayIdDlg service not found.",
                                                          u"GetDbUri service not found."}));
    for (const auto& box : boxes.boxes) {
        EXPECT_EQ(box.caption, u"atmocalc");
        EXPECT_EQ(box.flags, MB_OK | MB_ICONERROR);
        EXPECT_EQ(box.owner, nullptr);
    }
    EXPECT_EQ(host.commands.size(), 1u) << "the command stays registered without a menu";
    EXPECT_FALSE(DataBaseConnectionBase::Exists());
}

TEST_F(PluginLifecycle, ANullConnectionUriLeavesTheOldOneAsItWas) {
    // Also "not found" from a host that said it offers the service: that answer is no text either.
    for (const HostResult answer : {HostResult(0), ServiceNotFound}) {
        DataBaseConnectionBase::Instance()->connectionUri = u"/old.db";
        host.OfferStandardServices();
        host.Offer("DB/GetConnectionUri", [answer](intptr_t, void*) { return answer; });
        LoadAndFire();
        EXPECT_EQ(DataBaseConnectionBase::Instance()->connectionUri, u"/old.db") << answer;
        EXPECT_TRUE(boxes.boxes.empty());
        Unload();
    }
}

TEST_F(PluginLifecycle, NullSlotsOfTheTableActAsOperationsTheHostLacks) {
    host.OfferStandardServices();
    HostFunctions table = *host.Table();
    table.RegisterCommand = nullptr;
    table.UnregisterCommand = nullptr;
    table.Unsubscribe = nullptr;
    table.CallService = nullptr;
    table.ServiceExists = nullptr;
    EXPECT_EQ(Load(&table), 0);
    EXPECT_EQ(host.Fire("System/ModulesLoaded"), 1);
    EXPECT_TRUE(host.commands.empty());
    EXPECT_TRUE(host.serviceCalls.empty());
    EXPECT_EQ(boxes.Texts(), (std::vector<std::u16string>{u"CreateNewMenu service not found.",
                                                          u"OpenAssayIdDlg service not found.",
                                                          u"GetDbUri service not found."}));
    EXPECT_EQ(profileSection, u"plugins\\atmocalc");
    EXPECT_EQ(Unload(), 0);
    EXPECT_TRUE(host.unsubscribed.empty());
    EXPECT_TRUE(host.unregistered.empty());
    Reset(); // the table dies with this test
}

TEST_F(PluginLifecycle, MenuCommandOpensOneDialogAndANewOneAfterItClosed) {
    SetMainDialogCreator(&CreateFakeDialog);
    created = 0;
    host.OfferStandardServices();
    LoadAndFire();
    int window = 0;
    ASSERT_TRUE(host.RunCommand("atmocalc/MenuCommand", &window));
    ASSERT_TRUE(host.RunCommand("atmocalc/MenuCommand", &window));
    EXPECT_EQ(created, 1);
    EXPECT_EQ(static_cast<FakeDialog*>(mainDialog)->shown, 2) << "the second choice shows it again";

    delete mainDialog; // the user closed it
    EXPECT_TRUE(mainDialogClosed);
    host.RunCommand("atmocalc/MenuCommand", &window);
    EXPECT_EQ(created, 2);

    Unload(); // destroys the open dialog with the module
    EXPECT_TRUE(mainDialogClosed);
    EXPECT_EQ(mainDialog, nullptr);
    SetMainDialogCreator(nullptr);
}

TEST_F(PluginLifecycle, AFailingHandlerIsShownAndNeverReachesTheHost) {
    SetMainDialogCreator([](void*) -> MainDialogWindow* { throw std::runtime_error("no display"); });
    host.OfferStandardServices();
    LoadAndFire();
    EXPECT_EQ(OnMenuCommand(nullptr), 0);
    ASSERT_EQ(boxes.Texts(), std::vector<std::u16string>{u"no display"});
    SetMainDialogCreator(nullptr);
}
