// The save database as the menus read it: the bowler preview's change check against a save database holding the bowler to show and the
// bowlers' looks: a forgotten bowler always reloads, a change of shirt reloads once, and without a
// playing clip nothing else does; a change of volume is seen once.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "db/database.h"
#include "screens/bowlerpreview.h"
#include "screens/mainmenu.h"
#include "ui/uiload_fixture.h"

namespace {

class BowlerPreview : public UiLoadTest {
protected:
    void SetUp() override
    {
        UiLoadTest::SetUp();
        dbSave = nullptr;
        // "players": a name, then columns 1-18 of numbers (10 the body, 11-17 the items worn).
        std::string columns, rows;
        for (int c = 1; c <= 18; ++c) columns += "<BasicDbTableColumnDef name=\"c" + std::to_string(c) + "\" type=\"int\" count=\"1\" />";
        for (int r = 0; r < 2; ++r) {
            rows += "\"p" + std::to_string(r) + "\"";
            for (int c = 1; c <= 18; ++c) rows += ", " + std::to_string(r * 100 + c);
            rows += ",\n";
        }
        std::ofstream(scratch + "/save.db.xml")
            << "<BasicDb name=\"save\" tableDefs=\"3\" tables=\"3\">"
               "<BasicDbTableDef name=\"view\" columns=\"3\"><BasicDbTableColumnDef name=\"k\" type=\"str\" count=\"8\" />"
               "<BasicDbTableColumnDef name=\"bowler\" type=\"int\" count=\"1\" />"
               "<BasicDbTableColumnDef name=\"hand\" type=\"int\" count=\"1\" /></BasicDbTableDef>"
               "<BasicDbTableDef name=\"player\" columns=\"19\"><BasicDbTableColumnDef name=\"name\" type=\"str\" count=\"8\" />"
            << columns
            << "</BasicDbTableDef>"
               "<BasicDbTableDef name=\"option\" columns=\"5\"><BasicDbTableColumnDef name=\"k\" type=\"str\" count=\"8\" />"
               "<BasicDbTableColumnDef name=\"music\" type=\"int\" count=\"1\" /><BasicDbTableColumnDef name=\"fx\" type=\"int\" count=\"1\" />"
               "<BasicDbTableColumnDef name=\"voice\" type=\"int\" count=\"1\" /><BasicDbTableColumnDef name=\"mode\" type=\"int\" count=\"1\" /></BasicDbTableDef>"
               "<BasicDbTable name=\"options\" def=\"option\" rows=\"1\">\"o\", 80, 70, 60, 0,\n</BasicDbTable>"
               "<BasicDbTable name=\"player view\" def=\"view\" rows=\"2\">\"show\", 1, 0,\n\"shown\", -1, 0,\n</BasicDbTable>"
               "<BasicDbTable name=\"players\" def=\"player\" rows=\"2\">"
            << rows << "</BasicDbTable></BasicDb>\n";
        ASSERT_EQ(LoadText("<BasicDbFile filename=\"save.db.xml\" />"), 1);
        db = BasicUi_FindDb(env, "save");
        ASSERT_NE(db, nullptr);
    }
    sBasicDbTable* T(const char* name) { return BasicDbTable_Find(db, name); }
    sBasicDb* db = nullptr;
};

TEST_F(BowlerPreview, AForgottenBowlerReloadsAndAChangedShirtReloadsOnce)
{
    ASSERT_NE(T("player view"), nullptr);
    ASSERT_NE(T("players"), nullptr);
    EXPECT_EQ(CharacterChanged(nullptr, 0), 1) << "nothing shown yet";
    EXPECT_EQ(BasicDbTable_GetElementI(T("player view"), 1, 1), 1) << "the bowler shown is remembered";
    EXPECT_EQ(CharacterChanged(nullptr, 0), 0) << "same bowler, same looks, no clip playing";

    BasicDbTable_SetElementI(T("players"), 13, 1, 7);  // another shirt
    EXPECT_EQ(CharacterChanged(nullptr, 0), 1);
    EXPECT_EQ(CharacterChanged(nullptr, 0), 0);

    BasicDbTable_SetElementI(T("player view"), 2, 0, 1);  // the other hand
    EXPECT_EQ(CharacterChanged(nullptr, 0), 1);
    EXPECT_EQ(CharacterChanged(nullptr, 0), 0);

    ResetCharacterChanged(nullptr, 0);
    EXPECT_EQ(BasicDbTable_GetElementI(T("player view"), 1, 1), -1);
    EXPECT_EQ(CharacterChanged(nullptr, 0), 1);
    // A bowler row outside the table is reported as a change and reads nothing.
    BasicDbTable_SetElementI(T("player view"), 1, 0, 9);
    EXPECT_EQ(CharacterChanged(nullptr, 0), 1);
}

TEST_F(BowlerPreview, AChangeOfVolumeIsReportedOnceAndTheControlModeIsNotAVolume)
{
    EXPECT_EQ(GameOptionsHaveChanged(), 0) << "no save database registered yet";
    dbSave = db;
    GameOptionsHaveChanged();
    EXPECT_EQ(GameOptionsHaveChanged(), 0);
    BasicDbTable_SetElementI(T("options"), 4, 0, 1);
    EXPECT_EQ(GameOptionsHaveChanged(), 0);
    BasicDbTable_SetElementI(T("options"), 3, 0, 50);
    EXPECT_EQ(GameOptionsHaveChanged(), 1);
    EXPECT_EQ(GameOptionsHaveChanged(), 0);
    dbSave = nullptr;
}

}  // namespace
