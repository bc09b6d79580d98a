#include "DialogTestSupport.h"

#include "platform/ui/ComboBox.h"
#include "ui/SettingsDlg.h"

#include <cmath>
#include <limits>

namespace {

constexpr int kCombo = 1004;
constexpr int kPressGrad = 1005;
constexpr int kPressAn = 1006;

class SettingsDlgTest : public DialogTest {
protected:
    // Opens the dialog, runs `act` on it and closes it with the button `closeWith`.
    intptr_t Run(std::function<void(SettingsDlg&)> act, int closeWith) {
        SettingsDlg dialog;
        return RunModal<SettingsDlg>(dialog, [&](SettingsDlg& d) {
            act(d);
            ClickButton(d, closeWith);
        });
    }
    double Stored(const char16_t* name) {
        return host.doubleProfile[std::u16string(u"plugins\\atmocalc\\Settings/") + name];
    }
    int32_t StoredMode() { return host.intProfile[u"plugins\\atmocalc\\Settings/stdMode"]; }
};

} // namespace

TEST(FormatPressure, ShowsOneDecimalOrAHyphenForNotSet) {
    EXPECT_EQ(FormatPressure(745.5), u"745.5");
    EXPECT_EQ(FormatPressure(760.0), u"760.0");
    // The double nearest 745.55 lies below it, so one decimal gives 745.5.
    EXPECT_EQ(FormatPressure(745.55), u"745.5");
    EXPECT_EQ(FormatPressure(0.0), u" - ");
    EXPECT_EQ(FormatPressure(-1.0), u" - ");
}

TEST(ParsePressure, ReadsCommaOrPointAndIgnoresTrailingText) {
    EXPECT_EQ(ParsePressure(u"745,5"), 745.5);
    EXPECT_EQ(ParsePressure(u"745.5"), 745.5);
    EXPECT_EQ(ParsePressure(u"  745.5  "), 745.5);
    EXPECT_EQ(ParsePressure(u"760 mm"), 760.0);
    EXPECT_EQ(ParsePressure(u"7,6e2"), 760.0);
}

TEST(ParsePressure, GivesNotSetForAnythingThatIsNoPressureAboveZero) {
    for (const char16_t* text :
         {u"0", u"-5", u"abc", u"-", u" - ", u"", u"   ", u"0x2F8", u"inf", u"1e999", u"nan"})
        EXPECT_EQ(ParsePressure(text), -1.0) << std::u16string(text).size();
}

TEST_F(SettingsDlgTest, WithoutStoredValuesShowsWorkingAreaAirAndHyphensAndOkStoresDefaults) {
    std::u16string grad, an, mode;
    EXPECT_EQ(Run(
                  [&](SettingsDlg& d) {
                      grad = d.GetDlgItemText(kPressGrad);
                      an = d.GetDlgItemText(kPressAn);
                      mode = d.GetDlgItemText(kCombo);
                      auto* combo = d.GetDlgItemAs<CComboBox>(kCombo);
                      ASSERT_EQ(combo->GetCount(), 2);
                      EXPECT_EQ(combo->GetLBText(0), u"Воздух рабочей зоны");
                      EXPECT_EQ(combo->GetItemData(0), 0);
                      EXPECT_EQ(combo->GetLBText(1), u"Атмосферный воздух");
                      EXPECT_EQ(combo->GetItemData(1), 1);
                  },
                  IDOK),
              IDOK);
    EXPECT_EQ(mode, u"Воздух рабочей зоны");
    EXPECT_EQ(grad, u" - ");
    EXPECT_EQ(an, u" - ");
    EXPECT_EQ(StoredMode(), 0);
    EXPECT_EQ(Stored(u"pressGrad"), -1.0);
    EXPECT_EQ(Stored(u"pressAn"), -1.0);
    const SettingsRecord& settings = SettingsRecord::Instance();
    EXPECT_EQ(settings.stdMode, 0);
    EXPECT_EQ(settings.pressGrad, -1.0);
    EXPECT_EQ(settings.pressAn, -1.0);
}

TEST_F(SettingsDlgTest, OkStoresWhatWasTypedAndChosen) {
    Run(
        [](SettingsDlg& d) {
            TypeText(d, kPressGrad, u"745,5");
            TypeText(d, kPressAn, u"760 mm");
            d.GetDlgItemAs<CComboBox>(kCombo)->SetCurSel(1);
        },
        IDOK);
    EXPECT_EQ(StoredMode(), 1);
    EXPECT_EQ(Stored(u"pressGrad"), 745.5);
    EXPECT_EQ(Stored(u"pressAn"), 760.0);
    EXPECT_EQ(host.profileKeys.back(), u"plugins\\atmocalc\\Settings/pressAn"); // saved in the record's order
}

TEST_F(SettingsDlgTest, StoredValuesAreShownAndKeptByOkWithoutTouching) {
    host.intProfile[u"plugins\\atmocalc\\Settings/stdMode"] = 1;
    host.doubleProfile[u"plugins\\atmocalc\\Settings/pressGrad"] = 745.55;
    host.doubleProfile[u"plugins\\atmocalc\\Settings/pressAn"] = 760.0;
    SettingsRecord::Instance().Load();
    std::u16string grad, mode;
    Run(
        [&](SettingsDlg& d) {
            grad = d.GetDlgItemText(kPressGrad);
            mode = d.GetDlgItemText(kCombo);
        },
        IDOK);
    EXPECT_EQ(mode, u"Атмосферный воздух");
    EXPECT_EQ(grad, u"745.5");
    // The field's text is read back: what the user saw is what is stored.
    EXPECT_EQ(Stored(u"pressGrad"), 745.5);
    EXPECT_EQ(Stored(u"pressAn"), 760.0);
    EXPECT_EQ(StoredMode(), 1);
}

TEST_F(SettingsDlgTest, AnUnknownStoredModeShowsNoChoiceAndOkStoresWorkingAreaAir) {
    host.intProfile[u"plugins\\atmocalc\\Settings/stdMode"] = 2;
    SettingsRecord::Instance().Load();
    int chosen = 99;
    Run([&](SettingsDlg& d) { chosen = d.GetDlgItemAs<CComboBox>(kCombo)->GetCurSel(); }, IDOK);
    EXPECT_EQ(chosen, -1);
    EXPECT_EQ(StoredMode(), 0);
    EXPECT_EQ(SettingsRecord::Instance().stdMode, 0);
}

TEST_F(SettingsDlgTest, CancelChangesNeitherTheRecordNorTheProfile) {
    host.doubleProfile[u"plugins\\atmocalc\\Settings/pressGrad"] = 750.0;
    SettingsRecord::Instance().Load();
    host.profileKeys.clear();
    EXPECT_EQ(Run(
                  [](SettingsDlg& d) {
                      TypeText(d, kPressGrad, u"700");
                      d.GetDlgItemAs<CComboBox>(kCombo)->SetCurSel(1);
                  },
                  IDCANCEL),
              IDCANCEL);
    EXPECT_EQ(SettingsRecord::Instance().pressGrad, 750.0);
    EXPECT_EQ(SettingsRecord::Instance().stdMode, 0);
    EXPECT_TRUE(host.profileKeys.empty());
}
