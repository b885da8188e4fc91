// The heads-up display's figures: where the pin diagram puts each standing pin, and the ball
// speed as the plate shows it.
#include "overlays/hud.h"

#include <gtest/gtest.h>

#include "lib/screenapi.h"
#include "shell/globals.h"

namespace {

TEST(HeadsUpDisplay, ThePinDiagramStandsTheRackAsATriangle)
{
    const int w = 10, h = 12, bgH = 60;
    int x[11] = {}, y[11] = {};
    for (int pin = 1; pin <= 10; ++pin) ASSERT_EQ(PinDiagramMarkerPosition(pin, bgH, w, h, &x[pin], &y[pin]), 1) << pin;
    int dummy = 0;
    EXPECT_EQ(PinDiagramMarkerPosition(0, bgH, w, h, &dummy, &dummy), 0);
    EXPECT_EQ(PinDiagramMarkerPosition(11, bgH, w, h, &dummy, &dummy), 0);

    const int centre = screenBufferHalfWidth + 90;
    const int bottom = displaySafeArea.top + bgH;
    EXPECT_EQ(x[1] + w / 2, centre) << "the head pin in the middle";
    EXPECT_EQ(y[1], bottom - h - 2) << "at the foot of the diagram";
    EXPECT_EQ(x[5], x[1]) << "pin 5 straight behind the head pin";
    // Rows rise towards the back, and each row is the same height across.
    EXPECT_LT(y[2], y[1]);
    EXPECT_LT(y[4], y[2]);
    EXPECT_LT(y[7], y[4]);
    for (int pin : {3}) EXPECT_EQ(y[pin], y[2]);
    for (int pin : {5, 6}) EXPECT_EQ(y[pin], y[4]);
    for (int pin : {8, 9, 10}) EXPECT_EQ(y[pin], y[7]);
    // Left and right stand mirrored about the middle, within a pixel of the artwork's spacing.
    const int pairs[][2] = {{2, 3}, {4, 6}, {7, 10}, {8, 9}};
    for (const auto& p : pairs) {
        const int left = centre - (x[p[0]] + w / 2), right = (x[p[1]] + w / 2) - centre;
        EXPECT_LE(std::abs(left - right), 1) << p[0] << " and " << p[1];
        EXPECT_GT(left, 0);
    }
    EXPECT_EQ(x[8], x[2]);
    EXPECT_EQ(x[9], x[3]);
}

TEST(HeadsUpDisplay, TheSpeedPlateShowsMilesPerHourToATenth)
{
    int whole = 0, tenth = 0;
    BallSpeedMPH(22.0f, &whole, &tenth);
    EXPECT_EQ(whole, 15);
    EXPECT_EQ(tenth, 0);
    const float mph = BallSpeedMPH(25.0f, &whole, &tenth);  // 17.045 mph
    EXPECT_NEAR(mph, 17.045f, 0.001f);
    EXPECT_EQ(whole, 17);
    EXPECT_EQ(tenth, 0);
    BallSpeedMPH(26.5f, &whole, &tenth);  // 18.068
    EXPECT_EQ(whole, 18);
    EXPECT_EQ(tenth, 0);
    BallSpeedMPH(27.0f, &whole, &tenth);  // 18.409
    EXPECT_EQ(whole, 18);
    EXPECT_EQ(tenth, 4);
    BallSpeedMPH(0.0f, nullptr, nullptr);
    // A throw at almost no speed, less the readout's jitter, reads 0.0 and not "0.-9".
    EXPECT_EQ(BallSpeedMPH(-1.4f, &whole, &tenth), 0.0f);
    EXPECT_EQ(whole, 0);
    EXPECT_EQ(tenth, 0);
}

}  // namespace
