// The message box (a panel with a flourish, a title and a wrapped message from table cells and an
// optional amount of money) and the hint (an animated image sequence that fades in after a delay,
// with a sound as it comes into view).
#pragma once

#include <initializer_list>

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

// The properties of the panel, its title and its message, which message boxes and dialog boxes
// share by name and meaning (P is either record).
template <class P>
void BasicUiMessagePanel_AddProperties(P* p, sBasicUiPropertyTracker* t)
{
    const eBasicUiPropertyType I = eBasicUiPropertyTypeINT, F = eBasicUiPropertyTypeFLT,
                               B = eBasicUiPropertyTypeBOOL, W = eBasicUiPropertyTypeWidgetREF;
    struct Row {
        const char* name;
        eBasicUiPropertyType type;
        void* value;
        int initial;
    };
    auto add = [t](std::initializer_list<Row> rows) {
        for (const Row& r : rows) BasicUiPropertyTracker_Add(t, r.name, r.type, r.value, 1, r.initial);
    };
    add({{"x", I, &p->x, 1}, {"y", I, &p->y, 1}, {"w", I, &p->w, 1}, {"h", I, &p->h, 1},
         {"imageID", I, &p->imageID, 1}, {"hasDynamicSize", B, &p->hasDynamicSize, 1},
         {"srcXdelta", I, &p->srcXdelta, 1}, {"srcXmax", I, &p->srcXmax, 1}, {"srcYdelta", I, &p->srcYdelta, 1},
         {"srcYmax", I, &p->srcYmax, 1}, {"fx", I, &p->fx, 1}, {"fy", I, &p->fy, 1}, {"fw", I, &p->fw, 1},
         {"fh", I, &p->fh, 1}, {"flourishID", I, &p->flourishID, 1}, {"tFontID", I, &p->tFontID, 1},
         {"tFontOffX", I, &p->tFontOffX, 1}, {"tFontOffY", I, &p->tFontOffY, 1},
         {"tFontSclX", F, &p->tFontScaleX, 0}, {"tFontSclY", F, &p->tFontScaleY, 0},
         {"titleDbRef", W, &p->titleDbRef, 0}});
    BasicUiDbRef_AddProperties(&p->titleDb, {"titleDb.Nm", "titleDb.tblNm", "titleDb.row", "titleDb.column"}, t);
    add({{"mFontID", I, &p->mFontID, 1}, {"mFontOffX", I, &p->mFontOffX, 1}, {"mFontOffY", I, &p->mFontOffY, 1},
         {"mFontOffW", I, &p->mFontOffW, 1}, {"mFontSclX", F, &p->mFontScaleX, 0},
         {"mFontSclY", F, &p->mFontScaleY, 0}, {"msgDbRef", W, &p->msgDbRef, 0}});
    BasicUiDbRef_AddProperties(&p->msgDb, {"msgDb.Nm", "msgDb.tblNm", "msgDb.row", "msgDb.column"}, t);
}

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
