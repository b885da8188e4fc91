// The mini-games' result screens drawn with the game's fonts and pictures, for one to eight
// bowlers with the widest contents they can hold: every text and picture lies on the lower screen
// and on its panel (the message panel, clear of its rounded corners; the bingo card for the
// card's numbers), no two texts overlap, no two pictures overlap, and a text drawn on a picture (a
// bingo number on its cell) stands centred on it. The bingo card's cells form a straight 5 x 5
// grid, each with its number but the free centre, which is blank.
#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "game/gameloop.h"
#include "game/records.h"
#include "lib/resourceids.h"
#include "overlays/bingocard.h"
#include "overlays/overlaydraw.h"
#include "overlays/overlaystack.h"
#include "overlays/poker.h"
#include "overlays/sparesoverlays.h"
#include "support/drawn_layout.h"

namespace {

struct Case {
    std::string name;
    int players;
    void (*bringUp)(int players);
    int card;  // the numbers stand on the bingo card's cells, not on the message panel
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

void Name(TITLE_PlayerInfoStruct& p, int i)
{
    std::snprintf(p.playerData.firstName, sizeof p.playerData.firstName, "Maximilian%u", unsigned(i + 1) % 10u);
    std::snprintf(p.playerData.lastName, sizeof p.playerData.lastName, "Wolfeschlegel");
}

void BingoCard(int)
{
    TITLE_PlayerInfoStruct& p = gPlayerInfo[0];
    for (int r = 0; r < kBingoSize; ++r)
        for (int c = 0; c < kBingoSize; ++c) {
            p.bingoScores[r][c] = 10 + 4 * r + c;
            p.bingoMarks[r][c] = (r + c) % 2;
        }
    p.bingoScores[2][2] = kBingoFreeCell;
    StartBingoCardOverlay(0, 1);
}

// Seven cards each, and every hand the same high card, so that every row is a winner's; each
// hand is labelled with its bowler's name.
void PokerResult(int players)
{
    const int ranks[kMaxHandCards] = {0, 1, 2, 3, 5, 7, 9};
    for (int i = 0; i < players; ++i) {
        TITLE_PlayerInfoStruct& p = gPlayerInfo[i];
        Name(p, i);
        p.numCards = kMaxHandCards;
        for (int c = 0; c < kMaxHandCards; ++c) p.cards[c] = (c + i) % 4 * 13 + ranks[c];
    }
    StartPokerOverlay();
}

void SparesFinalTable(int players)
{
    for (int i = 0; i < players; ++i) {
        TITLE_PlayerInfoStruct& p = gPlayerInfo[i];
        Name(p, i);
        p.miniSparesConverted = 18;
        p.totalScore = 18000;
    }
    gGameOver = 1;
    StartDSSparesScoreOverlay();
}

std::vector<Case> Cases()
{
    std::vector<Case> cases = {{"BingoCard", 1, BingoCard, 1}};
    for (int n = 1; n <= kMaxPlayers; ++n) cases.push_back({"PokerResult" + std::to_string(n), n, PokerResult, 0});
    for (int n = 1; n <= kMaxPlayers; ++n) cases.push_back({"SparesFinalTable" + std::to_string(n), n, SparesFinalTable, 0});
    return cases;
}

class MiniGameLayout : public ::testing::TestWithParam<Case> {
protected:
    TITLE_PlayerInfoStruct saved[kMaxPlayers];
    int savedPlayers = 0, savedCurrent = 0;

    void SetUp() override
    {
        ASSERT_EQ(OpenDrawnScreens(), 1);
        for (int i = 0; i < kMaxPlayers; ++i) saved[i] = gPlayerInfo[i];
        savedPlayers = gNumPlayers;
        savedCurrent = gCurrPlayer;
        for (TITLE_PlayerInfoStruct& p : gPlayerInfo) ResetPlayerInfo(&p);
        gNumPlayers = GetParam().players;
        gCurrPlayer = 0;
    }
    void TearDown() override
    {
        while (OverlayExists() && OverlayExit()) {
        }
        for (int i = 0; i < kMaxPlayers; ++i) gPlayerInfo[i] = saved[i];
        gNumPlayers = savedPlayers;
        gCurrPlayer = savedCurrent;
        gGameOver = 0;
        PauseGame(0);
        CloseDrawnScreens();
    }
};

int DrawLowerScreen()
{
    SetHUDDisplay(1);
    return OverlayDraw();
}

// Inside the message panel and clear of its rounded corners, a pixel or two of a glyph's blank
// cell allowed.
bool OnMessagePanel(const DrawnRect& r)
{
    const int m = 2, rad = kMessagePanelRadius;
    const DrawnRect panel = {kMessagePanelLeft, kMessagePanelTop, kMessagePanelRight - kMessagePanelLeft,
                             kMessagePanelBottom - kMessagePanelTop};
    if (!Within(r, panel, m)) return false;
    const int xs[2] = {r.x + m, r.x + r.w - m}, ys[2] = {r.y + m, r.y + r.h - m};
    for (int x : xs)
        for (int y : ys) {
            const int cx = x < kMessagePanelLeft + rad ? kMessagePanelLeft + rad : x > kMessagePanelRight - rad ? kMessagePanelRight - rad : x;
            const int cy = y < kMessagePanelTop + rad ? kMessagePanelTop + rad : y > kMessagePanelBottom - rad ? kMessagePanelBottom - rad : y;
            if (std::hypot(double(x - cx), double(y - cy)) > rad) return false;
        }
    return true;
}

TEST_P(MiniGameLayout, EverythingLiesOnItsPanelApartAndNumbersCentredOnTheirCells)
{
    const Case& c = GetParam();
    c.bringUp(c.players);
    OverlayUpdate();
    const Drawing d = RecordDrawing(DrawLowerScreen);
    ASSERT_EQ(d.result, 1) << "a picture or a font of the screen is missing";
    ASSERT_FALSE(d.lines.empty());
    ASSERT_FALSE(d.pictures.empty());
    const DrawnRect screen = {0, 0, 320, 240};
    // The bingo card stands on its screen's background: the card is the backdrop of its cells.
    const size_t first = c.card ? 2 : 1;
    ASSERT_GE(d.pictures.size(), first);
    const DrawnRect backdrop = d.pictures[first - 1];
    // The pictures on the backdrop; beside the bingo card stands the A prompt's well, no cell of it.
    std::vector<DrawnRect> pieces;
    for (auto p = d.pictures.begin() + long(first); p != d.pictures.end(); ++p)
        if (!c.card || Overlap(*p, backdrop)) pieces.push_back(*p);

    int onPieces = 0;
    std::vector<DrawnRect> textOnPieces;
    for (size_t i = 0; i < d.lines.size(); ++i) {
        const DrawnRect& a = d.lines[i];
        EXPECT_TRUE(Within(a, screen, 2)) << "text " << Describe(a) << " leaves the screen";
        if (!c.card) {
            EXPECT_TRUE(OnMessagePanel(a)) << "text " << Describe(a) << " leaves the panel";
        }
        for (size_t j = i + 1; j < d.lines.size(); ++j)
            EXPECT_FALSE(Overlap(a, d.lines[j], 2)) << "texts " << Describe(a) << " and " << Describe(d.lines[j]) << " overlap";
        for (const DrawnRect& p : pieces) {
            if (!Overlap(a, p)) continue;
            ++onPieces;
            textOnPieces.push_back(p);
            EXPECT_TRUE(Within(a, p)) << "text " << Describe(a) << " runs off the picture " << Describe(p);
            EXPECT_LE(std::abs(2 * a.x + a.w - 2 * p.x - p.w), 4) << "text " << Describe(a) << " off the centre of " << Describe(p);
            EXPECT_LE(std::abs(2 * a.y + a.h - 2 * p.y - p.h), 4) << "text " << Describe(a) << " off the centre of " << Describe(p);
        }
    }
    for (size_t i = 0; i < pieces.size(); ++i) {
        const DrawnRect& p = pieces[i];
        if (c.card) {
            EXPECT_TRUE(Within(p, backdrop)) << "cell " << Describe(p) << " spills past the card " << Describe(backdrop);
        } else {
            EXPECT_TRUE(OnMessagePanel(p)) << "picture " << Describe(p) << " leaves the panel";
        }
        for (size_t j = i + 1; j < pieces.size(); ++j)
            EXPECT_FALSE(Overlap(p, pieces[j])) << "pictures " << Describe(p) << " and " << Describe(pieces[j]) << " overlap";
    }
    if (!c.card) return;
    EXPECT_TRUE(Within(backdrop, screen)) << "the card " << Describe(backdrop) << " leaves the screen";
    std::set<int> columns, rows;
    for (const DrawnRect& p : pieces) columns.insert(p.x), rows.insert(p.y);
    EXPECT_EQ(pieces.size(), size_t(kBingoSize * kBingoSize)) << "a cell picture for every number";
    ASSERT_EQ(columns.size(), size_t(kBingoSize)) << "the cells stand in straight columns";
    ASSERT_EQ(rows.size(), size_t(kBingoSize)) << "and straight rows";
    EXPECT_EQ(onPieces, kBingoSize * kBingoSize - 1) << "every number on its cell";
    const int centreX = *std::next(columns.begin(), kBingoSize / 2), centreY = *std::next(rows.begin(), kBingoSize / 2);
    for (const DrawnRect& p : textOnPieces)
        EXPECT_FALSE(p.x == centreX && p.y == centreY) << "the free centre " << Describe(p) << " shows a text";
}

INSTANTIATE_TEST_SUITE_P(EveryResult, MiniGameLayout, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.name; });

}  // namespace
