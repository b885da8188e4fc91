// The knock-out tree after a tree game: the player's match is recorded with the rest of its round,
// winners move on to the next round's column, and when the player's team is out the remaining
// rounds are bowled at once. The last round holds the final and the match for third place. A tie
// goes to the player's team; between two computer teams to the first of the pair only on a
// strictly higher score.
#include <cmath>

#include "host/errorlog.h"
#include "screens/career.h"
#include "screens/careertournament.h"
#include "screens/launchers.h"
#include "screens/results.h"
#include "ui/environment.h"
#include "ui/widgets/standings.h"

// The rounds of a bracket of `size` positions: 16 give 4 (the last one the final); 0 below 2.
static int TreeRounds(int size) { return size < 2 ? 0 : int(std::log(double(size)) / std::log(2.0) + 0.5); }

// Bowls the pair at entries i and i + 1 of a round of n entries: the player's team scores a and
// its opponent b, computer teams their own scores. Stores the scores after the n entries and
// returns 1 when the first of the pair won.
static int BowlPair(const CareerTournament& c, int column, int n, int i, int a, int b, int* player)
{
    const int me = c.m - 1;
    const int x = BasicDbTable_GetElementIN(c.record, column, c.r, i, -1);
    const int y = BasicDbTable_GetElementIN(c.record, column, c.r, i + 1, -1);
    int sx, sy;
    if (x == me || y == me) {
        sx = x == me ? a : b;
        sy = x == me ? b : a;
        *player = 1;
    } else {
        sx = TournamentComputerScore(c);
        sy = TournamentComputerScore(c);
    }
    BasicDbTable_SetElementIN(c.record, column, c.r, n + i, sx);
    BasicDbTable_SetElementIN(c.record, column, c.r, n + i + 1, sy);
    if (x == me) return sx >= sy;
    if (y == me) return sx > sy;
    return sx > sy;
}

int UpdateTreeStandings(sBasicUiWidget* caller, int)
{
    if (lastGameType != kLastGameTree) return 0;
    if (PlayerQuitGame()) {
        CareerStartScreen(caller, "cSN.startS12");
        return 1;
    }
    CareerTournament c;
    sBasicUiEnvironment* env = caller ? BasicUiWidget_GetEnvironment(caller) : BasicUi_GetEnvironment();
    sBasicUiWidget* tree = BasicUi_FindWidget(env, "s23TreeTable");
    const int rounds = FindCareerTournament(caller, &c) ? TreeRounds(BasicDbTable_GetElementI(c.def, kTdBracket, c.e, 0)) : 0;
    const int roomForRounds = 6;  // the saved record's round columns
    if (c.record && rounds < 1) PrintError("career: tournament %d has no bracket to play", c.e);
    if (rounds >= 1 && rounds <= roomForRounds && (1 << rounds) <= c.m && !ResultsFolded()) {
        const int a = TeamResult(0, c.t), b = TeamResult(c.t, c.t), me = c.m - 1;
        UpdateStats(true);
        for (int w = BasicDbTable_GetElementI(c.record, kTnRound, c.r, 0); w < rounds; ++w) {
            const int n = (1 << (rounds - w)) + (w == rounds - 1 ? 2 : 0);
            const int column = kTnFirstRound + w, next = column + 1;
            BasicDbTable_SetElementI(c.record, kTnRound, c.r, w + 1);
            BasicUiWidgetTypeTreeTable_SetRound(tree, w);
            BasicUiWidgetTypeTreeTable_SetTop(tree, c.m / (1 << (w + 1)) - 8);
            int inRound = 0, won = 0;
            if (w == rounds - 1) {
                // The final (entries 0 and 1) and the match for third place (2 and 3).
                int k = n;
                for (int i = 0; i < n; i += 2) {
                    int player = 0;
                    const int first = BowlPair(c, column, n, i, a, b, &player);
                    if (player) {
                        k = BasicDbTable_GetElementIN(c.record, column, c.r, i, -1) == me ? i : i + 1;
                        won = (k == i) == (first == 1);
                    }
                }
                const int place = k >= n ? 3 : (won ? 0 : 1) + (k > 1 ? 2 : 0);
                TournamentPodium(c, place, 6);
                break;
            }
            const int semis = w == rounds - 2;
            for (int i = 0; i < (semis ? 4 : n); i += 2) {
                int player = 0;
                const int first = BowlPair(c, column, n, i, a, b, &player);
                const int x = BasicDbTable_GetElementIN(c.record, column, c.r, i, -1);
                const int y = BasicDbTable_GetElementIN(c.record, column, c.r, i + 1, -1);
                const int winner = first ? x : y, loser = first ? y : x;
                if (semis) {
                    // Semi-final winners meet in the final, losers for third place.
                    BasicDbTable_SetElementIN(c.record, next, c.r, i / 2, winner);
                    BasicDbTable_SetElementIN(c.record, next, c.r, 2 + i / 2, loser);
                } else {
                    BasicDbTable_SetElementIN(c.record, next, c.r, i / 2, winner);
                }
                if (player) {
                    inRound = 1;
                    won = winner == me;
                }
            }
            // The player's team goes on to its next match; a team knocked out watches the rest.
            if (inRound && (won || semis)) break;
        }
        CareerSave(caller);
    }
    CareerStartScreen(caller, "cSN.startS23");
    return 1;
}
