// The game launchers: the player records, controllers, game type, alley and options a launch
// fills from the set-up tables, and what they refuse or mend when a table says something wrong.
#include <gtest/gtest.h>

#include <cstring>
#include <iterator>

#include "game/controls.h"
#include "game/gameloop.h"
#include "game/areas.h"
#include "game/records.h"
#include "host/errorlog.h"
#include "lib/characterarchive.h"
#include "lib/screenapi.h"
#include "platform/input.h"
#include "screens/frontend_fixture.h"
#include "screens/launchers.h"
#include "screens/playerfill.h"
#include "screens/playerslots.h"
#include "screens/quicklaunch.h"
#include "screens/scriptfunctions_play.h"
#include "shell/settings.h"

namespace {

DS3_controller pad;

class Launchers : public FrontEndTest {
protected:
    void SetUp() override
    {
        FrontEndTest::SetUp();
        for (joystickState& c : controllers) c.controller = nullptr;
        controllers[0].controller = &pad;
        ResetControllerAssignment();
        ScreenSetResult(0);
        // A launch of an earlier test left the game's tab group selected: a launch from the menus
        // starts from the menu's.
        gTabGroupId = -1;
        lastGameType = 0;
    }
    void Set(const char* table, int column, int value, int row = 0)
    {
        BasicDbTable_SetElementI(Save(table), column, row, value);
    }
    int SaveI(const char* table, int column, int row = 0) { return BasicDbTable_GetElementI(Save(table), column, row); }
    const char* PlayerName(int row) { return BasicDbTable_GetStrElement(Save("players"), row, 1); }
};

}  // namespace

TEST_F(Launchers, QuickPlayFillsPeopleAndComputerBowlersFromTheSetUp)
{
    Set("quick play setup", 1, 2);
    Set("quick play setup", 7, 2);  // a controller that is not there: moved to the first one
    ASSERT_EQ(PlayGameQuick(nullptr, 0), 1);
    EXPECT_EQ(ScreenGetResult(), 1);
    EXPECT_EQ(gNumPlayers, 2);
    EXPECT_EQ(gGameType, 0);
    EXPECT_EQ(lastGameType, kLastGameQuick);
    EXPECT_EQ(areaNum, 2);
    EXPECT_EQ(SaveI("quick play setup", 7), 1);
    EXPECT_EQ(GetControllerAssignment(0), 0) << "a person";
    EXPECT_EQ(GetControllerAssignment(1), kAssignmentComputer) << "controller 0: the computer bowls";
    EXPECT_STREQ(gPlayerInfo[0].playerData.firstName, PlayerName(SaveI("quick play setup", 3)));
    EXPECT_STREQ(gPlayerInfo[1].playerData.firstName, PlayerName(SaveI("quick play setup", 4)));
    EXPECT_GT(gPlayerInfo[1].playerData.throwAverage, 100);
    EXPECT_TRUE(gGameOptions.oilPattern >= 1 && gGameOptions.oilPattern <= 6);
    // Quick play's default balls of a male bowler: reactive, urethane and plastic of 15 lb.
    const int balls[3] = {2 * 8 + 6, 1 * 8 + 6, 0 * 8 + 6};
    for (int b = 0; b < 3; ++b) EXPECT_EQ(gPlayerInfo[0].ballData[b].ballIndex, balls[b]);
    EXPECT_EQ(gPlayerInfo[0].playerData.ballRSIDDstTextureD[0], (901 << 16) + balls[0] + 2);
    EXPECT_GT(gPlayerInfo[0].playerData.bodyMeshRSID, 0);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(SaveI("league", 7 + k, 1), k == 0 ? 1 : 0) << "the careers keep their own";
}

TEST_F(Launchers, BadSetUpValuesAreRefusedOrMended)
{
    Set("quick play setup", 2, 0);
    EXPECT_EQ(PlayGameQuick(nullptr, 0), 0) << "no bowlers";
    EXPECT_EQ(ScreenGetResult(), 0);

    Set("quick play setup", 2, 9);
    Set("quick play setup", 1, 17);
    for (int k = 0; k < 4; ++k) Set("quick play setup", 7 + k, 0);
    Set("quick play setup", 7, 1);
    controllers[7].controller = &pad;
    Set("quick play setup", 8, 12);
    HostClearErrorLog();
    ASSERT_EQ(PlayGameQuick(nullptr, 0), 1);
    EXPECT_EQ(gNumPlayers, 4) << "four slots at most";
    EXPECT_EQ(areaNum, 0) << "an alley the game has";
    EXPECT_NE(HostErrorLog().find("no alley 17"), std::string::npos);

    Set("quick play setup", 2, 2);
    Set("quick play setup", 4, 99);
    EXPECT_EQ(PlayGameQuick(nullptr, 0), 0) << "a bowler row outside the table";
}

TEST_F(Launchers, ControllerNumbersBeyondTheEightAreClamped)
{
    Set("mini game setup", 7, 30);
    controllers[7].controller = &pad;
    Set("mini game setup", 11, 1);
    ASSERT_EQ(PlayGameMini(nullptr, 0), 1);
    EXPECT_EQ(gGameType, 9) << "the spares challenge";
    EXPECT_EQ(gPlayerInfo[0].controllerSlot, 7);
}

TEST_F(Launchers, QuickStartAndPracticeBowlTheirOneBowler)
{
    ASSERT_EQ(QuickStart(nullptr, 0), 1);
    EXPECT_EQ(gNumPlayers, 1);
    EXPECT_EQ(areaNum, 4);
    EXPECT_STREQ(gPlayerInfo[0].playerData.firstName, PlayerName(1));
    ASSERT_EQ(PlayGamePractice(nullptr, 0), 1);
    EXPECT_EQ(gGameType, 3);
    EXPECT_EQ(lastGameType, kLastGamePractice);
    EXPECT_EQ(gGameOptions.oilPattern, 2);
    ASSERT_EQ(PlayGamePinSelect(nullptr, 0), 1);
    EXPECT_EQ(gGameType, 2);
    EXPECT_EQ(gGameOptions.oilPattern, 1);
    Set("options", 1, 33);
    Set("options", 4, 1);
    Set("options", 5, 0);
    ASSERT_EQ(QuickStart(nullptr, 0), 1);
    EXPECT_EQ(gGameOptions.soundMusicVolume, 33);
    EXPECT_EQ(gGameOptions.controlMode, 1) << "the auto-save switch has its own column";
}

TEST_F(Launchers, LeagueGameMeetsTheFixturesOpponent)
{
    const int r = SaveI("career setup", 1);
    sBasicDbTable* league = Save("league");
    Set("league", 1, 0, r);
    BasicDbTable_SetElementCN(league, 11, r, 0, 'U');
    const int fixture[4] = {2, 7, 3, 5};  // team 7 (the player's, of 8) meets team 2
    for (int k = 0; k < 4; ++k) BasicDbTable_SetElementIN(league, 16, r, k, fixture[k]);
    ASSERT_EQ(PlayGameLeague(nullptr, 1), 1);
    EXPECT_EQ(gNumPlayers, 2);
    EXPECT_EQ(gGameType, 1);
    EXPECT_EQ(BasicDbTable_GetElementCN(league, 11, r, 0, 'X'), 'P');
    const int npc = BasicDbTable_GetElementIN(Game("Leagues"), 6, 0, 2, -1);
    EXPECT_STREQ(gPlayerInfo[1].playerData.firstName, BasicDbTable_GetStrElement(Game("NPCs"), npc, 1));
    EXPECT_EQ(gPlayerInfo[1].playerData.throwAverage, BasicDbTable_GetElementI(Game("Leagues"), 15, 0));

    ScreenSetResult(0);
    BasicDbTable_SetElementCN(league, 11, r, 0, 'Z');
    EXPECT_EQ(PlayGameLeague(nullptr, 1), 1);
    EXPECT_EQ(SaveI("league", 1, r), -1) << "a finished league is left";
    EXPECT_EQ(ScreenGetResult(), 0);
}

TEST_F(Launchers, TheLookFollowsTheTablesAndTheRatingsTheirCaps)
{
    sBasicDbTable* players = Save("players");
    BasicDbTable_SetElementI(players, 14, 11, -1);
    BasicDbTable_SetElementI(players, 3, 11, 95);
    BasicDbTable_SetElementI(players, 4, 11, 95);
    BasicDbTable_SetElementI(players, 5, 11, 80);
    ASSERT_EQ(SetupPlayerRSIDs(0, 11, 0, 0, 0, 0), 1);
    const PlayerDataTag& d = gPlayerInfo[0].playerData;
    EXPECT_EQ(d.hatMeshRSID, -1);
    EXPECT_EQ(d.hatRSIDDstTextureD, -1);
    EXPECT_EQ(d.hairStart, 1);
    ASSERT_EQ(SetPlayerStatsQuick(0, 11), 1);
    EXPECT_EQ(d.throwPower, 100);
    EXPECT_EQ(d.throwAccuracy, 95) << "accuracy is never raised";
    EXPECT_EQ(d.throwHookMax, 100);
    EXPECT_EQ(SetupPlayerRSIDs(8, 11, 0, 0, 0, 0), 0) << "no ninth player";
    EXPECT_EQ(SetupPlayerRSIDs(0, 99, 0, 0, 0, 0), 0);

    ASSERT_EQ(SetNPCAbilities(2, 1, 185, 7), 1);
    sBasicDbTable* abilities = Game("NPCAbilities");
    EXPECT_EQ(gPlayerInfo[2].playerData.throwPower, BasicDbTable_GetElementI(abilities, 4, 5)) << "the 180 row, female";
    EXPECT_EQ(gPlayerInfo[2].playerData.throwVariance, 7);
}

// Each garment a bowler wears swaps its own source texture for one of the colours that follow it
// in the garment textures, before the next garment's source: an index past them dresses the
// garment in another garment's texture. Every bowler of the save, of the computer and of a
// command-line launch.
TEST_F(Launchers, EveryBowlerWearsColoursOfEachGarmentsOwnKind)
{
    // In the order of their sources: each garment's colours end where the next one's source is.
    const struct {
        const char* name;
        int PlayerDataTag::*source;
        int PlayerDataTag::*colour;
        int first;
    } kGarments[] = {
        {"shirt", &PlayerDataTag::shirtRSIDSrcTextureD, &PlayerDataTag::shirtRSIDDstTextureD, kTexShirt},
        {"pants", &PlayerDataTag::pantsRSIDSrcTextureD, &PlayerDataTag::pantsRSIDDstTextureD, kTexPants},
        {"shoes", &PlayerDataTag::shoesRSIDSrcTextureD, &PlayerDataTag::shoesRSIDDstTextureD, kTexShoes},
        {"hat", &PlayerDataTag::hatRSIDSrcTextureD, &PlayerDataTag::hatRSIDDstTextureD, kTexHat},
        {"glasses", &PlayerDataTag::glassesRSIDSrcTextureD, &PlayerDataTag::glassesRSIDDstTextureD, kTexGlasses},
        {"gloves", &PlayerDataTag::glovesRSIDSrcTextureD, &PlayerDataTag::glovesRSIDDstTextureD, kTexGloves},
    };
    const int kinds = int(std::size(kGarments));
    int worn = 0;
    auto expectOwnKinds = [&](const PlayerDataTag& d, const std::string& who) {
        for (int g = 0; g < kinds; ++g) {
            const int source = d.*kGarments[g].source, colour = d.*kGarments[g].colour;
            if (source <= 0 && colour <= 0) continue;  // not worn
            ++worn;
            const int first = kGarments[g].first, next = g + 1 < kinds ? kGarments[g + 1].first : kNumGarmentTextures;
            EXPECT_EQ(source, kGarmentTextures << 16 | first) << who << ": " << kGarments[g].name;
            EXPECT_TRUE(colour >> 16 == kGarmentTextures && (colour & 0xFFFF) > first && (colour & 0xFFFF) < next)
                << who << ": " << kGarments[g].name << " in texture " << (colour & 0xFFFF);
        }
    };
    for (int fromNPCs = 0; fromNPCs <= 1; ++fromNPCs) {
        sBasicDbTable* bowlers = fromNPCs ? Game("NPCs") : Save("players");
        ASSERT_TRUE(bowlers && bowlers->rows > 0);
        for (int row = 0; row < bowlers->rows; ++row) {
            ASSERT_EQ(SetupPlayerRSIDs(0, row, fromNPCs, 0, 0, 0), 1);
            expectOwnKinds(gPlayerInfo[0].playerData, (fromNPCs ? "NPCs row " : "players row ") + std::to_string(row));
        }
    }
    ASSERT_EQ(QuickLaunchGame("quick", kMaxPlayers), 1);
    ScreenSetResult(0);
    for (int i = 0; i < kMaxPlayers; ++i)
        expectOwnKinds(gPlayerInfo[i].playerData, std::string("launched bowler ") + gPlayerInfo[i].playerData.firstName);
    EXPECT_GT(worn, 100);
}

TEST_F(Launchers, TheQuickPlayQuestionNamesTheAlleyAndTheBowlersThenPlays)
{
    RegisterText(
        "<BasicDb name=\"ui\" tableDefs=\"1\" tables=\"1\">"
        "<BasicDbTableDef name=\"t\" columns=\"2\"><BasicDbTableColumnDef name=\"k\" type=\"int\" count=\"1\"/>"
        "<BasicDbTableColumnDef name=\"text\" type=\"string\" count=\"64\"/></BasicDbTableDef>"
        "<BasicDbTable name=\"s0Strings\" def=\"t\" rows=\"27\">"
        "0,\"\",1,\"\",2,\"\",3,\"\",4,\"\",5,\"\",6,\"\",7,\"\",8,\"At %s\",9,\"1: %s\",10,\"2: %s 100%\",11,\"3: %s\","
        "12,\"4: %s\",13,\"\",14,\"\",15,\"\",16,\"\",17,\"\",18,\"\",19,\"\",20,\"\",21,\"\",22,\"(nobody)\","
        "23,\"\",24,\"\",25,\"\",26,\"With %s\","
        "</BasicDbTable></BasicDb>");
    ASSERT_EQ(LoadText("<BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\">"
                       "<BasicUiWidget name=\"s0qp\" typeWidget=\"wtRectangle\" isActive=\"0\" isRender=\"0\"/>"
                       "<BasicUiWidget name=\"s0dialogQP\" typeWidget=\"wtDialogBox\" isShowDialog=\"1\"/>"
                       "</BasicUiScreen></BasicUiDisplay>"),
              1);
    Set("quick play setup", 1, 2);
    EXPECT_EQ(QuickSetupDialog(nullptr, 0), 0) << "answered yes: the sequence stops, the game starts";
    EXPECT_EQ(ScreenGetResult(), 1);
    sBasicDbTable* strings = BasicDbTable_Find(BasicDb_DbGet(2), "s0Strings");
    const std::string second = std::string("2: ") + PlayerName(SaveI("quick play setup", 4)) + " 100%";
    EXPECT_STREQ(BasicDbTable_GetStrElement(strings, 15, 1), second.c_str());
    // The question's message: the alley, then on a line of its own the bowlers that play.
    EXPECT_STREQ(BasicDbTable_GetStrElement(strings, 13, 1),
                 (std::string("At ") + BasicDbTable_GetStrElement(Game("locations"), 3, 1) + "  With " +
                  PlayerName(SaveI("quick play setup", 3)) + ", " + PlayerName(SaveI("quick play setup", 4)))
                     .c_str());
    EXPECT_STREQ(BasicDbTable_GetStrElement(strings, 16, 1), "3: (nobody)");
    EXPECT_EQ(Widget("s0qp")->isRender.value, 0) << "hidden again";
}

TEST_F(Launchers, NamesLongerThanTheirFieldsAreCutAndTerminated)
{
    sBasicDb* texts = RegisterText(
        "<BasicDb name=\"names\" tableDefs=\"1\" tables=\"1\">"
        "<BasicDbTableDef name=\"n\" columns=\"3\"><BasicDbTableColumnDef name=\"k\" type=\"int\" count=\"1\"/>"
        "<BasicDbTableColumnDef name=\"name\" type=\"string\" count=\"64\"/>"
        "<BasicDbTableColumnDef name=\"nick\" type=\"string\" count=\"64\"/></BasicDbTableDef>"
        "<BasicDbTable name=\"long\" def=\"n\" rows=\"1\">"
        "0,\"Bartholomew-Maximilian Featherstonehaugh\",\"The Unstoppable Bowling Machine\","
        "</BasicDbTable></BasicDb>");
    sBasicDbTable* table = BasicDbTable_Find(texts, "long");
    std::memset(&gPlayerInfo[3].playerData, 'x', sizeof gPlayerInfo[3].playerData);
    ASSERT_EQ(WritePlayerNameAndNumber(table, 0, 3, 0), 1);
    const PlayerDataTag& d = gPlayerInfo[3].playerData;
    EXPECT_EQ(std::string(d.firstName), std::string("Bartholomew-Maximil"));
    EXPECT_EQ(std::string(d.nickName), std::string("The Unstoppable "));
    EXPECT_EQ(d.lastName[0], '\0');
    EXPECT_EQ(WritePlayerNameAndNumber(table, 1, 3, 0), 0) << "no such row";
    EXPECT_EQ(WritePlayerNameAndNumber(table, 0, 8, 0), 0) << "no such slot";
}

TEST_F(Launchers, ATeamLeagueFirstAsksForItsControllers)
{
    const int r = SaveI("career setup", 1);
    sBasicDbTable* league = Save("league");
    Set("league", 1, 1, r);  // the doubles league
    BasicDbTable_SetElementCN(league, 11, r, 1, 'U');
    const int fixture[2] = {5, 2};
    for (int k = 0; k < 2; ++k) BasicDbTable_SetElementIN(league, 16, r, k, fixture[k]);
    EXPECT_EQ(PlayGameLeague(nullptr, 0), 1) << "the controller sequence runs instead";
    EXPECT_EQ(ScreenGetResult(), 0);
    EXPECT_EQ(BasicDbTable_GetElementCN(league, 11, r, 1, 'X'), 'U') << "not being played yet";
    Set("league", 8, 0, r);  // the second member is bowled by the computer
    Set("league", 7, 0, r);  // a save that gave the career bowler to the computer
    ASSERT_EQ(PlayGameLeague(nullptr, 1), 1);
    EXPECT_EQ(gNumPlayers, 4);
    EXPECT_EQ(GetControllerAssignment(0), 0) << "the career bowler is always the person's";
    EXPECT_EQ(GetControllerAssignment(1), kAssignmentComputer);
    EXPECT_STREQ(gPlayerInfo[0].playerData.nickName, BasicDbTable_GetStrElement(Save("players"), r, 2)) << "the team's name";
    const int firstOpponent = BasicDbTable_GetElementIN(Game("Leagues"), 6, 1, 2 * 2, -1);
    EXPECT_STREQ(gPlayerInfo[2].playerData.firstName, BasicDbTable_GetStrElement(Game("NPCs"), firstOpponent, 1));
    EXPECT_STREQ(gPlayerInfo[3].playerData.nickName, BasicDbTable_GetStrElement(Game("NPCs"), firstOpponent, 2));
    EXPECT_TRUE(gGameOptions.oilPattern >= 1 && gGameOptions.oilPattern <= 3) << "the early leagues' light oil";
}
