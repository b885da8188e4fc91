// Message boxes pointed at other cells at run time and drawn (title, amount, and a message that
// stays on its panel), and the hint's clock: running only while its region is -1, stopping past the
// last frame's time and starting again when the region changes.
#include <gtest/gtest.h>

#include <fstream>
#include <numeric>
#include <set>
#include <string>
#include <vector>

#include "db/database.h"
#include "lib/resourceload.h"
#include "lib/screenapi.h"
#include "ui/frameupdate.h"
#include "ui/uiload_fixture.h"
#include "ui/widgets/dbref.h"
#include "ui/widgets/msgbox.h"

namespace {

class BasicUiMsgBox : public UiLoadTest {
protected:
    void Load()
    {
        ASSERT_EQ(LoadText("<BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\">"
                           "<BasicUiWidget name=\"m\" typeWidget=\"wtMsgBox\"/>"
                           "<BasicUiWidget name=\"r\" typeWidget=\"dbRef\"/>"
                           "<BasicUiWidget name=\"h\" typeWidget=\"mcHint\" region=\"-1\" fadeInTimePress=\"1.0\"/>"
                           "</BasicUiScreen></BasicUiDisplay>"),
                  1);
    }
    template <class T>
    T* R(const char* name)
    {
        return static_cast<T*>(BasicUi_FindWidget(env, name)->widgetTypeRef.ptr);
    }
};

TEST_F(BasicUiMsgBox, SettersPointTheBoxAtAReferenceAndItsCell)
{
    Load();
    sBasicUiWidget* m = BasicUi_FindWidget(env, "m");
    sBasicUiWidget* r = BasicUi_FindWidget(env, "r");
    BasicUiWidgetTypeMsgBox_SetMsg(m, r, 4, 2);
    BasicUiWidgetTypeMsgBox_SetCurrency(m, r, 7, 1);
    EXPECT_EQ(R<sBasicUiWidgetTypeMsgBox>("m")->msgDbRef, r);
    EXPECT_EQ(R<sBasicUiWidgetTypeMsgBox>("m")->msgDb.row.value, 4);
    EXPECT_EQ(R<sBasicUiWidgetTypeDbRef>("r")->db.row.value, 7);
    EXPECT_EQ(R<sBasicUiWidgetTypeMsgBox>("m")->cFontAlignX.value, 2);
    BasicUiWidgetTypeMsgBox_SetTitle(r, m, 1, 1);  // not a message box: nothing
    EXPECT_EQ(R<sBasicUiWidgetTypeDbRef>("r")->db.column.value, 1);
}

TEST_F(BasicUiMsgBox, HintClockRunsWhileItsRegionIsMinusOneAndStopsPastTheLastFrame)
{
    Load();
    auto* h = R<sBasicUiWidgetTypeMcHint>("h");
    for (int i = 0; i < 10; ++i) BasicUi_UpdateEnvironment(env, 0.25f);
    EXPECT_FLOAT_EQ(h->fadeInCounter, 1.25f);
    h->region.value = 0;
    BasicUi_UpdateEnvironment(env, 0.25f);
    EXPECT_FLOAT_EQ(h->fadeInCounter, 0.0f);
}

class GlUiMsgBox : public BasicUiMsgBox {};

// The title is its cell's text at the flourish's corner plus its offset; the amount is "$" and the
// integer, right-aligned on its offset; the message wraps at spaces, tabs and line ends, keeps
// every word, and no line leaves the panel (x 40-240, y 40-140, margins of 8) whatever its wrap
// width says, a word wider than the panel being broken; a box without a panel wraps its message
// to its own width.
TEST_F(GlUiMsgBox, DrawsTitleAmountAndAMessageThatStaysOnItsPanel)
{
    std::ofstream(scratch + "/t.db.xml")
        << "<BasicDb name=\"t\" tableDefs=\"1\" tables=\"1\"><BasicDbTableDef name=\"r\" columns=\"2\">"
           "<BasicDbTableColumnDef name=\"s\" type=\"string\" count=\"200\"/>"
           "<BasicDbTableColumnDef name=\"n\" type=\"int\" count=\"1\"/></BasicDbTableDef>"
           "<BasicDbTable name=\"rows\" def=\"r\" rows=\"5\"/></BasicDb>";
    ASSERT_EQ(LoadText("<BasicDbFile filename=\"t.db.xml\"/><BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\">"
                       "<BasicUiWidget name=\"r\" typeWidget=\"dbRef\" db.Nm=\"t\" db.tblNm=\"rows\"/>"
                       "<BasicUiWidget name=\"m\" typeWidget=\"wtMsgBox\" x=\"40\" y=\"40\" w=\"200\" h=\"100\" "
                       "fx=\"30\" fy=\"30\" tFontID=\"3077\" tFontOffX=\"12\" tFontOffY=\"4\" titleDb.Nm=\"t\" "
                       "titleDb.tblNm=\"rows\" mFontID=\"3077\" mFontOffX=\"8\" mFontOffY=\"24\" mFontOffW=\"400\" "
                       "msgDb.Nm=\"t\" msgDb.tblNm=\"rows\" cFontID=\"3077\" cFontOffX=\"190\" cFontOffY=\"4\"/>"
                       "<BasicUiWidget name=\"bare\" typeWidget=\"wtMsgBox\" x=\"40\" y=\"40\" mFontID=\"3077\" "
                       "mFontOffW=\"100\" msgDb.Nm=\"t\" msgDb.tblNm=\"rows\" msgDb.row=\"1\"/>"
                       "<BasicUiWidget name=\"wide\" typeWidget=\"wtMsgBox\" x=\"40\" y=\"40\" w=\"200\" "
                       "mFontID=\"3077\" msgDb.Nm=\"t\" msgDb.tblNm=\"rows\" msgDb.row=\"1\"/>"
                       "<BasicUiWidget name=\"tall\" typeWidget=\"wtMsgBox\" x=\"40\" y=\"40\" h=\"100\" "
                       "mFontID=\"3077\" mFontOffW=\"100\" msgDb.Nm=\"t\" msgDb.tblNm=\"rows\" msgDb.row=\"2\"/>"
                       "</BasicUiScreen></BasicUiDisplay>"),
              1);
    StartRenderer();
    ASSERT_EQ(ScreenInitializeAPI(), 1);
    ASSERT_EQ(LoadResourceRange1x1(3050, 3084), 1);
    sBasicDbTable* rows = BasicDbTable_Find(BasicUi_FindDb(env, "t"), "rows");
    auto put = [&](int row, const std::string& text) {
        for (size_t i = 0; i <= text.size(); ++i) BasicDbTable_SetElementCN(rows, 0, row, int(i), i < text.size() ? text[i] : 0);
    };
    std::string many;
    for (int i = 0; i < 40; ++i) many += "word" + std::to_string(i) + " ";
    put(0, "Pro Shop");
    put(1, "First message.\r\nSecond line\tand tab.");
    put(2, many);
    const std::string wide = "Supercalifragilisticexpialidocious";
    put(4, wide);
    BasicDbTable_SetElementI(rows, 1, 3, 1200);
    sBasicUiWidget* m = BasicUi_FindWidget(env, "m");
    BasicUiWidgetTypeMsgBox_SetCurrency(m, BasicUi_FindWidget(env, "r"), 3, 1);

    struct Case {
        int row;
        std::vector<std::string> words;  // empty: only bounded
    } cases[] = {{1, {"First", "message.", "Second", "line", "and", "tab."}}, {2, {}}, {4, {}}};
    for (const Case& c : cases) {
        BasicUiWidgetTypeMsgBox_SetMsg(m, nullptr, c.row, 0);
        std::vector<DrawnText> drawn = DrawWidgetTexts(m);
        ASSERT_GE(drawn.size(), 3u) << c.row;
        EXPECT_EQ(drawn.front().text, "Pro Shop");
        EXPECT_EQ(drawn.front().x, 42);
        EXPECT_EQ(drawn.back().text, "$1200");
        EXPECT_NEAR(drawn.back().x + drawn.back().w, 230, 2);
        std::vector<std::string> words;
        for (size_t i = 1; i + 1 < drawn.size(); ++i) {
            const DrawnText& t = drawn[i];
            words.push_back(t.text);
            EXPECT_GE(t.x, 48) << t.text;
            EXPECT_LE(t.x + t.w, 232) << t.text;
            EXPECT_LE(t.y + t.h, 140) << t.text;
        }
        if (!c.words.empty()) EXPECT_EQ(words, c.words);
        else if (c.row == 4) EXPECT_EQ(std::accumulate(words.begin(), words.end(), std::string()), wide);
        else EXPECT_GT(words.size(), 6u);
    }
    std::vector<DrawnText> bare = DrawWidgetTexts(BasicUi_FindWidget(env, "bare"));
    EXPECT_GT(bare.size(), 2u);
    for (const DrawnText& t : bare) EXPECT_LE(t.x + t.w, 140) << t.text;
    // A size of 0 on one axis is no panel on that axis only: a box 200 wide without a height wraps
    // to its width and runs down past its (absent) foot; one 100 high without a width wraps to its
    // own width, several words a line, and stops at its foot.
    std::vector<DrawnText> noFoot = DrawWidgetTexts(BasicUi_FindWidget(env, "wide"));
    EXPECT_EQ(noFoot.size(), 6u);
    for (const DrawnText& t : noFoot) EXPECT_LE(t.x + t.w, 240) << t.text;
    std::vector<DrawnText> tall = DrawWidgetTexts(BasicUi_FindWidget(env, "tall"));
    std::set<int> rowsDrawn;
    for (const DrawnText& t : tall) {
        rowsDrawn.insert(t.y);
        EXPECT_LE(t.x + t.w, 140) << t.text;
        EXPECT_LE(t.y + t.h, 140) << t.text;
    }
    EXPECT_LT(rowsDrawn.size(), tall.size() / 2 + 1);
    EXPECT_GT(tall.size(), 4u);
}

}  // namespace
