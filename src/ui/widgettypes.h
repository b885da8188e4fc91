// The widget types: one row of six operations per type, indexed by the type number that each
// widget carries, and the XML names by which "typeWidget" chooses a type.
#pragma once

#include "ui/environment.h"

enum eBasicUiWidgetType {
    EBasicUiWidgetTypeNull = 0,
    EBasicUiWidgetTypeRectangle = 1,
    EBasicUiWidgetTypeLabel = 2,
    EBasicUiWidgetTypeImage = 3,
    EBasicUiWidgetTypeButton = 4,
    EBasicUiWidgetTypeClip = 5,
    EBasicUiWidgetTypeCmdSequence = 6,
    EBasicUiWidgetTypeCmdPlayClip = 7,
    EBasicUiWidgetTypeCmdWait = 8,
    EBasicUiWidgetTypeCmdSetScreen = 9,
    EBasicUiWidgetTypeCmdSetValue = 10,
    EBasicUiWidgetTypeCmdSetInput = 11,
    EBasicUiWidgetTypeCmdControl = 12,
    EBasicUiWidgetTypeCmdFn = 13,
    EBasicUiWidgetTypeCmdGosub = 14,
    EBasicUiWidgetTypeCmdBreak = 15,
    EBasicUiWidgetTypeCmdTextIn = 16,
    EBasicUiWidgetTypeCmdEditDb = 17,
    EBasicUiWidgetTypeCmdSound = 18,
    EBasicUiWidgetTypeCmdLoad = 19,
    EBasicUiWidgetTypeCmdIf = 20,
    EBasicUiWidgetTypeCmdElse = 21,
    EBasicUiWidgetTypeCmdBGM = 22,
    EBasicUiWidgetTypeAnchor = 23,
    EBasicUiWidgetTypeTriggerKey = 24,
    EBasicUiWidgetTypeTriggerPad = 25,
    EBasicUiWidgetTypeTriggerTimer = 26,
    EBasicUiWidgetTypeTriggerEnter = 27,
    EBasicUiWidgetTypeTriggerLeave = 28,
    EBasicUiWidgetTypeTriggerPress = 29,
    EBasicUiWidgetTypeTriggerBox = 30,
    EBasicUiWidgetTypeTriggerMove = 31,
    EBasicUiWidgetTypeTriggerMove3D = 32,
    EBasicUiWidgetType3DCamera = 33,
    EBasicUiWidgetType3DClip = 34,
    EBasicUiWidgetType3DInit = 35,
    EBasicUiWidgetType3DFini = 36,
    EBasicUiWidgetType3DModel = 37,
    EBasicUiWidgetType3DQuad = 38,
    EBasicUiWidgetType3DSkeleton = 39,
    EBasicUiWidgetType3DPRS = 40,
    EBasicUiWidgetType3DLight = 41,
    EBasicUiWidgetType3DText = 42,
    EBasicUiWidgetType3DBone = 43,
    EBasicUiWidgetType3DBoneLimit = 44,
    EBasicUiWidgetType3DRig = 45,
    EBasicUiWidgetTypeDefinition = 46,
    EBasicUiWidgetTypeInstance = 47,
    EBasicUiWidgetTypeMsgBox = 48,
    EBasicUiWidgetTypeDialogBox = 49,
    EBasicUiWidgetTypeScrollBox = 50,
    EBasicUiWidgetTypeTextScroll = 51,
    EBasicUiWidgetTypeDbRef = 52,
    EBasicUiWidgetTypeLeagueTable = 53,
    EBasicUiWidgetTypeTreeTable = 54,
    EBasicUiWidgetTypeLadderTable = 55,
    EBasicUiWidgetTypeScoreTable = 56,
    EBasicUiWidgetTypeMcHint = 57,
    EBasicUiWidgetTypeStickyButton = 58,
    EBasicUiWidgetTypeStickyCursor = 59,
    EBasicUiWidgetTypeCount = 60,
};

// One type's operations. create takes the type's record from the environment's memory slot and
// returns it with the type number; initialiseTracker appends the type's properties after the
// widget's base properties; setProperty is kept for the table's shape and does nothing; update
// runs once per frame (dt in seconds); render draws; destroy releases the record and what it owns.
struct sBasicUiWidgetTypeFunctions {
    sBasicUiWidgetTypeRef (*create)(sBasicUiEnvironment* env);
    int (*initialiseTracker)(sBasicUiWidget* widget, sBasicUiPropertyTracker* tracker);
    int (*setProperty)(sBasicUiWidget* widget, sBasicUiProperty* property);
    int (*update)(sBasicUiWidget* widget, float dt);
    int (*render)(sBasicUiWidget* widget);
    int (*destroy)(sBasicUiEnvironment* env, sBasicUiWidget* widget);
};

// 61 rows and 61 names: one per type, then an all-zero row and a null name.
extern sBasicUiWidgetTypeFunctions basicUiWidgetTypeFunctions[EBasicUiWidgetTypeCount + 1];
extern const char* const basicUiWidgetTypeNameStr[EBasicUiWidgetTypeCount + 1];

// The type number of an XML type name (exact, case-sensitive); 0 for an unknown or null name.
int BasicUI_GetWidgetType(const char* name);

// The row's create result; type 0 without a record for a type outside 0..59.
sBasicUiWidgetTypeRef BasicUiWidgetType_Create(sBasicUiEnvironment* env, int type);
// Dispatch on the widget's type number. A null widget or a type outside 0..59 does nothing and
// gives 0.
int BasicUiWidgetType_InitialiseTracker(sBasicUiWidget* widget, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetType_Update(sBasicUiWidget* widget, float dt);
int BasicUiWidgetType_Render(sBasicUiWidget* widget);
// Runs the row's destroy, then leaves the widget as type 0 without a record, so that a second
// destroy does nothing.
int BasicUiWidgetType_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* widget);

// The null type: no record and no properties; every widget starts as it.
sBasicUiWidgetTypeRef BasicUiWidgetTypeNull_Create(sBasicUiEnvironment* env);
int BasicUiWidgetTypeNull_InitialiseTracker(sBasicUiWidget* widget, sBasicUiPropertyTracker* tracker);
int BasicUiWidgetTypeNull_SetProperty(sBasicUiWidget* widget, sBasicUiProperty* property);
int BasicUiWidgetTypeNull_Update(sBasicUiWidget* widget, float dt);
int BasicUiWidgetTypeNull_Render(sBasicUiWidget* widget);
int BasicUiWidgetTypeNull_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* widget);
