#include "ui/environment.h"

#include <string>

#include "host/errorlog.h"
#include "ui/uiload_fixture.h"
#include "ui/widgettypes.h"

namespace {

using Names = std::vector<std::string>;

class UiEnvironmentTest : public UiLoadTest {
protected:
    sBasicUiScreen* screen = nullptr;

    void SetUp() override
    {
        UiLoadTest::SetUp();
        sBasicUiDisplay* d = BasicUi_CreateDisplay(env, "d");
        ASSERT_NE(d, nullptr);
        env->displayRoot = d;
        screen = BasicUi_CreateScreen(env, "s", d);
        ASSERT_NE(screen, nullptr);
        d->nextScreen = screen;
    }

    sBasicUiWidget* Top(const char* name)
    {
        sBasicUiWidget* w = BasicUi_CreateWidget(env, name, screen, nullptr);
        screen->nextWidget = BasicUi_InsertWidget(screen->nextWidget, w, 1000);
        return w;
    }
};

TEST_F(UiEnvironmentTest, EnvironmentsFormACircleWithTheFirstInFront)
{
    sBasicUiEnvironment* second = BasicUi_CreateEnvironment(const_cast<char*>("two"), 3);
    sBasicUiEnvironment* third = BasicUi_CreateEnvironment(const_cast<char*>("three"), 4);
    EXPECT_EQ(BasicUi_GetEnvironment(), env);
    EXPECT_EQ(env->nextEnv, second);
    EXPECT_EQ(second->nextEnv, third);
    EXPECT_EQ(third->nextEnv, env);
    EXPECT_EQ(env->prevEnv, third);
}

TEST_F(UiEnvironmentTest, WidgetsAreFoundByNameNewestFirst)
{
    sBasicUiWidget* first = Top("same");
    sBasicUiWidget* second = Top("same");
    EXPECT_EQ(BasicUi_FindWidget(env, "same"), second);
    EXPECT_EQ(BasicUi_FindWidget(env, ""), nullptr);
    EXPECT_EQ(BasicUi_FindWidget(env, nullptr), nullptr);
    // Destroying the newest makes the older one visible again.
    BasicUi_CutWidget(second);
    BasicUiWidget_Destroy(env, second);
    EXPECT_EQ(BasicUi_FindWidget(env, "same"), first);
}

TEST_F(UiEnvironmentTest, NamesAlikeInTheirFirst33CharactersShareABucket)
{
    const std::string stem(33, 'q');
    EXPECT_EQ(BasicUi_HashName((stem + "A").c_str(), 0), BasicUi_HashName((stem + "B").c_str(), 0));
    sBasicUiWidget* a = Top((stem + "A").c_str());
    sBasicUiWidget* b = Top((stem + "B").c_str());
    EXPECT_EQ(BasicUi_FindWidget(env, (stem + "A").c_str()), a);
    EXPECT_EQ(BasicUi_FindWidget(env, (stem + "B").c_str()), b);
    // The hash reads characters as signed bytes and seeds constants with their variant.
    EXPECT_EQ(BasicUi_HashName("a", 0), ('a') % 1009);
    EXPECT_EQ(BasicUi_HashName("\xff", 0), int(0xFFFFFFFFu % 1009));
    EXPECT_EQ(BasicUi_HashName("", 0xFFFFFFFFu), int(0xFFFFFFFFu % 1009));
}

TEST_F(UiEnvironmentTest, ConstantsByVariant)
{
    auto add = [&](const char* name, int value, int variant) {
        sBasicUiConstantDef* c = BasicUi_CreateConstantDef(env);
        c->name = BasicMemory_DupString(env->memorySlot, name);
        c->iValue = value;
        c->variant = variant;
        BasicUiEnvironment_HashConstantDef(env, c);
    };
    add("k", 2, 2);
    add("every", 7, -1);
    env->variant = 2;
    EXPECT_EQ(BasicUi_FindConstantDef(env, "k")->iValue, 2);
    EXPECT_EQ(BasicUi_FindConstantDef(env, "every")->iValue, 7);
    env->variant = 1;
    EXPECT_EQ(BasicUi_FindConstantDef(env, "k"), nullptr);
    EXPECT_TRUE(LogHas("BasicUi_FindConstantDef: could not find constant: k"));
    EXPECT_EQ(BasicUi_FindConstantDef(env, "every")->iValue, 7);
    EXPECT_EQ(BasicUiEnvironment_GetConstantDefUsingHashTable(env, "every", 1), nullptr);
}

TEST_F(UiEnvironmentTest, InsertAndCutKeepChainsWhole)
{
    sBasicUiWidget* a = BasicUi_CreateWidget(env, "a", screen, nullptr);
    sBasicUiWidget* b = BasicUi_CreateWidget(env, "b", screen, nullptr);
    sBasicUiWidget* c = BasicUi_CreateWidget(env, "c", screen, nullptr);
    sBasicUiWidget* chain = BasicUi_InsertWidget(nullptr, a, 3);
    chain = BasicUi_InsertWidget(chain, c, 1);
    chain = BasicUi_InsertWidget(chain, b, 1);
    EXPECT_EQ(BasicUi_InsertWidget(chain, nullptr, 0), chain);
    screen->nextWidget = chain;
    EXPECT_EQ(ChainNames(screen->nextWidget), (Names{"a", "b", "c"}));

    sBasicUiWidget* child = BasicUi_CreateWidget(env, "child", screen, a);
    a->childWidget = child;
    BasicUi_CutWidget(a);
    EXPECT_EQ(ChainNames(screen->nextWidget), (Names{"b", "c"}));
    EXPECT_EQ(a->parentScreen, nullptr);
    EXPECT_EQ(a->nextWidget, nullptr);
    EXPECT_EQ(a->childWidget, child);  // the subtree goes along
    BasicUi_CutWidget(child);
    EXPECT_EQ(a->childWidget, nullptr);

    sBasicUiScreen* s2 = BasicUi_CreateScreen(env, "s2", env->displayRoot);
    screen->nextScreen = s2;
    BasicUi_CutScreen(screen);
    EXPECT_EQ(env->displayRoot->nextScreen, s2);
    sBasicUiDisplay* d = env->displayRoot;
    BasicUi_CutDisplay(d, env);
    EXPECT_EQ(env->displayRoot, nullptr);
}

TEST_F(UiEnvironmentTest, EnvironmentOfAWidgetClimbsToItsScreen)
{
    sBasicUiWidget* top = Top("top");
    sBasicUiWidget* child = BasicUi_CreateWidget(env, "child", nullptr, top);
    top->childWidget = child;
    EXPECT_EQ(BasicUiWidget_GetEnvironment(child), env);
    EXPECT_EQ(BasicUiScreen_GetEnvironment(screen), env);
    EXPECT_EQ(BasicUiWidget_GetEnvironment(BasicUi_CreateWidget(env, "loose", nullptr, nullptr)), nullptr);
    EXPECT_EQ(BasicUiDisplay_GetEnvironment(nullptr), nullptr);
    EXPECT_EQ(BasicUiEnvironment_GetInputMode(nullptr), BasicUiInputMode_Normal);
    BasicUiEnvironment_SetInputMode(env, BasicUiInputMode_Dialog);
    EXPECT_EQ(BasicUiEnvironment_GetInputMode(env), BasicUiInputMode_Dialog);
}

TEST_F(UiEnvironmentTest, PropertyTablesHoldTheBaseProperties)
{
    sBasicUiPropertyTracker tracker;
    BasicUiDisplay_InitialisePropertyTracker(env->displayRoot, &tracker);
    EXPECT_EQ(tracker.props, 9);
    EXPECT_EQ(tracker.trackerType, eBasicUiPropertyTrackerTypeDisplay);
    EXPECT_EQ(BasicUiPropertyTracker_FindPropertyByName(&tracker, "type"), nullptr);
    EXPECT_STREQ(*static_cast<char**>(tracker.prop[0].propPtr), "display");
    sBasicUiProperty* h = BasicUiPropertyTracker_FindPropertyByName(&tracker, "h");
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->propPtr, &env->displayRoot->h);
    EXPECT_EQ(BasicUiPropertyTracker_FindPropertyByName(&tracker, "name")->isEditable, 0);
    // Names sharing their first letters, a name that is another's start, and no name at all.
    EXPECT_EQ(BasicUiPropertyTracker_FindPropertyByName(&tracker, "isRender")->propPtr, &env->displayRoot->isRender);
    EXPECT_EQ(BasicUiPropertyTracker_FindPropertyByName(&tracker, "isActive")->propPtr, &env->displayRoot->isActive);
    EXPECT_EQ(BasicUiPropertyTracker_FindPropertyByName(&tracker, "isActiveX"), nullptr);
    EXPECT_EQ(BasicUiPropertyTracker_FindPropertyByName(&tracker, "is"), nullptr);
    EXPECT_EQ(BasicUiPropertyTracker_FindPropertyByName(&tracker, ""), nullptr);

    BasicUiScreen_InitialisePropertyTracker(screen, &tracker);
    EXPECT_EQ(tracker.props, 5);
    BasicUiScreen_InitialisePropertyTracker(nullptr, &tracker);
    EXPECT_EQ(tracker.props, 0);

    sBasicUiWidget* w = Top("w");
    BasicUiWidget_InitialisePropertyTracker(w, &tracker);
    EXPECT_EQ(tracker.props, 5);
    w->widgetTypeRef = BasicUiWidgetType_Create(env, EBasicUiWidgetTypeInstance);
    BasicUiWidget_InitialisePropertyTracker(w, &tracker);
    EXPECT_GT(tracker.props, 5);
    EXPECT_NE(BasicUiPropertyTracker_FindPropertyByName(&tracker, "definition"), nullptr);

    // A full table refuses more.
    for (int i = tracker.props; i < kBasicUiMaxProperties; ++i)
        BasicUiPropertyTracker_Add(&tracker, "x", eBasicUiPropertyTypeINT, &w->isActive, 1, 1);
    EXPECT_EQ(BasicUiPropertyTracker_Add(&tracker, "y", eBasicUiPropertyTypeINT, &w->isActive, 1, 1), 0);
    EXPECT_EQ(tracker.props, kBasicUiMaxProperties);
}

TEST_F(UiEnvironmentTest, DeepTreesAreDestroyedWithoutRecursion)
{
    sBasicUiWidget* parent = Top("root");
    const int depth = 50000;
    for (int i = 0; i < depth; ++i) {
        sBasicUiWidget* child = BasicUi_CreateWidget(env, nullptr, screen, parent);
        ASSERT_NE(child, nullptr);
        parent->childWidget = child;
        child->nextWidget = BasicUi_CreateWidget(env, "sibling", screen, parent);
        parent = child;
    }
    int before = gBasicMemorySlots[env->memorySlot].allocs;
    sBasicUiWidget* root = screen->nextWidget;
    screen->nextWidget = nullptr;
    BasicUiWidget_Destroy(env, root);
    // Every widget (and each named one's name) was handed back.
    EXPECT_EQ(before - gBasicMemorySlots[env->memorySlot].allocs, 2 * depth + 1 + depth + 1);
    EXPECT_EQ(BasicUi_FindWidget(env, "sibling"), nullptr);
}

}  // namespace
