// Buttons and anchors loaded from descriptions: the touch rectangle against the display cursor,
// the drawn box with its adjustment, the setters' limits, the table a button's text comes from
// and anchors closing up behind buttons that navigation skips.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "ui/frameupdate.h"
#include "ui/uiload_fixture.h"
#include "db/database.h"
#include "ui/widgets/button.h"
#include "ui/widgets/dbref.h"

namespace {

class BasicUiButtons : public UiLoadTest {
protected:
    void Load(const std::string& widgets, const std::string& head = "")
    {
        ASSERT_EQ(LoadText(head + "<BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\">" + widgets +
                           "</BasicUiScreen></BasicUiDisplay>"),
                  1);
    }
    sBasicUiWidget* W(const char* name) { return BasicUi_FindWidget(env, name); }
    sBasicUiWidgetTypeButton* B(const char* name) { return BasicUiWidgetTypeButton_Get(W(name)); }
    void Cursor(int x0, int y0, int x1, int y1)
    {
        sBasicUiDisplay* d = BasicUi_FindDisplay(env, "d");
        d->cx0 = x0, d->cy0 = y0, d->cx1 = x1, d->cy1 = y1;
    }
};

TEST_F(BasicUiButtons, TouchRectangleIncludesItsEdgesIgnoresTheAdjustmentAndCanBeEmpty)
{
    Load("<BasicUiWidget name=\"b\" typeWidget=\"wtButton\" x=\"10\" y=\"20\" w=\"15\" h=\"10\" "
         "boundsDW=\"2\" boundsDE=\"3\" adjustX=\"-1\"/>"
         "<BasicUiWidget name=\"e\" typeWidget=\"wtButton\" x=\"0\" y=\"0\" w=\"4\" h=\"4\" boundsDN=\"3\" "
         "boundsDS=\"3\"/>"
         "<BasicUiWidget name=\"r\" typeWidget=\"wtRectangle\"/>");
    Cursor(12, 20, 22, 30);  // the left inset edge, then the right inset edge and the bottom
    EXPECT_EQ(BasicUiWidgetTypeButton_IsInside0(W("b")), 1);
    EXPECT_EQ(BasicUiWidgetTypeButton_IsInside1(W("b")), 1);
    Cursor(11, 20, 23, 31);
    EXPECT_EQ(BasicUiWidgetTypeButton_IsInside0(W("b")), 0);
    EXPECT_EQ(BasicUiWidgetTypeButton_IsInside1(W("b")), 0);
    Cursor(2, 2, 2, 2);
    EXPECT_EQ(BasicUiWidgetTypeButton_IsInside1(W("e")), 0);
    EXPECT_EQ(BasicUiWidgetTypeButton_IsInside1(W("r")), 0);
    int l, t, r, bo;
    GetExtents(W("b"), &l, &t, &r, &bo);  // w 15, adjust -1: shifted by -7, not -8
    EXPECT_EQ(l, 3);
    EXPECT_EQ(r, 18);
    EXPECT_EQ(t, 20);
    GetExtents(W("r"), &l, &t, &r, &bo);
    EXPECT_EQ(l + t + r + bo, 0);
}

TEST_F(BasicUiButtons, SettersClampModulationAndTakeOnlyBitmapsAndAvailabilityFollowsSkipable)
{
    Load("<BasicUiWidget name=\"b\" typeWidget=\"wtButton\" imageID=\"5\"/>"
         "<BasicUiWidget name=\"s\" typeWidget=\"wtButton\" skipable=\"1\"/>"
         "<BasicUiWidget name=\"r\" typeWidget=\"wtRectangle\"/>");
    BasicUiWidgetTypeButton_SetColorModulation(W("b"), 200, 0, 127);
    EXPECT_EQ(B("b")->mr.value, 127);
    EXPECT_EQ(B("b")->mg.value, 0);
    EXPECT_EQ(B("b")->mb.value, 127);
    BasicUiWidgetTypeButton_SetImage(W("b"), 999999);  // no such bitmap
    EXPECT_EQ(B("b")->resourceID.value, 5);
    EXPECT_EQ(BasicUiWidgetTypeButton_SetColorModulation(W("r"), 1, 1, 1), 1);
    EXPECT_EQ(BasicUiWidgetTypeButton_IsAvailable(W("b"), 1), 1);
    EXPECT_EQ(BasicUiWidgetTypeButton_IsAvailable(W("s"), 0), 0);
    EXPECT_EQ(BasicUiWidgetTypeButton_IsAvailable(W("r"), 1), 1);
    EXPECT_EQ(BasicUiWidgetTypeButton_IsAvailable(nullptr, 1), 1);
    EXPECT_EQ(BasicUiWidgetTypeButton_GetLockableIndex(W("b")), -1);
    EXPECT_EQ(BasicUiWidgetTypeButton_GetLockableIndex(W("r")), 0);
}

TEST_F(BasicUiButtons, TextTableIsFoundByNameAndKeptWhenTheNameStopsResolving)
{
    std::ofstream(scratch + "/t.db.xml")
        << "<BasicDb name=\"t\" tableDefs=\"1\" tables=\"1\"><BasicDbTableDef name=\"r\" columns=\"1\">"
           "<BasicDbTableColumnDef name=\"a\" type=\"int\" count=\"1\"/></BasicDbTableDef>"
           "<BasicDbTable name=\"rows\" def=\"r\" rows=\"1\">3,</BasicDbTable></BasicDb>";
    Load("<BasicUiWidget name=\"b\" typeWidget=\"wtButton\" hasDbTxt=\"1\" dbNm=\"t\" dbTblNm=\"rows\"/>",
         "<BasicDbFile filename=\"t.db.xml\"/>");
    BasicUi_UpdateEnvironment(env, 1.0f / 30.0f);
    sBasicDbTable* found = B("b")->internalDbTable;
    ASSERT_NE(found, nullptr);
    static char gone[] = "gone";
    char* kept = B("b")->dbName;
    B("b")->dbName = gone;
    BasicUi_UpdateEnvironment(env, 1.0f / 30.0f);
    EXPECT_EQ(B("b")->internalDbTable, found);
    B("b")->dbName = kept;
}

TEST_F(BasicUiButtons, AnchorsWalkPastSkipableButtonsAndPreferNorthAndWest)
{
    Load("<BasicUiWidget name=\"top\" typeWidget=\"wtButton\" x=\"100\" y=\"10\" w=\"40\" h=\"20\"/>"
         "<BasicUiWidget name=\"mid\" typeWidget=\"wtButton\" x=\"100\" y=\"40\" w=\"40\" h=\"20\" skipable=\"1\" "
         "buttonN=\"top\"/>"
         "<BasicUiWidget name=\"low\" typeWidget=\"wtButton\" x=\"0\" y=\"0\" w=\"30\" h=\"20\" buttonN=\"mid\"/>"
         "<BasicUiWidget name=\"a\" typeWidget=\"anchor\" button=\"low\" anchorN=\"mid\" anchorS=\"top\" "
         "anchorW=\"top\" anchorE=\"mid\" offX=\"2\" offY=\"3\"/>");
    BasicUi_UpdateEnvironment(env, 1.0f / 30.0f);
    EXPECT_EQ(B("low")->y.value, 10 + 20 + 3);       // under "top": "mid" is skipped
    EXPECT_EQ(B("low")->x.value, 140 + 15 + 2);      // right of "top", by half its own width
}

// Two tables: "slots" holds a row number of "items"; each item has a status string and a count.
TEST_F(BasicUiButtons, ReferencesReadThroughASecondTableAndLockButtonsByStatusCharacters)
{
    std::ofstream(scratch + "/t.db.xml")
        << "<BasicDb name=\"t\" tableDefs=\"2\" tables=\"2\">"
           "<BasicDbTableDef name=\"sd\" columns=\"1\"><BasicDbTableColumnDef name=\"i\" type=\"int\" "
           "count=\"1\"/></BasicDbTableDef>"
           "<BasicDbTableDef name=\"id\" columns=\"2\"><BasicDbTableColumnDef name=\"st\" type=\"string\" "
           "count=\"4\"/><BasicDbTableColumnDef name=\"n\" type=\"int\" count=\"1\"/></BasicDbTableDef>"
           "<BasicDbTable name=\"slots\" def=\"sd\" rows=\"1\"/><BasicDbTable name=\"items\" def=\"id\" "
           "rows=\"2\"/></BasicDb>";
    Load("<BasicUiWidget name=\"st\" typeWidget=\"dbRef\" db.Nm=\"t\" db.tblNm=\"slots\" hasIDb=\"1\" "
         "idb.Nm=\"t\" idb.tblNm=\"items\" idb.column=\"0\" isStatusRef=\"1\"/>"
         "<BasicUiWidget name=\"n\" typeWidget=\"dbRef\" db.Nm=\"t\" db.tblNm=\"slots\" hasIDb=\"1\" "
         "idb.Nm=\"t\" idb.tblNm=\"items\" idb.column=\"1\"/>"
         "<BasicUiWidget name=\"b\" typeWidget=\"wtButton\" lockedDb=\"st\" lockedElement=\"1\" hasIDbRow=\"1\" "
         "idbRowRef=\"n\"/>"
         "<BasicUiWidget name=\"gone\" typeWidget=\"dbRef\" db.Nm=\"none\" db.tblNm=\"x\"/>",
         "<BasicDbFile filename=\"t.db.xml\"/>");
    sBasicDb* db = BasicUi_FindDb(env, "t");
    sBasicDbTable* slots = BasicDbTable_Find(db, "slots");
    sBasicDbTable* items = BasicDbTable_Find(db, "items");
    BasicDbTable_SetElementI(slots, 0, 0, 1);  // the slot shows item 1
    BasicDbTable_SetElementI(items, 1, 1, 7);
    BasicDbTable_SetElementCN(items, 0, 1, 0, 'U');
    BasicDbTable_SetElementCN(items, 0, 1, 1, 'L');
    EXPECT_EQ(BasicUiWidgetTypeDbRef_GetDbInt(W("n")), 7);
    EXPECT_EQ(BasicUiWidgetTypeDbRef_IsLocked(W("st"), 1), 1);
    EXPECT_EQ(BasicUiWidgetTypeDbRef_IsLocked(W("st"), 0), 0);
    EXPECT_EQ(BasicUiWidgetTypeButton_IsAvailable(W("b"), 0), 1);
    EXPECT_EQ(BasicUiWidgetTypeButton_IsAvailable(W("b"), 1), 0);
    BasicDbTable_SetElementCN(items, 0, 1, 1, 'Z');  // shown locked, but navigable
    EXPECT_EQ(BasicUiWidgetTypeButton_IsAvailable(W("b"), 1), 1);
    BasicUi_UpdateEnvironment(env, 1.0f / 30.0f);
    EXPECT_EQ(B("b")->row.value, 7);
    EXPECT_EQ(BasicUiWidgetTypeDbRef_GetDbInt(W("gone")), 0);
    EXPECT_EQ(BasicUiWidgetTypeDbRef_Table(W("b")), nullptr);
}

}  // namespace
