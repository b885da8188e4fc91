// The set-up screens' player slots: stepping through the built-in bowlers with the wrap, the
// bowlers a rival milestone adds, a custom bowler's way out and back, and the controller page of
// each game.
#include <gtest/gtest.h>

#include "platform/input.h"
#include "screens/frontend_fixture.h"
#include "screens/playerslots.h"
#include "screens/scriptfunctions_play.h"
#include "ui/widgets/button.h"
#include "ui/widgets/triggers.h"

namespace {

DS3_controller pad;

class PlayerSlots : public FrontEndTest {
protected:
    void SetUp() override
    {
        FrontEndTest::SetUp();
        for (joystickState& c : controllers) c.controller = nullptr;
        controllers[0].controller = &pad;
        ResetControllerAssignment();
        std::string body;
        for (int k = 1; k <= 4; ++k) {
            const std::string n = std::to_string(k);
            body += "<BasicUiWidget name=\"s1b" + n + ".v3\" typeWidget=\"wtButton\"/>";
            body += "<BasicUiWidget name=\"s19l" + n + "\" typeWidget=\"wtButton\"/>";
            body += "<BasicUiWidget name=\"s19b" + n + "\" typeWidget=\"wtButton\"/>";
        }
        ASSERT_EQ(LoadText("<BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\">" + body +
                           "<BasicUiWidget name=\"s1tMove.v3\" typeWidget=\"tMove\" button=\"s1b1.v3\"/>"
                           "<BasicUiWidget name=\"s19Upper.l3\" typeWidget=\"wtButton\" row=\"17\"/>"
                           "<BasicUiWidget name=\"s1dialog0\" typeWidget=\"wtDialogBox\" isShowDialog=\"1\"/>"
                           "</BasicUiScreen></BasicUiDisplay>"),
                  1);
    }
    void Select(int slot)
    {
        BasicUiWidgetTypeTriggerMove_SetSelected(Widget("s1tMove.v3"), Widget(("s1b" + std::to_string(slot) + ".v3").c_str()));
    }
    int Bowler(int slot) { return BasicDbTable_GetElementI(Save("mini game setup"), 2 + slot, 0); }
    // What the controller page shows for a slot (its button's text row: 4 the computer, 5 + i
    // controller i + 1), and whether the slot is on the page at all.
    std::string Shown(int slot)
    {
        const int row = BasicUiWidgetTypeButton_Get(Widget(("s19b" + std::to_string(slot)).c_str()))->row.value;
        return row == 4 ? "computer" : "controller " + std::to_string(row - 4);
    }
    bool Seated(int slot)
    {
        const std::string n = std::to_string(slot);
        return Widget(("s19b" + n).c_str())->isRender.value && Widget(("s19l" + n).c_str())->isRender.value;
    }
};

}  // namespace

TEST_F(PlayerSlots, SteppingWrapsAroundTheBuiltInBowlers)
{
    Select(2);
    BasicDbTable_SetElementI(Save("mini game setup"), 4, 0, 11);
    EXPECT_EQ(SelectNextPlayerIndex(nullptr, -3), 1);
    EXPECT_EQ(Bowler(2), 18) << "down from the first built-in bowler to the last";
    EXPECT_EQ(SelectNextPlayerIndex(nullptr, 3), 1);
    EXPECT_EQ(Bowler(2), 11);
    EXPECT_EQ(Bowler(1), BasicDbTable_GetElementI(Save("mini game setup"), 3, 0)) << "only the selected slot";

    BasicDbTable_SetElementCN(Save("players"), 29, 4, 4, 'W');
    EXPECT_EQ(GetPlayersMax(), 20) << "the second rival milestone beaten";
    SelectNextPlayerIndex(nullptr, -3);
    EXPECT_EQ(Bowler(2), 20);
    EXPECT_EQ(VerifyCustomPlayerUnload(nullptr, 3), 1) << "a built-in bowler goes without a question";
    EXPECT_EQ(Bowler(2), 20);
}

// The controller page shows and changes the controllers of the game that opened it, for the
// bowlers that game seats: quick play's X does not reach a career team, and a career team's page
// shows the team's own, with the career bowler always on a controller (X on it says why it does
// nothing).
TEST_F(PlayerSlots, EachSetUpTableKeepsItsOwnControllers)
{
    const int r = BasicDbTable_GetElementI(Save("career setup"), 1, 0);
    sBasicUiWidget* page = Widget("s19b1");
    BasicDbTable_SetElementI(Save("quick play setup"), 2, 0, 2);
    BasicDbTable_SetElementI(Save("quick play setup"), 7, 0, 1);
    BasicDbTable_SetElementI(Save("quick play setup"), 8, 0, 3);
    BasicDbTable_SetElementI(Save("league"), 1, r, 1);  // the doubles league
    BasicDbTable_SetElementI(Save("league"), 7, r, 1);
    BasicDbTable_SetElementI(Save("league"), 8, r, 0);
    ASSERT_EQ(AssignControllers(page, 0), 1);
    EXPECT_EQ(Shown(1), "controller 1");
    EXPECT_EQ(Shown(2), "controller 1") << "controller 3 is not there";
    EXPECT_FALSE(Seated(3)) << "quick play seats two";
    ASSERT_EQ(AssignControllers(page, -1), 1);
    EXPECT_EQ(Shown(1), "computer");
    EXPECT_EQ(BasicDbTable_GetElementI(Save("quick play setup"), 7, 0), 0);
    EXPECT_EQ(BasicDbTable_GetElementI(Save("league"), 7, r), 1) << "quick play's X is quick play's";

    BasicDbTable_SetElementI(Save("league"), 7, r, 0);  // a save that gave the career bowler away
    ASSERT_EQ(AssignTeamControllers(page, 6), 1);
    EXPECT_EQ(Shown(1), "controller 1") << "the career bowler bowls for itself";
    EXPECT_EQ(Shown(2), "computer");
    EXPECT_TRUE(Seated(2));
    EXPECT_FALSE(Seated(3)) << "a doubles team seats two";
    EXPECT_FALSE(Seated(4));
    AssignControllers(page, -1);
    EXPECT_EQ(Shown(1), "controller 1") << "X never gives the career bowler away";
    EXPECT_EQ(BasicUiWidgetTypeButton_Get(Widget("s19Upper.l3"))->row.value, 18) << "and the page says why";
    EXPECT_EQ(BasicDbTable_GetElementI(Save("league"), 7, r), 1);
    AssignControllers(page, 2);
    EXPECT_EQ(Shown(2), "controller 1") << "the partner pressed is a person";
    EXPECT_EQ(BasicDbTable_GetElementI(Save("league"), 8, r), 1);
    EXPECT_EQ(BasicDbTable_GetElementI(Save("quick play setup"), 7, 0), 0) << "the league's A is the league's";

    int c[4] = {5, 0, 1, 5};
    controllers[2].controller = &pad;
    ASSERT_EQ(CheckPlayerControllers(&c[0], &c[1], &c[2], &c[3], 1), 1);
    EXPECT_EQ(c[0], 1);
    EXPECT_EQ(c[3], 1);
    EXPECT_EQ(c[1], 0);
}

// A custom bowler leaves its slot after the question (the shown dialog agrees at once) and the
// step after it, to the first built-in bowler no other slot holds; the player's own bowler comes
// round again after the last built-in one. No bowler is ever in two slots.
TEST_F(PlayerSlots, ACustomBowlerLeavesAfterTheQuestionAndComesRoundAgain)
{
    const int own = BasicDbTable_GetElementI(Save("career setup"), 1, 0);
    Select(1);
    BasicDbTable_SetElementI(Save("mini game setup"), 3, 0, own);
    for (int k = 2; k <= 4; ++k) BasicDbTable_SetElementI(Save("mini game setup"), 2 + k, 0, 9 + k);  // 11, 12, 13
    EXPECT_EQ(VerifyCustomPlayerUnload(nullptr, 3), 1);
    EXPECT_EQ(Bowler(1), own) << "the step that follows takes it out";
    SelectNextPlayerIndex(nullptr, 3);
    EXPECT_EQ(Bowler(1), 14) << "11 to 13 are in the other slots";
    while (Bowler(1) != GetPlayersMax()) SelectNextPlayerIndex(nullptr, 3);
    SelectNextPlayerIndex(nullptr, 3);
    EXPECT_EQ(Bowler(1), own) << "after the last built-in bowler, the player's own";
    SelectNextPlayerIndex(nullptr, 3);
    EXPECT_EQ(Bowler(1), 14);
    SelectNextPlayerIndex(nullptr, -3);
    EXPECT_EQ(Bowler(1), own) << "down from the first free built-in bowler";

    Select(2);
    SelectNextPlayerIndex(nullptr, -3);
    EXPECT_EQ(Bowler(2), GetPlayersMax()) << "the own bowler is slot 1's already";
    for (int i = 0; i < 12; ++i) {
        SelectNextPlayerIndex(nullptr, 3);
        for (int k : {1, 3, 4}) EXPECT_NE(Bowler(2), Bowler(k)) << "step " << i;
    }
}
