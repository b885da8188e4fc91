// The test character and the static cameras: the model menu puts a bowler model of the game at
// the lane's origin and plays, pauses, steps and scrubs any of the game's animations on it; the
// static cameras menu moves the free camera to the alley's fixed cameras and picks their colour.
#include <cmath>

#include "game/actors.h"
#include "game/animation.h"
#include "game/camera.h"
#include "game/characters.h"
#include "game/gameloop.h"
#include "game/records.h"
#include "host/errorlog.h"
#include "lib/resources.h"
#include "lib/strings.h"
#include "platform/camera.h"
#include "platform/render.h"
#include "platform/skeleton.h"
#include "platform/utilities.h"
#include "testmode/testmenus.h"

// The animations the menu steps through, and the one a new character starts with.
static const int kFirstAnimation = 1301;
static const int kLastAnimation = 1439;
static const int kDefaultAnimation = 1325;
static const int kNumStaticCameras = 10;  // gameCameras 1..10 besides the live camera 0

static const char* const ModelStrings[] = {"MALE 1", "FEMALE 1", "MALE 2", "FEMALE 2"};
static const int kNumModelStrings = int(sizeof ModelStrings / sizeof ModelStrings[0]);
static const char* const cameraColorStrings[] = {"NEUTRAL",      "RED",       "ORANGE",      "YELLOW", "LIGHT_RED",
                                                 "BLACK",        "BRIGHT_GREEN", "PEA_GREEN", "LIGHT_GREEN", "GREEN"};
static const int kNumCameraColors = int(sizeof cameraColorStrings / sizeof cameraColorStrings[0]);

static int camNum = 0;  // keeps its value for the run

// Replaces the test character by one of player model newModel at the lane's origin, playing the
// animation the old one played (or the standing one), played by test mode alone. An empty frame is presented first, so that
// nothing still draws the old character's model when it is freed. On any failure the test
// character is gone (testActor null), never left pointing at a freed actor.
int ChangeTestModel(int, int newModel)
{
    TestOptions& t = testOptions;
    const int animation = t.testActor ? t.testActor->animInfo.animation : 0;
    // A frame refused because the game is closing is no fault.
    if (!RenderStartScreen() || !RenderDoneScreen())
        return done ? 0 : PrintError("test mode: no frame before the model change");
    if (t.testActor) {
        actor_tag* old = t.testActor;
        t.testActor = nullptr;
        if (!DisposeActor(old)) return PrintError("test mode: the test character could not be disposed");
    }
    if (newModel < 0 || newModel >= gNumPlayers) return PrintError("test mode: no bowler model %d", newModel);
    actor_tag* made = nullptr;
    if (!AddCharacter(0.0f, 0.0f, kActorCharacter, &made, newModel) || !made)
        return PrintError("test mode: the test character of model %d could not be made", newModel);
    t.testActor = made;
    // Test mode plays the character's animation itself (running or paused, at its own ratio): the
    // character's own looping handler would play it on regardless.
    made->animationHandler = nullptr;
    return SetActorAnimation(made, animation ? animation : kDefaultAnimation);
}

// The test character's animation resource, or null.
static const animation_tag* TestAnimation()
{
    void* handle = nullptr;
    const actor_tag* a = testOptions.testActor;
    if (!a || a->animInfo.animation <= 0 || !GetResourceHandle(a->animInfo.animation, &handle)) return nullptr;
    return static_cast<const animation_tag*>(handle);
}

static int ItemModel(int action, char* text)
{
    TestOptions& t = testOptions;
    if (action == kItemLabel) {
        if (t.modelNum >= 0 && t.modelNum < kNumModelStrings) return ItemLabel(text, "MODEL: %s", ModelStrings[t.modelNum]);
        return ItemLabel(text, "MODEL: %d", t.modelNum + 1);
    }
    const int old = t.modelNum;
    if (!StepIntWrapped(action, &t.modelNum, 0, gNumPlayers - 1)) return 1;
    return ChangeTestModel(old, t.modelNum);
}

// Formats an animation line's label in capitals.
static int UpperLabel(char* text, int result)
{
    if (text) UpperCase(text);
    return result;
}

static int ItemAnimationNum(int action, char* text)
{
    actor_tag* a = testOptions.testActor;
    if (action == kItemLabel)
        return UpperLabel(text, a ? ItemLabel(text, "Animation: %d", int(a->animInfo.animation)) : ItemLabel(text, "Animation: none"));
    const int d = action == kItemIncrease ? 1 : action == kItemDecrease ? -1 : 0;
    if (!a || !d) return 1;
    // One pass over the range at most: an animation set with none of them loaded stops the search.
    int id = a->animInfo.animation;
    for (int tries = 0; tries <= kLastAnimation - kFirstAnimation; ++tries) {
        id += d;
        if (id > kLastAnimation) id = kFirstAnimation;
        if (id < kFirstAnimation) id = kLastAnimation;
        void* handle = nullptr;
        if (!GetResourceHandle(id, &handle) || !handle) continue;
        if (!SetActorAnimation(a, id)) return 0;
        a->animInfo.animationFrame = 0.0f;
        return 1;
    }
    return PrintError("test mode: no animation from %d to %d is loaded", kFirstAnimation, kLastAnimation), 1;
}

static int ItemAnimationRunning(int action, char* text)
{
    if (action == kItemLabel)
        return UpperLabel(text, ItemLabel(text, "%s", testOptions.animationRunning ? "Animation Running" : "Animation Paused"));
    if (action == kItemIncrease || action == kItemDecrease) SwitchFlag(&testOptions.animationRunning);
    return 1;
}

static int ItemAnimationFrameRatio(int action, char* text)
{
    TestOptions& t = testOptions;
    if (action == kItemLabel) return UpperLabel(text, ItemLabel(text, "Animation Frame Ratio: %.1f", double(t.animationFrameRatio)));
    if (action == kItemIncrease) t.animationFrameRatio += 0.1f;
    if (action == kItemDecrease && (t.animationFrameRatio -= 0.1f) < 0.1f) t.animationFrameRatio = 0.0f;
    if ((action == kItemIncrease || action == kItemDecrease) && t.testActor)
        t.testActor->animInfo.animationFrameRatio = t.animationFrameRatio;
    return 1;
}

static int ItemAnimationFrame(int action, char* text)
{
    actor_tag* a = testOptions.testActor;
    if (!a || a->animInfo.animation == 0) {
        const int frame = a ? int(a->animInfo.animationFrame) : 0;
        return action == kItemLabel ? UpperLabel(text, ItemLabel(text, "Animation Frame: %d", frame)) : 1;
    }
    const animation_tag* anim = TestAnimation();
    if (!anim) return PrintError("test mode: animation %d is not loaded", int(a->animInfo.animation));
    const int count = anim->numFrames > 0 ? anim->numFrames : 1;
    float& frame = a->animInfo.animationFrame;
    if (action == kItemLabel) {
        if (frame < 0.0f) frame = float(count - 1);
        return UpperLabel(text, ItemLabel(text, "Animation Frame: %d / %d", int(frame), count));
    }
    if (action == kItemIncrease && (frame += 1.0f) >= float(count)) frame = 0.0f;
    if (action == kItemDecrease && (frame -= 1.0f) < 0.0f) frame = float(count - 1);
    return 1;
}

static int ItemAnimationPercentage(int action, char* text)
{
    TestOptions& t = testOptions;
    if (action == kItemLabel) {
        float p = 0.0f;
        if (t.testActor) GetAnimationPercentage(t.testActor, &p);
        return UpperLabel(text, ItemLabel(text, "Animation Percentage: %.1f", double(p * 100.0f)));
    }
    if (action != kItemIncrease && action != kItemDecrease) return 1;
    t.animationPercentage += action == kItemIncrease ? 0.005f : -0.005f;
    if (t.animationPercentage > 0.995f) t.animationPercentage = 1.0f;
    if (t.animationPercentage < 0.005f) t.animationPercentage = 0.0f;
    if (t.testActor) SetAnimationPercentage(t.testActor, t.animationPercentage);
    return 1;
}

TestItem ModelMenu[] = {{ItemModel},          {ItemAnimationNum},        {ItemAnimationRunning},
                        {ItemAnimationFrameRatio}, {ItemAnimationFrame}, {ItemAnimationPercentage}, {nullptr}};

// ---- Static cameras ----

// The free camera takes a camera slot's place, angles and zoom.
static void TakeCamera(const CameraPosition& c)
{
    cameraX = c.cameraX, cameraY = c.cameraY, cameraZ = c.cameraZ;
    cameraZoom = c.cameraZoom;
    cameraXangle = c.cameraXangle, cameraYangle = c.cameraYangle, cameraZangle = c.cameraZangle;
}

static int ItemNextStaticCamera(int action, char* text)
{
    if (action == kItemLabel) return ItemLabel(text, "NEXT STATIC CAMERA");
    if (action != kItemSelect) return 1;
    if (++camNum > kNumStaticCameras) camNum = 0;
    TakeCamera(gameCameras[camNum]);
    return 1;
}

static int ItemStaticCameraColor(int action, char* text)
{
    int colour = 0;
    GetStaticGameCameraColor(&colour);
    if (action == kItemLabel) {
        if (colour >= 0 && colour < kNumCameraColors) return ItemLabel(text, "STATIC CAMERA COLOR: %s", cameraColorStrings[colour]);
        return ItemLabel(text, "STATIC CAMERA COLOR: %d", colour);
    }
    if (action == kItemIncrease && ++colour > kNumCameraColors - 1) colour = 1;
    if (action == kItemDecrease && --colour < 1) colour = kNumCameraColors - 1;
    if (action != kItemIncrease && action != kItemDecrease) return 1;
    SetStaticGameCameraColor(colour);
    TakeCamera(gameCameras[0]);
    return 1;
}

static int ItemStaticCameraInfo(int action, char* text)
{
    if (action != kItemLabel) return 1;
    return ItemLabel(text, "%s", GetStaticCameraTrack() == 0 ? "CURRENT CAMERA IS STATIC CAMERA" : "CURRENT CAMERA IS TV CAMERA");
}

TestItem StaticCamerasMenu[] = {{ItemNextStaticCamera}, {ItemStaticCameraColor}, {ItemStaticCameraInfo}, {nullptr}};
