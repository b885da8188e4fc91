// The script widgets: the command sequence (the interpreter of one script) and the commands it
// runs. Each command is a widget type whose parameters are ordinary properties; it acts only when
// its sequence executes it, and every operation does nothing (or gives 0) for a widget of another
// type or without a record.
#pragma once

#include "ui/dbcellref.h"
#include "ui/environment.h"

struct sBasicDbTable;

struct sBasicUiWidgetTypeCmdSequence {
    sBasicUiValueBOOL cmdSeqActive;  // "cmdActive"
    sBasicUiWidget* activeCmd;       // the command waited at
    int dialogActive;                // a function command of this sequence is being called
};

struct sBasicUiWidgetTypeCmdPlayClip {
    sBasicUiWidget* clip;
    sBasicUiValueBOOL isPlaying, setSpeed;
    float speed;
    sBasicUiValueBOOL setTMin;
    float tMin;
    sBasicUiValueBOOL setT;
    float t;
    sBasicUiValueBOOL setTMax;
    float tMax;
    sBasicUiValueBOOL setIsFwd, isFwd, setIsLoop, isLoop, setIsFlipFlop, isFlipFlop;
};

struct sBasicUiWidgetTypeCmdWait {
    sBasicUiWidget* clip;
    float wait;
    float time;
};

struct sBasicUiWidgetTypeCmdSetScreen {
    sBasicUiScreen* screen;
    sBasicUiValueBOOL setVariant;
    sBasicUiValueINT variant;
    sBasicUiValueBOOL setIsActive, setIsRender;
};

struct sBasicUiWidgetTypeCmdSetValue {
    sBasicUiWidget* widget;
    char* prop;
    sBasicUiValueBOOL pValue;
    sBasicUiValueBYTE bValue;
    sBasicUiValueINT iValue;
    float fValue;
    sBasicUiWidget* wValue;
    sBasicUiValueBOOL isInc, invert;
    sBasicUiValueINT min, max;
    sBasicUiValueBOOL hasDbValue;
    char* dbNm;
    char* dbTblNm;
    sBasicUiValueINT column, row, element;
    sBasicUiValueBOOL hasIDbRow;
    sBasicUiWidget* idbRowRef;
    sBasicUiTableCache cache;
    int reported;  // a missing name was reported
};

struct sBasicUiWidgetTypeCmdSetInput {
    sBasicUiValueINT inputMode;
};

struct sBasicUiWidgetTypeCmdControl {
    sBasicUiValueBOOL tMap;
    float tMin, tMax;
    sBasicUiWidget* srcW;
    char* srcP;
    sBasicUiWidget* dstW;
    char* dstP;
    // The four above as last looked up, and the two properties found then (none: type -1).
    sBasicUiWidget* cSrcW;
    const char* cSrcP;
    sBasicUiWidget* cDstW;
    const char* cDstP;
    sBasicUiProperty src, dst;
    int valid;
    int reported;  // a missing name was reported
};

struct sBasicUiWidgetTypeCmdFn {
    char* fn;
    sBasicUiValueINT value;
    const char* cachedName;
    BasicFn cachedFn;
    int reported;  // a missing name was reported
};

struct sBasicUiWidgetTypeCmdGosub {
    sBasicUiWidget* gosub;
    int reported;  // a missing name was reported
};

struct sBasicUiWidgetTypeCmdBreak {
    sBasicUiWidget* cmdSeq;
    sBasicUiValueINT cmdCount;
    sBasicUiWidget* exclusion;
};

struct sBasicUiWidgetTypeCmdTextIn {
    char* title;  // kept for descriptions; the keyboard's title comes from the title cell
    float scale;
    sBasicUiValueINT limit;
    char* dbNm;
    char* dbTblNm;
    sBasicUiValueINT column, row;
    sBasicUiDbRef dbTitle;
    sBasicUiValueBOOL lockPadOnOpen, unlockPadOnClose;
    int size;  // the text size of the keyboard opened
    int reported;  // a missing name was reported
};

struct sBasicUiWidgetTypeCmdEditDb {
    char* dbNm;
    char* dbTblNm;
    sBasicUiValueBOOL hasIDbRow;
    sBasicUiWidget* idbRowRef;
    sBasicUiValueBOOL isInc, isIncWrap;
    sBasicUiValueINT min, inc, max, element, row, column;
    sBasicUiValueBOOL isSet;
    sBasicUiValueINT value;
    sBasicUiValueBOOL isCopy;
    sBasicUiValueINT rowSrc, rowDst;
    sBasicUiValueBOOL isSave, isGameSave;
    char* filename;
    sBasicUiValueINT argGameSave;
    sBasicUiTableCache cache;
    int reported;  // a missing name was reported
};

struct sBasicUiWidgetTypeCmdSound {
    sBasicUiValueINT soundID, loop;
    char* dbNm;
    char* dbTblNm;
    sBasicUiValueINT row, column;
    sBasicUiTableCache cache;
    int reported;  // a missing name was reported
};

struct sBasicUiWidgetTypeCmdIf {
    sBasicUiValueINT lvalue, inequality, rvalue;
    sBasicUiValueBOOL invert, result;
};

struct sBasicUiWidgetTypeCmdElse {
    sBasicUiValueBOOL result;
};

struct sBasicUiWidgetTypeCmdBGM {
    sBasicUiValueINT musicID, volume;
    sBasicUiValueBOOL start, fade;
    float fadeTime;
};


BASIC_UI_DECLARE_TYPE(CmdSequence)
BASIC_UI_DECLARE_TYPE(CmdPlayClip)
BASIC_UI_DECLARE_TYPE(CmdWait)
BASIC_UI_DECLARE_TYPE(CmdSetScreen)
BASIC_UI_DECLARE_TYPE(CmdSetValue)
BASIC_UI_DECLARE_TYPE(CmdSetInput)
BASIC_UI_DECLARE_TYPE(CmdControl)
BASIC_UI_DECLARE_TYPE(CmdFn)
BASIC_UI_DECLARE_TYPE(CmdGosub)
BASIC_UI_DECLARE_TYPE(CmdBreak)
BASIC_UI_DECLARE_TYPE(CmdTextIn)
BASIC_UI_DECLARE_TYPE(CmdEditDb)
BASIC_UI_DECLARE_TYPE(CmdSound)
BASIC_UI_DECLARE_TYPE(CmdIf)
BASIC_UI_DECLARE_TYPE(CmdElse)
BASIC_UI_DECLARE_TYPE(CmdBGM)

// Commands that do nothing per frame and draw nothing.
#define BASIC_UI_COMMAND_NO_FRAME(T)                                                              \
    int BasicUiWidgetType##T##_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }      \
    int BasicUiWidgetType##T##_Update(sBasicUiWidget*, float) { return 1; }                       \
    int BasicUiWidgetType##T##_Render(sBasicUiWidget*) { return 1; }

// ---- Sequences ----

// Starts the sequence at its next update: where it waits, or at its first command.
void BasicUiWidgetTypeCmdSequence_Run(sBasicUiWidget* seq);
// Stops it and the command it waits at (a called sequence, the keyboard, a wait).
void BasicUiWidgetTypeCmdSequence_Brk(sBasicUiWidget* seq);
int BasicUiWidgetTypeCmdSequence_IsRunning(sBasicUiWidget* seq);

// ---- Commands, as the sequence calls them ----

void BasicUiWidgetTypeCmdPlayClip_Play(sBasicUiWidget* w);
int BasicUiWidgetTypeCmdWait_IsWaiting(sBasicUiWidget* w, float dt);
void BasicUiWidgetTypeCmdWait_Reset(sBasicUiWidget* w);
void BasicUiWidgetTypeCmdSetScreen_Set(sBasicUiWidget* w);
// 1 when variant is 0, w is null or has no parent screen, or its screen shows that variant.
int BasicUiWidgetTypeCmdSetScreen_IsVariant(sBasicUiWidget* w, int variant);
void BasicUiWidgetTypeCmdSetValue_Set(sBasicUiWidget* w);
void BasicUiWidgetTypeCmdSetInput_SetInputMode(sBasicUiWidget* w);
void BasicUiWidgetTypeCmdControl_Set(sBasicUiWidget* w);
int BasicUiWidgetTypeCmdFn_Call(sBasicUiWidget* w);
int BasicUiWidgetTypeCmdGosub_Call(sBasicUiWidget* w);
int BasicUiWidgetTypeCmdGosub_IsActive(sBasicUiWidget* w);
void BasicUiWidgetTypeCmdGosub_Brk(sBasicUiWidget* w);
void BasicUiWidgetTypeCmdBreak_Break(sBasicUiWidget* w);
int BasicUiWidgetTypeCmdTextIn_Open(sBasicUiWidget* w);
int BasicUiWidgetTypeCmdTextIn_IsActive(sBasicUiWidget* w);
int BasicUiWidgetTypeCmdTextIn_Cancel(sBasicUiWidget* w);
int BasicUiWidgetTypeCmdTextIn_WasCancelled();
int BasicUiWidgetTypeCmdEditDb_Edit(sBasicUiWidget* w);
void BasicUiWidgetTypeCmdSound_Play(sBasicUiWidget* w);
void BasicUiWidgetTypeCmdSound_PlayResource(int volume, int soundId, int loops);
void BasicUiWidgetTypeCmdSound_PlayResource(sBasicDbTable* table, int row, int column, int soundId, int loops);
int BasicUiWidgetTypeCmdIf_Test(sBasicUiWidget* w);
int BasicUiWidgetTypeCmdElse_Test(sBasicUiWidget* w);
void BasicUiWidgetTypeCmdBGM_Run(sBasicUiWidget* w);
// The milliseconds of a music fade of fadeTime frames of a 30 Hz game at fps frames a second: at
// least 1, at most the largest int.
int BasicUiWidgetTypeCmdBGM_FadeMilliseconds(float fadeTime, float fps);
int BasicUiWidgetTypeCmdBGM_Stop();
int BasicUiWidgetTypeCmdBGM_MusicEndCB(void*);
