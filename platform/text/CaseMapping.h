// Unicode case mappings for the Basic Multilingual Plane, one UTF-16 unit in and one out.
// They serve every case-insensitive comparison of the system (sample, peak and component names) and
// the SQL functions of the database layer, whatever the process locale.
#pragma once

#include <string>
#include <string_view>

char16_t FoldCase(char16_t c);  // simple case folding
char16_t ToLowerCase(char16_t c);
char16_t ToUpperCase(char16_t c);
char16_t ToTitleCase(char16_t c);

std::u16string FoldText(std::u16string_view text);
std::u16string LowerText(std::u16string_view text);

// True when the two texts are equal after case folding (whole texts, no trimming).
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);
