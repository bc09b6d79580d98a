#include "platform/ui/QtMessageBox.h"
#include "support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

TEST(QtMessageBox, ABoxCarriesCaptionTextIconAndOneOkButton) {
    const auto error =
        MakeMessageBox({nullptr, u"Не удалось открыть файл", u"atmocalc", MB_OK | MB_ICONERROR});
    EXPECT_EQ(error->windowTitle(), QString::fromStdU16String(u"atmocalc"));
    EXPECT_EQ(error->text(), QString::fromStdU16String(u"Не удалось открыть файл"));
    EXPECT_EQ(error->icon(), QMessageBox::Critical);
    EXPECT_EQ(error->standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(MakeMessageBox({nullptr, u"x", u"y", MB_ICONEXCLAMATION})->icon(), QMessageBox::Warning);
    EXPECT_EQ(MakeMessageBox({nullptr, u"x", u"y", MB_OK})->icon(), QMessageBox::NoIcon);
}

TEST(QtMessageBox, ATestsRecorderStaysInstalled) {
    MessageBoxRecorder recorder;
    EXPECT_FALSE(InstallQtMessageBoxHandler());
    ShowMessageBox(nullptr, u"текст", u"atmocalc", MB_ICONERROR);
    EXPECT_EQ(recorder.Texts(), std::vector<std::u16string>{u"текст"});
}

TEST(QtMessageBox, WithoutADisplayTheBoxIsWrittenToStandardError) {
    ASSERT_TRUE(InstallQtMessageBoxHandler());
    EXPECT_TRUE(InstallQtMessageBoxHandler()); // installing again keeps it
    testing::internal::CaptureStderr();
    EXPECT_EQ(ShowMessageBox(nullptr, u"Ошибка", u"atmocalc", MB_ICONERROR), IDOK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "[atmocalc] error: Ошибка\n");
    SetMessageBoxHandler({});
}
