// Printing each player's score sheet as text lines at the end of a headless game, for the CLI tests
// and the demo.
#include "screens/scoresheet_print.h"

#include <cstring>

#include "game/gameloop.h"
#include "game/records.h"
#include "game/scoring.h"
#include "lib/printing.h"
#include "screens/minigame_print.h"


static int Valid(int player) { return player >= 0 && player < kMaxPlayers; }

// One ball's text: a count, or "-" for none down.
static void Count(int pins, char* out, int size)
{
    if (pins == 0)
        PrintString(out, size, "-");
    else
        PrintString(out, size, "%d", pins);
}

// Appends a ball's mark to out, space-separated.
static void Append(char* out, int size, const char* mark)
{
    const size_t used = std::strlen(out);
    if (used + std::strlen(mark) + 2 > size_t(size)) return;
    if (used) std::strcat(out, " ");
    std::strcat(out, mark);
}

int FormatFrameMarks(int player, int frame, char* out, int size)
{
    if (!out || size < 8) return 0;
    out[0] = '\0';
    if (!Valid(player) || frame < 0 || frame >= kFramesPerGame) return 0;
    const int* ball = gPlayerInfo[player].framePinCount[frame];
    char mark[8];

    if (frame < kFramesPerGame - 1) {
        if (ball[0] == kAllPins) {
            Append(out, size, "X");
            return 1;
        }
        for (int b = 0; b < 2; ++b) {
            if (ball[b] < 0) break;
            if (b == 1 && ball[0] + ball[1] == kAllPins)
                PrintString(mark, sizeof mark, "/");
            else
                Count(ball[b], mark, sizeof mark);
            Append(out, size, mark);
        }
        return 1;
    }

    // The tenth frame: up to three balls, each on a fresh rack after a strike or a spare.
    for (int b = 0; b < kBallsPerFrame; ++b) {
        if (ball[b] < 0) break;
        const int firstStrike = ball[0] == kAllPins;
        if (b == 0) {
            if (ball[0] == kAllPins)
                PrintString(mark, sizeof mark, "X");
            else
                Count(ball[0], mark, sizeof mark);
        } else if (b == 1) {
            if (ball[1] == kAllPins)
                PrintString(mark, sizeof mark, firstStrike ? "X" : "/");
            else if (!firstStrike && ball[0] + ball[1] == kAllPins)
                PrintString(mark, sizeof mark, "/");
            else
                Count(ball[1], mark, sizeof mark);
        } else {
            if (ball[2] == kAllPins)
                PrintString(mark, sizeof mark, ball[1] != 0 ? "X" : "/");
            else if (firstStrike && ball[1] != kAllPins && ball[1] + ball[2] == kAllPins)
                PrintString(mark, sizeof mark, "/");
            else
                Count(ball[2], mark, sizeof mark);
        }
        Append(out, size, mark);
    }
    return 1;
}

int PrintScoreSheet(FILE* to, int player)
{
    if (!to || !Valid(player)) return 0;
    const TITLE_PlayerInfoStruct& p = gPlayerInfo[player];
    const PlayerDataTag& who = p.playerData;

    char name[64];
    if (who.firstName[0] || who.lastName[0])
        PrintString(name, sizeof name, "%.19s %.27s", who.firstName, who.lastName);
    else
        PrintString(name, sizeof name, "Player %d", player + 1);
    std::fprintf(to, "P%d %s\n", player + 1, name);

    std::fprintf(to, "frame");
    for (int f = 1; f <= kFramesPerGame; ++f) std::fprintf(to, " |%6d ", f);
    std::fprintf(to, " |\nmarks");
    for (int f = 0; f < kFramesPerGame; ++f) {
        char marks[16];
        FormatFrameMarks(player, f, marks, sizeof marks);
        std::fprintf(to, " |%6s ", marks);
    }
    std::fprintf(to, " |\ntotal");
    for (int f = 0; f < kFramesPerGame; ++f) {
        if (p.totalScoreInFrame[f] >= 0)
            std::fprintf(to, " |%6d ", p.totalScoreInFrame[f]);
        else
            std::fprintf(to, " |       ");
    }
    std::fprintf(to, " |\nscore %d%s\n\n", p.totalScore, p.gameFinished ? "" : " (not finished)");
    return 1;
}

int PrintScoreSheets(FILE* to)
{
    if (!to) return 0;
    // The mini-games print their own results.
    if (gGameType == kGameSpares || gGameType == kGameBingo || gGameType == kGamePoker || gGameType == kGamePinSelect)
        return PrintMiniGameResults(to);
    int ok = 1;
    for (int player = 0; player < gNumPlayers && player < kMaxPlayers; ++player)
        if (!PrintScoreSheet(to, player)) ok = 0;
    std::fflush(to);
    return ok;
}
