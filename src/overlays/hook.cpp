// The hook step of the button shot set-up: while the bowler swings, the circle pad held left or
// right sets the hook, and the throw is handed to the ball at the bowler's release frame (in the
// spares challenge the score table follows at once). There is no way back from here and no
// button of its own.
#include "overlays/hook.h"

#include <cstring>

#include "game/actors.h"
#include "game/ball.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/records.h"
#include "game/scoring.h"
#include "lib/resourceids.h"
#include "lib/textoutput.h"
#include "overlays/overlaydraw.h"
#include "overlays/overlaystack.h"
#include "overlays/overlaystrings.h"
#include "overlays/pausemenu.h"
#include "overlays/shotsetup.h"
#include "overlays/sparesoverlays.h"
#include "platform/input.h"

static const int kBackgroundImage = kImageHookBackground;
static const int kBallMarkerImage = kImageHookBall;
static const int kArcImage = kImageHookArc;
static const int kPointerImage = kImageHookPointer;
// Where the arc's picture stands, and the pointer's top.
static const int kArcX = 17, kArcY = 77, kPointerY = 5;

static int overlayActive = 0;
static float hookFactor = 0.0f;
static int releaseFrame = 61;
// Heights of the hook marker's arc above its baseline, full left (0) to full right (20).
static const int hiliteHeights[21] = {109, 96, 88, 82, 78, 74, 72, 72, 70, 68, 68,
                                      68, 70, 72, 72, 74, 78, 82, 88, 96, 109};

int StartDSStandardHookOverlay()
{
    return ShotPushStep(overlayActive, DSStandardHookOpenHandler, DSStandardHookDrawHandler, DSStandardHookUpdateHandler, DSStandardHookInputHandler, DSStandardHookCloseHandler);
}

int DSStandardHookOpenHandler()
{
    overlayActive = 1;
    hookFactor = 0.0f;
    PauseGame(0);
    releaseFrame = ShotReleaseFrame();
    return 1;
}

int DSStandardHookUpdateHandler() { return 1; }

int DSStandardHookInputHandler()
{
    if (GetControlState() < kControlReleased) {
        hookFactor = allInput.x;
        if (hookFactor < -1.0f) hookFactor = -1.0f;
        if (hookFactor > 1.0f) hookFactor = 1.0f;
        const actor_tag* bowler = ShotBowler();
        if (bowler && bowler->animInfo.animationFrame >= float(releaseFrame)) {
            ShotSetBallParams(hookFactor);
            ShotLetGo();
            // The spares challenge shows its score table at once while the ball rolls.
            if (gGameType == kGameSpares) {
                OverlayExit();
                StartDSSparesScoreOverlay();
            }
        }
    }
    if (ShotReleased(kButtonStart)) StartPauseMenuOverlay();
    return 1;
}

// Where along the arc the marker stands: -10 full left .. 10 full right, the centre for a pad
// within 0.09 of rest.
static int MarkerIndex(float hook)
{
    int i = 0;
    if (hook < -0.09f)
        i = int(10.0f * (hook - 0.1f));
    else if (hook >= 0.09f)
        i = int(10.0f * (hook + 0.1f));
    if (i < -10) i = -10;
    if (i > 10) i = 10;
    return i;
}

// The arc's painted labels are lines of text, and each stop the ball marker can ride at (the arc's
// dots) is a mark that no label may lie under (for --layout-out).
static void NoteArc(int markerW, int markerH)
{
    static const struct {
        const PictureBox& box;
        const char* text;
    } labels[] = {{kHookArcLeftLabel, "LEFT"}, {kHookArcRightLabel, "RIGHT"}};
    for (const auto& l : labels)
        TextOutputNoteDrawnLine(kArcX + l.box.x, kArcY + l.box.y, l.box.w, l.box.h, l.text, int(std::strlen(l.text)));
    for (int i = -10; i <= 10; ++i) TextOutputNoteMark(14 * i - markerW / 2 + 163, 186 - hiliteHeights[10 + i], markerW, markerH);
}

int DSStandardHookDrawHandler()
{
    if (!DrawOverlayBitmap(GetOverlayRSID(kBackgroundImage), 0, 0)) return 0;
    const int i = MarkerIndex(hookFactor);
    int pointerW = 0, markerW = 0, markerH = 0;
    if (!ShotImageSize(GetOverlayRSID(kPointerImage), &pointerW, nullptr, 0) ||
        !ShotImageSize(GetOverlayRSID(kBallMarkerImage), &markerW, &markerH, 0))
        return 0;
    const int pointerX = 14 * i - pointerW / 2 + 163;
    NoteArc(markerW, markerH);
    return DrawOverlayMark(GetOverlayRSID(kPointerImage), pointerX, kPointerY) &&
           DrawOverlayBitmap(GetOverlayRSID(kArcImage), kArcX, kArcY) &&
           DrawOverlayBitmap(GetOverlayRSID(kBallMarkerImage), 14 * i - markerW / 2 + 163, 186 - hiliteHeights[10 + i]) &&
           ShotText(kShotTitleFont, kTextModeCenter, 160, 192, GeneralOverlayString(8)) &&
           ShotText(kShotHintFont, kTextModeCenter, 160, 47, HintString(kHintHookKeys));
}

int DSStandardHookCloseHandler()
{
    overlayActive = 0;
    return 1;
}
