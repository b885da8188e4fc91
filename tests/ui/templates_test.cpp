#include "ui/templates.h"

#include <string>

#include "host/errorlog.h"
#include "ui/uiload_fixture.h"
#include "ui/widgettypes.h"

namespace {

using Names = std::vector<std::string>;

// A widget's definition record: definition widgets double as text-carrying templates here.
sBasicUiWidgetTypeDefinition* Def(sBasicUiEnvironment* env, const char* name)
{
    sBasicUiWidget* w = BasicUi_FindWidget(env, name);
    if (!w || w->widgetTypeRef.type != EBasicUiWidgetTypeDefinition) return nullptr;
    return static_cast<sBasicUiWidgetTypeDefinition*>(w->widgetTypeRef.ptr);
}

std::string Screen(const std::string& widgets)
{
    return "<BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\">" + widgets + "</BasicUiScreen></BasicUiDisplay>";
}

const char* kRowTemplate =
    "<BasicUiWidget name=\"tmpl\" typeWidget=\"wtDefinition\" sn=\"1\" s0=\"%P\">"
    "<BasicUiWidget name=\"Row%P\" typeWidget=\"wtDefinition\" s1=\"Name %P\" in=\"#[0],3\" isActive=\"#[1],1\">"
    "<BasicUiWidget name=\"Cell%P_%P\"/><BasicUiWidget name=\"Mark%P\"/>"
    "</BasicUiWidget><BasicUiWidget name=\"Tail%P\"/></BasicUiWidget>";

using UiTemplatesTest = UiLoadTest;

TEST_F(UiTemplatesTest, InstanceCopiesTheTemplateWithItsTexts)
{
    ASSERT_EQ(LoadText(Screen(std::string(kRowTemplate) +
                              "<BasicUiWidget name=\"inst\" typeWidget=\"wtInstance\" definition=\"tmpl\" s0=\"Ace\" "
                              "in=\"2\" i0=\"7\" i1=\"0\"/>")),
              1);
    EXPECT_EQ(TreeNames(BasicUi_FindScreen(env, "s")),
              (Names{"tmpl", "Row%P", "Cell%P_%P", "Mark%P", "Tail%P", "inst", "RowAce", "CellAce_%P", "MarkAce",
                     "TailAce"}));
    sBasicUiWidgetTypeDefinition* row = Def(env, "RowAce");
    ASSERT_NE(row, nullptr);
    EXPECT_STREQ(row->s[1], "Name Ace");
    EXPECT_EQ(row->in.value, 7);
    EXPECT_EQ(row->in.initial, 7);
    EXPECT_EQ(BasicUi_FindWidget(env, "RowAce")->isActive.value, 0);  // i1
    EXPECT_EQ(BasicUi_FindWidget(env, "MarkAce")->parentWidget, BasicUi_FindWidget(env, "RowAce"));
    EXPECT_EQ(BasicUi_FindWidget(env, "TailAce")->parentWidget, BasicUi_FindWidget(env, "inst"));
    // The template itself is untouched.
    EXPECT_EQ(Def(env, "Row%P")->in.value, 3);
    EXPECT_STREQ(Def(env, "Row%P")->s[1], "Name %P");
}

TEST_F(UiTemplatesTest, UnboundIntegersKeepTheirDefaultAndLink)
{
    ASSERT_EQ(LoadText(Screen(std::string(kRowTemplate) +
                              "<BasicUiWidget name=\"inst\" typeWidget=\"wtInstance\" definition=\"tmpl\" s0=\"Bo\" "
                              "in=\"0\" i0=\"7\"/>")),
              1);
    sBasicUiWidgetTypeDefinition* row = Def(env, "RowBo");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->in.value, 3);
    EXPECT_EQ(row->in.variable, 0);
    EXPECT_EQ(BasicUi_FindWidget(env, "RowBo")->isActive.value, 1);
}

// The integer value of a widget's property (INT, BOOL or BYTE), or -999 when it has none.
int IntProperty(sBasicUiWidget* w, const char* name)
{
    static sBasicUiPropertyTracker tracker;
    BasicUiWidget_InitialisePropertyTracker(w, &tracker);
    sBasicUiProperty* p = BasicUiPropertyTracker_FindPropertyByName(&tracker, name);
    if (!p) return -999;
    if (p->propType == eBasicUiPropertyTypeINT) return static_cast<sBasicUiValueINT*>(p->propPtr)->value;
    if (p->propType == eBasicUiPropertyTypeBOOL) return static_cast<sBasicUiValueBOOL*>(p->propPtr)->value;
    if (p->propType == eBasicUiPropertyTypeBYTE) return static_cast<sBasicUiValueBYTE*>(p->propPtr)->value;
    return -999;
}

TEST_F(UiTemplatesTest, InstanceIntegersReachOnlyTheBoundValuesOfEveryWidgetType)
{
    // Values written in the template keep their numbers in the copy; only "#[0]" takes i0.
    ASSERT_EQ(LoadText(Screen(
                  "<BasicUiWidget name=\"tmpl\" typeWidget=\"wtDefinition\" sn=\"1\" s0=\"%P\">"
                  "<BasicUiWidget name=\"b%P\" typeWidget=\"wtButton\" x=\"10\" y=\"20\" w=\"30\" h=\"#[0],3\"/>"
                  "<BasicUiWidget name=\"sb%P\" typeWidget=\"wtScrollBox\" slots=\"4\" hasCounter=\"0\"/>"
                  "<BasicUiWidget name=\"m%P\" typeWidget=\"wtMsgBox\" w=\"200\" h=\"100\"/>"
                  "<BasicUiWidget name=\"hi%P\" typeWidget=\"mcHint\" region=\"2\"/>"
                  "<BasicUiWidget name=\"r%P\" typeWidget=\"dbRef\" isStatusRef=\"1\"/>"
                  "</BasicUiWidget>"
                  "<BasicUiWidget name=\"inst\" typeWidget=\"wtInstance\" definition=\"tmpl\" s0=\"A\" "
                  "in=\"1\" i0=\"7\"/>")),
              1);
    struct Case {
        const char* widget;
        const char* property;
        int expected;
    } cases[] = {
        {"bA", "x", 10},          {"bA", "y", 20},           {"bA", "w", 30},       {"bA", "h", 7},
        {"sbA", "slots", 4},      {"sbA", "hasCounter", 0},  {"sbA", "selected", -1}, {"sbA", "counterAlignX", 2},
        {"mA", "w", 200},         {"mA", "h", 100},          {"mA", "hasDynamicSize", 0}, {"mA", "imageID", -1},
        {"hiA", "region", 2},     {"hiA", "pushLoop", 1},    {"rA", "hasIDb", 0},   {"rA", "isStatusRef", 1},
        {"rA", "lockedID", -1},   {"rA", "db.row", 0},
    };
    for (const Case& c : cases) {
        sBasicUiWidget* w = BasicUi_FindWidget(env, c.widget);
        ASSERT_NE(w, nullptr) << c.widget;
        EXPECT_EQ(IntProperty(w, c.property), c.expected) << c.widget << "." << c.property;
    }
}

TEST_F(UiTemplatesTest, TemplateWidgetsWithoutPlaceholderStayInTheTemplate)
{
    ASSERT_EQ(LoadText(Screen("<BasicUiWidget name=\"tmpl\" typeWidget=\"wtDefinition\" sn=\"1\" s0=\"%P\">"
                              "<BasicUiWidget name=\"fixed\" typeWidget=\"wtLabel\"><BasicUiWidget name=\"in%P\"/>"
                              "</BasicUiWidget></BasicUiWidget>"
                              "<BasicUiWidget name=\"a\" typeWidget=\"wtInstance\" definition=\"tmpl\" s0=\"A\"/>"
                              "<BasicUiWidget name=\"b\" typeWidget=\"wtInstance\" definition=\"tmpl\" s0=\"B\"/>")),
              1);
    // The template keeps its widget; the first instance gets a copy of the name, which the second
    // then takes over as a duplicate (names are global to the environment).
    EXPECT_EQ(TreeNames(BasicUi_FindScreen(env, "s")), (Names{"tmpl", "fixed", "in%P", "a", "b", "fixed", "inA", "inB"}));
    EXPECT_TRUE(LogHas("duplicate instance of: fixed."));
}

TEST_F(UiTemplatesTest, NamesOfTheInstanceOrItsAncestorsMakeNoLoop)
{
    // The copies are named after the instance itself and after the widget holding it.
    ASSERT_EQ(LoadText(Screen("<BasicUiWidget name=\"tmpl\" typeWidget=\"wtDefinition\" sn=\"2\" s0=\"%P\" s1=\"%Q\">"
                              "<BasicUiWidget name=\"%P\"><BasicUiWidget name=\"%Q\"/></BasicUiWidget>"
                              "</BasicUiWidget>"
                              "<BasicUiWidget name=\"outer\"><BasicUiWidget name=\"Ace\" typeWidget=\"wtInstance\" "
                              "definition=\"tmpl\" s0=\"Ace\" s1=\"outer\"/></BasicUiWidget>")),
              1);
    EXPECT_EQ(TreeNames(BasicUi_FindScreen(env, "s")), (Names{"tmpl", "%P", "%Q", "outer", "Ace", "Ace", "outer"}));
    sBasicUiWidget* instance = BasicUi_FindWidget(env, "outer")->parentWidget->parentWidget;
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(instance->widgetTypeRef.type, EBasicUiWidgetTypeInstance);
}

TEST_F(UiTemplatesTest, AnInstanceInsideItsOwnDefinitionIsRefused)
{
    ASSERT_EQ(LoadText(Screen("<BasicUiWidget name=\"tmpl\" typeWidget=\"wtDefinition\">"
                              "<BasicUiWidget name=\"x\"/><BasicUiWidget name=\"self\" typeWidget=\"wtInstance\" "
                              "definition=\"tmpl\"/></BasicUiWidget>")),
              1);
    EXPECT_EQ(TreeNames(BasicUi_FindScreen(env, "s")), (Names{"tmpl", "x", "self"}));
    EXPECT_TRUE(LogHas("lies inside its definition"));
}

TEST_F(UiTemplatesTest, AnEmptiedNameStopsTheGeneration)
{
    ASSERT_EQ(LoadText(Screen("<BasicUiWidget name=\"tmpl\" typeWidget=\"wtDefinition\" sn=\"2\" s0=\"%P\" s1=\"%Q\">"
                              "<BasicUiWidget name=\"one%P\"/><BasicUiWidget name=\"two%Q\"/>"
                              "<BasicUiWidget name=\"three%P\"/></BasicUiWidget>"
                              "<BasicUiWidget name=\"inst\" typeWidget=\"wtInstance\" definition=\"tmpl\" s0=\"A\"/>")),
              1);
    EXPECT_EQ(ChainNames(BasicUi_FindWidget(env, "inst")->childWidget), (Names{"oneA"}));
    EXPECT_TRUE(LogHas("BasicUiWidgetTypeInstance_GenerateWidget: allocation problem."));
    EXPECT_TRUE(LogHas("BasicUiWidgetTypeInstance_Generate: run out of allocation resources."));
}

TEST_F(UiTemplatesTest, GeneratingAgainReportsDuplicatesAndKeepsOneCopy)
{
    ASSERT_EQ(LoadText(Screen(std::string(kRowTemplate) +
                              "<BasicUiWidget name=\"inst\" typeWidget=\"wtInstance\" definition=\"tmpl\" s0=\"Ace\"/>")),
              1);
    HostClearErrorLog();
    BasicUiWidgetTypeInstance_Generate(BasicUi_FindWidget(env, "inst"));
    EXPECT_TRUE(LogHas("duplicate instance of: RowAce."));
    EXPECT_FALSE(LogHas("duplicate instance of: TailAce."));  // untyped: filled again, no duplicate
    EXPECT_EQ(TreeNames(BasicUi_FindScreen(env, "s")),
              (Names{"tmpl", "Row%P", "Cell%P_%P", "Mark%P", "Tail%P", "inst", "RowAce", "CellAce_%P", "MarkAce",
                     "TailAce"}));
}

TEST_F(UiTemplatesTest, DestroyHandsBackTheRecordsStrings)
{
    ASSERT_EQ(LoadText(Screen("<BasicUiWidget name=\"t\" typeWidget=\"wtDefinition\" s0=\"a\" s1=\"b\" i4=\"c\"/>"
                              "<BasicUiWidget name=\"i\" typeWidget=\"wtInstance\" s0=\"x\"/>")),
              1);
    int before = gBasicMemorySlots[env->memorySlot].allocs;
    BasicUiWidgetType_Destroy(env, BasicUi_FindWidget(env, "t"));
    EXPECT_EQ(before - gBasicMemorySlots[env->memorySlot].allocs, 4);
    BasicUiWidgetType_Destroy(env, BasicUi_FindWidget(env, "i"));
    EXPECT_EQ(before - gBasicMemorySlots[env->memorySlot].allocs, 6);
    EXPECT_EQ(BasicUi_FindWidget(env, "i")->widgetTypeRef.ptr, nullptr);
}

}  // namespace
