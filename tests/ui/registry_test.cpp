#include "ui/registry.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

int calls;
sBasicUiWidget* seenWidget;
int seenValue;

int First(sBasicUiWidget*, int) { return 1; }
int Second(sBasicUiWidget*, int) { return 2; }
int Record(sBasicUiWidget* widget, int value)
{
    calls++;
    seenWidget = widget;
    seenValue = value;
    return 0;
}

struct BasicFnRegistry : testing::Test {
    void SetUp() override { BasicFn_Clear(); }
    void TearDown() override
    {
        BasicFn_Clear();
        BasicUi_SetModalLoopCb(nullptr);
    }
};

TEST_F(BasicFnRegistry, TheFirstRegistrationOfANameWinsAndNamesMatchByExactText)
{
    ASSERT_EQ(BasicFn_Register("GameSave", First), 1);
    ASSERT_EQ(BasicFn_Register("Other", Second), 1);
    ASSERT_EQ(BasicFn_Register("GameSave", Second), 1);  // kept, but never found
    EXPECT_EQ(basicFnCount, 3);
    std::string copy = "GameSave";  // the same text in another buffer
    EXPECT_EQ(BasicFn_Find(copy.c_str()), &First);
    EXPECT_EQ(BasicFn_Find("Other"), &Second);
    for (const char* miss : {"gamesave", "GameSav", "GameSaveX", "", static_cast<const char*>(nullptr)})
        EXPECT_EQ(BasicFn_Find(miss), nullptr) << (miss ? miss : "null");
}

TEST_F(BasicFnRegistry, NullArgumentsAndRegistrationsPastTheLastEntryAreRefused)
{
    EXPECT_EQ(BasicFn_Register(nullptr, First), 0);
    EXPECT_EQ(BasicFn_Register("NoFunction", nullptr), 0);
    EXPECT_EQ(basicFnCount, 0);

    static char names[kBasicFnMax][16];
    for (int i = 0; i < kBasicFnMax; i++) {
        snprintf(names[i], sizeof names[i], "f%d", i);
        ASSERT_EQ(BasicFn_Register(names[i], i == kBasicFnMax - 1 ? Second : First), 1) << i;
    }
    EXPECT_EQ(BasicFn_Register("late", First), 0);
    EXPECT_EQ(basicFnCount, kBasicFnMax);
    EXPECT_EQ(BasicFn_Find("late"), nullptr);
    EXPECT_EQ(BasicFn_Find("f511"), &Second);

    BasicFn_Clear();
    EXPECT_EQ(BasicFn_Find("f0"), nullptr);
}

TEST_F(BasicFnRegistry, TheModalLoopCallbackRunsOnlyWhenSetWithNoWidgetAndZero)
{
    calls = 0;
    BasicUi_RunModalLoopCb();
    EXPECT_EQ(calls, 0);
    seenWidget = reinterpret_cast<sBasicUiWidget*>(&calls);
    seenValue = -1;
    BasicUi_SetModalLoopCb(Record);
    BasicUi_RunModalLoopCb();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(seenWidget, nullptr);
    EXPECT_EQ(seenValue, 0);
}

}  // namespace
