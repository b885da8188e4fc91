// The game's results on their way back to the front end, and what the front end makes of them:
// the career bowler's lifetime statistics and every bowler's reputation in the "save" database.
// The game writes the results when it ends (SetPlayersResults) or its bingo and poker overlays do;
// a launcher clears them before the next game. A fold is done once per set of results, because the
// main menu may open again (after a dialog, a load) while the same results are still here.
#include "screens/results.h"

#include <cstdio>

#include "game/characterload.h"
#include "game/gameloop.h"
#include "game/records.h"
#include "screens/frontenddb.h"
#include "screens/launchers.h"

int gPlayerResults[kMaxPlayers][kResultSlots];
int gScoreCardPinCount[kFramesPerGame][kBallsPerFrame];
static int resultsFolded = 0;

static const int kStrike = 10;
static const int kPerfectGame = 300;

// The "players" columns of the statistics.
enum {
    kColReputation = 9,
    kColGames = 30, kColWins, kColPins, kColSpares, kColStrikes, kColTurkeys, kColAverage, kColHighGame,
    kColPerfect = 44,
};

void ClrPlayerResults()
{
    for (auto& row : gPlayerResults)
        for (int& v : row) v = -1;
    for (auto& frame : gScoreCardPinCount)
        for (int& v : frame) v = 0;
    DisposeCharacters();
    gNumPlayers = 0;
    resultsFolded = 0;
}

void ZeroPlayerResults()
{
    for (auto& row : gPlayerResults)
        for (int& v : row) v = 0;
    for (auto& frame : gScoreCardPinCount)
        for (int& v : frame) v = 0;
    resultsFolded = 0;
}

void SetPlayersResults()
{
    const int players = gNumPlayers < 0 ? 0 : (gNumPlayers > kMaxPlayers ? kMaxPlayers : gNumPlayers);
    for (int p = 0; p < players; ++p) {
        gPlayerResults[p][0] = gPlayerInfo[p].totalScore;
        for (int slot = 1; slot < kResultSlots; ++slot) gPlayerResults[p][slot] = 0;
    }
    for (int f = 0; f < kFramesPerGame; ++f)
        for (int b = 0; b < kBallsPerFrame; ++b) gScoreCardPinCount[f][b] = gPlayerInfo[0].framePinCount[f][b];
    resultsFolded = 0;
}

void SetPlayerResults(int player, int slot, int value)
{
    if (player < 0 || player >= kMaxPlayers || slot < 0 || slot >= kResultSlots) return;
    gPlayerResults[player][slot] = value;
}

void SetPlayerResults(int player, const int* values)
{
    if (player < 0 || player >= kMaxPlayers || !values) return;
    for (int slot = 0; slot < kResultSlots; ++slot) gPlayerResults[player][slot] = values[slot];
}

int PlayerQuitGame()
{
    if (gNumPlayers < 1) return 1;
    const int players = gNumPlayers > kMaxPlayers ? kMaxPlayers : gNumPlayers;
    for (int p = 0; p < players; ++p)
        if (gPlayerResults[p][0] != -1) return 0;
    return 1;
}

FrameMarks CountFrameMarks(const int balls[3], int previous1, int previous2, int lastFrame)
{
    const int b0 = balls[0], b1 = balls[1], b2 = balls[2];
    FrameMarks m = {0, 0, 0};
    // A spare is the rest of a full rack knocked down with the second ball, a gutter first ball
    // included.
    const int firstSpare = b0 >= 0 && b0 < kStrike && b1 >= 0 && b0 + b1 == kStrike;
    if (b0 == kStrike) ++m.strikes;
    if (firstSpare) ++m.spares;
    if (b0 == kStrike && previous1 == kStrike && previous2 == kStrike) ++m.turkeys;
    if (!lastFrame) return m;
    // The tenth frame's fill balls: after a strike the second ball meets a fresh rack; the third
    // meets a fresh rack after a double or a spare, otherwise it finishes the second ball's rack.
    if (b0 == kStrike) {
        if (b1 == kStrike) ++m.strikes;
        else if (b1 >= 0 && b2 >= 0 && b1 + b2 == kStrike) ++m.spares;
    }
    const int freshThird = (b0 == kStrike && b1 == kStrike) || firstSpare;
    if (freshThird && b2 == kStrike) ++m.strikes;
    if (previous1 == kStrike && b0 == kStrike && b1 == kStrike) ++m.turkeys;
    if (b0 == kStrike && b1 == kStrike && b2 == kStrike) ++m.turkeys;
    return m;
}

int ResultsFolded() { return resultsFolded; }
void MarkResultsFolded() { resultsFolded = 1; }

int gQuickPlayBowlerRow = -1;

int UpdateStats(bool teamGame) { return UpdateStatsOfBowler(CareerSlot(), teamGame); }

int UpdateQuickPlayStats()
{
    if (lastGameType != kLastGameQuick || gQuickPlayBowlerRow < 0 || PlayerQuitGame()) return 0;
    return UpdateStatsOfBowler(gQuickPlayBowlerRow, false);
}

int UpdateStatsOfBowler(int r, bool teamGame)
{
    sBasicDbTable* players = FrontEndTable(nullptr, "save", "players");
    if (!players || r < 0 || r >= players->rows || resultsFolded) return 0;
    resultsFolded = 1;
    int games = BasicDbTable_GetElementI(players, kColGames, r, 0);
    int wins = BasicDbTable_GetElementI(players, kColWins, r, 0);
    int pins = BasicDbTable_GetElementI(players, kColPins, r, 0);
    int spares = BasicDbTable_GetElementI(players, kColSpares, r, 0);
    int strikes = BasicDbTable_GetElementI(players, kColStrikes, r, 0);
    int turkeys = BasicDbTable_GetElementI(players, kColTurkeys, r, 0);
    int highGame = BasicDbTable_GetElementI(players, kColHighGame, r, 0);
    int perfect = BasicDbTable_GetElementI(players, kColPerfect, r, 0);

    const int score = gPlayerResults[0][0] < 0 ? 0 : gPlayerResults[0][0];
    if (teamGame) {
        const int half = (gNumPlayers > kMaxPlayers ? kMaxPlayers : gNumPlayers) / 2;
        int ours = 0, theirs = 0;
        for (int i = 0; i < half; ++i) ours += gPlayerResults[i][0];
        for (int i = half; i < 2 * half; ++i) theirs += gPlayerResults[i][0];
        if (ours >= theirs) ++wins;
    }
    ++games;
    // A perfect game is the career bowler's own 300, in a team game or alone.
    if (score == kPerfectGame) ++perfect;
    pins += score;
    for (int f = 0; f < kFramesPerGame; ++f) {
        const int previous1 = f >= 1 ? gScoreCardPinCount[f - 1][0] : -1;
        const int previous2 = f >= 2 ? gScoreCardPinCount[f - 2][0] : -1;
        const FrameMarks m = CountFrameMarks(gScoreCardPinCount[f], previous1, previous2, f == kFramesPerGame - 1);
        spares += m.spares;
        strikes += m.strikes;
        turkeys += m.turkeys;
    }
    if (score > highGame) highGame = score;

    BasicDbTable_SetElementI(players, kColGames, r, games);
    BasicDbTable_SetElementI(players, kColWins, r, wins);
    BasicDbTable_SetElementI(players, kColPins, r, pins);
    BasicDbTable_SetElementI(players, kColSpares, r, spares);
    BasicDbTable_SetElementI(players, kColStrikes, r, strikes);
    BasicDbTable_SetElementI(players, kColTurkeys, r, turkeys);
    BasicDbTable_SetElementI(players, kColAverage, r, int(double(pins) / double(games)));
    BasicDbTable_SetElementI(players, kColHighGame, r, highGame);
    BasicDbTable_SetElementI(players, kColPerfect, r, perfect);
    return 1;
}

// Reputation of the item worn in "players" column `column`; a row of -1 (nothing worn) adds 0.
static int ItemReputation(sBasicDbTable* items, sBasicDbTable* players, int column, int row)
{
    return BasicDbTable_GetElementI(items, 8, BasicDbTable_GetElementI(players, column, row, -1), 0);
}

int UpdateReputation()
{
    sBasicDbTable* players = FrontEndTable(nullptr, "save", "players");
    if (!players || players->rows < 1) return 0;
    static const char* const kNeeded[] = {"Bodys",    "Pants",    "Skirts",  "Shirts",  "Shoes",
                                          "HatsM",    "HatsF",    "GlassesM", "GlassesF", "GlovesL",
                                          "GlovesR",  "BallsR",   "Leagues", "Tournaments", "Rivals"};
    for (const char* name : kNeeded)
        if (!FrontEndTable(nullptr, "game", name)) return 0;
    auto game = [](const char* name) { return FrontEndTable(nullptr, "game", name); };
    for (int p = 0; p < players->rows; ++p) {
        int sum = 0;
        for (int i = 0; i < 20; ++i) {
            if (BasicDbTable_GetElementCN(players, 27, p, i, 0) == '1') sum += BasicDbTable_GetElementI(game("Leagues"), 11, i, 0);
            if (BasicDbTable_GetElementCN(players, 28, p, i, 0) == '1') sum += BasicDbTable_GetElementI(game("Tournaments"), 13, i, 0);
            if (BasicDbTable_GetElementCN(players, 29, p, i, 0) == 'W') sum += BasicDbTable_GetElementI(game("Rivals"), 12, i, 0);
        }
        const int female = BasicDbTable_GetElementI(players, 7, p, 0) != 0;
        const int leftHand = BasicDbTable_GetElementIN(players, 6, p, 4, 0) != 0;
        sum += ItemReputation(game(female ? "Skirts" : "Pants"), players, 11, p);
        sum += ItemReputation(game("Shirts"), players, 12, p);
        sum += ItemReputation(game("Shoes"), players, 13, p);
        sum += ItemReputation(game(female ? "HatsF" : "HatsM"), players, 14, p);
        sum += ItemReputation(game(female ? "GlassesF" : "GlassesM"), players, 15, p);
        sum += ItemReputation(game(leftHand ? "GlovesL" : "GlovesR"), players, 16, p);
        for (int b = 0; b < kBallsPerPlayer; ++b)
            sum += BasicDbTable_GetElementI(game("BallsR"), 8, BasicDbTable_GetElementIN(players, 17, p, b, -1), 0);
        BasicDbTable_SetElementI(players, kColReputation, p, sum);
    }
    return 1;
}

int FormatPlace(int place, char* out, int size)
{
    if (!out || size < 5) return 0;
    const int tens = (place / 10) % 10, units = place % 10;
    const char* suffix = "th";
    if (tens != 1 && units == 1) suffix = "st";
    if (tens != 1 && units == 2) suffix = "nd";
    if (tens != 1 && units == 3) suffix = "rd";
    std::snprintf(out, size_t(size), "%d%s", place, suffix);
    return 1;
}
