#include "SettingsRecord.h"

#include "host/Profile.h"

namespace {
constexpr char16_t kGroup[] = u"Settings";
}

SettingsRecord& SettingsRecord::Instance() {
    static SettingsRecord record = [] {
        SettingsRecord r;
        r.Load();
        return r;
    }();
    return record;
}

void SettingsRecord::Load() {
    stdMode = ProfileGetInt(kGroup, u"stdMode", 0);
    pressGrad = ProfileGetDouble(kGroup, u"pressGrad", -1.0);
    pressAn = ProfileGetDouble(kGroup, u"pressAn", -1.0);
}

void SettingsRecord::Save() const {
    ProfileSetInt(kGroup, u"stdMode", stdMode);
    ProfileSetDouble(kGroup, u"pressGrad", pressGrad);
    ProfileSetDouble(kGroup, u"pressAn", pressAn);
}
