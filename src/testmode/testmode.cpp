// The test-mode controller: one frame of the developer's input (menu navigation with key repeat,
// the current line's actions, going back, the free camera, moving the test character and a
// snapped actor, the read-out switches, the test character's animation) and the read-out on the
// lower screen. The menus are tables of item functions (testmenus.h), so the controller knows
// nothing of what a line does.
//
// The circle pad has a dead zone: a deflection of up to kStickDeadZone does nothing, and past it
// the camera and the actors move by how far the stick is beyond it, in the direction it points.
#include "testmode/testmode.h"

#include <cmath>
#include <cstring>

#include "game/actors.h"
#include "game/animation.h"
#include "game/gameloop.h"
#include "game/particledefs.h"
#include "game/records.h"
#include "lib/printing.h"
#include "lib/resources.h"
#include "lib/screenapi.h"
#include "lib/textoutput.h"
#include "lib/trig.h"
#include "platform/camera.h"
#include "platform/frame.h"
#include "platform/input.h"
#include "platform/render.h"
#include "platform/skeleton.h"
#include "platform/utilities.h"
#include "testmode/testmenus.h"

int gDrawTestInfo = 0;

// The controllers that the test menus take over.
static const int kTestControllers = 4;
static const unsigned kControllerGameFlag = 2;
// The button that steers the view distance; no button of this pad sets it.
static const unsigned kButtonViewDistance = 0x1;
static const float kStickDeadZone = 0.3333f;
static const float kDegrees = 0.017453292f;
// The snap search takes a character within this many units of the camera on both axes.
static const float kSnapRange = 10.0f;
// The read-out on the lower screen, laid out for our default font, whose lines are wider and
// taller than the layout's coordinates allow for: the ball menu's lines reach past the middle of
// the screen, where the layout's camera column stands, and a long first line ran into "TEST
// MODE". So "TEST MODE" has the top row to itself (right-aligned), the menu runs full width below
// it (lines 1 pixel further apart than the font is tall, not 19), and the camera's eight values
// stand in two rows of four columns at the bottom; the snapped test character's name, script and
// place take three rows above them, not six lines over the menu, and the menu then shows fewer
// lines, scrolled to keep the selected one in view.
static const int kMenuIndent = 20, kSelectedIndent = 10;
static const int kTitleInset = 4;
static const int kColumns = 4, kColumnWidth = 72;
static const int kCameraRows = 2, kSnapRows = 3;
static const int kSnapGap = 4;  // sets the character's place apart from the camera's

static PARTICLESYSTEMINFOTAG editedDefinition;
static uint16_t lastButton = 0;
static int buttonHeldCount = 0;
static actor_tag* testModeActor = nullptr;
static int enableActorSnap = 0;

int TestActorSnapEnabled() { return enableActorSnap; }
void SwitchTestActorSnap() { SwitchFlag(&enableActorSnap); }

int InitTestMode()
{
    TestOptions& t = testOptions;
    userCamera = 1;
    t.modelNum = 0;
    t.animationRunning = 1;
    t.animationFrameRatio = 1.0f;
    std::memset(&editedDefinition, 0, sizeof editedDefinition);
    editedDefinition.numParticles = 1;
    editedDefinition.bitmapRSID = kParticleBitmapGroup << 16;
    editedDefinition.particleAlpha = 160.0f;
    editedDefinition.particleSize = 10.0f;
    editedDefinition.particleLifeMin = 3;
    t.particleSystemInfo = &editedDefinition;
    t.numParticleBitmaps = 0;
    t.curMenu = RootMenu;
    t.numParticleSystems = 0;
    t.testModeActive = 1;
    t.previousMenu = nullptr;
    t.curItemNum = 0;
    gDrawTestInfo = 1;
    lastButton = 0;
    buttonHeldCount = 0;
    testModeActor = nullptr;
    for (int i = 0; i < kTestControllers; ++i) controllers[i].flags &= ~kControllerGameFlag;
    return 1;
}

int DisposeTestMode()
{
    for (int i = 0; i < kTestControllers; ++i) controllers[i].flags |= kControllerGameFlag;
    // The actors go with the game's pool: nothing may point at them in the next game.
    testModeActor = nullptr;
    testOptions.testActor = nullptr;
    return 1;
}

static int Pressed(unsigned bit) { return (allInput.buttons & allInput.edges & bit) != 0; }
static int Held(unsigned bit) { return (allInput.buttons & bit) != 0; }

// The current line with an action; 0 when it failed.
static int CallCurrentLine(int action)
{
    TestItem* menu = testOptions.curMenu;
    if (!menu || testOptions.curItemNum < 0 || testOptions.curItemNum >= TestMenuLength(menu)) return 1;
    return menu[testOptions.curItemNum].fn(action, nullptr);
}

// LEFT or RIGHT held: once on the press, then after 60 held frames count / 60 times a frame.
static int RepeatLine(unsigned button, int action)
{
    if (!Held(button)) return 1;
    lastButton = allInput.buttons;
    if (Pressed(button)) return CallCurrentLine(action);
    if (buttonHeldCount <= 59) return 1;
    for (int i = buttonHeldCount / 60; i > 0; --i)
        if (!CallCurrentLine(action)) return 0;
    return 1;
}

static int IsRangeMenu(const TestItem* m)
{
    return m == ParticleInitAccelMenu || m == ParticleInitVelocityMenu || m == ParticleUpdateAccelMenu ||
           m == ParticleUpdateVelocityMenu;
}

// X held: back one level; from a velocity or acceleration range, the press ends there.
static void GoBack()
{
    TestOptions& t = testOptions;
    if (IsRangeMenu(t.curMenu)) {
        t.curMenu = t.previousMenu;
        t.previousMenu = ParticlesMenu;
        t.curItemNum = 0;
        allInput.edges = allInput.buttons = 0;
    } else if (t.curMenu != RootMenu) {
        t.curMenu = t.previousMenu ? t.previousMenu : RootMenu;
        t.previousMenu = RootMenu;
        t.curItemNum = 0;
    }
}

// How far a stick axis is past the dead zone (0 inside it).
static float BeyondDeadZone(float axis)
{
    const float m = std::fabs(axis);
    return m > kStickDeadZone ? m - kStickDeadZone : 0.0f;
}

static void MoveAlong(float* x, float* y, float degrees, float distance)
{
    if (distance == 0.0f) return;
    *x += distance * COS(degrees * kDegrees);
    *y += distance * SIN(degrees * kDegrees);
}

static float Clamp(float v, float lo, float hi) { return v < lo ? lo : v > hi ? hi : v; }

// The circle pad moves something on the lane relative to the camera's heading z: right along -z,
// left along 180 - z, sy > 0 along 90 - z, sy < 0 along 270 - z. The camera flies forward with the
// pad pushed up; the actors that the pad walks take the pad's y the other way round.
static void MoveOnLane(float* x, float* y, float z, float sx, float sy, float speed)
{
    MoveAlong(x, y, sx < 0 ? 180.0f - z : -z, BeyondDeadZone(sx) * speed);
    MoveAlong(x, y, sy > 0 ? 90.0f - z : 270.0f - z, BeyondDeadZone(sy) * speed);
}

// Moving (Y let go) or turning (Y held) the free camera.
static void FlyCamera(float S, float R, float P, float Zr, float V)
{
    const float sx = allInput.x, sy = allInput.y;
    if (!Held(kButtonY)) {
        MoveOnLane(&cameraX, &cameraY, cameraZangle, sx, sy, S);
        if (Held(kButtonL)) cameraZoom = Clamp(cameraZoom - Zr, 0.0f, 7500.0f);
        if (Held(kButtonR)) cameraZoom = Clamp(cameraZoom + Zr, 0.0f, 7500.0f);
        return;
    }
    const float turn = BeyondDeadZone(sx) * R;
    if (turn != 0.0f) cameraZangle = NormalizeAngle(cameraZangle + (sx > 0 ? turn : -turn));
    const float pitch = BeyondDeadZone(sy) * P;
    if (pitch != 0.0f) cameraXangle = Clamp(NormalizeAngle(cameraXangle + (sy > 0 ? pitch : -pitch)), 20.0f, 178.0f);
    if (Held(kButtonL)) cameraZ -= V;
    if (Held(kButtonR)) cameraZ += V;
}

// The snapped actor while it is still one of the live actors (a model change or the game may
// have disposed it), else null.
static actor_tag* SnappedActor()
{
    for (actor_tag* a = actorList; a && testModeActor; a = a->nextActor)
        if (a == testModeActor) return a;
    return testModeActor = nullptr;
}

// R held: the snapped actor moves, turns and rises with the sticks; let go: the snap search.
static void SteerSnappedActor(float S, float R)
{
    if (Held(kButtonR) && SnappedActor()) {
        actor_tag* a = testModeActor;
        MoveOnLane(&a->Xlocation, &a->Ylocation, cameraZangle, allInput.x, -allInput.y, S);
        const float turn = BeyondDeadZone(allInput.x2) * R;
        if (turn != 0.0f) a->heading = NormalizeAngle(a->heading + (allInput.x2 < 0 ? turn : -turn));
        const float rise = BeyondDeadZone(allInput.y2) * S;
        a->Zlocation += allInput.y2 < 0 ? rise : -rise;
        if (enableActorSnap) cameraX = a->Xlocation, cameraY = a->Ylocation;
    }
    if (!Held(kButtonR) && (allInput.edges & kButtonR) && enableActorSnap) {
        for (actor_tag* a = actorList; a; a = a->nextActor) {
            if (!a->visible || a->actorType != kActorCharacter) continue;
            if (std::fabs(cameraX - a->Xlocation) >= kSnapRange || std::fabs(cameraY - a->Ylocation) >= kSnapRange)
                continue;
            testModeActor = a;
            cameraX = a->Xlocation, cameraY = a->Ylocation;
            break;
        }
    }
}

// The test character's animation runs on by its rate; a character without one is paused.
static int PlayTestAnimation()
{
    actor_tag* a = testOptions.testActor;
    if (!a || a->animInfo.animation <= 0) {
        testOptions.animationRunning = 0;
        return 1;
    }
    void* handle = nullptr;
    if (!GetResourceHandle(a->animInfo.animation, &handle) || !handle) return 0;
    const animation_tag* anim = static_cast<const animation_tag*>(handle);
    if (testOptions.animationRunning) {
        a->animInfo.animationFrame += updateRatio * anim->rateRatio * testOptions.animationFrameRatio;
        // A frame count below 1 would never let the frame back into range.
        if (anim->numFrames > 0) a->animInfo.animationFrame = std::fmod(a->animInfo.animationFrame, float(anim->numFrames));
        if (a->animInfo.animationFrame < 0.0f) a->animInfo.animationFrame = 0.0f;
    }
    float dx = 0.0f, dy = 0.0f;
    return AnimationTranslations(a, &dx, &dy);
}

int TestModeControls(float)
{
    TestOptions& t = testOptions;
    float S = cameraSpeed * updateRatio, R = cameraRotationRate * updateRatio, P = cameraPitchRate * updateRatio;
    float Zr = cameraZoomRate * updateRatio;
    const float V = cameraVerticalSpeed * updateRatio, D = updateRatio * 0.01f * 0.5f * 0.25f;
    TestItem* menu = t.curMenu;
    const int lines = TestMenuLength(menu);

    if (allInput.buttons == lastButton)
        ++buttonHeldCount;
    else
        lastButton = 0, buttonHeldCount = 0;

    if (Pressed(kButtonUp) && lines > 0) {
        if (t.curItemNum <= 0) t.curItemNum = lines;
        --t.curItemNum;
    }
    if (Pressed(kButtonDown) && lines > 0 && ++t.curItemNum >= lines) t.curItemNum = 0;
    if (!RepeatLine(kButtonLeft, kItemDecrease) || !RepeatLine(kButtonRight, kItemIncrease)) return 0;
    if (Pressed(kButtonA) && !CallCurrentLine(kItemSelect)) return 0;
    if (Held(kButtonX)) GoBack();
    if (Held(kButtonB)) S *= 0.1f, R *= 0.1f, P *= 0.1f, Zr *= 0.1f;

    FlyCamera(S, R, P, Zr, V);
    if (t.testActor && Held(kButtonA))
        MoveOnLane(&t.testActor->Xlocation, &t.testActor->Ylocation, cameraZangle, allInput.x, -allInput.y, S);
    if (Held(kButtonViewDistance)) {
        cameraViewingDistance += Held(kButtonX) ? -D : D;
        if (cameraViewingDistance < 0.1f) cameraViewingDistance = 0.1f;
    }
    SteerSnappedActor(S, R);
    if (Pressed(kButtonX)) {
        SwitchFlag(&gDrawTestInfo);
        SwitchFlag(&userCamera);
        SwitchFlag(&showScreenFrameRate);
    }
    return PlayTestAnimation();
}

// count values with their formats in rows of kColumns columns from the left of the menu, row
// pitch apart from y.
static void DrawValueGrid(const char* const formats[], const float values[], int count, int y, int row)
{
    for (int i = 0; i < count; ++i)
        TextOutputDrawDirect(kSelectedIndent + i % kColumns * kColumnWidth, y + i / kColumns * row, formats[i],
                             double(values[i]));
}

// The snapped test character's name, its script and its place, in three rows from y.
static void DrawSnappedActor(char* text, int y, int row)
{
    const actor_tag* a = testOptions.testActor;
    PrintString(text, kItemTextSize, "%s", a->playerData.name);
    TextOutputDrawDirect(kSelectedIndent, y, "%s", text);
    PrintString(text, kItemTextSize, "script: %s", a->scriptInfo.scriptName);
    TextOutputDrawDirect(kSelectedIndent, y + row, "%s", text);
    const float values[4] = {a->Xlocation, a->Ylocation, a->Zlocation, a->heading};
    const char* const formats[4] = {"X:%.1f", "Y:%.1f", "Z:%.1f", "Heading:%.1f"};
    DrawValueGrid(formats, values, 4, y + 2 * row, row);
}

int DrawTestInfo()
{
    TestOptions& t = testOptions;
    if (!gDrawTestInfo || !userCamera || !t.curMenu) return 1;
    if (!TextOutputSelectFont(RSID_FONT_DEFAULT)) return 0;
    const DisplaySafeArea& s = displaySafeArea;
    const int row = TextOutputGetFontHeight(), pitch = row + 1;
    TextOutputSetMode(kTextModeRight);
    TextOutputDrawDirect(s.right - kTitleInset, s.top + 1, "%s", "TEST MODE");
    TextOutputSetMode(kTextModeLeft);
    const float camera[8] = {cameraX, cameraY, cameraZ, cameraXangle, cameraYangle, cameraZangle, cameraZoom,
                             cameraViewingDistance};
    const char* const names[8] = {"X:%.1f", "Y:%.1f", "Z:%.1f", "XA:%.1f", "YA:%.1f", "ZA:%.1f", "ZM:%.1f", "VD:%.1f"};
    const int cameraTop = s.bottom - kCameraRows * row;
    DrawValueGrid(names, camera, 8, cameraTop, row);
    const int snapped = enableActorSnap && t.testActor;
    const int menuTop = s.top + 1 + row, menuBottom = snapped ? cameraTop - kSnapGap - kSnapRows * row : cameraTop;

    // Every line formats its label (some lines act on that call); the ones in view are drawn.
    TestItem* menu = t.curMenu;
    const int lines = TestMenuLength(menu), visible = (menuBottom - menuTop) / pitch;
    int top = t.curItemNum - visible / 2;
    if (top > lines - visible) top = lines - visible;
    if (top < 0) top = 0;
    char text[kItemTextSize];
    for (int i = 0; i < lines; ++i) {
        text[0] = 0;
        if (!menu[i].fn(kItemLabel, text)) return 0;
        if (i < top || i >= top + visible) continue;
        TextOutputDrawDirect(i == t.curItemNum ? kSelectedIndent : kMenuIndent, menuTop + pitch * (i - top), "%s", text);
    }
    if (snapped) DrawSnappedActor(text, menuBottom, row);
    return 1;
}
