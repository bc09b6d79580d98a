#include "assay/LikePattern.h"

#include "platform/text/CaseMapping.h"

#include <vector>

namespace {

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The character at index i, which moves past it: a surrogate pair as one code point, any other unit
// (a lone surrogate included) as itself.
char32_t NextCharacter(std::u16string_view text, size_t& i) {
    const char16_t c = text[i++];
    if (IsHighSurrogate(c) && i < text.size() && IsLowSurrogate(text[i]))
        return 0x10000 + ((char32_t(c) - 0xD800) << 10) + (text[i++] - 0xDC00);
    return c;
}

// Folding covers the Basic Multilingual Plane; other characters compare as they are.
char32_t Fold(char32_t c) {
    return c < 0x10000 ? FoldCase(static_cast<char16_t>(c)) : c;
}

struct Token {
    enum Kind { AnyRun, AnyOne, Literal } kind;
    char32_t folded = 0; // the literal's character after case folding
};

// The pattern as tokens; false when it ends in the escape character.
bool Tokenize(std::u16string_view pattern, std::optional<char32_t> escape, std::vector<Token>& tokens) {
    size_t i = 0;
    while (i < pattern.size()) {
        const char32_t c = NextCharacter(pattern, i);
        if (escape && c == *escape) {
            if (i == pattern.size())
                return false;
            tokens.push_back({Token::Literal, Fold(NextCharacter(pattern, i))});
        } else if (c == u'%') {
            tokens.push_back({Token::AnyRun});
        } else if (c == u'_') {
            tokens.push_back({Token::AnyOne});
        } else {
            tokens.push_back({Token::Literal, Fold(c)});
        }
    }
    return true;
}

} // namespace

bool MatchLike(std::u16string_view pattern, std::u16string_view text, std::optional<char32_t> escape,
               uint64_t* steps) {
    std::vector<Token> tokens;
    if (steps)
        *steps = 0;
    if (!Tokenize(pattern, escape, tokens))
        return false;

    // Greedy matching that, on a mismatch, retries only from the most recent "%", one character further
    // on. Any earlier "%" could only absorb what the latest one can, so nothing else needs revisiting.
    constexpr size_t kNone = static_cast<size_t>(-1);
    size_t p = 0;
    size_t t = 0;
    size_t afterRun = kNone; // token after the latest "%"
    size_t runStart = 0;     // text position the latest "%" was last tried to end at
    while (t < text.size()) {
        if (steps)
            ++*steps;
        if (p < tokens.size() && tokens[p].kind == Token::AnyRun) {
            afterRun = ++p;
            runStart = t;
            continue;
        }
        if (p < tokens.size()) {
            size_t next = t;
            const char32_t c = NextCharacter(text, next);
            if (tokens[p].kind == Token::AnyOne || tokens[p].folded == Fold(c)) {
                ++p;
                t = next;
                continue;
            }
        }
        if (afterRun == kNone)
            return false;
        p = afterRun;
        NextCharacter(text, runStart);
        t = runStart;
    }
    while (p < tokens.size() && tokens[p].kind == Token::AnyRun)
        ++p;
    return p == tokens.size();
}

std::optional<char32_t> SingleCharacter(std::u16string_view text) {
    if (text.empty())
        return std::nullopt;
    size_t i = 0;
    const char32_t c = NextCharacter(text, i);
    if (i != text.size())
        return std::nullopt;
    return c;
}
