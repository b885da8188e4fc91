// The overlays' clicks on the game's own sounds: each click plays once and gives its channel back
// when the sound is over, however many presses a game makes. The sound upkeep and the mixer are
// stepped by hand, one upkeep for every frame of samples mixed.
#include <gtest/gtest.h>

#include <btBulletDynamicsCommon.h>

#include <vector>

#include "game/areas.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/physics.h"
#include "host/host.h"
#include "host/mixer.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "lib/trig.h"
#include "overlays/overlaystack.h"
#include "overlays/pausemenu.h"
#include "overlays/position.h"
#include "overlays/scoreoverlay.h"
#include "platform/input.h"
#include "platform/render.h"
#include "platform/sound.h"
#include "screens/frontend.h"
#include "screens/quicklaunch.h"
#include "shell/globals.h"
#include "shell/touchbuttons.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

const int kClick = 9002;

class OverlayClicks : public ::testing::Test {
public:
    HostOptions saved;
    DS3_controller pad = {};
    DS3_controller* savedPad = nullptr;

    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(64 << 20), 1);
        saved = gHostOptions;
        gHostOptions.headless = 1;
        gHostOptions.audioOut.clear();
        ASSERT_EQ(PrepareWholeGame(), 1);
        ASSERT_EQ(InitializeSoundServices(), 1);
        ASSERT_EQ(RenderInit(0x80000, 0x800, 0x502, 0x500), 1);
        ASSERT_EQ(StartQuickGame(1, 1), 1);
        savedPad = controllers[0].controller;
        controllers[0].controller = &pad;
    }
    void TearDown() override
    {
        controllers[0].controller = savedPad;
        EndWholeGame();
        DisposeSoundServices();
        ReleaseDeviceHeap();
        gHostOptions = saved;
    }
    static int ChannelsInUse()
    {
        int n = 0;
        for (int i = 0; i < kNumSoundChannels; ++i) n += soundChannels[i].inUse;
        return n;
    }
    // The sound services run for ms milliseconds of samples.
    static void Play(int ms)
    {
        std::vector<int16_t> stereo(2 * kHostDspFrameSamples);
        const int frames = ms * kHostSampleRate / 1000 / kHostDspFrameSamples + 1;
        for (int f = 0; f < frames; ++f) {
            UpdateSoundServices();
            HostMixerRender(stereo.data(), kHostDspFrameSamples);
        }
    }
    static void Input(uint16_t held, uint16_t edges)
    {
        allInput.buttons = held;
        allInput.edges = edges;
    }
    // A touch on the pause menu's entry i: the stylus up for one input call, then down on it.
    void TouchMenuEntry(int i)
    {
        TouchButton_tag* b = PauseMenuButton(i);
        ASSERT_NE(b, nullptr);
        pad.touchData = DS3_TouchData{b->x + b->w / 2, b->y + b->h / 2, 0};
        PauseMenuInputHandler();
        pad.touchData.isTouching = 1;
        PauseMenuInputHandler();
        pad.touchData.isTouching = 0;
    }
};

TEST_F(OverlayClicks, EachClickPlaysOnceAndItsChannelIsFreeAfterTheSound)
{
    void* handle = nullptr;
    ASSERT_EQ(GetResourceHandle(kClick, &handle), 1) << "the game's sounds are loaded by its set-up";
    const int length = int(static_cast<DS3_sound_tag*>(handle)->duration);
    ASSERT_GT(length, 0);
    OverlayUpdate();
    Play(length * 2);
    const int idle = ChannelsInUse();

    struct Press {
        const char* what;
        void (*act)(OverlayClicks*);
    };
    const Press presses[] = {
        {"A on the score sheet", [](OverlayClicks*) { Input(kButtonA, kButtonA); DSScoreInputHandler(); }},
        {"A let go on the position step",
         [](OverlayClicks*) {
             // The score sheet's A is let go first (not the step's), then pressed and let go anew.
             OverlayUpdate();
             Input(0, kButtonA);
             OverlayHandleInput();
             Input(kButtonA, kButtonA);
             OverlayHandleInput();
             Input(0, kButtonA);
             DSStandardPositionInputHandler();
         }},
        {"the pause menu opening", [](OverlayClicks*) { Input(0, 0); StartPauseMenuOverlay(); OverlayUpdate(); }},
        {"Continue in the pause menu",
         [](OverlayClicks* t) { t->TouchMenuEntry(0); }},
    };
    for (const Press& press : presses) {
        SCOPED_TRACE(press.what);
        press.act(this);
        EXPECT_EQ(ChannelsInUse(), idle + 1) << "the click takes one channel";
        Play(length / 2);
        EXPECT_EQ(ChannelsInUse(), idle + 1) << "and keeps it while it sounds";
        Play(length);
        EXPECT_EQ(ChannelsInUse(), idle) << "then gives it back";
        Play(length * 3);
        EXPECT_EQ(ChannelsInUse(), idle) << "and is not heard again";
    }

    // A game's worth of presses, several a frame apart: every channel comes back.
    for (int i = 0; i < 40; ++i) {
        StartPauseMenuOverlay();
        OverlayUpdate();
        OverlayExit();
        Play(50);
    }
    Play(length * 2);
    EXPECT_EQ(ChannelsInUse(), idle);
}

}  // namespace
