#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lib/screenapi.h"
#include "platform/render.h"
#include "shell/globals.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

std::vector<std::string> handlerCalls;
int framesToRun = 0;
int failOpen = 0, failDraw = 0, failClose = 0;

int OpenHandler() { return handlerCalls.push_back("open"), !failOpen; }
int DrawHandler() { return handlerCalls.push_back("draw"), !failDraw; }
int InputHandler()
{
    handlerCalls.push_back("input");
    if (--framesToRun <= 0) ScreenSetResult(6);
    return 1;
}
int CloseHandler() { return handlerCalls.push_back("close"), !failClose; }

SCREENTAG fullScreen = {OpenHandler, DrawHandler, InputHandler, CloseHandler};

class ScreenApi : public ::testing::Test {
protected:
    void SetUp() override
    {
        handlerCalls.clear();
        framesToRun = 2;
        failOpen = failDraw = failClose = 0;
        done = 0;
        // The renderer's buffers live in game memory; its shader programs come from the game data.
        ASSERT_EQ(UseFreshDeviceHeap(8 << 20), 1);
        ASSERT_EQ(OpenBuildGameData(), 1);
        ASSERT_EQ(RenderInit(0x80000, 0x800, 0x502, 0x500), 1);
        ScreenInitializeAPI();
    }
    void TearDown() override
    {
        RenderDispose();
        CloseBuildGameData();
        ReleaseDeviceHeap();
    }
};

TEST_F(ScreenApi, RunsHandlersPerFrameUntilTheResultChanges)
{
    ScreenSelect(&fullScreen);
    EXPECT_EQ(RunAPIScreen(), 6);
    EXPECT_EQ(handlerCalls, (std::vector<std::string>{"open", "draw", "input", "draw", "input", "close"}));
}

TEST_F(ScreenApi, HandlerFailures)
{
    ScreenSelect(&fullScreen);
    failOpen = 1;
    EXPECT_EQ(RunAPIScreen(), kScreenResultHandlerFailed);
    EXPECT_EQ(handlerCalls, (std::vector<std::string>{"open"}));  // no close after a failed open

    handlerCalls.clear();
    failOpen = 0;
    failDraw = 1;
    ScreenSetResult(0);
    EXPECT_EQ(RunAPIScreen(), 0);  // the screen ends, the result stays
    EXPECT_EQ(handlerCalls, (std::vector<std::string>{"open", "draw", "close"}));

    handlerCalls.clear();
    failDraw = 0;
    failClose = 1;
    EXPECT_EQ(RunAPIScreen(), kScreenResultHandlerFailed);
}

TEST_F(ScreenApi, DoneEndsBeforeAnyHandler)
{
    ScreenSelect(&fullScreen);
    done = 1;
    EXPECT_EQ(RunAPIScreen(), kScreenResultQuit);
    EXPECT_TRUE(handlerCalls.empty());
    done = 0;
}

SCREENTAG otherScreen = {nullptr, nullptr, nullptr, nullptr};
int SelectOtherScreen()
{
    handlerCalls.push_back("input");
    return ScreenSelect(&otherScreen);
}

TEST_F(ScreenApi, SelectingAnotherScreenEndsThisOneWithItsOwnClose)
{
    SCREENTAG switching = {nullptr, nullptr, SelectOtherScreen, CloseHandler};
    ScreenSelect(&switching);
    EXPECT_EQ(RunAPIScreen(), 0);
    EXPECT_EQ(handlerCalls, (std::vector<std::string>{"input", "close"}));
    EXPECT_EQ(currentScreen.closeHandler, nullptr);  // the next run uses the new screen
}

TEST_F(ScreenApi, SelectNullKeepsHandlersAndQuits)
{
    ScreenSelect(&fullScreen);
    screenChanged = 0;
    EXPECT_EQ(ScreenSelect(nullptr), 1);
    EXPECT_EQ(ScreenGetResult(), -1);
    EXPECT_EQ(screenChanged, 1);
    EXPECT_EQ(currentScreen.drawHandler, DrawHandler);
}

TEST_F(ScreenApi, SafeAreasOfBothScreens)
{
    ScreenChangeDisplayMode();
    EXPECT_EQ(displaySafeAreaUpper.left, 2);
    EXPECT_EQ(displaySafeAreaUpper.top, 1);
    EXPECT_EQ(displaySafeAreaUpper.right, 398);
    EXPECT_EQ(displaySafeAreaUpper.bottom, 238);
    EXPECT_EQ(displaySafeArea.left, 2);
    EXPECT_EQ(displaySafeArea.right, 318);
    EXPECT_EQ(displaySafeArea.bottom, 238);
    EXPECT_EQ(displaySafeArea.centerX, 160);
    EXPECT_FLOAT_EQ(displaySafeArea.percentWidth, 0.99f);
    EXPECT_EQ(screenBuffer, &frameBufferLower);
    EXPECT_EQ(clipRight, 320);
    EXPECT_EQ(clipBottom, 240);
}

TEST_F(ScreenApi, ClippingEdgesAndClippedQuads)
{
    ScreenChangeDisplayMode();
    ScreenSetClipping(-1, -1, 100, -1);
    EXPECT_EQ(clipLeft, 0);
    EXPECT_EQ(clipTop, 0);
    EXPECT_EQ(clipRight, 100);
    EXPECT_EQ(clipBottom, 240);

    DS3_bitmap_tag image{};
    image.width = image.height = 16;
    // Wholly outside: nothing to draw counts as success.
    EXPECT_EQ(ClipScreenPoly(&image, 0, 0, 100, 0, 10, 10), 1);
    EXPECT_EQ(ClipScreenPoly(&image, 0, 0, -10, 0, 10, 10), 1);
    EXPECT_EQ(ClipScreenPoly(&image, 0, 0, -10, 5, 30, 10), 1);
}

}  // namespace
