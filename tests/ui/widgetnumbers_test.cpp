// Every number of every widget type at the extremes: the widgets compute positions, sizes and
// offsets from them each frame, and none of those sums may overflow (the sanitizer build stops on
// one), whatever a description or a command sets.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host/host.h"
#include "lib/screenapi.h"
#include "platform/input.h"
#include "ui/frameupdate.h"
#include "ui/loadcheck.h"
#include "ui/uiload_fixture.h"
#include "ui/widgets/commands.h"
#include "ui/widgettypes.h"

namespace {

using Numbers = std::vector<std::pair<int, std::string>>;  // a widget type and a property's name

class UiWidgetNumbers : public UiLoadTest {
protected:
    void SetUp() override
    {
        UiLoadTest::SetUp();
        savedOptions = gHostOptions;
        gHostOptions.headless = 1;
        savedPad = controllers[0].controller;
        controllers[0].controller = &pad;
    }
    void TearDown() override
    {
        controllers[0].controller = savedPad;
        allInput.buttons = allInput.edges = 0;
        UiLoadTest::TearDown();
        gHostOptions = savedOptions;
    }
    // The integer and float properties of every widget type, from a description with one of each.
    Numbers EveryNumber()
    {
        std::string xml = "<BasicUiDisplay name=\"d\"><BasicUiScreen name=\"s\">";
        for (int type = 1; type < EBasicUiWidgetTypeCount; type++)
            xml += "<BasicUiWidget name=\"t" + std::to_string(type) + "\" typeWidget=\"" +
                   basicUiWidgetTypeNameStr[type] + "\"/>";
        EXPECT_EQ(LoadText(xml + "</BasicUiScreen></BasicUiDisplay>"), 1);
        Numbers numbers;
        static sBasicUiPropertyTracker tracker;
        for (int type = 1; type < EBasicUiWidgetTypeCount; type++) {
            BasicUiWidget_InitialisePropertyTracker(BasicUi_FindWidget(env, ("t" + std::to_string(type)).c_str()),
                                                    &tracker);
            for (int i = 0; i < tracker.props; i++) {
                const sBasicUiProperty& p = tracker.prop[i];
                if (p.propType == eBasicUiPropertyTypeINT || p.propType == eBasicUiPropertyTypeFLT)
                    numbers.push_back({type, p.name});
                if (p.propType == eBasicUiPropertyTypeWidgetREF) refs.insert({type, p.name});
            }
        }
        BasicUiEnvironment_Clear(env);
        return numbers;
    }
    void Frame(int touchX, int touchY, int touching, uint16_t buttons, uint16_t edges)
    {
        pad.touchData = DS3_TouchData{touchX, touchY, touching};
        allInput.buttons = buttons;
        allInput.edges = edges;
        ASSERT_EQ(BasicUi_UpdateEnvironment(env, 1.0f / 30.0f), 1);
        // Thousands of widgets fill the frame's quads: the frame reports the quads it could not
        // keep, but every widget has drawn, and so computed where its quads go.
        BasicUi_RenderEnvironmentFull(env);
    }
    // The reference to the screen's cursor, or to the widget's own button, for a type that takes it.
    std::string Ref(int type, const char* name, const std::string& target) const
    {
        return refs.count({type, name}) ? std::string(" ") + name + "=\"" + target + "\"" : std::string();
    }
    std::set<std::pair<int, std::string>> refs;  // the widget references of each type
    DS3_controller pad = {};
    DS3_controller* savedPad = nullptr;
    HostOptions savedOptions;
};

// One screen a value; on it one widget a number of every type, that number set to the value and
// the others left as they start, each with a button inside (the rows of dialogs and scroll boxes)
// and the screen's cursor when it takes one; an anchor on its own button moves it every frame, and
// a sequence writes the value into numbers with a range at run time. Frames run with touches over
// the lower screen and presses of A. No sum may overflow (the sanitizer build stops on one), and
// every number a widget computes with ends in its range.
TEST_F(UiWidgetNumbers, EveryNumberOfEveryTypeAtItsExtremesRunsFramesWithATouchAndAPress)
{
    StartRenderer();
    ASSERT_EQ(ScreenInitializeAPI(), 1);
    const Numbers numbers = EveryNumber();
    ASSERT_GT(numbers.size(), 500u);
    const char* const values[] = {"-2147483648", "2147483647", "1000000000"};
    // An element: a widget of the type with the attributes, and the children inside.
    auto widget = [](const std::string& name, const std::string& type, const std::string& attributes,
                     const std::string& children = "") {
        return "<BasicUiWidget name=\"" + name + "\" typeWidget=\"" + type + "\" " + attributes + ">" + children +
               "</BasicUiWidget>";
    };
    std::string xml = "<BasicUiDisplay name=\"lower\">";
    for (int v = 0; v < 3; v++) {
        const std::string s = std::to_string(v), value = values[v];
        xml += "<BasicUiScreen name=\"s" + s + "\">" + widget("cur" + s, "stickyCursor", "") +
               widget("own" + s, "wtButton", "x=\"10\" y=\"10\" w=\"40\" h=\"20\"") +
               widget("self" + s, "anchor",
                      "button=\"own" + s + "\" anchorN=\"own" + s + "\" anchorW=\"own" + s +
                          "\" offX=\"32767\" offY=\"32767\"");
        // A sequence copies a number that has no range into a sticky button's position and sets
        // its width and the cursor's place to the value.
        xml += widget("set" + s, "stickyButton", "cursor=\"cur" + s + "\"") +
               widget("num" + s, "wtInstance", "i0=\"" + value + "\"") +
               widget("seq" + s, "cmdSeq", "",
                      widget("copy" + s, "cmdControl",
                             "srcW=\"num" + s + "\" srcP=\"i0\" dstW=\"set" + s + "\" dstP=\"x\"") +
                          widget("width" + s, "cmdValue",
                                 "widget=\"set" + s + "\" prop=\"w\" iValue=\"" + value + "\"") +
                          widget("place" + s, "cmdValue",
                                 "widget=\"cur" + s + "\" prop=\"gravitatedCursorX\" fValue=\"" + value + "\""));
        for (const auto& [type, name] : numbers) {
            const std::string id = s + "_" + std::to_string(type) + "_" + name;
            xml += widget("w" + id, basicUiWidgetTypeNameStr[type],
                          name + "=\"" + value + "\"" + Ref(type, "cursor", "cur" + s) + Ref(type, "button", "b" + id),
                          widget("b" + id, "wtButton", "x=\"100\" y=\"50\" w=\"80\" h=\"20\""));
        }
        xml += "</BasicUiScreen>";
    }
    ASSERT_EQ(LoadText(xml + "</BasicUiDisplay>"), 1);
    EXPECT_TRUE(LogHas("widget w1_58_x: x 2147483647 is out of range; 32767 is used"));

    for (int v = 0; v < 3; v++)
        BasicUiWidgetTypeCmdSequence_Run(BasicUi_FindWidget(env, ("seq" + std::to_string(v)).c_str()));
    // Touches where the widgets are, far off the screen and nowhere; A held and pressed.
    Frame(500, 110, 1, 0, 0);
    Frame(440, 70, 1, kButtonA, kButtonA);
    Frame(0, 0, 0, kButtonA, 0);
    Frame(719, 359, 1, 0, 0);
    Frame(0, 0, 0, kButtonA, kButtonA);
    for (int frame = 0; frame < 5; frame++) Frame(560, 180, frame & 1, kButtonA, frame & 1 ? kButtonA : 0);

    static sBasicUiPropertyTracker tracker;
    for (int v = 0; v < 3; v++)
        for (sBasicUiWidget* w = BasicUi_FindScreen(env, ("s" + std::to_string(v)).c_str())->nextWidget; w;
             w = w->nextWidget) {
            BasicUiWidget_InitialisePropertyTracker(w, &tracker);
            for (int i = 0; i < tracker.props; i++) {
                const sBasicUiProperty& p = tracker.prop[i];
                int least = 0, most = 0;
                if (!p.propPtr || !BasicUi_NumberLimits(w, p.name, &least, &most)) continue;
                double value = 0;
                if (p.propType == eBasicUiPropertyTypeINT)
                    value = static_cast<sBasicUiValueINT*>(p.propPtr)->value;
                else if (p.propType == eBasicUiPropertyTypeFLT)
                    value = *static_cast<float*>(p.propPtr);
                EXPECT_TRUE(value >= least && value <= most) << w->name << " " << p.name << " " << value;
            }
        }
}

}  // namespace
