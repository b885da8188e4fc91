#include <gtest/gtest.h>

#include <cstdlib>

#include "host/host.h"
#include "platform/render.h"
#include "platform/utilities.h"
#include "shell/globals.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

TEST(Utilities, RandomNumbersStayBelowTheUpperBound)
{
    InitRandomNumbers();
    int seen[6] = {};
    for (int i = 0; i < 20000; ++i) {
        int n = RandomNumber(1, 6);
        ASSERT_GE(n, 1);
        ASSERT_LT(n, 6);
        ++seen[n];
    }
    for (int n = 1; n < 6; ++n) EXPECT_GT(seen[n], 3000) << n;
    // Wide ranges, where single precision would round a draw up to the bound.
    for (int i = 0; i < 20000; ++i) ASSERT_LT(RandomNumber(-2000000000, 2000000000), 2000000000);
}

TEST(Utilities, SameSeedSameSequence)
{
    InitRandomNumbers();
    int first[8];
    for (int& n : first) n = RandomNumber(0, 1000000);
    InitRandomNumbers();
    for (int n : first) EXPECT_EQ(RandomNumber(0, 1000000), n);
}

TEST(Utilities, CopyMemTakesTheSourceFirst)
{
    char a[] = "source", b[] = "------";
    CopyMem(a, b, 6);
    EXPECT_STREQ(b, "source");
    ClearMemory(a, 3);
    EXPECT_EQ(a[0] | a[1] | a[2], 0);
    EXPECT_EQ(a[3], 'r');
}

int loadFrames = 0;
int CountLoadFrame() { return ++loadFrames, 1; }
int FailLoadFrame() { return 0; }

TEST(LoadingBar, DrawsFramesOnlyWhileActiveWithACallback)
{
    done = 0;
    // The renderer's buffers live in game memory; its shader programs come from the game data.
    ASSERT_EQ(UseFreshDeviceHeap(8 << 20), 1);
    ASSERT_EQ(OpenBuildGameData(), 1);
    ASSERT_EQ(RenderInit(0x80000, 0x800, 0x502, 0x500), 1);
    loadFrames = 0;
    LoadingBarSetCallback(nullptr);
    LoadingBarStart();
    EXPECT_EQ(barActive, 0);  // no callback, no bar
    long before = HostFramesPresented();
    EXPECT_EQ(LoadingBarUpdate(), 1);
    EXPECT_EQ(HostFramesPresented(), before);  // only the upkeep ran

    LoadingBarSetCallback(CountLoadFrame);
    LoadingBarStart();
    EXPECT_EQ(barActive, 1);
    EXPECT_EQ(LoadingBarUpdate(), 1);
    EXPECT_EQ(loadFrames, 1);
    EXPECT_EQ(HostFramesPresented(), before + 1);

    EXPECT_EQ(LoadingBarUpdate(), 1);
    EXPECT_EQ(loadFrames, 1) << "loading frames follow the display's pace, not the pump's";

    LoadingBarSetCallback(FailLoadFrame);
    LoadingBarStart();
    EXPECT_EQ(LoadingBarUpdate(), 0);

    LoadingBarStop();
    EXPECT_EQ(barActive, 0);
    done = 1;
    EXPECT_EQ(LoadingBarUpdate(), 0);  // a blocking load ends when the program is told to end
    done = 0;
    LoadingBarSetCallback(nullptr);
    RenderDispose();
    CloseBuildGameData();
    ReleaseDeviceHeap();
}

}  // namespace
