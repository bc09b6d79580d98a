// Unicode 5.1 case mappings and accent-free forms for the Basic Multilingual Plane, from tables
// generated out of the Unicode character data (CaseTables.inc). The case mappings take one UTF-16
// unit and give one; units without a mapping, surrogates included, stay as they are. They serve every
// case-insensitive comparison of the system (sample, peak and component names) and the SQL functions
// of the database layer, whatever the process locale. Every function is a constant-time table lookup
// per unit and never fails.
#pragma once

#include <string>
#include <string_view>

char16_t FoldCase(char16_t c); // simple case folding
char16_t ToLowerCase(char16_t c);
char16_t ToUpperCase(char16_t c);
char16_t ToTitleCase(char16_t c);

// The text with every unit replaced by its mapping.
std::u16string FoldText(std::u16string_view text);
std::u16string LowerText(std::u16string_view text);
std::u16string UpperText(std::u16string_view text);
std::u16string TitleText(std::u16string_view text);

// The text with every unit replaced by its accent-free form: its canonical and compatibility
// decomposition without the marks that stack on a base ("é" -> "e", "ﬁ" -> "fi", "½" -> "1⁄2"),
// such a mark alone removed, and ø đ ł ħ ŧ æ œ ß þ with their capitals spelled o d l h t ae oe ss th
// (capitals O D L H T AE OE SS TH).
std::u16string UnaccentText(std::u16string_view text);

// True when the two texts are equal after case folding (whole texts, no trimming).
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);
// Negative, 0 or positive as a sorts before, with or after b: folded units compared in order over the
// shorter length, the first difference deciding by unit value, else the shorter text first.
int CompareNoCase(std::u16string_view a, std::u16string_view b);
