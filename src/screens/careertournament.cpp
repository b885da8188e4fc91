// The tournaments' shared standings work: finding the career's tournament, the computer teams'
// scores, one game of a high-score event (also the ladder's qualifying) and the podium with its
// prize money and unlocks. Then the high-score event itself, which is no more than that.
#include "screens/careertournament.h"

#include "host/errorlog.h"
#include "screens/career.h"
#include "screens/frontenddb.h"
#include "screens/launchers.h"
#include "screens/results.h"
#include "screens/unlocks.h"
#include "ui/environment.h"
#include "ui/widgets/standings.h"

int FindCareerTournament(sBasicUiWidget* caller, CareerTournament* out)
{
    CareerTournament& c = *out;
    c.caller = caller;
    c.record = FrontEndTable(caller, "save", "tournament");
    c.players = FrontEndTable(caller, "save", "players");
    c.def = FrontEndTable(caller, "game", "Tournaments");
    c.r = CareerSlot(caller);
    if (!c.record || !c.players || !c.def || c.r < 0 || c.r >= c.record->rows)
        return PrintError("career: the tournament game cannot be recorded: its tables are missing");
    c.e = BasicDbTable_GetElementI(c.record, kTnCurrent, c.r, -1);
    if (c.e < 0 || c.e >= c.def->rows) return PrintError("career: the career has no tournament %d", c.e);
    c.t = BasicDbTable_GetElementI(c.def, kTdTeamSize, c.e, 1);
    c.m = BasicDbTable_GetElementI(c.def, kTdTeams, c.e, 0);
    if (c.t < 1 || c.t > 4 || c.m < 2 || c.m > BasicDbTable_GetElementCount(c.record, kTnOrder))
        return PrintError("career: tournament %d has teams of %d in %d", c.e, c.t, c.m);
    return 1;
}

int TournamentComputerScore(const CareerTournament& c)
{
    const int average = BasicDbTable_GetElementI(c.def, kTdAverage, c.e, 150);
    const int spread = BasicDbTable_GetElementI(c.def, kTdSpread, c.e, 20);
    int sum = 0;
    for (int i = 0; i < c.t; ++i) sum += ComputerScore(average, spread);
    return sum;
}

void TournamentPodium(const CareerTournament& c, int place, int noPlaceRow)
{
    char text[256];
    if (place >= 0 && place <= 2) {
        const char mark = char('1' + place);
        const char now = BasicDbTable_GetElementCN(c.players, 28, c.r, c.e, 'L');
        if (!(now >= '1' && now < mark)) BasicDbTable_SetElementCN(c.players, 28, c.r, c.e, mark);
        BasicDbTable_SetElementI(c.players, 8, c.r,
                                 BasicDbTable_GetElementI(c.players, 8, c.r, 0) +
                                     BasicDbTable_GetElementI(c.def, kTdPrize1 + place, c.e, 0));
        HandlePlacedUnlockables("Tournaments", 19, 43, c.e, "players", c.r, place + 1);
        char name[8];
        FormatPlace(place + 1, name, sizeof name);
        CareerFormat(c.caller, 5, name, place + 1, text, sizeof text);
    } else {
        CareerFormat(c.caller, noPlaceRow, "", 0, text, sizeof text);
    }
    BasicDbTable_SetElementCN(c.record, kTnStates, c.r, c.e, 'Z');
    CareerShowResult(c.caller, text);
}

int BowlHighScoreGame(const CareerTournament& c, int playerScore)
{
    const int games = BasicDbTable_GetElementI(c.def, kTdGames, c.e, 0);
    int finished = 1;
    for (int x = 0; x < c.m; ++x) {
        const int played = BasicDbTable_GetElementIN(c.record, kTnGames, c.r, x, 0);
        if (played >= games) continue;
        const int pins = BasicDbTable_GetElementIN(c.record, kTnPins, c.r, x, 0) +
                         (x == c.m - 1 ? playerScore : TournamentComputerScore(c));
        BasicDbTable_SetElementIN(c.record, kTnPins, c.r, x, pins);
        BasicDbTable_SetElementIN(c.record, kTnGames, c.r, x, played + 1);
        BasicDbTable_SetElementIN(c.record, kTnAverage, c.r, x, pins / (played + 1));
        if (played + 1 < games) finished = 0;
    }
    const int keys[1] = {kTnPins};
    BasicDbTable_QSortIN(c.record, kTnOrder, c.r, keys, 1, 0, c.m - 1);
    int p = c.m;
    for (int i = 0; i < c.m; ++i)
        if (BasicDbTable_GetElementIN(c.record, kTnOrder, c.r, i, -1) == c.m - 1) p = i;
    BasicDbTable_SetElementI(c.record, kTnPosition, c.r, p);
    return finished;
}

int UpdateHighScoreStandings(sBasicUiWidget* caller, int)
{
    if (lastGameType != kLastGameHighScore) return 0;
    if (PlayerQuitGame()) {
        CareerStartScreen(caller, "cSN.startS12");
        return 1;
    }
    CareerTournament c;
    if (FindCareerTournament(caller, &c) && !ResultsFolded()) {
        const int a = TeamResult(0, c.t);
        UpdateStats(false);
        const int finished = BowlHighScoreGame(c, a);
        sBasicUiEnvironment* env = caller ? BasicUiWidget_GetEnvironment(caller) : BasicUi_GetEnvironment();
        BasicUiWidgetTypeScoreTable_SetTop(BasicUi_FindWidget(env, "s25ScoreTable"),
                                           BasicDbTable_GetElementI(c.record, kTnPosition, c.r, 0) - 7);
        if (finished) TournamentPodium(c, BasicDbTable_GetElementI(c.record, kTnPosition, c.r, c.m), 2);
        CareerSave(caller);
    }
    CareerStartScreen(caller, "cSN.startS25");
    return 1;
}
