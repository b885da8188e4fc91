// What the career standings share: the team totals of the last game, the results dialog with
// its composed text, starting the standings screen in place of the main screen, the computer's
// scores and saving after a career game.
#include <cstdio>

#include "db/dbxml.h"
#include "game/records.h"
#include "screens/career.h"
#include "screens/frontenddb.h"
#include "screens/launchers.h"
#include "screens/results.h"
#include "ui/environment.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/dialogbox.h"

static sBasicUiEnvironment* EnvOf(sBasicUiWidget* caller)
{
    return caller ? BasicUiWidget_GetEnvironment(caller) : BasicUi_GetEnvironment();
}

int TeamResult(int first, int count)
{
    int sum = 0;
    for (int i = first; i < first + count && i < 8; ++i)
        if (i >= 0 && gPlayerResults[i][0] > 0) sum += gPlayerResults[i][0];
    return sum;
}

void CareerStartScreen(sBasicUiWidget* caller, const char* sequence)
{
    sBasicUiEnvironment* env = EnvOf(caller);
    sBasicUiWidget* start = BasicUi_FindWidget(env, "cSN.startS0");
    sBasicUiWidget* other = BasicUi_FindWidget(env, sequence);
    if (start) BasicUiWidgetTypeCmdSequence_Brk(start);
    if (other) BasicUiWidgetTypeCmdSequence_Run(other);
}

void CareerFormat(sBasicUiWidget* caller, int row, const char* text, int number, char* out, int size)
{
    sBasicDbTable* strings = FrontEndTable(caller, "ui", "sFgStrings");
    char format[256];
    CopyCellText(strings, 1, row, format, sizeof format);
    FormatUiText(format, text, number, out, size);
}

void CareerShowResult(sBasicUiWidget* caller, const char* text)
{
    sBasicDbTable* strings = FrontEndTable(caller, "ui", "sFgStrings");
    if (strings) BasicDbTable_GetElementFromStr(strings, 3, 1, text, 255);
    if (sBasicUiWidget* dialog = BasicUi_FindWidget(EnvOf(caller), "sFgdialog0"))
        BasicUiWidgetTypeDialogBox_OpenDialog(dialog, 1);
}

void CareerSave(sBasicUiWidget* caller)
{
    if (sBasicDb* save = FrontEndDb(caller, "save")) BasicDb_Save(&save, "save.db.xml");
}

int ComputerScore(int average, int spread)
{
    if (spread < 0) spread = 0;
    return GetRandomInt(0, 2 * spread) + average - spread;
}

int FoldInCareerGame(sBasicUiWidget* caller)
{
    switch (lastGameType) {
    case kLastGameLeague: return UpdateLeagueStandings(caller, 0);
    case kLastGameTree: return UpdateTreeStandings(caller, 0);
    case kLastGameLadder: return UpdateLadderStandings(caller, 0);
    case kLastGameHighScore: return UpdateHighScoreStandings(caller, 0);
    case kLastGameRival: return UpdateRivalStandings(caller, 0);
    default: return 0;
    }
}
