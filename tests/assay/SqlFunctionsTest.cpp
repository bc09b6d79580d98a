#include "SqlTestSupport.h"
#include "assay/Database.h"
#include "platform/text/Utf.h"

#include <gtest/gtest.h>

namespace {

// Statements run on the private temporary database an empty path opens; sqlite3_open16 makes it UTF-16.
class SqlFunctions : public ::testing::Test {
protected:
    std::optional<std::u16string> Value(const std::u16string& sql) { return QueryValue(guard.get(), sql); }

    // The message of the error the statement fails with; empty when it does not fail.
    std::string Error(const std::u16string& sql) {
        try {
            QueryColumn(guard.get(), sql);
        } catch (const DataBase::SqlException& e) {
            EXPECT_EQ(e.code, SQLITE_ERROR);
            return e.what();
        }
        return {};
    }

    DatabaseGuard guard{OpenDatabase(u"")};
};

} // namespace

TEST_F(SqlFunctions, ReportsTheUnicodeVersionOfItsTables) {
    EXPECT_EQ(Value(u"SELECT unicode_version();"), u"5.1.0.12");
}

TEST_F(SqlFunctions, CaseFunctionsMapCyrillicAndLatinOneCharacterToOne) {
    EXPECT_EQ(Value(u"SELECT lower('МЕТАН Ёж ABC');"), u"метан ёж abc");
    EXPECT_EQ(Value(u"SELECT fold('МЕТАН Ёж ABC');"), u"метан ёж abc");
    EXPECT_EQ(Value(u"SELECT upper('метан ёж abc');"), u"МЕТАН ЁЖ ABC");
    EXPECT_EQ(Value(u"SELECT title('метан ǆ abc');"), u"МЕТАН ǅ ABC");
    EXPECT_EQ(Value(u"SELECT upper('straße') || length(upper('straße'));"), u"STRAßE6");
    EXPECT_EQ(Value(u"SELECT lower(12.5);"), u"12.5");
}

// U+FEFF and U+FFFE at the start of a result are characters like any other, not a byte-order mark.
TEST_F(SqlFunctions, MappingsKeepALeadingByteOrderMarkCharacter) {
    // The temporary database holds its text as UTF-16 in this machine's byte order; hex() shows those
    // bytes, and a blob of them cast to text is that text.
    const auto hex = [](std::u16string_view text) {
        std::u16string digits;
        for (const unsigned char byte : std::string_view(reinterpret_cast<const char*>(text.data()),
                                                         text.size() * sizeof(char16_t)))
            for (const int nibble : {byte >> 4, byte & 15})
                digits += u"0123456789ABCDEF"[nibble];
        return digits;
    };
    const std::u16string swapped = u"\uFFFE1";
    for (const char16_t* function : {u"fold", u"lower", u"upper", u"title", u"unaccent"}) {
        SCOPED_TRACE(Utf16ToUtf8(function));
        const std::u16string f(function);
        EXPECT_EQ(Value(u"SELECT length(" + f + u"(char(65279) || 'abc'));"), u"4");
        EXPECT_EQ(Value(u"SELECT hex(" + f + u"(char(65279) || '1'));"), hex(u"\uFEFF1"));
        EXPECT_EQ(Value(u"SELECT hex(" + f + u"(CAST(X'" + hex(swapped) + u"' AS TEXT)));"), hex(swapped));
    }
}

TEST_F(SqlFunctions, UnaccentRemovesMarksAndSpellsOutLetters) {
    EXPECT_EQ(Value(u"SELECT unaccent('Crème brûlée, Ёлка, Straße, Øresund, ﬁ');"),
              u"Creme brulee, Елка, Strasse, Oresund, fi");
}

TEST_F(SqlFunctions, NullArgumentGivesNull) {
    for (const char16_t* sql :
         {u"SELECT fold(NULL);", u"SELECT lower(NULL);", u"SELECT upper(NULL);", u"SELECT title(NULL);",
          u"SELECT unaccent(NULL);", u"SELECT NULL LIKE 'a';", u"SELECT 'a' LIKE NULL;",
          u"SELECT 'a' LIKE 'a' ESCAPE NULL;", u"SELECT like(NULL, NULL);"}) {
        SCOPED_TRACE(Utf16ToUtf8(sql));
        EXPECT_EQ(Value(sql), std::nullopt);
    }
}

TEST_F(SqlFunctions, LikeComparesCyrillicAndLatinWithoutCase) {
    EXPECT_EQ(Value(u"SELECT 'метан' LIKE 'МЕТ%';"), u"1");
    EXPECT_EQ(Value(u"SELECT 'Бензол' LIKE '%ЗОЛ';"), u"1");
    EXPECT_EQ(Value(u"SELECT 'метан' LIKE 'М_ТАН';"), u"1");
    EXPECT_EQ(Value(u"SELECT 'метан' LIKE 'М_АН';"), u"0");
    EXPECT_EQ(Value(u"SELECT 'Methane' LIKE 'mETHANE';"), u"1");
    EXPECT_EQ(Value(u"SELECT like('МЕТ%', 'метан');"), u"1");
    EXPECT_EQ(Value(u"SELECT 'a[b]c' LIKE 'A[B]C';"), u"1"); // "[" is an ordinary character
    EXPECT_EQ(Value(u"SELECT 'abc' LIKE '[ab]bc';"), u"0");
}

TEST_F(SqlFunctions, LikeEscapeMakesTheNextCharacterLiteral) {
    EXPECT_EQ(Value(u"SELECT '10%' LIKE '10!%' ESCAPE '!';"), u"1");
    EXPECT_EQ(Value(u"SELECT '100' LIKE '10!%' ESCAPE '!';"), u"0");
    EXPECT_EQ(Value(u"SELECT 'a_b' LIKE 'A\\_B' ESCAPE '\\';"), u"1");
    EXPECT_EQ(Value(u"SELECT 'axb' LIKE 'a\\_b' ESCAPE '\\';"), u"0");
    EXPECT_EQ(Value(u"SELECT 'a!b' LIKE 'a!!b' ESCAPE '!';"), u"1");
    EXPECT_EQ(Value(u"SELECT 'ab!' LIKE 'ab!' ESCAPE '!';"), u"0"); // a pattern ending in the escape
    EXPECT_EQ(Value(u"SELECT '5%' LIKE '5ж%' ESCAPE 'ж';"), u"1");
    EXPECT_EQ(Value(u"SELECT like('5ж%', '5%', 'ж');"), u"1");
}

TEST_F(SqlFunctions, LikeRefusesBadEscapeAndTooLongPattern) {
    EXPECT_EQ(Error(u"SELECT 'a' LIKE 'a' ESCAPE 'ab';"), "ESCAPE expression must be a single character");
    EXPECT_EQ(Error(u"SELECT 'a' LIKE 'a' ESCAPE '';"), "ESCAPE expression must be a single character");
    // The limit counts bytes of UTF-8: 25000 Cyrillic letters are 50000 bytes.
    std::u16string letters(25000, u'а');
    EXPECT_EQ(Error(u"SELECT 'а' LIKE '" + letters + u"';"), "");
    letters += u'а';
    EXPECT_EQ(Error(u"SELECT 'а' LIKE '" + letters + u"';"), "LIKE or GLOB pattern too complex");
}

TEST_F(SqlFunctions, LikeAnswersPathologicalPatternWithoutBacktracking) {
    // Exponential backtracking would try some 10^27 ways here and never finish.
    const std::u16string text = u"replace(hex(zeroblob(10000)), '0', 'a')";
    EXPECT_EQ(Value(u"SELECT " + text + u" LIKE '%a%a%a%a%a%a%a%a%b';"), u"0");
    EXPECT_EQ(Value(u"SELECT (" + text + u" || 'b') LIKE '%a%a%a%a%a%a%a%a%b';"), u"1");
}

TEST_F(SqlFunctions, NocaseCollationSortsByFoldedCharacters) {
    // The empty path's database is UTF-16 and uses the UTF-16 collation; a file made by sqlite3_open is
    // UTF-8 and uses the UTF-8 one.
    TempFolder folder;
    const auto file = folder.path / "utf8.db";
    MakeDatabase(file, "PRAGMA encoding = 'UTF-8'; CREATE TABLE unused(x);");
    const DatabaseGuard utf8(OpenDatabase(file.u16string()));
    ASSERT_EQ(QueryValue(guard.get(), u"PRAGMA encoding;"), u"UTF-16le");
    ASSERT_EQ(QueryValue(utf8.get(), u"PRAGMA encoding;"), u"UTF-8");

    const std::vector<std::optional<std::u16string>> sorted = {u"abc", u"Азот",  u"Бензол", u"вода",
                                                               u"мет", u"МЕТАН", u"ЭТАН",   u"Ёлка"};
    for (sqlite3* connection : {guard.get(), utf8.get()}) {
        Execute(connection, "CREATE TABLE names(name TEXT);"
                            "INSERT INTO names VALUES ('ЭТАН'), ('вода'), ('Ёлка'), ('МЕТАН'), ('Азот'), "
                            "('мет'), ('abc'), ('Бензол');");
        EXPECT_EQ(QueryColumn(connection, u"SELECT name FROM names ORDER BY name COLLATE NOCASE;"), sorted);
        EXPECT_EQ(QueryValue(connection, u"SELECT 'метан' = 'МЕТАН' COLLATE NOCASE;"), u"1");
        EXPECT_EQ(QueryValue(connection, u"SELECT count(*) FROM names WHERE name = 'этан' COLLATE NOCASE;"),
                  u"1");
    }
}
