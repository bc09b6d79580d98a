#include "SettingsRecord.h"

#include "host/Profile.h"

#include <cmath>

namespace {
constexpr char16_t kGroup[] = u"Settings";

// A pressure the profile holds as infinity or "not a number" is no pressure, like 0 or below.
double Pressure(double stored) {
    return std::isfinite(stored) ? stored : -1.0;
}
} // namespace

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
    pressGrad = Pressure(ProfileGetDouble(kGroup, u"pressGrad", -1.0));
    pressAn = Pressure(ProfileGetDouble(kGroup, u"pressAn", -1.0));
}

void SettingsRecord::Save() const {
    ProfileSetInt(kGroup, u"stdMode", stdMode);
    ProfileSetDouble(kGroup, u"pressGrad", pressGrad);
    ProfileSetDouble(kGroup, u"pressAn", pressAn);
}
