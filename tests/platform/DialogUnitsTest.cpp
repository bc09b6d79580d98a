#include "platform/ui/DialogEx.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

TEST(DialogUnits, CornersMapOneByOneRoundingToNearest) {
    const DialogBaseUnits shellDlg8{6, 13}; // the classic base units of "MS Shell Dlg" 8
    EXPECT_EQ(MapDialogRect(shellDlg8, 0, 0, 645, 313), (CRect{0, 0, 968, 509}));
    // (7, 7, 16, 14): left 10.5 -> 11, top 11.4 -> 11, right 34.5 -> 35, bottom 34.1 -> 34
    EXPECT_EQ(MapDialogRect(shellDlg8, 7, 7, 16, 14), (CRect{11, 11, 35, 34}));
    EXPECT_EQ(MapDialogRect(shellDlg8, 7, 7, 16, 14).Width(), 24);
}

TEST(DialogUnits, BaseUnitsComeFromTheLettersAverageAndTheLineHeight) {
    const QFont font = DialogFont(u"MS Shell Dlg", 8);
    EXPECT_EQ(font.pointSize(), 8);
    const DialogBaseUnits units = MeasureBaseUnits(font);
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    EXPECT_NEAR(units.cx, letters / 52.0, 0.5 + 1e-9);
    EXPECT_EQ(units.cy, metrics.height());
    EXPECT_GE(units.cx, 4);
    EXPECT_LE(units.cx, 9);
}

namespace {
// clang-format off
const DialogTemplate kSized{900, u"Размер", WS_POPUP | WS_CAPTION | WS_SYSMENU, 100, 50, u"MS Shell Dlg", 8, {
    {1001, ControlKind::Edit, u"", WS_BORDER, 7, 7, 86, 14},
}};
// clang-format on
} // namespace

TEST(DialogUnits, ADialogAndItsControlsTakeTheirTemplateSizesInItsFontsUnits) {
    CDialogEx dialog(kSized);
    ASSERT_TRUE(dialog.Create());
    const DialogBaseUnits units = dialog.GetBaseUnits();
    const CRect client = MapDialogRect(units, 0, 0, 100, 50);
    EXPECT_EQ(dialog.GetSafeHwnd()->size(), QSize(client.Width(), client.Height()));
    EXPECT_EQ(CRect::FromQRect(dialog.GetDlgItem(1001)->GetSafeHwnd()->geometry()),
              MapDialogRect(units, 7, 7, 86, 14));
}
