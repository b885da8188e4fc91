// Every number of every widget type at the extremes: the widgets compute positions, sizes and
// offsets from them each frame, and none of those sums may overflow (the sanitizer build stops on
// one), whatever a description or a command sets.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host/clock.h"
#include "host/host.h"
#include "lib/resourceload.h"
#include "lib/screenapi.h"
#include "platform/quads.h"
#include "platform/input.h"
#include "ui/frameupdate.h"
#include "ui/loadcheck.h"
#include "ui/uiload_fixture.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/rig3d.h"
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
        HostUseVirtualClock(1);
        savedPad = controllers[0].controller;
        controllers[0].controller = &pad;
    }
    void TearDown() override
    {
        controllers[0].controller = savedPad;
        allInput.buttons = allInput.edges = 0;
        UiLoadTest::TearDown();
        gHostOptions = savedOptions;
        HostUseVirtualClock(0);
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
            sBasicUiWidget* probe = BasicUi_FindWidget(env, ("t" + std::to_string(type)).c_str());
            BasicUiWidget_InitialisePropertyTracker(probe, &tracker);
            for (int i = 0; i < tracker.props; i++) {
                const sBasicUiProperty& p = tracker.prop[i];
                if (p.propType == eBasicUiPropertyTypeINT || p.propType == eBasicUiPropertyTypeFLT)
                    numbers.push_back({type, p.name});
                if (p.propType == eBasicUiPropertyTypeINT) ints.push_back({type, p.name});
                if (p.propType == eBasicUiPropertyTypeWidgetREF) refs.insert({type, p.name});
                if (p.propType == eBasicUiPropertyTypeVEC3) vectors.push_back({type, p.name});
                const bool everyWidgetHasIt = !std::strcmp(p.name, "isActive") || !std::strcmp(p.name, "isRender");
                if (p.propType == eBasicUiPropertyTypeBOOL && !everyWidgetHasIt) switches.push_back({type, p.name});
                if (p.propType <= eBasicUiPropertyTypeQUAT && !everyWidgetHasIt) driven.push_back({type, p.name});
                int least = 0, most = 0;
                if (BasicUi_NumberLimits(probe, p.name, &least, &most))
                    limits[{type, p.name}] = {least, most};
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
        // A frame's time as the game's frames have it, also for the widgets that read the UI's
        // counter (a character's limits): a frame of the clock, at most what one frame counts.
        HostAdvanceClock(34);
        ASSERT_EQ(BasicUi_UpdateEnvironment(env, BasicUiCounter_SetElapsedTime(0)), 1);
        // A widget at its largest may draw more quads than a frame holds: the frame reports the
        // ones it could not keep, and the widgets have computed where every one goes. But no
        // number may make a widget draw without bound.
        BasicUi_RenderEnvironmentFull(env);
        EXPECT_LE(numOverlayPolys, kMostQuadsAFrame) << "quads queued in one frame";
    }
    // The character's step, on every rig of the shown screens: the rig's bones turned as their
    // limits allow.
    void PoseRigs()
    {
        for (sBasicUiScreen* screen = env->displayRoot->nextScreen; screen; screen = screen->nextScreen) {
            if (!screen->isActive.value) continue;
            for (sBasicUiWidget* w = screen->nextWidget; w;) {
                if (w->widgetTypeRef.type == EBasicUiWidgetType3DRig) BasicUiWidgetType3DRig_IKMapper(w, 0, 1);
                sBasicUiWidget* next = w->childWidget;
                for (sBasicUiWidget* up = w; up && !next; up = up->parentWidget) next = up->nextWidget;
                w = next;
            }
        }
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
    // Every number with a range, of every widget of the screens (the widgets inside others too), is
    // in it (a float that is not a number is in none).
    void CheckEveryNumberInRange(const std::vector<std::string>& screens)
    {
        static sBasicUiPropertyTracker tracker;
        for (const std::string& shown : screens) {
            sBasicUiScreen* screen = BasicUi_FindScreen(env, shown.c_str());
            ASSERT_NE(screen, nullptr) << shown;
            for (sBasicUiWidget* w = screen->nextWidget; w;) {
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
                sBasicUiWidget* next = w->childWidget;
                for (sBasicUiWidget* up = w; up && !next; up = up->parentWidget) next = up->nextWidget;
                w = next;
            }
        }
    }
    // The reference to the screen's cursor, or to the widget's own button, for a type that takes it.
    std::string Ref(int type, const char* name, const std::string& target) const
    {
        return refs.count({type, name}) ? std::string(" ") + name + "=\"" + target + "\"" : std::string();
    }
    // ---- All of a type's numbers at once, and drawn at random ----

    static std::string Attribute(const std::string& name, const std::string& value)
    {
        return " " + name + "=\"" + value + "\"";
    }
    static std::string Element(const std::string& name, const std::string& type, const std::string& attributes,
                               const std::string& children = "")
    {
        return "<BasicUiWidget name=\"" + name + "\" typeWidget=\"" + type + "\"" + attributes + ">" + children +
               "</BasicUiWidget>";
    }
    std::string One(const std::vector<std::string>& of) { return of[random() % of.size()]; }
    std::string Coin() { return random() % 2 ? "1" : "0"; }
    // The values a number of the type is drawn from, its least and its most first: within its
    // range, or beyond the coordinates' range for one the loader leaves alone; a float also a hair
    // either side of 0, and a small step (a widget that divides by it repeats itself many times).
    std::vector<std::string> ValuesOf(int type, const std::string& name, bool isFloat) const
    {
        std::vector<std::string> values;
        const auto limit = limits.find({type, name});
        if (limit != limits.end()) {
            values = {std::to_string(limit->second.first), std::to_string(limit->second.second)};
            for (int v : {-1, 0, 1})
                if (v > limit->second.first && v < limit->second.second) values.push_back(std::to_string(v));
        } else {
            values = isFloat ? kHuge : kHugeInts;
            values.insert(values.end(), {"-32767", "32767", "-1", "0", "1"});
        }
        if (isFloat) values.insert(values.end(), {"-1e-30", "1e-30", "0.001"});
        return values;
    }
    // Curves of huge values of every kind, and four sets that each drive about half the properties
    // of the type with them (a vector without its parts, say).
    std::string Curves(int type)
    {
        std::string xml =
            "<BasicUiAnim name=\"float\" type=\"float\"><BasicUiAnimKey t=\"0\" value=\"1e30\"/>"
            "<BasicUiAnimKey t=\"1\" value=\"-1e30\"/></BasicUiAnim>"
            "<BasicUiAnim name=\"edge\" type=\"float\"><BasicUiAnimKey t=\"0\" value=\"-32767\"/>"
            "<BasicUiAnimKey t=\"1\" value=\"32767\"/></BasicUiAnim>"
            "<BasicUiAnim name=\"cubic\" type=\"cubic\"><BasicUiAnimKey t=\"0\" value=\"(1e30,-1e30,1e30,-1e30)\"/>"
            "<BasicUiAnimKey t=\"1\" value=\"(-1e30,1e30,-1e30,1e30)\"/></BasicUiAnim>"
            "<BasicUiAnim name=\"vec3\" type=\"vec3\"><BasicUiAnimKey t=\"0\" value=\"(1e30,-1e30,1e30)\"/>"
            "<BasicUiAnimKey t=\"1\" value=\"(-1e30,1e30,-1e30)\"/></BasicUiAnim>"
            "<BasicUiAnim name=\"quat\" type=\"quat\"><BasicUiAnimKey t=\"0\" value=\"(1e30,1e30,-1e30,1e30)\"/>"
            "<BasicUiAnimKey t=\"1\" value=\"(1,-1e30,1e30,-1e30)\"/></BasicUiAnim>";
        for (int set = 0; set < 4; set++) {
            xml += "<BasicUiAnimSet name=\"set" + std::to_string(set) + "\">";
            for (const auto& [t, name] : driven)
                if (t == type && random() % 2)
                    xml += "<BasicUiAnimSetItem prop=\"" + name + "\" anim=\"" +
                           One({"float", "edge", "cubic", "vec3", "quat"}) + "\"/>";
            xml += "</BasicUiAnimSet>";
        }
        return xml;
    }
    // The first elements of a screen: its cursor (following the stylus over the canvas), the
    // answers table, a button of its own, and numbers without a range (integers and floats) to copy.
    static std::string ScreenStart(const std::string& s)
    {
        return "<BasicUiScreen name=\"" + s + "\">" +
               Element("c" + s, "stickyCursor", " w=\"720\" h=\"360\"") +
               Element("d" + s, "dbRef", " db.Nm=\"sweep\" db.tblNm=\"answers\"") +
               Element("o" + s, "wtButton", " x=\"10\" y=\"10\" w=\"40\" h=\"20\"") +
               Element("n" + s, "wtInstance", " i0=\"2147483647\" i1=\"-2147483648\"") +
               Element("f" + s, "cmdWait", " wait=\"1e30\"") + Element("g" + s, "cmdWait", " wait=\"-1e30\"");
    }
    // A command that writes the widget's number at run time: sets or steps it to an extreme, or
    // copies one into it (a float perhaps mapped onto a clip's range).
    std::string Writer(const std::string& s, const std::string& w, const std::string& name, bool isFloat)
    {
        if (random() % 2)
            return Element("v" + w + name, "cmdValue",
                           Attribute("widget", w) + Attribute("prop", name) +
                               Attribute(isFloat ? "fValue" : "iValue", One(isFloat ? kHuge : kHugeInts)) +
                               Attribute("isInc", Coin()) + Attribute("min", "-2147483648") +
                               Attribute("max", "2147483647"));
        return Element("x" + w + name, "cmdControl",
                       Attribute("srcW", (isFloat ? One({"f", "g"}) : "n") + s) +
                           Attribute("srcP", isFloat ? "wait" : One({"i0", "i1"})) + Attribute("dstW", w) +
                           Attribute("dstP", name) + Attribute("tMap", Coin()) +
                           Attribute("tMin", One(ValuesOf(0, "", true))) +
                           Attribute("tMax", One(ValuesOf(0, "", true))));
    }
    // The parts of the type's vectors as directions drawn whole: the first at random, each other
    // one the same as the first (two directions with no angle between them).
    std::map<std::string, std::string> DirectionsDrawnWhole(int type)
    {
        std::map<std::string, std::string> parts;
        std::string first;
        for (const auto& [t, name] : vectors) {
            if (t != type) continue;
            const bool asFirst = !first.empty();
            for (const char* axis : {".x", ".y", ".z"})
                parts[name + axis] =
                    asFirst ? parts[first + axis] : std::to_string(double(int(random() % 2001) - 1000) / 1000.0);
            if (first.empty()) first = name;
        }
        return parts;
    }
    static std::string Opposite(const std::string& value)
    {
        return value[0] == '-' ? value.substr(1) : "-" + value;
    }
    // What the widget works in or on, around it or beside it: a 3D text stands in a scene, in a
    // transform at the most scale the loader keeps (nested in the text's own); a 3D movement
    // drives a transform; a bone limit turns a bone of a rig (whose rest direction is the
    // opposite of the limit's first vector: the largest turn there is) and stands in the rig's
    // limits.
    std::string InContext(int type, const std::string& id, const std::string& xml,
                          const std::map<std::string, std::string>& set) const
    {
        if (type == EBasicUiWidgetType3DText)
            return Element("i" + id, "3DInit", Attribute("sortMode", "0")) +
                   Element("t" + id, "3DPRS", " position.z=\"100\" scale.x=\"32767\"", xml) +
                   Element("e" + id, "3DFini", "");
        if (type == EBasicUiWidgetTypeTriggerMove3D) return Element("t" + id, "3DPRS", "") + xml;
        if (type != EBasicUiWidgetType3DBoneLimit) return xml;
        std::string rest;
        for (const auto& [t, name] : vectors)
            if (t == type && rest.empty())
                for (const char* axis : {".x", ".y", ".z"})
                    rest += Attribute(std::string("pivot") + axis, Opposite(set.at(name + axis)));
        const std::string rig = Attribute("rig", "r" + id);
        return Element("r" + id, "3DRig", Attribute("limits", "L" + id),
                       Element("p" + id, "3DBone", rig, Element("n" + id, "3DBone", rig + rest))) +
               "<BasicUiWidget name=\"L" + id + "\">" + xml + "</BasicUiWidget>";
    }
    // The k-th widget of the type on screen s, with its clip (playing curves on every other
    // widget), its anchor and, on every other drawn widget, a sequence of writers. In three of
    // four drawn widgets its vectors are directions drawn whole.
    std::string Swept(int type, int k, const std::string& s)
    {
        const std::string id = std::to_string(type) + "_" + std::to_string(k);
        const std::string w = "w" + id, button = "b" + id + "_0", clip = "k" + id;
        std::string attributes, writers;
        const std::map<std::string, std::string> whole =
            k >= kAtOnce && random() % 4 ? DirectionsDrawnWhole(type) : std::map<std::string, std::string>();
        std::map<std::string, std::string> set;  // the value each number was given
        for (const auto& [t, name] : numbers) {
            const size_t n = name.size();
            if (t != type) continue;
            if (n >= 2 && name.compare(n - 2, 2, "ID") == 0) {  // a resource: the game's font or a picture
                attributes += Attribute(name, name.find("ont") != std::string::npos ? "3077" : "3400");
                continue;
            }
            const bool isFloat = std::find(ints.begin(), ints.end(), std::make_pair(t, name)) == ints.end();
            const std::vector<std::string> values = ValuesOf(type, name, isFloat);
            set[name] = whole.count(name) ? whole.at(name) : k < kAtOnce ? values[k % 2] : One(values);
            attributes += Attribute(name, set[name]);
            if (k >= kAtOnce && k % 2 && random() % 4 == 0) writers += Writer(s, w, name, isFloat);
        }
        for (const auto& [t, name] : switches)
            if (t == type) attributes += Attribute(name, k < kAtOnce ? std::to_string(k / 2) : Coin());
        for (const auto& [t, name] : refs) {
            if (t != type) continue;
            if (name == "cursor" || name == "stickyCursor") attributes += Attribute(name, "c" + s);
            if (name.size() > 5 && name.compare(name.size() - 5, 5, "DbRef") == 0)
                attributes += Attribute(name, "d" + s);
            if (name == "transform") attributes += Attribute(name, "t" + id);
            if (name == "nextBone") attributes += Attribute(name, "n" + id);
            if (name == "clip") attributes += Attribute(name, clip);
            if (name == "button" || name == "widget") attributes += Attribute(name, button);
            if (name.compare(0, 6, "anchor") == 0) attributes += Attribute(name, "o" + s);
        }
        if (type == EBasicUiWidgetTypeClip) attributes += Attribute("animSet", One({"set0", "set1", "set2", ""}));
        std::string buttons;
        for (int i = 0; i < 4; i++)
            buttons += Element("b" + id + "_" + std::to_string(i), "wtButton",
                               " x=\"" + std::to_string(440 + 20 * i) + "\" y=\"100\" w=\"80\" h=\"20\"");
        // A cursor holds a button that catches it wherever it lands and fires after a hold, so
        // that it shows the hold filling.
        if (type == EBasicUiWidgetTypeStickyCursor)
            buttons += Element("h" + id, "stickyButton",
                               Attribute("cursor", w) +
                                   " innerRadius=\"32767\" outerRadius=\"32767\" inteval=\"1\" pressCmd=\"1\"");
        if (type == EBasicUiWidgetType3DText) attributes += Attribute("text", "Ag");
        std::string xml = InContext(type, id, Element(w, basicUiWidgetTypeNameStr[type], attributes, buttons), set);
        if (type >= EBasicUiWidgetTypeCmdSequence && type <= EBasicUiWidgetTypeCmdBGM)
            xml = Element("q" + id, "cmdSeq", " cmdActive=\"1\"", xml);
        // Every other widget's clip plays curves on it, in one of the four ways a clip applies them;
        // the others' stays still unless a command plays it.
        xml += Element(clip, "wtClip",
                       Attribute("widget", w) + Attribute("animSet", One({"set0", "set1", "set2", "set3"})) +
                           Attribute("isPlaying", k % 2 ? "1" : "0") + Attribute("isLoop", Coin()) +
                           Attribute("isFlipFlop", Coin()) + Attribute("useInitials", std::to_string(k / 2 % 2)) +
                           Attribute("isAdditive", std::to_string(k / 4 % 2)));
        xml += Element("a" + id, "anchor",
                       Attribute("button", button) + Attribute("anchorN", "o" + s) + Attribute("anchorW", "o" + s) +
                           Attribute("offX", One({"-32767", "0", "32767"})) +
                           Attribute("offY", One({"-32767", "0", "32767"})));
        if (!writers.empty()) xml += Element("seq" + id, "cmdSeq", " cmdActive=\"1\"", writers);
        return xml;
    }
    static constexpr int kAtOnce = 4;  // the first widgets of a type, with all numbers at once
    // The quads a frame of the sweep may queue: its screens draw a few thousand, a widget that
    // repeats itself beyond what it can show hundreds of thousands.
    static constexpr uint32_t kMostQuadsAFrame = 50000;
    static inline const std::vector<std::string> kHuge = {"-1e30", "1e30"},
                                                 kHugeInts = {"-2147483648", "2147483647"};
    std::mt19937 random;
    Numbers numbers;                             // the integers and floats of each type
    std::set<std::pair<int, std::string>> refs;  // the widget references of each type
    Numbers vectors;                             // the vectors of each type, in order
    Numbers ints;                                // the integers of each type
    Numbers switches;                            // the switches of each type but those every widget has
    Numbers driven;                              // the numbers, switches and vectors a curve can drive
    std::map<std::pair<int, std::string>, std::pair<int, int>> limits;  // the ranges the loader keeps
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

// All of a type's numbers at once, at the least and then the most the loader keeps, and in random
// combinations from a fixed seed, each widget with buttons inside and an anchor; every other one
// also under a clip's curves of every property type and commands that set, step or copy extremes
// (see Swept). Each widget has what it works with (the screen's cursor, a table, a scene, a target,
// a rig: see InContext), and the stylus touches the lower screen. No sum may overflow and no float
// become an integer it does not fit (the sanitizer build stops on either), no frame draws without
// bound, and every number a widget computes with ends in its range.
TEST_F(UiWidgetNumbers, AllOfATypesNumbersAtOnceAndInRandomCombinationsMeetEveryWriter)
{
    StartRenderer();
    ASSERT_EQ(ScreenInitializeAPI(), 1);
    ASSERT_EQ(LoadResourceRange1x1(3050, 3084), 1);
    ASSERT_EQ(LoadResourceRange1x1(3400, 3400), 1);
    numbers = EveryNumber();
    const unsigned seed = 52;
    std::printf("random combinations drawn from seed %u\n", seed);
    random.seed(seed);
    const int kDrawn = 124, kOnAScreen = 16;
    // The answers of the screens' questions (and the texts of every widget that reads a table).
    std::ofstream(scratch + "/sweep.db.xml")
        << "<BasicDb name=\"sweep\" tableDefs=\"1\" tables=\"1\"><BasicDbTableDef name=\"answer\" columns=\"1\">"
           "<BasicDbTableColumnDef name=\"text\" type=\"string\" count=\"8\"/></BasicDbTableDef>"
           "<BasicDbTable name=\"answers\" def=\"answer\" rows=\"2\">\"Yes\", \"No\",</BasicDbTable></BasicDb>";
    // Each type is a description of its own, loaded in turn. A type with vectors has directions to
    // draw besides numbers: it is drawn twice as often.
    for (int type = 1; type < EBasicUiWidgetTypeCount; type++) {
        const bool hasVectors =
            std::any_of(vectors.begin(), vectors.end(), [&](const auto& v) { return v.first == type; });
        const int drawn = hasVectors ? 2 * kDrawn : kDrawn;
        std::string xml = "<BasicDbFile filename=\"sweep.db.xml\"/>" + Curves(type) + "<BasicUiDisplay name=\"lower\">";
        std::vector<std::string> screens;
        for (int k = 0; k < kAtOnce + drawn; k++) {
            const std::string s = "r" + std::to_string(type) + "_" + std::to_string(k / kOnAScreen);
            if (k % kOnAScreen == 0) {
                if (k > 0) xml += "</BasicUiScreen>";
                screens.push_back(s);
                xml += ScreenStart(s);
            }
            xml += Swept(type, k, s);
        }
        ASSERT_EQ(LoadText(xml + "</BasicUiScreen></BasicUiDisplay>"), 1) << basicUiWidgetTypeNameStr[type];
        for (const std::string& shown : screens) {
            for (sBasicUiScreen* screen = env->displayRoot->nextScreen; screen; screen = screen->nextScreen)
                screen->isActive.value = screen->isRender.value = shown == screen->name;
            // A touch on the lower screen with A, held while A is let go, then nothing, then a
            // touch again with A; the characters step after each frame.
            const int a = kButtonA;
            const int frames[][5] = {{100, 50, 1, a, a}, {70, 50, 1, a, 0}, {0, 0, 0, 0, 0}, {160, 120, 1, a, a}};
            for (const auto& [x, y, touching, buttons, edges] : frames) {
                Frame(x, y, touching, uint16_t(buttons), uint16_t(edges));
                PoseRigs();
            }
        }
        CheckEveryNumberInRange(screens);
    }
}
}  // namespace
