#include "Profile.h"

#include "host/PluginState.h"

namespace {

template <typename T>
T ProfileGet(const char* service, std::u16string_view group, std::u16string_view name, T defaultValue) {
    if (!ServiceExists(service))
        return defaultValue;
    const std::u16string key = ProfileKey(group, name);
    T value = defaultValue;
    if (CallService(service, reinterpret_cast<intptr_t>(key.c_str()), &value) == 0)
        return defaultValue;
    return value;
}

template <typename T>
bool ProfileSet(const char* service, std::u16string_view group, std::u16string_view name, T value) {
    if (!ServiceExists(service))
        return false;
    const std::u16string key = ProfileKey(group, name);
    return CallService(service, reinterpret_cast<intptr_t>(key.c_str()), &value) != 0;
}

} // namespace

std::u16string ProfileKey(std::u16string_view group, std::u16string_view name) {
    std::u16string key;
    if (!profileSection.empty()) {
        key += profileSection;
        key += u'\\';
    }
    key += group;
    key += u'/';
    key += name;
    return key;
}

int32_t ProfileGetInt(std::u16string_view group, std::u16string_view name, int32_t defaultValue) {
    return ProfileGet<int32_t>("Profile/GetInt", group, name, defaultValue);
}

double ProfileGetDouble(std::u16string_view group, std::u16string_view name, double defaultValue) {
    return ProfileGet<double>("Profile/GetDouble", group, name, defaultValue);
}

bool ProfileSetInt(std::u16string_view group, std::u16string_view name, int32_t value) {
    return ProfileSet<int32_t>("Profile/SetInt", group, name, value);
}

bool ProfileSetDouble(std::u16string_view group, std::u16string_view name, double value) {
    return ProfileSet<double>("Profile/SetDouble", group, name, value);
}
