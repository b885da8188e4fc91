// The on-screen keyboard: one for the whole program, opened by the text-input command for a name
// typed with the stylus on the lower screen. Its keys are laid out from the font's metrics; while
// it is open, and for a second after it is finished, the environment takes no other input.
#pragma once

#include "ui/environment.h"

enum {
    kBasicUiOskTextSize = 256,  // the typed text holds at most 255 characters and its terminator
    kBasicUiOskMaxKeys = 256,
    kBasicUiOskDel = 8,
    kBasicUiOskEsc = 10,
    kBasicUiOskEnter = 12,
    kBasicUiOskShift = 13,
};

struct sBasicUiOSK {
    int bufferMax, bufferPos;
    char buffer[kBasicUiOskTextSize];
    char title[kBasicUiOskTextSize];
    int keys;
    signed char key[kBasicUiOskMaxKeys];
    int keyX[kBasicUiOskMaxKeys], keyY[kBasicUiOskMaxKeys], keyW[kBasicUiOskMaxKeys], keyH[kBasicUiOskMaxKeys];
    int x, y, w, h;
    int fontRSID, bgRSID, keyRSID, keyTrim;
    int pressX, pressY, pressDown, pressLast;
    int done, cancelled, shiftState;
    float repeatRate, repeatElapsed;
    int fontHeight;  // the height the keys were laid out for
};

// The built-in layout: rows split by "##", a tab indents by half a key.
extern const char basicUiOskLayout[];

// Opens the keyboard for env at (x, y) of the 2D canvas: text of at most bufferMax characters,
// keys labelled in fontRSID (the UI's default font when that one is not loaded). After a cancel
// the input mode becomes cancelMode; after ENTER the mode from before the opening returns.
void BasicUiOSK_Open(sBasicUiEnvironment* env, const char* title, int x, int y, int fontRSID, int keyTrim,
                     int bufferMax, BasicUiInputMode cancelMode);
// Builds a keyboard record. Without any font the keys are laid out with fixed metrics and drawn
// without labels, so that there is always a key to leave by. Where the keys at keyTrim would cross
// the lower screen's right or bottom edge, they are laid out with the largest smaller trim that
// fits; the record's keyTrim is the one used.
int BasicUi_CreateOSK(sBasicUiOSK* osk, const char* title, const char* layout, int x, int y, int bufferMax,
                      int fontRSID, int bgRSID, int keyRSID, int keyTrim, float repeatRate);
// The frame of the keyboard opened by env: the stylus, the keys, and the input mode once it is
// finished. Returns 1.
int BasicUiOSK_Update(sBasicUiEnvironment* env, float dt);
int BasicUi_UpdateOSK(sBasicUiOSK* osk, float dt);
// Draws the keyboard opened by env while it is open. Returns 1.
int BasicUiOSK_Render(sBasicUiEnvironment* env);
int BasicUi_RenderOSK(sBasicUiOSK* osk);
// Finishes the keyboard as cancelled.
void BasicUiOSK_Close();
const char* BasicUiOSK_Result();
int BasicUiOSK_Cancelled(sBasicUiEnvironment* env);
// 1 while open and not done.
int BasicUiOSK_Opened(sBasicUiEnvironment* env);
// The keyboard itself, for drawing checks and tests.
sBasicUiOSK* BasicUiOSK_Get();
// The environment goes away: a keyboard it opened is finished at once without a result.
void BasicUiOSK_Forget(sBasicUiEnvironment* env);
