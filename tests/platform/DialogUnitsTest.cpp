#include "platform/ui/DialogEx.h"
#include "platform/ui/QtDialogFont.h"
#include "platform/ui/QtGeometry.h"

#include <QWidget>

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
    EXPECT_EQ(FromQRect(dialog.GetDlgItem(1001)->GetSafeHwnd()->geometry()),
              MapDialogRect(units, 7, 7, 86, 14));
}

TEST(DialogUnits, PixelMeasuresGrowWithTheFontsBaseUnits) {
    const PixelScale same = FontPixelScale(kReferenceBaseUnits);
    EXPECT_EQ(ScalePixels(250, same.x), 250);
    EXPECT_EQ(ScalePixels(22, same.y), 22);
    // A font with base units 7 x 15: widths by 7/6, heights by 15/13, rounded to the nearest pixel.
    const PixelScale larger = FontPixelScale({7, 15});
    EXPECT_EQ(ScalePixels(250, larger.x), 292); // 291.67
    EXPECT_EQ(ScalePixels(975, larger.x), 1138); // 1137.5
    EXPECT_EQ(ScalePixels(560, larger.y), 646); // 646.15
    EXPECT_EQ(ScalePixels(2, larger.y), 2);
}
