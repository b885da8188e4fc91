// Scripts run by the frame update: command sequences with their blocking commands, branches,
// calls and breaks, and the commands that write values, call functions and edit tables.
#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <string>

#include "db/database.h"
#include "host/errorlog.h"
#include "ui/frameupdate.h"
#include "ui/registry.h"
#include "ui/uiload_fixture.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/rectangle.h"
#include "ui/widgettypes.h"

namespace {

class BasicUiScript : public UiLoadTest {
protected:
    // Loads the widgets as the one screen of one display.
    // Widgets named "@" get names of their own.
    void Load(std::string widgets, const std::string& head = "")
    {
        for (size_t at; (at = widgets.find("\"@\"")) != std::string::npos;)
            widgets.replace(at, 3, "\"n" + std::to_string(at) + "\"");
        ASSERT_EQ(LoadText(head + "<BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\">" + widgets +
                           "</BasicUiScreen></BasicUiDisplay>"),
                  1);
    }
    void Frames(int n, float dt = 1.0f / 30.0f)
    {
        for (int i = 0; i < n; ++i) BasicUi_UpdateEnvironment(env, dt);
    }
    int X(const char* name)
    {
        auto* r = static_cast<sBasicUiWidgetTypeRectangle*>(BasicUi_FindWidget(env, name)->widgetTypeRef.ptr);
        return r->x.value;
    }
    int Running(const char* name) { return BasicUiWidgetTypeCmdSequence_IsRunning(BasicUi_FindWidget(env, name)); }
};

const char* kBox = "<BasicUiWidget name=\"box\" typeWidget=\"wtRectangle\" x=\"120\"/>";

int serial = 0;
// Widgets are named first in an element: the loader reads a widget's name before its type.
std::string Named() { return "name=\"c" + std::to_string(++serial) + "\" "; }

std::string Set(int x, const char* extra = "")
{
    return "<BasicUiWidget " + Named() + "typeWidget=\"cmdValue\" widget=\"box\" prop=\"x\" iValue=\"" +
           std::to_string(x) + "\" " + extra + "/>";
}

TEST_F(BasicUiScript, NonBlockingCommandsRunInOneFrameAndIncrementsKeepToTheirBounds)
{
    Load(std::string(kBox) + "<BasicUiWidget name=\"seq\" typeWidget=\"cmdSeq\" cmdActive=\"1\">" +
         Set(10, "isInc=\"1\"") + "</BasicUiWidget>" +
         "<BasicUiWidget name=\"down\" typeWidget=\"cmdSeq\">" + Set(-300, "isInc=\"1\"") + "</BasicUiWidget>");
    Frames(1);
    EXPECT_EQ(X("box"), 127);
    EXPECT_EQ(Running("seq"), 0);
    BasicUiWidgetTypeCmdSequence_Run(BasicUi_FindWidget(env, "down"));
    BasicUiWidgetTypeCmdSequence_Run(BasicUi_FindWidget(env, "down"));
    Frames(1);
    EXPECT_EQ(X("box"), -127);  // once, though started twice
}

TEST_F(BasicUiScript, AWaitInsideAnIfGoesOnAfterTheIfWhenItEnds)
{
    Load(std::string(kBox) + "<BasicUiWidget name=\"seq\" typeWidget=\"cmdSeq\" cmdActive=\"1\">" +
         "<BasicUiWidget name=\"@\" typeWidget=\"cmdIf\" inequality=\"0\">" + Set(1) +
         "<BasicUiWidget name=\"@\" typeWidget=\"cmdWait\" wait=\"0.5\"/></BasicUiWidget>" + Set(2) +
         "</BasicUiWidget>");
    Frames(1);
    EXPECT_EQ(X("box"), 1);
    Frames(14);  // 14 frames of a thirtieth: still short of half a second
    EXPECT_EQ(X("box"), 1);
    EXPECT_EQ(Running("seq"), 1);
    Frames(1);
    EXPECT_EQ(X("box"), 2);
    EXPECT_EQ(Running("seq"), 0);
}

TEST_F(BasicUiScript, IfHandsTheOppositeToElseAndAnUnknownComparisonKeepsTheResult)
{
    Load(std::string(kBox) + "<BasicUiWidget name=\"seq\" typeWidget=\"cmdSeq\" cmdActive=\"1\">" +
         "<BasicUiWidget name=\"if\" typeWidget=\"cmdIf\" lvalue=\"3\" rvalue=\"3\" invert=\"1\">" + Set(1) +
         "</BasicUiWidget><BasicUiWidget name=\"else\" typeWidget=\"cmdElse\">" + Set(2) + "</BasicUiWidget>" +
         "<BasicUiWidget name=\"odd\" typeWidget=\"cmdIf\" inequality=\"5\" invert=\"1\"/></BasicUiWidget>");
    Frames(1);
    EXPECT_EQ(X("box"), 2);
    EXPECT_EQ(BasicUiWidgetTypeCmdElse_Test(BasicUi_FindWidget(env, "else")), 1);
    EXPECT_EQ(BasicUiWidgetTypeCmdIf_Test(BasicUi_FindWidget(env, "odd")), 0);  // 1 from the run, inverted
}

TEST_F(BasicUiScript, BreakingACycleOfCallsEndsAndASequenceThatBreaksItselfStopsAtOnce)
{
    Load(std::string(kBox) +
         "<BasicUiWidget name=\"self\" typeWidget=\"cmdSeq\" cmdActive=\"1\">"
         "<BasicUiWidget name=\"@\" typeWidget=\"cmdGosub\" gosub=\"self\"/></BasicUiWidget>"
         "<BasicUiWidget name=\"a\" typeWidget=\"cmdSeq\" cmdActive=\"1\">"
         "<BasicUiWidget name=\"@\" typeWidget=\"cmdGosub\" gosub=\"b\"/></BasicUiWidget>"
         "<BasicUiWidget name=\"b\" typeWidget=\"cmdSeq\">"
         "<BasicUiWidget name=\"@\" typeWidget=\"cmdGosub\" gosub=\"a\"/>"
         "</BasicUiWidget>"
         "<BasicUiWidget name=\"quit\" typeWidget=\"cmdSeq\" cmdActive=\"1\">"
         "<BasicUiWidget name=\"@\" typeWidget=\"cmdBreak\" cmdSeq=\"quit\"/>" +
         Set(7) + "</BasicUiWidget>");
    Frames(3);
    EXPECT_EQ(Running("self"), 1);  // waits for itself for ever
    EXPECT_EQ(Running("a"), 1);
    EXPECT_EQ(Running("b"), 1);
    BasicUiWidgetTypeCmdSequence_Brk(BasicUi_FindWidget(env, "self"));
    BasicUiWidgetTypeCmdSequence_Brk(BasicUi_FindWidget(env, "a"));
    EXPECT_EQ(Running("self"), 0);
    EXPECT_EQ(Running("a"), 0);
    EXPECT_EQ(Running("b"), 0);
    EXPECT_EQ(X("box"), 120);  // the value after the break never ran
}

int calls = 0;
int Refuse(sBasicUiWidget*, int value)
{
    calls += value;
    return 0;
}

TEST_F(BasicUiScript, AFunctionThatRefusesOrIsMissingStopsItsSequence)
{
    BasicFn_Clear();
    BasicFn_Register("Refuse", Refuse);
    calls = 0;
    Load(std::string(kBox) + "<BasicUiWidget name=\"seq\" typeWidget=\"cmdSeq\" cmdActive=\"1\">" +
         "<BasicUiWidget name=\"@\" typeWidget=\"cmdFn\" fn=\"Refuse\" value=\"4\"/>" + Set(1) + "</BasicUiWidget>" +
         "<BasicUiWidget name=\"gone\" typeWidget=\"cmdSeq\" cmdActive=\"1\">" +
         "<BasicUiWidget name=\"@\" typeWidget=\"cmdFn\" fn=\"Nowhere\"/>" + Set(2) + "</BasicUiWidget>");
    Frames(2);
    EXPECT_EQ(calls, 4);
    EXPECT_EQ(X("box"), 120);
    EXPECT_EQ(Running("seq") + Running("gone"), 0);
    BasicFn_Clear();
}

TEST_F(BasicUiScript, TableEditsStepWrapClampAndCopyOnlyColumnsTheTableHas)
{
    std::ofstream(scratch + "/t.db.xml")
        << "<BasicDb name=\"t\" tableDefs=\"1\" tables=\"1\"><BasicDbTableDef name=\"r\" columns=\"2\">"
           "<BasicDbTableColumnDef name=\"a\" type=\"int\" count=\"1\"/>"
           "<BasicDbTableColumnDef name=\"b\" type=\"int\" count=\"1\"/></BasicDbTableDef>"
           "<BasicDbTable name=\"rows\" def=\"r\" rows=\"2\">3, 5, 0, 0,</BasicDbTable></BasicDb>";
    std::string edit = "<BasicUiWidget name=\"@\" typeWidget=\"cmdEditDb\" dbNm=\"t\" dbTblNm=\"rows\" ";
    Load("<BasicUiWidget name=\"wrap\" typeWidget=\"cmdSeq\">" + edit +
             "isInc=\"1\" isIncWrap=\"1\" min=\"0\" max=\"3\" inc=\"1\"/></BasicUiWidget>"
             "<BasicUiWidget name=\"back\" typeWidget=\"cmdSeq\">" +
             edit + "isInc=\"1\" isIncWrap=\"1\" min=\"0\" max=\"3\" inc=\"-1\"/></BasicUiWidget>" +
             "<BasicUiWidget name=\"clamp\" typeWidget=\"cmdSeq\">" + edit +
             "isInc=\"1\" min=\"0\" max=\"3\" inc=\"5\"/></BasicUiWidget>" +
             "<BasicUiWidget name=\"copy\" typeWidget=\"cmdSeq\">" + edit +
             "isCopy=\"1\" min=\"-5\" max=\"2000000000\" rowSrc=\"0\" rowDst=\"1\"/></BasicUiWidget>",
         "<BasicDbFile filename=\"t.db.xml\"/>");
    sBasicDbTable* t = BasicDbTable_Find(BasicUi_FindDb(env, "t"), "rows");
    ASSERT_NE(t, nullptr);
    auto run = [&](const char* name) {
        BasicUiWidgetTypeCmdSequence_Run(BasicUi_FindWidget(env, name));
        Frames(1);
    };
    run("wrap");
    EXPECT_EQ(BasicDbTable_GetElementI(t, 0, 0), 0);
    run("back");
    EXPECT_EQ(BasicDbTable_GetElementI(t, 0, 0), 3);
    run("clamp");
    EXPECT_EQ(BasicDbTable_GetElementI(t, 0, 0), 3);
    run("copy");
    EXPECT_EQ(BasicDbTable_GetElementI(t, 0, 1), 3);
    EXPECT_EQ(BasicDbTable_GetElementI(t, 1, 1), 5);
}

}  // namespace

namespace {

TEST_F(BasicUiScript, NamesOfThingsThatDoNotExistAreReportedOnceAndTheirWidgetsDoNothing)
{
    BasicFn_Clear();
    Load(std::string(kBox) +
         "<BasicUiWidget name=\"label\" typeWidget=\"wtLabel\" cstr=\"x\" fontResID=\"4321\"/>"
         "<BasicUiWidget name=\"seq\" typeWidget=\"cmdSeq\" cmdActive=\"1\">"
         "<BasicUiWidget name=\"v\" typeWidget=\"cmdValue\" widget=\"box\" prop=\"nothing\" iValue=\"3\"/>"
         "<BasicUiWidget name=\"e\" typeWidget=\"cmdEditDb\" dbNm=\"none\" dbTblNm=\"gone\" isSet=\"1\"/>"
         "<BasicUiWidget name=\"l\" typeWidget=\"cmdLoad\" queryType=\"1\" dbResource.Nm=\"none\" "
         "dbResource.tblNm=\"gone\"/>"
         "<BasicUiWidget name=\"g\" typeWidget=\"cmdGosub\" gosub=\"box\"/>"
         "<BasicUiWidget name=\"f\" typeWidget=\"cmdFn\" fn=\"Missing\"/></BasicUiWidget>");
    Frames(30);
    BasicUi_RenderEnvironmentInternal(env);  // the label without its font draws nothing
    EXPECT_TRUE(LogHas("widget v names the property nothing"));
    EXPECT_TRUE(LogHas("widget e names the table gone"));
    EXPECT_TRUE(LogHas("widget l names a table of its query"));
    EXPECT_TRUE(LogHas("widget g names the sequence box"));
    EXPECT_TRUE(LogHas("widget f names the function Missing"));
    EXPECT_TRUE(LogHas("widget label names the font 4321"));
    EXPECT_EQ(X("box"), 120);
    EXPECT_EQ(Running("seq"), 0);
}

// A group of no slots can never take its resource: the command says so once and its script goes on.
TEST_F(BasicUiScript, ALoadThatCanNeverGetASlotIsReportedOnceAndTheScriptGoesOn)
{
    Load(std::string(kBox) + "<BasicUiWidget name=\"seq\" typeWidget=\"cmdSeq\" cmdActive=\"1\">"
         "<BasicUiWidget name=\"l\" typeWidget=\"cmdLoad\" resourceID=\"5000\" groupIdx=\"3\" groupSlots=\"0\"/>" +
         Set(7) + "</BasicUiWidget>");
    Frames(30);
    EXPECT_EQ(Running("seq"), 0);
    EXPECT_EQ(X("box"), 7);
    EXPECT_TRUE(LogHas("load command l gets no slot for resource 5000"));
    const std::string log = HostErrorLog();
    EXPECT_EQ(log.find("race condition"), log.rfind("race condition")) << log;
}

}  // namespace

namespace {

TEST_F(BasicUiScript, BreaksSkipTheirExclusionNestedSequencesAreSkippedAndBadModesChangeNothing)
{
    Load(std::string(kBox) +
         "<BasicUiWidget name=\"w1\" typeWidget=\"cmdSeq\" cmdActive=\"1\">"
         "<BasicUiWidget name=\"@\" typeWidget=\"cmdWait\" wait=\"9\"/></BasicUiWidget>"
         "<BasicUiWidget name=\"w2\" typeWidget=\"cmdSeq\" cmdActive=\"1\">"
         "<BasicUiWidget name=\"@\" typeWidget=\"cmdWait\" wait=\"9\"/></BasicUiWidget>"
         "<BasicUiWidget name=\"w3\" typeWidget=\"cmdSeq\" cmdActive=\"1\">"
         "<BasicUiWidget name=\"@\" typeWidget=\"cmdWait\" wait=\"9\"/></BasicUiWidget>"
         "<BasicUiWidget name=\"main\" typeWidget=\"cmdSeq\">"
         "<BasicUiWidget name=\"@\" typeWidget=\"cmdBreak\" cmdSeq=\"w1\" cmdCount=\"3\" exclusion=\"w2\"/>"
         "<BasicUiWidget name=\"@\" typeWidget=\"cmdInput\" inputMode=\"4\"/>"
         "<BasicUiWidget name=\"@\" typeWidget=\"cmdIf\" inequality=\"0\"/>"
         "<BasicUiWidget name=\"inner\" typeWidget=\"cmdSeq\">" + Set(5) + "</BasicUiWidget>" + Set(6) +
         "</BasicUiWidget>");
    BasicUiEnvironment_SetInputMode(env, BasicUiInputMode_Dialog);
    Frames(1);
    BasicUiWidgetTypeCmdSequence_Run(BasicUi_FindWidget(env, "main"));
    Frames(1);
    EXPECT_EQ(Running("w1"), 0);
    EXPECT_EQ(Running("w2"), 1);
    EXPECT_EQ(Running("w3"), 0);
    EXPECT_EQ(BasicUiEnvironment_GetInputMode(env), BasicUiInputMode_Dialog);
    EXPECT_EQ(X("box"), 6);  // past the empty If, not into the nested sequence
}

}  // namespace

// A music fade is given in frames of a 30 Hz game and played in milliseconds at the frame rate
// the menus run at: a long fade at a high rate stays the longest, never wraps to an instant one.
TEST(BasicUiMusicFade, KeepsItsLengthWithinWhatTheStreamTakes)
{
    EXPECT_EQ(BasicUiWidgetTypeCmdBGM_FadeMilliseconds(30.0f, 30.0f), 30000);
    EXPECT_EQ(BasicUiWidgetTypeCmdBGM_FadeMilliseconds(32767.0f, 10000.0f), INT_MAX);
    EXPECT_EQ(BasicUiWidgetTypeCmdBGM_FadeMilliseconds(-32767.0f, 10000.0f), 1);
    EXPECT_EQ(BasicUiWidgetTypeCmdBGM_FadeMilliseconds(0.0f, 60.0f), 1);
}
