// The three calculation settings, one record per process, stored in the host profile.
#pragma once

#include <cstdint>

class SettingsRecord {
public:
    // The one record, loaded from the profile on first use (construction is thread-safe).
    static SettingsRecord& Instance();

    // Reads the three values from the profile (defaults 0, -1.0, -1.0 when absent; a pressure stored as
    // a value that is not finite reads as -1.0, not set).
    void Load();
    // Writes the three values to the profile; the host's answers are ignored.
    void Save() const;

    int32_t stdMode = 0;     // 1 = atmospheric air; any other value = working-area air
    double pressGrad = -1.0; // mm Hg at calibration; 0 or below = not set
    double pressAn = -1.0;   // mm Hg at analysis; 0 or below = not set
};
