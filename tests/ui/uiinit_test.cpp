#include "host/errorlog.h"
#include "shell/globals.h"
#include "shell/settings.h"
#include "ui/registry.h"
#include "ui/stats.h"
#include "ui/uiinit.h"
#include "ui/uiload_fixture.h"

namespace {

class UiInitTest : public UiLoadTest {
protected:
    int savedHiDef = 0;
    int savedWide = 0;
    void SetUp() override
    {
        UiLoadTest::SetUp();
        savedHiDef = gHiDef;
        savedWide = displayOptions.wideScreen;
        gHiDef = 0;
        displayOptions.wideScreen = 0;
        basicUiEnvironmentPtr = nullptr;
    }
    void TearDown() override
    {
        gHiDef = savedHiDef;
        displayOptions.wideScreen = savedWide;
        UiLoadTest::TearDown();
    }
};

int Noop(sBasicUiWidget*, int) { return 1; }

TEST_F(UiInitTest, MakesTheBaseEnvironmentAndItsStatistics)
{
    BasicFn_Register("left", Noop);
    ASSERT_EQ(BasicUi_Init(0), 1);
    sBasicUiEnvironment* base = BasicUi_GetEnvironment();
    ASSERT_NE(base, nullptr);
    EXPECT_STREQ(base->name, "BaseEnv");
    EXPECT_EQ(base->memorySlot, 0);
    EXPECT_EQ(base->variant, 0);
    ASSERT_NE(BasicUi_GetEditor(), nullptr);
    EXPECT_EQ(BasicUi_GetEditor()->env, base);
    EXPECT_GT(BasicUi_GetEditor()->memInit.value, 0);
    EXPECT_EQ(BasicFn_Find("left"), nullptr);  // the registry starts empty
    EXPECT_EQ(gBasicMemoryNumSlots, basicUiNumberOfMemorySlots);
    // The UI's own archive is not part of this game data: each resource is reported missing.
    EXPECT_TRUE(LogHas("BasicUi Error: could not find basicUi logo resource!"));
    EXPECT_TRUE(LogHas("BasicUi Error: could not find basicUi font  resource!"));
    EXPECT_EQ(basicUiFontInfoID, 6);
    EXPECT_EQ(basicUiFontID, 7);
}

TEST_F(UiInitTest, DisplayVariantChoosesFontAndVariant)
{
    EXPECT_EQ(BasicUiEnvironment_GetVariant(nullptr), 0);
    displayOptions.wideScreen = 1;
    EXPECT_EQ(BasicUiEnvironment_GetVariant(nullptr), 1);
    displayOptions.wideScreen = 0;
    gHiDef = 2;
    EXPECT_EQ(BasicUiEnvironment_GetVariant(nullptr), 3);
    ASSERT_EQ(BasicUi_Init(0), 1);
    EXPECT_EQ(BasicUi_GetEnvironment()->variant, 3);
    EXPECT_EQ(basicUiFontInfoID, 2);
    EXPECT_EQ(basicUiFontID, 3);
    gHiDef = 1;
    ASSERT_EQ(BasicUi_Init(0), 1);
    EXPECT_EQ(basicUiFontInfoID, 4);
    EXPECT_EQ(basicUiFontID, 5);
}

}  // namespace
