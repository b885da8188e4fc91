// The dialog box widget type: a question with answers from a table, chosen with up, down and the
// accept button or by holding the sticky cursor on an answer. OpenDialog runs a nested frame loop
// (controls, the front end's modal callback, update and render) until the dialog closes, or at
// once ends it when those frames would not update the dialog.
#include "ui/widgets/dialogbox.h"

#include <cmath>
#include <initializer_list>
#include <string>

#include "db/database.h"
#include "lib/printing.h"
#include "lib/resources.h"
#include "lib/textoutput.h"
#include "platform/input.h"
#include "platform/quads.h"
#include "platform/utilities.h"
#include "ui/draw2d.h"
#include "ui/frameupdate.h"
#include "ui/loadcheck.h"
#include "ui/placeholder.h"
#include "ui/presslatch.h"
#include "ui/registry.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/dbref.h"
#include "ui/widgets/msgbox.h"
#include "ui/widgets/sticky.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

int numberOfAbortedFrames = 0;

enum { kStickyCentreX = 560, kStickyCentreY = 180 };
// The answer the buttons have marked is drawn this many pixels larger, at full brightness; the
// others are dimmed to this colour modulation (127 is full).
enum { kPadMarkGrow = 8, kUnmarkedModulation = 80 };

static sBasicUiWidgetTypeDialogBox* Dialog(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetTypeDialogBox>(w, EBasicUiWidgetTypeDialogBox);
}

sBasicUiWidgetTypeRef BasicUiWidgetTypeDialogBox_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeDialogBox* d = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetTypeDialogBox, &d);
    if (!d) return ref;
    d->imageID = d->flourishID = d->tFontID = d->mFontID = BasicUiValueINT_Make(-1);
    d->tFontScaleX = d->tFontScaleY = d->mFontScaleX = d->mFontScaleY = 1.0f;
    d->bFontScaleX = d->bFontScaleY = 1.0f;
    BasicUiDbRef_Init(&d->titleDb);
    BasicUiDbRef_Init(&d->msgDb);
    d->dialogType = BasicUiValueINT_Make(1);
    d->dialogState = BasicUiValueINT_Make(kBasicUiDialogClosed);
    d->dialogResult = BasicUiValueINT_Make(2);
    d->bFontHiID = d->bFontLoID = BasicUiValueINT_Make(-1);
    d->bColumn = d->bRowStart = d->bRowCount = BasicUiValueINT_Make(-1);
    d->stickyID = d->srcW = d->srcH = d->stickyLast = BasicUiValueINT_Make(-1);
    d->stickyIDs = BasicUiValueINT_Make(1);
    d->stickyLastInteval = 1.75f;
    d->stickyPct = 3.0f;
    d->audioAcceptID = d->audioCancelID = BasicUiValueINT_Make(-1);
    return ref;
}

int BasicUiWidgetTypeDialogBox_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    auto* d = Dialog(w);
    if (!d || !t) return 0;
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
    BasicUiMessagePanel_AddProperties(d, t);
    add({{"dialogType", I, &d->dialogType, 1}, {"dialogState", I, &d->dialogState, 1},
         {"dialogResult", I, &d->dialogResult, 1}, {"isShowDialog", B, &d->isShowDialog, 1},
         {"bFontHiID", I, &d->bFontHiID, 1}, {"bFontLoID", I, &d->bFontLoID, 1},
         {"bFontOffX", I, &d->bFontOffX, 1}, {"bFontOffY", I, &d->bFontOffY, 1},
         {"bFontAlignX", I, &d->bFontAlignX, 1}, {"bFontAlignY", I, &d->bFontAlignY, 1},
         {"bColumn", I, &d->bColumn, 1}, {"bRowStart", I, &d->bRowStart, 1}, {"bRowCount", I, &d->bRowCount, 1},
         {"bFontSclX", F, &d->bFontScaleX, 0}, {"bFontSclY", F, &d->bFontScaleY, 0},
         {"buttonsDbRef", W, &d->buttonsDbRef, 0}, {"usesStickyButtons", B, &d->usesStickyButtons, 1},
         {"stickyID", I, &d->stickyID, 1}, {"stickyIDs", I, &d->stickyIDs, 1}, {"src.w", I, &d->srcW, 1},
         {"src.h", I, &d->srcH, 1}, {"stickyLast", I, &d->stickyLast, 1}, {"stickyLastX", F, &d->stickyLastX, 0},
         {"stickyLastY", F, &d->stickyLastY, 0}, {"stickyLastInteval", F, &d->stickyLastInteval, 0},
         {"stickyPct", F, &d->stickyPct, 0}, {"stickyLastElapsed", F, &d->stickyLastElapsed, 0},
         {"stickyCursor", W, &d->stickyCursor, 0}, {"audioDbRef", W, &d->audioDbRef, 0},
         {"audioAcceptID", I, &d->audioAcceptID, 1}, {"audioCancelID", I, &d->audioCancelID, 1}});
    return 1;
}

int BasicUiWidgetTypeDialogBox_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }

int BasicUiWidgetTypeDialogBox_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    auto* d = Dialog(w);
    if (!d) return 0;
    BasicUiDbRef_Fini(&d->titleDb, env);
    BasicUiDbRef_Fini(&d->msgDb, env);
    if (env && env->shownDialog == w) env->shownDialog = nullptr;
    return BasicUiWidget_FreeRecord(env, w);
}

int BasicUiWidgetTypeDialogBox_AbortInProgress() { return numberOfAbortedFrames > 0 ? 1 : 0; }

int BasicUiWidgetTypeDialogBox_AbortFrameTick()
{
    if (numberOfAbortedFrames >= 1) --numberOfAbortedFrames;
    return 1;
}

static float Pitch(const sBasicUiWidgetTypeDialogBox* d) { return float(d->srcW.value) + d->stickyPct * float(d->srcW.value); }
// The answers' row, centred on the screen. Wide answers far apart may reach beyond an int: each
// centre is kept within the coordinates' range, as every widget's place is.
static int FirstX(const sBasicUiWidgetTypeDialogBox* d)
{
    return BasicUi_ClampCoordinateF(float(kStickyCentreX) - Pitch(d) * float(d->bRowCount.value - 1) / 2.0f);
}
static float AnswerX(const sBasicUiWidgetTypeDialogBox* d, int x0, int i)
{
    return BasicUi_KeepCoordinateF(float(x0) + float(i) * Pitch(d));
}

int BasicUiWidgetTypeDialogBox_IsPressed(int x, int y, sBasicUiWidget* w)
{
    auto* d = Dialog(w);
    if (!d) return 0;
    float dx = float(x) - d->stickyLastX, dy = float(y) - d->stickyLastY;
    return std::sqrt(dx * dx + dy * dy) < float(d->srcW.value) / 2.0f ? 1 : 0;
}

int BasicUiWidgetTypeDialogBox_Center(float* x, float* y, sBasicUiWidget* w)
{
    auto* d = Dialog(w);
    if (!d || !x || !y) return 0;
    auto* c = BasicUiWidgetTypeStickyCursor_Get(d->stickyCursor);
    if (!c) return 0;
    float r = Pitch(d) / 2.0f;
    if (c->isPressed.value && c->closestButtonOld == w) r *= 1.75f;
    float dx = *x - d->stickyLastX, dy = *y - d->stickyLastY;
    if (std::sqrt(dx * dx + dy * dy) >= r) return 0;
    *x = d->stickyLastX;
    *y = d->stickyLastY;
    return 1;
}

static void Close(sBasicUiWidget* w)
{
    sBasicUiEnvironment* env = BasicUiWidget_GetEnvironment(w);
    if (env && env->shownDialog == w) env->shownDialog = nullptr;
    // The page under the question takes only presses that begin after it closed.
    BasicUi_LatchPresses();
    BasicUi_ClrController(1);
    BasicUiEnvironment_SetInputMode(env, BasicUiInputMode_Normal);
    w->isActive.value = 0;
    w->isRender.value = 0;
}

// The accept sound for a confirming answer, the cancel sound for the others.
static void PlayAnswerSound(sBasicUiWidgetTypeDialogBox* d)
{
    int bank = BasicUiWidgetTypeDbRef_GetDbInt(d->audioDbRef);
    if (bank < 1) return;
    int r = d->dialogResult.value, type = d->dialogType.value;
    bool accept = type == 1 || ((type == 2 || type == 3) && r == 0) || (type == 4 && r != d->bRowCount.value - 1);
    BasicUiWidgetTypeCmdSound_PlayResource(bank, accept ? d->audioAcceptID.value : d->audioCancelID.value, 1);
}

void BasicUiWidgetTypeDialogBox_SetAcceptHold(sBasicUiWidget* w, float seconds)
{
    if (auto* d = Dialog(w)) d->acceptHold = seconds > 0.0f ? seconds : 0.0f;
}

// The hold answer i needs: the agreeing answer of a costly question its own, the others none;
// otherwise the cursor's, or the dialog's own without a cursor.
static float HoldFor(const sBasicUiWidgetTypeDialogBox* d, int i)
{
    if (d->acceptHold > 0.0f) {
        const bool agrees = i == 0 && (d->dialogType.value == 2 || d->dialogType.value == 3);
        return agrees ? d->acceptHold : 0.0f;
    }
    return BasicUiWidgetTypeStickyCursor_Get(d->stickyCursor) ? BasicUiWidgetTypeStickyCursor_GetInteval(d->stickyCursor)
                                                               : d->stickyLastInteval;
}

float BasicUiWidgetTypeDialogBox_HoldTime(sBasicUiWidget* w)
{
    auto* d = Dialog(w);
    return d && d->stickyLast.value >= 0 ? HoldFor(d, d->stickyLast.value) : 0.0f;
}

// The sticky answers: finds the one nearest the cursor and times the hold on it while the stylus
// touches it (a touch that was already down when the question opened is not one). 1 when chosen
// and the chosen state should be looked at at once.
static int ChooseSticky(sBasicUiWidget* w, sBasicUiWidgetTypeDialogBox* d, float dt)
{
    float cx = 0, cy = 0;
    int touching = BasicUiWidgetTypeStickyCursor_GetCursor(d->stickyCursor, &cx, &cy);
    const float s = Pitch(d);
    const int x0 = FirstX(d);
    float best = 0;
    int nearest = -1;
    for (int i = 0; i < d->bRowCount.value; ++i) {
        float dx = cx - (float(x0) + float(i) * s), dy = cy - float(kStickyCentreY);
        float dist = std::sqrt(dx * dx + dy * dy);
        if (nearest < 0 || dist < best) best = dist, nearest = i;
    }
    if (nearest < 0) return 0;
    d->stickyLast.value = nearest;
    d->stickyLastX = AnswerX(d, x0, nearest);
    d->stickyLastY = float(kStickyCentreY);
    if (!touching) {
        d->stickyLastElapsed = 0;
        return 0;
    }
    if (best < s / 2.0f) BasicUiWidgetTypeStickyCursor_SetClosestButtonNow(d->stickyCursor, w);
    if (best >= float(d->srcW.value) / 2.0f) {
        d->stickyLastElapsed = 0;
        return 0;
    }
    d->stickyLastElapsed += dt;
    if (d->stickyLastElapsed <= HoldFor(d, nearest)) return 0;
    d->stickyLastElapsed = 0;
    d->dialogResult.value = nearest;
    d->dialogState.value = kBasicUiDialogChosen;
    if (d->audioAcceptID.value < 0 && d->audioCancelID.value < 0) return 1;
    PlayAnswerSound(d);
    return 0;
}

// B takes the last answer, the one that declines (No, Cancel) or the only one (OK), as B goes
// back everywhere else in the menus.
static bool TakeLastOnBack(const joystickState* pad, sBasicUiWidgetTypeDialogBox* d)
{
    if (!BasicUi_IsLetGo(pad, kBasicUiPadBack) || d->bRowCount.value < 1) return false;
    d->dialogResult.value = d->bRowCount.value - 1;
    d->dialogState.value = kBasicUiDialogChosen;
    return true;
}

// The buttons answer a sticky dialog too, so that no question needs the stylus: the d-pad moves
// the marked answer along the row, the accept button takes it and B declines, with the answer's
// sound as a held stylus gives it. 1 when chosen and the chosen state should be looked at at once.
static int ChooseStickyByPad(const joystickState* pad, sBasicUiWidgetTypeDialogBox* d)
{
    if (BasicUi_IsPressed(pad, kBasicUiPadLeft) || BasicUi_IsPressed(pad, kBasicUiPadUp)) {
        if (d->dialogResult.value > 0) --d->dialogResult.value;
        return 0;
    }
    if (BasicUi_IsPressed(pad, kBasicUiPadRight) || BasicUi_IsPressed(pad, kBasicUiPadDown)) {
        if (d->dialogResult.value + 1 < d->bRowCount.value) ++d->dialogResult.value;
        return 0;
    }
    if (!TakeLastOnBack(pad, d)) {
        if (!BasicUi_IsLetGo(pad, kBasicUiPadAccept) || d->dialogResult.value < 0 ||
            d->dialogResult.value >= d->bRowCount.value)
            return 0;
        d->dialogState.value = kBasicUiDialogChosen;
    }
    if (d->audioAcceptID.value < 0 && d->audioCancelID.value < 0) return 1;
    PlayAnswerSound(d);
    return 0;
}

int BasicUiWidgetTypeDialogBox_Update(sBasicUiWidget* w, float dt)
{
    auto* d = Dialog(w);
    sBasicUiEnvironment* env = BasicUiWidget_GetEnvironment(w);
    if (!d || !env) return 0;
    const joystickState* pad = BasicUi_GetController(0);
    if (d->isShowDialog.value && w->isRender.value && d->dialogState.value == kBasicUiDialogChoosing)
        BasicUiEnvironment_SetInputMode(env, BasicUiInputMode_Dialog);
    bool chosenNow = false, stepState = true;
    if (env->inputMode == BasicUiInputMode_Dialog && d->dialogState.value == kBasicUiDialogChoosing) {
        if (d->dialogType.value == 0) {
            stepState = false;
        } else if (!d->usesStickyButtons.value) {
            if (BasicUi_IsPressed(pad, kBasicUiPadUp)) {
                if (d->dialogResult.value > 0) --d->dialogResult.value;
            } else if (BasicUi_IsPressed(pad, kBasicUiPadDown)) {
                if (d->dialogResult.value + 1 < d->bRowCount.value) ++d->dialogResult.value;
            } else if (BasicUi_IsLetGo(pad, kBasicUiPadAccept)) {
                d->dialogState.value = kBasicUiDialogChosen;
                chosenNow = true;
            } else {
                chosenNow = TakeLastOnBack(pad, d);
            }
        } else {
            // The buttons first (they need neither cursor nor font), then the stylus on the answers.
            chosenNow = ChooseStickyByPad(pad, d) != 0;
            if (!chosenNow && d->dialogState.value == kBasicUiDialogChoosing) {
                if (!d->stickyCursor)
                    stepState = false;
                else if (BasicUi_FontExists(d->bFontHiID.value))
                    chosenNow = ChooseSticky(w, d, dt) != 0;
            }
        }
    }
    if (stepState && !chosenNow) {
        switch (d->dialogState.value) {
        case kBasicUiDialogWaitFree:
            if (BasicUi_IsFree(pad, kBasicUiPadAccept)) d->dialogState.value = kBasicUiDialogOpening;
            break;
        case kBasicUiDialogOpening: d->dialogState.value = kBasicUiDialogChoosing; break;
        case kBasicUiDialogChosen: chosenNow = true; break;
        default: break;
        }
    }
    if (chosenNow) {
        if (BasicUi_IsFree(pad, kBasicUiPadAccept)) d->dialogState.value = kBasicUiDialogClosed;
        if (d->isShowDialog.value) Close(w);
        return 1;
    }
    if (d->isShowDialog.value && numberOfAbortedFrames > 0) {
        Close(w);
        d->dialogState.value = kBasicUiDialogClosed;
    }
    return 1;
}

// Whether its environment's frames update the dialog: it, its parents, its screen and its display
// are all active.
static int IsInRunningTree(sBasicUiWidget* w)
{
    sBasicUiWidget* top = w;
    for (sBasicUiWidget* p = w; p; p = p->parentWidget) {
        if (!p->isActive.value) return 0;
        top = p;
    }
    const sBasicUiScreen* s = top->parentScreen;
    return s && s->isActive.value && s->parentDisplay && s->parentDisplay->isActive.value;
}

// Whether the nested loop's frames update the dialog: the environment they run is its own too.
static int IsUpdated(sBasicUiWidget* w, const sBasicUiEnvironment* env)
{
    return env && env == basicUiEnvironmentPtr && IsInRunningTree(w);
}

// A shown-only question is closed by its own update; when its screen stops nothing would, and the
// input mode would stay Dialog with every trigger dead.
void BasicUiWidgetTypeDialogBox_CloseWithItsScreen(sBasicUiEnvironment* env)
{
    sBasicUiWidget* w = env ? env->shownDialog : nullptr;
    if (!w || IsInRunningTree(w)) return;
    Close(w);
    if (auto* d = Dialog(w)) d->dialogState.value = kBasicUiDialogClosed;
}

int BasicUiWidgetTypeDialogBox_OpenDialog(sBasicUiWidget* w, int type)
{
    auto* d = Dialog(w);
    if (!d) return 0;
    d->dialogType.value = type;
    d->dialogState.value = kBasicUiDialogWaitFree;
    switch (type) {
    case 1: d->dialogResult.value = 0, d->bRowCount.value = 1; break;
    case 2: d->bRowCount.value = 2, d->dialogResult.value = 1; break;
    case 3: d->bRowCount.value = 3, d->dialogResult.value = 2; break;
    case 4: d->dialogResult.value = d->bRowCount.value - 1; break;
    default: break;
    }
    sBasicUiEnvironment* env = BasicUiWidget_GetEnvironment(w);
    d->stickyLastElapsed = 0;
    // The question takes only presses that begin after it opened.
    BasicUi_LatchPresses();
    if (env) {
        w->isActive.value = 1;
        w->isRender.value = 1;
        // Only a shown dialog's own update sets the input mode back: one that no frame updates
        // would leave every trigger dead, so it is refused and the mode left as it was.
        if (d->isShowDialog.value && !IsInRunningTree(w)) {
            PrintError("dialog: %s cannot be answered: its screen is not running", w->name);
            w->isActive.value = 0;
            w->isRender.value = 0;
            d->dialogState.value = kBasicUiDialogClosed;
            return -1;
        }
        BasicUiEnvironment_SetInputMode(env, BasicUiInputMode_Dialog);
        if (d->isShowDialog.value) {
            env->shownDialog = w;
            return 2;
        }
    }
    int stuck = 0;
    while (d->dialogState.value != kBasicUiDialogClosed && !done && !numberOfAbortedFrames) {
        // A dialog that no frame updates could never be answered: the loop would never end.
        if (!IsUpdated(w, env)) {
            PrintError("dialog: %s cannot be answered: its screen is not running", w->name);
            stuck = 1;
            break;
        }
        BasicUiEnvironment_SetInputMode(env, BasicUiInputMode_Dialog);
        ReadControls(nullptr);
        BasicUi_RunModalLoopCb();
        BasicUi_UpdateEnvironmentFull(basicUiEnvironmentPtr);
        BasicUi_RenderEnvironmentFull(basicUiEnvironmentPtr);
    }
    Close(w);
    if (stuck || done || numberOfAbortedFrames > 0) return -1;
    const int r = d->dialogResult.value;
    switch (d->dialogType.value) {
    case 1: return 2;
    case 2: return r == 0 ? 2 : 0;
    case 3: return r == 0 ? 2 : (r == 1 ? 1 : 0);
    case 4: return r;
    default: return 0;
    }
}

// Draws one answer cell of the answers table in the selected font.
static void DrawAnswer(sBasicDbTable* table, int row, int column, int x, int y, float sx, float sy, int ax, int ay)
{
    char text[256] = {0};
    if (!BasicDbTable_PutElementOntoStr(table, row, column, text, sizeof text)) return;
    BasicUi_RenderScaledDbText(x, y, sx, sy, ax, ay, text);
}

static int Select(int font, int* previous)
{
    if (!BasicUi_FontExists(font)) return 0;
    if (*previous < 0) *previous = TextOutputGetFontRSID();
    return TextOutputSelectFont(font);
}

static void* Bitmap(int id)
{
    void* bitmap = nullptr;
    if (id <= 0 || !GetResourceHandle(id, &bitmap)) return nullptr;
    return bitmap;
}

int BasicUiWidgetTypeDialogBox_Render(sBasicUiWidget* w)
{
    auto* d = Dialog(w);
    if (!d) return 0;
    if (d->usesStickyButtons.value) {
        RenderSetAlphaLevel(232);
        RenderSetColorModulation(127, 127, 127);
        RenderSetPenColor(0, 0, 0);
        RenderRect(0, 0, kBasicUiCanvasWidth, kBasicUiCanvasHeight);
        TextOutputNoteCover(0, 0, kBasicUiCanvasWidth, kBasicUiCanvasHeight);
    }
    TextOutputNoteCover(d->x.value, d->y.value, d->w.value, d->h.value);
    RenderSetAlphaLevel(255);
    RenderSetColorModulation(127, 127, 127);
    RenderSetPenColor(255, 255, 255);
    if (!d->hasDynamicSize.value) {
        if (void* b = Bitmap(d->imageID.value))
            DrawScreenPoly(b, 0, 0, d->x.value, d->y.value, d->w.value, d->h.value);
    } else {
        BasicUi_RenderSizableBox(d->imageID.value, d->x.value, d->y.value, d->w.value, d->h.value, d->srcXdelta.value,
                                 d->srcXmax.value, d->srcYdelta.value, d->srcYmax.value);
    }
    // What the description names and the game data or databases lack is marked where it would be.
    auto gap = [&](const char* what, const char* name, int x, int y, int wd, int h) {
        BasicUiWidget_Placeholder(w, &d->reported, what, name, x, y, wd, h);
    };
    const int bx = d->x.value, by = d->y.value, bw = d->w.value, bh = d->h.value;
    if (d->imageID.value > 0 && !Bitmap(d->imageID.value))
        gap("the image", std::to_string(d->imageID.value).c_str(), bx, by, bw, bh);
    if (void* f = Bitmap(d->flourishID.value))
        DrawScreenPoly(f, 0, 0, d->fx.value, d->fy.value, d->fw.value, d->fh.value);
    else if (d->flourishID.value > 0)
        gap("the image", std::to_string(d->flourishID.value).c_str(), d->fx.value, d->fy.value, d->fw.value, d->fh.value);
    sBasicUiEnvironment* env = BasicUiWidget_GetEnvironment(w);
    int previous = -1;
    char text[256];
    sBasicDbTable* title = d->titleDbRef ? BasicUiWidgetTypeDbRef_Table(d->titleDbRef) : BasicUiDbRef_Update(&d->titleDb, env);
    sBasicDbTable* msg = d->msgDbRef ? BasicUiWidgetTypeDbRef_Table(d->msgDbRef) : BasicUiDbRef_Update(&d->msgDb, env);
    sBasicDbTable* answers = BasicUiWidgetTypeDbRef_Table(d->buttonsDbRef);
    if (!title && (d->titleDbRef || d->titleDb.dbTblNm)) gap("the title table", d->titleDb.dbTblNm, bx, by, bw, bh);
    if (!msg && (d->msgDbRef || d->msgDb.dbTblNm)) gap("the message table", d->msgDb.dbTblNm, bx, by, bw, bh);
    if (!answers && d->buttonsDbRef) gap("the answers table", d->buttonsDbRef->name, bx, by, bw, bh);
    const int fonts[] = {title ? d->tFontID.value : -1, msg ? d->mFontID.value : -1,
                         answers ? d->bFontHiID.value : -1,
                         answers && !d->usesStickyButtons.value ? d->bFontLoID.value : -1};
    for (int font : fonts)
        if (font != -1 && !BasicUi_FontExists(font)) gap("the font", std::to_string(font).c_str(), bx, by, bw, bh);
    if (d->usesStickyButtons.value && answers && !BasicUi_ImageExists(d->stickyID.value))
        gap("the answer image", std::to_string(d->stickyID.value).c_str(), bx, by, bw, bh);
    if (title && Select(d->tFontID.value, &previous) &&
        BasicDbTable_PutElementOntoStr(title, d->titleDb.row.value, d->titleDb.column.value, text, sizeof text))
        BasicUi_RenderScaledDbText(d->fx.value + d->tFontOffX.value, d->fy.value + d->tFontOffY.value, d->tFontScaleX,
                                   d->tFontScaleY, 0, 0, text);
    if (msg && Select(d->mFontID.value, &previous) &&
        BasicDbTable_PutElementOntoStr(msg, d->msgDb.row.value, d->msgDb.column.value, text, sizeof text))
        BasicUi_RenderScaledColumnStyleText(d->x.value + d->mFontOffX.value, d->y.value + d->mFontOffY.value,
                                            d->mFontOffW.value, d->mFontScaleX, d->mFontScaleY, text);
    const int n = d->bRowCount.value;
    if (answers && n > 0 && Select(d->bFontHiID.value, &previous)) {
        const int line = int(float(TextOutputGetFontHeight() + TextOutputGetInterrowSpacing()) * d->bFontScaleY);
        if (!d->usesStickyButtons.value && BasicUi_FontExists(d->bFontLoID.value)) {
            const int ax = d->x.value + d->bFontOffX.value + (d->bFontAlignX.value * d->w.value) / 2;
            const int top = d->y.value + d->h.value + d->bFontOffY.value - (n + 1) * line;
            TextOutputSelectFont(d->bFontLoID.value);
            for (int i = 0; i < n; ++i)
                DrawAnswer(answers, d->bRowStart.value + i, d->bColumn.value, ax, top + i * line, d->bFontScaleX,
                           d->bFontScaleY, d->bFontAlignX.value, d->bFontAlignY.value);
            // The highlighted row may be any the loader keeps, far down a tall line: worked out wide
            // and kept within the coordinates' range.
            TextOutputSelectFont(d->bFontHiID.value);
            DrawAnswer(answers, d->bRowStart.value + d->dialogResult.value, d->bColumn.value, ax,
                       BasicUi_ClampCoordinate(top + (long long)d->dialogResult.value * line), d->bFontScaleX,
                       d->bFontScaleY, d->bFontAlignX.value, d->bFontAlignY.value);
        } else if (d->usesStickyButtons.value && BasicUi_ImageExists(d->stickyID.value)) {
            const int x0 = FirstX(d), ids = d->stickyIDs.value > 0 ? d->stickyIDs.value : 1;
            for (int i = 0; i < n; ++i) {
                const int bx = int(AnswerX(d, x0, i));
                // The answer the pad would take stands out: larger, at full brightness and in the
                // bright font; the others are dimmed and in the plain one.
                const bool marked = i == d->dialogResult.value;
                const int grow = marked ? kPadMarkGrow : 0;
                const int shade = marked ? 127 : kUnmarkedModulation;
                RenderSetColorModulation(shade, shade, shade);
                // The whole bitmap, scaled to the answer's size.
                if (auto* b = static_cast<DS3_bitmap_tag*>(Bitmap(d->stickyID.value + i % ids))) {
                    ScreenPolyData poly = {b, 0, 0, b->width, b->height, bx, kStickyCentreY, d->srcW.value + grow,
                                           d->srcH.value + grow, 0};
                    DrawScreenPolyRotEx(&poly, 0.0f);
                }
                RenderSetColorModulation(127, 127, 127);
                const bool lo = !marked && BasicUi_FontExists(d->bFontLoID.value);
                TextOutputSelectFont(lo ? d->bFontLoID.value : d->bFontHiID.value);
                DrawAnswer(answers, d->bRowStart.value + i, d->bColumn.value, bx + d->bFontOffX.value,
                           kStickyCentreY + d->bFontOffY.value + line + d->srcH.value / 2, d->bFontScaleX,
                           d->bFontScaleY, d->bFontAlignX.value, d->bFontAlignY.value);
            }
        }
    }
    if (previous >= 0) TextOutputSelectFont(previous);
    return 1;
}
