// The career's selection screens opened on what the career plays now: the current league,
// tournament and rival of the career slot selected in their scroll boxes, their slots shown as
// entered and their sticky buttons pressed.
#include <cstdio>

#include "screens/career.h"
#include "screens/frontenddb.h"
#include "ui/environment.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/scrollbox.h"
#include "ui/widgets/sticky.h"
#include "ui/widgets/triggers.h"

static const int kEvents = 20;

static void Run(sBasicUiEnvironment* env, const char* name)
{
    if (sBasicUiWidget* seq = BasicUi_FindWidget(env, name)) BasicUiWidgetTypeCmdSequence_Run(seq);
}

int SetupEvents(sBasicUiWidget* caller, int)
{
    sBasicUiEnvironment* env = caller ? BasicUiWidget_GetEnvironment(caller) : BasicUi_GetEnvironment();
    const struct { const char* record; const char* screen; } kinds[] = {
        {"league", "s20"}, {"tournament", "s22"}, {"rival", "s26"}};
    const int r = CareerSlot(caller);
    char name[64];
    for (const auto& k : kinds) {
        sBasicDbTable* record = FrontEndTable(caller, "save", k.record);
        std::snprintf(name, sizeof name, "%ssb6", k.screen);
        sBasicUiWidget* box = BasicUi_FindWidget(env, name);
        const int c = record ? BasicDbTable_GetElementI(record, 1, r, -1) : -1;
        if (!box || c < 0 || c >= kEvents) continue;
        BasicUiWidgetTypeScrollBox_SetSelectedSlot(box, (c / 5) * 5);
        // The selection counts from 1 (what SetupLeague and SetupTournament read back less one),
        // so that confirming the screen as shown picks the event in progress again.
        BasicUiWidgetTypeScrollBox_SetSelectedIndex(box, c + 1);
        std::snprintf(name, sizeof name, "%stMove", k.screen);
        sBasicUiWidget* move = BasicUi_FindWidget(env, name);
        std::snprintf(name, sizeof name, "%sslot%d", k.screen, c % 5 + 1);
        if (move) BasicUiWidgetTypeTriggerMove_SetSelected(move, BasicUi_FindWidget(env, name));
        for (int s = 1; s <= 5; ++s) {
            const bool selected = s == c % 5 + 1;
            std::snprintf(name, sizeof name, "%sslot%dSLOTNC.%s", k.screen, s, selected ? "cEnter" : "cLeave");
            Run(env, name);
            if (!selected) continue;
            std::snprintf(name, sizeof name, "%sstb%d", k.screen, s);
            if (sBasicUiWidget* sticky = BasicUi_FindWidget(env, name)) {
                BasicUiWidgetTypeStickyButton_DoubleTouchGroupClear(sticky);
                BasicUiWidgetTypeStickyButton_DoubleTouchGroupPress(sticky, 1);
            }
        }
    }
    return 1;
}
