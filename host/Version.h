// The plug-in's version: packed into the information record, appended to the main dialog's title,
// shown in the About box and written into the report.
#pragma once

#include <cstdint>

inline constexpr char16_t kVersionText[] = u"1.0.2.0";
// The suffix appended with its leading blank (title, About label, report).
inline constexpr char16_t kVersionSuffix[] = u" 1.0.2.0";
inline constexpr uint32_t kVersionPacked = 0x01000200;
