// The test scene on the GPU: the first alley's lane with its pins, a ball rolling down it and a
// bowler posed in the throw, in both eyes, with text in the game's font on both screens. The
// images are written as PNG files under the build directory (model-scene-*.png) to look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "content_bowler.h"
#include "content_models.h"
#include "host/errorlog.h"
#include "host/gpu.h"
#include "host/host.h"
#include "host/screenshot.h"
#include "lib/memory.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "lib/screenapi.h"
#include "lib/textoutput.h"
#include "platform/camera.h"
#include "platform/gpucommands.h"
#include "platform/lighting.h"
#include "platform/model.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "platform/renderengine.h"
#include "platform/shaders.h"
#include "platform/skeleton.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

struct Image {
    std::vector<uint8_t> rgb;
    int width = 0, height = 0;
    const uint8_t* At(int x, int y) const { return &rgb[(size_t(y) * size_t(width) + size_t(x)) * 3]; }
};

Image LastDrawn(const DS3_DisplayBufferDescription& set)
{
    Image image;
    uint32_t id = set.displayBufferIdArray[set.m_CurrentBufferIndex ^ 1u];
    EXPECT_EQ(GpuReadDisplaybuffer(id, &image.rgb, &image.width, &image.height), 1);
    return image;
}

// How many pixels of a window around (x, y) pass a test of their colour.
template <class Test>
int CountAround(const Image& image, int x, int y, int radius, Test test)
{
    int n = 0;
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
            const int px = x + dx, py = y + dy;
            if (px < 0 || py < 0 || px >= image.width || py >= image.height) continue;
            const uint8_t* p = image.At(px, py);
            n += test(int(p[0]), int(p[1]), int(p[2])) ? 1 : 0;
        }
    return n;
}

const float kPinX[10] = {0, -0.5f, 0.5f, -1, 0, 1, -1.5f, -0.5f, 0.5f, 1.5f};
const float kPinY[10] = {60, 60.866f, 60.866f, 61.732f, 61.732f, 61.732f, 62.598f, 62.598f, 62.598f, 62.598f};
// The ball rolls down the left of the lane; the bowler stands right of centre.
const float kBallX = -20.0f, kBallY = 800.0f;
const float kBowlerX = 40.0f;

class GlModelScene : public ::testing::Test {
protected:
    HostOptions saved;
    actor_tag* bowler = nullptr;
    DS3_model_tag* env = nullptr;
    DS3_model_tag* layers[2] = {};
    DS3_model_tag* pin = nullptr;
    DS3_model_tag* ball = nullptr;
    DS3_model_tag* body = nullptr;

    void SetUp() override
    {
        saved = gHostOptions;
        gHostOptions.headless = 1;
        ASSERT_EQ(UseFreshDeviceHeap(48 << 20), 1);
        ASSERT_EQ(OpenBuildGameData(), 1);
        HostClearErrorLog();
        ASSERT_EQ(RenderInit(0x80000, 0x800, 0x502, 0x500), 1) << HostErrorLog();
        ASSERT_EQ(InitRadianTables(), 1);
        ASSERT_EQ(LoadResourceRange1x1(3050, 3084), 1) << "the fonts";
        ASSERT_EQ(LoadResourceGroup(mkrom::kAlleyMarqueeGroups[0]), 1);
        ASSERT_EQ(LoadResourceGroup(100), 1);
        ASSERT_EQ(LoadResourceGroup(mkrom::kAlleyLayerGroups[0]), 1);
        ASSERT_EQ(LoadResourceRange(5000, 5016), 1);
        ASSERT_EQ(LoadResourceGroup(911), 1);
        ASSERT_EQ(LoadResourceGroup(mkrom::kAlleyTurnLightGroups[0][0]), 1);
        ASSERT_EQ(LoadResourceGroup(mkrom::kAlleyTurnLightGroups[0][1]), 1);
        ASSERT_NE(ReadResource(1303), nullptr) << "the throw";
        env = static_cast<DS3_model_tag*>(ResourceHandle(100 << 16 | (NumResourcesInGroup(100) - 1)));
        layers[0] = static_cast<DS3_model_tag*>(ResourceHandle(mkrom::kAlleyLayerGroups[0] << 16 | 0));
        layers[1] = static_cast<DS3_model_tag*>(ResourceHandle(mkrom::kAlleyLayerGroups[0] << 16 | 1));
        pin = static_cast<DS3_model_tag*>(ResourceHandle(kPinModel));
        ball = static_cast<DS3_model_tag*>(ResourceHandle(kBallModel));
        body = static_cast<DS3_model_tag*>(ResourceHandle(911 << 16 | 2));
        for (DS3_model_tag* m : {env, layers[0], layers[1], pin, ball, body}) ASSERT_NE(m, nullptr);

        // The bowler at the start of the approach, in the backswing of the throw.
        void* block = nullptr;
        ASSERT_EQ(AllocateClearedMemory(&block, int(sizeof(actor_tag))), 1);
        bowler = static_cast<actor_tag*>(block);
        bowler->actorModel = static_cast<DS3_model_tag*>(ResourceHandle(911 << 16 | 0));
        bowler->Xscale = bowler->Yscale = bowler->Zscale = 24.0f;
        bowler->Xlocation = kBowlerX;
        bowler->Ylocation = -264.0f;
        bowler->translationScaleFactor = {1, 1, 1, 1};
        bowler->animInfo.animation = 1303;
        bowler->animInfo.animationFrame = 40.0f;
        bowler->visible = 1;
    }
    void TearDown() override
    {
        skeletalActor = nullptr;
        DisposeRadianTables();
        RenderDispose();
        CloseBuildGameData();
        ReleaseDeviceHeap();
        gHostOptions = saved;
    }

    // The camera behind and above the bowler, looking down the lane.
    static void PlaceCamera()
    {
        InitCamera(6.0f, 150000.0f);
        cameraX = -20.0f;
        cameraY = 500.0f;
        cameraZ = 40.0f;
        cameraXangle = 96.0f;
        cameraYangle = 0.0f;
        cameraZangle = 0.0f;
        cameraZoom = 1000.0f;
        cameraViewingDistance = 2.5f;
        ComposeCameraXform();
    }

    static void Lights()
    {
        DS3_lights l;
        std::memset(&l, 0, sizeof l);
        l.ambient_red = l.ambient_green = l.ambient_blue = 0.8f;
        l.ambient_alpha = 1.0f;
        l.light1_red = l.light1_green = l.light1_blue = 0.8f;
        l.light1_x = 0.3f, l.light1_y = -0.5f, l.light1_z = 0.8f;
        RenderSetLights(&l);
    }

    // A model with its own placement: scale, then translation, then the eye's view.
    static int DrawPlaced(DS3_model_tag* m, float scale, float x, float y, float z)
    {
        matrix world, out;
        setScaleMatrix(world, scale, scale, scale);
        addTranslationMatrix(world, x, y, z);
        composeMatrix(shaderViewXform, world, out);
        SetXform(out);
        return DrawModel(m);
    }

    int DrawUpper()
    {
        RenderEnableZWrite();
        RenderEnableZBuffer();
        RenderSetPenColor(128, 128, 128);
        Lights();
        int ok = DrawPlaced(env, 24.0f, 0, 0, 0) && DrawPlaced(layers[0], 24.0f, 0, 0, 0) &&
                 DrawPlaced(layers[1], 24.0f, 0, 0, 0);
        for (int i = 0; i < 10 && ok; ++i) ok = DrawPlaced(pin, 2.0f, kPinX[i] * 24.0f, kPinY[i] * 24.0f, 15.0f);
        ok = ok && DrawPlaced(ball, 2.0f, kBallX, kBallY, 8.58f);
        // The bowler, skinned.
        ok = ok && ComputeActorXform(bowler) && ComputeSkeletonXforms(bowler) && SetActorXform(bowler) &&
             SetActorSkeletalXforms(bowler, bowler->worldXform) && DrawSkeleton(body);
        // The turn lights: the first lit, the second not.
        for (int k = 0; k < 2 && ok; ++k) {
            const int group = mkrom::kAlleyTurnLightGroups[0][k];
            auto* lamp = static_cast<DS3_model_tag*>(ResourceHandle(group << 16 | 2));
            ok = lamp != nullptr;
            if (!ok) break;
            SetModelMaterialBitmap(lamp, 0, static_cast<DS3_bitmap_tag*>(ResourceHandle(group << 16 | (k == 0))));
            ok = DrawPlaced(lamp, 24.0f, 0, 0, 0);
        }
        // Text flat on the screen: no parallax, whatever an earlier frame left switched on.
        RenderDisableParallax();
        ok = ok && RenderEnableOverlays() && TextOutputSelectFont(3070) && TextOutputSetMode(0) &&
             TextOutputDrawDirect(12, 12, "Lane 1");
        return ok;
    }
};

// Where a world point lands on the upper screen (pixels, y down) with an eye's projection and view
// as the renderer uploads them after the camera's own view.
void ScreenOf(const float (*proj)[4], const float (*view)[4], float x, float y, float z, int* sx, int* sy)
{
    float p[3] = {x, y, z};
    composePosition(p, shaderViewXform);
    float v[4] = {0, 0, 0, 1}, clip[4];
    for (int r = 0; r < 3; ++r) v[r] = view[r][0] * p[0] + view[r][1] * p[1] + view[r][2] * p[2] + view[r][3];
    for (int r = 0; r < 4; ++r) clip[r] = proj[r][0] * v[0] + proj[r][1] * v[1] + proj[r][2] * v[2] + proj[r][3] * v[3];
    // The GPU takes the landscape position (X, Y) as (-Y, X).
    const float X = clip[1] / clip[3], Y = -clip[0] / clip[3];
    *sx = int((X * 0.5f + 0.5f) * 400.0f);
    *sy = int((0.5f - Y * 0.5f) * 240.0f);
}

// The places the checks look at, for one eye.
struct Spots {
    int pin[2], lane[2], ball[2], shirt[2];
};

Spots SpotsOf(const actor_tag* bowler, const float (*proj)[4], const float (*view)[4])
{
    Spots s;
    ScreenOf(proj, view, 0.0f, kPinY[0] * 24.0f, 15.0f, &s.pin[0], &s.pin[1]);
    ScreenOf(proj, view, -25.0f, 300.0f, 0.0f, &s.lane[0], &s.lane[1]);
    ScreenOf(proj, view, kBallX, kBallY, 8.58f, &s.ball[0], &s.ball[1]);
    // The chest as posed: its bind position through its bone, then the bowler's world transform.
    const std::vector<std::string> bones = mkrom::BowlerBoneNames(911);
    const int chest = int(std::find(bones.begin(), bones.end(), "spine2") - bones.begin());
    float c[3];
    mkrom::BowlerBindPosition(911, chest, c);
    composePosition(c, bowler->boneXforms[chest]);
    composePosition(c, bowler->worldXform);
    ScreenOf(proj, view, c[0], c[1], c[2], &s.shirt[0], &s.shirt[1]);
    return s;
}

TEST_F(GlModelScene, LanePinsBallAndBowlerInBothEyes)
{
    PlaceCamera();
    ASSERT_EQ(RenderStartScreen(), 1);
    ASSERT_EQ(RenderStartDisplay0L(), 1);
    ASSERT_EQ(DrawUpper(), 1) << HostErrorLog();
    const Spots leftSpots = SpotsOf(bowler, s_projL, s_viewL);
    ASSERT_EQ(RenderEndDisplay0L(), 1);
    ASSERT_EQ(RenderStartDisplay0R(), 1);
    ASSERT_EQ(DrawUpper(), 1) << HostErrorLog();
    const Spots rightSpots = SpotsOf(bowler, s_projR, s_viewR);
    ASSERT_EQ(RenderEndDisplay0R(), 1);
    ASSERT_EQ(RenderStartDisplay1(), 1);
    ASSERT_EQ(RenderEnableOverlays(), 1);
    ASSERT_EQ(TextOutputSelectFont(3070), 1);
    TextOutputSetMode(0);  // left-aligned
    ASSERT_EQ(TextOutputDrawDirect(20, 100, "Strike!"), 1);
    ASSERT_EQ(RenderEndDisplay1(), 1);
    ASSERT_EQ(RenderDoneScreen(), 1);
    EXPECT_EQ(GpuGetError(), kGpuNoError);

    const Image left = LastDrawn(m_DisplayBuffers0), right = LastDrawn(m_DisplayBuffers0Ext),
                lower = LastDrawn(m_DisplayBuffers1);
    const std::string dir = ZENDROLYX_BUILD_DIR;
    ScreenshotWritePng(dir + "/model-scene-upper-left.png", left.rgb.data(), left.width, left.height);
    ScreenshotWritePng(dir + "/model-scene-upper-right.png", right.rgb.data(), right.width, right.height);
    ScreenshotWritePng(dir + "/model-scene-lower.png", lower.rgb.data(), lower.width, lower.height);

    auto white = [](int r, int g, int b) { return r > 170 && g > 170 && b > 150; };
    auto wood = [](int r, int g, int b) { return r > g && g > b && r > 60; };
    auto purple = [](int r, int g, int b) { return b > g + 20 && r > g + 20; };  // the 911 bowler's shirt
    auto lit = [](int r, int g, int b) { return r + g + b > 300; };
    for (const Image* eye : {&left, &right}) {
        SCOPED_TRACE(eye == &left ? "left eye" : "right eye");
        const Spots& s = eye == &left ? leftSpots : rightSpots;
        EXPECT_GE(CountAround(*eye, s.pin[0], s.pin[1], 3, white), 4) << "the head pin near " << s.pin[0] << ", " << s.pin[1];
        EXPECT_GE(CountAround(*eye, s.lane[0], s.lane[1], 3, wood), 30) << "the lane near " << s.lane[0] << ", " << s.lane[1];
        EXPECT_GE(CountAround(*eye, s.ball[0], s.ball[1], 2, [](int r, int, int b) { return b > r + 30 && b > 80; }), 10)
            << "the blue ball near " << s.ball[0] << ", " << s.ball[1];
        EXPECT_GE(CountAround(*eye, s.shirt[0], s.shirt[1], 4, purple), 40) << "the bowler's shirt near " << s.shirt[0]
                                                                          << ", " << s.shirt[1];
        EXPECT_GE(CountAround(*eye, 35, 20, 10, [](int r, int g, int b) { return r > 200 && g > 200 && b > 200; }), 10)
            << "the white text";
    }
    EXPECT_NE(leftSpots.pin[0], rightSpots.pin[0]) << "the eyes see the pins apart";
    EXPECT_GE(CountAround(lower, 40, 110, 20, lit), 10) << "the text on the lower screen";
    EXPECT_LE(CountAround(lower, 200, 200, 20, lit), 0) << "nothing else there";
}

}  // namespace
