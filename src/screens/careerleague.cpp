// The league standings after a league game: the player's match is recorded, the other pairings of
// the week are bowled by the computer (each team kept near a target number of wins, the stronger
// teams higher), the table is sorted by wins and then pins, and after the last week the season
// closes with the podium's prize money and unlocks. A week is folded in once: when the main menu
// opens again without a new game, the standings are only shown.
#include "host/errorlog.h"
#include "screens/career.h"
#include "screens/frontenddb.h"
#include "screens/launchers.h"
#include "screens/results.h"
#include "screens/unlocks.h"
#include "ui/environment.h"
#include "ui/widgets/standings.h"

// "league" record columns and "Leagues" definition columns.
enum { kCurrent = 1, kStates = 11, kOrder = 13, kPosition = 14, kWeek = 15, kFirstWeek = 16, kWins = 31, kLosses, kPins,
       kAverage };
enum { kTeamSize = 4, kTeams = 5, kWeeks = 7, kPrize1 = 12, kComputerAverage = 15, kSpread, kTargetWins,
       kFirstUnlock = 19, kLastUnlock = 43 };

// The weeks a league can be played in: its own count, kept to the saved week columns and to at
// least one (a count of 0 would end no season and divide by zero).
static int LeagueWeeks(sBasicDbTable* def, int e)
{
    const int weeks = BasicDbTable_GetElementI(def, kWeeks, e, 1);
    return weeks < 1 ? 1 : (weeks > kLeagueWeekColumns ? kLeagueWeekColumns : weeks);
}

int SimulateLeagueWeek(sBasicDbTable* record, int r, sBasicDbTable* def, int e, int w, int playerScore,
                       int opponentScore)
{
    const int t = BasicDbTable_GetElementI(def, kTeamSize, e, 1), m = BasicDbTable_GetElementI(def, kTeams, e, 0);
    if (!record || m < 2 || m > kStandingsMaxEntrants || t < 1 || w < 0 || w >= kLeagueWeekColumns) return -1;
    const int weeks = LeagueWeeks(def, e);
    const int average = BasicDbTable_GetElementI(def, kComputerAverage, e, 150);
    const int spread = BasicDbTable_GetElementI(def, kSpread, e, 20);
    const int targetWins = BasicDbTable_GetElementI(def, kTargetWins, e, 0);
    const int column = kFirstWeek + w, me = m - 1;
    auto wins = [&](int x) { return BasicDbTable_GetElementIN(record, kWins, r, x, 0); };
    // Team 0 aims at the target wins, each later team at a little less.
    auto target = [&](int x) { return (targetWins * weeks - x * targetWins) / weeks; };
    auto behind = [&](int x) { return target(x) - wins(x); };

    bool handled[kStandingsMaxEntrants] = {};
    for (int j = 0; j < m / 2; ++j) {
        const int a = BasicDbTable_GetElementIN(record, column, r, 2 * j, -1);
        const int b = BasicDbTable_GetElementIN(record, column, r, 2 * j + 1, -1);
        // A pairing that names no team of this league (an unfilled entry) is not a match.
        if (a < 0 || a >= m || b < 0 || b >= m || a == b || handled[a] || handled[b]) continue;
        int sa, sb;
        if (a == me || b == me) {
            sa = a == me ? playerScore : opponentScore;
            sb = a == me ? opponentScore : playerScore;
        } else {
            const int s1 = ComputerScore(average * t, spread * t), s2 = ComputerScore(average * t, spread * t);
            const int hi = s1 > s2 ? s1 : s2, lo = s1 > s2 ? s2 : s1;
            bool aHigh;
            if (behind(a) != behind(b)) aHigh = behind(a) > behind(b);
            else if (behind(a) == 0) aHigh = wins(a) < wins(b);
            else aHigh = target(a) > target(b);
            sa = aHigh ? hi : lo;
            sb = aHigh ? lo : hi;
        }
        // A tie goes to the player's team, as it does in the bowler's statistics; between two
        // computer teams it goes to the second of the pair.
        const bool aWins = sa > sb || (sa == sb && a == me);
        const int winner = aWins ? a : b, loser = aWins ? b : a;
        BasicDbTable_SetElementIN(record, kWins, r, winner, wins(winner) + 1);
        BasicDbTable_SetElementIN(record, kLosses, r, loser, BasicDbTable_GetElementIN(record, kLosses, r, loser, 0) + 1);
        const int teams[2] = {a, b}, scores[2] = {sa, sb};
        for (int k = 0; k < 2; ++k) {
            const int x = teams[k];
            const int pins = BasicDbTable_GetElementIN(record, kPins, r, x, 0) + scores[k];
            BasicDbTable_SetElementIN(record, kPins, r, x, pins);
            BasicDbTable_SetElementIN(record, kAverage, r, x, pins / (w + 1));
            BasicDbTable_SetElementIN(record, column, r, 2 * m + x, scores[k]);
            handled[x] = true;
        }
    }
    const int keys[2] = {kWins, kPins};
    BasicDbTable_QSortIN(record, kOrder, r, keys, 2, 0, m - 1);
    int p = m;
    for (int i = 0; i < m; ++i)
        if (BasicDbTable_GetElementIN(record, kOrder, r, i, -1) == me) p = i;
    BasicDbTable_SetElementI(record, kPosition, r, p);
    return p;
}

// The season's end: the podium's place, prize and unlocks, and the text of the results dialog.
static void CloseSeason(sBasicUiWidget* caller, sBasicDbTable* record, sBasicDbTable* def, sBasicDbTable* players, int r,
                        int e, int p)
{
    BasicDbTable_SetElementCN(record, kStates, r, e, 'Z');
    char place[16], text[256];
    FormatPlace(p + 1, place, sizeof place);
    if (p <= 2) {
        const char mark = char('1' + p);
        const char now = BasicDbTable_GetElementCN(players, 27, r, e, 'L');
        // A better place reached before is kept.
        if (!(now >= '1' && now < mark)) BasicDbTable_SetElementCN(players, 27, r, e, mark);
        HandlePlacedUnlockables("Leagues", kFirstUnlock, kLastUnlock, e, "players", r, p + 1);
        BasicDbTable_SetElementI(players, 8, r,
                                 BasicDbTable_GetElementI(players, 8, r, 0) + BasicDbTable_GetElementI(def, kPrize1 + p, e, 0));
        CareerFormat(caller, 5, place, p + 1, text, sizeof text);
    } else {
        CareerFormat(caller, 1, place, p + 1, text, sizeof text);
    }
    CareerShowResult(caller, text);
}

int UpdateLeagueStandings(sBasicUiWidget* caller, int)
{
    if (lastGameType != kLastGameLeague) return 0;
    if (PlayerQuitGame()) {
        CareerStartScreen(caller, "cSN.startS12");
        return 1;
    }
    sBasicDbTable* record = FrontEndTable(caller, "save", "league");
    sBasicDbTable* players = FrontEndTable(caller, "save", "players");
    sBasicDbTable* def = FrontEndTable(caller, "game", "Leagues");
    const int r = CareerSlot(caller);
    const int e = record ? BasicDbTable_GetElementI(record, kCurrent, r, -1) : -1;
    sBasicUiWidget* table = BasicUi_FindWidget(caller ? BasicUiWidget_GetEnvironment(caller) : BasicUi_GetEnvironment(),
                                               "s21leagueTable");
    if (!record || !players || !def || r < 0 || r >= record->rows || e < 0 || e >= def->rows) {
        PrintError("career: the league game cannot be recorded: its tables or league are missing");
    } else if (!ResultsFolded()) {
        // Only a game's first fold-in plays the week: a repeated one leaves the table as it is.
        const int t = BasicDbTable_GetElementI(def, kTeamSize, e, 1);
        const int a = TeamResult(0, t), b = TeamResult(t, t);
        UpdateStats(true);
        const int w = BasicDbTable_GetElementI(record, kWeek, r, 0);
        const int p = SimulateLeagueWeek(record, r, def, e, w, a, b);
        if (p >= 0) {
            BasicUiWidgetTypeLeagueTable_SetTop(table, p - 8);
            if (w + 1 < LeagueWeeks(def, e)) {
                BasicUiWidgetTypeLeagueTable_SetWeek(table, w + 1);
                BasicDbTable_SetElementI(record, kWeek, r, w + 1);
            } else {
                BasicUiWidgetTypeLeagueTable_SetWeek(table, w);
                CloseSeason(caller, record, def, players, r, e, p);
            }
            CareerSave(caller);
        } else {
            PrintError("career: league %d has no usable teams or week %d", e, w);
        }
    }
    CareerStartScreen(caller, "cSN.startS21");
    return 1;
}
