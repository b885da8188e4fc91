// The menus' bowler preview and credits on the build's game data, as the main menu runs them: the
// quick-play page shows the bowler of the player view dressed from the databases in both eyes,
// loaded once when the page opens and once more when a garment changes, turned by the circle pad; a character whose body
// was released under it loads again instead of posing the freed model; the credits page rolls the
// credits built into the program.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "db/database.h"
#include "db/dbimage.h"
#include "game/characterload.h"
#include "game/gameloop.h"
#include "host/clock.h"
#include "host/gpu.h"
#include "host/host.h"
#include "lib/resourceids.h"
#include "lib/resources.h"
#include "lib/screenapi.h"
#include "lib/textoutput.h"
#include "platform/input.h"
#include "platform/render.h"
#include "platform/renderengine.h"
#include "platform/sound.h"
#include "platform/streams.h"
#include "screens/bowlerpreview.h"
#include "screens/credits.h"
#include "screens/frontend.h"
#include "screens/saveflow.h"
#include "screens/scriptfunctions.h"
#include "screens/scriptfunctions_play.h"
#include "shell/savedata.h"
#include "shell/settings.h"
#include "support/device_heap.h"
#include "support/game_data.h"
#include "support/menu_screens.h"
#include "ui/environment.h"
#include "ui/widgets/clip.h"
#include "ui/frameupdate.h"
#include "ui/registry.h"
#include "ui/widgets/button.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/dbref.h"
#include "ui/widgets/skeleton3d.h"
#include "ui/widgets/textscroll.h"
#include "ui/widgets/transform3d.h"

namespace {

int loads = 0;
// The preview's loader as the menus call it, counted.
int CountedLoad(sBasicUiWidget* caller, int value)
{
    ++loads;
    return LoadPlayerModel(caller, value);
}

struct Image {
    std::vector<uint8_t> rgb;
    int width = 0, height = 0;
    const uint8_t* At(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }
    // Pixels of the colour test in the middle of the upper screen, and their mean column.
    template <class F>
    int Count(F colour, double* centre = nullptr) const
    {
        int n = 0;
        double sum = 0;
        for (int y = 60; y < 210; y++)
            for (int x = 120; x < 280; x++)
                if (colour(At(x, y))) n++, sum += x;
        if (centre) *centre = n ? sum / n : -1.0;
        return n;
    }
};

Image LastDrawn(const DS3_DisplayBufferDescription& set)
{
    Image image;
    EXPECT_EQ(GpuReadDisplaybuffer(set.displayBufferIdArray[set.m_CurrentBufferIndex ^ 1u], &image.rgb, &image.width,
                                   &image.height),
              1);
    return image;
}

bool Red(const uint8_t* p) { return p[0] > 60 && p[0] > 2 * p[1] && p[0] > 2 * p[2]; }   // the first shirt
bool Blue(const uint8_t* p) { return p[2] > 60 && p[2] > 2 * p[0] && p[2] > p[1] + 30; }  // the second

// One game heap, game data and main menu for the suite (the menu prepares the UI framework and
// the save database once per run, as the game does); each test opens the menu afresh and puts
// the save database back as it found it.
class GlBowlerPreview : public ::testing::Test {
protected:
    static HostOptions saved;
    std::string image;

    static void SetUpTestSuite()
    {
        saved = gHostOptions;
        ASSERT_EQ(UseFreshDeviceHeap(96u << 20), 1);
        gHostOptions.headless = 1;
        gHostOptions.audioOut.clear();
        // A save folder of this process's own: CTest runs the suite's tests side by side, and a
        // folder shared between them was emptied under another's first save.
        std::string pattern = ::testing::TempDir() + "bowlerpreview-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        gHostOptions.dataDir = pattern;
        HostUseVirtualClock(1);
        basicUiEnvironmentPtr = nullptr;
        ASSERT_EQ(OpenBuildGameData(), 1);
        ASSERT_EQ(RenderInit(0x80000, 0x800, 0x502, 0x500), 1);
        ASSERT_EQ(ScreenInitializeAPI(), 1);
        ASSERT_EQ(InitStreaming(), 1);
        ASSERT_EQ(InitializeSoundServices(), 1);
        ResetScreenStack();
        gTabGroupId = kTabGroupTitle;
        ASSERT_EQ(MainMenuScreenInit(), 1);
    }
    static void TearDownTestSuite()
    {
        ForgetCreditsDatabase();  // both live in this suite's heap
        SaveDataEnd();
        ForgetSaveDatabase();
        std::filesystem::remove_all(gHostOptions.dataDir);
        ExitScreens(0);
        EXPECT_EQ(DisposeSoundServices(), 1);
        TextOutputSetMode(kTextModeLeft);
        theFont = nullptr;
        fontTable = nullptr;
        currentFontRSID = -1;
        RenderDispose();
        CloseBuildGameData();
        basicUiEnvironmentPtr = nullptr;
        ReleaseDeviceHeap();
        HostUseVirtualClock(0);
        gHostOptions = saved;
    }
    void SetUp() override
    {
        ScreenSetResult(kScreenResultRun);
        ASSERT_EQ(MainMenuScreenOpenHandler(), 1);
        image.assign(reinterpret_cast<const char*>(dbSave), size_t(BasicDb_Size(&dbSave)));
        // The menus' functions again, with the preview's loader counted.
        BasicFn_Clear();
        BasicFn_Register("LoadPlayerModel", CountedLoad);
        RegisterScriptFunctions();
        loads = 0;
        Frames(2);  // the main menu's start
    }
    void TearDown() override
    {
        MainMenuScreenCloseHandler();
        std::copy(image.begin(), image.end(), reinterpret_cast<char*>(dbSave));
    }
    static sBasicUiWidget* W(const char* name) { return MenuWidget(name); }
    static sBasicDbTable* Save(const char* table) { return BasicDbTable_Find(BasicUi_FindDb(BasicUi_GetEnvironment(), "save"), table); }
    // Frames of the menu as the screen loop runs them: drawn, then the framework's update.
    static void Frames(int n) { MenuFrames(n); }
    static void Open(const char* page)
    {
        BasicUiWidgetTypeCmdSequence_Run(W(page));
        Frames(1);
    }
    static sBasicUiWidgetType3DSkeleton* Model()
    {
        return static_cast<sBasicUiWidgetType3DSkeleton*>(W("player.model")->widgetTypeRef.ptr);
    }
};

HostOptions GlBowlerPreview::saved;

TEST_F(GlBowlerPreview, ShowsTheBowlerInBothEyesAndReloadsOnceForAChange)
{
    Open("go.quick");
    Frames(90);  // the turn of 2 s is over
    EXPECT_EQ(loads, 1) << "loaded once as the page opens";
    sBasicUiWidgetType3DSkeleton* bowler = Model();
    EXPECT_EQ(bowler->internalBodyID, 911) << "player 1's body";
    EXPECT_EQ(bowler->internalAnimID, 1325) << "the body's own stance";
    EXPECT_NE(bowler->partsDrawn & (1u << kSkeletonShirt), 0u);
    EXPECT_NE(bowler->partsDrawn & (1u << kSkeletonShoes), 0u);
    EXPECT_GT(bowler->hairModelsDrawn, 0);
    // Dressed in the first shirt (red), upright in the middle of both eyes, apart by parallax.
    double left, right;
    EXPECT_GT(LastDrawn(m_DisplayBuffers0).Count(Red, &left), 100);
    EXPECT_GT(LastDrawn(m_DisplayBuffers0Ext).Count(Red, &right), 100);
    EXPECT_NEAR(left, 200, 20);
    EXPECT_GT(std::abs(left - right), 1.0);

    // Another shirt for the bowler shown: one load that turns the bowler round again, and the
    // blue shirt in place of the red.
    BasicDbTable_SetElementI(Save("players"), 12, 1, 1);
    Frames(30);
    EXPECT_EQ(loads, 2);
    EXPECT_LT(BasicUiWidgetTypeClip_GetT(W("cp2013.0.p")), 1.0f) << "turning";
    Frames(70);
    EXPECT_EQ(loads, 2) << "nothing more changed";
    Image now = LastDrawn(m_DisplayBuffers0);
    EXPECT_LT(now.Count(Red), 50) << "the shoes' soles only";
    EXPECT_GT(now.Count(Blue), 100);

    // The circle pad turns the bowler: half way right is a quarter turn about z.
    allInput.x = 0.5f;
    Frames(2);
    allInput.x = 0.0f;
    float rot[4];
    BasicUiWidgetType3DPRS_GetRotation(W("pv.turn"), rot);
    EXPECT_NEAR(rot[2], std::sin(0.25f * 3.142f), 1e-3f);
}

TEST_F(GlBowlerPreview, DressesTheBowlerFromTheDatabases)
{
    sBasicDbTable* players = Save("players");
    sBasicDbTable* view = Save("player view");
    ASSERT_EQ(SetupPlayerModel(nullptr, 0), 1);
    sBasicUiWidgetType3DSkeleton* bowler = Model();
    EXPECT_EQ(bowler->hat.offset.value, -1) << "no hat";
    EXPECT_EQ(bowler->hatStart.value, 0);
    EXPECT_EQ(bowler->hatEnd.value, -1);
    EXPECT_EQ(bowler->hFlip.value, 0);
    // Beside it, the career bowler's second ball as its picture.
    sBasicDbTable* balls = BasicDbTable_Find(BasicUi_FindDb(BasicUi_GetEnvironment(), "game"), "BallsR");
    const int ball = BasicDbTable_GetElementIN(players, 17, 1, 1, -1);
    const int picture = static_cast<sBasicUiWidgetTypeButton*>(W("sPVBall2")->widgetTypeRef.ptr)->resourceID.value;
    EXPECT_EQ(picture, (kBallPictureGroup << 16) + BasicDbTable_GetElementI(balls, 13, ball) - 2);
    EXPECT_EQ(ResourceLoaded(picture), 1);

    // A cap and the left hand: the hair under a cap is the body's cropped range; the glove is the
    // left hand's.
    BasicDbTable_SetElementI(players, 14, 1, 2);
    BasicDbTable_SetElementI(players, 16, 1, 1);
    BasicDbTable_SetElementI(view, 2, 0, 1);
    ASSERT_EQ(SetupPlayerModel(nullptr, 0), 1);
    EXPECT_EQ(bowler->hFlip.value, 1);
    EXPECT_GE(bowler->hat.offset.value, 0);
    EXPECT_EQ(bowler->hatStart.value, 1);
    EXPECT_EQ(bowler->hatEnd.value, 2);
    sBasicDbTable* gloves = BasicDbTable_Find(BasicUi_FindDb(BasicUi_GetEnvironment(), "game"), "GlovesL");
    EXPECT_EQ(bowler->glove.dstTexOffset.value, BasicDbTable_GetElementI(gloves, 13, 1));

    // A bowler without a body of the table is refused and leaves the character as it was.
    BasicDbTable_SetElementI(players, 10, 1, 99);
    EXPECT_EQ(SetupPlayerModel(nullptr, 0), 0);
    EXPECT_EQ(LoadPlayerModel(nullptr, 0), 0);
    EXPECT_EQ(bowler->hFlip.value, 1);
}

TEST_F(GlBowlerPreview, ACharacterWhoseBodyWasReleasedLoadsAgain)
{
    Open("go.quick");
    Frames(20);
    ASSERT_EQ(Model()->internalBodyID, 911);
    // The outfit released under the shown bowler (as a launcher does before a game): the next frame
    // finds the body gone and neither poses nor draws it.
    ASSERT_EQ(DisposeCharacters(), 1);
    Frames(2);
    EXPECT_EQ(Model()->internalBodyID, -1);
    EXPECT_EQ(LastDrawn(m_DisplayBuffers0).Count(Red), 0);
    // Loaded again (once the page's turn is over), it shows again.
    ResetCharacterChanged(nullptr, 0);
    Frames(70);
    EXPECT_EQ(Model()->internalBodyID, 911);
    EXPECT_GT(LastDrawn(m_DisplayBuffers0).Count(Red), 100);
}

TEST_F(GlBowlerPreview, AGameLaunchedAfterThePreviewLoadsItsBowlers)
{
    Open("go.quick");
    Frames(20);
    ASSERT_EQ(Model()->internalBodyID, 911);
    ASSERT_EQ(PlayGameQuick(nullptr, 0), 1);
    EXPECT_EQ(ScreenGetResult(), kTabGroupGame);
    EXPECT_EQ(headerSpecials, nullptr) << "the preview's outfit and archive were given back";
    EXPECT_EQ(LoadCharacterResources(), 1) << "the game's bowlers load";
    EXPECT_EQ(DisposeCharacters(), 1);
}

TEST_F(GlBowlerPreview, TheCreditsPageRollsTheCreditsTable)
{
    auto* scroller = static_cast<sBasicUiWidgetTypeTextScroll*>(W("s8ts")->widgetTypeRef.ptr);
    ASSERT_EQ(scroller->textDbRef, CreditsWidget());
    sBasicDbTable* table = BasicUiWidgetTypeDbRef_Table(scroller->textDbRef);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rows, kCreditsRows);

    Open("go.credits");
    Frames(60);  // 2 s at a row every 5 s
    EXPECT_NEAR(scroller->cursor, 0.4f, 0.02f);
    auto text = [](const uint8_t* p) { return p[0] > 150 && p[1] > 150 && p[2] > 150; };
    EXPECT_GT(LastDrawn(m_DisplayBuffers0).Count(text), 50) << "the first row's lines";
    // The roll goes through every row of the table and starts again from the first.
    float last = scroller->cursor;
    int wrapped = 0;
    for (int i = 0; i < 200 && !wrapped; ++i) {
        BasicUi_UpdateEnvironment(BasicUi_GetEnvironment(), 4.0f);
        if (scroller->cursor < last) {
            wrapped = 1;
            EXPECT_GT(last, kCreditsRows - 1.0f) << "past the last row";
        }
        last = scroller->cursor;
    }
    EXPECT_EQ(wrapped, 1);
}

}  // namespace
