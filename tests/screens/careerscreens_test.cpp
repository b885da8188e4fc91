// The career's screens in the menus' own description: from the main menu into the career hub, an
// event list walked with the pad and taken with A, the event entered and its standings page shown.
#include <gtest/gtest.h>

#include <string>

#include "platform/input.h"
#include "screens/career.h"
#include "screens/frontend_fixture.h"
#include "screens/frontenddb.h"
#include "screens/scriptfunctions.h"
#include "ui/frameupdate.h"
#include "ui/registry.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/dialogbox.h"
#include "ui/widgets/scrollbox.h"
#include "ui/widgets/triggers.h"

namespace {

const char* const kQuestions[] = {"s20dialog1", "s20dialog3", "s22dialog1", "s22dialog3", "s12dialog1", "s12dialog2"};

class CareerScreens : public FrontEndTest {
protected:
    void SetUp() override
    {
        FrontEndTest::SetUp();
        BasicFn_Clear();
        RegisterScriptFunctions();
        ASSERT_EQ(LoadContent("ui/ui360.xml"), 1);
        env->inputMode = BasicUiInputMode_Normal;
        // The questions only show themselves here (no frames of their own), and count as agreed.
        for (const char* name : kQuestions)
            static_cast<sBasicUiWidgetTypeDialogBox*>(Widget(name)->widgetTypeRef.ptr)->isShowDialog.value = 1;
        r = BasicDbTable_GetElementI(Save("career setup"), 1, 0);
        Frames(2);
    }
    void TearDown() override
    {
        allInput = {};
        BasicFn_Clear();
        FrontEndTest::TearDown();
    }
    void Frames(int n)
    {
        for (int i = 0; i < n; ++i) {
            BasicUi_UpdateEnvironment(env, 1.0f / 30.0f);
            allInput.edges = 0;
        }
    }
    // The question shown put away, as the player's answer would.
    void Answered()
    {
        for (const char* name : kQuestions) Widget(name)->isActive.value = Widget(name)->isRender.value = 0;
        env->inputMode = BasicUiInputMode_Normal;
    }
    // A button pressed for a frame and let go the next, once any question shown is answered.
    void Press(uint16_t bit)
    {
        Answered();
        allInput.buttons = bit;
        allInput.edges = bit;
        Frames(1);
        allInput.buttons = 0;
        allInput.edges = bit;
        Frames(2);
    }
    void Run(const char* name)
    {
        Answered();
        BasicUiWidgetTypeCmdSequence_Run(Widget(name));
        Frames(2);
    }
    int Shown(const char* screen) { return BasicUi_FindScreen(env, screen)->isRender.value; }
    int Funds() { return BasicDbTable_GetElementI(Save("players"), 8, r); }
    std::string CareerText(int row) { return BasicDbTable_GetStrElement(FrontEndTable(nullptr, "ui", "sCareerStrings"), row, 1); }
    int r = 0;
};

}  // namespace

// The pad walks the five slot frames and pages the list; A takes the event shown under the
// selected frame, whatever page is shown.
TEST_F(CareerScreens, TheLeagueListIsWalkedPagedAndTakenWithThePad)
{
    const uint16_t kDown = 0x4000, kUp = 0x2000, kRight = 0x1000, kA = 0x0004;  // A: the UI's copy gives it the accept bit
    Run("go.career");
    EXPECT_EQ(Shown("s12Career"), 1);
    EXPECT_EQ(Shown("s0MainMenu"), 0);
    Run("go.leagues");
    EXPECT_EQ(Shown("s20Leagues"), 1);
    EXPECT_EQ(Shown("s12Career"), 0);

    // Down to the second league, a doubles league: entered, charged, and its team's page shown
    // (the career bowler with the event's computer bowlers: the standings page).
    const int funds = Funds(), fee = BasicDbTable_GetElementI(Game("Leagues"), 10, 1);
    Press(kDown);
    Press(kA);
    EXPECT_EQ(BasicDbTable_GetElementI(Save("league"), 1, r), 1);
    EXPECT_EQ(Funds(), funds - fee);
    Frames(2);
    EXPECT_EQ(Shown("s21League"), 1);
    EXPECT_EQ(Shown("s21Upper"), 1);
    EXPECT_EQ(Shown("s20Leagues"), 0);

    // Back to the list: it opens on the league in progress, and A takes it again without a fee.
    Run("go.leagues");
    sBasicUiWidget* box = Widget("s20sb6");
    EXPECT_EQ(BasicUiWidgetTypeScrollBox_GetSelectedIndex(box), 2);
    EXPECT_EQ(BasicUiWidgetTypeTriggerMove_GetSelected(Widget("s20tMove")), Widget("s20slot2"));
    Press(kA);
    Frames(2);
    EXPECT_EQ(Funds(), funds - fee);
    EXPECT_EQ(Shown("s21League"), 1);

    // The next page holds leagues 5 to 9: the arrow pages, and A on the first frame takes league 5,
    // which is locked: nothing is entered.
    Run("go.leagues");
    Press(kUp);
    Press(kRight);
    Press(kDown);
    EXPECT_EQ(BasicUiWidgetTypeScrollBox_GetSelectedSlot(box), 0);
    EXPECT_EQ(BasicUiWidgetTypeTriggerMove_GetSelected(Widget("s20tMove")), Widget("s20.dn"));
    Press(kA);
    EXPECT_EQ(BasicUiWidgetTypeScrollBox_GetSelectedSlot(box), 5);
    BasicUiWidgetTypeTriggerMove_SetSelected(Widget("s20tMove"), Widget("s20slot1"));
    Frames(1);
    Press(kA);
    EXPECT_EQ(BasicUiWidgetTypeScrollBox_GetSelectedIndex(box), 6);
    EXPECT_EQ(BasicDbTable_GetElementI(Save("league"), 1, r), 1) << "a locked league is not entered";
    EXPECT_EQ(Shown("s20Leagues"), 1);
}

// Before paying, the list's upper screen shows the fee, prizes and kind of the event under the
// selected frame, and the question names the fee it asks for.
TEST_F(CareerScreens, TheEventUnderTheSelectionShowsItsFeeAndPrizesBeforeItIsPaid)
{
    const uint16_t kDown = 0x4000, kA = 0x0004;
    sBasicDbTable* tourns = Game("Tournaments");
    Run("go.tourns");
    Press(kDown);
    Press(kDown);
    const std::string fee = std::to_string(BasicDbTable_GetElementI(tourns, 12, 2));
    EXPECT_EQ(CareerText(kCareerDetailRow), "Entry fee: " + fee);
    EXPECT_EQ(CareerText(kCareerDetailRow + 1), "Prizes: " + std::to_string(BasicDbTable_GetElementI(tourns, 14, 2)) +
                                                   " / " + std::to_string(BasicDbTable_GetElementI(tourns, 15, 2)) +
                                                   " / " + std::to_string(BasicDbTable_GetElementI(tourns, 16, 2)));
    EXPECT_EQ(CareerText(kCareerDetailRow + 2), std::string("Kind: ") + BasicDbTable_GetStrElement(tourns, 2, 7));

    // Back up the list: the first tournament's own details replace them.
    Press(0x2000);
    Press(0x2000);
    EXPECT_EQ(CareerText(kCareerDetailRow), "Entry fee: " + std::to_string(BasicDbTable_GetElementI(tourns, 12, 0)));
    Press(kA);
    EXPECT_NE(CareerText(kCareerAskFeeRow).find(std::to_string(BasicDbTable_GetElementI(tourns, 12, 0))), std::string::npos)
        << CareerText(kCareerAskFeeRow);

    // Entered in the first, a touch on the third asks to give the first up: the question names the
    // third and its fee (agreeing enters it without the fee question), and the upper screen shows
    // the third's details while it is asked, though the pad's selection never walked onto it.
    Run("go.tourns");
    ASSERT_EQ(BasicDbTable_GetElementI(Save("tournament"), 1, r), 0);
    Run("s22.pick02");
    const std::string third = BasicDbTable_GetStrElement(tourns, 2, 1);
    EXPECT_EQ(Widget("s22dialog1")->isRender.value, 1) << "giving up the first is asked";
    EXPECT_NE(CareerText(kCareerAskGiveUpRow).find(third + " (fee " + fee + ")"), std::string::npos)
        << CareerText(kCareerAskGiveUpRow);
    EXPECT_EQ(CareerText(kCareerDetailRow), "Entry fee: " + fee);
    EXPECT_EQ(BasicDbTable_GetElementI(Save("tournament"), 1, r), 2);

    // A rival is played for a prize with no fee.
    Run("go.rivals");
    Frames(2);
    EXPECT_EQ(CareerText(kCareerDetailRow), "No entry fee");
    EXPECT_EQ(CareerText(kCareerDetailRow + 1), "Prize: " + std::to_string(BasicDbTable_GetElementI(Game("Rivals"), 13, 0)));
}

// The hub's league and tournament entries show the current standings, and say so when the career
// has entered no event of that kind rather than showing an empty table.
TEST_F(CareerScreens, TheHubReachesTheCurrentStandingsOrSaysNoneIsEntered)
{
    const uint16_t kA = 0x0004;
    Run("go.career");
    Run("cr.leagueTable");
    EXPECT_EQ(Widget("s12dialog1")->isActive.value, 1);
    EXPECT_EQ(Shown("s21League"), 0);
    Run("cr.tournTable");
    EXPECT_EQ(Widget("s12dialog2")->isActive.value, 1);
    EXPECT_EQ(Shown("s12Career"), 1);

    // Enter the first tournament, a knock-out tree, and the first league; the hub reaches both.
    ASSERT_STREQ(BasicDbTable_GetStrElement(Game("Tournaments"), 0, 7), "tree");
    Run("go.tourns");
    Press(kA);
    ASSERT_EQ(BasicDbTable_GetElementI(Save("tournament"), 1, r), 0);
    Run("go.leagues");
    Press(kA);
    ASSERT_EQ(BasicDbTable_GetElementI(Save("league"), 1, r), 0);
    Run("go.career");
    Run("cr.tournTable");
    EXPECT_EQ(Shown("s23Tree"), 1);
    EXPECT_EQ(Shown("s23Upper"), 1);
    EXPECT_EQ(Shown("s12Career"), 0);
    Run("go.career");
    Run("cr.leagueTable");
    EXPECT_EQ(Shown("s21League"), 1);
    EXPECT_EQ(Widget("s12dialog1")->isActive.value, 0);
}
