// The careers played through their records: entering events, folding each game's results into
// the standings as the main menu does after a game, and the season's or event's podium with its
// prize money and unlocks. The computer's games come from the fixed random sequence.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "game/gameloop.h"
#include "game/records.h"
#include "host/errorlog.h"
#include "screens/career.h"
#include "screens/frontend_fixture.h"
#include "screens/launchers.h"
#include "screens/results.h"
#include "ui/frameupdate.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/scrollbox.h"

namespace {

class Career : public FrontEndTest {
protected:
    void SetUp() override
    {
        FrontEndTest::SetUp();
        SeedRandom();
        r = BasicDbTable_GetElementI(Save("career setup"), 1, 0);
        players = Save("players");
        league = Save("league");
        tournament = Save("tournament");
    }
    // The game just played: the player's team (t bowlers) scores mine each, the opponents theirs.
    void Played(int kind, int t, int mine, int theirs, int opponents = -1)
    {
        ClrPlayerResults();
        lastGameType = kind;
        gNumPlayers = t + (opponents < 0 ? t : opponents);
        for (int i = 0; i < gNumPlayers; ++i) SetPlayerResults(i, 0, i < t ? mine : theirs);
    }
    int Funds() { return BasicDbTable_GetElementI(players, 8, r); }
    int Stat(int column) { return BasicDbTable_GetElementI(players, column, r); }
    char State(sBasicDbTable* t, int column, int e) { return BasicDbTable_GetElementCN(t, column, r, e, '?'); }
    int El(sBasicDbTable* t, int column, int k) { return BasicDbTable_GetElementIN(t, column, r, k, -99); }
    int Def(const char* table, int column, int row) { return BasicDbTable_GetElementI(Game(table), column, row); }
    // The game data's "ui" texts, for the results dialog's composed line (row 3 of "sFgStrings").
    void RegisterUiTexts()
    {
        std::stringstream text;
        text << std::ifstream(std::string(ZENDROLYX_SOURCE_DIR) + "/content/db/ui.db.xml").rdbuf();
        ui = RegisterText(text.str());
    }
    std::string Composed() { return BasicDbTable_GetStrElement(BasicDbTable_Find(ui, "sFgStrings"), 3, 1); }

    int r = 0;
    sBasicDbTable *players = nullptr, *league = nullptr, *tournament = nullptr;
    sBasicDb* ui = nullptr;
};

}  // namespace

TEST_F(Career, ALeagueSeasonIsPlayedWeekByWeekToItsPodium)
{
    RegisterUiTexts();
    const int funds = Funds(), fee = Def("Leagues", 10, 0), m = Def("Leagues", 5, 0), weeks = Def("Leagues", 7, 0);
    EXPECT_EQ(EnterLeague(nullptr, 1 + 19), 0) << "a locked league is refused";
    ASSERT_EQ(EnterLeague(nullptr, 0), 1);
    EXPECT_EQ(Funds(), funds - fee);
    EXPECT_EQ(State(league, 11, 0), 'U');
    EXPECT_EQ(El(league, 16, 2 * m), -1) << "no week is played yet";
    ASSERT_EQ(EnterLeague(nullptr, 0), 1);
    EXPECT_EQ(Funds(), funds - fee) << "rejoining the league in progress charges nothing";

    for (int w = 0; w < weeks; ++w) {
        Played(kLastGameLeague, 1, 240, 150);
        ASSERT_EQ(UpdateLeagueStandings(nullptr, 0), 1);
        int wins = 0, played = 0;
        for (int x = 0; x < m; ++x) {
            wins += El(league, 31, x);
            played += El(league, 31, x) + El(league, 32, x);
            EXPECT_GE(El(league, 16 + w, 2 * m + x), 0) << "every team bowled week " << w;
        }
        EXPECT_EQ(wins, (w + 1) * m / 2) << "one winner a match";
        EXPECT_EQ(played, (w + 1) * m);
        for (int i = 1; i < m; ++i) {
            const int a = El(league, 13, i - 1), b = El(league, 13, i);
            EXPECT_TRUE(El(league, 31, a) > El(league, 31, b) ||
                        (El(league, 31, a) == El(league, 31, b) && El(league, 33, a) >= El(league, 33, b)))
                << "sorted by wins, then pins, week " << w;
        }
        EXPECT_EQ(El(league, 31, m - 1), w + 1) << "the player's team won every week";
    }
    EXPECT_EQ(BasicDbTable_GetElementI(league, 14, r), 0) << "top of the table";
    EXPECT_EQ(State(league, 11, 0), 'Z') << "the season is over";
    EXPECT_EQ(State(players, 27, 0), '1');
    EXPECT_EQ(Composed(), "Well bowled: you finished 1st!");
    EXPECT_EQ(Funds(), funds - fee + Def("Leagues", 12, 0));
    EXPECT_NE(State(players, 27, 3), 'L') << "the podium opens the league three rows on";
    EXPECT_EQ(Stat(30), weeks);
    EXPECT_EQ(Stat(31), weeks);
}

TEST_F(Career, AFoldInThatRepeatsPlaysAndPaysNothingTwice)
{
    ASSERT_EQ(EnterLeague(nullptr, 0), 1);
    Played(kLastGameLeague, 1, 200, 100);
    UpdateLeagueStandings(nullptr, 0);
    const int m = Def("Leagues", 5, 0);
    const int week = BasicDbTable_GetElementI(league, 15, r), pins = El(league, 33, 0), games = Stat(30);
    UpdateLeagueStandings(nullptr, 0);
    EXPECT_EQ(BasicDbTable_GetElementI(league, 15, r), week);
    EXPECT_EQ(El(league, 33, 0), pins);
    EXPECT_EQ(El(league, 31, m - 1), 1);
    EXPECT_EQ(Stat(30), games);
}

// A tie goes to the player's team in the table as in the statistics, wherever it stands in the
// pair; fixtures naming no team and a league of no weeks are passed over without harm.
TEST_F(Career, LeagueTiesBadFixturesAndNoWeeks)
{
    ASSERT_EQ(EnterLeague(nullptr, 0), 1);
    const int m = Def("Leagues", 5, 0);
    const int pairs[8] = {m - 1, 0, 1, 2, -1, 3, 4, 5};
    for (int k = 0; k < 8; ++k) BasicDbTable_SetElementIN(league, 16, r, k, pairs[k]);
    Played(kLastGameLeague, 1, 180, 180);
    UpdateLeagueStandings(nullptr, 0);
    EXPECT_EQ(El(league, 31, m - 1), 1) << "a tie is the player's win in the table";
    EXPECT_EQ(El(league, 32, 0), 1);
    EXPECT_EQ(Stat(31), 1) << "and in the statistics";
    EXPECT_EQ(El(league, 31, 3) + El(league, 32, 3), 0) << "the pairing with no second team was not bowled";
    EXPECT_EQ(El(league, 31, 4) + El(league, 32, 4), 1);

    // The player's team second in its pair.
    BasicDbTable_SetElementIN(league, 17, r, 0, 0);
    BasicDbTable_SetElementIN(league, 17, r, 1, m - 1);
    Played(kLastGameLeague, 1, 150, 150);
    UpdateLeagueStandings(nullptr, 0);
    EXPECT_EQ(El(league, 31, m - 1), 2);

    BasicDbTable_SetElementI(Game("Leagues"), 7, 0, 0);
    Played(kLastGameLeague, 1, 150, 100);
    EXPECT_EQ(UpdateLeagueStandings(nullptr, 0), 1);
    EXPECT_EQ(State(league, 11, 0), 'Z') << "a league of no weeks ends after the week bowled";
    EXPECT_EQ(BasicDbTable_GetElementI(league, 15, r), 2) << "no week past the columns";
}

TEST_F(Career, AbandonedGamesChangeNothing)
{
    ASSERT_EQ(EnterLeague(nullptr, 0), 1);
    ClrPlayerResults();
    lastGameType = kLastGameLeague;
    gNumPlayers = 2;
    EXPECT_EQ(UpdateLeagueStandings(nullptr, 0), 1);
    EXPECT_EQ(BasicDbTable_GetElementI(league, 15, r), 0);
    EXPECT_EQ(Stat(30), 0);
    EXPECT_EQ(UpdateTreeStandings(nullptr, 0), 0) << "not a tree game";
}

// The 16-team knock-out: winning every round is first; losing the first round leaves the rest
// bowled at once with no place; losing the semi-final and winning the match for third is third.
TEST_F(Career, ATreeIsPlayedToTheFinal)
{
    RegisterUiTexts();
    const int funds = Funds(), fee = Def("Tournaments", 12, 0);
    ASSERT_EQ(EnterTournament(nullptr, 0), 1);
    EXPECT_EQ(Funds(), funds - fee);
    for (int round = 0; round < 4; ++round) {
        EXPECT_EQ(BasicDbTable_GetElementI(tournament, 15, r), round);
        Played(kLastGameTree, 1, 260, 120);
        ASSERT_EQ(UpdateTreeStandings(nullptr, 0), 1);
    }
    EXPECT_EQ(State(tournament, 11, 0), 'Z');
    EXPECT_EQ(State(players, 28, 0), '1');
    EXPECT_TRUE(El(tournament, 17 + 3, 0) == 15 || El(tournament, 17 + 3, 1) == 15) << "the player's team in the final";
    EXPECT_GE(El(tournament, 17 + 3, 4 + 2), 0) << "the match for third was bowled";
    EXPECT_EQ(Funds(), funds - fee + Def("Tournaments", 14, 0));

    BasicDbTable_SetElementI(tournament, 1, r, -1);
    ASSERT_EQ(EnterTournament(nullptr, 0), 1);
    Played(kLastGameTree, 1, 100, 200);
    UpdateTreeStandings(nullptr, 0);
    EXPECT_EQ(State(tournament, 11, 0), 'Z') << "out in the first round";
    EXPECT_EQ(Composed(), "You are out of the event: no place this time.");
    EXPECT_EQ(State(players, 28, 0), '1') << "the earlier win is kept";
    EXPECT_GE(El(tournament, 20, 4), 0) << "the final was bowled without the player";

    BasicDbTable_SetElementI(tournament, 1, r, -1);
    ASSERT_EQ(EnterTournament(nullptr, 0), 1);
    const int before = Funds();
    for (int k : {1, 1, 0, 1}) {
        Played(kLastGameTree, 1, k ? 250 : 100, k ? 100 : 250);
        UpdateTreeStandings(nullptr, 0);
    }
    EXPECT_EQ(Funds(), before + Def("Tournaments", 16, 0)) << "third place pays the third prize";

    BasicDbTable_SetElementI(tournament, 1, r, -1);
    ASSERT_EQ(EnterTournament(nullptr, 0), 1);
    BasicDbTable_SetElementI(Game("Tournaments"), 9, 0, 0);
    Played(kLastGameTree, 1, 250, 100);
    EXPECT_EQ(UpdateTreeStandings(nullptr, 0), 1) << "a bracket of no places is refused, not divided";
    EXPECT_EQ(BasicDbTable_GetElementI(tournament, 15, r), 0);
}

// A knock-out whose field does not halve to a final is refused when entered, with a message: no
// fee is taken and the career's event stays as it was.
TEST_F(Career, AKnockOutThatDoesNotHalveToAFinalCannotBeEntered)
{
    const int funds = Funds(), current = BasicDbTable_GetElementI(tournament, 1, r, -1);
    for (int teams : {12, 10, 6}) {
        SCOPED_TRACE(teams);
        BasicDbTable_SetElementI(Game("Tournaments"), 5, 0, teams);
        BasicDbTable_SetElementI(Game("Tournaments"), 9, 0, teams);
        HostClearErrorLog();
        EXPECT_EQ(EnterTournament(nullptr, 0), 0);
        EXPECT_NE(HostErrorLog().find("does not halve to a final"), std::string::npos) << HostErrorLog();
        EXPECT_EQ(Funds(), funds);
        EXPECT_EQ(BasicDbTable_GetElementI(tournament, 1, r, -1), current);
    }
    BasicDbTable_SetElementI(Game("Tournaments"), 5, 0, 8);
    BasicDbTable_SetElementI(Game("Tournaments"), 9, 0, 8);
    EXPECT_EQ(EnterTournament(nullptr, 0), 1) << "eight teams halve to a final";
}

TEST_F(Career, AHighScoreEventEndsWithItsLastGame)
{
    BasicDbTable_SetElementCN(players, 28, r, 2, 'U');
    ASSERT_EQ(EnterTournament(nullptr, 2), 1);
    const int m = Def("Tournaments", 5, 2), games = Def("Tournaments", 8, 2);
    for (int g = 0; g < games; ++g) {
        EXPECT_NE(State(tournament, 11, 2), 'Z');
        Played(kLastGameHighScore, 1, 289, 0, 0);
        ASSERT_EQ(UpdateHighScoreStandings(nullptr, 0), 1);
    }
    for (int x = 0; x < m; ++x) EXPECT_EQ(El(tournament, 23, x), games);
    EXPECT_EQ(El(tournament, 25, m - 1), 289 * games);
    EXPECT_EQ(State(tournament, 11, 2), 'Z');
    EXPECT_EQ(State(players, 28, 2), '1');
    EXPECT_EQ(Stat(30), games);
}

// A ladder without qualifying: the player's team challenges the lowest rung and its score stands
// on the challenger's side; climbing every rung wins the event.
TEST_F(Career, ALadderIsClimbedFromTheBottomRung)
{
    BasicDbTable_SetElementCN(players, 28, r, 5, 'U');
    BasicDbTable_SetElementI(players, 8, r, 5000);
    ASSERT_EQ(EnterTournament(nullptr, 5), 1);
    const int b = Def("Tournaments", 9, 5), m = Def("Tournaments", 5, 5);
    EXPECT_EQ(BasicDbTable_GetElementI(tournament, 14, r), b - 2);
    for (int p = b - 2; p >= 0; --p) {
        ASSERT_EQ(BasicDbTable_GetElementI(tournament, 14, r), p);
        Played(kLastGameLadder, 1, 230 + p, 110);
        ASSERT_EQ(UpdateLadderStandings(nullptr, 0), 1);
        EXPECT_EQ(El(tournament, 17, 2 * p + 1), m - 1) << "the challenger of rung " << p;
        EXPECT_EQ(El(tournament, 17, 2 * (p + b) + 1), 230 + p) << "the challenger's score";
        EXPECT_EQ(El(tournament, 17, 2 * (p + b)), 110);
    }
    EXPECT_EQ(State(tournament, 11, 5), 'Z');
    EXPECT_EQ(State(players, 28, 5), '1');
}

// With qualifying games, those games count in the statistics; a team that qualifies on top
// defends rung 0 after the rungs below were bowled, and losing it is second place.
TEST_F(Career, ALadderQualifiesFirst)
{
    ASSERT_EQ(EnterTournament(nullptr, 1), 1);
    const int b = Def("Tournaments", 9, 1), games = Def("Tournaments", 8, 1), m = Def("Tournaments", 5, 1);
    for (int g = 0; g < games; ++g) {
        Played(kLastGameLadder, 1, 299, 0, 0);
        UpdateLadderStandings(nullptr, 0);
    }
    EXPECT_EQ(Stat(30), games) << "qualifying games are games";
    EXPECT_EQ(BasicDbTable_GetElementI(tournament, 14, r), 0);
    EXPECT_EQ(El(tournament, 17, 0), m - 1) << "the player's team defends the top rung";
    for (int j = 1; j <= b - 2; ++j) EXPECT_GE(El(tournament, 17, 2 * (j + b)), 0) << "rung " << j << " bowled";
    const int funds = Funds();
    Played(kLastGameLadder, 1, 120, 200);
    UpdateLadderStandings(nullptr, 0);
    EXPECT_EQ(El(tournament, 17, 2 * b), 120) << "the defender's score is the player's";
    EXPECT_EQ(State(players, 28, 1), '2');
    EXPECT_EQ(Funds(), funds + Def("Tournaments", 15, 1));
    EXPECT_EQ(Stat(30), games + 1);
}

TEST_F(Career, ARivalBeatenIsWonOnceAndPaidEachTime)
{
    EXPECT_EQ(CheckRival(nullptr, 1), 0);
    ASSERT_EQ(SetupRivalImmediate(nullptr, 1), 0) << "locked";
    ASSERT_EQ(SetupRivalImmediate(nullptr, 0), 1);
    const int funds = Funds(), prize = Def("Rivals", 13, 0);
    for (int k = 1; k <= 2; ++k) {
        Played(kLastGameRival, 1, 190, 190);
        ASSERT_EQ(UpdateRivalStandings(nullptr, 0), 1);
        EXPECT_EQ(State(players, 29, 0), 'W');
        EXPECT_EQ(Funds(), funds + k * prize);
    }
    EXPECT_EQ(CheckRival(nullptr, 1), 1) << "the next rival is open";

    // A mini-game rival hands back a winner's 1, not pins.
    BasicDbTable_SetElementCN(players, 29, r, 2, 'U');
    ASSERT_EQ(SetupRivalImmediate(nullptr, 2), 1);
    ASSERT_NE(Def("Rivals", 8, 2), 0);
    const int pins = Stat(32), games = Stat(30);
    Played(kLastGameRival, 1, 1, 0);
    UpdateRivalStandings(nullptr, 0);
    EXPECT_EQ(State(players, 29, 2), 'W');
    EXPECT_EQ(Stat(32), pins);
    EXPECT_EQ(Stat(30), games);

    ResetCareer(nullptr, r);
    EXPECT_EQ(BasicDbTable_GetElementI(Save("rival"), 1, r), 0);
    EXPECT_EQ(BasicDbTable_GetElementI(league, 1, r), -1);
}

// The league selection screen: the scroll box's selection counts from 1, giving up an entered
// league is asked once and then the entry is not asked again, and the screen shows the league
// in progress selected when it opens.
TEST_F(Career, TheSelectionScreenEntersTheLeaguePicked)
{
    std::string items;
    for (int i = 0; i <= 21; ++i) items += "<BasicUiWidget name=\"i" + std::to_string(i) + "\" typeWidget=\"wtButton\"/>";
    ASSERT_EQ(LoadText("<BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\">"
                       "<BasicUiWidget name=\"s20sb6\" typeWidget=\"wtScrollBox\" slots=\"5\">" + items + "</BasicUiWidget>"
                       "<BasicUiWidget name=\"s20dialog1\" typeWidget=\"wtDialogBox\" isShowDialog=\"1\" isRender=\"0\"/>"
                       "<BasicUiWidget name=\"s20dialog3\" typeWidget=\"wtDialogBox\" isShowDialog=\"1\" isRender=\"0\"/>"
                       "<BasicUiWidget name=\"cSN.gotoS21\" typeWidget=\"cmdSeq\"/>"
                       "<BasicUiWidget name=\"sFgSetPlayers2.League\" typeWidget=\"cmdSeq\"/>"
                       "</BasicUiScreen></BasicUiDisplay>"),
              1);
    env->inputMode = BasicUiInputMode_Normal;
    BasicUi_UpdateEnvironment(env, 1.0f / 30.0f);
    sBasicUiWidget* box = Widget("s20sb6");
    auto ran = [&](const char* name) {
        auto* s = static_cast<sBasicUiWidgetTypeCmdSequence*>(Widget(name)->widgetTypeRef.ptr);
        const int active = s->cmdSeqActive.value;
        s->cmdSeqActive.value = 0;
        return active;
    };
    for (int index : {0, 21}) {
        BasicUiWidgetTypeScrollBox_SetSelectedIndex(box, index);
        EXPECT_EQ(SetupLeague(nullptr, 0), 0) << "selection " << index;
    }
    BasicUiWidgetTypeScrollBox_SetSelectedIndex(box, 1);
    ASSERT_EQ(SetupLeague(nullptr, 0), 1);
    EXPECT_EQ(BasicDbTable_GetElementI(league, 1, r), 0);
    EXPECT_EQ(Widget("s20dialog1")->isRender.value, 0) << "nothing to give up";
    EXPECT_EQ(Widget("s20dialog3")->isRender.value, 1) << "the fee is confirmed";
    EXPECT_EQ(ran("cSN.gotoS21"), 1) << "a singles league goes to its table";

    Widget("s20dialog3")->isRender.value = 0;
    BasicUiWidgetTypeScrollBox_SetSelectedIndex(box, 2);
    ASSERT_EQ(SetupLeague(nullptr, 0), 1);
    EXPECT_EQ(BasicDbTable_GetElementI(league, 1, r), 1);
    EXPECT_EQ(Widget("s20dialog1")->isRender.value, 1) << "giving up the first league is asked";
    EXPECT_EQ(Widget("s20dialog3")->isRender.value, 0) << "and then the entry is not asked again";
    EXPECT_EQ(ran("sFgSetPlayers2.League"), 1) << "a doubles league sets its team up";
    EXPECT_EQ(State(league, 11, 0), 'Z');

    BasicUiWidgetTypeScrollBox_SetSelectedIndex(box, 7);
    EXPECT_EQ(SetupEvents(nullptr, 0), 1);
    EXPECT_EQ(BasicUiWidgetTypeScrollBox_GetSelectedIndex(box), 2) << "the league in progress is selected";
    const int funds = Funds();
    ASSERT_EQ(SetupLeague(nullptr, 0), 1);
    EXPECT_EQ(Funds(), funds) << "rejoined, not paid again";
}
