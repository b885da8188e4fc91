// The rectangle widget (a filled or framed coloured box) and the label widget (a line of text in a
// font, on such a box when asked). Both draw on the 2D layer and do nothing per frame.
#pragma once

#include "ui/environment.h"

struct sBasicUiWidgetTypeRectangle {
    sBasicUiValueINT x, y, w, h;
    sBasicUiValueBOOL isDraw;   // draw even at alpha 0
    sBasicUiValueBOOL isFrame;  // only the frame
    sBasicUiValueINT frameWidth, frameHeight;
    sBasicUiValueBYTE r, g, b;
    sBasicUiValueBYTE mr, mg, mb;
    sBasicUiValueBYTE alpha;
};

struct sBasicUiWidgetTypeLabel {
    sBasicUiWidgetTypeRectangle r;  // its isDraw is not used: hasRectangle decides
    sBasicUiValueBOOL hasRectangle;
    sBasicUiValueBYTE fontR, fontG, fontB;
    sBasicUiValueINT fontID;
    sBasicUiValueINT fontJustify;  // 0 left, 1 centred, 2 right; others draw no text
    char* cstr;                    // owned
    int reported;                  // a missing font was reported
};

sBasicUiWidgetTypeRef BasicUiWidgetTypeRectangle_Create(sBasicUiEnvironment* env);
int BasicUiWidgetTypeRectangle_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetTypeRectangle_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetTypeRectangle_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetTypeRectangle_Render(sBasicUiWidget* w);
int BasicUiWidgetTypeRectangle_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

sBasicUiWidgetTypeRef BasicUiWidgetTypeLabel_Create(sBasicUiEnvironment* env);
int BasicUiWidgetTypeLabel_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetTypeLabel_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetTypeLabel_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetTypeLabel_Render(sBasicUiWidget* w);
int BasicUiWidgetTypeLabel_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

// Where a label's text starts for a text of width textW: by the justification, x, centred in w
// or flush right; 0 (no text) for another justification.
int BasicUiWidgetTypeLabel_TextX(int x, int w, int textW, int justify, int* tx);
