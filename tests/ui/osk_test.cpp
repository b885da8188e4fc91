// The on-screen keyboard typed by stylus: key repeat, shift, the text limits, the input lock, and
// the text-input command that stores the name in a table cell.
#include "ui/osk.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "db/database.h"
#include "platform/input.h"
#include "ui/frameupdate.h"
#include "ui/uiload_fixture.h"
#include "ui/widgets/commands.h"

namespace {

// A keyboard without a font (none is loaded here): its keys still exist, laid out with fixed metrics.
class BasicUiKeyboard : public UiLoadTest {
protected:
    void SetUp() override
    {
        UiLoadTest::SetUp();
        saved = controllers[0].controller;
        controllers[0].controller = &pad;
    }
    void TearDown() override
    {
        controllers[0].controller = saved;
        UiLoadTest::TearDown();
    }
    // The stylus on the centre of the first key with this code, or lifted (code 0).
    void Touch(int code)
    {
        sBasicUiOSK* k = BasicUiOSK_Get();
        pad.touchData = {0, 0, 0};
        for (int i = 0; code && i < k->keys; ++i)
            if (k->key[i] == code) {
                pad.touchData = {k->keyX[i] + k->keyW[i] / 2 - 400, k->keyY[i] + k->keyH[i] / 2 - 60, 1};
                return;
            }
    }
    void Frames(int n, float dt = 0.1f)
    {
        for (int i = 0; i < n; ++i) BasicUi_UpdateEnvironment(env, dt);
    }
    // Taps each character: one frame down, one frame up.
    void Type(const std::string& keys)
    {
        for (char c : keys) {
            Touch(c);
            Frames(1);
            Touch(0);
            Frames(1);
        }
    }
    DS3_controller pad{};
    DS3_controller* saved = nullptr;
};

const std::string kShift(1, char(kBasicUiOskShift)), kDel(1, char(kBasicUiOskDel)), kEnter(1, char(kBasicUiOskEnter)),
    kEsc(1, char(kBasicUiOskEsc));

TEST_F(BasicUiKeyboard, KeysRepeatEverySecondShiftLastsOneLetterAndTheLimitHolds)
{
    BasicUiEnvironment_SetInputMode(env, BasicUiInputMode_Normal);
    BasicUiOSK_Open(env, "Name", 414, 80, -1, 4, 8, BasicUiInputMode_Normal);
    EXPECT_EQ(BasicUiEnvironment_GetInputMode(env), BasicUiInputMode_None);
    EXPECT_GE(BasicUiOSK_Get()->keys, 40);  // even without a font
    Type(kDel);  // nothing to delete
    Touch('a');
    Frames(10);  // held for 0.9 s after the first frame: typed once
    EXPECT_STREQ(BasicUiOSK_Result(), "a");
    Frames(1);
    EXPECT_STREQ(BasicUiOSK_Result(), "aa");
    Type(kShift + "bc" + kDel + "cdefghij");
    EXPECT_STREQ(BasicUiOSK_Result(), "aaBcdefg");  // eight at most
    Type(kEnter);
    EXPECT_EQ(BasicUiOSK_Opened(env), 0);
    Frames(8);  // still locked, 0.9 s after ENTER
    EXPECT_EQ(BasicUiEnvironment_GetInputMode(env), BasicUiInputMode_None);
    Frames(2);
    EXPECT_EQ(BasicUiEnvironment_GetInputMode(env), BasicUiInputMode_Normal);
}

TEST_F(BasicUiKeyboard, TheTextStaysInsideItsBufferWhateverTheLimit)
{
    sBasicUiOSK osk;
    BasicUi_CreateOSK(&osk, "", basicUiOskLayout, 0, 0, 256, -1, -1, -1, 4, 1.0f);
    osk.pressX = osk.keyX[1] + 1;  // '1'
    osk.pressY = osk.keyY[1] + 1;
    osk.pressDown = 1;
    for (int i = 0; i < 300; ++i) BasicUi_UpdateOSK(&osk, 1.0f);
    EXPECT_EQ(osk.bufferPos, 255);
    EXPECT_EQ(osk.buffer[255], 0);
    BasicUi_CreateOSK(&osk, "", basicUiOskLayout, 0, 0, -3, -1, -1, -1, 4, 1.0f);
    osk.pressX = osk.keyX[1] + 1;
    osk.pressY = osk.keyY[1] + 1;
    osk.pressDown = 1;
    BasicUi_UpdateOSK(&osk, 1.0f);
    EXPECT_EQ(osk.bufferPos, 0);
    EXPECT_STREQ(osk.buffer, "");
}

TEST_F(BasicUiKeyboard, EveryKeyIsOnTheLowerScreenTheGapsShrinkingWhereTheyMust)
{
    // Without a font the labels are reckoned wide (ESC 36 pixels, DEL 60): at trim 4 the top row
    // would cross the lower screen's right edge. A trim that fits is kept.
    const struct {
        int trim, laidOutWith;
    } cases[] = {{4, 2}, {1, 1}};
    for (const auto& c : cases) {
        sBasicUiOSK osk;
        BasicUi_CreateOSK(&osk, "", basicUiOskLayout, 414, 80, 8, -1, -1, -1, c.trim, 1.0f);
        EXPECT_EQ(osk.keyTrim, c.laidOutWith) << c.trim;
        for (int i = 0; i < osk.keys; ++i) {
            EXPECT_LE(osk.keyX[i] + osk.keyW[i], 400 + 319) << c.trim << " key " << i;
            EXPECT_LE(osk.keyY[i] + osk.keyH[i], 60 + 239) << c.trim << " key " << i;
        }
    }
}

TEST_F(BasicUiKeyboard, TheTextInputCommandStoresANameOrStopsItsScriptWhenCancelled)
{
    std::ofstream(scratch + "/n.db.xml")
        << "<BasicDb name=\"n\" tableDefs=\"1\" tables=\"1\"><BasicDbTableDef name=\"p\" columns=\"2\">"
           "<BasicDbTableColumnDef name=\"name\" type=\"str\" count=\"8\"/>"
           "<BasicDbTableColumnDef name=\"n\" type=\"int\" count=\"1\"/></BasicDbTableDef>"
           "<BasicDbTable name=\"players\" def=\"p\" rows=\"1\">\"Ann\", 0,</BasicDbTable></BasicDb>";
    std::string in = "typeWidget=\"cmdTextIn\" dbNm=\"n\" dbTblNm=\"players\" column=\"0\" row=\"0\" "
                     "dbTitle.Nm=\"n\" dbTitle.tblNm=\"players\" dbTitle.column=\"0\" ";
    ASSERT_EQ(LoadText("<BasicDbFile filename=\"n.db.xml\"/><BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\">"
                       "<BasicUiWidget name=\"ask\" typeWidget=\"cmdSeq\"><BasicUiWidget name=\"in\" " + in +
                       "limit=\"4\"/><BasicUiWidget name=\"after\" typeWidget=\"cmdEditDb\" dbNm=\"n\" "
                       "dbTblNm=\"players\" column=\"1\" isSet=\"1\" value=\"1\"/></BasicUiWidget>"
                       "<BasicUiWidget name=\"none\" typeWidget=\"cmdSeq\"><BasicUiWidget name=\"in0\" " + in +
                       "limit=\"0\"/></BasicUiWidget></BasicUiScreen></BasicUiDisplay>"),
              1);
    sBasicDbTable* t = BasicDbTable_Find(BasicUi_FindDb(env, "n"), "players");
    sBasicUiWidget* ask = BasicUi_FindWidget(env, "ask");
    BasicUiEnvironment_SetInputMode(env, BasicUiInputMode_Normal);
    BasicUiWidgetTypeCmdSequence_Run(ask);
    Frames(1);
    EXPECT_EQ(BasicUiOSK_Opened(env), 1);
    EXPECT_STREQ(BasicUiOSK_Get()->title, "Ann");  // the title cell
    Type(kShift + "boby" + kEnter);
    Frames(1);
    EXPECT_STREQ(BasicDbTable_GetStrElement(t, 0, 0), "Bob");  // the limit of 4 keeps room for the end
    EXPECT_EQ(BasicDbTable_GetElementI(t, 1, 0), 1);
    EXPECT_EQ(BasicUiWidgetTypeCmdSequence_IsRunning(ask), 0);

    Frames(20);
    BasicDbTable_SetElementI(t, 1, 0, 0);
    BasicUiWidgetTypeCmdSequence_Run(ask);
    Frames(1);
    Type("x" + kEsc);
    Frames(1);
    EXPECT_STREQ(BasicDbTable_GetStrElement(t, 0, 0), "Bob");
    EXPECT_EQ(BasicDbTable_GetElementI(t, 1, 0), 0);  // the script stopped at the keyboard
    EXPECT_EQ(BasicUiWidgetTypeCmdSequence_IsRunning(ask), 0);

    Frames(20);
    BasicUiWidgetTypeCmdSequence_Run(BasicUi_FindWidget(env, "none"));
    Frames(1);
    EXPECT_EQ(BasicUiOSK_Opened(env), 0);  // no room for text: no keyboard, the script stops
    EXPECT_EQ(BasicUiWidgetTypeCmdSequence_IsRunning(BasicUi_FindWidget(env, "none")), 0);
}

}  // namespace
