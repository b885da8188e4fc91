// Every number of every widget type at the extremes: the widgets compute positions, sizes and
// offsets from them each frame, and none of those sums may overflow (the sanitizer build stops on
// one), whatever a description or a command sets.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host/host.h"
#include "lib/resourceload.h"
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
                if (p.propType == eBasicUiPropertyTypeINT) ints.push_back({type, p.name});
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
        // A widget at its largest may draw more quads than a frame holds: the frame reports the
        // ones it could not keep, and the widgets have computed where every one goes.
        BasicUi_RenderEnvironmentFull(env);
    }
    // What every widget of the type has besides the number swept (unless it is that number): the
    // game's font and a picture for its resources, and a place and size on the lower screen, so
    // that it draws its text and pictures.
    std::string Context(int type, const std::string& swept) const
    {
        static const std::pair<const char*, const char*> kPlace[] = {
            {"x", "420"}, {"y", "80"}, {"w", "160"}, {"h", "60"}};
        std::string attributes;
        for (const auto& [t, name] : ints) {
            if (t != type || name == swept) continue;
            const size_t n = name.size();
            if (n >= 2 && name.compare(n - 2, 2, "ID") == 0)
                attributes += " " + name + (name.find("ont") != std::string::npos ? "=\"3077\"" : "=\"3400\"");
            for (const auto& [place, value] : kPlace)
                if (name == place) attributes += " " + name + "=\"" + value + "\"";
        }
        return attributes;
    }
    // Every number with a range, of every widget of the screens, is in it.
    void CheckEveryNumberInRange(const std::vector<std::string>& screens)
    {
        static sBasicUiPropertyTracker tracker;
        for (const std::string& shown : screens)
            for (sBasicUiWidget* w = BasicUi_FindScreen(env, shown.c_str())->nextWidget; w; w = w->nextWidget) {
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
    // The reference to the screen's cursor, or to the widget's own button, for a type that takes it.
    std::string Ref(int type, const char* name, const std::string& target) const
    {
        return refs.count({type, name}) ? std::string(" ") + name + "=\"" + target + "\"" : std::string();
    }
    std::set<std::pair<int, std::string>> refs;  // the widget references of each type
    Numbers ints;                                // the integers of each type
    DS3_controller pad = {};
    DS3_controller* savedPad = nullptr;
    HostOptions savedOptions;
};

// One screen a value and type; on it one widget a number of the type, that number set to the
// value and the others as a working widget has them (the game's font and a picture, a place on the
// lower screen), each with a button inside (the rows of dialogs and scroll boxes) and the screen's
// cursor when it takes one; an anchor on its own button moves it every frame, and a sequence
// writes the value into numbers with a range at run time. Each screen is shown alone (so that its
// quads fit a frame) for frames with a touch, a press of A and a release. No sum may overflow
// (the sanitizer build stops on one), and every number a widget computes with ends in its range.
TEST_F(UiWidgetNumbers, EveryNumberOfEveryTypeAtItsExtremesRunsFramesWithATouchAndAPress)
{
    StartRenderer();
    ASSERT_EQ(ScreenInitializeAPI(), 1);
    ASSERT_EQ(LoadResourceRange1x1(3050, 3084), 1);
    ASSERT_EQ(LoadResourceRange1x1(3400, 3400), 1);
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
    std::vector<std::string> screens;
    for (int v = 0; v < 3; v++)
        for (int type = 1; type < EBasicUiWidgetTypeCount; type++) {
            const std::string s = std::to_string(v) + "_" + std::to_string(type), value = values[v];
            screens.push_back("s" + s);
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
            for (const auto& [t, name] : numbers) {
                if (t != type) continue;
                const std::string id = std::to_string(v) + "_" + std::to_string(type) + "_" + name;
                xml += widget("w" + id, basicUiWidgetTypeNameStr[type],
                              name + "=\"" + value + "\"" + Context(type, name) + Ref(type, "cursor", "cur" + s) +
                                  Ref(type, "button", "b" + id),
                              widget("b" + id, "wtButton", "x=\"440\" y=\"100\" w=\"80\" h=\"20\""));
            }
            xml += "</BasicUiScreen>";
        }
    ASSERT_EQ(LoadText(xml + "</BasicUiDisplay>"), 1);
    EXPECT_TRUE(LogHas("widget w1_58_x: x 2147483647 is out of range; 32767 is used"));

    for (const std::string& shown : screens) {
        for (sBasicUiScreen* screen = env->displayRoot->nextScreen; screen; screen = screen->nextScreen)
            screen->isActive.value = screen->isRender.value = shown == screen->name;
        BasicUiWidgetTypeCmdSequence_Run(BasicUi_FindWidget(env, ("seq" + shown.substr(1)).c_str()));
        // A touch on the widgets and a press of A, held, then let go; then nothing.
        Frame(500, 110, 1, kButtonA, kButtonA);
        Frame(470, 110, 1, kButtonA, 0);
        Frame(0, 0, 0, 0, 0);
        Frame(560, 180, 1, kButtonA, kButtonA);
    }

    CheckEveryNumberInRange(screens);
    BasicUiEnvironment_Clear(env);

    // The widgets of the game's own descriptions, set up as the game has them (their fonts, pictures,
    // texts and tables), each number of each type in turn at the extremes, through the loader's
    // check, for a frame with a touch and a press, then put back.
    for (const char* file : {"ui/gallery.ui.xml", "ui/careerwidgets.ui.xml"}) {
        ASSERT_EQ(LoadContent(file), 1) << file;
        std::vector<sBasicUiWidget*> all;
        for (sBasicUiWidget* first : env->wHash)
            for (sBasicUiWidget* w = first; w; w = w->nextHash) all.push_back(w);
        static sBasicUiPropertyTracker tracker;
        for (const char* value : {values[0], values[1]})
            for (const auto& [type, name] : numbers) {
                std::vector<std::pair<sBasicUiProperty, float>> changed;
                for (sBasicUiWidget* w : all) {
                    if (w->widgetTypeRef.type != type) continue;
                    BasicUiWidget_InitialisePropertyTracker(w, &tracker);
                    sBasicUiProperty* p = BasicUiPropertyTracker_FindPropertyByName(&tracker, name.c_str());
                    if (!p || !p->propPtr) continue;
                    if (p->propType == eBasicUiPropertyTypeINT) {
                        auto* i = static_cast<sBasicUiValueINT*>(p->propPtr);
                        changed.push_back({*p, float(i->value)});
                        i->value = std::stoi(value);
                    } else {
                        auto* f = static_cast<float*>(p->propPtr);
                        changed.push_back({*p, *f});
                        *f = std::stof(value);
                    }
                }
                if (changed.empty()) continue;
                BasicUiEnvironment_CheckLoaded(env);
                Frame(500, 110, 1, kButtonA, kButtonA);
                for (const auto& [p, was] : changed)
                    if (p.propType == eBasicUiPropertyTypeINT)
                        static_cast<sBasicUiValueINT*>(p.propPtr)->value = int(was);
                    else
                        *static_cast<float*>(p.propPtr) = was;
            }
        BasicUiEnvironment_Clear(env);
    }
}

}  // namespace
