// The game camera's slots and motions: set-up behind the bowler, following the released ball,
// glides and the alley's fixed cameras. Each frame ends by copying slot 0 into the scene camera.
#include "game/camera.h"

#include <cmath>

#include "game/actors.h"
#include "game/animation.h"
#include "game/areas.h"
#include "game/characters.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/records.h"
#include "lib/printing.h"
#include "lib/trig.h"
#include "platform/camera.h"
#include "platform/frame.h"
#include "shell/settings.h"

CameraPosition gameCameras[kNumGameCameras];
int numGameCameras = 0;
CameraPosition gTempCamera[kNumStartCameras];
StaticGameCamera staticCamera;
float moveCameraParam = 0.0f;
int gTransitionGameCamera = 0;

StaticGameCamera staticGameCameras[kNumStaticCameraSets][kMaxStaticCamerasPerSet];
int numStaticGameCameras[kNumStaticCameraSets];
int staticCameraColor = 0;
int currCameraNum = 0;
int staticCameraTime = 0;
int staticCameraSwitchDelay = 0;
int staticCameraTracking = 0;
float staticCameraStartXangle = 0.0f;
float staticCameraStartZangle = 0.0f;
int forceCenter = 0;
int gSuspendCameraControls = 0;
CameraLimits gameCameraLimits;

// The bowler waits out of view while a person places and aims, and starts the approach here: the
// throw's root motion carries it 228 units, to the foul line.
static const float kBowlerAsideY = -720.0f;
static const float kBowlerApproachY = -228.0f;
static const int kAnimGettingSet = 1302;

// A person's view while placing and aiming: from the foul line down the lane over the ball.
static const float kAimCameraZ = 28.8f;
static const float kAimCameraZoom = 127.2f;
static const float kAimCameraXangle = 95.0f;

// Following the ball: the camera stays this high over it, and only moves for a change it can see.
static const float kTrackHeight = 22.2f;
static const float kTrackPlacedHeight = 22.21f;
static const float kTrackZoom = 220.0f;
static const float kTrackThreshold = 0.01f;
static const float kTrackLastY = 1392.0f;  // the pin deck begins here
static const float kTrackLowestZ = -20.0f;
// The bowler keeps within this distance ahead of their own place (the follow-through reaches some
// four feet past the feet), and the following camera's eye must pass that by this much more.
static const float kBowlerReach = 120.0f;
static const float kTrackClearance = 72.0f;
static const float kDegreesToRadians = 3.14159265f / 180.0f;

static const float kGlideRate = 0.06f;  // of the whole glide per frame at the normal rate

static int CurrentPlayerIsComputer() { return GetControllerAssignment(gCurrPlayer) == kAssignmentComputer; }

static actor_tag* CurrentBowler()
{
    if (gCurrPlayer < 0 || gCurrPlayer >= kMaxPlayers) return nullptr;
    return gPlayerInfo[gCurrPlayer].theActor;
}

// Measures the bowler in its release pose: the ball goes to its hand and the bowler keeps the
// distance from itself to the ball as its deflection. Returns the ball's X.
static float PlaceBowlerForSetUp(actor_tag* bowler, int computer)
{
    float ballX = bowlingBall ? bowlingBall->Xlocation : 0.0f;
    if (!bowler) return ballX;
    SetCharacterAnimation(bowler, kAnimThrow);
    bowler->animInfo.animationFrame = float(ReleaseFrameForBody(gPlayerInfo[gCurrPlayer].playerData.bodyMeshRSID));
    bowler->Ylocation = bowler->logicalY = kBowlerAsideY;
    float y = 0.0f, z = 0.0f;
    RightHandPosition(bowler, &ballX, &y, &z);
    if (bowlingBall) {
        bowlingBall->Xlocation = ballX;
        bowlingBall->Ylocation = y;
        bowlingBall->Zlocation = z;
    }
    SetCharacterAnimation(bowler, computer ? kAnimGettingSet : kAnimResetPose);
    StartCharacterAnimation(bowler);
    bowler->deflection = bowler->logicalX - ballX;
    return ballX;
}

int SetStateCameraPosition(int state)
{
    const int computer = CurrentPlayerIsComputer();
    actor_tag* bowler = CurrentBowler();
    switch (state) {
    case kControlPosition:
    case kControlAngle: {
        const float ballX = PlaceBowlerForSetUp(bowler, computer);
        if (computer) {
            gameCameras[0] = gameCameras[1];
            break;
        }
        CameraPosition& c = gameCameras[0];
        c.cameraX = ballX;
        c.cameraY = 0.0f;
        c.cameraZ = kAimCameraZ;
        c.cameraZoom = kAimCameraZoom;
        c.cameraXangle = kAimCameraXangle;
        c.cameraZangle = 0.0f;
        c.cameraViewingDistance = 1.0f;
        break;
    }
    case kControlPower:
        gameCameras[0] = gameCameras[1];
        if (bowler) bowler->Ylocation = bowler->logicalY = kBowlerApproachY;
        break;
    default:
        break;
    }
    return 1;
}

// Whether the following camera, its eye trailing a ball at y by the zoom along the current view,
// would still be among or just above the bowler, who stands at the foul line after the release.
// Until its eye is clear of them the view it has (the set-up view) stays, and the camera then cuts
// to the ball: following from the release would carry the eye over the bowler's head and
// through the raised arm.
static int FollowingEyeMeetsBowler(const CameraPosition& c, float y)
{
    const actor_tag* bowler = CurrentBowler();
    if (!bowler || !bowler->visible) return 0;
    const float trail = kTrackZoom * std::sin(c.cameraXangle * kDegreesToRadians) * std::cos(c.cameraZangle * kDegreesToRadians);
    return y - trail < bowler->worldXform[3][1] + kBowlerReach + kTrackClearance;
}

int TrackBall(actor_tag* ball)
{
    if (!ball || gChangeStage || gChangeStageTransition) return 1;
    if (ball->Ylocation > kTrackLastY || ball->Zlocation < kTrackLowestZ) return 1;
    CameraPosition& c = gameCameras[0];
    if (FollowingEyeMeetsBowler(c, ball->Ylocation)) return 1;
    const float dx = (c.cameraX - ball->Xlocation) * updateRatio;
    const float dy = (c.cameraY - ball->Ylocation) * updateRatio;
    const float dz = (c.cameraZ - (ball->Zlocation + kTrackHeight)) * updateRatio;
    if (std::fabs(dx) >= kTrackThreshold || std::fabs(dy) >= kTrackThreshold || std::fabs(dz) >= kTrackThreshold) {
        c.cameraX = ball->Xlocation;
        c.cameraY = ball->Ylocation;
        c.cameraZ = ball->Zlocation + kTrackPlacedHeight;
        c.cameraZoom = kTrackZoom;
    }
    return 1;
}

static CameraPosition& GlideStart()
{
    const int p = gCurrPlayer >= 0 && gCurrPlayer < kNumStartCameras ? gCurrPlayer : 0;
    return gTempCamera[p];
}

int StartGameCameraGlide()
{
    GlideStart() = gameCameras[0];
    moveCameraParam = 0.0f;
    gTransitionGameCamera = 1;
    return 1;
}

static float Between(float from, float to, float t) { return from + (to - from) * t; }
static float AngleBetween(float from, float to, float t) { return NormalizeAngle(from + AngleDelta(to, from) * t); }

int TransitionGameCamera()
{
    moveCameraParam += updateRatio * kGlideRate;
    if (moveCameraParam > 1.0f) moveCameraParam = 1.0f;
    const CameraPosition& a = GlideStart();
    const CameraPosition& b = staticCamera.position;
    const float t = moveCameraParam;
    CameraPosition& c = gameCameras[0];
    c.cameraX = Between(a.cameraX, b.cameraX, t);
    c.cameraY = Between(a.cameraY, b.cameraY, t);
    c.cameraZ = Between(a.cameraZ, b.cameraZ, t);
    c.cameraZoom = Between(a.cameraZoom, b.cameraZoom, t);
    c.cameraViewingDistance = Between(a.cameraViewingDistance, b.cameraViewingDistance, t);
    c.cameraXangle = AngleBetween(a.cameraXangle, b.cameraXangle, t);
    c.cameraYangle = AngleBetween(a.cameraYangle, b.cameraYangle, t);
    c.cameraZangle = AngleBetween(a.cameraZangle, b.cameraZangle, t);
    if (moveCameraParam >= 1.0f) {
        gTransitionGameCamera = 0;
        moveCameraParam = 0.0f;
    }
    return 1;
}

int SetGameCameraX(float x)
{
    gameCameras[0].cameraX = x;
    return 1;
}

void CopyGameCameraToRenderCamera(const CameraPosition& c)
{
    cameraX = c.cameraX;
    cameraY = c.cameraY;
    cameraZ = c.cameraZ;
    cameraXangle = c.cameraXangle;
    cameraYangle = c.cameraYangle;
    cameraZangle = c.cameraZangle;
    cameraZoom = c.cameraZoom;
    cameraViewingDistance = c.cameraViewingDistance;
}

// ---- Fixed cameras ----

int AddStaticGameCamera(const CameraPosition* position, const float* vector1, const float* vector2,
                        const float* block, int set, int tracking)
{
    if (!position || set < 1 || set > kNumStaticCameraSets) return PrintError("AddStaticGameCamera: no camera set %d", set);
    int& count = numStaticGameCameras[set - 1];
    if (count >= kMaxStaticCamerasPerSet) return 0;
    StaticGameCamera& s = staticGameCameras[set - 1][count];
    s = {};
    s.position = *position;
    for (int i = 0; i < 3; ++i) {
        s.vector1[i] = vector1 ? vector1[i] : 0.0f;
        s.vector2[i] = vector2 ? vector2[i] : 0.0f;
    }
    for (int i = 0; i < 4; ++i) s.block[i] = block ? block[i] : 0.0f;
    s.set = set;
    s.tracking = tracking;
    ++count;
    return 1;
}

int ResetStaticGameCameras()
{
    for (int& n : numStaticGameCameras) n = 0;
    staticCameraColor = 0;
    staticCameraSwitchDelay = 0;
    return 1;
}

int SelectNextStaticCamera()
{
    staticCameraTime = 0;
    // Set 0 is no set at all.
    if (staticCameraColor < 1 || staticCameraColor > kNumStaticCameraSets) return 1;
    const int count = numStaticGameCameras[staticCameraColor - 1];
    if (count < 1 || (count == 1 && !gTestModeRunning)) return 1;
    const int previous = currCameraNum;
    // A number left from a larger set starts this one again from its first camera.
    if (++currCameraNum >= count || currCameraNum < 0) currCameraNum = 0;
    staticCamera = staticGameCameras[staticCameraColor - 1][currCameraNum];
    staticCameraStartXangle = staticCamera.position.cameraXangle;
    staticCameraStartZangle = staticCamera.position.cameraZangle;
    staticCameraTracking = staticCamera.tracking;
    if (currCameraNum != previous) forceCenter = 1;
    for (CameraPosition& c : gameCameras) c = staticCamera.position;
    gSuspendCameraControls = 1;
    return 1;
}

int SetStaticGameCameraColor(int set)
{
    if (set < 0 || set > kNumStaticCameraSets) return PrintError("SetStaticGameCameraColor: no camera set %d", set);
    staticCameraColor = set;
    return SelectNextStaticCamera();
}

int GetStaticGameCameraColor(int* set)
{
    if (set) *set = staticCameraColor;
    return 1;
}

int GetStaticCameraTrack() { return staticCameraTracking; }

int SetStaticCamera()
{
    gameCameras[0] = staticCamera.position;
    gSuspendCameraControls = 1;
    for (int i = 1; i < kNumGameCameras; ++i) gameCameras[i] = gameCameras[0];
    return 1;
}

int SetCameraLimits(const CameraLimits* limits)
{
    if (!limits) return 0;
    gameCameraLimits.cameraMinXangle = limits->cameraMinXangle;
    gameCameraLimits.cameraMaxXangle = limits->cameraMaxXangle;
    gameCameraLimits.cameraMinZoom = limits->cameraMinZoom;
    gameCameraLimits.cameraMaxZoom = limits->cameraMaxZoom;
    gameCameraLimits.cameraZOffset = limits->cameraZOffset;
    return 1;
}
