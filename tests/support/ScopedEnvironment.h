// Sets or removes environment variables for one test and restores them afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ~ScopedEnvironment() {
        for (auto it = saved.rbegin(); it != saved.rend(); ++it) {
            if (it->second)
                Put(it->first, *it->second);
            else
                Remove(it->first);
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    void Set(const std::string& name, const std::string& value) {
        Save(name);
        Put(name, value);
    }
    void Unset(const std::string& name) {
        Save(name);
        Remove(name);
    }

private:
#ifdef _WIN32
    // _wputenv_s sets the process environment too, which GetEnvironmentVariableW reads; the values are
    // UTF-8 here. An empty value removes the variable, as it always does on Windows.
    static std::wstring Wide(const std::string& utf8) {
        return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).wstring();
    }
    static void Put(const std::string& name, const std::string& value) {
        _wputenv_s(Wide(name).c_str(), Wide(value).c_str());
    }
    static void Remove(const std::string& name) { _wputenv_s(Wide(name).c_str(), L""); }
#else
    static void Put(const std::string& name, const std::string& value) { setenv(name.c_str(), value.c_str(), 1); }
    static void Remove(const std::string& name) { unsetenv(name.c_str()); }
#endif

    void Save(const std::string& name) {
        const char* value = std::getenv(name.c_str());
        saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }

    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
};
