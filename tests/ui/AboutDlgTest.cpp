#include "DialogTestSupport.h"

#include "platform/ui/Static.h"
#include "ui/AboutDlg.h"

TEST(CAboutDlg, ShowsTheVersionConstantTheLargeIconAndClosesWithOk) {
    CAboutDlg dialog;
    std::u16string version;
    int iconWidth = 0;
    int scaledWidth = 0;
    bool windowIcon = false;
    EXPECT_EQ(RunModal<CAboutDlg>(
                  dialog,
                  [&](CAboutDlg& d) {
                      version = d.GetDlgItemText(1021);
                      iconWidth = d.GetDlgItem(1001)->GetWindowRect().Width(); // the icon control takes its size
                      scaledWidth = ScalePixels(80, FontPixelScale(d.GetBaseUnits()).x);
                      windowIcon = d.GetIcon(true) && d.GetIcon(false) && d.GetDlgItemAs<CStatic>(1001)->GetIcon();
                      ClickButton(d, IDOK);
                  }),
              IDOK);
    EXPECT_EQ(version, u" 1.0.2.0");
    EXPECT_EQ(iconWidth, scaledWidth); // 80 pixels at the reference font
    EXPECT_TRUE(windowIcon);
}
