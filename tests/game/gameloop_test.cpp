// The game loop on the lane of the build's game data: whole games of computer bowlers from set-up
// to tear-down, the pins between balls, the end of the attract game, and every way out of a game
// giving back what its set-up took.
#include "game/gameloop.h"

#include <gtest/gtest.h>

#include <btBulletDynamicsCommon.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "game/actors.h"
#include "game/animation.h"
#include "game/areas.h"
#include "game/ball.h"
#include "game/camera.h"
#include "game/collision.h"
#include "game/controls.h"
#include "game/physics.h"
#include "game/pins.h"
#include "game/records.h"
#include "game/scoring.h"
#include "game/transitions.h"
#include "host/gpu.h"
#include "host/host.h"
#include "lib/memory.h"
#include "lib/resources.h"
#include "lib/trig.h"
#include "lib/screenapi.h"
#include "lib/trig.h"
#include "platform/fileserver.h"
#include "platform/input.h"
#include "platform/camera.h"
#include "platform/render.h"
#include "platform/sound.h"
#include "platform/streams.h"
#include "overlays/sparesoverlays.h"
#include "screens/frontend.h"
#include "screens/results.h"
#include "screens/quicklaunch.h"
#include "screens/scoresheet_print.h"
#include "shell/globals.h"
#include "shell/physicsmemory.h"
#include "shell/scenedraw.h"
#include "shell/upperlayers.h"
#include "platform/applet.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

class GameLoopOnTheLane : public ::testing::Test {
protected:
    HostOptions saved;
    bool rendering = false;

    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(64 << 20), 1);
        ASSERT_EQ(InitTrigTables(), 1);  // as start-up makes them
        saved = gHostOptions;
        gHostOptions.headless = 0;
        ASSERT_EQ(PrepareWholeGame(), 1);
    }
    void TearDown() override
    {
        if (rendering) RenderDispose();
        GpuExecuteAll();
        ForgetTransition();
        CloseBuildGameData();
        sinTable = cosTable = nullptr;
        btAlignedAllocSetCustom(nullptr, nullptr);
        btAlignedAllocSetCustomAligned(nullptr, nullptr);
        ReleaseDeviceHeap();
        gHostOptions = saved;
    }
    void StartRendering()
    {
        ASSERT_EQ(RenderInit(0x80000, 0x800, 0x502, 0x500), 1);
        // The game's pictures are not looked at here: its commands are checked, not drawn on GL.
        GpuExecuteOnlyFor(nullptr, 0);
        rendering = true;
    }
    static unsigned Allocations()
    {
        unsigned n = 0;
        DefaultHeapAllocations(&n);
        return n;
    }
    // Nothing of a game is left: no world, no actors, no alley, no loading screen, and the heap
    // holds what it held before.
    static void ExpectNothingLeft(unsigned allocationsBefore)
    {
        EXPECT_EQ(physics, nullptr);
        EXPECT_EQ(actorPool, nullptr);
        EXPECT_EQ(bowlingBall, nullptr);
        EXPECT_EQ(collisionEnviroments[areaNum].items[kCollisionLeftGutterItem].info, nullptr);
        EXPECT_EQ(LoadingScreenShown(), 0);
        for (int k = kFirstPin; k <= kLastPin; ++k) EXPECT_EQ(pins[k].theActor, nullptr) << k;
        for (const TITLE_PlayerInfoStruct& p : gPlayerInfo) EXPECT_EQ(p.theActor, nullptr);
        EXPECT_EQ(Allocations(), allocationsBefore);
    }
    static std::string Sheets()
    {
        FILE* f = std::tmpfile();
        if (!f) return "";
        PrintScoreSheets(f);
        std::rewind(f);
        std::string text;
        char buffer[256];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
        std::fclose(f);
        return text;
    }
    // One frame as GameLoop runs it.
    static bool Frame()
    {
        return ReadControls(nullptr) && HandleControls() && UpdateGameLogic() && DrawGameScreen();
    }
    // The tear-down of a game set up by hand.
    static void DisposeByHand()
    {
        DisposePhysicsWorld();
        DisposeArea();
        DisposeGame();
        LoadingScreenClose();
    }
};

// A whole game of computer bowlers is played to the end, its results go to the front end, the
// screen loop is sent back there, and everything is given back. The same seed bowls the same game.
TEST_F(GameLoopOnTheLane, AComputerGameIsPlayedToTheEndAndTornDown)
{
    StartRendering();
    std::string first;
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        SeedRandom();
        const unsigned before = Allocations();
        ASSERT_EQ(QuickLaunchGame("quick", 2), 1);
        EXPECT_EQ(ScreenGetResult(), 1);
        ASSERT_EQ(GameLoop(), 1);
        EXPECT_EQ(ScreenGetResult(), 3);
        EXPECT_EQ(quitGame, 0);
        EXPECT_EQ(gGameOver, 1);
        for (int p = 0; p < 2; ++p) {
            const TITLE_PlayerInfoStruct& player = gPlayerInfo[p];
            EXPECT_TRUE(player.gameFinished) << p;
            EXPECT_EQ(player.currFrame, 10) << p;
            EXPECT_EQ(player.totalScoreInFrame[9], player.totalScore) << p;
            int sum = 0;
            for (int f = 0; f < 10; ++f) {
                ASSERT_GE(player.frameScore[f], 0) << "every frame is scored at the end";
                EXPECT_LE(player.frameScore[f], 30);
                sum += player.frameScore[f];
            }
            EXPECT_EQ(sum, player.totalScore) << p;
            EXPECT_LE(player.ballsThrown, 21) << "nobody bowls after the end";
            EXPECT_EQ(gPlayerResults[p][0], player.totalScore) << p;
        }
        for (int f = 0; f < 10; ++f) EXPECT_EQ(gScoreCardPinCount[f][0], gPlayerInfo[0].framePinCount[f][0]);
        EXPECT_GT(gPlayerInfo[0].totalScore + gPlayerInfo[1].totalScore, 40) << "the bowlers hit pins";
        ExpectNothingLeft(before);

        const std::string sheets = Sheets();
        EXPECT_NE(sheets.find("P2 "), std::string::npos);
        if (run == 0)
            first = sheets;
        else
            EXPECT_EQ(sheets, first) << "the same seed bowls the same game";
    }
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitizedMemory = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitizedMemory = true;
#else
constexpr bool kSanitizedMemory = false;
#endif
#else
constexpr bool kSanitizedMemory = false;
#endif

// Resident memory of the process in bytes, from the kernel's account.
static long ResidentBytes()
{
    long pages = 0, resident = 0;
    FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f) return 0;
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
    return resident * 4096;
}

// Games of four computer bowlers, one after another in one process, each from its own seed: after
// every game the game heap holds exactly what it held before, and the process does not grow. The
// suite plays a few; ZENDROLYX_SOAK_GAMES asks for more (the long soak plays a hundred).
TEST_F(GameLoopOnTheLane, GamesInARowGiveEverythingBack)
{
    StartRendering();
    const char* asked = std::getenv("ZENDROLYX_SOAK_GAMES");
    const int games = asked ? std::max(2, std::atoi(asked)) : kSanitizedMemory ? 2 : 3;
    long settled = 0;
    for (int game = 0; game < games; ++game) {
        SCOPED_TRACE(game);
        gHostOptions.seed = 1000 + game;
        SeedRandom();
        const unsigned before = Allocations();
        unsigned freeBefore = 0, freeAfter = 0;
        DefaultHeapMemoryAvailable(&freeBefore);
        ASSERT_EQ(QuickLaunchGame("quick", 4), 1);
        ASSERT_EQ(GameLoop(), 1);
        ASSERT_EQ(gGameOver, 1);
        ExpectNothingLeft(before);
        DefaultHeapMemoryAvailable(&freeAfter);
        ASSERT_EQ(freeAfter, freeBefore) << "the game heap is back where it started";
        // The first game warms the caches (GL programs, the driver's pools); from then on the
        // process stays within a little of its size. (Under AddressSanitizer freed memory is held
        // back on purpose, and the leak checker watches instead.)
        if (kSanitizedMemory) continue;
        if (game == 0) settled = ResidentBytes();
        else EXPECT_LE(ResidentBytes(), settled + (8l << 20)) << "the process keeps growing";
    }
}

// A computer bowler in a game plays its throw frame by frame, and the ball leaves its hand on the
// step at which the throw reaches the release frame of its body mesh, not before.
TEST_F(GameLoopOnTheLane, AComputerBowlerReleasesAtTheReleaseFrameOfItsThrow)
{
    StartRendering();
    SeedRandom();
    ASSERT_EQ(QuickLaunchGame("quick", 1), 1);
    ASSERT_EQ(GameLoopSetup(), 1);
    actor_tag* bowler = gPlayerInfo[0].theActor;
    ASSERT_NE(bowler, nullptr);
    const float release = float(ReleaseFrameForBody(gPlayerInfo[0].playerData.bodyMeshRSID));
    ASSERT_GT(release, 1.0f);

    // The throw's frame at the start of each step: the step that lets go sees the release frame
    // reached, the one before it did not.
    std::vector<float> throwFrames;
    int step = 0;
    for (; step < 3000 && GetControlState() != kControlReleased; ++step) {
        if (GetCurrentActorAnimation(bowler) == kAnimThrowLast && GetControlState() == kControlThrowing) {
            throwFrames.push_back(bowler->animInfo.animationFrame);
        }
        ASSERT_EQ(ReadControls(nullptr), 1);
        ASSERT_EQ(HandleControls(), 1);
        ASSERT_EQ(UpdateGameLogic(), 1);
    }
    ASSERT_EQ(GetControlState(), kControlReleased) << "released within " << step << " steps";
    ASSERT_GT(throwFrames.size(), 10u) << "the throw is played, not jumped to its end";
    const float atRelease = throwFrames.back();
    const float before = throwFrames[throwFrames.size() - 2];
    EXPECT_LT(before, release) << "still in the hand on the step before";
    EXPECT_GE(atRelease, release);
    EXPECT_LT(atRelease, release + 3.0f) << "let go at the release frame, not long after";
    EXPECT_EQ(GetCurrentActorAnimation(bowler), kAnimThrowLast);
    ASSERT_NE(bowlingBall, nullptr);
    EXPECT_EQ(bowlingBall->visible, 1);
    // The slide ends at the foul line (Y 0): the ball leaves the hand just behind it, not past it.
    EXPECT_LE(bowlingBall->Ylocation, 6.0f);
    EXPECT_GE(bowlingBall->Ylocation, -36.0f);
    DisposeByHand();
}

// A computer's shot is set up in the alley's set-up view, with the bowler stepping up so that its
// throw lets the ball go at the foul line; once the ball has left the bowler well behind, the scene
// camera follows it down to the pin deck, and the next ball returns to the set-up view.
TEST_F(GameLoopOnTheLane, TheSceneCameraFollowsTheComputersBall)
{
    StartRendering();
    ASSERT_EQ(QuickLaunchGame("quick", 1), 1);
    ASSERT_EQ(GameLoopSetup(), 1);
    const CameraPosition setUp = gameCameras[1];
    EXPECT_LT(setUp.cameraY, 0.0f) << "behind the foul line";
    EXPECT_EQ(gameCameras[0].cameraY, setUp.cameraY);

    int step = 0;
    for (; step < 3000 && GetControlState() != kControlReleased; ++step) ASSERT_TRUE(Frame());
    ASSERT_EQ(GetControlState(), kControlReleased);
    // The hand swings ahead of the sliding bowler: the ball leaves it within two (real) feet of
    // the foul line, not back on the approach.
    EXPECT_NEAR(bowlingBall->Ylocation, 0.0f, 48.0f) << "released at the foul line";

    float furthest = 0.0f;
    int followed = 0;
    for (; step < 3000 && bowlingBall->team; ++step) {
        ASSERT_TRUE(Frame());
        if (!bowlingBall->team) break;
        if (bowlingBall->Ylocation > 400.0f && bowlingBall->Ylocation < 1300.0f) {
            EXPECT_NEAR(cameraY, bowlingBall->Ylocation, 1.0f);
            EXPECT_EQ(cameraZoom, 220.0f);
            ++followed;
        }
        furthest = std::max(furthest, cameraY);
    }
    EXPECT_GT(followed, 10);
    EXPECT_LE(furthest, 1392.0f + 60.0f) << "the camera stops at the pin deck";
    EXPECT_EQ(gameCameras[0].cameraY, setUp.cameraY) << "the next ball is set up in the set-up view";
    DisposeByHand();
}

// Between two balls of a frame the pins knocked down leave the lane and those standing are
// squared up; after the frame all ten stand again.
TEST_F(GameLoopOnTheLane, PinsKnockedDownLeaveTheLaneForTheSecondBall)
{
    StartRendering();
    ASSERT_EQ(QuickLaunchGame("quick", 1), 1);
    ASSERT_EQ(GameLoopSetup(), 1);
    // Knock down pins 7 and 10 by hand, as a skipped frame does.
    for (int k : {7, 10}) pins[k].theActor->Zlocation = -100.0f;
    int turnContinues = 0;
    ScoreNormalGame(turnContinues);
    EXPECT_EQ(turnContinues, 1);
    EXPECT_EQ(gPlayerInfo[0].framePinCount[0][0], 2);
    int mask = 0;
    GetStandingPinMask(&mask);
    EXPECT_EQ(mask, kFullRackMask & ~(1 << (15 - 7)) & ~(1 << (15 - 10)));
    for (int k = kFirstPin; k <= kLastPin; ++k) {
        const bool gone = k == 7 || k == 10;
        EXPECT_EQ(pins[k].theActor->visible, gone ? 0 : 1) << k;
        if (gone) {
            EXPECT_LT(physics->m_pinBody[k - 1]->getCenterOfMassPosition().y(), -1.0f) << k;
        }
    }
    for (int k = kFirstPin; k <= kLastPin; ++k)
        if (k != 7 && k != 10) pins[k].theActor->Zlocation = -100.0f;
    ScoreNormalGame(turnContinues);
    EXPECT_EQ(turnContinues, 0);
    EXPECT_EQ(gPlayerInfo[0].frameMark[0], 1) << "a spare";
    GetStandingPinMask(&mask);
    EXPECT_EQ(mask, kFullRackMask) << "a fresh rack for the next frame";
    DisposeByHand();
}

// Once the game is over no computer bowler throws again, whatever the frames that follow.
TEST_F(GameLoopOnTheLane, ComputerBowlersStopAtTheEndOfTheGame)
{
    StartRendering();
    for (int over : {0, 1}) {
        SCOPED_TRACE(over);
        ASSERT_EQ(QuickLaunchGame("quick", 1), 1);
        ASSERT_EQ(GameLoopSetup(), 1);
        gGameOver = over;
        int released = 0;
        for (int frame = 0; frame < 120 && !released; ++frame) {
            ASSERT_TRUE(Frame());
            released = bowlingBall->team != 0;
        }
        EXPECT_EQ(released, over ? 0 : 1);
        EXPECT_EQ(gPlayerInfo[0].ballsThrown, 0);
        DisposeByHand();
    }
}

// The attract game: player 0 bowls four frames, the turn never passes, then after a hold of 80
// frames the game goes back to the title screen with the players cleared.
TEST_F(GameLoopOnTheLane, TheAttractGameEndsAfterFourFramesAndGoesBackToTheTitle)
{
    StartRendering();
    SeedRandom();
    ASSERT_EQ(QuickLaunchGame("attract", 3), 1);
    EXPECT_EQ(gGameType, kGameAttract);
    ASSERT_EQ(GameLoopSetup(), 1);
    int frames = 0;
    while (!GameReturnPending() && frames < 40000) {
        ASSERT_TRUE(Frame());
        ++frames;
        ASSERT_EQ(gCurrPlayer, 0);
    }
    ASSERT_TRUE(GameReturnPending());
    EXPECT_EQ(gGameOver, 1);
    EXPECT_EQ(gPlayerInfo[0].currFrame, 4);
    EXPECT_GE(gPlayerInfo[0].frameScore[2], 0);
    // The screen fades to black (the fade moves on each eye and on the lower screen), is held
    // black for 80 frames, and the game is left behind the cover.
    int hold = 0;
    while (!quitGame && hold < 200) {
        ASSERT_TRUE(Frame());
        ++hold;
    }
    EXPECT_TRUE(IsTransitionActive()) << "the fade goes on over the menu";
    EXPECT_GE(hold, 80 + 34 / 3);
    EXPECT_LE(hold, 80 + 34 / 3 + 3);
    EXPECT_EQ(gPlayerInfo[0].currFrame, 0) << "the players are cleared";
    EXPECT_EQ(gPlayerInfo[0].ballsThrown, 0);
    DisposeByHand();

    // Back in the front end, its sounds and menu music streams come again.
    ASSERT_EQ(InitStreaming(), 1);
    ASSERT_EQ(InitializeSoundServices(), 1);
    ScreenSetResult(3);
    ASSERT_EQ(RestoreGUI(), 1);
    EXPECT_EQ(ScreenGetResult(), 5) << "back to the title screen";
    EXPECT_EQ(ExitScreens(0), 1);
    EXPECT_EQ(DisposeSoundServices(), 1);
}

// START or A let go during the attract game goes back to the menu at once (the press alone does
// nothing yet); B does nothing.
TEST_F(GameLoopOnTheLane, AButtonEndsTheAttractGame)
{
    StartRendering();
    for (uint16_t button : {uint16_t(kButtonB), uint16_t(kButtonStart), uint16_t(kButtonA)}) {
        SCOPED_TRACE(button);
        quitGame = 0;
        ASSERT_EQ(QuickLaunchGame("attract", 1), 1);
        ASSERT_EQ(GameLoopSetup(), 1);
        allInput.buttons = button;
        allInput.edges = button;
        ASSERT_EQ(HandleControls(), 1);
        EXPECT_EQ(GameReturnPending(), 0) << "pressed, not yet let go";
        allInput.buttons = 0;
        ASSERT_EQ(HandleControls(), 1);
        allInput.edges = 0;
        EXPECT_EQ(upperLayers.OverlayExists(), button == kButtonB ? 1 : 0) << "the overlays go with the return";
        ASSERT_EQ(UpdateGameLogic(), 1);
        EXPECT_EQ(GameReturnPending(), button == kButtonB ? 0 : 1);
        // The game is left once the fade has covered the screen.
        for (int frame = 0; frame < 20 && !quitGame; ++frame) ASSERT_TRUE(Frame());
        EXPECT_EQ(quitGame, button == kButtonB ? 0 : 1);
        DisposeByHand();
    }
    quitGame = 0;
}

// The spares challenge's first attempt is announced after the first frame, once the lane has
// been drawn, not during set-up.
TEST_F(GameLoopOnTheLane, TheFirstSparesAttemptIsAnnouncedAfterTheFirstFrame)
{
    StartRendering();
    ASSERT_EQ(QuickLaunchGame("spares", 1), 1);
    ASSERT_EQ(GameLoopSetup(), 1);
    EXPECT_EQ(upperLayers.OverlayExists(), 0);
    EXPECT_EQ(startSparesOverlay, 1);
    ASSERT_TRUE(Frame());
    EXPECT_EQ(startSparesOverlay, 0);
    ASSERT_TRUE(Frame());
    EXPECT_EQ(DSSparesStartTurnOverlayActive(), 1);
    DisposeByHand();
}

// A frame that fails ends the game through the same tear-down as any other end.
TEST_F(GameLoopOnTheLane, AFailedFrameIsTornDown)
{
    // Without the renderer the first frame cannot be drawn.
    const unsigned before = Allocations();
    ScreenSetResult(1);
    ASSERT_EQ(QuickLaunchGame("quick", 2), 1);
    EXPECT_EQ(GameLoop(), 0);
    ExpectNothingLeft(before);
    EXPECT_EQ(ScreenGetResult(), 1) << "the screen loop decides what follows a failure";
}

// A set-up that stops half-way gives back what it had made.
TEST_F(GameLoopOnTheLane, AFailedSetUpIsTornDown)
{
    StartRendering();
    const unsigned before = Allocations();
    ASSERT_EQ(QuickLaunchGame("quick", 2), 1);
    gPlayerInfo[1].ballData[2].ballIndex = 250;  // no such ball in the table
    EXPECT_EQ(GameLoop(), 0);
    ExpectNothingLeft(before);
}

// The program being closed in the middle of a game (here by the frame limit) ends the game
// before the next drawing, and still gives everything back.
TEST_F(GameLoopOnTheLane, AQuitDuringTheGameIsTornDown)
{
    StartRendering();
    ASSERT_EQ(InitializeApplet(), 1);
    HostResetFrames();
    gHostOptions.frameLimit = 1000;  // well after the set-up, well before the end of the game
    const unsigned before = Allocations();
    ASSERT_EQ(QuickLaunchGame("quick", 1), 1);
    EXPECT_EQ(GameLoop(), 1);
    EXPECT_EQ(done, 1);
    EXPECT_EQ(HostFramesPresented(), 1000) << "no frame is drawn after the close order";
    EXPECT_EQ(gPlayerInfo[0].gameFinished, 0);
    EXPECT_EQ(ScreenGetResult(), 1) << "the program is quitting: no way back to the menus";
    ExpectNothingLeft(before);
    DisposeApplet();
    HostResetFrames();
    done = 0;
}

TEST_F(GameLoopOnTheLane, LaunchesAreRefusedWhenTheyCannotBePlayed)
{
    ScreenSetResult(5);
    EXPECT_EQ(QuickLaunchGame("league", 2), 0);
    EXPECT_EQ(QuickLaunchGame("quick", 0), 0);
    EXPECT_EQ(QuickLaunchGame("quick", 9), 0);
    EXPECT_EQ(QuickLaunchGame(nullptr, 1), 0);
    EXPECT_EQ(ScreenGetResult(), 5);
    EXPECT_EQ(QuickLaunchGame("quick", 4), 1);
    EXPECT_EQ(gNumPlayers, 4);
    for (int p = 0; p < 8; ++p) EXPECT_EQ(GetControllerAssignment(p), p < 4 ? kAssignmentComputer : 0) << p;
}

}  // namespace

namespace {

// A change of alley asked for during play runs in the frame after its transition, loads the new
// alley's collision models and leaves the ball, the pins and the bowlers where they are.
TEST_F(GameLoopOnTheLane, AnAlleyChangeDuringPlayKeepsTheLaneActors)
{
    StartRendering();
    ASSERT_EQ(QuickLaunchGame("quick", 2), 1);
    ASSERT_EQ(GameLoopSetup(), 1);
    ASSERT_EQ(areaNum, 0);
    actor_tag* ball = bowlingBall;
    actor_tag* headPin = pins[kFirstPin].theActor;
    actor_tag* bowler = gPlayerInfo[0].theActor;
    ASSERT_NE(ball, nullptr);

    nextArea = 3;
    gChangeStageTransition = 1;
    ASSERT_EQ(HandleControls(), 1);
    ASSERT_EQ(UpdateGameLogic(), 1);
    EXPECT_EQ(areaNum, 3);
    EXPECT_EQ(gChangeStage, 0);
    EXPECT_EQ(gChangeStageTransition, 0);
    EXPECT_EQ(collisionEnviroments[0].items[kCollisionLeftGutterItem].info, nullptr) << "the old alley is unloaded";
    EXPECT_NE(collisionEnviroments[3].items[kCollisionLeftGutterItem].info, nullptr);
    EXPECT_EQ(areaRSID, areaRSIDs[3] << 16) << "the new alley's cameras and lights";
    EXPECT_EQ(bowlingBall, ball);
    EXPECT_EQ(pins[kFirstPin].theActor, headPin);
    EXPECT_EQ(gPlayerInfo[0].theActor, bowler);

    // The game goes on in the new alley.
    for (int i = 0; i < 60; ++i) ASSERT_TRUE(ReadControls(nullptr) && HandleControls() && UpdateGameLogic());
    DisposeByHand();
    EXPECT_EQ(collisionEnviroments[3].items[kCollisionLeftGutterItem].info, nullptr);
    areaNum = 0;
}

// An alley that does not exist fails the frame and leaves the loaded one alone.
TEST_F(GameLoopOnTheLane, AChangeToAnAlleyThatDoesNotExistFails)
{
    StartRendering();
    ASSERT_EQ(QuickLaunchGame("quick", 1), 1);
    ASSERT_EQ(GameLoopSetup(), 1);
    nextArea = 9;
    gChangeStage = 1;
    EXPECT_EQ(UpdateGameLogic(), 0);
    EXPECT_EQ(areaNum, 0);
    EXPECT_NE(collisionEnviroments[0].items[kCollisionLeftGutterItem].info, nullptr);
    gChangeStage = 0;
    DisposeByHand();
}

// After an abort the game takes no input until every button is let go: the press that aborted
// does not also end the attract game.
TEST_F(GameLoopOnTheLane, AfterAnAbortInputWaitsForEveryButtonToBeLetGo)
{
    StartRendering();
    quitGame = 0;
    ASSERT_EQ(QuickLaunchGame("attract", 1), 1);
    ASSERT_EQ(GameLoopSetup(), 1);
    aborted = 1;
    allInput.buttons = allInput.edges = kButtonA;
    ASSERT_EQ(HandleControls(), 1);
    EXPECT_EQ(GameReturnPending(), 0) << "the held A is ignored";
    allInput.edges = 0;
    ASSERT_EQ(HandleControls(), 1);
    EXPECT_EQ(aborted, 1) << "still held";
    allInput.buttons = 0;
    allInput.edges = kButtonA;  // let go this frame
    ASSERT_EQ(HandleControls(), 1);
    EXPECT_EQ(aborted, 1);
    allInput.edges = 0;
    ASSERT_EQ(HandleControls(), 1);
    EXPECT_EQ(aborted, 0) << "all released";
    allInput.buttons = allInput.edges = kButtonA;
    ASSERT_EQ(HandleControls(), 1);
    allInput.buttons = 0;
    ASSERT_EQ(HandleControls(), 1);
    EXPECT_EQ(GameReturnPending(), 1) << "a new press acts again";
    allInput.buttons = allInput.edges = 0;
    DisposeByHand();
    quitGame = 0;
}

}  // namespace

namespace {

// Each frame the scene camera takes game camera 0 and its matrices are composed from it.
TEST_F(GameLoopOnTheLane, EachFrameTheSceneIsSeenFromGameCameraZero)
{
    StartRendering();
    ASSERT_EQ(QuickLaunchGame("quick", 1), 1);
    ASSERT_EQ(GameLoopSetup(), 1);
    gameCameras[0] = CameraPosition{1.5f, -20.0f, 4.0f, 100.0f, 0.0f, 10.0f, 30.0f, 1.0f};
    ASSERT_EQ(UpdateGameLogic(), 1);
    EXPECT_EQ(cameraX, 1.5f);
    EXPECT_EQ(cameraY, -20.0f);
    EXPECT_EQ(cameraXangle, 100.0f);
    EXPECT_EQ(cameraZoom, 30.0f);
    // The focus lies on the view axis, cameraZoom ahead of the eye.
    const float* row = cameraXform[3];
    const float focusX = 1.5f * cameraXform[0][0] - 20.0f * cameraXform[1][0] + 4.0f * cameraXform[2][0] + row[0];
    const float focusZ = 1.5f * cameraXform[0][2] - 20.0f * cameraXform[1][2] + 4.0f * cameraXform[2][2] + row[2];
    EXPECT_NEAR(focusX, 0.0f, 1e-3f);
    EXPECT_NEAR(focusZ, 30.0f, 1e-3f);
    DisposeByHand();
}

}  // namespace
