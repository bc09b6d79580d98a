#include "calc/MessageLines.h"

#include <gtest/gtest.h>

using Lines = std::vector<std::u16string>;

TEST(MessageLines, NumbersAcrossTheGroupsAndLeavesOutEmptyOnes) {
    EXPECT_EQ(MessageLines({u"Первая.", u"Вторая."}, {}, {u"Сведения."}),
              (Lines{u"Ошибки:", u"    1. Первая.", u"    2. Вторая.", u"Информация:", u"    3. Сведения."}));
    EXPECT_EQ(MessageLines({u"Ошибка."}, {u"Предупреждение."}, {}),
              (Lines{u"Ошибки:", u"    1. Ошибка.", u"Предупреждения:", u"    2. Предупреждение."}));
}

TEST(MessageLines, NoMessagesGiveNoLines) {
    EXPECT_TRUE(MessageLines({}, {}, {}).empty());
}

TEST(MessageLines, AMessageIsWrittenAsItIs) {
    EXPECT_EQ(MessageLines({}, {}, {u"100% \"в кавычках\" %d"}),
              (Lines{u"Информация:", u"    1. 100% \"в кавычках\" %d"}));
}
