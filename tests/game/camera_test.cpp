// The game camera: the bowler and camera placed for each control state, the camera following the
// rolling ball, the fixed camera sets and the glide between cameras.
#include "game/camera.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "game/actors.h"
#include "game/animation.h"
#include "game/areas.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/records.h"
#include "platform/frame.h"
#include "shell/settings.h"
#include "support/device_heap.h"

namespace {

CameraPosition Position(float x, float y, float z, float xAngle, float zAngle, float zoom)
{
    return {x, y, z, xAngle, 0.0f, zAngle, zoom, 1.0f};
}

void ExpectSame(const CameraPosition& a, const CameraPosition& b)
{
    EXPECT_EQ(a.cameraX, b.cameraX);
    EXPECT_EQ(a.cameraY, b.cameraY);
    EXPECT_EQ(a.cameraZ, b.cameraZ);
    EXPECT_EQ(a.cameraXangle, b.cameraXangle);
    EXPECT_EQ(a.cameraYangle, b.cameraYangle);
    EXPECT_EQ(a.cameraZangle, b.cameraZangle);
    EXPECT_EQ(a.cameraZoom, b.cameraZoom);
    EXPECT_EQ(a.cameraViewingDistance, b.cameraViewingDistance);
}

class GameCamera : public ::testing::Test {
protected:
    actor_tag* bowler = nullptr;
    const CameraPosition setUpView = Position(0.0f, -150.0f, 36.0f, 97.0f, 0.0f, 210.0f);

    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(8 << 20), 1);
        ASSERT_EQ(InitializeActors(kActorPoolSize), 1);
        gCurrPlayer = 0;
        gTestModeRunning = 0;
        gChangeStage = gChangeStageTransition = 0;
        gTransitionGameCamera = 0;
        moveCameraParam = 0.0f;
        updateRatio = 1.0f;
        ResetPlayerInfo(&gPlayerInfo[0]);
        gPlayerInfo[0].playerData.bodyMeshRSID = 939;  // lets the ball go at frame 70
        SetControllerAssignment(0, 0);
        ASSERT_EQ(AddActor(0.0f, 0.0f, 0.0f, kActorBall, &bowlingBall), 1);
        ASSERT_EQ(AddActor(20.0f, -264.0f, 0.0f, kActorCharacter, &bowler), 1);
        gPlayerInfo[0].theActor = bowler;
        for (CameraPosition& c : gameCameras) c = Position(0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
        gameCameras[1] = setUpView;
        ResetStaticGameCameras();
        currCameraNum = 0;
    }
    void TearDown() override
    {
        gPlayerInfo[0].theActor = nullptr;
        bowlingBall = nullptr;
        DisposeActors();
        ReleaseDeviceHeap();
        gTestModeRunning = 0;
    }
};

// A person places and aims from a view over the ball at the foul line, with the bowler measured
// in its release pose and then waiting out of view; the approach takes the set-up view and brings
// the bowler to its start.
TEST_F(GameCamera, APersonsStateCamera)
{
    gameCameras[0].cameraYangle = 3.0f;
    for (int state : {kControlPosition, kControlAngle}) {
        SCOPED_TRACE(state);
        ASSERT_EQ(SetStateCameraPosition(state), 1);
        // Without a skeleton the ball sits 12 to the right of the bowler.
        EXPECT_EQ(bowlingBall->Xlocation, 32.0f);
        EXPECT_EQ(bowler->deflection, -12.0f);
        EXPECT_EQ(bowler->Ylocation, -720.0f);
        EXPECT_EQ(bowler->logicalY, -720.0f);
        EXPECT_EQ(bowler->animInfo.animation, kAnimResetPose);
        EXPECT_EQ(bowler->animInfo.animationFrameRatio, 1.0f) << "started";
        ExpectSame(gameCameras[0], {32.0f, 0.0f, 28.8f, 95.0f, 3.0f, 0.0f, 127.2f, 1.0f});
    }

    ASSERT_EQ(SetStateCameraPosition(kControlPower), 1);
    ExpectSame(gameCameras[0], setUpView);
    EXPECT_EQ(bowler->Ylocation, -228.0f);
    EXPECT_EQ(bowler->logicalY, -228.0f);
}

// A computer's set-up is seen from the set-up view; the throw and the rolling ball leave the
// bowler and the camera to the throw and the tracking.
TEST_F(GameCamera, AComputersStateCameraAndTheStatesThatChangeNothing)
{
    SetControllerAssignment(0, kAssignmentComputer);
    ASSERT_EQ(SetStateCameraPosition(kControlPosition), 1);
    ExpectSame(gameCameras[0], setUpView);
    EXPECT_EQ(bowler->animInfo.animation, 1302) << "getting set";
    EXPECT_EQ(bowler->deflection, -12.0f);

    gameCameras[0] = Position(5.0f, 600.0f, 30.0f, 95.0f, 0.0f, 220.0f);
    bowler->Ylocation = -100.0f;
    for (int state : {int(kControlThrowing), int(kControlReleased), -1}) {
        ASSERT_EQ(SetStateCameraPosition(state), 1);
        ExpectSame(gameCameras[0], Position(5.0f, 600.0f, 30.0f, 95.0f, 0.0f, 220.0f));
        EXPECT_EQ(bowler->Ylocation, -100.0f) << state;
    }
    SetControllerAssignment(0, 0);
}

// The camera goes over the rolling ball at zoom 220, keeping its angles, until the ball reaches
// the pin deck or drops into the pit, and not while the alley is being changed.
TEST_F(GameCamera, TrackingTheRollingBall)
{
    gameCameras[0] = setUpView;
    bowlingBall->Xlocation = -10.0f;
    bowlingBall->Ylocation = 500.0f;
    bowlingBall->Zlocation = 8.0f;
    ASSERT_EQ(TrackBall(bowlingBall), 1);
    EXPECT_FLOAT_EQ(gameCameras[0].cameraZ, 30.21f);
    ExpectSame(gameCameras[0], {-10.0f, 500.0f, gameCameras[0].cameraZ, 97.0f, 0.0f, 0.0f, 220.0f, 1.0f});

    // Too small a change to see: the camera stays.
    gameCameras[0].cameraZoom = 100.0f;
    bowlingBall->Xlocation = -10.005f;
    TrackBall(bowlingBall);
    EXPECT_EQ(gameCameras[0].cameraX, -10.0f);
    EXPECT_EQ(gameCameras[0].cameraZoom, 100.0f);

    const CameraPosition before = gameCameras[0];
    struct Case {
        float y, z;
        int changing;
    } cases[] = {{1392.5f, 8.0f, 0}, {900.0f, -20.5f, 0}, {900.0f, 8.0f, 1}};
    for (const Case& c : cases) {
        bowlingBall->Ylocation = c.y;
        bowlingBall->Zlocation = c.z;
        gChangeStageTransition = c.changing;
        TrackBall(bowlingBall);
        ExpectSame(gameCameras[0], before);
    }
    gChangeStageTransition = 0;
    bowlingBall->Ylocation = 1392.0f;  // the last place followed
    TrackBall(bowlingBall);
    EXPECT_EQ(gameCameras[0].cameraY, 1392.0f);
}

// A set holds 20 cameras; cutting runs through the set in use and puts its camera in every slot,
// but a set of one camera is only cut to in test mode.
TEST_F(GameCamera, FixedCameraSets)
{
    const float v1[3] = {1, 2, 3}, v2[3] = {4, 5, 6}, block[4] = {7, 8, 9, 10};
    for (int i = 0; i < kMaxStaticCamerasPerSet; ++i) {
        const CameraPosition p = Position(float(i), 100.0f, 30.0f, 95.0f, 0.0f, 150.0f);
        ASSERT_EQ(AddStaticGameCamera(&p, v1, v2, block, 2, i % 2), 1);
    }
    const CameraPosition extra = Position(99.0f, 0, 0, 0, 0, 1);
    EXPECT_EQ(AddStaticGameCamera(&extra, v1, v2, block, 2, 0), 0) << "the 21st";
    EXPECT_EQ(AddStaticGameCamera(&extra, v1, v2, block, 10, 0), 0);
    EXPECT_EQ(AddStaticGameCamera(&extra, v1, v2, block, 0, 0), 0);
    EXPECT_EQ(numStaticGameCameras[1], kMaxStaticCamerasPerSet);

    ASSERT_EQ(SetStaticGameCameraColor(2), 1);
    EXPECT_EQ(currCameraNum, 1);
    EXPECT_EQ(forceCenter, 1);
    EXPECT_EQ(GetStaticCameraTrack(), 1);
    EXPECT_EQ(gSuspendCameraControls, 1);
    for (const CameraPosition& c : gameCameras) EXPECT_EQ(c.cameraX, 1.0f);
    currCameraNum = kMaxStaticCamerasPerSet - 1;
    SelectNextStaticCamera();
    EXPECT_EQ(currCameraNum, 0) << "wraps";
    EXPECT_EQ(gameCameras[31].cameraX, 0.0f);
    EXPECT_EQ(SetStaticGameCameraColor(10), 0);
    EXPECT_EQ(staticCameraColor, 2);

    // One camera in the set: nothing changes outside test mode.
    const CameraPosition only = Position(-7.0f, 50.0f, 20.0f, 100.0f, 45.0f, 180.0f);
    ASSERT_EQ(AddStaticGameCamera(&only, v1, v2, block, 5, 1), 1);
    gameCameras[0] = setUpView;
    forceCenter = gSuspendCameraControls = 0;
    SetStaticGameCameraColor(5);
    ExpectSame(gameCameras[0], setUpView);
    EXPECT_EQ(gSuspendCameraControls, 0);
    // In test mode it is cut to, even with a number left from the larger set.
    gTestModeRunning = 1;
    currCameraNum = 7;
    SelectNextStaticCamera();
    EXPECT_EQ(currCameraNum, 0);
    ExpectSame(gameCameras[0], only);
    EXPECT_EQ(staticCameraStartZangle, 45.0f);

}

// A glide at the normal rate takes 17 frames, ends exactly on the fixed camera, and turns the
// short way round.
TEST_F(GameCamera, AGlideTakesSeventeenFramesTheShortWayRound)
{
    staticCamera.position = Position(100.0f, 1000.0f, 50.0f, 10.0f, 0.0f, 300.0f);
    gameCameras[0] = Position(0.0f, 0.0f, 30.0f, 350.0f, 0.0f, 100.0f);
    ASSERT_EQ(StartGameCameraGlide(), 1);
    int frames = 0;
    float lowest = 360.0f, highest = 0.0f;
    while (gTransitionGameCamera && frames < 100) {
        TransitionGameCamera();
        ++frames;
        const float a = gameCameras[0].cameraXangle;
        if (a > 180.0f) lowest = std::min(lowest, a);
        else highest = std::max(highest, a);
    }
    EXPECT_EQ(frames, 17);
    EXPECT_EQ(moveCameraParam, 0.0f);
    ExpectSame(gameCameras[0], staticCamera.position);
    EXPECT_GE(lowest, 350.0f) << "through 0, not 180";
    EXPECT_LE(highest, 10.0f);
}

}  // namespace
