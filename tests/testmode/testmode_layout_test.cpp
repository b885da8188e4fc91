// The test-mode read-out drawn in the game's default font, with the widest values its lines can
// show: every line lies on the lower screen and no two lines overlap, whichever menu is up and
// with the snapped test character shown.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "game/gameloop.h"
#include "game/records.h"
#include "platform/actorrecord.h"
#include "platform/camera.h"
#include "platform/input.h"
#include "platform/render.h"
#include "support/drawn_layout.h"
#include "testmode/testmenus.h"
#include "testmode/testmode.h"

namespace {

actor_tag character;

struct Screen {
    const char* name;
    void (*bringUp)();
};

void PrintTo(const Screen& s, std::ostream* os) { *os << s.name; }

const Screen kScreens[] = {
    {"RootMenu", [] {}},
    {"BallMenu",
     [] {
         EnterTestMenu(BallMenu, RootMenu);
         testOptions.initialBallVel = 28.0f;
         testOptions.initialBallHeading = -40.0f;
         testOptions.initialBallRotx = testOptions.initialBallRoty = -9999.0f;
         testOptions.initialBallXangle = 40.0f;
     }},
    {"MemoryMenu", [] { RootMenu[10].fn(kItemSelect, nullptr); }},
    {"ActorSnapWithATestCharacter",
     [] {
         std::snprintf(character.playerData.name, sizeof character.playerData.name, "Maximilian Wolfeschlegel");
         std::snprintf(character.scriptInfo.scriptName, sizeof character.scriptInfo.scriptName, "bowler_approach_right");
         character.Xlocation = character.Ylocation = -1234.5f;
         character.Zlocation = 123.4f;
         character.heading = -179.9f;
         testOptions.testActor = &character;
         if (!TestActorSnapEnabled()) SwitchTestActorSnap();
         testOptions.curItemNum = 8;
     }},
};

class TestModeLayout : public ::testing::TestWithParam<Screen> {
protected:
    TestOptions saved;
    float camera[8] = {};
    int switches[3] = {};
    joystickState pads[kNumControllerStates];

    void SetUp() override
    {
        ASSERT_EQ(OpenDrawnScreens(), 1);
        saved = testOptions;
        const float now[8] = {cameraX, cameraY, cameraZ, cameraXangle, cameraYangle, cameraZangle, cameraZoom,
                              cameraViewingDistance};
        std::copy(now, now + 8, camera);
        switches[0] = gDrawTestInfo, switches[1] = userCamera, switches[2] = TestActorSnapEnabled();
        std::copy(controllers, controllers + kNumControllerStates, pads);
        ASSERT_EQ(InitTestMode(), 1);
        cameraX = cameraY = -12345.6f;
        cameraZ = -1234.5f;
        cameraXangle = 178.0f;
        cameraYangle = cameraZangle = -179.9f;
        cameraZoom = 7500.0f;
        cameraViewingDistance = 1234.5f;
    }
    void TearDown() override
    {
        if (TestActorSnapEnabled() != switches[2]) SwitchTestActorSnap();
        DisposeTestMode();
        testOptions = saved;
        cameraX = camera[0], cameraY = camera[1], cameraZ = camera[2], cameraXangle = camera[3];
        cameraYangle = camera[4], cameraZangle = camera[5], cameraZoom = camera[6], cameraViewingDistance = camera[7];
        gDrawTestInfo = switches[0];
        userCamera = switches[1];
        std::copy(pads, pads + kNumControllerStates, controllers);
        CloseDrawnScreens();
    }
};

TEST_P(TestModeLayout, EveryLineOnTheLowerScreenAndClearOfTheOthers)
{
    GetParam().bringUp();
    const Drawing d = RecordDrawing(DrawTestInfo);
    ASSERT_EQ(d.result, 1);
    ASSERT_GE(d.lines.size(), 10u) << "the title, the camera and the menu";
    const DrawnRect screen = {0, 0, 320, 240};
    for (size_t i = 0; i < d.lines.size(); ++i) {
        const DrawnRect& a = d.lines[i];
        EXPECT_TRUE(Within(a, screen, 2)) << "line " << Describe(a) << " leaves the screen";
        for (size_t j = i + 1; j < d.lines.size(); ++j)
            EXPECT_FALSE(Overlap(a, d.lines[j], 2)) << "lines " << Describe(a) << " and " << Describe(d.lines[j]) << " overlap";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryReadout, TestModeLayout, ::testing::ValuesIn(kScreens),
                         [](const ::testing::TestParamInfo<Screen>& info) { return std::string(info.param.name); });

}  // namespace
