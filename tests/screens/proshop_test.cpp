// The pro shop on a small shop screen over the game's own databases: trying items on and leaving,
// buying at and beyond the funds, locked and newly unlocked items, wearing and taking off, ball
// slots; the unlock groups of an event; the trophy counts and the achievement watch.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "host/errorlog.h"
#include "host/host.h"
#include "overlays/autosave.h"
#include "overlays/nohomeicon.h"
#include "overlays/overlaystack.h"
#include "screens/frontend_fixture.h"
#include "screens/proshop.h"
#include "screens/saveflow.h"
#include "screens/scriptfunctions.h"
#include "screens/trophies.h"
#include "screens/unlocks.h"
#include "shell/savedata.h"
#include "ui/frameupdate.h"
#include "ui/registry.h"
#include "ui/widgets/button.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/msgbox.h"
#include "ui/widgets/triggers.h"

namespace {

enum { kPantsState = 19, kShirtState = 20, kHatState = 22, kBallState = 25 };
enum { kPants = 11, kShirt = 12, kHat = 14, kBalls = 17, kFunds = 8 };

// A scroll box of `n` item buttons named prefix + "b01".. as in the game's layout, button k + 1
// showing item k.
std::string ItemBox(const std::string& box, const std::string& trigger, int n)
{
    std::string items;
    for (int k = 0; k < n; ++k) {
        const std::string name = box + (k < 9 ? "b0" : "b") + std::to_string(k + 1);
        items += "<BasicUiWidget name=\"" + name + "\" typeWidget=\"wtButton\" lockedElement=\"" + std::to_string(k) +
                 "\"/>";
    }
    return "<BasicUiWidget name=\"" + box + "\" typeWidget=\"wtScrollBox\" slots=\"5\">" + items +
           "</BasicUiWidget><BasicUiWidget name=\"" + trigger + "\" typeWidget=\"tMove\" button=\"" + box + "b01\"/>";
}

class ProShop : public FrontEndTest {
protected:
    // The dialogs are shown without a loop of their own and answer "yes" at once; a test that
    // wants "no" leaves one out (a missing dialog is no answer).
    void Load(bool dialogs = true)
    {
        std::string body;
        for (int k = 1; k <= 7; ++k)
            body += "<BasicUiWidget name=\"s18b" + std::to_string(k) + "\" typeWidget=\"wtButton\"/>";
        body += "<BasicUiWidget name=\"s18tMoveV\" typeWidget=\"tMove\" button=\"s18b1\"/>";
        body += ItemBox("s18sbShirtsM", "s18tMoveH1M", 10) + ItemBox("s18sbHatsM", "s18tMoveH4M", 6) +
                ItemBox("s18sbBalls", "s18tMoveH6", 8);
        body += "<BasicUiWidget name=\"game.Shirts\" typeWidget=\"dbRef\" db.Nm=\"game\" db.tblNm=\"Shirts\"/>"
                "<BasicUiWidget name=\"s18box2\" typeWidget=\"wtMsgBox\"/>";
        if (dialogs)
            for (int k = 1; k <= 5; ++k)
                body += "<BasicUiWidget name=\"s18dialog" + std::to_string(k) +
                        "\" typeWidget=\"wtDialogBox\" isShowDialog=\"1\"/>";
        ASSERT_EQ(LoadText("<BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\">" + body +
                           "</BasicUiScreen></BasicUiDisplay>"),
                  1);
        r = GetCareerID();
        ASSERT_GE(r, 0);
        // A male, right-handed career bowler in shirt 0, no hat, balls 1 2 3.
        Set(7, 0);
        BasicDbTable_SetElementIN(Save("players"), 6, r, 4, 0);
        Set(kShirt, 0);
        Set(kHat, -1);
        for (int b = 0; b < 3; ++b) BasicDbTable_SetElementIN(Save("players"), kBalls, r, b, b + 1);
    }
    void Category(int k)
    {
        BasicUiWidgetTypeTriggerMove_SetSelected(Widget("s18tMoveV"), Widget(("s18b" + std::to_string(k)).c_str()));
    }
    int Get(int column) { return BasicDbTable_GetElementI(Save("players"), column, r); }
    void Set(int column, int v) { BasicDbTable_SetElementI(Save("players"), column, r, v); }
    char State(int column, int item) { return GetCareerPlayerItemState(column, item); }
    int Price(const char* table, int item) { return BasicDbTable_GetElementI(Game(table), 6, item); }
    int r = -1;
};

// The shop over the live save database, with a save folder of the test's own.
class ProShopSaved : public ProShop {
protected:
    HostOptions options;
    void SetUp() override
    {
        ProShop::SetUp();
        options = gHostOptions;
        gHostOptions.dataDir = scratch + "/save";
        gHostOptions.headless = 1;
        ASSERT_EQ(SaveDataInit(), 1);
        OverlayResetStack();
        gAutoSaveSlot = 0;
        Restart();
        BasicDb_DbRegister(game);
    }
    void TearDown() override
    {
        OverlayResetStack();
        SaveDataEnd();
        ResetNoHomeIcon();
        ForgetSaveDatabase();
        gHostOptions = options;
        ProShop::TearDown();
    }
    // The save database as a new start of the program finds it (the default one from content/).
    void Restart()
    {
        ForgetSaveDatabase();
        gHostOptions.romDir = std::string(ZENDROLYX_SOURCE_DIR) + "/content";
        ASSERT_EQ(LoadSaveDatabase(), 1);
        ASSERT_EQ(PumpSaveOverlays(), 1);
        save = dbSave;
    }
};

}  // namespace

TEST_F(ProShop, BuyingAtExactlyTheFundsLeavesNothingAndTooLittleMoneyChangesNothing)
{
    Load();
    ProShopEnter(nullptr, 0);
    Category(1);
    SetCareerPlayerItemState(kShirtState, 2, 'U');
    SetCareerPlayerItemState(kShirtState, 3, 'U');
    ASSERT_GT(Price("Shirts", 2), 0);
    Set(kFunds, Price("Shirts", 2));

    EXPECT_EQ(HandleProShopItemSelect(nullptr, 3), 1) << "row 3 of the window is item 2";
    EXPECT_EQ(State(kShirtState, 2), 'O');
    EXPECT_EQ(Get(kFunds), 0);

    EXPECT_EQ(HandleProShopItemSelect(nullptr, 4), 0) << "item 3 costs more than is left";
    EXPECT_EQ(State(kShirtState, 3), 'U');
    EXPECT_EQ(Get(kFunds), 0);

    Set(kFunds, 100000);
    EXPECT_EQ(HandleProShopItemSelect(nullptr, 5), 0) << "item 4 is locked";
    EXPECT_EQ(State(kShirtState, 4), 'L');
    EXPECT_EQ(Get(kFunds), 100000);
}

TEST_F(ProShop, NoAnswerBuysNothingAndNoCategoryDoesNothing)
{
    Load(false);
    ProShopEnter(nullptr, 0);
    SetCareerPlayerItemState(kShirtState, 2, 'U');
    Set(kFunds, 5000);
    EXPECT_EQ(HandleProShopItemSelect(nullptr, 3), 0) << "no category selected";
    Category(1);
    EXPECT_EQ(HandleProShopItemSelect(nullptr, 3), 1);
    EXPECT_EQ(State(kShirtState, 2), 'U');
    EXPECT_EQ(Get(kFunds), 5000);
}

TEST_F(ProShop, TouchingShowsTheItemTriesItOnAndNewItemsBecomeSeen)
{
    Load();
    // A save from before the bowlers owned their own and the free balls: the shop makes them so.
    BasicDbTable_SetElementIN(Save("players"), kBalls, r, 0, 4);
    for (int ball : {0, 4, 8}) SetCareerPlayerItemState(kBallState, ball, 'U');
    ASSERT_EQ(Price("BallsR", 9), 0);
    SetCareerPlayerItemState(kBallState, 9, 'L');
    ProShopEnter(nullptr, 0);
    EXPECT_EQ(State(kBallState, 0), 'O') << "a free ball";
    EXPECT_EQ(State(kBallState, 9), 'O') << "a free ball the save still had locked";
    EXPECT_EQ(State(kBallState, 4), 'O') << "a ball the bowler carries";
    EXPECT_EQ(State(kBallState, 8), 'U') << "a ball for sale";
    Category(1);
    SetCareerPlayerItemState(kShirtState, 5, 'L');
    EXPECT_EQ(HandleProShopItemEnter(nullptr, 5), 0) << "a locked item is shown only";
    auto* box = static_cast<sBasicUiWidgetTypeMsgBox*>(Widget("s18box2")->widgetTypeRef.ptr);
    EXPECT_EQ(box->titleDbRef, Widget("game.Shirts"));
    EXPECT_EQ(box->titleDb.row.value, 4);
    EXPECT_EQ(box->currency, Widget("game.Shirts")) << "with its price";
    EXPECT_EQ(Get(kShirt), 0) << "not tried on";
    SetCareerPlayerItemState(kShirtState, 4, 'O');
    HandleProShopItemEnter(nullptr, 5);
    EXPECT_EQ(box->currency, nullptr) << "the bowler's own shirt shows no price";

    SetCareerPlayerItemState(kShirtState, 6, 'N');
    BasicUiWidgetTypeTriggerMove_SetSelected(Widget("s18tMoveH1M"), Widget("s18sbShirtsMb07"));
    EXPECT_EQ(HandleProShopItemEnter(nullptr, 0), 1) << "the pad's selection";
    EXPECT_EQ(State(kShirtState, 6), 'U');
    EXPECT_EQ(Get(kShirt), 6) << "tried on";
    EXPECT_EQ(box->titleDb.row.value, 6);
}

TEST_F(ProShop, LeavingTakesOffWhatWasTriedButKeepsWhatWasBoughtAndWorn)
{
    Load();
    Set(kFunds, 100000);
    SetCareerPlayerItemState(kShirtState, 2, 'U');
    ProShopEnter(nullptr, 0);
    Category(1);
    HandleProShopItemEnter(nullptr, 3);
    ASSERT_EQ(Get(kShirt), 2);
    ProShopLeave(nullptr, 0);
    EXPECT_EQ(Get(kShirt), 0) << "only tried on";

    ProShopEnter(nullptr, 0);
    HandleProShopItemEnter(nullptr, 3);
    HandleProShopItemSelect(nullptr, 3);  // bought
    HandleProShopItemSelect(nullptr, 3);  // and worn
    HandleProShopItemEnter(nullptr, 2);   // another tried on
    EXPECT_EQ(Get(kShirt), 1);
    ProShopLeave(nullptr, 0);
    EXPECT_EQ(Get(kShirt), 2);

    Set(kShirt, 7);
    ProShopLeave(nullptr, 0);
    EXPECT_EQ(Get(kShirt), 7) << "leaving a shop that is not open changes nothing";
}

TEST_F(ProShop, AHatIsWornAndTakenOffAndABallGoesInTheChosenSlot)
{
    Load();
    SetCareerPlayerItemState(kHatState, 1, 'O');
    ProShopEnter(nullptr, 0);
    Category(4);
    EXPECT_EQ(HandleProShopItemEnter(nullptr, 2), 1);
    EXPECT_EQ(Get(kHat), -1) << "with no hat worn, none is tried on";
    EXPECT_EQ(HandleProShopItemSelect(nullptr, 2), 1);
    EXPECT_EQ(Get(kHat), 1) << "worn";
    EXPECT_EQ(HandleProShopItemSelect(nullptr, 2), 1);
    EXPECT_EQ(Get(kHat), -1) << "taken off";
    ProShopLeave(nullptr, 0);
    EXPECT_EQ(Get(kHat), -1);

    SetCareerPlayerItemState(kBallState, 6, 'O');
    ProShopEnter(nullptr, 0);
    Category(6);
    EXPECT_EQ(HandleProShopItemSelect(nullptr, 7), 1);
    EXPECT_EQ(BasicDbTable_GetElementIN(Save("players"), kBalls, r, 2, -1), 6) << "the dialog's third answer";
    EXPECT_EQ(BasicDbTable_GetElementIN(Save("players"), kBalls, r, 0, -1), 1);
    ProShopLeave(nullptr, 0);
    EXPECT_EQ(BasicDbTable_GetElementIN(Save("players"), kBalls, r, 2, -1), 6) << "the ball slot stays";
}

TEST_F(ProShopSaved, APurchaseIsSavedAtOnceWithTheOutfitWornNotTheOneTriedOn)
{
    Load();
    Set(kFunds, 5000);
    SetCareerPlayerItemState(kShirtState, 2, 'U');
    ASSERT_EQ(SaveBeforeClosing(), 1);
    ProShopEnter(nullptr, 0);
    Category(1);
    HandleProShopItemEnter(nullptr, 3);
    ASSERT_EQ(HandleProShopItemSelect(nullptr, 3), 1) << "item 2 tried on and bought";
    EXPECT_EQ(Get(kShirt), 2) << "still tried on in the shop";

    BasicDb_Init();  // the program ends without leaving the shop or closing cleanly
    Restart();
    BasicDb_DbRegister(game);
    EXPECT_EQ(State(kShirtState, 2), 'O');
    EXPECT_EQ(Get(kFunds), 5000 - Price("Shirts", 2));
    EXPECT_EQ(Get(kShirt), 0) << "what was worn, not what was tried on";
}

TEST_F(ProShop, AnEventsUnlockGroupsUnlockOnlyLockedItemsAndOnlyForAGoodEnoughPlace)
{
    Load();
    sBasicDbTable* rivals = Game("Rivals");
    sBasicDbTable* leagues = Game("Leagues");
    BasicDbTable_GetElementFromStr(rivals, 0, 16, "hatState", 8);
    BasicDbTable_GetElementFromStr(rivals, 0, 17, "3 4 -1 -1 -1 -1 -1 -1", 64);
    BasicDbTable_GetElementFromStr(rivals, 0, 18, "noSuchColumn", 12);
    BasicDbTable_GetElementFromStr(rivals, 0, 19, "0 -1 -1 -1 -1 -1 -1 -1", 64);
    for (int c = 20; c <= 30; c += 2) BasicDbTable_GetElementFromStr(rivals, 0, c, "", 0);
    SetCareerPlayerItemState(kHatState, 3, 'L');
    SetCareerPlayerItemState(kHatState, 4, 'O');
    EXPECT_EQ(HandleUnlockables("Rivals", 16, 30, 0, "players", r), 1);
    EXPECT_EQ(State(kHatState, 3), 'U');
    EXPECT_EQ(State(kHatState, 4), 'O') << "an owned item stays owned";
    EXPECT_EQ(HandleUnlockables("Rivals", 16, 30, 99, "players", r), 0) << "no such rival";

    BasicDbTable_GetElementFromStr(leagues, 0, 19, "pantsState", 10);
    BasicDbTable_GetElementFromStr(leagues, 0, 20, "5 -1 -1 -1 -1 -1 -1 -1", 64);
    BasicDbTable_SetElementI(leagues, 21, 0, 2);
    for (int c = 22; c <= 43; c += 3) BasicDbTable_GetElementFromStr(leagues, 0, c, "", 0);
    SetCareerPlayerItemState(kPantsState, 5, 'L');
    HandlePlacedUnlockables("Leagues", 19, 43, 0, "players", r, 3);
    EXPECT_EQ(State(kPantsState, 5), 'L') << "third is not good enough";
    HandlePlacedUnlockables("Leagues", 19, 43, 0, "players", r, 2);
    EXPECT_EQ(State(kPantsState, 5), 'U');
}

TEST_F(ProShop, TrophiesCountWhatIsUnlockedAndWonAndTheWatchTellsWhatGrew)
{
    Load();
    sBasicDbTable* players = Save("players");
    BasicDbTable_GetElementFromStr(players, r, kPantsState, "OOULLLLL", 8);
    BasicDbTable_GetElementFromStr(players, r, kShirtState, "OONLULLLLL", 10);  // the fifth shirt is not counted
    BasicDbTable_GetElementFromStr(players, r, 27, "1231LLLLLLLLLLLLLLLL", 20);
    BasicDbTable_GetElementFromStr(players, r, 29, "WULWLLLLLLLLLLLLLLLL", 20);
    ASSERT_EQ(UpdateTrophies(nullptr, 0), 1);
    EXPECT_EQ(FrontEndCell(players, r, 41), "6/17");
    EXPECT_EQ(FrontEndCell(players, r, 38), "2/20");
    EXPECT_EQ(FrontEndCell(players, r, 40), "2/20");
    BasicDbTable_GetElementFromStr(players, r, 21, "OO", 2);  // a string shorter than its column
    UpdateTrophies(nullptr, 0);
    EXPECT_EQ(FrontEndCell(players, r, 42).substr(0, 2), "2/") << "the places past its end are no items";

    MainMenuTrophiesCheck(1);
    EXPECT_EQ(MainMenuTrophiesCheck(0), -1) << "nothing new";
    SetCareerPlayerItemState(28, 5, '2');
    EXPECT_EQ(MainMenuTrophiesCheck(0), kTrophyTournamentPodiums);
    SetCareerPlayerItemState(kHatState, 5, 'U');
    SetCareerPlayerItemState(29, 7, 'W');
    EXPECT_EQ(MainMenuTrophiesCheck(0), kTrophyHats) << "the first kind that grew";
}

namespace {

// The shop as the menus' description builds it.
class ShopScreen : public FrontEndTest {
protected:
    void SetUp() override
    {
        FrontEndTest::SetUp();
        dbSave = nullptr;  // the fixture's own save database, not one an earlier menu left
        HostClearErrorLog();
        ASSERT_EQ(LoadContent("ui/ui360.xml"), 1);
        env->inputMode = BasicUiInputMode_Normal;
        BasicFn_Clear();
        RegisterScriptFunctions();
    }
    void TearDown() override
    {
        BasicFn_Clear();
        FrontEndTest::TearDown();
    }
    void Run(const char* seq)
    {
        BasicUiWidgetTypeCmdSequence_Run(Widget(seq));
        for (int i = 0; i < 3; ++i) BasicUi_UpdateEnvironment(env, 1.0f / 30.0f);
    }
    int Shown(const char* name) { return Widget(name) ? Widget(name)->isRender.value : -1; }
    int Active(const char* name) { return Widget(name) ? Widget(name)->isActive.value : -1; }
};

}  // namespace

TEST_F(ShopScreen, EveryNameTheShopLooksUpIsThereAndTheListsFollowTheBowlersGender)
{
    EXPECT_EQ(HostErrorLog(), "") << "the description loads without a complaint";
    bool loadsGame = false;
    for (sBasicDbFile* f = env->dbRoot; f; f = f->next)
        for (sBasicDb* db = f->db; db; db = db->next) loadsGame = loadsGame || std::string(db->name) == "game";
    EXPECT_TRUE(loadsGame) << "the item tables come with the description";
    ASSERT_NE(BasicUi_FindScreen(env, "s18CareerShop"), nullptr);
    std::vector<std::string> names = {"s18tMoveV", "s18box2", "s18sbShirtsMb05", "s18sbShirtsFb05", "game.BallsL",
                                      "game.GlovesL", "s18tMoveH3", "s18tMoveH6", "s18tMoveH7", "s18sbBalls"};
    for (int k = 1; k <= 7; ++k) names.push_back("s18b" + std::to_string(k));
    for (int k = 1; k <= 5; ++k) {
        names.push_back("s18pickBox" + std::to_string(k));
        names.push_back("s18dialog" + std::to_string(k));
    }
    for (const std::string& n : names) EXPECT_NE(Widget(n.c_str()), nullptr) << n;

    const int r = GetCareerID();
    BasicDbTable_SetElementI(Save("players"), 7, r, 1);  // a woman
    Run("go.shop");
    EXPECT_EQ(inProShop, 1);
    EXPECT_EQ(Shown("s18sbShirtsF"), 1);
    EXPECT_EQ(Shown("s18sbShirtsM"), 0);
    Run("s18.in2");
    EXPECT_EQ(Active("s18tMoveH2F"), 1) << "the skirts take the pad";
    EXPECT_EQ(Active("s18tMoveH2M"), 0);
    EXPECT_EQ(Active("s18tMoveV"), 0);
    Run("s18.out");
    EXPECT_EQ(Active("s18tMoveV"), 1);
    Run("s18.leave");
    EXPECT_EQ(inProShop, 0);
    EXPECT_EQ(BasicUi_FindScreen(env, "s18CareerShop")->isRender.value, 0);
    EXPECT_EQ(BasicUi_FindScreen(env, "s12Career")->isRender.value, 1) << "back on the career hub it is entered from";
    EXPECT_EQ(BasicUi_FindScreen(env, "s0MainMenu")->isRender.value, 0);
}

// The balls a bowler carries and the free ones (every bowler starts with those) are its own: the
// shop offers neither for sale.
TEST_F(ProShop, EveryItemOfTheShopHasAStateInEveryBowlerAPriceThatIsNotNegativeAndItsOwnText)
{
    const struct {
        int column;
        const char* tables[2];
    } categories[] = {{19, {"Pants", "Skirts"}},       {20, {"Shirts", "Shirts"}},     {21, {"Shoes", "Shoes"}},
                      {22, {"HatsM", "HatsF"}},        {23, {"GlassesM", "GlassesF"}}, {24, {"GlovesL", "GlovesR"}},
                      {25, {"BallsL", "BallsR"}}};
    sBasicDbTable* players = Save("players");
    for (const auto& c : categories) {
        for (const char* name : c.tables) {
            sBasicDbTable* items = Game(name);
            ASSERT_NE(items, nullptr) << name;
            EXPECT_LE(items->rows, BasicDbTable_GetElementCount(players, c.column) - 1) << name;
            std::set<std::string> texts;
            for (int i = 0; i < items->rows; ++i) {
                EXPECT_GE(BasicDbTable_GetElementI(items, 6, i), 0) << name << " " << i;
                EXPECT_TRUE(texts.insert(BasicDbTable_GetStrElement(items, i, 2)).second)
                    << name << " item " << i << " repeats another item's description";
                for (int p = 0; p < players->rows; ++p)
                    EXPECT_NE(std::string("LNUO").find(BasicDbTable_GetElementCN(players, c.column, p, i, '?')),
                              std::string::npos)
                        << name << " item " << i << " of bowler " << p;
            }
        }
    }
    for (int p = 0; p < players->rows; ++p) {
        for (int b = 0; b < 3; ++b) {
            const int ball = BasicDbTable_GetElementIN(players, kBalls, p, b, -1);
            EXPECT_EQ(BasicDbTable_GetElementCN(players, kBallState, p, ball, '?'), 'O') << "bowler " << p << " carries ball " << ball;
        }
        for (int i = 0; i < Game("BallsR")->rows; ++i) {
            if (Price("BallsR", i) > 0) continue;
            EXPECT_EQ(BasicDbTable_GetElementCN(players, kBallState, p, i, '?'), 'O') << "bowler " << p << " free ball " << i;
        }
    }
}

// The special shirt, item 4 of the shirts, stays dark in both lists until an event hands it out
// (the last rival); the shirts beside it are never darkened.
TEST_F(ShopScreen, TheSpecialShirtIsDarkUntilTheLastRivalHandsItOut)
{
    auto level = [&](const char* name) {
        sBasicUiWidgetTypeButton* b = BasicUiWidgetTypeButton_Get(Widget(name));
        return b ? b->mr.value : -1;
    };
    for (const char* box : {"s18sbShirtsM", "s18sbShirtsF"}) {
        const std::string special = std::string(box) + "b05", next = std::string(box) + "b06";
        ASSERT_EQ(BasicUiWidgetTypeButton_GetLockableIndex(Widget(special.c_str())), 4) << box;
        ASSERT_EQ(BasicUiWidgetTypeButton_GetLockableIndex(Widget(next.c_str())), 5) << box;
    }
    Run("go.shop");
    EXPECT_EQ(level("s18sbShirtsMb05"), 0);
    EXPECT_EQ(level("s18sbShirtsFb05"), 0);
    EXPECT_EQ(level("s18sbShirtsMb06"), 127);
    Run("s18.leave");

    const int r = GetCareerID();
    ASSERT_EQ(HandleUnlockables("Rivals", 16, 30, Game("Rivals")->rows - 1, "players", r), 1);
    EXPECT_EQ(GetCareerPlayerItemState(20, 4), 'U') << "the career bowler may buy it";
    Run("go.shop");
    EXPECT_EQ(level("s18sbShirtsMb05"), 127) << "shown as the shop opens";
    EXPECT_EQ(level("s18sbShirtsFb05"), 127);
}
