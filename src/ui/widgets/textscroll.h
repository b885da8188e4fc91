// The text scroll widget: the rows of a table roll up through a window, two at a time, each fading
// in at the bottom and out at the top, with up to two lines of text and an image per row. The
// credits use it.
#pragma once

#include "ui/environment.h"

struct sBasicUiWidgetTypeTextScroll {
    float cursor;     // scroll position in rows
    float cursorMin;  // where the roll starts again after the last row
    float cursorMax;  // stored only
    float speed;
    sBasicUiValueINT x, y, w, h;  // x anchors the texts and centres the images; y is the top
    sBasicUiValueINT insetY;      // height of the fade zones
    sBasicUiValueINT fontID;
    sBasicUiValueINT fontAlignmentX, fontAlignmentY;
    float fontScaleX, fontScaleY;
    sBasicUiValueINT fontOffsetX, fontOffsetY;  // stored only
    sBasicUiWidget* textDbRef;  // a database reference naming the table
    int modulus;  // half-row spacing, once the cursor has passed 1
};

sBasicUiWidgetTypeRef BasicUiWidgetTypeTextScroll_Create(sBasicUiEnvironment* env);
int BasicUiWidgetTypeTextScroll_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetTypeTextScroll_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetTypeTextScroll_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetTypeTextScroll_Render(sBasicUiWidget* w);
int BasicUiWidgetTypeTextScroll_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

// A row's opacity at phase p (0 entering at the bottom, 1 leaving at the top) with fade zones of
// inset pixels in a window h high; a window without height or fade zones does not fade.
float BasicUi_TextScrollOpacity(float p, int inset, int h);
// Points a text scroll at the database reference widget whose table it rolls; a widget of another
// type is left alone (0).
int BasicUiWidgetTypeTextScroll_SetDbRef(sBasicUiWidget* w, sBasicUiWidget* textDbRef);
