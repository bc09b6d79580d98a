// The desktop's measures, the same on both systems (a virtual display of at least 640 x 480 whose
// first screen starts at 0, 0).
#include "platform/ui/Metrics.h"

#include <gtest/gtest.h>

TEST(Metrics, ARectangleIsOnAScreenWhenAnyPartOfItIs) {
    const struct {
        CRect rect;
        bool onScreen;
    } cases[] = {
        {{0, 0, 640, 480}, true},
        {{-300, -200, 10, 10}, true},    // mostly above and left of the screen
        {{600, 400, 5000, 4000}, true},  // mostly below and right of it
        {{-5000, -4000, -4000, -3000}, false},
        {{100000, 100000, 100640, 100480}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RectOnSomeScreen(c.rect), c.onScreen)
            << c.rect.left << "," << c.rect.top << "," << c.rect.right << "," << c.rect.bottom;
}

TEST(Metrics, AVerticalScrollBarHasAWidth) {
    EXPECT_GT(GetSystemMetrics(SM_CXVSCROLL), 0);
    EXPECT_LT(GetSystemMetrics(SM_CXVSCROLL), 100);
}
