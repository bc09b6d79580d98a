// Matching of SQL LIKE patterns for the database layer's "like" function.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// True when the text matches the pattern: "%" matches any run of characters, "_" one character (a
// surrogate pair is one), every other character matches the same character after case folding, and
// "[" is an ordinary character. The escape character, if any, makes the next pattern character
// literal; a pattern ending in it matches nothing. The work grows with the pattern's length times the
// text's, never exponentially; steps, when given, receives the number of matching steps taken.
bool MatchLike(std::u16string_view pattern, std::u16string_view text, std::optional<char32_t> escape,
               uint64_t* steps = nullptr);

// The one character of the text, or nothing when the text is not exactly one character long.
std::optional<char32_t> SingleCharacter(std::u16string_view text);
