// A celebration clip over a game: it is drawn on the lower screen inside the heads-up display's
// frame, and the score sheet and the pause menu take the lower screen back by disposing of it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/gameloop.h"
#include "game/replay.h"
#include "host/gpu.h"
#include "host/host.h"
#include "lib/resourceload.h"
#include "lib/screenapi.h"
#include "lib/videofiles.h"
#include "overlays/overlaydraw.h"
#include "overlays/overlaystack.h"
#include "overlays/homebutton.h"
#include "overlays/pausemenu.h"
#include "overlays/scoreoverlay.h"
#include "platform/render.h"
#include "platform/sound.h"
#include "platform/video.h"
#include "shell/globals.h"
#include "shell/scenedraw.h"
#include "shell/settings.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

class GlCelebrationClip : public ::testing::Test {
protected:
    HostOptions saved;

    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(72 << 20), 1);
        saved = gHostOptions;
        gHostOptions.headless = 1;
        gHostOptions.audioOut.clear();
        ASSERT_EQ(PrepareWholeGame(), 1);
        ASSERT_EQ(InitializeSoundServices(), 1);
        ASSERT_EQ(RenderInit(0x80000, 0x800, 0x502, 0x500), 1);
        ScreenChangeDisplayMode();
        // The overlay pictures, the heads-up display's frame among them, as start-up loads them.
        ASSERT_EQ(LoadResourceRange1x1(3050, 3084), 1);
        ASSERT_EQ(LoadResourceRange1x1(3200, 3299), 1);
        ASSERT_EQ(InitOverlayBitmaps(), 1);
        ASSERT_EQ(StartQuickGame(1, 1), 1);
        clip = std::string("rom:/") + kStrikeVideoFiles[0];
    }
    void TearDown() override
    {
        DisposeVideo();
        DisposeOverlayBitmaps();
        EndWholeGame();
        DisposeSoundServices();
        ReleaseDeviceHeap();
        gHostOptions = saved;
    }
    static std::vector<uint8_t> Lower()
    {
        std::vector<uint8_t> rgb;
        int w = 0, h = 0;
        EXPECT_EQ(GpuReadDisplay(kGpuDisplayLower, &rgb, &w, &h), 1);
        return rgb;
    }
    std::string clip;
};

TEST_F(GlCelebrationClip, ShowsOnTheLowerScreenInsideTheHeadsUpDisplaysFrame)
{
    OverlayExitAll();
    gCurrPlayer = 0;  // the one bowler is a person
    ASSERT_EQ(StartVideo(clip.c_str()), 1);
    int ended = 0;
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(UpdateVideo(&ended), 1);
        ASSERT_EQ(DrawGameScreen(), 1);
    }
    EXPECT_EQ(ended, 0);
    // An image is shown from the next frame on: the same picture once more, then it is read.
    ASSERT_EQ(DrawGameScreen(), 1);
    const std::vector<uint8_t> framed = Lower();
    // The clip's sky at the bottom of the screen, under the frame.
    const uint8_t* p = &framed[(236 * 320 + 160) * 3];
    EXPECT_GT(p[2], p[0] + 30) << "the first strike clip is blue";
    // Without the game's controls the heads-up display is not drawn: the clip alone.
    gGameControls = 0;
    ASSERT_EQ(DrawGameScreen(), 1);
    ASSERT_EQ(DrawGameScreen(), 1);
    gGameControls = 1;
    const std::vector<uint8_t> bare = Lower();
    int differ = 0;
    for (size_t i = 0; i < bare.size(); i += 3) differ += bare[i] != framed[i] || bare[i + 2] != framed[i + 2];
    EXPECT_GT(differ, 1000) << "the frame is drawn round the clip";
}

// The score sheet, the pause menu and the HOME menu (when it may open) each dispose of a playing
// clip as they open.
TEST_F(GlCelebrationClip, TheScoreSheetThePauseMenuAndHomeDisposeOfIt)
{
    ASSERT_EQ(StartVideo(clip.c_str()), 1);
    ASSERT_EQ(HomeButtonStartCB(), 1);
    EXPECT_EQ(VideoPlaying(), 0);
    ASSERT_EQ(StartVideo(clip.c_str()), 1);
    ASSERT_EQ(DSScoreOpenHandler(), 1);
    EXPECT_EQ(VideoPlaying(), 0);
    ASSERT_EQ(StartVideo(clip.c_str()), 1);
    ASSERT_EQ(PauseMenuOpenHandler(), 1);
    EXPECT_EQ(VideoPlaying(), 0);
    PauseMenuCloseHandler();
}

// The replay's celebration clip plays the game data's clip of its kind and index; one that does
// not exist plays nothing and leaves the replay to go on without it.
TEST_F(GlCelebrationClip, TheReplayStartsTheClipOfItsKind)
{
    EXPECT_EQ(StartCelebrationClip(CelebrationClip{kCelebrationNone, 0}), 0);
    EXPECT_EQ(StartCelebrationClip(CelebrationClip{kCelebrationSpare, kSpareVideoCount}), 0);
    EXPECT_EQ(VideoPlaying(), 0);
    ASSERT_EQ(StartCelebrationClip(CelebrationClip{kCelebrationTurkey, 0}), 1);
    EXPECT_EQ(VideoPlaying(), 1);
    DisposeVideo();
}

}  // namespace
