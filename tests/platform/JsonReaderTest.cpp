// The JSON reader: what a document holds, and where and why a damaged one stops it.
#include "platform/text/JsonReader.h"

#include <gtest/gtest.h>

TEST(JsonReader, ReadsEveryKindOfValue) {
    std::u16string error;
    size_t offset = 0;
    const auto value = ParseJson(
        " {\"a\": [1, -2.5e2, true, false, null], \"т\": \"x\\\"\\\\\\/\\n\\u0416\\ud83d\\ude00я\", \"a\": {}}\r\n",
        error, offset);
    ASSERT_TRUE(value) << offset;
    ASSERT_EQ(value->members.size(), 3u);
    const JsonValue& list = value->members[0].second;
    ASSERT_EQ(list.items.size(), 5u);
    EXPECT_EQ(list.items[0].number, 1);
    EXPECT_EQ(list.items[1].number, -250);
    EXPECT_TRUE(list.items[2].boolean);
    EXPECT_EQ(list.items[3].type, JsonValue::Type::Boolean);
    EXPECT_EQ(list.items[4].type, JsonValue::Type::Null);
    EXPECT_EQ(value->Member(u"т")->text, u"x\"\\/\nЖ\U0001F600я");
    EXPECT_EQ(value->Member(u"a")->type, JsonValue::Type::Object); // the last of a repeated key
    EXPECT_EQ(value->Member(u"b"), nullptr);
}

TEST(JsonReader, DamagedDocumentsSayWhereAndWhy) {
    const std::string deep(300, '[');
    const struct {
        std::string_view text;
        size_t offset;
        std::u16string_view error;
    } cases[] = {
        {"", 0, u"текст оборвался"},
        {"{\"a\": 1", 7, u"текст оборвался"},
        {"{\"a\" 1}", 5, u"ожидается \":\""},
        {"{a: 1}", 1, u"ожидается имя в кавычках"},
        {"[1 2]", 3, u"ожидается \",\""},
        {"[01]", 1, u"недопустимое значение"},
        {"[1.]", 3, u"недопустимое число"},
        {"[tru]", 1, u"недопустимое значение"},
        {"\"a\tb\"", 2, u"управляющий символ внутри строки"},
        {"\"\\x\"", 2, u"недопустимая последовательность после \\"},
        {"\"\\u12g4\"", 5, u"недопустимая последовательность \\u"},
        {"\"abc", 4, u"текст оборвался внутри строки"},
        {"{} []", 3, u"после значения есть лишний текст"},
        {deep, 256, u"слишком глубокая вложенность"},
    };
    for (const auto& c : cases) {
        std::u16string error;
        size_t offset = 0;
        EXPECT_FALSE(ParseJson(c.text, error, offset)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
        EXPECT_EQ(offset, c.offset) << c.text;
    }
}
