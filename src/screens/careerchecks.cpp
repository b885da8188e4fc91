// The careers' small checks: whether a bowler slot in use by the career may be overwritten,
// whether a rival is open, and resetting a career slot's events.
#include <initializer_list>

#include "screens/career.h"
#include "screens/frontenddb.h"
#include "ui/environment.h"
#include "ui/widgets/dialogbox.h"

int CareerInProgressCheck(sBasicUiWidget* caller, int slot)
{
    sBasicUiEnvironment* env = caller ? BasicUiWidget_GetEnvironment(caller) : BasicUi_GetEnvironment();
    sBasicUiScreen* screen = BasicUi_FindScreen(env, "s3SaveBowler");
    sBasicUiWidget* inUse = BasicUi_FindWidget(env, "s3dialog1");
    sBasicUiWidget* overwrite = BasicUi_FindWidget(env, "s3dialog2");
    if (!screen || !inUse || !overwrite) return 1;
    const int variant = screen->variant.value;
    if (variant >= 6 && variant <= 10 && slot == CareerSlot(caller)) {
        BasicUiWidgetTypeDialogBox_OpenDialog(inUse, 1);
        return 0;
    }
    // Agreeing gives up the events the bowler had entered: the stylus holds that answer a moment.
    BasicUiWidgetTypeDialogBox_SetAcceptHold(overwrite, kBasicUiCostlyHold);
    return BasicUiWidgetTypeDialogBox_OpenDialog(overwrite, 2) == 2;
}

int CheckRival(sBasicUiWidget* caller, int v)
{
    sBasicDbTable* players = FrontEndTable(caller, "save", "players");
    const int r = CareerSlot(caller);
    if (!players || r < 0) return 1;
    return BasicDbTable_GetElementCN(players, 29, r, v, 'L') != 'L';
}

int ResetCareer(sBasicUiWidget* caller, int slot)
{
    for (const char* name : {"league", "tournament"}) {
        sBasicDbTable* record = FrontEndTable(caller, "save", name);
        if (!record || slot < 0 || slot >= record->rows) continue;
        for (int i = 0; i < 20; ++i) BasicDbTable_SetElementCN(record, 11, slot, i, 'Z');
        BasicDbTable_SetElementI(record, 1, slot, -1);
    }
    sBasicDbTable* rival = FrontEndTable(caller, "save", "rival");
    if (rival && slot >= 0 && slot < rival->rows) BasicDbTable_SetElementI(rival, 1, slot, 0);
    return 1;
}
