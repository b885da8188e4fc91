#include "ui/loader.h"

#include <fstream>
#include <string>

#include "db/database.h"
#include "db/dbxml.h"
#include "host/errorlog.h"
#include "host/host.h"
#include "ui/frameupdate.h"
#include "ui/templates.h"
#include "ui/uiload_fixture.h"
#include "ui/widgets/commands.h"
#include "ui/widgettypes.h"

namespace {

using Names = std::vector<std::string>;

// An INT property to read values into: the instance type's "sn".
sBasicUiValueINT* Sn(sBasicUiEnvironment* env, const char* name)
{
    sBasicUiWidget* w = BasicUi_FindWidget(env, name);
    if (!w || w->widgetTypeRef.type != EBasicUiWidgetTypeInstance) return nullptr;
    return &static_cast<sBasicUiWidgetTypeInstance*>(w->widgetTypeRef.ptr)->sn;
}

const char* kScreen = "<BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\">";
const char* kScreenEnd = "</BasicUiScreen></BasicUiDisplay>";

std::string InScreen(const std::string& widgets) { return kScreen + widgets + kScreenEnd; }

std::string IntWidget(const char* name, const char* sn)
{
    return std::string("<BasicUiWidget name=\"") + name + "\" typeWidget=\"wtInstance\" sn=\"" + sn + "\"/>";
}

using UiLoaderTest = UiLoadTest;

TEST_F(UiLoaderTest, ConstantsAreChosenByTheEnvironmentsVariant)
{
    const std::string consts =
        "<BasicUiConstantDef name=\"K\" iValue=\"5\" variant=\"2\"/>"
        "<BasicUiConstantDef name=\"K\" iValue=\"1\"/>"
        "<BasicUiConstantDef name=\"V1\" iValue=\"0x10\" variant=\"1\"/>";
    const std::string body = consts + InScreen(IntWidget("a", "#K") + IntWidget("b", "#V1") + IntWidget("c", "#Nope"));

    env->variant = 2;
    ASSERT_EQ(LoadText(body), 1);
    EXPECT_EQ(Sn(env, "a")->value, 5);
    EXPECT_EQ(Sn(env, "a")->initial, 5);
    EXPECT_EQ(Sn(env, "b")->value, 0);  // only defined for variant 1
    EXPECT_EQ(Sn(env, "c")->value, 0);
    EXPECT_EQ(Sn(env, "c")->c, nullptr);
    EXPECT_TRUE(LogHas("could not find constant: Nope"));

    env->variant = 1;
    ASSERT_EQ(LoadText(body), 1);
    EXPECT_EQ(Sn(env, "a")->value, 1);  // the variant-free one
    EXPECT_EQ(Sn(env, "b")->value, 16);
    EXPECT_EQ(Sn(env, "b")->c->variant, 1);
}

TEST_F(UiLoaderTest, ScriptVariablesWithAndWithoutDefaults)
{
    ASSERT_EQ(LoadText("<BasicUiConstantDef name=\"K\" iValue=\"9\"/>" +
                       InScreen(IntWidget("plain", "#[3]") + IntWidget("lit", "#[3],7") +
                                IntWidget("con", "#[2],#K") + IntWidget("bad", "#[x],4") +
                                IntWidget("hex", "#[0x1],012"))),
              1);
    EXPECT_EQ(Sn(env, "plain")->variable, 3);
    EXPECT_EQ(Sn(env, "plain")->value, 0);  // the type's default stays
    EXPECT_EQ(Sn(env, "lit")->variable, 3);
    EXPECT_EQ(Sn(env, "lit")->value, 7);
    EXPECT_EQ(Sn(env, "lit")->initial, 7);
    EXPECT_EQ(Sn(env, "con")->variable, 2);
    EXPECT_EQ(Sn(env, "con")->value, 9);
    EXPECT_NE(Sn(env, "con")->c, nullptr);
    EXPECT_EQ(Sn(env, "bad")->variable, -1);
    EXPECT_EQ(Sn(env, "bad")->value, 4);
    EXPECT_EQ(Sn(env, "hex")->variable, 1);
    EXPECT_EQ(Sn(env, "hex")->value, 10);  // leading 0: octal
}

TEST_F(UiLoaderTest, DirectiveLettersAndFlagLiterals)
{
    ASSERT_EQ(LoadText(InScreen(IntWidget("dir", "x25") + IntWidget("two", "ab5") +
                                "<BasicUiWidget name=\"flag\" isActive=\"0\" isRender=\"y1\"/>")),
              1);
    sBasicUiValueINT* dir = Sn(env, "dir");
    EXPECT_EQ(dir->value, 25);
    EXPECT_EQ(dir->directives[0], 3);
    EXPECT_EQ(dir->directives[3], 'x');
    EXPECT_EQ(Sn(env, "two")->value, 0);
    EXPECT_EQ(Sn(env, "two")->directives[0], 2);
    EXPECT_TRUE(LogHas("BasicUiError: possible constant without # prefix ab5"));
    sBasicUiWidget* flag = BasicUi_FindWidget(env, "flag");
    EXPECT_EQ(flag->isActive.value, 0);
    EXPECT_EQ(flag->isActive.initial, 0);
    EXPECT_EQ(flag->isRender.value, 0);
    EXPECT_TRUE(LogHas("possible constant without # prefix y1"));
}

TEST_F(UiLoaderTest, ForwardReferenceIsFilledByItsElement)
{
    ASSERT_EQ(LoadText(InScreen("<BasicUiWidget name=\"user\" typeWidget=\"wtInstance\" definition=\"later\"/>"
                                "<BasicUiWidget name=\"box\"><BasicUiWidget name=\"later\" isActive=\"0\" "
                                "typeWidget=\"wtDefinition\"/></BasicUiWidget>")),
              1);
    sBasicUiWidget* later = BasicUi_FindWidget(env, "later");
    ASSERT_NE(later, nullptr);
    auto* user = static_cast<sBasicUiWidgetTypeInstance*>(BasicUi_FindWidget(env, "user")->widgetTypeRef.ptr);
    EXPECT_EQ(user->definition, later);
    EXPECT_EQ(later->parentWidget, BasicUi_FindWidget(env, "box"));
    EXPECT_EQ(later->isActive.value, 0);
    EXPECT_EQ(later->widgetTypeRef.type, EBasicUiWidgetTypeDefinition);
    EXPECT_EQ(TreeNames(BasicUi_FindScreen(env, "s")), (Names{"user", "box", "later"}));
}

TEST_F(UiLoaderTest, RepeatedNameMovesTheRecordWithItsSubtree)
{
    ASSERT_EQ(LoadText("<BasicUiDisplay name=\"d\">"
                       "<BasicUiScreen name=\"one\"><BasicUiWidget name=\"p\" isRender=\"0\">"
                       "<BasicUiWidget name=\"c1\"/><BasicUiWidget name=\"c2\"/></BasicUiWidget>"
                       "<BasicUiWidget name=\"q\"/></BasicUiScreen>"
                       "<BasicUiScreen name=\"two\"><BasicUiWidget name=\"r\"/>"
                       "<BasicUiWidget name=\"p\" isActive=\"0\"><BasicUiWidget name=\"c3\"/></BasicUiWidget>"
                       "</BasicUiScreen></BasicUiDisplay>"),
              1);
    EXPECT_EQ(TreeNames(BasicUi_FindScreen(env, "one")), (Names{"q"}));
    EXPECT_EQ(TreeNames(BasicUi_FindScreen(env, "two")), (Names{"r", "p", "c1", "c2", "c3"}));
    sBasicUiWidget* p = BasicUi_FindWidget(env, "p");
    EXPECT_EQ(p->parentScreen, BasicUi_FindScreen(env, "two"));
    EXPECT_EQ(p->isActive.value, 0);
    EXPECT_EQ(p->isRender.value, 0);  // kept from its first element
    EXPECT_EQ(BasicUi_FindWidget(env, "c3")->parentWidget, p);
}

TEST_F(UiLoaderTest, RepeatedNameAtItsOwnPlaceStaysOneWidget)
{
    ASSERT_EQ(LoadText(InScreen("<BasicUiWidget name=\"a\"/><BasicUiWidget name=\"a\" isActive=\"0\"/>"
                                "<BasicUiWidget name=\"b\" typeWidget=\"wtLabel\"/>"
                                "<BasicUiWidget name=\"b\" typeWidget=\"wtLabel\"/>")),
              1);
    EXPECT_EQ(TreeNames(BasicUi_FindScreen(env, "s")), (Names{"a", "b"}));
    EXPECT_EQ(BasicUi_FindWidget(env, "a")->isActive.value, 0);
    EXPECT_TRUE(LogHas("BasicUiError: trying to remap widget: b"));
}

TEST_F(UiLoaderTest, ScreensAndDisplaysMoveByName)
{
    ASSERT_EQ(LoadText("<BasicUiDisplay name=\"d1\"><BasicUiScreen name=\"s1\"><BasicUiWidget name=\"w\"/>"
                       "</BasicUiScreen><BasicUiScreen name=\"s2\"/></BasicUiDisplay>"
                       "<BasicUiDisplay name=\"d2\"><BasicUiScreen name=\"s1\" isRender=\"0\"/></BasicUiDisplay>"
                       "<BasicUiDisplay name=\"d1\" x=\"5\"/><BasicUiDisplay name=\"d1\" y=\"6\"/>"),
              1);
    sBasicUiDisplay* d2 = BasicUi_FindDisplay(env, "d2");
    sBasicUiScreen* s1 = BasicUi_FindScreen(env, "s1");
    EXPECT_EQ(s1->parentDisplay, d2);
    EXPECT_EQ(d2->nextScreen, s1);
    EXPECT_EQ(s1->isRender.value, 0);
    EXPECT_EQ(TreeNames(s1), (Names{"w"}));
    EXPECT_EQ(std::string(BasicUi_FindDisplay(env, "d1")->nextScreen->name), "s2");
    // d1, named again twice in a row, ends up last, once.
    ASSERT_EQ(env->displayRoot, d2);
    ASSERT_NE(d2->nextDisplay, nullptr);
    EXPECT_STREQ(d2->nextDisplay->name, "d1");
    EXPECT_EQ(d2->nextDisplay->nextDisplay, nullptr);
    EXPECT_EQ(d2->nextDisplay->x.value, 5);
    EXPECT_EQ(d2->nextDisplay->y.value, 6);
}

TEST_F(UiLoaderTest, NamingAnOpenAncestorMakesNoLoop)
{
    ASSERT_EQ(LoadText(InScreen("<BasicUiWidget name=\"a\"><BasicUiWidget name=\"b\">"
                                "<BasicUiWidget name=\"a\" isActive=\"0\"/><BasicUiWidget name=\"b\"/>"
                                "</BasicUiWidget></BasicUiWidget><BasicUiWidget name=\"z\"/>")),
              1);
    EXPECT_EQ(TreeNames(BasicUi_FindScreen(env, "s")), (Names{"a", "b", "brokenWidget", "brokenWidget", "z"}));
    EXPECT_EQ(BasicUi_FindWidget(env, "a")->isActive.value, 1);
    EXPECT_TRUE(LogHas("widget a cannot be moved under itself"));
}

TEST_F(UiLoaderTest, ElementsOutsideTheirContainersDoNotStopTheLoad)
{
    ASSERT_EQ(LoadText("</BasicUiWidget></BasicUiScreen></BasicUiDisplay>"
                       "<BasicUiWidget name=\"stray\"><BasicUiWidget name=\"strayChild\"/></BasicUiWidget>"
                       "<BasicUiScreen name=\"lost\"><BasicUiWidget name=\"lostChild\"/></BasicUiScreen>"
                       "<BasicUiResourceSetItem min=\"1\"/><BasicUiAnimKey t=\"1\"/><BasicUiAnimSetItem prop=\"x\"/>" +
                       InScreen("<BasicUiWidget name=\"ok\"/></BasicUiWidget></BasicUiWidget>"
                                "<BasicUiWidget name=\"ok2\"/>")),
              1);
    EXPECT_EQ(TreeNames(BasicUi_FindScreen(env, "s")), (Names{"ok", "ok2"}));
    ASSERT_NE(BasicUi_FindWidget(env, "strayChild"), nullptr);
    EXPECT_EQ(BasicUi_FindWidget(env, "strayChild")->parentWidget, BasicUi_FindWidget(env, "stray"));
    EXPECT_EQ(BasicUi_FindScreen(env, "lost"), nullptr);  // not in any display
    EXPECT_NE(BasicUi_FindWidget(env, "lostChild"), nullptr);
}

TEST_F(UiLoaderTest, BadElementsAreSkippedAndTheRestLoads)
{
    const std::string longName(300, 'n');
    ASSERT_EQ(LoadText(InScreen("<BasicUiWidget isActive=\"0\"/>"
                                "<" + longName + " name=\"x\"/>"
                                "<BasicUiWidget " + longName + "=\"1\" name=\"afterLongAtt\" isActive=\"0\"/>"
                                "<BasicUiWidget name=\"longValue\" isActive=\"" + longName + "\"/>"
                                "<Unknown name=\"u\"><BasicUiWidget name=\"inUnknown\"/></Unknown>"
                                "<BasicUiWidget name=\"t\" typeWidget=\"wtNoSuchType\" sn=\"3\"/>"
                                "<BasicUiWidget name=\"last\"/>")),
              1);
    EXPECT_EQ(TreeNames(BasicUi_FindScreen(env, "s")),
              (Names{"brokenWidget", "afterLongAtt", "longValue", "inUnknown", "t", "last"}));
    sBasicUiWidget* broken = BasicUi_FindWidget(env, "brokenWidget");
    EXPECT_EQ(broken->isActive.value, 1);  // its attributes went with the missing name
    EXPECT_EQ(BasicUi_FindWidget(env, "afterLongAtt")->isActive.value, 0);
    EXPECT_EQ(BasicUi_FindWidget(env, "t")->widgetTypeRef.type, EBasicUiWidgetTypeNull);
    EXPECT_TRUE(LogHas("the widget on line 2 has no name"));
    EXPECT_TRUE(LogHas("widget t has the unknown type wtNoSuchType"));
}

// Numbers no widget can compute with are brought into range, and names that lead nowhere (or
// back to where they start) are said once the description is read, each with its widget.
TEST_F(UiLoaderTest, ValuesAndNamesThatCannotWorkAreReportedWhenLoaded)
{
    auto seq = [](const char* name, const char* calls) {
        return std::string("<BasicUiWidget name=\"") + name + "\" typeWidget=\"cmdSeq\"><BasicUiWidget name=\"" +
               name + "call\" typeWidget=\"cmdGosub\" gosub=\"" + calls + "\"/></BasicUiWidget>";
    };
    ASSERT_EQ(LoadText("<BasicUiAnim name=\"f\" type=\"float\"><BasicUiAnimKey t=\"1\" value=\"nan\"/>"
                       "<BasicUiAnimKey t=\"inf\" value=\"2\"/></BasicUiAnim>" +
                       InScreen("<BasicUiWidget name=\"btn\" typeWidget=\"wtButton\" x=\"2000000000\" w=\"-2000000000\"/>"
                                "<BasicUiWidget name=\"anc\" typeWidget=\"anchor\" offY=\"2000000000\"/>"
                                "<BasicUiWidget name=\"up\" typeWidget=\"cmdSeq\"><BasicUiWidget name=\"upBy\" "
                                "typeWidget=\"cmdValue\" widget=\"btn\" prop=\"y\" isInc=\"1\" iValue=\"2000000000\" "
                                "min=\"-2147483648\" max=\"2147483647\"/></BasicUiWidget>"
                                "<BasicUiWidget name=\"box\" typeWidget=\"tBox\" softW=\"2147483647\"/>"
                                "<BasicUiWidget name=\"q\" typeWidget=\"wtDialogBox\" bRowCount=\"2000000000\"/>"
                                "<BasicUiWidget name=\"cur\" typeWidget=\"stickyCursor\" delay=\"nan\"/>"
                                "<BasicUiWidget name=\"pad\" typeWidget=\"tPad\" dpad0U=\"nosuch\"/>" +
                                seq("a", "b") + seq("b", "a") + seq("c", "c") + seq("d", "a"))),
              1);
    auto intOf = [this](const char* widget, const char* prop) {
        static sBasicUiPropertyTracker t;
        BasicUiWidget_InitialisePropertyTracker(BasicUi_FindWidget(env, widget), &t);
        sBasicUiProperty* p = BasicUiPropertyTracker_FindPropertyByName(&t, prop);
        return p ? static_cast<sBasicUiValueINT*>(p->propPtr)->value : -1;
    };
    EXPECT_EQ(intOf("btn", "x"), 32767);
    EXPECT_EQ(intOf("btn", "w"), -32767);
    EXPECT_EQ(intOf("box", "softW"), 32767);
    EXPECT_EQ(intOf("q", "bRowCount"), 32);
    EXPECT_EQ(intOf("anc", "offY"), 32767);
    // A value command keeps a number in the same range as it changes it.
    BasicUiWidgetTypeCmdSequence_Run(BasicUi_FindWidget(env, "up"));
    BasicUi_UpdateEnvironment(env, 1.0f / 30.0f);
    EXPECT_EQ(intOf("btn", "y"), 32767);
    sBasicUiAnimKey* k = BasicUi_FindAnim(env, "f")->nextKey;
    EXPECT_FLOAT_EQ(k->v[0], 0.0f);
    EXPECT_FLOAT_EQ(k->next->t, 0.0f);
    for (const char* message :
         {"widget btn: x 2000000000 is out of range; 32767 is used", "widget box: softW 2147483647 is out of range",
          "widget q: bRowCount 2000000000 is out of range; 32 is used", "widget cur: delay is not a finite number",
          "anim f: a key's value \"nan\"", "anim f: a key's t \"inf\"", "trigger pad: its dpad0U names nosuch",
          "sequence c calls c, which leads back"})
        EXPECT_TRUE(LogHas(message)) << message;
    // One report a loop, and none for a sequence that only calls into one.
    EXPECT_NE(LogHas("sequence a calls b, which leads back"), LogHas("sequence b calls a, which leads back"));
    EXPECT_FALSE(LogHas("sequence d calls"));
}

TEST_F(UiLoaderTest, EmptyElementsBecomeSiblingsInFileOrder)
{
    ASSERT_EQ(LoadText(InScreen("<BasicUiWidget name=\"p\"><BasicUiWidget name=\"a\"/><BasicUiWidget name=\"b\"/>"
                                "</BasicUiWidget><BasicUiWidget name=\"c\"/>")),
              1);
    sBasicUiWidget* p = BasicUi_FindWidget(env, "p");
    EXPECT_EQ(ChainNames(p->childWidget), (Names{"a", "b"}));
    EXPECT_EQ(ChainNames(BasicUi_FindScreen(env, "s")->nextWidget), (Names{"p", "c"}));
    EXPECT_EQ(BasicUi_FindWidget(env, "b")->parentWidget, p);
}

TEST_F(UiLoaderTest, TextIsNeverUsedAsAFormat)
{
    ASSERT_EQ(LoadText(InScreen("<BasicUiWidget name=\"w%s%n\" typeWidget=\"wtLabel\"/>"
                                "<BasicUiWidget name=\"w%s%n\" typeWidget=\"wtLabel\"/>"
                                "<BasicUiWidget name=\"t\" typeWidget=\"wtDefinition\" s0=\"100%\" sn=\"#%d%s\"/>")),
              1);
    EXPECT_TRUE(LogHas("trying to remap widget: w%s%n"));
    EXPECT_TRUE(LogHas("could not find constant: %d%s"));
    auto* def = static_cast<sBasicUiWidgetTypeDefinition*>(BasicUi_FindWidget(env, "t")->widgetTypeRef.ptr);
    EXPECT_STREQ(def->s[0], "100%");
}

TEST_F(UiLoaderTest, AnimationKeysReadOnlyWholeValues)
{
    ASSERT_EQ(LoadText("<BasicUiAnim name=\"q\" type=\"quat\">"
                       "<BasicUiAnimKey t=\"-1\" value=\"(1,2,3,4)\"/>"
                       "<BasicUiAnimKey t=\"0.5\" value=\"(1,2,3)\"/>"
                       "<BasicUiAnimKey t=\"x\" value=\"1\"/></BasicUiAnim>"
                       "<BasicUiAnim name=\"n\" type=\"spline\" offset=\"07\"/>"),
              1);
    sBasicUiAnimKey* k = BasicUi_FindAnim(env, "q")->nextKey;
    ASSERT_NE(k, nullptr);
    EXPECT_FLOAT_EQ(k->t, 0.0f);  // negative times are refused
    EXPECT_FLOAT_EQ(k->v[0], 1.0f);
    EXPECT_FLOAT_EQ(k->v[3], 4.0f);
    ASSERT_NE(k->next, nullptr);
    EXPECT_FLOAT_EQ(k->next->t, 0.5f);
    EXPECT_FLOAT_EQ(k->next->v[0], 0.0f);  // three numbers are not a quaternion
    EXPECT_FLOAT_EQ(k->next->v[3], 1.0f);
    EXPECT_EQ(BasicUi_FindAnim(env, "n")->type, eBasicUiAnimTypeNULL);
    EXPECT_EQ(BasicUi_FindAnim(env, "n")->offset, 0);
}

TEST_F(UiLoaderTest, MissingFileLeavesAnEmptyPreparedEnvironment)
{
    gHostOptions.romDir = scratch;
    EXPECT_EQ(BasicUiEnvironment_Load("no/such.xml", env), 1);
    EXPECT_TRUE(LogHas("could not load filename: no/such.xml"));
    EXPECT_EQ(env->displayRoot, nullptr);
    EXPECT_EQ(env->inputMode, BasicUiInputMode_Normal);
}

TEST_F(UiLoaderTest, EveryDatabaseOfAFileIsKept)
{
    std::ofstream(scratch + "/two.db.xml") << "<BasicDb name=\"one\" tables=\"0\"/><BasicDb name=\"two\" tables=\"0\"/>"
                                              "<BasicDb name=\"three\" tables=\"0\"/>";
    ASSERT_EQ(LoadText("<BasicDbFile filename=\"two.db.xml\"/><BasicDbFile filename=\"none.xml\"/>"), 1);
    for (const char* name : {"one", "two", "three"}) {
        ASSERT_NE(BasicUi_FindDb(env, name), nullptr) << name;
        EXPECT_EQ(BasicUi_FindDb(env, name)->next.get(), nullptr) << name;  // each its own image
    }
    EXPECT_TRUE(LogHas("could not load file: none.xml"));  // the file after them is still read
}

TEST_F(UiLoaderTest, DatabaseFileThatCannotBeReadIsReported)
{
    ASSERT_EQ(LoadText("<BasicDbFile filename=\"none.xml\" fallback=\"neither.xml\"/><BasicDbFile persist=\"1\"/>"),
              1);
    ASSERT_NE(env->dbRoot, nullptr);
    EXPECT_EQ(env->dbRoot->db, nullptr);
    EXPECT_TRUE(LogHas("could not load file: none.xml or fallback neither.xml"));
    EXPECT_EQ(env->dbRoot->next->persist, 1);
}

}  // namespace

namespace {

// A registered database (the save's) belongs to no environment: an environment loaded after its
// registration finds it, and clearing the environment leaves it whole for the next one.
TEST_F(UiLoaderTest, RegisteredDatabasesOutliveAnEnvironmentsClear)
{
    std::ofstream(scratch + "/p.db.xml")
        << "<BasicDb name=\"p\" tableDefs=\"1\" tables=\"1\"><BasicDbTableDef name=\"r\" columns=\"1\">"
           "<BasicDbTableColumnDef name=\"a\" type=\"int\" count=\"1\"/></BasicDbTableDef>"
           "<BasicDbTable name=\"rows\" def=\"r\" rows=\"1\">42,</BasicDbTable></BasicDb>";
    gHostOptions.romDir = scratch;
    sBasicDb* db = nullptr;
    ASSERT_EQ(BasicDb_Load(&db, "p.db.xml"), 1);
    BasicDb_DbRegister(db);
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(LoadText("<BasicUiDisplay name=\"d\"/>"), 1);
        EXPECT_EQ(BasicUi_FindDb(env, "p"), db) << round;
        BasicUiEnvironment_Clear(env);
        EXPECT_EQ(BasicDbTable_GetElementI(BasicDbTable_Find(db, "rows"), 0, 0), 42) << round;
    }
    BasicDb_Destroy(db);
    BasicDb_Init();
}

}  // namespace
