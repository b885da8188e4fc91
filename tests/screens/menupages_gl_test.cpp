// The menus' pages as a player reads them, drawn from the game's own description and data: every
// text of an upper screen stands off the lane picture and clear of the others, every list's counter
// reads n/n at its end, the shop's item names fit their buttons and its bowler shows, and the
// career's standings put the player's own match and row on the screen wherever the player stands.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host/clock.h"
#include "host/gpu.h"
#include "host/host.h"
#include "lib/screenapi.h"
#include "lib/textoutput.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "platform/renderengine.h"
#include "platform/shaders.h"
#include "platform/sound.h"
#include "platform/streams.h"
#include "db/database.h"
#include "screens/bowlerpreview.h"
#include "screens/career.h"
#include "screens/credits.h"
#include "screens/frontend.h"
#include "screens/frontenddb.h"
#include "shell/settings.h"
#include "support/device_heap.h"
#include "support/game_data.h"
#include "support/menu_screens.h"
#include "ui/environment.h"
#include "ui/widgets/button.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/dialogbox.h"
#include "ui/widgets/scrollbox.h"
#include "ui/widgets/standings.h"
#include "ui/widgettypes.h"

namespace {

// A quad as recorded for the GPU, in canvas pixels, with the part of its bitmap it shows. A glyph
// shows a small part of its font's sheet; bitmaps and flat boxes show the whole of theirs.
struct Quad {
    float x0, y0, x1, y1, u0, v0, u1, v1;
    bool Glyph() const { return u1 > u0 && !(u0 == 0.0f && v0 == 0.0f && u1 == 1.0f && v1 == 1.0f); }
    bool Within(float l, float t, float r, float b) const { return x0 >= l && y0 >= t && x1 <= r && y1 <= b; }
};

enum { kUpper = 0, kLower = 2 };

class GlMenuPages : public MenuScreensTest {
protected:
    void SetUp() override
    {
        MenuScreensTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_EQ(MainMenuScreenInit(), 1);
        ASSERT_EQ(MainMenuScreenOpenHandler(), 1);
        Frames(3);
        // The career's questions count as agreed.
        for (const char* name : {"s20dialog1", "s20dialog3", "s22dialog1", "s22dialog3"})
            static_cast<sBasicUiWidgetTypeDialogBox*>(W(name)->widgetTypeRef.ptr)->isShowDialog.value = 1;
        r = CareerSlot(nullptr);
    }
    void TearDown() override
    {
        GpuExecuteAll();
        // The shop's bowler keeps the character archive open in this test's heap.
        DisposePlayerModel();
        MenuScreensTest::TearDown();
    }
    static sBasicUiWidget* W(const char* name) { return MenuWidget(name); }
    static sBasicDbTable* Save(const char* table) { return FrontEndTable(nullptr, "save", table); }
    static void Frames(int n) { MenuFrames(n); }
    static void Run(const char* sequence)
    {
        BasicUiWidgetTypeCmdSequence_Run(W(sequence));
        Frames(3);
    }
    // The quads a widget's render adds to the upper screen's (left eye's) pass or the lower's.
    static std::vector<Quad> Drawn(sBasicUiWidget* w, int pass)
    {
        std::vector<Quad> quads;
        RenderSetOffset2D(pass == kUpper ? 0 : 400, 60);
        if (!RenderStartScreen() || !(pass == kUpper ? RenderStartDisplay0L() : RenderStartDisplay1())) return quads;
        const uint32_t first = numOverlayPolys;
        BasicUiWidgetType_Render(w);
        for (uint32_t n = first; n < numOverlayPolys; ++n) {
            const ScreenPolyVertex* v = overlayBuffer->vertices + 4 * n;  // top left ... bottom right
            quads.push_back({v[0].x, v[0].y, v[3].x, v[3].y, v[0].u, v[0].v, v[3].u, v[3].v});
        }
        if (pass == kUpper) RenderEndDisplay0L();
        else RenderEndDisplay1();
        RenderDoneScreen();
        RenderSetOffset2D(0, 0);
        return quads;
    }
    static std::vector<Quad> Glyphs(sBasicUiWidget* w, int pass)
    {
        std::vector<Quad> glyphs;
        for (const Quad& q : Drawn(w, pass))
            if (q.Glyph()) glyphs.push_back(q);
        return glyphs;
    }
    // The last drawn picture of the upper screen's left eye.
    static std::vector<uint8_t> Upper()
    {
        std::vector<uint8_t> rgb;
        int width = 0, height = 0;
        EXPECT_EQ(GpuReadDisplaybuffer(m_DisplayBuffers0.displayBufferIdArray[m_DisplayBuffers0.m_CurrentBufferIndex ^ 1u],
                                       &rgb, &width, &height),
                  1);
        EXPECT_EQ(width, 400);
        return rgb;
    }
    // The glyphs that the player's name adds to a widget's drawing: drawn with the name and with
    // the name blanked, those of the first drawing that the second lacks.
    std::vector<Quad> PlayersGlyphs(sBasicUiWidget* w)
    {
        sBasicDbTable* players = Save("players");
        const std::string name = BasicDbTable_GetStrElement(players, r, 1);
        const std::vector<Quad> with = Glyphs(w, kUpper);
        BasicDbTable_GetElementFromStr(players, r, 1, "", 255);
        const std::vector<Quad> without = Glyphs(w, kUpper);
        BasicDbTable_GetElementFromStr(players, r, 1, name.c_str(), 255);
        std::vector<Quad> own;
        for (const Quad& q : with) {
            bool found = false;
            for (const Quad& o : without) found = found || (o.x0 == q.x0 && o.y0 == q.y0 && o.u0 == q.u0 && o.v0 == q.v0);
            if (!found) own.push_back(q);
        }
        return own;
    }
    int r = 0;
};

// The lane's wood as the menus' backdrop draws it (a lit brown), not the navy around it nor the
// dark bands and panels over it.
bool LaneWood(const uint8_t* p)
{
    return p[0] >= 110 && p[0] - p[1] >= 30 && p[1] - p[2] >= 30;
}

}  // namespace

// Options, the career hub, the three event lists, the trophy case and the shop: no text of the
// upper screen has the lane's wood under it or beside its letters, and no two widgets' texts
// overlap.
TEST_F(GlMenuPages, UpperScreenTextsStandOnPanelsClearOfTheLaneAndOfEachOther)
{
    struct Page {
        const char *from, *sequence, *screen;
    } pages[] = {{"go.main", "go.options", "s38Upper"},    {"go.main", "go.career", "s12Upper"},
                 {"go.career", "go.leagues", "s20Upper"},  {"go.career", "go.tourns", "s22Upper"},
                 {"go.career", "go.rivals", "s26Upper"},   {"go.career", "go.trophies", "s28Upper"},
                 {"go.career", "cr.shop", "s18Upper"}};
    for (const Page& page : pages) {
        Run(page.from);
        Run(page.sequence);
        // The texts' places; then what lies under them: the page drawn with its panels alone.
        std::vector<std::vector<Quad>> texts;
        std::vector<sBasicUiWidget*> hidden;
        for (sBasicUiWidget* w = BasicUi_FindScreen(BasicUi_GetEnvironment(), page.screen)->nextWidget; w; w = w->nextWidget) {
            if (!w->isRender.value) continue;
            texts.push_back(Glyphs(w, kUpper));
            if (w->widgetTypeRef.type != EBasicUiWidgetTypeRectangle) hidden.push_back(w);
        }
        for (sBasicUiWidget* w : hidden) w->isRender.value = 0;
        Frames(2);
        const std::vector<uint8_t> upper = Upper();
        for (sBasicUiWidget* w : hidden) w->isRender.value = 1;
        int letters = 0;
        for (size_t a = 0; a < texts.size(); ++a) {
            for (const Quad& g : texts[a]) {
                ++letters;
                ASSERT_TRUE(g.Within(0, 60, 400, 300)) << page.screen;
                int wood = 0;
                for (int y = int(g.y0) - 60; y < int(g.y1) - 60; ++y)
                    for (int x = int(g.x0); x < int(g.x1); ++x) wood += LaneWood(&upper[(size_t(y) * 400 + x) * 3]);
                EXPECT_EQ(wood, 0) << page.screen << ": a text on the lane at " << g.x0 << ", " << g.y0;
            }
            for (size_t b = a + 1; b < texts.size(); ++b)
                for (const Quad& p : texts[a])
                    for (const Quad& q : texts[b])
                        // Neighbouring letters' outlines may touch: a pixel of overlap is allowed.
                        EXPECT_FALSE(p.x0 + 1 < q.x1 && q.x0 + 1 < p.x1 && p.y0 + 1 < q.y1 && q.y0 + 1 < p.y1)
                            << page.screen << ": texts overlap at " << p.x0 << ", " << p.y0;
        }
        EXPECT_GT(letters, 20) << page.screen;
    }
}

// Every scroll box of the menus, walked from its first button to its last as the pad walks a list:
// its counter reads 1/n at the start and n/n at the end, n being what the walk could reach (the
// windows it paged through for a page counter, the buttons for an item counter).
TEST_F(GlMenuPages, EveryScrollBoxsCounterReachesNOfNAtTheEndOfItsList)
{
    std::vector<sBasicUiWidget*> boxes;
    auto collect = [&boxes](sBasicUiWidget* w, auto& self) -> void {
        for (; w; w = w->nextWidget) {
            if (w->widgetTypeRef.type == EBasicUiWidgetTypeScrollBox) boxes.push_back(w);
            self(w->childWidget, self);
        }
    };
    for (sBasicUiDisplay* d = BasicUi_GetEnvironment()->displayRoot; d; d = d->nextDisplay)
        for (sBasicUiScreen* s = d->nextScreen; s; s = s->nextScreen) collect(s->nextWidget, collect);
    EXPECT_GT(boxes.size(), 10u);
    for (sBasicUiWidget* box : boxes) {
        auto* b = static_cast<sBasicUiWidgetTypeScrollBox*>(box->widgetTypeRef.ptr);
        std::vector<sBasicUiWidget*> buttons;
        for (sBasicUiWidget* c = box->childWidget; c; c = c->nextWidget)
            if (BasicUiWidgetTypeButton_Get(c)) buttons.push_back(c);
        ASSERT_FALSE(buttons.empty()) << box->name;
        std::set<int> windows;
        std::string reads[2];  // at the first button and at the last
        int first[2] = {-1, -1}, last[2] = {-1, -1};
        for (size_t i = 0; i < buttons.size(); ++i) {
            BasicUiWidgetTypeScrollBox_ScrollTo(box, buttons[i]);
            windows.insert(b->slot.value);
            char text[32] = "";
            ASSERT_EQ(BasicUiWidgetTypeScrollBox_CounterText(box, text, int(sizeof text)), 1);
            ASSERT_EQ(std::sscanf(text, "%d/%d", &last[0], &last[1]), 2) << box->name << " reads " << text;
            if (i == 0) first[0] = last[0], first[1] = last[1], reads[0] = text;
            reads[1] = text;
        }
        const int n = b->hasPageCounter.value ? int(windows.size()) : int(buttons.size());
        EXPECT_TRUE(first[0] == 1 && first[1] == n) << box->name << " reads " << reads[0] << " at its start, of " << n;
        EXPECT_TRUE(last[0] == n && last[1] == n) << box->name << " reads " << reads[1] << " at its end, of " << n;
    }
}

// Every item of every category, in either gender's lists, fits its button with the padlock or
// tick beside it; and the bowler being dressed stands in the middle of the upper screen.
TEST_F(GlMenuPages, TheShopsItemNamesFitTheirButtonsAndItsBowlerShows)
{
    Run("go.career");
    Run("cr.shop");
    int items = 0;
    for (sBasicUiWidget* w = BasicUi_FindScreen(BasicUi_GetEnvironment(), "s18CareerShop")->nextWidget; w; w = w->nextWidget) {
        if (w->widgetTypeRef.type != EBasicUiWidgetTypeScrollBox) continue;
        for (sBasicUiWidget* c = w->childWidget; c; c = c->nextWidget) {
            auto* b = BasicUiWidgetTypeButton_Get(c);
            if (!b) continue;
            ++items;
            for (const Quad& g : Glyphs(c, kLower))
                EXPECT_TRUE(g.Within(float(b->x.value), float(b->y.value), float(b->x.value + b->w.value),
                                     float(b->y.value + b->h.value)))
                    << c->name << " at " << g.x0;
        }
    }
    EXPECT_GT(items, 90);

    // The preview is a scene drawn after the backdrop: with the bowler hidden the middle of the
    // screen changes.
    GpuExecuteOnlyFor(nullptr, 0);
    Frames(60);
    GpuExecuteAll();
    Frames(2);
    const std::vector<uint8_t> dressed = Upper();
    W("pv.place")->isRender.value = 0;
    Frames(2);
    const std::vector<uint8_t> bare = Upper();
    int changed = 0;
    for (int y = 70; y < 190; ++y)
        for (int x = 170; x < 230; ++x)
            for (int k = 0; k < 3; ++k) changed += dressed[(size_t(y) * 400 + x) * 3 + k] != bare[(size_t(y) * 400 + x) * 3 + k];
    EXPECT_GT(changed, 1000) << "the bowler is not drawn";
}

// A ladder of sixteen places without qualifying, climbed rung by rung: the hub opens the ladder on
// the player's own match, drawn on the screen; and Prev and Next walk every rung up to the top
// without drawing any row below the screen.
TEST_F(GlMenuPages, TheLadderShowsThePlayersMatchOnEveryRungAndPagesWithinTheScreen)
{
    const int e = 17;
    sBasicDbTable* tournament = Save("tournament");
    BasicDbTable_SetElementCN(Save("players"), 28, r, e, 'U');
    BasicDbTable_SetElementI(Save("players"), 8, r, 1000000);
    ASSERT_EQ(EnterTournament(nullptr, e), 1);
    const int places = BasicDbTable_GetElementI(tournament, 16, r, 0);
    const int player = BasicDbTable_GetElementI(FrontEndTable(nullptr, "game", "Tournaments"), 5, e, 0) - 1;
    ASSERT_EQ(places, 16);
    sBasicUiWidget* ladder = W("s24LadderTable");
    auto* d = static_cast<sBasicUiWidgetTypeLadderTable*>(ladder->widgetTypeRef.ptr);
    Run("go.career");
    for (int p = places - 2; p >= 0; --p) {
        // The player has won every rung below p and now challenges rung p's defender.
        BasicDbTable_SetElementIN(tournament, 17, r, 2 * p + 1, player);
        if (p < places - 2) {
            BasicDbTable_SetElementIN(tournament, 17, r, 2 * (p + 1 + places), 180);
            BasicDbTable_SetElementIN(tournament, 17, r, 2 * (p + 1 + places) + 1, 200);
        }
        BasicDbTable_SetElementI(tournament, 14, r, p);
        ASSERT_EQ(OpenTournamentStandings(nullptr, 0), 1);
        Frames(1);
        const std::vector<Quad> own = PlayersGlyphs(ladder);
        EXPECT_FALSE(own.empty()) << "rung " << p;
        for (const Quad& g : own) EXPECT_TRUE(g.Within(0, 60, 400, 300)) << "rung " << p << " at " << g.y0;
    }
    Run("go.career");
    BasicDbTable_SetElementI(tournament, 14, r, places - 2);
    ASSERT_EQ(OpenTournamentStandings(nullptr, 0), 1);
    Run("s24.prev");
    for (int round = 0; round < places; ++round) {
        for (const Quad& g : Glyphs(ladder, kUpper)) ASSERT_TRUE(g.Within(0, 60, 400, 300)) << "round " << d->round.value;
        Run("s24.next");
    }
    EXPECT_EQ(d->round.value, places - 2) << "Next reaches the top rung";
}

// A league of sixteen in its fourth week, the player placed 11th to 16th: the hub's League Table
// opens on the week in play with the player's row on the screen; and a played week marks each
// match's winner on its own row, with nothing between the rows.
TEST_F(GlMenuPages, TheLeagueTableShowsTheWeekInPlayAndThePlayersRowAndMarksWinnersOnTheirRows)
{
    const int e = 18, weeks = 3;
    sBasicDbTable* league = Save("league");
    BasicDbTable_SetElementCN(Save("players"), 27, r, e, 'U');
    BasicDbTable_SetElementI(Save("players"), 8, r, 1000000);
    ASSERT_EQ(EnterLeague(nullptr, e), 1);
    const int teams = BasicDbTable_GetElementI(FrontEndTable(nullptr, "game", "Leagues"), 5, e, 0);
    ASSERT_EQ(teams, 16);
    for (int w = 0; w < weeks; ++w)
        BasicDbTable_SetElementI(league, 14, r, SimulateLeagueWeek(league, r, FrontEndTable(nullptr, "game", "Leagues"), e, w, 150, 200));
    BasicDbTable_SetElementI(league, 15, r, weeks);
    sBasicUiWidget* table = W("s21leagueTable");
    auto* l = static_cast<sBasicUiWidgetTypeLeagueTable*>(table->widgetTypeRef.ptr);
    for (int place = 10; place < teams; ++place) {
        // The player's team moved to the place by swapping it with the team there.
        std::vector<int> order(teams);
        for (int i = 0; i < teams; ++i) order[i] = BasicDbTable_GetElementIN(league, 13, r, i, -1);
        for (int i = 0; i < teams; ++i)
            if (order[i] == teams - 1) std::swap(order[i], order[place]);
        for (int i = 0; i < teams; ++i) BasicDbTable_SetElementIN(league, 13, r, i, order[i]);
        BasicDbTable_SetElementI(league, 14, r, place);
        BasicUiWidgetTypeLeagueTable_SetWeek(table, 0);
        BasicUiWidgetTypeLeagueTable_SetTop(table, 0);
        Run("go.career");
        ASSERT_EQ(OpenLeagueTable(nullptr, 0), 1);
        Frames(1);
        EXPECT_EQ(l->week.value, weeks) << "place " << place + 1;
        const std::vector<Quad> own = PlayersGlyphs(table);
        EXPECT_FALSE(own.empty()) << "place " << place + 1;
        for (const Quad& g : own) EXPECT_TRUE(g.Within(0, 60, 400, 300)) << "place " << place + 1;
    }

    // A played week: each of its markers beside the text of one row only.
    BasicUiWidgetTypeLeagueTable_SetWeek(table, weeks - 1);
    Frames(1);
    std::vector<Quad> markers, glyphs;
    for (const Quad& q : Drawn(table, kUpper)) (q.Glyph() ? glyphs : markers).push_back(q);
    EXPECT_GT(markers.size(), 0u);
    for (const Quad& m : markers) {
        std::vector<float> rows;
        for (const Quad& g : glyphs) {
            if (g.y1 <= m.y0 || g.y0 >= m.y1) continue;
            bool known = false;
            for (float y : rows) known = known || std::abs(y - g.y0) < 6;
            if (!known) rows.push_back(g.y0);
        }
        EXPECT_EQ(rows.size(), 1u) << "a marker at " << m.y0 << " between rows";
    }
}
