// Instant replay. Recording copies the ball's and the pins' locations and orientations into fixed
// arrays once a frame while the ball is in the pin area. Playback runs its own frame loop inside
// the end of the ball: it reads the controls, poses the actors from the recorded frame, draws the
// game screen and presents it, until the recording has been shown (or, with a celebration clip,
// until the clip ends) or the player skips. Whatever way the loop ends, the skip button is freed,
// the clip stopped, the ball flag cleared and the pins stood as they were after the ball.
#include "game/replay.h"

#include <cstring>
#include <string>

#include "game/actors.h"
#include "game/ball.h"
#include "game/camera.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/pins.h"
#include "game/records.h"
#include "game/scoring.h"
#include "game/transitions.h"
#include "host/errorlog.h"
#include "lib/resourceids.h"
#include "lib/videofiles.h"
#include "platform/camera.h"
#include "platform/input.h"
#include "platform/video.h"
#include "shell/touchbuttons.h"
#include "shell/globals.h"
#include "shell/scenedraw.h"
#include "shell/upperlayers.h"

static VECTOR ballPos[kReplayFrames];
static quaternion ballRotation[kReplayFrames];
static VECTOR pinPos[kNumPins][kReplayFrames];
static quaternion pinRotation[kNumPins][kReplayFrames];
static int pinUpright[kNumPins];
static int pinVisible[kNumPins];
static int replayFrame = 0;
static int lastReplayFrame = 0;
static int replayDone = 1;
static int camList[kReplayCameras] = {0, 1, 2, 3, 4, 5, 6, 7, 8};
static int currCam = 0;
static int cameraSlot = kFirstReplayCamera;
static int strikeVidIndex = 0, spareVidIndex = 0, turkeyVidIndex = 0;
static OverlayTouchButton* skipButton = nullptr;

static const int kLastBallStrike = 11, kLastBallSpare = 10;
static const int kTurkeyStrikes = 3;

int IsReplayActive() { return replayDone == 0; }

int SetReplayActive(int active)
{
    replayDone = active == 0 || active == 1 ? 1 - active : 1;
    return IsReplayActive();
}

int ReplayFramesRecorded() { return lastReplayFrame; }

void ForgetReplay()
{
    lastReplayFrame = replayFrame = 0;
    replayDone = 1;
}
int ReplayCameraSlot() { return cameraSlot; }
int ReplaySkipButtonExists() { return skipButton != nullptr; }

// ---- Recording ----

static void Keep(const actor_tag* a, VECTOR* pos, quaternion* rot)
{
    *pos = {a->Xlocation, a->Ylocation, a->Zlocation};
    *rot = a->actorRotation;
}

static void Pose(actor_tag* a, const VECTOR& pos, const quaternion& rot)
{
    a->Xlocation = pos.x;
    a->Ylocation = pos.y;
    a->Zlocation = pos.z;
    a->actorRotation = rot;
}

int StoreReplayData()
{
    if (replayFrame + 1 >= kReplayFrames) return 1;
    if (bowlingBall) Keep(bowlingBall, &ballPos[replayFrame], &ballRotation[replayFrame]);
    for (int i = 0; i < kNumPins; ++i)
        if (pins[i + 1].theActor) Keep(pins[i + 1].theActor, &pinPos[i][replayFrame], &pinRotation[i][replayFrame]);
    lastReplayFrame = ++replayFrame;
    return 1;
}

int StoreReplayPinVisible()
{
    for (int i = 0; i < kNumPins; ++i) pinVisible[i] = pins[i + 1].theActor ? pins[i + 1].theActor->visible : 0;
    return 1;
}

// ---- Celebration clips ----

static int NextIndex(int* index, int count)
{
    const int i = *index;
    *index = (i + 1) % count;
    return i;
}

CelebrationClip ChooseCelebrationClip(const TITLE_PlayerInfoStruct& player, int gameType, int computer)
{
    if (gameType == kGameSpares || computer || quitGame || IsTransitionActive()) return {kCelebrationNone, 0};
    if (player.lastBallResult == kLastBallStrike) {
        if (player.strikesInRow == kTurkeyStrikes) return {kCelebrationTurkey, NextIndex(&turkeyVidIndex, kTurkeyClips)};
        return {kCelebrationStrike, NextIndex(&strikeVidIndex, kStrikeClips)};
    }
    if (player.lastBallResult == kLastBallSpare) return {kCelebrationSpare, NextIndex(&spareVidIndex, kSpareClips)};
    return {kCelebrationNone, 0};
}

void ResetCelebrationClips() { strikeVidIndex = spareVidIndex = turkeyVidIndex = 0; }

// Starts the chosen clip's video at the chatter volume; 1 when it plays. A clip that is missing or
// cannot be started is said, and the replay runs without it.
int StartCelebrationClip(CelebrationClip clip)
{
    if (clip.kind == kCelebrationNone) return 0;
    static const char* const kinds[] = {"", "strike", "spare", "turkey"};
    const char* const* files = clip.kind == kCelebrationStrike ? kStrikeVideoFiles
                               : clip.kind == kCelebrationSpare ? kSpareVideoFiles
                                                                : kTurkeyVideoFiles;
    const int count = clip.kind == kCelebrationStrike ? kStrikeVideoCount
                      : clip.kind == kCelebrationSpare ? kSpareVideoCount
                                                       : kTurkeyVideoCount;
    if (clip.index < 0 || clip.index >= count) return PrintError("replay: no %s clip %d", kinds[clip.kind], clip.index);
    const std::string path = std::string("rom:/") + files[clip.index];
    // A clip that cannot play leaves the replay to go on without it.
    if (!StartVideo(path.c_str()))
        return PrintError("replay: StartVideo failed for index %s %d", kinds[clip.kind], clip.index);
    SetVideoVolume(gGameOptions.soundChatterVolume);
    return 1;
}

// ---- Playback ----

static void UseCamera(int replayCamera)
{
    cameraSlot = kFirstReplayCamera + replayCamera;
    CopyGameCameraToRenderCamera(gameCameras[cameraSlot]);
}

static void ShuffleCameras()
{
    for (int i = 0; i < kReplayCameras; ++i) {
        const int j = i + GetRandomInt(0, kReplayCameras - 1 - i);
        const int t = camList[i];
        camList[i] = camList[j];
        camList[j] = t;
    }
    UseCamera(camList[0]);
    currCam = (camList[0] + 1) % kReplayCameras;
}

static void PoseFrame(int frame)
{
    if (bowlingBall) Pose(bowlingBall, ballPos[frame], ballRotation[frame]);
    for (int i = 0; i < kNumPins; ++i)
        if (pins[i + 1].theActor) Pose(pins[i + 1].theActor, pinPos[i][frame], pinRotation[i][frame]);
}

static int NewPress(uint16_t button) { return (allInput.edges & allInput.buttons & button) != 0; }

static int ScreenTouched()
{
    const DS3_controller* pad = controllers[0].controller;
    return pad && pad->touchData.isTouching;
}

// A skip: A, the skip button, or with a clip the clip being killed or the screen touched.
static int SkipRequested(int clipPlaying)
{
    if (NewPress(kButtonA)) return 1;
    if (skipButton && UpdateTouchButton(skipButton) && skipButton->pressed) return 1;
    if (clipPlaying && VideoPlaying() && (VideoKilled() || ScreenTouched())) return 1;
    return 0;
}

// One replay frame; 0 when a step failed. With a clip the run loops, from the next camera each
// time, for as long as the clip plays.
static int ReplayStep(int clipPlaying)
{
    if (SkipRequested(clipPlaying)) replayDone = 1;
    if (lastReplayFrame > 0) PoseFrame(replayFrame);
    if (clipPlaying && VideoPlaying()) {
        int ended = 0;
        UpdateVideo(&ended);
        if (ended) DisposeVideo();
    }
    if (!ComposeCameraXform() || !ComputeActorScreenPositions() || !upperLayers.OverlayUpdate() || !DrawGameScreen())
        return PrintError("replay: frame %d cannot be shown", replayFrame);
    if (++replayFrame < lastReplayFrame) return 1;
    if (!clipPlaying || !VideoPlaying()) {
        replayDone = 1;
        return 1;
    }
    replayFrame = 0;
    UseCamera(currCam);
    currCam = (currCam + 1) % kReplayCameras;
    return 1;
}

// The pins as they were after the ball: the fallen ones hidden, the standing ones back on their
// spots. When the program is closing the game is torn down next: the pins' bodies are left alone.
static void CleanUp()
{
    FreeTouchButton(&skipButton);
    if (VideoPlaying()) DisposeVideo();
    lastReplayFrame = replayFrame = 0;
    replayDone = 1;
    SetBallCollided(0);
    if (done) return;
    for (int i = 0; i < kNumPins; ++i) {
        if (!pins[i + 1].theActor) continue;
        if (pinUpright[i])
            ResetPinActor(i + 1);
        else
            pins[i + 1].theActor->visible = 0;
    }
}

int StartReplay(int)
{
    ShuffleCameras();
    SetBallCollided(1);
    for (int i = 0; i < kNumPins; ++i) {
        pinUpright[i] = pins[i + 1].upright;
        if (pins[i + 1].theActor) pins[i + 1].theActor->visible = uint8_t(pinVisible[i]);
    }
    if (upperLayers.OverlayExists()) upperLayers.OverlayExit();
    const TITLE_PlayerInfoStruct& player = gPlayerInfo[gCurrPlayer];
    const int computer = GetControllerAssignment(gCurrPlayer) == kAssignmentComputer;
    const int clipPlaying = StartCelebrationClip(ChooseCelebrationClip(player, gGameType, computer));
    if (clipPlaying) StopBackgroundSound();
    if (!skipButton) skipButton = NewTouchButton(kReplaySkipX, kReplaySkipY, kReplaySkipSize, kReplaySkipSize);
    if (!skipButton) PrintError("replay: no skip button");
    // The new button first sees the stylus as it was on the frame before the replay: when it was
    // up, a touch landing on the first replay frame skips; a touch held since before does not.
    if (skipButton) UpdateTouchButton(skipButton);
    replayDone = 0;
    replayFrame = 0;
    int ok = 1;
    while (!replayDone) {
        if (!ReadControls(nullptr)) break;
        if (done) break;
        if (!ReplayStep(clipPlaying)) {
            ok = 0;
            break;
        }
    }
    CleanUp();
    return ok;
}
