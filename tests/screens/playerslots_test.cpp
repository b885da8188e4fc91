// The set-up screens' player slots: stepping through the built-in bowlers with the wrap, the
// bowlers a rival milestone adds, a custom bowler's way out and back, and the controllers of
// every set-up table kept valid.
#include <gtest/gtest.h>

#include "platform/input.h"
#include "screens/frontend_fixture.h"
#include "screens/playerslots.h"
#include "screens/scriptfunctions_play.h"
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
        for (int k = 1; k <= 4; ++k)
            body += "<BasicUiWidget name=\"s1b" + std::to_string(k) + ".v3\" typeWidget=\"wtButton\"/>";
        ASSERT_EQ(LoadText("<BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\">" + body +
                           "<BasicUiWidget name=\"s1tMove.v3\" typeWidget=\"tMove\" button=\"s1b1.v3\"/>"
                           "<BasicUiWidget name=\"s1dialog0\" typeWidget=\"wtDialogBox\" isShowDialog=\"1\"/>"
                           "</BasicUiScreen></BasicUiDisplay>"),
                  1);
    }
    void Select(int slot)
    {
        BasicUiWidgetTypeTriggerMove_SetSelected(Widget("s1tMove.v3"), Widget(("s1b" + std::to_string(slot) + ".v3").c_str()));
    }
    int Bowler(int slot) { return BasicDbTable_GetElementI(Save("mini game setup"), 2 + slot, 0); }
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

TEST_F(PlayerSlots, EachSetUpTableKeepsItsOwnControllers)
{
    const int r = BasicDbTable_GetElementI(Save("career setup"), 1, 0);
    BasicDbTable_SetElementI(Save("quick play setup"), 8, 0, 3);
    BasicDbTable_SetElementI(Save("league"), 8, r, 2);
    ASSERT_EQ(AssignControllers(nullptr, 0), 1);
    EXPECT_EQ(BasicDbTable_GetElementI(Save("quick play setup"), 8, 0), 1) << "controller 3 is not there";
    EXPECT_EQ(BasicDbTable_GetElementI(Save("league"), 8, r), 1);
    EXPECT_EQ(BasicDbTable_GetElementI(Save("league"), 9, r), 0) << "a computer member stays the computer's";
    EXPECT_EQ(BasicDbTable_GetElementI(Save("quick play setup"), 9, 0), 0);

    ASSERT_EQ(AssignControllers(nullptr, -2), 1);
    EXPECT_EQ(BasicDbTable_GetElementI(Save("league"), 8, r), 0);
    EXPECT_EQ(BasicDbTable_GetElementI(Save("rival"), 8, r), 0);
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
