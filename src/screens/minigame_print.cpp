// Printing the mini-games' results as text lines at the end of a headless game, for the CLI tests
// and the demo, in the manner of the score sheets.
#include "screens/minigame_print.h"

#include "game/cards.h"
#include "game/gameloop.h"
#include "game/minigames.h"
#include "game/pins.h"
#include "game/records.h"
#include "game/scoring.h"
#include "lib/printing.h"

static const char* const kHandNames[] = {"royal flush",    "straight flush", "four of a kind", "full house",
                                         "flush",          "straight",       "three of a kind", "two pair",
                                         "pair of jacks or better", "pair of tens to eights", "pair of sevens or lower",
                                         "high card"};

static int Players() { return gNumPlayers < 0 ? 0 : gNumPlayers > kMaxPlayers ? kMaxPlayers : gNumPlayers; }

static void PrintName(FILE* to, int player, const char* after)
{
    const PlayerDataTag& who = gPlayerInfo[player].playerData;
    std::fprintf(to, "P%d %.19s %.27s%s", player + 1, who.firstName, who.lastName, after);
}

void FormatCard(int card, char* out, int size)
{
    static const char ranks[] = "AKQJT98765432", suits[] = "SHCD";
    if (card < 0 || card >= kCardsPerDeck)
        PrintString(out, size, "--");
    else
        PrintString(out, size, "%c%c", ranks[card % kCardsPerSuit], suits[card / kCardsPerSuit]);
}

const char* PokerHandName(int handVal)
{
    return handVal >= kHandRoyalFlush && handVal <= kHandHighCard ? kHandNames[handVal - 1] : "no hand";
}

int PrintSparesResults(FILE* to)
{
    if (!to) return 0;
    for (int i = 0; i < Players(); ++i) {
        const TITLE_PlayerInfoStruct& p = gPlayerInfo[i];
        PrintName(to, i, "\n");
        std::fprintf(to, "rounds");
        for (int r = 0; r < p.currFrame && r < kSparesRoundsPerGame; ++r) std::fprintf(to, " %d", p.miniBallScore[r]);
        std::fprintf(to, "\nconverted %d\nscore %d%s\n\n", p.miniSparesConverted, p.totalScore,
                     p.gameFinished ? "" : " (not finished)");
    }
    return 1;
}

int PrintBingoResults(FILE* to)
{
    if (!to) return 0;
    int winner = -1;
    for (int i = 0; i < Players(); ++i) {
        const TITLE_PlayerInfoStruct& p = gPlayerInfo[i];
        if (p.winner && winner < 0) winner = i;
        PrintName(to, i, "\n");
        for (int r = 0; r < kBingoSize; ++r) {
            for (int c = 0; c < kBingoSize; ++c) {
                const int n = p.bingoScores[r][c];
                const char* mark = p.bingoMarks[r][c] ? "*" : " ";
                if (n == kBingoFreeCell)
                    std::fprintf(to, "  --%s", mark);
                else
                    std::fprintf(to, " %3d%s", n, mark);
            }
            std::fprintf(to, "\n");
        }
        std::fprintf(to, "\n");
    }
    if (winner < 0) {
        std::fprintf(to, "no line\n");
    } else {
        std::fprintf(to, "bingo: ");
        PrintName(to, winner, " made the line\n");
    }
    return 1;
}

int PrintPokerResults(FILE* to)
{
    if (!to) return 0;
    int winners[kMaxPlayers] = {}, numWinners = 0, handVal = 0;
    int hands[kMaxPlayers][kMaxHandCards] = {};
    PokerWinners(winners, &numWinners, &handVal, hands);
    for (int i = 0; i < Players(); ++i) {
        const TITLE_PlayerInfoStruct& p = gPlayerInfo[i];
        PrintName(to, i, "\ncards");
        char card[4];
        for (int c = 0; c < p.numCards && c < kMaxHandCards; ++c) {
            FormatCard(p.cards[c], card, sizeof card);
            std::fprintf(to, " %s", card);
        }
        std::fprintf(to, "\nhand %s:", PokerHandName(p.handVal));
        for (int c = 0; c < kHandCards && hands[i][c] != kNoCard; ++c) {
            FormatCard(hands[i][c], card, sizeof card);
            std::fprintf(to, " %s", card);
        }
        std::fprintf(to, "\n\n");
    }
    std::fprintf(to, numWinners > 1 ? "winners" : "winner");
    for (int w = 0; w < numWinners; ++w) std::fprintf(to, " P%d", winners[w] + 1);
    std::fprintf(to, " with %s\n", PokerHandName(handVal));
    return 1;
}

static void PrintPins(FILE* to, const char* label, int mask)
{
    std::fprintf(to, " %s", label);
    if (!mask) std::fprintf(to, " none");
    for (int pin = kFirstPin; pin <= kLastPin; ++pin)
        if (mask & (1 << (pin - 1))) std::fprintf(to, " %d", pin);
}

int PrintPracticeResults(FILE* to)
{
    if (!to) return 0;
    for (int b = 0; b < gNumPracticeBalls; ++b) {
        const PracticeBall& ball = gPracticeBalls[b];
        std::fprintf(to, "ball %d ", b + 1);
        PrintName(to, ball.player, "");
        PrintPins(to, "pins", ball.chosen);
        PrintPins(to, "down", ball.knocked);
        std::fprintf(to, "%s\n", ball.chosen && ball.knocked == ball.chosen ? " cleared" : "");
    }
    std::fprintf(to, "balls %d\n", gNumPracticeBalls);
    return 1;
}

int PrintMiniGameResults(FILE* to)
{
    int ok = 0;
    switch (gGameType) {
    case kGameSpares: ok = PrintSparesResults(to); break;
    case kGameBingo: ok = PrintBingoResults(to); break;
    case kGamePoker: ok = PrintPokerResults(to); break;
    case kGamePinSelect: ok = PrintPracticeResults(to); break;
    default: return 0;
    }
    if (to) std::fflush(to);
    return ok;
}
