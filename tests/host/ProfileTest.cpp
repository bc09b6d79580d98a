#include "host/PluginTestFixture.h"
#include "host/Profile.h"
#include "host/SettingsRecord.h"

#include <limits>

using Profile = PluginTest;

TEST_F(Profile, KeysCarryTheSectionOnlyAfterTheModulesLoadedEvent) {
    host.OfferProfile();
    Load(host.Table());
    ProfileGetInt(u"Settings", u"stdMode", 0);
    host.OfferStandardServices();
    host.Fire("System/ModulesLoaded");
    ProfileGetInt(u"Settings", u"stdMode", 0);
    ProfileSetInt(u"", u"WindowRect_tlx", 5);
    EXPECT_EQ(host.profileKeys, (std::vector<std::u16string>{u"Settings/stdMode", u"plugins\\atmocalc\\Settings/stdMode",
                                                             u"plugins\\atmocalc\\/WindowRect_tlx"}));
}

TEST_F(Profile, AZeroAnswerGivesTheDefaultEvenWhenTheHostWroteTheValue) {
    host.Offer("Profile/GetInt", [](intptr_t, void* v) -> HostResult {
        *static_cast<int32_t*>(v) = 99;
        return 0;
    });
    host.Offer("Profile/GetDouble", [](intptr_t, void* v) -> HostResult {
        *static_cast<double*>(v) = 99.5;
        return 0;
    });
    Load(host.Table());
    EXPECT_EQ(ProfileGetInt(u"g", u"n", 7), 7);
    EXPECT_EQ(ProfileGetDouble(u"g", u"n", -1.0), -1.0);
}

TEST_F(Profile, WithoutServicesReadsDefaultsRefusesWritesAndBuildsNoKey) {
    Load(host.Table());
    EXPECT_EQ(ProfileGetInt(u"g", u"n", 3), 3);
    EXPECT_EQ(ProfileGetDouble(u"g", u"n", 2.5), 2.5);
    EXPECT_FALSE(ProfileSetInt(u"g", u"n", 1));
    EXPECT_FALSE(ProfileSetDouble(u"g", u"n", 1.0));
    EXPECT_TRUE(host.serviceCalls.empty());
}

TEST_F(Profile, NegativeIntegersAndFractionalDoublesPassThroughBothWays) {
    host.OfferProfile();
    Load(host.Table());
    EXPECT_TRUE(ProfileSetInt(u"g", u"i", -123456));
    EXPECT_TRUE(ProfileSetDouble(u"g", u"d", -745.55));
    EXPECT_EQ(ProfileGetInt(u"g", u"i", 0), -123456);
    EXPECT_EQ(ProfileGetDouble(u"g", u"d", 0), -745.55);
}

TEST_F(Profile, SettingsRecordLoadsDefaultsAndKeepsStoredValuesAsTheyAre) {
    host.OfferProfile();
    host.OfferStandardServices();
    LoadAndFire();
    SettingsRecord settings;
    settings.stdMode = 5;
    settings.Load();
    EXPECT_EQ(settings.stdMode, 0);
    EXPECT_EQ(settings.pressGrad, -1.0);
    EXPECT_EQ(settings.pressAn, -1.0);

    host.intProfile[u"plugins\\atmocalc\\Settings/stdMode"] = 2;
    host.doubleProfile[u"plugins\\atmocalc\\Settings/pressGrad"] = 745.55;
    settings.Load();
    EXPECT_EQ(settings.stdMode, 2);
    EXPECT_EQ(settings.pressGrad, 745.55);

    settings.pressAn = 740.25;
    host.profileKeys.clear();
    settings.Save();
    EXPECT_EQ(host.profileKeys, (std::vector<std::u16string>{u"plugins\\atmocalc\\Settings/stdMode",
                                                             u"plugins\\atmocalc\\Settings/pressGrad",
                                                             u"plugins\\atmocalc\\Settings/pressAn"}));
    EXPECT_EQ(host.doubleProfile[u"plugins\\atmocalc\\Settings/pressAn"], 740.25);
}

// A profile may hold what no dialog writes; a pressure that is not finite is no pressure.
TEST_F(Profile, SettingsRecordTakesAPressureThatIsNotFiniteAsNotSet) {
    host.OfferProfile();
    host.OfferStandardServices();
    LoadAndFire();
    SettingsRecord settings;
    for (const double stored :
         {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
          std::numeric_limits<double>::quiet_NaN()}) {
        host.doubleProfile[u"plugins\\atmocalc\\Settings/pressGrad"] = stored;
        host.doubleProfile[u"plugins\\atmocalc\\Settings/pressAn"] = 1e308;
        settings.Load();
        EXPECT_EQ(settings.pressGrad, -1.0) << stored;
        EXPECT_EQ(settings.pressAn, 1e308);
    }
}
