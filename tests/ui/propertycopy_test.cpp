#include "ui/propertycopy.h"

#include <cstring>
#include <string>

#include "ui/uiload_fixture.h"

namespace {

std::string Substituted(const char* text, std::vector<const char*> patterns, std::vector<const char*> replacements,
                        int capacity = 256)
{
    char buffer[256];
    std::strncpy(buffer, text, sizeof buffer - 1);
    buffer[sizeof buffer - 1] = 0;
    BasicUi_Substitute(buffer, capacity, const_cast<char* const*>(patterns.data()),
                       const_cast<char* const*>(replacements.data()), int(patterns.size()));
    return buffer;
}

using UiPropertyCopyTest = UiLoadTest;

TEST_F(UiPropertyCopyTest, SubstituteReplacesTheFirstOccurrenceOfEachPattern)
{
    EXPECT_EQ(Substituted("Row%P-%P", {"%P"}, {"Ace"}), "RowAce-%P");
    EXPECT_EQ(Substituted("a%Xb%Y", {"%X", "%Y"}, {"1", "longer"}), "a1blonger");
    // Later patterns see the text as the earlier ones left it.
    EXPECT_EQ(Substituted("%A", {"%A", "%B"}, {"%B", "done"}), "done");
    EXPECT_EQ(Substituted("keep", {"", nullptr}, {"x", "y"}), "keep");
    EXPECT_EQ(Substituted("Name %P", {"%P"}, {""}), "");
    EXPECT_EQ(Substituted("Name %P", {"%P"}, {nullptr}), "");
    EXPECT_EQ(Substituted("no pattern", {"%P"}, {""}), "no pattern");
}

TEST_F(UiPropertyCopyTest, SubstituteSkipsAReplacementThatWouldNotFit)
{
    // The result and its terminator must leave one byte of the capacity spare.
    EXPECT_EQ(Substituted("ab%P", {"%P"}, {"1234"}, 8), "ab1234");
    EXPECT_FALSE(LogHas("Overflow"));
    EXPECT_EQ(Substituted("ab%P-%Q", {"%P", "%Q"}, {"12345", "z"}, 9), "ab%P-z");
    EXPECT_TRUE(LogHas("BasicUiWidgetTypeInstance_Substitute: Overflow."));
}

sBasicUiProperty Prop(eBasicUiPropertyType type, void* value, int editable = 1, int hasInitial = 1)
{
    sBasicUiProperty p;
    p.isEditable = editable;
    p.hasInitial = hasInitial;
    p.name = "p";
    p.propType = type;
    p.propPtr = value;
    return p;
}

TEST_F(UiPropertyCopyTest, BoundValuesTakeTheInstancesIntegers)
{
    sBasicUiValueINT ints[3] = {BasicUiValueINT_Make(0), BasicUiValueINT_Make(0), BasicUiValueINT_Make(5)};
    sBasicUiValueBOOL fromBool = BasicUiValueBOOL_Make(0);
    fromBool.variable = 2;
    sBasicUiValueBOOL toBool = BasicUiValueBOOL_Make(0);
    toBool.variable = 9;
    sBasicUiProperty s = Prop(eBasicUiPropertyTypeBOOL, &fromBool), d = Prop(eBasicUiPropertyTypeBOOL, &toBool);
    BasicUi_PropertyCopyByValue(&s, &d, nullptr, nullptr, 0, ints, 3, env);
    EXPECT_EQ(toBool.value, 1);
    EXPECT_EQ(toBool.initial, 1);
    EXPECT_EQ(toBool.variable, 9);  // the copy keeps its own link

    ints[0].value = 300;
    ints[0].initial = 400;
    sBasicUiValueBYTE fromByte = BasicUiValueBYTE_Make(1), toByte = BasicUiValueBYTE_Make(0);
    fromByte.variable = 0;
    s = Prop(eBasicUiPropertyTypeBYTE, &fromByte);
    d = Prop(eBasicUiPropertyTypeBYTE, &toByte);
    BasicUi_PropertyCopyByValue(&s, &d, nullptr, nullptr, 0, ints, 3, env);
    EXPECT_EQ(toByte.value, 255);
    EXPECT_EQ(toByte.initial, 255);

    // A variable past the integers in use copies the whole record.
    sBasicUiValueINT fromInt = BasicUiValueINT_Make(3), toInt = BasicUiValueINT_Make(0);
    fromInt.variable = 1;
    fromInt.directives[0] = 3;
    fromInt.directives[3] = 'k';
    s = Prop(eBasicUiPropertyTypeINT, &fromInt);
    d = Prop(eBasicUiPropertyTypeINT, &toInt);
    BasicUi_PropertyCopyByValue(&s, &d, nullptr, nullptr, 0, ints, 1, env);
    EXPECT_EQ(toInt.value, 3);
    EXPECT_EQ(toInt.variable, 1);
    EXPECT_EQ(toInt.directives[3], 'k');
}

TEST_F(UiPropertyCopyTest, NothingIsCopiedAcrossTypesOrIntoFixedProperties)
{
    sBasicUiValueINT from = BasicUiValueINT_Make(4), to = BasicUiValueINT_Make(1);
    sBasicUiValueBOOL flag = BasicUiValueBOOL_Make(0);
    sBasicUiProperty s = Prop(eBasicUiPropertyTypeINT, &from);
    sBasicUiProperty fixed = Prop(eBasicUiPropertyTypeINT, &to, 0);
    BasicUi_PropertyCopyByValue(&s, &fixed, nullptr, nullptr, 0, nullptr, 0, env);
    EXPECT_EQ(to.value, 1);
    sBasicUiProperty other = Prop(eBasicUiPropertyTypeBOOL, &flag);
    BasicUi_PropertyCopyByValue(&s, &other, nullptr, nullptr, 0, nullptr, 0, env);
    EXPECT_EQ(flag.value, 0);
    BasicUi_PropertyCopyByValue(nullptr, &other, nullptr, nullptr, 0, nullptr, 0, env);
}

TEST_F(UiPropertyCopyTest, StringsAndReferencesAreSubstitutedAndLookedUp)
{
    char* pattern[] = {const_cast<char*>("%P")};
    char* replacement[] = {const_cast<char*>("Ace")};
    char* from = BasicMemory_DupString(env->memorySlot, "100% %P %s");
    char* to = nullptr;
    sBasicUiProperty s = Prop(eBasicUiPropertyTypeSTR, &from, 1, 0), d = Prop(eBasicUiPropertyTypeSTR, &to, 1, 0);
    BasicUi_PropertyCopyByValue(&s, &d, pattern, replacement, 1, nullptr, 0, env);
    EXPECT_STREQ(to, "100% Ace %s");
    EXPECT_NE(to, from);

    // A widget reference follows the substituted name; a missing one is made in the first screen.
    sBasicUiDisplay* display = BasicUi_CreateDisplay(env, "d");
    env->displayRoot = display;
    display->nextScreen = BasicUi_CreateScreen(env, "s", display);
    sBasicUiWidget* tmpl = BasicUi_CreateWidget(env, "row%P", display->nextScreen, nullptr);
    sBasicUiWidget* fromRef = tmpl;
    sBasicUiWidget* toRef = nullptr;
    s = Prop(eBasicUiPropertyTypeWidgetREF, &fromRef, 1, 0);
    d = Prop(eBasicUiPropertyTypeWidgetREF, &toRef, 1, 0);
    BasicUi_PropertyCopyByValue(&s, &d, pattern, replacement, 1, nullptr, 0, env);
    ASSERT_NE(toRef, nullptr);
    EXPECT_STREQ(toRef->name, "rowAce");
    EXPECT_EQ(display->nextScreen->nextWidget, toRef);
    EXPECT_EQ(BasicUi_FindWidget(env, "rowAce"), toRef);

    sBasicUiAnim* anim = BasicUi_CreateAnim(env, "fadeAce");
    env->animRoot = anim;
    sBasicUiAnim* fromAnim = BasicUi_CreateAnim(env, "fade%P");
    sBasicUiAnim* toAnim = nullptr;
    s = Prop(eBasicUiPropertyTypeAnimREF, &fromAnim, 1, 0);
    d = Prop(eBasicUiPropertyTypeAnimREF, &toAnim, 1, 0);
    BasicUi_PropertyCopyByValue(&s, &d, pattern, replacement, 1, nullptr, 0, env);
    EXPECT_EQ(toAnim, anim);
    fromAnim = nullptr;
    BasicUi_PropertyCopyByValue(&s, &d, pattern, replacement, 1, nullptr, 0, env);
    EXPECT_EQ(toAnim, nullptr);
}

}  // namespace
