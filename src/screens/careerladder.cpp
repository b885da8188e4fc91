// The ladder after a ladder game. Teams first bowl qualifying games like a high-score event; the
// order they finish in fills the rungs (rung 0 at the top, each defended by one team) and the
// first team below them challenges the lowest rung. The rungs below the player's are bowled at
// once between computer teams; the player then climbs one rung a game, the winner of each rung
// challenging the rung above. A defender keeps a rung only on a strictly higher score, but a tie
// always goes to the player's team. Rung j's two teams are entries 2j (defender) and 2j + 1
// (challenger) of the ladder column, their scores entries 2(j + b) and 2(j + b) + 1.
#include "host/errorlog.h"
#include "screens/career.h"
#include "screens/careertournament.h"
#include "screens/launchers.h"
#include "screens/results.h"
#include "ui/environment.h"
#include "ui/widgets/standings.h"

static int Entry(const CareerTournament& c, int k) { return BasicDbTable_GetElementIN(c.record, kTnFirstRound, c.r, k, -1); }
static void SetEntry(const CareerTournament& c, int k, int v) { BasicDbTable_SetElementIN(c.record, kTnFirstRound, c.r, k, v); }

// Bowls rungs from `from` down to `to` between computer teams; each winner challenges the rung
// above.
static void BowlComputerRungs(const CareerTournament& c, int b, int from, int to)
{
    for (int j = from; j >= to && j >= 0; --j) {
        const int sd = TournamentComputerScore(c), sc = TournamentComputerScore(c);
        SetEntry(c, 2 * (j + b), sd);
        SetEntry(c, 2 * (j + b) + 1, sc);
        if (j > 0) SetEntry(c, 2 * (j - 1) + 1, sd > sc ? Entry(c, 2 * j) : Entry(c, 2 * j + 1));
    }
}

static void ShowRung(sBasicUiWidget* table, int b, int p)
{
    BasicUiWidgetTypeLadderTable_SetRound(table, b - p - 2);
    BasicUiWidgetTypeLadderTable_SetTop(table, p - 3);
}

int UpdateLadderStandings(sBasicUiWidget* caller, int)
{
    if (lastGameType != kLastGameLadder) return 0;
    if (PlayerQuitGame()) {
        CareerStartScreen(caller, "cSN.startS12");
        return 1;
    }
    CareerTournament c;
    sBasicUiEnvironment* env = caller ? BasicUiWidget_GetEnvironment(caller) : BasicUi_GetEnvironment();
    sBasicUiWidget* table = BasicUi_FindWidget(env, "s24LadderTable");
    const int found = FindCareerTournament(caller, &c);
    const int b = found ? BasicDbTable_GetElementI(c.def, kTdBracket, c.e, 0) : 0;
    const int room = found ? BasicDbTable_GetElementCount(c.record, kTnFirstRound) : 0;
    if (found && (b < 2 || b > c.m || 2 * (2 * b - 2) + 1 >= room))
        PrintError("career: tournament %d has a ladder of %d places for %d teams", c.e, b, c.m);
    else if (found && !ResultsFolded()) {
        const int me = c.m - 1, games = BasicDbTable_GetElementI(c.def, kTdGames, c.e, 0);
        const int a = TeamResult(0, c.t);
        bool qualifying = false;
        for (int x = 0; x < c.m; ++x)
            if (BasicDbTable_GetElementIN(c.record, kTnGames, c.r, x, 0) < games) qualifying = true;
        if (qualifying) {
            // A qualifying game counts in the bowler's statistics like any other game.
            UpdateStats(false);
            const int finished = BowlHighScoreGame(c, a);
            BasicUiWidgetTypeLadderTable_SetTop(table, BasicDbTable_GetElementI(c.record, kTnPosition, c.r, 0) - 7);
            if (finished) {
                int p = -1;
                for (int i = 0; i <= b - 2; ++i) {
                    const int defender = BasicDbTable_GetElementIN(c.record, kTnOrder, c.r, i, -1);
                    SetEntry(c, 2 * i, defender);
                    SetEntry(c, 2 * i + 1, -1);
                    SetEntry(c, 2 * (i + b), -1);
                    SetEntry(c, 2 * (i + b) + 1, -1);
                    if (defender == me) p = i;
                }
                const int lowest = BasicDbTable_GetElementIN(c.record, kTnOrder, c.r, b - 1, -1);
                SetEntry(c, 2 * (b - 2) + 1, lowest);
                if (lowest == me) p = b - 2;
                BowlComputerRungs(c, b, b - 2, p + 1);
                if (p < 0) {
                    BasicUiWidgetTypeLadderTable_SetRound(table, b - 2);
                    BasicUiWidgetTypeLadderTable_SetTop(table, 0);
                    TournamentPodium(c, 3, 6);
                } else {
                    BasicDbTable_SetElementI(c.record, kTnPosition, c.r, p);
                    ShowRung(table, b, p);
                }
            }
        } else {
            const int p = BasicDbTable_GetElementI(c.record, kTnPosition, c.r, 0);
            const int bo = TeamResult(c.t, c.t);
            UpdateStats(true);
            // The player's total goes on the player's own side of the rung.
            const int defending = Entry(c, 2 * p) == me;
            SetEntry(c, 2 * (p + b) + (defending ? 0 : 1), a);
            SetEntry(c, 2 * (p + b) + (defending ? 1 : 0), bo);
            const int won = a >= bo;
            if (p > 0) SetEntry(c, 2 * (p - 1) + 1, won ? me : (defending ? Entry(c, 2 * p + 1) : Entry(c, 2 * p)));
            if (won && p > 0) {
                BasicDbTable_SetElementI(c.record, kTnPosition, c.r, p - 1);
                ShowRung(table, b, p - 1);
            } else {
                BasicUiWidgetTypeLadderTable_SetRound(table, b - 2);
                BasicUiWidgetTypeLadderTable_SetTop(table, 0);
                BasicDbTable_SetElementI(c.record, kTnPosition, c.r, 0);
                BowlComputerRungs(c, b, p - 1, 0);
                const int place = won ? 0 : (p == 0 ? 1 : (p == 1 ? 2 : 3));
                TournamentPodium(c, place, 6);
            }
        }
        CareerSave(caller);
    }
    CareerStartScreen(caller, "cSN.startS24");
    return 1;
}
