// What the career's lists and hub tell the player before they commit: the entry fee, prizes and
// kind of the event under the list's selected slot frame (on the list's upper screen), and the
// hub's ways to the current league's and tournament's standings (opened on the week, round or rung
// in play), which say so when the career has not entered one yet instead of showing an empty table.
#include <cstdio>

#include "screens/career.h"
#include "screens/frontenddb.h"
#include "screens/launchers.h"
#include "ui/environment.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/dialogbox.h"
#include "ui/widgets/scrollbox.h"
#include "ui/widgets/standings.h"
#include "ui/widgets/triggers.h"

static const int kEvents = 20;

static sBasicUiEnvironment* EnvOf(sBasicUiWidget* caller)
{
    return caller ? BasicUiWidget_GetEnvironment(caller) : BasicUi_GetEnvironment();
}

// Row `row` of "sCareerStrings" with "%s" replaced by text and "%d" by number.
static void Compose(sBasicUiWidget* caller, int row, const char* text, int number, char* out, int size)
{
    char format[256];
    CopyCellText(FrontEndTable(caller, "ui", "sCareerStrings"), 1, row, format, sizeof format);
    FormatUiText(format, text, number, out, size);
}

static void SetCareerText(sBasicUiWidget* caller, int row, const char* text)
{
    if (sBasicDbTable* strings = FrontEndTable(caller, "ui", "sCareerStrings"))
        BasicDbTable_GetElementFromStr(strings, row, 1, text, 255);
}

int EventUnderSelection(sBasicUiWidget* caller, const char* list)
{
    sBasicUiEnvironment* env = EnvOf(caller);
    char name[32];
    std::snprintf(name, sizeof name, "%ssb6", list);
    sBasicUiWidget* box = BasicUi_FindWidget(env, name);
    std::snprintf(name, sizeof name, "%stMove", list);
    sBasicUiWidget* move = BasicUi_FindWidget(env, name);
    if (!box || !move) return -1;
    sBasicUiWidget* selected = BasicUiWidgetTypeTriggerMove_GetSelected(move);
    for (int s = 1; s <= 5; ++s) {
        std::snprintf(name, sizeof name, "%sslot%d", list, s);
        if (selected && selected == BasicUi_FindWidget(env, name)) {
            const int e = BasicUiWidgetTypeScrollBox_GetSelectedSlot(box) + s - 1;
            return e >= 0 && e < kEvents ? e : -1;
        }
    }
    return -1;
}

int ShowEventDetails(sBasicUiWidget* caller, int list)
{
    static const char* const kLists[] = {"s20", "s22", "s26"};
    if (list < 0 || list > 2) return 0;
    const int e = EventUnderSelection(caller, kLists[list]);
    ShowDetailsOfEvent(caller, list, e);
    return e >= 0;
}

void ShowDetailsOfEvent(sBasicUiWidget* caller, int list, int e)
{
    static const char* const kTables[] = {"Leagues", "Tournaments", "Rivals"};
    if (list < 0 || list > 2) return;
    sBasicDbTable* def = FrontEndTable(caller, "game", kTables[list]);
    char line[3][256] = {"", "", ""};
    if (def && e >= 0 && e < def->rows) {
        // Fee, first prize and the two places after it sit in these columns of each table.
        const int feeColumn = list == 0 ? 10 : 12, prizeColumn = list == 0 ? 12 : 14;
        char prizes[64];
        if (list == 2) {
            Compose(caller, kCareerNoFeeRow, "", 0, line[0], sizeof line[0]);
            Compose(caller, kCareerPrizeRow, "", BasicDbTable_GetElementI(def, 13, e, 0), line[1], sizeof line[1]);
        } else {
            Compose(caller, kCareerFeeRow, "", BasicDbTable_GetElementI(def, feeColumn, e, 0), line[0], sizeof line[0]);
            std::snprintf(prizes, sizeof prizes, "%d / %d / %d", BasicDbTable_GetElementI(def, prizeColumn, e, 0),
                          BasicDbTable_GetElementI(def, prizeColumn + 1, e, 0),
                          BasicDbTable_GetElementI(def, prizeColumn + 2, e, 0));
            Compose(caller, kCareerPrizesRow, prizes, 0, line[1], sizeof line[1]);
        }
        if (list == 0) Compose(caller, kCareerWeeksRow, "", BasicDbTable_GetElementI(def, 7, e, 0), line[2], sizeof line[2]);
        if (list == 1) Compose(caller, kCareerKindRow, BasicDbTable_GetStrElement(def, e, 7), 0, line[2], sizeof line[2]);
    }
    for (int i = 0; i < 3; ++i) SetCareerText(caller, kCareerDetailRow + i, line[i]);
}

void ComposeEntryQuestions(sBasicUiWidget* caller, const char* name, int fee)
{
    char text[256];
    Compose(caller, kCareerAskFeeOfRow, "", fee, text, sizeof text);
    SetCareerText(caller, kCareerAskFeeRow, text);
    Compose(caller, kCareerAskGiveUpOfRow, name, fee, text, sizeof text);
    SetCareerText(caller, kCareerAskGiveUpRow, text);
}

static void Tell(sBasicUiWidget* caller, const char* name)
{
    if (sBasicUiWidget* dialog = BasicUi_FindWidget(EnvOf(caller), name)) BasicUiWidgetTypeDialogBox_OpenDialog(dialog, 1);
}

int OpenLeagueTable(sBasicUiWidget* caller, int)
{
    sBasicDbTable* record = FrontEndTable(caller, "save", "league");
    const int r = CareerSlot(caller);
    const int e = record && r >= 0 && r < record->rows ? BasicDbTable_GetElementI(record, 1, r, -1) : -1;
    if (e < 0 || e >= kEvents) {
        Tell(caller, "s12dialog1");
        return 0;
    }
    // The table opens on the week in play with the window placed as after a league game: the
    // player's row eight below its top, so that the ten rows shown hold it wherever it stands.
    sBasicUiWidget* table = BasicUi_FindWidget(EnvOf(caller), "s21leagueTable");
    BasicUiWidgetTypeLeagueTable_SetWeek(table, BasicDbTable_GetElementI(record, 15, r, 0));
    BasicUiWidgetTypeLeagueTable_SetTop(table, BasicDbTable_GetElementI(record, 14, r, 0) - 8);
    if (sBasicUiWidget* seq = BasicUi_FindWidget(EnvOf(caller), "cSN.gotoS21")) BasicUiWidgetTypeCmdSequence_Run(seq);
    return 1;
}

int OpenTournamentStandings(sBasicUiWidget* caller, int)
{
    sBasicDbTable* record = FrontEndTable(caller, "save", "tournament");
    const int r = CareerSlot(caller);
    const int e = record && r >= 0 && r < record->rows ? BasicDbTable_GetElementI(record, 1, r, -1) : -1;
    const char* go = e >= 0 && e < kEvents ? PlaceTournamentStandings(caller, e) : nullptr;
    if (!go) {
        Tell(caller, "s12dialog2");
        return 0;
    }
    if (sBasicUiWidget* seq = BasicUi_FindWidget(EnvOf(caller), go)) BasicUiWidgetTypeCmdSequence_Run(seq);
    return 1;
}
