#include "assay/SqlFunctions.h"

#include "assay/LikePattern.h"
#include "platform/text/CaseMapping.h"
#include "platform/text/Utf.h"

#include <cstdint>
#include <new>
#include <sqlite3.h>
#include <string>

namespace {

constexpr int kLikePatternLimit = 50000; // bytes of UTF-8

// The argument as UTF-16 text; SQLite hands UTF-16 out aligned. Empty for NULL.
std::u16string_view ArgumentText(sqlite3_value* value) {
    const auto* text = static_cast<const char16_t*>(sqlite3_value_text16(value));
    if (!text)
        return {};
    return {text, static_cast<size_t>(sqlite3_value_bytes16(value)) / sizeof(char16_t)};
}

bool AnyNull(int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
            return true;
    return false;
}

void UnicodeVersion(sqlite3_context* context, int, sqlite3_value**) {
    sqlite3_result_text(context, "5.1.0.12", -1, SQLITE_STATIC);
}

template <std::u16string (*Map)(std::u16string_view)>
void MapFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
    if (AnyNull(argc, argv))
        return; // the result stays NULL
    try {
        // SQLite takes a U+FEFF or U+FFFE at the start of UTF-16 text for a byte-order mark: it would
        // drop the character, or swap the bytes of the rest. So the result goes over behind a mark of
        // this machine's own byte order, which SQLite removes, and every code unit of it is kept.
        std::u16string result(1, u'\uFEFF');
        result += Map(ArgumentText(argv[0]));
        // SQLite reports a result past its length limit as too big.
        sqlite3_result_text64(context, reinterpret_cast<const char*>(result.data()),
                              result.size() * sizeof(char16_t), SQLITE_TRANSIENT, SQLITE_UTF16);
    } catch (const std::bad_alloc&) {
        sqlite3_result_error_nomem(context);
    }
}

void Like(sqlite3_context* context, int argc, sqlite3_value** argv) {
    if (AnyNull(argc, argv))
        return;
    if (sqlite3_value_bytes(argv[0]) > kLikePatternLimit) {
        sqlite3_result_error(context, "LIKE or GLOB pattern too complex", -1);
        return;
    }
    std::optional<char32_t> escape;
    if (argc == 3) {
        escape = SingleCharacter(ArgumentText(argv[2]));
        if (!escape) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
    }
    try {
        sqlite3_result_int(context, MatchLike(ArgumentText(argv[0]), ArgumentText(argv[1]), escape));
    } catch (const std::bad_alloc&) {
        sqlite3_result_error_nomem(context);
    }
}

int CompareUtf16(void*, int bytesA, const void* a, int bytesB, const void* b) {
    return CompareNoCase({static_cast<const char16_t*>(a), static_cast<size_t>(bytesA) / sizeof(char16_t)},
                         {static_cast<const char16_t*>(b), static_cast<size_t>(bytesB) / sizeof(char16_t)});
}

// A collation cannot report a failure; out of memory, the texts compare as equal.
int CompareUtf8(void*, int bytesA, const void* a, int bytesB, const void* b) {
    try {
        return CompareNoCase(Utf8ToUtf16({static_cast<const char*>(a), static_cast<size_t>(bytesA)}),
                             Utf8ToUtf16({static_cast<const char*>(b), static_cast<size_t>(bytesB)}));
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

struct Function {
    const char* name;
    int arguments;
    void (*call)(sqlite3_context*, int, sqlite3_value**);
};

constexpr Function kFunctions[] = {
    {"unicode_version", 0, UnicodeVersion},
    {"like", 2, Like},
    {"like", 3, Like},
    {"fold", 1, MapFunction<FoldText>},
    {"lower", 1, MapFunction<LowerText>},
    {"upper", 1, MapFunction<UpperText>},
    {"title", 1, MapFunction<TitleText>},
    {"unaccent", 1, MapFunction<UnaccentText>},
};

} // namespace

int RegisterTextFunctions(sqlite3* connection) {
    for (const Function& function : kFunctions)
        if (sqlite3_create_function(connection, function.name, function.arguments, SQLITE_ANY, nullptr,
                                    function.call, nullptr, nullptr) != SQLITE_OK)
            break;
    sqlite3_create_collation(connection, "NOCASE", SQLITE_UTF8, nullptr, CompareUtf8);
    // Aligned UTF-16: text straight from a UTF-16 database page may otherwise start at an odd address.
    return sqlite3_create_collation(connection, "NOCASE", SQLITE_UTF16_ALIGNED, nullptr, CompareUtf16);
}
