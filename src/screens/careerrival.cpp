// The rival after a rival game: beating the rival (a tie is a win) marks it won the first time,
// unlocks its rewards once and pays its prize on every win. Rivals met at a mini-game hand back
// a winner flag rather than a score, so those games count in no bowling statistics.
#include "host/errorlog.h"
#include "screens/career.h"
#include "screens/frontenddb.h"
#include "screens/launchers.h"
#include "screens/results.h"
#include "screens/unlocks.h"
#include "ui/environment.h"

int UpdateRivalStandings(sBasicUiWidget* caller, int)
{
    if (lastGameType != kLastGameRival) return 0;
    if (PlayerQuitGame()) {
        CareerStartScreen(caller, "cSN.startS12");
        return 1;
    }
    sBasicDbTable* record = FrontEndTable(caller, "save", "rival");
    sBasicDbTable* players = FrontEndTable(caller, "save", "players");
    sBasicDbTable* rivals = FrontEndTable(caller, "game", "Rivals");
    const int r = CareerSlot(caller);
    const int v = record ? BasicDbTable_GetElementI(record, 1, r, -1) : -1;
    if (!record || !players || !rivals || r < 0 || r >= record->rows || v < 0 || v >= rivals->rows) {
        PrintError("career: the rival game cannot be recorded: its tables or rival are missing");
    } else if (!ResultsFolded()) {
        const int t = BasicDbTable_GetElementI(rivals, 1, v, 1);
        const int a = TeamResult(0, t), b = TeamResult(t, t);
        // Bingo, poker and the spares game score 1 for their winner: not pins.
        if (BasicDbTable_GetElementI(rivals, 8, v, 0) == 0) UpdateStats(true);
        if (a >= b) {
            if (BasicDbTable_GetElementCN(players, 29, r, v, 'L') != 'W') {
                BasicDbTable_SetElementCN(players, 29, r, v, 'W');
                HandleUnlockables("Rivals", 16, 30, v, "players", r);
            }
            BasicDbTable_SetElementI(players, 8, r,
                                     BasicDbTable_GetElementI(players, 8, r, 0) + BasicDbTable_GetElementI(rivals, 13, v, 0));
            sBasicUiEnvironment* env = caller ? BasicUiWidget_GetEnvironment(caller) : BasicUi_GetEnvironment();
            char text[256];
            CareerFormat(caller, BasicUiEnvironment_GetVariant(env) == 0 ? 8 : 7, "", 0, text, sizeof text);
            CareerShowResult(caller, text);
        }
        // Marks the game folded for a fold-in that repeats (a mini-game changes no statistics).
        MarkResultsFolded();
        CareerSave(caller);
    }
    CareerStartScreen(caller, "cSN.startS26");
    return 1;
}
