// The process-wide holder of the host database's location.
#pragma once

#include <optional>
#include <string>

class DataBaseConnectionBase {
public:
    virtual ~DataBaseConnectionBase() = default;

    // The one instance, created on first use (creation is serialised by a process-wide mutex).
    static DataBaseConnectionBase* Instance();
    // Deletes the instance if there is one (Unload); the next Instance() makes a new one.
    static void DeleteInstance();
    // True when an instance exists (without creating one).
    static bool Exists();

    std::optional<std::u16string> connectionUri;  // absent until the host supplies it

private:
    DataBaseConnectionBase() = default;
};
