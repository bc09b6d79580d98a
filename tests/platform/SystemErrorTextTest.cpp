#include "platform/system/SystemErrorText.h"
#include "platform/system/PathName.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

TEST(SystemErrorText, GivesTheLibraryTextOfASystemErrorInTheUsersLanguage) {
    ScopedEnvironment environment;
    environment.Unset("LANGUAGE");
    environment.Set("LC_ALL", "C");
    EXPECT_EQ(SystemErrorText(HResultFromErrno(EACCES)), u"Permission denied");
    EXPECT_EQ(SystemErrorText(E_OUTOFMEMORY), u"Cannot allocate memory");
    environment.Set("LC_ALL", "ru_RU.UTF-8");
    const auto russian = SystemErrorText(HResultFromErrno(EACCES));
    ASSERT_TRUE(russian);
    if (*russian == u"Permission denied")
        GTEST_SKIP() << "no Russian messages of the C library on this machine";
    EXPECT_EQ(*russian, u"Отказано в доступе");
}

TEST(SystemErrorText, KnowsThePlatformCodesAndNothingElse) {
    EXPECT_EQ(SystemErrorText(E_FAIL), u"Unspecified error");
    EXPECT_EQ(SystemErrorText(RPC_E_CHANGED_MODE), u"Cannot change thread mode after it is set.");
    EXPECT_EQ(SystemErrorText(XML_E_FORBIDDEN),
              u"The stylesheet tried to read or write a file or a network resource.");
    EXPECT_FALSE(SystemErrorText(static_cast<HRESULT>(0x80049999u)));
    EXPECT_FALSE(SystemErrorText(HResultFromErrno(9999)));
    EXPECT_FALSE(SystemErrorText(S_OK));
}

TEST(PathFindFileName, IsTheTextAfterTheLastSeparatorOfEitherKind) {
    EXPECT_EQ(PathFindFileName(u"C:\\Data\\2024\\проба 1.vlx"), u"проба 1.vlx");
    EXPECT_EQ(PathFindFileName(u"/home/lab/data\\b.vlx"), u"b.vlx");
    EXPECT_EQ(PathFindFileName(u"plain.vlx"), u"plain.vlx");
    EXPECT_EQ(PathFindFileName(u"folder/"), u"");
}
