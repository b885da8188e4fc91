// Sticky buttons and the sticky cursor: the cursor lands where the stylus touches the lower screen
// and follows it, eased, pulled onto the nearest sticky button within its capture radius; it stays
// where it was when the stylus is lifted. A button with no interval (a tap) fires in the first
// frame of a touch that lands on it; a button held under the stylus for its interval fires its
// commands (the cursor shows how far the hold has come), repeats while held when asked, runs enter
// and leave commands, and can inject a pad direction as if it had been pressed. A touch that was
// down when the page opened is not seen (presslatch.h).
#pragma once

#include "ui/environment.h"

enum { kBasicUiStickyCircle = 0, kBasicUiStickyBox = 1 };

struct sBasicUiWidgetTypeStickyButton {
    sBasicUiValueINT imageID, x, y, w, h, srcX, srcY, srcW, srcH;
    sBasicUiValueINT shape, innerRadius, outerRadius;
    float inteval, elapsed;
    sBasicUiValueBOOL pressState;
    sBasicUiWidget *cmd, *cmdII, *enterI, *enterII, *leave, *leaveII;
    sBasicUiValueBOOL pressCmd;
    sBasicUiValueINT pressPad;
    char* pressDir;   // owned
    char* pressEdge;  // owned
    sBasicUiWidget* cursor;
    sBasicUiWidget* tDbRef;
    sBasicUiValueINT tRow, tColumn, tFontID, tFontOffX, tFontOffY, tFontAlignX, tFontAlignY;
    float tFontScaleX, tFontScaleY;
    sBasicUiValueINT variant;
    sBasicUiValueBOOL repeats, wasTouching;
    sBasicUiWidget* dblTouchGrpNext;
    sBasicUiValueBOOL dblTouchGrpPressed;
    sBasicUiWidget* dblTouchGrpPair;  // the ring of one group's members; each button alone here
    int reported;                     // a missing image, font or table was reported
};

struct sBasicUiWidgetTypeStickyCursor {
    sBasicUiValueBOOL isDblTouch;
    sBasicUiValueINT fillerID, cursorHiID, cursorLoID;
    sBasicUiValueINT x, y, w, h, srcX, srcY, srcW, srcH;
    float degrees, alpha, alphaRate;
    sBasicUiValueBOOL limitedMoveDir;
    float delay, delaySticky, minMoveDir, valueMoveDir, maxMoveDir, deltaMinMoveDir, deltaMaxMoveDir;
    float activeCursorX, activeCursorY, gravitatedCursorX, gravitatedCursorY;
    float buttonInteval, buttonElapsed;
    sBasicUiValueBOOL isPressed, isLeftHand, isTouching;
    sBasicUiWidget* closestButtonNow;
    sBasicUiWidget* closestButtonOld;
    sBasicUiWidget* lastTouched;
    int lastTouchedLifted;
    int touchFrames;  // frames the stylus has touched without a break, 0 while lifted
    float holdTime;   // the hold the nearest button needs before it fires; 0 for a tap
    int reported;     // a missing image was reported
};

sBasicUiWidgetTypeRef BasicUiWidgetTypeStickyButton_Create(sBasicUiEnvironment* env);
int BasicUiWidgetTypeStickyButton_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetTypeStickyButton_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetTypeStickyButton_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetTypeStickyButton_Render(sBasicUiWidget* w);
int BasicUiWidgetTypeStickyButton_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

sBasicUiWidgetTypeRef BasicUiWidgetTypeStickyCursor_Create(sBasicUiEnvironment* env);
int BasicUiWidgetTypeStickyCursor_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetTypeStickyCursor_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetTypeStickyCursor_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetTypeStickyCursor_Render(sBasicUiWidget* w);
int BasicUiWidgetTypeStickyCursor_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

sBasicUiWidgetTypeStickyCursor* BasicUiWidgetTypeStickyCursor_Get(sBasicUiWidget* w);
sBasicUiWidgetTypeStickyButton* BasicUiWidgetTypeStickyButton_Get(sBasicUiWidget* w);

// The eased position, truncated by the caller; returns isTouching (the stylus touches now). 0 for
// another widget.
int BasicUiWidgetTypeStickyCursor_GetCursor(sBasicUiWidget* cursor, float* x, float* y);
// 1 in the frames that see a touch that has just begun (the cursor's last update met its first
// frame): the frame in which a tap acts.
int BasicUiWidgetTypeStickyCursor_IsNewTouch(sBasicUiWidget* cursor);
int BasicUiWidgetTypeStickyCursor_IsVisible(sBasicUiWidget* cursor);
int BasicUiWidgetTypeStickyCursor_IsDblTouch(sBasicUiWidget* cursor);
float BasicUiWidgetTypeStickyCursor_GetElapsed(sBasicUiWidget* cursor);
void BasicUiWidgetTypeStickyCursor_SetElapsed(sBasicUiWidget* cursor, float t);
float BasicUiWidgetTypeStickyCursor_GetInteval(sBasicUiWidget* cursor);
sBasicUiWidget* BasicUiWidgetTypeStickyCursor_GetClosestButtonNow(sBasicUiWidget* cursor);
void BasicUiWidgetTypeStickyCursor_SetClosestButtonNow(sBasicUiWidget* cursor, sBasicUiWidget* w);
sBasicUiWidget* BasicUiWidgetTypeStickyCursor_GetClosestButtonOld(sBasicUiWidget* cursor);

// Circle: within the inner radius of the centre; box: on or inside the box; other shapes never.
int BasicUiWidgetTypeStickyButton_IsPressed(int px, int py, sBasicUiWidget* button);
float BasicUiWidgetTypeStickyButton_Distance(int px, int py, sBasicUiWidget* button);
// Captures a point within the capture radius (wider while the cursor already presses this
// button) and snaps it: to the centre of a circle, to the middle line of a box. 1 when captured.
int BasicUiWidgetTypeStickyButton_Center(float* fx, float* fy, sBasicUiWidget* button);
int BasicUiWidgetTypeStickyButton_Repeats(sBasicUiWidget* button);
int BasicUiWidgetTypeStickyButton_IsDoubleTouch(sBasicUiWidget* button);
void BasicUiWidgetTypeStickyButton_DoubleTouchGroupPress(sBasicUiWidget* button, int v);
void BasicUiWidgetTypeStickyButton_DoubleTouchGroupClear(sBasicUiWidget* button);
