#include "platform/applet.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "db/dbimage.h"
#include "db/dbtest.h"
#include "host/files.h"
#include "host/host.h"
#include "host/input.h"
#include "overlays/nohomeicon.h"
#include "platform/input.h"
#include "platform/utilities.h"
#include "shell/savedata.h"

namespace {

// The HOME and power protocol driven by input scripts in a headless run, with the game's own
// callbacks installed as start-up installs them.
class HomeButton : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = gHostOptions;
        gHostOptions.headless = 1;
        gHostOptions.inputScript.clear();
        gHostOptions.frameLimit = -1;
        HostInputShutdown();
        HostResetFrames();
        ASSERT_EQ(InitJoysticks(), 1);
        ClearInputs();
        ResetNoHomeIcon();
        done = 0;
        ASSERT_EQ(InitializeApplet(), 1);
        SetupHomeButtonCallbacks();
        EnableHomePowerButton();
        EnableSleepMode(true);
    }
    void TearDown() override
    {
        DisposeApplet();
        HostInputShutdown();
        HostResetFrames();
        ClearInputs();
        ResetNoHomeIcon();
        done = 0;
        gHostOptions = saved;
    }
    void Script(const char* text)
    {
        std::string error;
        ASSERT_EQ(HostInputParseScript(text, "test", &error), 1) << error;
    }
    // Plays frames as the game loop does until the given frame or done.
    void PlayTo(long frame)
    {
        while (!done && HostFramesPresented() < frame) {
            ReadControls(nullptr);
            if (allInput.edges & allInput.buttons & kButtonA) pressesSeen.push_back(HostFramesPresented());
            HostFramePresented();
        }
    }
    HostOptions saved;
    std::vector<long> pressesSeen;  // frames whose read gave the game a new press of A
};

TEST_F(HomeButton, TheMenusResumeOrCloseByButtonsAndTouch)
{
    // HOME at 2 suspends the game in the menu; A on "Resume" (frame 6) goes back, and the game
    // does not see that A; the later A is the game's.
    Script("0\n2 HOME\n6 A\n7\n9 A\n");
    PlayTo(12);
    EXPECT_EQ(done, 0);
    EXPECT_EQ(pressesSeen, std::vector<long>({9}));

    const char* closing[] = {
        "0\n2 HOME\n4 touch 225 170\n",   // a touch on "Close"
        "0\n2 POWER\n4 RIGHT\n5\n6 A\n",  // the cursor moved to "Close"
    };
    for (const char* script : closing) {
        HostResetFrames();
        done = 0;
        Script(script);
        PlayTo(20);
        EXPECT_EQ(done, 1) << script;
        EXPECT_LT(HostFramesPresented(), 10) << script;
    }
    // The program's close order while the menu is open closes too.
    HostResetFrames();
    done = 0;
    gHostOptions.frameLimit = 8;
    Script("0\n2 HOME\n");
    PlayTo(20);
    EXPECT_EQ(done, 1);
}

TEST_F(HomeButton, HomeIsRefusedWhileSavingAndShowsTheIconOnce)
{
    EnableNoHomeDraw();
    Script("0\n2 HOME\n3 A\n4 HOME\n");
    PlayTo(6);
    EXPECT_EQ(done, 0);
    EXPECT_EQ(pressesSeen, std::vector<long>({3})) << "no menu took the A";
    EXPECT_EQ(NoHomeDrawing(), 1);
    DisableNoHomeDraw();
}

TEST_F(HomeButton, PressesWhileTheServiceIsOffAreDropped)
{
    DisableHomePowerButton();
    Script("0\n2 HOME POWER\n");
    PlayTo(4);
    EnableHomePowerButton();
    Script("0\n1 A\n");
    HostResetFrames();
    PlayTo(3);
    EXPECT_EQ(pressesSeen, std::vector<long>({1})) << "no menu opened late";
}

TEST_F(HomeButton, TheLidSleepsOnlyWhenSleepIsAllowed)
{
    // Asleep, the game does not see the A held through the lid; refused, it plays on and does.
    DisableSleepMode();
    Script("0\n2 LID A\n3\n");
    PlayTo(4);
    EXPECT_EQ(pressesSeen, std::vector<long>({2}));
    EnableSleepMode(true);
    HostResetFrames();
    pressesSeen.clear();
    Script("0\n2 LID A\n3\n");
    PlayTo(4);
    EXPECT_TRUE(pressesSeen.empty());
    EXPECT_EQ(done, 0);
}

// The sleep query asked from another thread while the save worker reads is refused; once the
// worker is done it is accepted; and it is refused whenever sleep is disabled.
class SleepQuery : public DbTest {};

std::atomic<int> answerDuringRead{-1};

TEST_F(SleepQuery, RefusedWhileTheWorkerRunsOrSleepIsDisabled)
{
    HostOptions saved = gHostOptions;
    gHostOptions.dataDir = scratch + "/save";
    ASSERT_EQ(SaveDataInit(), 1);
    InitializeApplet();
    EnableSleepMode(true);
    EXPECT_EQ(myReceiveSleepQueryNotification(0), 1);
    std::vector<char> image(64, 'i');
    ASSERT_EQ(SaveDataWrite(image.data(), int(image.size())), kSaveResultOk);
    SaveDataEnd();
    HostFileSetReadHook([](const char*) { answerDuringRead = myReceiveSleepQueryNotification(0); });
    LoadData(image.data(), int(image.size()), 0);
    HostFileSetReadHook(nullptr);
    SaveDataEnd();
    EXPECT_EQ(answerDuringRead, 0);
    EXPECT_EQ(myReceiveSleepQueryNotification(0), 1);
    DisableSleepMode();
    EXPECT_EQ(myReceiveSleepQueryNotification(0), 0);
    DisposeApplet();
    gHostOptions = saved;
}

}  // namespace
