// The UI framework's test screen on a real GPU, loaded from the build's game data: labels land
// where their justification puts them, an animated rectangle moves between its keys, a name is
// typed on the keyboard with the stylus, and a load brings a panel in while frames go on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/database.h"
#include "host/clock.h"
#include "host/gpu.h"
#include "host/host.h"
#include "host/screenshot.h"
#include "lib/resources.h"
#include "lib/screenapi.h"
#include "lib/textoutput.h"
#include "platform/input.h"
#include "platform/render.h"
#include "platform/renderengine.h"
#include "support/game_data.h"
#include "ui/animtrack.h"
#include "ui/frameupdate.h"
#include "ui/loader.h"
#include "ui/osk.h"
#include "ui/uiload_fixture.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/rectangle.h"

namespace {

struct Image {
    std::vector<uint8_t> rgb;
    int width = 0, height = 0;
    const uint8_t* At(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }
    // The first and last columns of a row band with a bright (text) pixel; -1 without one.
    void BrightSpan(int y0, int y1, int* first, int* last) const
    {
        *first = *last = -1;
        for (int x = 0; x < width; ++x)
            for (int y = y0; y < y1; ++y)
                if (At(x, y)[1] > 200 && At(x, y)[0] > 200) {
                    if (*first < 0) *first = x;
                    *last = x;
                }
    }
};

Image LastDrawn(const DS3_DisplayBufferDescription& set)
{
    Image image;
    uint32_t id = set.displayBufferIdArray[set.m_CurrentBufferIndex ^ 1u];
    EXPECT_EQ(GpuReadDisplaybuffer(id, &image.rgb, &image.width, &image.height), 1);
    return image;
}

class GlUiTestScreen : public UiLoadTest {
protected:
    void SetUp() override
    {
        UiLoadTest::SetUp();
        saved = gHostOptions;
        savedPad = controllers[0].controller;
        controllers[0].controller = &pad;
        gHostOptions.headless = 1;
        HostUseVirtualClock(1);  // a read lands at the end of the frame that issued it
        ASSERT_EQ(OpenBuildGameData(), 1);
        rendering = true;
        ASSERT_EQ(RenderInit(0x80000, 0x800, 0x502, 0x500), 1);
        ASSERT_EQ(ScreenInitializeAPI(), 1);
        ASSERT_EQ(BasicUiEnvironment_Load("ui/testscreen.ui.xml", env), 1);
    }
    void TearDown() override
    {
        TextOutputSetMode(kTextModeLeft);
        theFont = nullptr;
        fontTable = nullptr;
        currentFontRSID = -1;
        UiLoadTest::TearDown();
        HostUseVirtualClock(0);
        controllers[0].controller = savedPad;
        gHostOptions = saved;
    }
    void Frame()
    {
        BasicUi_UpdateEnvironment(env, 1.0f / 30.0f);
        ASSERT_EQ(BasicUi_RenderEnvironmentFull(env), 1);
    }
    template <class T>
    T* Record(const char* name)
    {
        return static_cast<T*>(BasicUi_FindWidget(env, name)->widgetTypeRef.ptr);
    }
    sBasicDbTable* Entries() { return BasicDbTable_Find(BasicUi_FindDb(env, "testscreen"), "entries"); }
    HostOptions saved;
    DS3_controller pad{};
    DS3_controller* savedPad = nullptr;
};

TEST_F(GlUiTestScreen, LabelsSitWhereTheirJustificationPutsThemAndTextIsNotAFormat)
{
    Frame();
    Image upper = LastDrawn(m_DisplayBuffers0);
    ASSERT_EQ(upper.width, 400);
    ASSERT_EQ(TextOutputSelectFont(3077), 1);
    const int h = TextOutputGetFontHeight();
    // Canvas rows 160, 190, 220 are upper-screen rows 100, 130, 160; the box is x 20-380.
    struct Case {
        const char* text;
        int y, left;
    } cases[] = {{"Left", 100, 20},
                 {"Centre", 130, 20 + (360 - TextOutputLineLength("Centre")) / 2},
                 {"Right", 160, 380 - TextOutputLineLength("Right")},
                 {"100% %s %n", 200, 20 + (360 - TextOutputLineLength("100% %s %n")) / 2}};
    for (const Case& c : cases) {
        int first, last;
        upper.BrightSpan(c.y, c.y + h, &first, &last);
        int width = TextOutputLineLength(c.text);
        EXPECT_NEAR(first, c.left, 3) << c.text;
        EXPECT_NEAR(last + 1 - first, width, 6) << c.text;  // the last glyph may end short of its advance
    }
}

TEST_F(GlUiTestScreen, AnAnimatedRectangleMovesBetweenItsKeys)
{
    sBasicUiAnimSetTracker* slide =
        BasicUi_CreateAnimSetTracker(env, BasicUi_FindWidget(env, "tsSlider"), BasicUi_FindAnimSet(env, "tsSlide"));
    ASSERT_NE(slide, nullptr);
    auto goldAt = [](const Image& im, int x) {
        const uint8_t* p = im.At(x, 60);  // canvas row 120
        return p[0] > 200 && p[1] > 160 && p[2] < 90;
    };
    BasicUiAnimSetTracker_SetTimeAndUpdatePropertiesAbs(slide, 0.0f);
    Frame();
    Image start = LastDrawn(m_DisplayBuffers0);
    EXPECT_TRUE(goldAt(start, 60));
    EXPECT_FALSE(goldAt(start, 200));
    BasicUiAnimSetTracker_SetTimeAndUpdatePropertiesAbs(slide, 0.5f);  // x 180 halfway
    Frame();
    Image half = LastDrawn(m_DisplayBuffers0);
    EXPECT_FALSE(goldAt(half, 60));
    EXPECT_TRUE(goldAt(half, 200));
    EXPECT_FALSE(goldAt(half, 230));
}

TEST_F(GlUiTestScreen, ANameIsTypedByStylusAndThePanelLoadsWhileFramesGoOn)
{
    Frame();
    // The start sequence ran every command that does not wait, stopped the idle one and was
    // itself stopped by the call to a function the game does not have.
    EXPECT_EQ(Record<sBasicUiWidgetTypeRectangle>("tsCopy")->b.value, 220);
    EXPECT_EQ(Record<sBasicUiWidgetTypeRectangle>("tsCopy")->h.value, 40);
    EXPECT_EQ(BasicDbTable_GetElementI(Entries(), 2, 0), 1);
    EXPECT_EQ(BasicUiWidgetTypeCmdSequence_IsRunning(BasicUi_FindWidget(env, "tsIdle")), 0);
    EXPECT_EQ(BasicUiWidgetTypeCmdSequence_IsRunning(BasicUi_FindWidget(env, "tsStart")), 0);
    EXPECT_EQ(ResourceLoaded(kUiDemoPanel), 0);

    ASSERT_EQ(BasicUiOSK_Opened(env), 1);
    sBasicUiOSK* k = BasicUiOSK_Get();
    EXPECT_EQ(k->fontRSID, kUiKeyboardFont);
    EXPECT_STREQ(k->title, "Enter your name");
    int loadedAt = -1, frame = 1;
    auto step = [&] {
        Frame();
        ++frame;
        if (loadedAt < 0 && ResourceLoaded(kUiDemoPanel)) loadedAt = frame;
    };
    // The keyboard is drawn over the lower screen: its first key (ESC) is grey, not the panel.
    Image lower = LastDrawn(m_DisplayBuffers1);
    ScreenshotWritePng(std::string(ZENDROLYX_BUILD_DIR) + "/keyboard-lower.png", lower.rgb.data(), lower.width,
                       lower.height);
    const uint8_t* key = lower.At(k->keyX[0] + 2 - 400, k->keyY[0] + 2 - 60);
    EXPECT_LT(key[1], 100);
    EXPECT_GT(key[0], 40);
    // In the game's keyboard font every key lies on the lower screen, where the stylus reaches it
    // (x 0-319, y 0-239, edges included in a key), and holds its label.
    ASSERT_EQ(TextOutputSelectFont(kUiKeyboardFont), 1);
    for (int i = 0; i < k->keys; ++i) {
        const int x = k->keyX[i] - 400, y = k->keyY[i] - 60;
        EXPECT_TRUE(x >= 0 && x + k->keyW[i] <= 319 && y >= 0 && y + k->keyH[i] <= 239)
            << "key " << int(k->key[i]) << " at " << x << "," << y << " size " << k->keyW[i] << "x" << k->keyH[i];
        const char* label = k->key[i] == kBasicUiOskDel ? "DEL" : k->key[i] == kBasicUiOskEnter ? "ENTER"
                            : k->key[i] == kBasicUiOskShift ? "SHIFT" : k->key[i] == kBasicUiOskEsc ? "ESC"
                            : k->key[i] == ' ' ? "SPACE" : "W";
        EXPECT_LE(TextOutputLineLength(label), k->keyW[i]) << label;
    }
    // A slip (x) taken back with DEL, then ENTER.
    std::string keys = std::string(1, char(kBasicUiOskShift)) + "annx" + char(kBasicUiOskDel) + char(kBasicUiOskEnter);
    for (char c : keys) {
        for (int i = 0; i < k->keys; ++i)
            if (k->key[i] == c) {
                pad.touchData = {k->keyX[i] + k->keyW[i] / 2 - 400, k->keyY[i] + k->keyH[i] / 2 - 60, 1};
                break;
            }
        step();
        pad.touchData = {0, 0, 0};
        step();
    }
    EXPECT_STREQ(BasicDbTable_GetStrElement(Entries(), 0, 0), "Ann");
    EXPECT_EQ(Record<sBasicUiWidgetTypeLabel>("tsBob")->fontR.value, 255);
    for (int i = 0; i < 20; ++i) step();
    // The read was issued in the first frame and finished in a later one; the sequence that the
    // load ran then turned the marker green.
    EXPECT_GE(loadedAt, 2);
    Image after = LastDrawn(m_DisplayBuffers1);
    const uint8_t* marker = after.At(432 - 400, 88 - 60);
    EXPECT_LT(marker[0], 100);
    EXPECT_GT(marker[1], 150);
    // The called wait ended after half a second and its caller went on.
    EXPECT_EQ(Record<sBasicUiWidgetTypeRectangle>("tsCopy")->w.value, 48);
}

}  // namespace
