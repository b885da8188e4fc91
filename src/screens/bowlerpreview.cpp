// The bowler preview's change check. The "player view" table of the save database holds the bowler
// to show (row 0: "players" row and left-hand flag) and the one shown last (row 1); the looks of
// the bowler last shown (its body and items, "players" columns 10 to 18) are remembered here, so
// that a change of shirt alone also makes the screen load the character again.
#include "screens/bowlerpreview.h"

#include "db/database.h"
#include "screens/mainmenu.h"
#include "ui/environment.h"
#include "ui/widgets/clip.h"

namespace {

enum { kFirstLookColumn = 10, kLooks = 9, kBowlerColumn = 1, kHandColumn = 2, kMaxLookElements = 8 };

// Each look column may hold several elements (an item list); all of them are compared.
int prevItems[kLooks][kMaxLookElements];

sBasicDb* SaveDb()
{
    if (dbSave) return dbSave;
    return BasicUi_FindDb(BasicUi_GetEnvironment(), "save");
}

sBasicDbTable* SaveTable(const char* name)
{
    sBasicDb* db = SaveDb();
    return db ? BasicDbTable_Find(db, name) : nullptr;
}

// Copies the bowler's looks into `out`; returns 1 when they differ from what `out` held.
int ReadLooks(sBasicDbTable* players, int row, int out[kLooks][kMaxLookElements])
{
    int changed = 0;
    for (int c = 0; c < kLooks; ++c) {
        int n = BasicDbTable_GetElementCount(players, kFirstLookColumn + c);
        if (n < 1) n = 1;
        if (n > kMaxLookElements) n = kMaxLookElements;
        for (int e = 0; e < kMaxLookElements; ++e) {
            const int v = e < n ? BasicDbTable_GetElementIN(players, kFirstLookColumn + c, row, e, 0) : 0;
            if (out[c][e] != v) changed = 1;
            out[c][e] = v;
        }
    }
    return changed;
}

}  // namespace

int ResetCharacterChanged(sBasicUiWidget*, int)
{
    if (sBasicDbTable* view = SaveTable("player view")) BasicDbTable_SetElementI(view, kBowlerColumn, 1, -1);
    return 1;
}

int CharacterChanged(sBasicUiWidget*, int)
{
    sBasicDbTable* view = SaveTable("player view");
    sBasicDbTable* players = SaveTable("players");
    if (!view || !players || view->rows < 2) return 1;

    const int shownBowler = BasicDbTable_GetElementI(view, kBowlerColumn, 1);
    const int shownHand = BasicDbTable_GetElementI(view, kHandColumn, 1);
    const int bowler = BasicDbTable_GetElementI(view, kBowlerColumn, 0);
    const int hand = BasicDbTable_GetElementI(view, kHandColumn, 0);
    BasicDbTable_SetElementI(view, kBowlerColumn, 1, bowler);
    BasicDbTable_SetElementI(view, kHandColumn, 1, hand);
    // A bowler row outside the table has no looks to compare: it is shown as a change.
    if (bowler < 0 || bowler >= players->rows) return 1;

    if (shownBowler == -1 || shownBowler != bowler || shownHand != hand) {
        ReadLooks(players, bowler, prevItems);
        return 1;
    }
    if (ReadLooks(players, bowler, prevItems)) return 1;
    sBasicUiWidget* clip = BasicUi_FindWidget(BasicUi_GetEnvironment(), "cp2013.0.p");
    return clip && BasicUiWidgetTypeClip_GetT(clip) < 1.0f ? 1 : 0;
}
