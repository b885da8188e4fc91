// The button widget (a bitmap with a highlight, a text from a database cell and four links to its
// neighbours along which the pad moves the selection) and the anchor widget (which keeps a button
// beside its nearest usable neighbour).
#pragma once

#include "ui/environment.h"

struct sBasicDbTable;

enum { kBasicUiLinkN = 0, kBasicUiLinkS = 1, kBasicUiLinkE = 2, kBasicUiLinkW = 3 };

struct sBasicUiWidgetTypeButton {
    sBasicUiValueBYTE alpha, alphaH;
    sBasicUiValueBYTE mr, mg, mb;
    sBasicUiValueINT x, y, w, h;
    sBasicUiValueINT boundsDN, boundsDS, boundsDE, boundsDW;
    sBasicUiValueINT srcX, srcY, srcW, srcH;
    sBasicUiValueBOOL isScalable;
    sBasicUiValueINT resourceID, highLightID;
    sBasicUiValueBOOL hasRotation;
    float r[2];
    sBasicUiValueBOOL hasDepth;
    float z[2];
    sBasicUiWidget* button[4];  // N, S, E, W
    sBasicUiValueINT fontID, fontAlignmentX, fontAlignmentY;
    float fontScaleX, fontScaleY;
    sBasicUiValueINT fontOffsetX, fontOffsetY;
    sBasicUiValueBOOL wrapText, wrapSizeX, wrapSizeY;
    sBasicUiValueINT wrapTextInsetX, wrapTextInsetY;
    sBasicUiValueINT adjustX, adjustY;
    sBasicUiValueBOOL hasDbText, dbShowName;
    sBasicUiValueINT dbNameOffset, dbDataOffset;
    char* dbName;       // owned
    char* dbTableName;  // owned
    sBasicUiValueINT column, row, element;
    sBasicUiWidget* ndbRef;
    sBasicUiValueINT ncolumn, nrow;
    sBasicUiValueBOOL hasIDbText;
    char* idbName;       // owned
    char* idbTableName;  // owned
    sBasicUiValueINT icolumn;
    sBasicUiValueBOOL hasIDbRow;
    sBasicUiWidget* idbRowRef;
    sBasicUiWidget* lockedDb;
    sBasicUiValueINT lockedElement, lockedXOffset, lockedYOffset;
    sBasicUiWidget* stateDb;
    sBasicUiValueINT stateElement, stateXOffset, stateYOffset;
    sBasicUiValueBOOL skipable;
    // The names the cached tables were found by, and the tables.
    const char* internalDbName;
    const char* internalDbTableName;
    sBasicDbTable* internalDbTable;
    const char* internalIDbName;
    const char* internalIDbTableName;
    sBasicDbTable* internalIDbTable;
    int reported;  // a missing image or font was reported
};

struct sBasicUiWidgetTypeAnchor {
    sBasicUiWidget* button;
    sBasicUiWidget* anchor[4];  // N, S, E, W
    sBasicUiValueINT offX, offY;
};

sBasicUiWidgetTypeRef BasicUiWidgetTypeButton_Create(sBasicUiEnvironment* env);
int BasicUiWidgetTypeButton_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetTypeButton_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetTypeButton_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetTypeButton_Render(sBasicUiWidget* w);
int BasicUiWidgetTypeButton_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

sBasicUiWidgetTypeRef BasicUiWidgetTypeAnchor_Create(sBasicUiEnvironment* env);
int BasicUiWidgetTypeAnchor_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetTypeAnchor_SetProperty(sBasicUiWidget* w, sBasicUiProperty* property);
int BasicUiWidgetTypeAnchor_Update(sBasicUiWidget* w, float dt);
int BasicUiWidgetTypeAnchor_Render(sBasicUiWidget* w);
int BasicUiWidgetTypeAnchor_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w);

// The button's record, or null for another widget.
sBasicUiWidgetTypeButton* BasicUiWidgetTypeButton_Get(sBasicUiWidget* w);
// The display whose screen holds the widget; null when it hangs in no screen.
sBasicUiDisplay* BasicUiWidget_GetDisplay(sBasicUiWidget* w);

// 1 for anything that is not a button with a record; 0 for a skipable button; with checkLock, 0
// also when its lock status reports it locked.
int BasicUiWidgetTypeButton_IsAvailable(sBasicUiWidget* w, int checkLock);
int BasicUiWidgetTypeButton_GetLockableIndex(sBasicUiWidget* w);
// Each component clamped to at most 127.
int BasicUiWidgetTypeButton_SetColorModulation(sBasicUiWidget* w, int r, int g, int b);
int BasicUiWidgetTypeButton_SetDbIndex(sBasicUiWidget* w, int column, int row);
// Only a loaded bitmap resource replaces the image.
int BasicUiWidgetTypeButton_SetImage(sBasicUiWidget* w, int resourceId);
// Whether the display's previous (0) or current (1) cursor point lies in the touch rectangle: the
// button's box less its insets, edges included, without the adjustment.
int BasicUiWidgetTypeButton_IsInside0(sBasicUiWidget* w);
int BasicUiWidgetTypeButton_IsInside1(sBasicUiWidget* w);
// The drawn box (adjusted); all 0 for anything that is not a button with a record.
void GetExtents(sBasicUiWidget* w, int* left, int* top, int* right, int* bottom);
