// The UI's statistics record: heap use and allocation counts when the framework starts and when
// an environment is loaded, the time spent reading the XML, the resources and the databases, and
// the number of anims, anim sets and children at a browsing position. The presentation fields are
// set up for a viewer that nothing in the game opens.
#pragma once

#include "ui/environment.h"

enum { kBasicUiEditorText = 256 };

struct sBasicUiEditor {
    int isActive;

    // Memory figures.
    sBasicUiValueINT memNow, memMin, memInit, memLoad;
    sBasicUiValueINT allocsNow, allocsMax, allocsInit, allocsLoad;
    sBasicUiValueINT vmemNow, vmemMin, vmemInit, vmemLoad;
    sBasicUiValueINT vallocsNow, vallocsMax, vallocsInit, vallocsLoad;
    sBasicUiValueINT ballocs, bmem;

    // Load times in seconds.
    float loadingXml, loadingDbXml, loadingRez;

    // List and message state.
    int isShowingList;
    char argListTitle[kBasicUiEditorText];
    const char** argList;
    int argsList, argVis, argOff, argItm;
    int isShowingMsg;
    char msgTextBuffer[kBasicUiEditorText];
    int isEnteringText, isEnteringConfirm, isConfirm;
    char confirmTextBuffer[kBasicUiEditorText];
    int enteringTextPos;
    char enteringTextBuffer[kBasicUiEditorText];

    // Presentation.
    sBasicUiValueBYTE fontFg, fontBg, hiTone, loTone, bgTone, alpha;
    sBasicUiValueINT x, y, bstep, istep;
    float fstep;
    int numSlots, maxLines, currentLine, currentVert, maxFieldWidth, maxFieldChars, mode;

    // Browsing state.
    int widgetPropsActive, firstWidgetProp;
    int animSetPropsActive, firstAnimSetItem, topAnimSet, nowAnimSet, numAnimSet;
    int animPropsActive, firstAnimKey, topAnim, nowAnim, numAnim;
    int editorPropsActive, firstEditorProp;
    sBasicUiEnvironment* env;
    int topWidget, numWidget;
    sBasicUiDisplay* display;
    sBasicUiScreen* screen;
    sBasicUiWidget* widget;
    sBasicUiPropertyTracker tracker;

    char loadBuffer[kBasicUiEditorText];
    char saveBuffer[kBasicUiEditorText];
};

// The one record (null until made, or when it could not be made).
extern sBasicUiEditor* basicUiEditor;

// Allocates the record (AllocateMemory), fills it with its starting values, following env, and
// makes it the one BasicUi_GetEditor returns. Null when memory is short.
sBasicUiEditor* BasicUi_CreateEditor(sBasicUiEnvironment* env);
// The record, or null when none could be made.
sBasicUiEditor* BasicUi_GetEditor();
// Clears the browsing position, the followed environment when asked, the property table unless it
// is a widget's, and the list positions and counts. Nothing for null.
void BasicUiEditor_Clear(sBasicUiEditor* editor, int clearEnvironment);
// Refreshes numAnim, numAnimSet and numWidget from the followed environment.
void BasicUiEditor_UpdateEnvInfo(sBasicUiEditor* editor);
int BasicUiEditor_AnimCount(sBasicUiEditor* editor);
int BasicUiEditor_AnimSetCount(sBasicUiEditor* editor);
// The children of the browsed widget; else the top-level widgets of the browsed screen; else the
// screens of the browsed display; else the environment's displays.
int BasicUiEditor_WidgetChildrenCount(sBasicUiEditor* editor);
