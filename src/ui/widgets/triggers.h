// The trigger widgets: each frame they watch the controller, the key queue, a timer or the
// display cursor and start command sequences. All but the timer act only while the environment's
// input mode is Normal; firing a trigger sets its sequence running, anything else named is ignored.
#pragma once

#include "ui/dbcellref.h"
#include "ui/environment.h"

struct sBasicUiWidgetTypeTriggerKey {
    sBasicUiValueINT keyCode, keyState;
    sBasicUiWidget* cmdSeq;
};

enum { kBasicUiPadSeqs = 10 };  // dpad0 U D L R, dpad1 U D L R, start, select
struct sBasicUiWidgetTypeTriggerPad {
    sBasicUiWidget* button;
    sBasicUiWidget* seq[kBasicUiPadSeqs];
    sBasicUiValueBOOL dpad0All, dpad1All, onUp;
};

struct sBasicUiWidgetTypeTriggerTimer {
    sBasicUiValueINT variant;
    sBasicUiWidget* cmdSeq;
    sBasicUiValueBOOL isPlaying, onlyIfIdle;
    float interval[2];  // "inteval", seconds
    float dt;           // seconds counted
};

struct sBasicUiWidgetTypeTriggerEnter {
    sBasicUiWidget* button;
    sBasicUiWidget* cmdSeq;
    sBasicUiWidget* cmdSeqLeave;
    sBasicUiValueBOOL hasEntered;
};

struct sBasicUiWidgetTypeTriggerLeave {
    sBasicUiWidget* button;
    sBasicUiWidget* cmdSeq;
};

struct sBasicUiWidgetTypeTriggerPress {
    sBasicUiWidget* button;
    sBasicUiWidget* cmdSeq;
    sBasicUiValueINT variant;
};

struct sBasicUiWidgetTypeTriggerBox {
    sBasicUiValueINT x, y, w, h, softW, softH;
    float value[2];
};

struct sBasicUiWidgetTypeTriggerMove {
    sBasicUiValueINT step;
    sBasicUiWidget* button;    // the first button
    sBasicUiWidget* selected;
    sBasicUiValueINT imageID;
    float timeout[2];
    sBasicUiWidget* minimise;
    sBasicUiWidget* maximise;
    sBasicUiValueINT vScrollID, vScrollLoop, hScrollID, hScrollLoop;
    sBasicUiValueINT eHScrollID, eHScrollLoop, eVScrollID, eVScrollLoop;
    sBasicUiValueBOOL skipLockedItems, reset, ignore;
    sBasicUiDbRef sounds;
    float dt;       // idle seconds
    int minimised;  // "minimise" ran in this idle spell
    int cx0, cy0, cx1, cy1;  // the cursor kept while another trigger owns the display's
};

BASIC_UI_DECLARE_TYPE(TriggerKey)
BASIC_UI_DECLARE_TYPE(TriggerPad)
BASIC_UI_DECLARE_TYPE(TriggerTimer)
BASIC_UI_DECLARE_TYPE(TriggerEnter)
BASIC_UI_DECLARE_TYPE(TriggerLeave)
BASIC_UI_DECLARE_TYPE(TriggerPress)
BASIC_UI_DECLARE_TYPE(TriggerBox)
BASIC_UI_DECLARE_TYPE(TriggerMove)

// Sets a sequence running; anything else is ignored.
void BasicUiTrigger_Fire(sBasicUiWidget* seq);
// 1 while the widget's environment takes input as Normal.
int BasicUiTrigger_IsNormal(sBasicUiWidget* w);

sBasicUiWidget* BasicUiWidgetTypeTriggerMove_GetSelected(sBasicUiWidget* w);
void BasicUiWidgetTypeTriggerMove_SetSelected(sBasicUiWidget* w, sBasicUiWidget* button);

enum { kBasicUiMoveUp = 0, kBasicUiMoveDown = 1, kBasicUiMoveRight = 2, kBasicUiMoveLeft = 3 };
// The button reached from `from` by `steps` available buttons along its links in the direction
// (unavailable ones are passed over without using a step); `from` when none is reached, `first`
// when `from` is no button. The walk visits at most as many links as there are widgets, so a ring
// of unavailable buttons ends. A scroll box holding the result is scrolled to it.
sBasicUiWidget* MoveBtn(sBasicUiWidget* from, sBasicUiWidget* first, int direction, int skipLocked, int steps);
