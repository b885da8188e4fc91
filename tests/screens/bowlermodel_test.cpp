// The bowler preview's dressing: the 3D character takes the shown bowler's body, garments and hand
// from the "players" row and the game database's item tables, and a bowler without a hat has
// none (and its hair is not cut for one).
#include "screens/bowlerpreview.h"

#include <gtest/gtest.h>

#include "screens/frontend_fixture.h"
#include "ui/widgets/skeleton3d.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

namespace {

class BowlerModel : public FrontEndTest {
protected:
    void SetUp() override
    {
        FrontEndTest::SetUp();
        ASSERT_EQ(LoadText("<BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\">"
                           "<BasicUiWidget name=\"player.model\" typeWidget=\"3DSkeleton\"/>"
                           "</BasicUiScreen></BasicUiDisplay>"),
                  1);
        sk = BasicUiWidget_Record<sBasicUiWidgetType3DSkeleton>(Widget("player.model"), EBasicUiWidgetType3DSkeleton);
        ASSERT_NE(sk, nullptr);
    }
    // Dresses the character as bowler `row`; 1 when there was a bowler to dress it as.
    int Show(int row, int leftHanded)
    {
        BasicDbTable_SetElementI(Save("player view"), 1, 0, row);
        BasicDbTable_SetElementI(Save("player view"), 2, 0, leftHanded);
        return SetupPlayerModel(Widget("player.model"), 0);
    }
    // The first bowler whose hat column is (or is not) empty; -1 when none is.
    int BowlerWithHat(bool hat)
    {
        sBasicDbTable* players = Save("players");
        for (int row = 1; row < players->rows; ++row)
            if ((BasicDbTable_GetElementI(players, 14, row, -1) >= 0) == hat) return row;
        return -1;
    }
    int P(int column, int row) { return BasicDbTable_GetElementI(Save("players"), column, row, -1); }
    sBasicUiWidgetType3DSkeleton* sk = nullptr;
};

TEST_F(BowlerModel, TheCharacterWearsTheShownBowlersBodyAndGarments)
{
    const int r = BowlerWithHat(true);
    ASSERT_GE(r, 0);
    ASSERT_EQ(Show(r, 1), 1);
    const int b = P(10, r);
    sBasicDbTable* bodies = Game("Bodys");
    const bool female = BasicDbTable_GetElementI(bodies, 2, b, 0) != 0;
    EXPECT_EQ(sk->hFlip.value, 1);
    EXPECT_EQ(sk->bodyID.value, BasicDbTable_GetElementI(bodies, 4, b));
    EXPECT_EQ(sk->animID.value, BasicDbTable_GetElementI(bodies, 14, b));
    EXPECT_EQ(sk->shirt.id.value, BasicDbTable_GetElementI(bodies, 8, b));
    EXPECT_EQ(sk->shirt.offset.value, BasicDbTable_GetElementI(Game("Shirts"), 9, P(12, r)));
    EXPECT_EQ(sk->pants.offset.value, BasicDbTable_GetElementI(Game(female ? "Skirts" : "Pants"), 9, P(11, r)));
    EXPECT_EQ(sk->glove.offset.value, P(16, r) < 0 ? -1 : BasicDbTable_GetElementI(Game("GlovesL"), 9, P(16, r)))
        << "the left hand's glove for a left-handed bowler";
    sBasicDbTable* hats = Game(female ? "HatsF" : "HatsM");
    EXPECT_EQ(sk->hat.offset.value, BasicDbTable_GetElementI(hats, 9, P(14, r)));
    int h = BasicDbTable_GetElementI(hats, 14, P(14, r), 0);
    h = h < 0 ? 0 : (h > 2 ? 2 : h);
    EXPECT_EQ(sk->hatStart.value, BasicDbTable_GetElementIN(bodies, 16, b, h, 0));

    const int bare = BowlerWithHat(false);
    ASSERT_GE(bare, 0);
    ASSERT_EQ(Show(bare, 0), 1);
    EXPECT_EQ(sk->hFlip.value, 0);
    EXPECT_EQ(sk->hat.offset.value, -1);
    EXPECT_EQ(sk->hatStart.value, 0);
    EXPECT_EQ(sk->hatEnd.value, -1);
}

TEST_F(BowlerModel, NoBowlerToShowLeavesTheCharacterAsItWas)
{
    sk->bodyID.value = 77;
    EXPECT_EQ(Show(-1, 0), 0);
    EXPECT_EQ(sk->bodyID.value, 77) << "no bowler to show";
    EXPECT_EQ(Show(Save("players")->rows, 0), 0);
    EXPECT_EQ(sk->bodyID.value, 77) << "a row past the table";
}

}  // namespace
