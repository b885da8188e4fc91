// The dialog box widget: a question box with a title, a message and a column of answers from a
// table, chosen with the pad or, in sticky mode, by holding the sticky cursor on one of a row of
// round answer buttons. Opened by code, it normally runs frames of its own until answered.
#pragma once

#include "ui/dbcellref.h"
#include "ui/environment.h"

struct sBasicUiWidgetTypeDialogBox {
    sBasicUiValueINT x, y, w, h, imageID;
    sBasicUiValueBOOL hasDynamicSize;
    sBasicUiValueINT srcXdelta, srcXmax, srcYdelta, srcYmax;
    sBasicUiValueINT fx, fy, fw, fh, flourishID;
    sBasicUiValueINT tFontID, tFontOffX, tFontOffY;
    float tFontScaleX, tFontScaleY;
    sBasicUiWidget* titleDbRef;
    sBasicUiDbRef titleDb;
    sBasicUiValueINT mFontID, mFontOffX, mFontOffY, mFontOffW;
    float mFontScaleX, mFontScaleY;
    sBasicUiWidget* msgDbRef;
    sBasicUiDbRef msgDb;
    sBasicUiValueINT dialogType, dialogState, dialogResult;
    sBasicUiValueBOOL isShowDialog;
    sBasicUiValueINT bFontHiID, bFontLoID, bFontOffX, bFontOffY, bFontAlignX, bFontAlignY;
    sBasicUiValueINT bColumn, bRowStart, bRowCount;
    float bFontScaleX, bFontScaleY;
    sBasicUiWidget* buttonsDbRef;
    sBasicUiValueBOOL usesStickyButtons;
    sBasicUiValueINT stickyID, stickyIDs, srcW, srcH, stickyLast;
    float stickyLastX, stickyLastY, stickyLastInteval, stickyPct, stickyLastElapsed;
    sBasicUiWidget* stickyCursor;
    sBasicUiWidget* audioDbRef;
    sBasicUiValueINT audioAcceptID, audioCancelID;
    float acceptHold;  // > 0: seconds the stylus holds the agreeing answer; the others take a tap
    int reported;      // a missing image, font or table was reported
};

// How long the stylus holds an answer that costs something (paying, buying, giving up).
constexpr float kBasicUiCostlyHold = 0.5f;

enum { kBasicUiDialogWaitFree = 0, kBasicUiDialogOpening = 1, kBasicUiDialogChoosing = 2,
       kBasicUiDialogChosen = 3, kBasicUiDialogClosed = 4 };

// Frames still to be cut short after an abort; shared with the text-input command.
extern int numberOfAbortedFrames;

sBasicUiWidgetTypeRef BasicUiWidgetTypeDialogBox_Create(sBasicUiEnvironment* env);
int BasicUiWidgetTypeDialogBox_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetTypeDialogBox_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetTypeDialogBox_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetTypeDialogBox_Render(sBasicUiWidget* w);
int BasicUiWidgetTypeDialogBox_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

// Opens the dialog of type 1 to 4 (one, two, three answers, or as many as the data holds). Unless
// it only shows itself, runs frames until it is answered and returns the code of the answer: 2
// for the first of one to three answers, 1 for the middle of three, 0 for the last; the index
// for type 4; -1 when the game is quitting, an abort cut it short, or the frames would not update
// the dialog (its screen, display or a parent inactive, or not the running environment; reported).
// A shown-only dialog returns 2 at once, or -1 when its screen, display or a parent is inactive.
// 0 for another widget.
int BasicUiWidgetTypeDialogBox_OpenDialog(sBasicUiWidget* w, int type);
int BasicUiWidgetTypeDialogBox_AbortInProgress();
// Closes the shown-only question that is up when its screen (or a parent) has stopped running,
// as its own update would have closed it: the input mode goes back to Normal. Once a frame.
void BasicUiWidgetTypeDialogBox_CloseWithItsScreen(sBasicUiEnvironment* env);
int BasicUiWidgetTypeDialogBox_AbortFrameTick();
int BasicUiWidgetTypeDialogBox_IsPressed(int x, int y, sBasicUiWidget* w);
// Makes the agreeing answer of a question that costs something (the first of two or three) take a
// hold of `seconds` with the stylus, and the other answers a tap; 0 gives every answer the hold of
// the sticky cursor (buttonInteval), as before. Nothing for another widget.
void BasicUiWidgetTypeDialogBox_SetAcceptHold(sBasicUiWidget* w, float seconds);
// The hold the answer nearest the cursor needs before it is taken; 0 when a touch takes it.
float BasicUiWidgetTypeDialogBox_HoldTime(sBasicUiWidget* w);
int BasicUiWidgetTypeDialogBox_Center(float* x, float* y, sBasicUiWidget* w);
