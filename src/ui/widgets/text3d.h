// The 3D text widget: a string in one of the game's fonts laid out in its parent transform's
// plane (x to the right, y up, in font pixels), queued with the scene's models and drawn
// farthest first.
#pragma once

#include "ui/environment.h"

struct DS3_bitmap_tag;

struct sBasicUiWidgetType3DText {
    sBasicUiValueINT fontID;
    sBasicUiValueINT fontAlignmentX, fontAlignmentY;  // 0 start, 1 centre, 2 end at the origin
    float scale[3];
    char* text;  // a line feed breaks the line
    unsigned depthIndex;  // slot in the scene's queue
    float depthOffset;    // added to the distance key
    int (*renderCb)();    // replaces the text drawing when set
};

sBasicUiWidgetTypeRef BasicUiWidgetType3DText_Create(sBasicUiEnvironment* env);
int BasicUiWidgetType3DText_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetType3DText_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetType3DText_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetType3DText_Render(sBasicUiWidget* w);
int BasicUiWidgetType3DText_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

// One glyph of laid-out text: its corners in the text's plane (y up) and its source in the font.
struct sBasicUi3DGlyph {
    float left, top, right, bottom;
    DS3_bitmap_tag* bitmap;
    int sx, sy, sw, sh;
};
// Lays out a multi-line text in the current font, calling out(glyph, data) for each glyph;
// returns the lines laid out. Nothing unless the text is given and the font exists and is chosen.
int BasicUiWidgetType3DText_Layout(const char* text, int fontID, int alignX, int alignY,
                                   void (*out)(const sBasicUi3DGlyph& glyph, void* data), void* data);
// Lays out and draws the text in the model matrix of the last 3D text drawn (its model-view).
int BasicUiWidgetType3DText_RenderText(const char* text, int fontID, int alignX, int alignY);

// Where a point given in the current scene's world lands on the upper screen: its pixel (x right,
// y down) and its distance ahead of the camera; 0 for a point at or behind the near plane.
int BasicUi_ProjectToUpperScreen(const float world[3], float* x, float* y, float* depth);
