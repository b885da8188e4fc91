// The message box (a panel with a flourish, a title and a wrapped message from table cells and an
// optional amount of money) and the hint (an animated image sequence that fades in after a delay,
// with a sound as it comes into view).
#pragma once

#include "ui/dbcellref.h"
#include "ui/environment.h"

struct sBasicUiWidgetTypeMsgBox {
    sBasicUiValueINT x, y, w, h, imageID;
    sBasicUiValueBOOL hasDynamicSize;
    sBasicUiValueINT srcXdelta, srcXmax, srcYdelta, srcYmax;
    sBasicUiValueINT fx, fy, fw, fh, flourishID;
    sBasicUiValueINT tFontID, tFontOffX, tFontOffY;
    float tFontScaleX, tFontScaleY;
    sBasicUiDbRef titleDb;
    sBasicUiWidget* titleDbRef;
    sBasicUiValueINT mFontID, mFontOffX, mFontOffY, mFontOffW;
    float mFontScaleX, mFontScaleY;
    sBasicUiDbRef msgDb;
    sBasicUiWidget* msgDbRef;
    sBasicUiValueINT cFontID, cFontOffX, cFontOffY, cFontAlignX, cFontAlignY;
    float cFontScaleX, cFontScaleY;
    sBasicUiWidget* currency;
};

struct sBasicUiWidgetTypeMcHint {
    sBasicUiValueINT iGroup, x, y, w, h, fw, fh;
    float appearDelay, fadeInTime, fadeInTimePress, fadeInCounter;
    int edge;  // the sound plays when the hint next comes into view
    sBasicUiValueINT region, pushID, pushLoop;
    sBasicUiDbRef audioDbRef;
};

sBasicUiWidgetTypeRef BasicUiWidgetTypeMsgBox_Create(sBasicUiEnvironment* env);
int BasicUiWidgetTypeMsgBox_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetTypeMsgBox_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetTypeMsgBox_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetTypeMsgBox_Render(sBasicUiWidget* w);
int BasicUiWidgetTypeMsgBox_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

sBasicUiWidgetTypeRef BasicUiWidgetTypeMcHint_Create(sBasicUiEnvironment* env);
int BasicUiWidgetTypeMcHint_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetTypeMcHint_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetTypeMcHint_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetTypeMcHint_Render(sBasicUiWidget* w);
int BasicUiWidgetTypeMcHint_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

// Point the message box's title, message or amount at another reference widget and cell.
void BasicUiWidgetTypeMsgBox_SetTitle(sBasicUiWidget* w, sBasicUiWidget* dbRef, int row, int column);
void BasicUiWidgetTypeMsgBox_SetMsg(sBasicUiWidget* w, sBasicUiWidget* dbRef, int row, int column);
void BasicUiWidgetTypeMsgBox_SetCurrency(sBasicUiWidget* w, sBasicUiWidget* dbRef, int row, int column);
