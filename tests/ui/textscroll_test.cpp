// The text scroll's fade: a row fades in over the bottom inset and out over the top one, and a
// window without height or insets (the defaults) shows its rows whole instead of dividing by 0.
#include <gtest/gtest.h>

#include <cmath>

#include "ui/widgets/textscroll.h"

TEST(UiTextScrollFade, RowsFadeOverTheInsetsAndAWindowWithoutHeightDoesNotDivideByZero)
{
    // Insets of 24 in a window of 240: a tenth at each end.
    EXPECT_FLOAT_EQ(BasicUi_TextScrollOpacity(0.05f, 24, 240), 0.5f);
    EXPECT_FLOAT_EQ(BasicUi_TextScrollOpacity(0.5f, 24, 240), 1.0f);
    EXPECT_NEAR(BasicUi_TextScrollOpacity(0.975f, 24, 240), 0.25f, 1e-5f);
    EXPECT_EQ(BasicUi_TextScrollOpacity(-0.01f, 24, 240), 0.0f);
    EXPECT_EQ(BasicUi_TextScrollOpacity(1.01f, 24, 240), 0.0f);
    for (float p : {0.0f, 0.3f, 1.0f}) {
        float a = BasicUi_TextScrollOpacity(p, 0, 0), b = BasicUi_TextScrollOpacity(p, 16, 0);
        EXPECT_EQ(a, 1.0f) << p;
        EXPECT_EQ(b, 1.0f) << p;
        EXPECT_EQ(BasicUi_TextScrollOpacity(p, 0, 240), 1.0f) << p;
    }
}
