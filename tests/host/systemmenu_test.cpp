#include "host/systemmenu.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

int Pixel(const std::vector<uint8_t>& rgb, int w, int x, int y) { return rgb[(size_t(y) * w + x) * 3 + 2]; }

TEST(SystemMenu, TheGameIsDimmedUnderTheTitleAndTheCursorsButtonIsLit)
{
    std::vector<uint8_t> upperGame(400 * 240 * 3, 240), lowerGame(320 * 240 * 3, 240), upper, lower;
    HostComposeSystemMenu(kSystemMenuHome, kSystemMenuResume, upperGame, lowerGame, &upper, &lower);
    ASSERT_EQ(upper.size(), upperGame.size());
    ASSERT_EQ(lower.size(), lowerGame.size());
    EXPECT_EQ(Pixel(upper, 400, 2, 2), 80) << "dimmed";
    int white = 0;
    for (int x = 0; x < 400; ++x) white += Pixel(upper, 400, x, 120) == 255;
    EXPECT_GT(white, 20) << "the title crosses the middle row";

    // The buttons answer touches inside them only, and the lit one follows the cursor.
    const int resume = HostSystemMenuButtonAt(50, 160), close = HostSystemMenuButtonAt(200, 160);
    EXPECT_EQ(resume, kSystemMenuResume);
    EXPECT_EQ(close, kSystemMenuClose);
    EXPECT_EQ(HostSystemMenuButtonAt(160, 60), -1);
    std::vector<uint8_t> other;
    HostComposeSystemMenu(kSystemMenuHome, kSystemMenuClose, upperGame, lowerGame, &upper, &other);
    EXPECT_NE(Pixel(lower, 320, 45, 155), Pixel(other, 320, 45, 155));
    EXPECT_NE(Pixel(lower, 320, 175, 155), Pixel(other, 320, 175, 155));

    // Without a picture of the game (nothing shown yet) the menu stands on black.
    HostComposeSystemMenu(kSystemMenuPower, kSystemMenuResume, {}, {}, &upper, &lower);
    EXPECT_EQ(Pixel(upper, 400, 2, 2), 0);
}

}  // namespace
