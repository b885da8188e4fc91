// The 3D widgets' demonstration loaded from the build's game data and run with the renderer:
// the circle pad turns the ball, the camera's parent leaves its angles to its rotation, the lights
// land in the scene's set, the arm's limits hold its elbow in its cone, and the three clip
// players run once, looping and back and forth.
#include <gtest/gtest.h>

#include <cmath>

#include "host/errorlog.h"
#include "host/clock.h"
#include "host/gpu.h"
#include "host/host.h"
#include "host/screenshot.h"
#include "lib/resourceids.h"
#include "lib/resourceload.h"
#include "lib/characterarchive.h"
#include "lib/resources.h"
#include "game/characterload.h"
#include "lib/screenapi.h"
#include "platform/input.h"
#include "platform/render.h"
#include "platform/renderengine.h"
#include "platform/skeleton.h"
#include "support/game_data.h"
#include "ui/frameupdate.h"
#include "ui/loader.h"
#include "ui/uiload_fixture.h"
#include "ui/widgets/bone3d.h"
#include "ui/widgets/clip.h"
#include "ui/widgets/move3d.h"
#include "ui/widgets/rectangle.h"
#include "ui/widgets/rig3d.h"
#include "ui/widgets/scene3d.h"
#include "ui/widgets/skeleton3d.h"
#include "ui/widgets/text3d.h"
#include "ui/widgets/textscroll.h"
#include "lib/textoutput.h"
#include "ui/widgets/transform3d.h"

namespace {

struct Image {
    std::vector<uint8_t> rgb;
    int width = 0, height = 0;
    const uint8_t* At(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }
    bool Lit(int x, int y) const { return At(x, y)[0] + At(x, y)[1] + At(x, y)[2] > 30; }
    // The mean column of the lit pixels of a row band.
    double LitCentre(int y0, int y1) const
    {
        double sum = 0;
        int n = 0;
        for (int y = y0; y < y1; y++)
            for (int x = 0; x < width; x++)
                if (Lit(x, y)) sum += x, n++;
        return n ? sum / n : -1.0;
    }
};

Image LastDrawn(const DS3_DisplayBufferDescription& set)
{
    Image image;
    uint32_t id = set.displayBufferIdArray[set.m_CurrentBufferIndex ^ 1u];
    EXPECT_EQ(GpuReadDisplaybuffer(id, &image.rgb, &image.width, &image.height), 1);
    return image;
}

class GlUiDemo3D : public UiLoadTest {
protected:
    void SetUp() override
    {
        UiLoadTest::SetUp();
        saved = gHostOptions;
        gHostOptions.headless = 1;
        HostUseVirtualClock(1);
        ASSERT_EQ(OpenBuildGameData(), 1);
        rendering = true;
        ASSERT_EQ(RenderInit(0x80000, 0x800, 0x502, 0x500), 1);
        ASSERT_EQ(ScreenInitializeAPI(), 1);
        // The models are resident before the menu opens, as the front end loads them.
        ASSERT_EQ(LoadResourceGroup(kLaneObjectTextures), 1);
        ASSERT_NE(ReadResource(kBallModel), nullptr) << HostErrorLog();
        ASSERT_NE(ReadResource(kPinModel), nullptr) << HostErrorLog();
        ASSERT_EQ(InitRadianTables(), 1);
        ASSERT_EQ(LoadResourceGroup(911), 1) << "the bowler's body";
        ASSERT_NE(ReadResource(1325), nullptr) << "its animation";
        // What it wears, from the character archive as the front end opens it.
        archive = OpenResourceFile(kCharacterArchive);
        ASSERT_NE(archive, nullptr);
        for (int group : {kGarmentTextures, kSharedGarments, kBodyGarmentsFirst, kHairGroupsFirst})
            ASSERT_EQ(LoadResourceGroup(group), 1) << group;
        ASSERT_EQ(BasicUiEnvironment_Load("ui/demo3d.ui.xml", env), 1);
    }
    void TearDown() override
    {
        allInput.x = 0.0f;
        if (archive) CloseResourceFile(archive);
        UiLoadTest::TearDown();
        DisposeRadianTables();
        HostUseVirtualClock(0);
        gHostOptions = saved;
    }
    sBasicUiWidget* W(const char* name) { return BasicUi_FindWidget(env, name); }
    template <class T>
    T* R(const char* name)
    {
        return static_cast<T*>(W(name)->widgetTypeRef.ptr);
    }
    // A frame of dt seconds; the UI's frame counter (which the bone limits' turn rate reads)
    // measures the same time on the virtual clock.
    void Frame(float dt = 0.1f)
    {
        HostAdvanceClock(int(dt * 1000.0f + 0.5f));
        BasicUiCounter_SetElapsedTime(0);
        BasicUi_UpdateEnvironment(env, dt);
        ASSERT_EQ(BasicUi_RenderEnvironmentFull(env), 1);
    }
    HostOptions saved;
    resourceFileHeader_tag* archive = nullptr;
};

TEST_F(GlUiDemo3D, ThePadTurnsTheBowlerAndTheSceneIsLit)
{
    allInput.x = 0.5f;
    Frame();
    Frame();
    EXPECT_NEAR(R<sBasicUiWidgetTypeTriggerMove3D>("d3Turn")->valueRotateDir, 90.0f, 1e-3f);
    float rot[4];
    BasicUiWidgetType3DPRS_GetRotation(W("d3BowlerTurn"), rot);
    EXPECT_NEAR(rot[2], std::sin(0.25f * 3.142f), 1e-3f);
    // The ball, the pin and the title queue in the sorted scene.
    EXPECT_EQ(R<sBasicUiWidgetType3DInit>("d3Init")->orderedItems, 3u);
    // The last scene's lights: the key light's direction is normalised.
    DS3_lights l;
    BasicUiWidgetType3DLight_Save(&l);
    EXPECT_NEAR(l.ambient_blue, 0.4f, 1e-6f);
    EXPECT_NEAR(std::sqrt(l.light1_x * l.light1_x + l.light1_y * l.light1_y + l.light1_z * l.light1_z), 1.0f, 1e-5f);
    EXPECT_NEAR(l.light2_red, 0.25f, 1e-6f);
}

TEST_F(GlUiDemo3D, TheArmsLimitsHoldTheElbowInItsCone)
{
    Frame();
    BasicUiWidgetType3DRig_EnumerateBoneArray(W("d3Rig"));
    // The elbow is asked to point straight sideways, 90 degrees off its 45-degree cone about z.
    float want[3] = {0, 1, 0};
    BasicUiWidgetType3DBone_SetPivotPreLimit(W("d3Elbow"), want);
    sBasicUiWidget* first = W("d3Limits")->childWidget;
    BasicUiWidgetType3DRig_LimitBonesIncremental(W("d3Shoulder"), &first, 0);
    float pre[3];
    BasicUiWidgetType3DBone_GetPivotPreLimit(W("d3Elbow"), pre);
    EXPECT_NEAR(std::atan2(std::hypot(pre[0], pre[1]), pre[2]), 0.7854f, 1e-3f);
    EXPECT_NEAR(std::hypot(pre[0], std::hypot(pre[1], pre[2])), 6.0f, 1e-4f);  // the bone's length
    BasicUiWidgetType3DRig_UpdateBones(W("d3Rig"));
    BasicUiWidgetType3DBone_UpdateBoneXforms(W("d3Rig"));
    EXPECT_NE(BasicUiWidgetType3DRig_GetRigBone(W("d3Rig"), 2), nullptr);
}

TEST_F(GlUiDemo3D, ClipPlayersRunOnceLoopingAndBackAndForth)
{
    for (int i = 0; i < 12; i++) Frame();  // 1.2 s
    EXPECT_EQ(BasicUiWidgetTypeClip_NotPlaying(W("d3PlayOnce")), 1);
    EXPECT_FLOAT_EQ(BasicUiWidgetTypeClip_GetT(W("d3PlayOnce")), 1.0f);
    EXPECT_EQ(R<sBasicUiWidgetTypeRectangle>("d3Once")->x.value, 500);
    EXPECT_NEAR(BasicUiWidgetTypeClip_GetT(W("d3PlayLoop")), 0.2f, 1e-4f);
    EXPECT_NEAR(BasicUiWidgetTypeClip_GetT(W("d3PlayFlip")), 0.8f, 1e-4f);
    EXPECT_NEAR(R<sBasicUiWidgetTypeRectangle>("d3Flip")->x.value, 420 + 0.8f * 80, 1.0f);
}

}  // namespace

namespace {

// The first and last lit columns of rows y0..y1 between columns x0 and x1.
void LitSpan(const Image& im, int x0, int x1, int y0, int y1, int* first, int* last)
{
    *first = *last = -1;
    for (int x = x0; x < x1; x++)
        for (int y = y0; y < y1; y++)
            if (im.Lit(x, y)) {
                if (*first < 0) *first = x;
                *last = x;
            }
}

bool Purple(const uint8_t* p) { return p[2] > p[1] + 20 && p[0] > p[1] + 20; }  // the bowler's shirt

// The columns of the upper screen's rows y0..y1 that hold a shirt pixel: first and last.
void ShirtSpan(const Image& im, int y0, int y1, int* first, int* last)
{
    *first = *last = -1;
    for (int x = 0; x < im.width; x++)
        for (int y = y0; y < y1; y++)
            if (Purple(im.At(x, y))) {
                if (*first < 0) *first = x;
                *last = x;
            }
}

TEST_F(GlUiDemo3D, TheBowlerBallAndPinAreDrawnInBothEyesWithParallax)
{
    Frame();  // the bowler loads
    for (int i = 0; i < 15; i++) Frame();  // 1.5 s: the limited joints have caught up with the pose
    auto* bowler = R<sBasicUiWidgetType3DSkeleton>("d3Bowler");
    EXPECT_EQ(bowler->internalBodyID, 911);
    EXPECT_EQ(bowler->internalAnimID, 1325);
    Image left = LastDrawn(m_DisplayBuffers0), right = LastDrawn(m_DisplayBuffers0Ext);
    ASSERT_EQ(left.width, 400);
    const std::string dir = ZENDROLYX_BUILD_DIR;
    ScreenshotWritePng(dir + "/demo3d-upper-left.png", left.rgb.data(), left.width, left.height);
    ScreenshotWritePng(dir + "/demo3d-upper-right.png", right.rgb.data(), right.width, right.height);
    // The camera looks along +y at the bowler standing left of the middle, the ball to the right
    // and the pin below it, on the floor.
    const uint8_t* ball = left.At(297, 147);
    EXPECT_GT(ball[2], ball[0] + 40) << "the ball is blue";
    EXPECT_TRUE(left.Lit(292, 210)) << "the pin";
    EXPECT_FALSE(left.Lit(292, 100));
    EXPECT_FALSE(left.Lit(60, 40));
    // The bowler is upright: the shirt in the upper half, the feet near the bottom, dark above
    // the head.
    int first, last;
    ShirtSpan(left, 70, 100, &first, &last);
    EXPECT_GT(first, 110);
    EXPECT_LT(last, 190);
    EXPECT_GT(last - first, 20) << "the shoulders face the camera";
    EXPECT_FALSE(left.Lit(148, 10));
    EXPECT_TRUE(left.Lit(148, 160)) << "the legs";
    // Dressed from the character archive: the shoes' red soles at the feet.
    int soles = 0;
    for (int y = 195; y < 225; y++)
        for (int x = 110; x < 180; x++) soles += left.At(x, y)[0] > 120 && left.At(x, y)[1] < 60 && left.At(x, y)[2] < 60;
    EXPECT_GT(soles, 5);
    // Both eyes see the scene, apart by the parallax of what lies behind the screen plane.
    int firstR, lastR;
    ShirtSpan(right, 70, 100, &firstR, &lastR);
    ASSERT_GT(firstR, 0);
    EXPECT_GE(std::abs(firstR - first), 2);
    double l = left.LitCentre(120, 180), r = right.LitCentre(120, 180);
    EXPECT_GT(std::fabs(r - l), 2.0);

    // A quarter turn with the circle pad shows the bowler side on: one leg hides the other and
    // the forearms, held in front, stick out sideways.
    int legs0, legs1, arms0, arms1;
    LitSpan(left, 60, 250, 150, 190, &legs0, &legs1);
    LitSpan(left, 60, 250, 70, 90, &arms0, &arms1);
    allInput.x = 0.5f;
    Frame();
    Frame();
    Image turned = LastDrawn(m_DisplayBuffers0);
    int legsT0, legsT1, armsT0, armsT1;
    LitSpan(turned, 60, 250, 150, 190, &legsT0, &legsT1);
    LitSpan(turned, 60, 250, 70, 90, &armsT0, &armsT1);
    EXPECT_LT(legsT1 - legsT0, legs1 - legs0 - 8);
    EXPECT_GT(armsT1 - armsT0, arms1 - arms0 + 15);
}

}  // namespace

namespace {

// The bowler's rig in the description is body 911's skeleton: played on the rig, the body's
// animation poses every bone as the game poses the same body (placed by the character's
// transform), each bone's net turn the animation's key.
// The mapper, fed the real body's animated pose, gives that pose back: every limb it turns points
// where the animation has it. A clavicle's inner end is not a joint of the body but estimated from
// the neck, the shoulder and the waist, so the clavicles follow within a looser bound (they are
// some 23 degrees off; with the shoulder centre taken at the belly they were 53 off, and the
// shoulders narrowed).
TEST_F(GlUiDemo3D, TheMappedBonesFollowTheAnimatedPose)
{
    Frame();
    Frame();
    sBasicUiWidget* rig = W("d3BowlerRig");
    const float(*place)[4] = BasicUiWidgetType3DPRS_GetParentGlobalTransform(W("d3Bowler"));
    struct Segment {
        const char* bone;
        const char* child;
        float degrees;
    };
    static const Segment segments[] = {
        {"Left_Clavicle", "Left_Shoulder", 30.0f}, {"Right_Clavicle", "Right_Shoulder", 30.0f},
        {"Left_Shoulder", "Left_Elbow", 1.0f},     {"Left_Elbow", "Left_Arm_Twist", 1.0f},
        {"Right_Shoulder", "Right_Elbow", 1.0f},   {"Right_Elbow", "Right_Arm_Twist", 1.0f},
        {"Left_Leg", "Left_Knee", 1.0f},           {"Left_Knee", "Left_Ankle", 1.0f},
        {"Right_Leg", "Right_Knee", 1.0f},         {"Right_Knee", "Right_Ankle", 1.0f}};
    constexpr int kSegments = sizeof segments / sizeof segments[0];
    auto pose = [&](int map, float dir[kSegments][3]) {
        float frame = 17.0f;
        BasicUiWidgetType3DRig_Animate(rig, 1325, &frame, 0, nullptr, 0);
        BasicUiWidgetType3DRig_SetParentGlobalTransform(rig, place);
        if (map)
            BasicUiWidgetType3DRig_IKMapper(rig, 0, 1);
        else
            BasicUiWidgetType3DRig_UpdateBones(rig);
        for (int i = 0; i < kSegments; i++) {
            const float(*a)[4] = R<sBasicUiWidgetType3DBone>(segments[i].bone)->gTransform;
            const float(*b)[4] = R<sBasicUiWidgetType3DBone>(segments[i].child)->gTransform;
            const float d[3] = {b[3][0] - a[3][0], b[3][1] - a[3][1], b[3][2] - a[3][2]};
            const float n = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
            for (int k = 0; k < 3; k++) dir[i][k] = n > 0.0f ? d[k] / n : 0.0f;
        }
    };
    // The limits turn the bones at their own rate: the pose is mapped until it has settled, then
    // the animation alone poses the same body (the root stays where the mapper put it).
    float mapped[kSegments][3], animated[kSegments][3];
    for (int pass = 0; pass < 30; pass++) pose(1, mapped);
    pose(0, animated);
    for (int i = 0; i < kSegments; i++) {
        const float dot = mapped[i][0] * animated[i][0] + mapped[i][1] * animated[i][1] + mapped[i][2] * animated[i][2];
        const float degrees = std::acos(std::fmin(1.0f, std::fmax(-1.0f, dot))) * 57.29578f;
        EXPECT_LT(degrees, segments[i].degrees) << segments[i].bone;
    }
}

TEST_F(GlUiDemo3D, TheRigPosesTheBowlerAsTheGameDoes)
{
    Frame();
    Frame();
    sBasicUiWidget* rig = W("d3BowlerRig");
    auto* bowler = R<sBasicUiWidgetType3DSkeleton>("d3Bowler");
    actor_tag actor = bowler->body;
    actor.animInfo.animationFrame = 17.0f;
    ASSERT_EQ(ComputeSkeletonTranslation(&actor), 1);
    ASSERT_EQ(ComputeSkeletonXforms(&actor), 1);
    float frame = 17.0f;
    BasicUiWidgetType3DRig_Animate(rig, 1325, &frame, 0, nullptr, 0);
    const float(*place)[4] = BasicUiWidgetType3DPRS_GetParentGlobalTransform(W("d3Bowler"));
    BasicUiWidgetType3DRig_SetParentGlobalTransform(rig, place);
    BasicUiWidgetType3DRig_UpdateBones(rig);
    BasicUiWidgetType3DBone_UpdateBoneXforms(rig);
    for (int b = 0; b < 58; b++) {
        matrix want;
        composeMatrix(place, actor.boneXforms[b], want);
        const float(*got)[4] = BasicUiWidgetType3DRig_GetRigBone(rig, b);
        ASSERT_NE(got, nullptr);
        for (int i = 0; i < 4; i++)
            for (int j = 0; j < 3; j++) EXPECT_NEAR(got[i][j], want[i][j], 2e-3f * (i == 3 ? 40 : 1)) << b << " " << i << j;
    }
}

}  // namespace

namespace {

TEST_F(GlUiDemo3D, TheCreditsRollUpThroughTheirWindow)
{
    ASSERT_EQ(LoadResourceGroup(kBallPictureGroup), 1);
    auto* credits = R<sBasicUiWidgetTypeTextScroll>("d3Credits");
    for (int i = 0; i < 30; i++) Frame();  // 3 s at a row every 5 s
    EXPECT_NEAR(credits->cursor, 0.6f, 1e-3f);
    Image lower = LastDrawn(m_DisplayBuffers1);
    ASSERT_EQ(lower.width, 320);
    const std::string dir = ZENDROLYX_BUILD_DIR;
    ScreenshotWritePng(dir + "/demo3d-lower.png", lower.rgb.data(), lower.width, lower.height);
    // The title has risen 0.6 of the window (screen rows 10-230) from its bottom, to row 98; the
    // next row is still at the window's foot.
    auto bright = [&](int y0, int y1) {
        int n = 0;
        for (int y = y0; y < y1; y++)
            for (int x = 130; x < 310; x++)
                if (lower.At(x, y)[0] > 150 && lower.At(x, y)[1] > 150) n++;
        return n;
    };
    EXPECT_GT(bright(98, 135), 20) << "the title's lines";
    EXPECT_EQ(bright(10, 90), 0) << "nothing above the title";
    // After the last of the eight rows the roll starts again from its first.
    float last = credits->cursor;
    int wrapped = 0;
    for (int i = 0; i < 500 && !wrapped; i++) {
        BasicUi_UpdateEnvironment(env, 0.1f);
        if (credits->cursor < last) {
            wrapped = 1;
            EXPECT_EQ(credits->cursor, 0.0f);
            EXPECT_EQ(credits->modulus, 0);
            EXPECT_GT(last, 7.9f) << "past the last row";
        }
        last = credits->cursor;
    }
    EXPECT_EQ(wrapped, 1);
    // The rate is in rows per 1080 seconds for a window taller than a pixel, else per second.
    credits->h.value = 240;
    credits->speed = 1.0f;
    credits->cursor = 0.0f;
    BasicUiWidgetTypeTextScroll_Update(W("d3Credits"), 1.0f / 30.0f);
    EXPECT_NEAR(credits->cursor, 1.0f / 32400.0f, 1e-9f);
    credits->h.value = 1;
    BasicUiWidgetTypeTextScroll_Update(W("d3Credits"), 0.5f);
    EXPECT_NEAR(credits->cursor, 0.5f + 1.0f / 32400.0f, 1e-6f);
}

}  // namespace

namespace {

void Collect(const sBasicUi3DGlyph& g, void* data) { static_cast<std::vector<sBasicUi3DGlyph>*>(data)->push_back(g); }

// The title's two lines: laid out in font pixels with y up, the second a line lower, each centred
// on the origin, no character lost or breaking a line but a line feed; drawn above the bowler in
// both eyes, apart by the parallax of its distance.
TEST_F(GlUiDemo3D, TheTitleIsLaidOutInLinesAndDrawnInBothEyes)
{
    std::vector<sBasicUi3DGlyph> glyphs;
    ASSERT_EQ(BasicUiWidgetType3DText_Layout("AB\nAB", 3077, 1, 1, Collect, &glyphs), 2);
    ASSERT_EQ(glyphs.size(), 4u);
    ASSERT_EQ(TextOutputSelectFont(3077), 1);
    const float below = float(TextOutputGetInterrowSpacing() + TextOutputGetFontHeight());
    EXPECT_FLOAT_EQ(glyphs[0].top - glyphs[2].top, below);
    std::vector<sBasicUi3DGlyph> crlf;  // a carriage return before the line feed makes no blank line
    EXPECT_EQ(BasicUiWidgetType3DText_Layout("AB\r\nAB", 3077, 1, 1, Collect, &crlf), 2);
    ASSERT_EQ(crlf.size(), 4u);
    EXPECT_FLOAT_EQ(crlf[2].top, glyphs[2].top);
    EXPECT_FLOAT_EQ(glyphs[0].left, glyphs[2].left);
    const int width = TextOutputLineLength("AB");
    // Centred on the origin: from half the line's width left of it to the rest of the width right.
    EXPECT_FLOAT_EQ(glyphs[0].left, -float(width / 2));
    EXPECT_FLOAT_EQ(glyphs[1].right, float(width - width / 2));
    std::vector<sBasicUi3DGlyph> left;
    BasicUiWidgetType3DText_Layout("AB", 3077, 0, 1, Collect, &left);
    EXPECT_FLOAT_EQ(left[0].left - glyphs[0].left, float(width / 2)) << "centring moves the line by half its width";
    EXPECT_GT(glyphs[0].top, glyphs[0].bottom) << "y up";
    // A line longer than any buffer keeps every character; a tab is a space, not a line break.
    std::vector<sBasicUi3DGlyph> longLine, tabbed, spaced;
    EXPECT_EQ(BasicUiWidgetType3DText_Layout(std::string(300, 'A').c_str(), 3077, 0, 1, Collect, &longLine), 1);
    EXPECT_EQ(longLine.size(), 300u);
    EXPECT_EQ(BasicUiWidgetType3DText_Layout("A\tB", 3077, 0, 1, Collect, &tabbed), 1);
    BasicUiWidgetType3DText_Layout("A B", 3077, 0, 1, Collect, &spaced);
    ASSERT_EQ(tabbed.size(), 3u);
    EXPECT_FLOAT_EQ(tabbed[2].left, spaced[2].left);
    EXPECT_FLOAT_EQ(tabbed[2].top, spaced[2].top);

    Frame();
    Frame();
    Image l = LastDrawn(m_DisplayBuffers0), r = LastDrawn(m_DisplayBuffers0Ext);
    auto white = [](const uint8_t* p) { return p[0] > 200 && p[1] > 200 && p[2] > 200; };
    auto centre = [&](const Image& im) {
        double sum = 0;
        int n = 0;
        for (int y = 0; y < 40; y++)
            for (int x = 0; x < im.width; x++)
                if (white(im.At(x, y))) sum += x, n++;
        return n > 30 ? sum / n : -1.0;
    };
    const double cl = centre(l), cr = centre(r);
    ASSERT_GT(cl, 0) << "the title in the left eye";
    ASSERT_GT(cr, 0) << "the title in the right eye";
    EXPECT_NEAR((cl + cr) / 2, 270.0, 8.0) << "50 right of the camera at 350 ahead";
    EXPECT_GT(std::fabs(cr - cl), 2.0);
}

}  // namespace

namespace {

// In the rig's debug mode the character shows its rig instead of its skin: the limits' cones in
// blue where the elbows, knees and ankles are, and with the joints switched on the joints of the
// last mapping pass joined in orange.
TEST_F(GlUiDemo3D, TheRigsDebugDrawingShowsItsJointsAndLimitsInsteadOfTheBowler)
{
    Frame();
    Frame();
    R<sBasicUiWidgetType3DSkeleton>("d3Bowler")->rigDebug.value = 1;
    BasicUiWidgetType3DRig_SetDebugDrawing(1, 0, 1);
    Frame();
    BasicUiWidgetType3DRig_SetDebugDrawing(0, 0, 1);
    Image im = LastDrawn(m_DisplayBuffers0);
    int purple = 0, orange = 0, blue = 0;
    for (int y = 0; y < im.height; y++)
        for (int x = 80; x < 220; x++) {
            const uint8_t* p = im.At(x, y);
            purple += Purple(p);
            orange += p[0] > 200 && p[1] > 120 && p[1] < 200 && p[2] < 60;
            blue += p[0] < 60 && p[1] > 120 && p[2] > 200;
        }
    EXPECT_EQ(purple, 0) << "no shirt";
    EXPECT_GT(orange, 40) << "the joints";
    EXPECT_GT(blue, 10) << "the limits";
}

}  // namespace

namespace {

// What the character draws of its outfit: the body group's models (no more than six), each garment
// whose model and texture swap are there, the hair unless a hat with an open range hides it, and
// the held item from the hand the mirroring chooses.
TEST_F(GlUiDemo3D, TheCharacterDrawsTheGarmentsItsDescriptionNames)
{
    auto* b = R<sBasicUiWidgetType3DSkeleton>("d3Bowler");
    auto bit = [](int slot) { return 1u << slot; };
    Frame();
    Frame();
    EXPECT_EQ(b->bodyModelsDrawn, 2) << "the body record and the skinned mesh; the skin texture is no model";
    EXPECT_EQ(b->partsDrawn, bit(kSkeletonShirt) | bit(kSkeletonSocks) | bit(kSkeletonLegs) | bit(kSkeletonPants) |
                                 bit(kSkeletonShoes));
    EXPECT_GT(b->hairModelsDrawn, 0);

    // A shirt whose texture to replace is not named is hidden; a cap hides the hair.
    b->shirt.srcTexID.value = -1;
    b->hat.id.value = kSharedGarments;
    b->hat.offset.value = kCap;
    b->hat.srcTexID.value = b->hat.dstTexID.value = kGarmentTextures;
    b->hat.srcTexOffset.value = kTexHat;
    b->hat.dstTexOffset.value = kTexHat + 1;
    // The glasses as a held item in the left hand only.
    b->item.id.value = kSharedGarments;
    b->itemOffsetL.value = kGlasses;
    b->item.srcTexID.value = b->item.dstTexID.value = kGarmentTextures;
    b->item.srcTexOffset.value = kTexGlasses;
    b->item.dstTexOffset.value = kTexGlasses + 1;
    Frame();
    EXPECT_FALSE(b->partsDrawn & bit(kSkeletonShirt));
    EXPECT_TRUE(b->partsDrawn & bit(kSkeletonHat));
    EXPECT_EQ(b->hairModelsDrawn, 0);
    EXPECT_FALSE(b->partsDrawn & bit(kSkeletonItem)) << "the right hand holds nothing";
    b->hFlip.value = 1;
    Frame();
    EXPECT_TRUE(b->partsDrawn & bit(kSkeletonItem)) << "mirrored, the left hand's item";
}

}  // namespace
