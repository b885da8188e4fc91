// The hand-written UI description under content/ loads whole into an environment.
#include <cstring>

#include "db/database.h"
#include "host/errorlog.h"
#include "ui/loader.h"
#include "ui/templates.h"
#include "ui/uiload_fixture.h"
#include "ui/widgettypes.h"

namespace {

using Names = std::vector<std::string>;

class UiContentTest : public UiLoadTest {
protected:
    void SetUp() override
    {
        UiLoadTest::SetUp();
        ASSERT_EQ(LoadContent("ui/test.ui.xml"), 1);
    }
};

TEST_F(UiContentTest, DisplaysAndScreensInFileOrder)
{
    Names displays, screens;
    for (sBasicUiDisplay* d = env->displayRoot; d; d = d->nextDisplay) {
        displays.push_back(d->name);
        EXPECT_EQ(d->env, env);
        for (sBasicUiScreen* s = d->nextScreen; s; s = s->nextScreen) {
            screens.push_back(s->name);
            EXPECT_EQ(s->parentDisplay, d);
        }
    }
    EXPECT_EQ(displays, (Names{"upper", "lower", "debug"}));
    EXPECT_EQ(screens, (Names{"title", "rows", "menu", "options"}));

    sBasicUiDisplay* upper = BasicUi_FindDisplay(env, "upper");
    ASSERT_NE(upper, nullptr);
    EXPECT_EQ(upper->w.value, 720);  // the constant for every variant; the environment has none set
    EXPECT_EQ(upper->w.c, BasicUi_FindConstantDef(env, "ui.width"));
    EXPECT_EQ(upper->h.value, 360);
    EXPECT_EQ(upper->resourceSet, BasicUi_FindResourceSet(env, "menuSet"));
    EXPECT_EQ(BasicUi_FindDisplay(env, "lower")->x.value, 400);
    EXPECT_EQ(BasicUi_FindDisplay(env, "debug")->isActive.value, 0);
    EXPECT_EQ(BasicUi_FindScreen(env, "rows")->variant.value, 1);
    EXPECT_EQ(BasicUi_FindScreen(env, "options")->isActive.value, 0);
}

TEST_F(UiContentTest, WidgetTreesWalkInDepthFirstOrder)
{
    EXPECT_EQ(TreeNames(BasicUi_FindScreen(env, "title")), (Names{"titleBg", "titleText", "pointer"}));
    EXPECT_EQ(TreeNames(BasicUi_FindScreen(env, "rows")),
              (Names{"rowDef", "row%P", "row%PLabel", "row%PScore", "instAce", "rowAce", "rowAceLabel",
                     "rowAceScore", "instBo", "rowBo", "rowBoLabel", "rowBoScore"}));
    EXPECT_EQ(TreeNames(BasicUi_FindScreen(env, "menu")),
              (Names{"menuSeq", "menuButtons", "playButton", "optionsButton"}));
    // menuBack was named again in the options screen, which moved it there.
    EXPECT_EQ(TreeNames(BasicUi_FindScreen(env, "options")), (Names{"volume", "menuBack"}));
    EXPECT_EQ(BasicUi_FindWidget(env, "menuBack")->isRender.value, 0);
}

TEST_F(UiContentTest, WidgetsFoundByNameKnowTheirPlaceAndType)
{
    sBasicUiWidget* play = BasicUi_FindWidget(env, "playButton");
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(play->parentWidget, BasicUi_FindWidget(env, "menuButtons"));
    EXPECT_EQ(play->widgetTypeRef.type, EBasicUiWidgetTypeButton);
    EXPECT_EQ(BasicUiWidget_GetEnvironment(play), env);
    EXPECT_EQ(BasicUi_FindWidget(env, "menuSeq")->widgetTypeRef.type, EBasicUiWidgetTypeCmdSequence);
    EXPECT_EQ(BasicUi_FindWidget(env, "titleText")->isActive.value, 1);
    EXPECT_EQ(BasicUi_FindWidget(env, "titleText")->isActive.c, BasicUi_FindConstantDef(env, "menu.on"));
    EXPECT_EQ(BasicUi_FindWidget(env, "noSuchWidget"), nullptr);
}

TEST_F(UiContentTest, InstancesCopyTheRowTemplate)
{
    sBasicUiWidget* rowAce = BasicUi_FindWidget(env, "rowAce");
    sBasicUiWidget* rowBo = BasicUi_FindWidget(env, "rowBo");
    ASSERT_NE(rowAce, nullptr);
    ASSERT_NE(rowBo, nullptr);
    EXPECT_EQ(rowAce->parentWidget, BasicUi_FindWidget(env, "instAce"));
    EXPECT_EQ(rowAce->widgetTypeRef.type, EBasicUiWidgetTypeButton);
    // isRender is bound to variable 0: Ace supplies 1, Bo 0.
    EXPECT_EQ(rowAce->isRender.value, 1);
    EXPECT_EQ(rowBo->isRender.value, 0);

    auto* score = static_cast<sBasicUiWidgetTypeDefinition*>(BasicUi_FindWidget(env, "rowAceScore")->widgetTypeRef.ptr);
    ASSERT_NE(score, nullptr);
    EXPECT_STREQ(score->s[1], "Score Ace: 100%");
    EXPECT_EQ(score->in.value, 1);
    auto* boScore = static_cast<sBasicUiWidgetTypeDefinition*>(BasicUi_FindWidget(env, "rowBoScore")->widgetTypeRef.ptr);
    EXPECT_EQ(boScore->in.value, 0);

    // The reference made before rowBoLabel existed now points at the generated widget.
    auto* pointer = static_cast<sBasicUiWidgetTypeInstance*>(BasicUi_FindWidget(env, "pointer")->widgetTypeRef.ptr);
    ASSERT_NE(pointer, nullptr);
    EXPECT_EQ(pointer->definition, BasicUi_FindWidget(env, "rowBoLabel"));
    EXPECT_EQ(pointer->definition->parentWidget, rowBo);
    EXPECT_EQ(pointer->definition->widgetTypeRef.type, EBasicUiWidgetTypeLabel);
}

TEST_F(UiContentTest, ConstantsAnimationsAndDatabases)
{
    EXPECT_EQ(BasicUi_FindConstantDef(env, "title.x")->iValue, 40);
    EXPECT_STREQ(BasicUi_FindConstantDef(env, "accent")->hValue, "ff8800");
    EXPECT_EQ(env->tracker.tempSize, 4096);  // sized by RLS.TEMP

    sBasicUiAnim* slide = BasicUi_FindAnim(env, "slide");
    ASSERT_NE(slide, nullptr);
    EXPECT_EQ(slide->type, eBasicUiAnimTypeVEC3);
    EXPECT_EQ(slide->offset, 0);
    sBasicUiAnimKey* k = slide->nextKey;
    ASSERT_NE(k, nullptr);
    ASSERT_NE(k->next, nullptr);
    ASSERT_NE(k->next->next, nullptr);
    sBasicUiAnimKey* last = k->next->next;
    EXPECT_FLOAT_EQ(last->t, 1.0f);
    EXPECT_FLOAT_EQ(last->v[1], 50.0f);
    EXPECT_EQ(last->prev, k->next);
    EXPECT_EQ(k->next->prev, k);
    EXPECT_EQ(k->prev, nullptr);
    EXPECT_EQ(BasicUi_FindAnim(env, "fadeIn")->offset, 1);

    sBasicUiAnimSet* intro = BasicUi_FindAnimSet(env, "intro");
    ASSERT_NE(intro, nullptr);
    ASSERT_NE(intro->nextItem, nullptr);
    EXPECT_STREQ(intro->nextItem->prop, "x");
    EXPECT_EQ(intro->nextItem->anim, slide);
    EXPECT_EQ(intro->nextItem->next->anim, BasicUi_FindAnim(env, "fadeIn"));

    sBasicDb* save = BasicUi_FindDb(env, "save");
    ASSERT_NE(save, nullptr);
    EXPECT_EQ(save->isContiguous, 1);
    EXPECT_NE(BasicDbTable_Find(save, "bowlers"), nullptr);
}

TEST_F(UiContentTest, LoadingAgainGivesTheSameTreeAndClearingEmpties)
{
    ASSERT_EQ(LoadContent("ui/test.ui.xml"), 1);
    EXPECT_EQ(TreeNames(BasicUi_FindScreen(env, "menu")),
              (Names{"menuSeq", "menuButtons", "playButton", "optionsButton"}));
    EXPECT_EQ(HostErrorLog().find("duplicate"), std::string::npos);

    BasicUiEnvironment_Clear(env);
    BasicUiEnvironment_Clear(env);
    EXPECT_EQ(env->displayRoot, nullptr);
    EXPECT_EQ(BasicUi_FindWidget(env, "playButton"), nullptr);
    EXPECT_EQ(BasicUiEnvironment_GetConstantDefUsingHashTable(env, "title.x", -1), nullptr);
    EXPECT_EQ(gBasicMemorySlots[env->memorySlot].allocs, 0);
}

}  // namespace
