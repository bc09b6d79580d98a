#include "platform/system/MessageBox.h"
#include "support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

TEST(MessageBox, GoesToTheInstalledHandlerAndBackToStderrAfterwards) {
    {
        MessageBoxRecorder recorder;
        EXPECT_EQ(ShowMessageBox(nullptr, u"текст", u"atmocalc", MB_OK | MB_ICONERROR), IDOK);
        ASSERT_EQ(recorder.boxes.size(), 1u);
        EXPECT_EQ(recorder.boxes[0].text, u"текст");
        EXPECT_EQ(recorder.boxes[0].caption, u"atmocalc");
        EXPECT_EQ(recorder.boxes[0].flags, MB_ICONERROR);
    }
    testing::internal::CaptureStderr();
    ShowMessageBox(nullptr, u"Ошибка", u"atmocalc", MB_ICONEXCLAMATION);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "[atmocalc] warning: Ошибка\n");
}
