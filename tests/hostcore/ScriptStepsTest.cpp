// The scripted run's texts: steps and the picker's answer, read the same by every host program.
#include "hostcore/ScriptSteps.h"

#include <gtest/gtest.h>

TEST(ScriptSteps, ParsedFromSemicolonsOrLinesWithTheirArguments) {
    std::vector<ScriptStep> steps;
    std::u16string error;
    ASSERT_TRUE(ParseScriptSteps(u" menu A/B ;\n\npress Создать отчёт (HTML);close", steps, error));
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[1].verb, u"press");
    EXPECT_EQ(steps[1].argument, u"Создать отчёт (HTML)");
    EXPECT_EQ(steps[2].argument, u"");
    ASSERT_TRUE(ParseScriptSteps(DemoSteps(), steps, error));
    EXPECT_EQ(steps.size(), 6u);
}

TEST(ScriptSteps, UnknownVerbOrMissingArgumentIsRefusedWithItsText) {
    const struct {
        std::u16string_view text, error;
    } cases[] = {
        {u"menu A; click B", u"Неизвестный шаг сценария \"click B\": ожидается menu, press, print, shot, close."},
        {u"shot", u"Шагу сценария \"shot\" нужен аргумент."},
        {u"press  ", u"Шагу сценария \"press\" нужен аргумент."},
    };
    for (const auto& c : cases) {
        std::vector<ScriptStep> steps;
        std::u16string error;
        EXPECT_FALSE(ParseScriptSteps(c.text, steps, error));
        EXPECT_EQ(error, c.error);
    }
}

TEST(PickAnswer, ReadsAllCancelOrIdsAndRefusesAnythingElse) {
    const struct {
        std::u16string_view text;
        bool read;
        PickAnswer::Kind kind;
        std::vector<uint32_t> ids;
    } cases[] = {
        {u" all ", true, PickAnswer::All, {}},
        {u"cancel", true, PickAnswer::Cancel, {}},
        {u"4, 1,4294967295", true, PickAnswer::Ids, {4, 1, 4294967295u}},
        {u"4294967296", false, PickAnswer::Ids, {}},
        {u"1,,2", false, PickAnswer::Ids, {}},
        {u"-1", false, PickAnswer::Ids, {}},
        {u"All", false, PickAnswer::Ids, {}},
        {u"", false, PickAnswer::Ids, {}},
    };
    for (const auto& c : cases) {
        PickAnswer answer;
        EXPECT_EQ(ParsePickAnswer(c.text, answer), c.read);
        if (c.read) {
            EXPECT_EQ(answer.kind, c.kind);
            EXPECT_EQ(answer.ids, c.ids);
        }
    }
}

TEST(PlainText, DropsTheAccessKeyMarks) {
    EXPECT_EQ(PlainText(u"&Отмена"), u"Отмена");
    EXPECT_EQ(PlainText(u"A && B&"), u"A & B");
}
