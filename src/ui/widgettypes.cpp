// The widget type table. The null type has its operations here, the template types theirs in
// ui/templates.cpp; each other type's operations come with the type's own module. Creating a widget
// type also leaves every value record of the new record bound to no script variable, as the value
// templates start (the modules take their records zero-filled and set only the defaults that differ
// from zero).
#include "ui/widgettypes.h"

#include <cstring>

#include "lib/strings.h"
#include "ui/templates.h"
#include "ui/widgets/bone3d.h"
#include "ui/widgets/button.h"
#include "ui/widgets/clip.h"
#include "ui/widgets/cmdload.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/dbref.h"
#include "ui/widgets/dialogbox.h"
#include "ui/widgets/model3d.h"
#include "ui/widgets/move3d.h"
#include "ui/widgets/msgbox.h"
#include "ui/widgets/rectangle.h"
#include "ui/widgets/rig3d.h"
#include "ui/widgets/scene3d.h"
#include "ui/widgets/scrollbox.h"
#include "ui/widgets/skeleton3d.h"
#include "ui/widgets/standings.h"
#include "ui/widgets/sticky.h"
#include "ui/widgets/text3d.h"
#include "ui/widgets/textscroll.h"
#include "ui/widgets/transform3d.h"
#include "ui/widgets/triggers.h"

sBasicUiWidgetTypeRef BasicUiWidgetTypeNull_Create(sBasicUiEnvironment*)
{
    sBasicUiWidgetTypeRef ref;
    ref.type = EBasicUiWidgetTypeNull;
    ref.ptr = nullptr;
    return ref;
}
int BasicUiWidgetTypeNull_InitialiseTracker(sBasicUiWidget*, sBasicUiPropertyTracker*) { return 1; }
int BasicUiWidgetTypeNull_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetTypeNull_Update(sBasicUiWidget*, float) { return 1; }
int BasicUiWidgetTypeNull_Render(sBasicUiWidget*) { return 1; }
int BasicUiWidgetTypeNull_Destroy(sBasicUiEnvironment*, sBasicUiWidget*) { return 1; }

#define BASIC_UI_NULL_ROW                                                                         \
    {                                                                                             \
        BasicUiWidgetTypeNull_Create, BasicUiWidgetTypeNull_InitialiseTracker,                    \
            BasicUiWidgetTypeNull_SetProperty, BasicUiWidgetTypeNull_Update,                      \
            BasicUiWidgetTypeNull_Render, BasicUiWidgetTypeNull_Destroy                           \
    }
#define BASIC_UI_ROW(module)                                                                      \
    {                                                                                             \
        BasicUiWidgetType##module##_Create, BasicUiWidgetType##module##_InitialiseTracker,        \
            BasicUiWidgetType##module##_SetProperty, BasicUiWidgetType##module##_Update,          \
            BasicUiWidgetType##module##_Render, BasicUiWidgetType##module##_Destroy               \
    }

sBasicUiWidgetTypeFunctions basicUiWidgetTypeFunctions[EBasicUiWidgetTypeCount + 1] = {
    BASIC_UI_NULL_ROW,                                       // 0 wtNull
    BASIC_UI_ROW(Rectangle),                                 // 1
    BASIC_UI_ROW(Label),                                     // 2
    BASIC_UI_ROW(Image),                                     // 3
    BASIC_UI_ROW(Button),                                    // 4
    BASIC_UI_ROW(Clip),                                      // 5
    BASIC_UI_ROW(CmdSequence),                               // 6
    BASIC_UI_ROW(CmdPlayClip),                               // 7
    BASIC_UI_ROW(CmdWait),                                   // 8
    BASIC_UI_ROW(CmdSetScreen),                              // 9
    BASIC_UI_ROW(CmdSetValue),                               // 10
    BASIC_UI_ROW(CmdSetInput),                               // 11
    BASIC_UI_ROW(CmdControl),                                // 12
    BASIC_UI_ROW(CmdFn),                                     // 13
    BASIC_UI_ROW(CmdGosub),                                  // 14
    BASIC_UI_ROW(CmdBreak),                                  // 15
    BASIC_UI_ROW(CmdTextIn),                                 // 16
    BASIC_UI_ROW(CmdEditDb),                                 // 17
    BASIC_UI_ROW(CmdSound),                                  // 18
    BASIC_UI_ROW(CmdLoad),                                   // 19
    BASIC_UI_ROW(CmdIf),                                     // 20
    BASIC_UI_ROW(CmdElse),                                   // 21
    BASIC_UI_ROW(CmdBGM),                                    // 22
    BASIC_UI_ROW(Anchor),                                    // 23
    BASIC_UI_ROW(TriggerKey),                                // 24
    BASIC_UI_ROW(TriggerPad),                                // 25
    BASIC_UI_ROW(TriggerTimer),                              // 26
    BASIC_UI_ROW(TriggerEnter),                              // 27
    BASIC_UI_ROW(TriggerLeave),                              // 28
    BASIC_UI_ROW(TriggerPress),                              // 29
    BASIC_UI_ROW(TriggerBox),                                // 30
    BASIC_UI_ROW(TriggerMove),                               // 31
    BASIC_UI_ROW(TriggerMove3D),                             // 32
    BASIC_UI_ROW(3DCamera),                                  // 33
    BASIC_UI_ROW(3DClip),                                    // 34
    BASIC_UI_ROW(3DInit),                                    // 35
    BASIC_UI_ROW(3DFini),                                    // 36
    BASIC_UI_ROW(3DModel),                                   // 37
    BASIC_UI_ROW(3DQuad),                                    // 38
    BASIC_UI_ROW(3DSkeleton),                                // 39
    BASIC_UI_ROW(3DPRS),                                     // 40
    BASIC_UI_ROW(3DLight),                                   // 41
    BASIC_UI_ROW(3DText),                                    // 42
    BASIC_UI_ROW(3DBone),                                    // 43
    BASIC_UI_ROW(3DBoneLimit),                               // 44
    BASIC_UI_ROW(3DRig),                                     // 45
    BASIC_UI_ROW(Definition),                                // 46
    BASIC_UI_ROW(Instance),                                  // 47
    BASIC_UI_ROW(MsgBox),                                    // 48
    BASIC_UI_ROW(DialogBox),                                 // 49
    BASIC_UI_ROW(ScrollBox),                                 // 50
    BASIC_UI_ROW(TextScroll),                                // 51
    BASIC_UI_ROW(DbRef),                                     // 52
    BASIC_UI_ROW(LeagueTable),                               // 53
    BASIC_UI_ROW(TreeTable),                                 // 54
    BASIC_UI_ROW(LadderTable),                               // 55
    BASIC_UI_ROW(ScoreTable),                                // 56
    BASIC_UI_ROW(McHint),                                    // 57
    BASIC_UI_ROW(StickyButton),                              // 58
    BASIC_UI_ROW(StickyCursor),                              // 59
    {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},  // end of the table
};

#undef BASIC_UI_NULL_ROW
#undef BASIC_UI_ROW

const char* const basicUiWidgetTypeNameStr[EBasicUiWidgetTypeCount + 1] = {
    "wtNull",       "wtRectangle",   "wtLabel",     "wtImage",       "wtButton",      "wtClip",
    "cmdSeq",       "cmdPlay",       "cmdWait",     "cmdScreen",     "cmdValue",      "cmdInput",
    "cmdControl",   "cmdFn",         "cmdGosub",    "cmdBreak",      "cmdTextIn",     "cmdEditDb",
    "cmdSound",     "cmdLoad",       "cmdIf",       "cmdElse",       "cmdBGM",        "anchor",
    "tKey",         "tPad",          "tTimer",      "tEnter",        "tLeave",        "tPress",
    "tBox",         "tMove",         "tMove3D",     "3DCamera",      "3DClip",        "3DInit",
    "3DFini",       "3DModel",       "3DQuad",      "3DSkeleton",    "3DPRS",         "3DLight",
    "3DText",       "3DBone",        "3DBoneLimit", "3DRig",         "wtDefinition",  "wtInstance",
    "wtMsgBox",     "wtDialogBox",   "wtScrollBox", "wtTextScroll",  "dbRef",         "wtLeagueTable",
    "wtTreeTable",  "wtLadderTable", "wtScoreTable", "mcHint",       "stickyButton",  "stickyCursor",
    nullptr,
};

static const sBasicUiWidgetTypeFunctions* RowOf(const sBasicUiWidget* widget)
{
    if (!widget || widget->widgetTypeRef.type >= EBasicUiWidgetTypeCount) return nullptr;
    return &basicUiWidgetTypeFunctions[widget->widgetTypeRef.type];
}

int BasicUI_GetWidgetType(const char* name)
{
    if (!name) return EBasicUiWidgetTypeNull;
    for (int type = 0; type < EBasicUiWidgetTypeCount; type++) {
        if (EqualString(basicUiWidgetTypeNameStr[type], name)) return type;
    }
    return EBasicUiWidgetTypeNull;
}

// A zero-filled value record reads as bound to variable 0 (and an INT one without its directives):
// give every value of a new record that no default was set on the standard template's link, so that
// a template's instance integers reach only the values a description binds.
static void UnbindNewValues(sBasicUiWidgetTypeRef ref)
{
    static sBasicUiPropertyTracker tracker;  // main thread; too large for the stack
    sBasicUiWidget probe = {};
    probe.widgetTypeRef = ref;
    BasicUiPropertyTracker_Reset(&tracker, eBasicUiPropertyTrackerTypeWidget, &probe);
    BasicUiWidgetType_InitialiseTracker(&probe, &tracker);
    for (int i = 0; i < tracker.props; ++i) {
        sBasicUiProperty& p = tracker.prop[i];
        if (p.propType == eBasicUiPropertyTypeBOOL) {
            auto* v = static_cast<sBasicUiValueBOOL*>(p.propPtr);
            if (!v->c && v->variable == 0) v->variable = -1;
        } else if (p.propType == eBasicUiPropertyTypeBYTE) {
            auto* v = static_cast<sBasicUiValueBYTE*>(p.propPtr);
            if (!v->c && v->variable == 0) v->variable = -1;
        } else if (p.propType == eBasicUiPropertyTypeINT) {
            auto* v = static_cast<sBasicUiValueINT*>(p.propPtr);
            if (v->c || v->variable != 0) continue;
            v->variable = -1;
            if (v->directives[0] == 0) std::memcpy(v->directives, basicUiValueINTTemplate.directives, 4);
        }
    }
}

sBasicUiWidgetTypeRef BasicUiWidgetType_Create(sBasicUiEnvironment* env, int type)
{
    if (type < 0 || type >= EBasicUiWidgetTypeCount || !basicUiWidgetTypeFunctions[type].create)
        return BasicUiWidgetTypeNull_Create(env);
    sBasicUiWidgetTypeRef ref = basicUiWidgetTypeFunctions[type].create(env);
    if (ref.ptr) UnbindNewValues(ref);
    return ref;
}

int BasicUiWidgetType_InitialiseTracker(sBasicUiWidget* widget, sBasicUiPropertyTracker* tracker)
{
    const sBasicUiWidgetTypeFunctions* row = RowOf(widget);
    if (!row || !row->initialiseTracker || !tracker) return 0;
    return row->initialiseTracker(widget, tracker);
}

int BasicUiWidgetType_Update(sBasicUiWidget* widget, float dt)
{
    const sBasicUiWidgetTypeFunctions* row = RowOf(widget);
    if (!row || !row->update) return 0;
    return row->update(widget, dt);
}

int BasicUiWidgetType_Render(sBasicUiWidget* widget)
{
    const sBasicUiWidgetTypeFunctions* row = RowOf(widget);
    if (!row || !row->render) return 0;
    return row->render(widget);
}

int BasicUiWidgetType_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* widget)
{
    if (!widget) return 0;
    const sBasicUiWidgetTypeFunctions* row = RowOf(widget);
    int result = row && row->destroy ? row->destroy(env, widget) : 1;
    // A type number outside the table has no operations to run, but its reference is reset all
    // the same, so that nothing later dispatches on it.
    widget->widgetTypeRef.type = EBasicUiWidgetTypeNull;
    widget->widgetTypeRef.ptr = nullptr;
    return result;
}
