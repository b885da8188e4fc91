// Drawing the game scene, recorded without a GPU: the two environment passes around the actors,
// headings turning once per eye, depth writes and layer lights confined to their own slot, the
// depth state around particles and overlays, the turn lights by ball and replay, the ball's
// reflection shift; and whole frames on the GPU with the build's alleys.
#include "shell/actordraw.h"
#include "shell/scenedraw.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "content_shaders.h"
#include "game/actors.h"
#include "game/areas.h"
#include "game/ball.h"
#include "game/gameloop.h"
#include "game/records.h"
#include "game/replay.h"
#include "host/gpu.h"
#include "host/host.h"
#include "lib/memory.h"
#include "lib/resources.h"
#include "platform/gpu_recording.h"
#include "platform/model_fixture.h"
#include "platform/quads.h"
#include "platform/video.h"
#include "shell/settings.h"
#include "support/game_data.h"

namespace {

// One draw of a recording with the state it was made with.
struct SceneDrawCall {
    uint32_t texture;    // unit 0's texel address
    uint32_t depthMask;  // the depth and colour mask word
    std::vector<uint32_t> lights;  // the light sources and the light set
    float modelView[2][4];         // the first two rows of the model-view matrix
    float texOffset[4];            // the texture coordinate shift
};

constexpr uint32_t kDepthWriteBit = 0x1000;
constexpr uint32_t kDepthTestBit = 0x1;

class SceneDraw : public ModelFixture {
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        std::vector<uint8_t> container = mkrom::BuildShaderContainer(mkrom::VertexProgramSource());
        ASSERT_EQ(PrepareShaderState(container.data(), uint32_t(container.size())), 1);
        void* block = nullptr;
        ASSERT_EQ(AllocateClearedMemory(&block, 1024), 1);
        workBuffer = block;
        RenderResetShader();
        backfaceCulling = -1;
        zBufferEnabled = zWriteEnabled = 1;
        savedControls = gGameControls;
        gGameControls = 0;
        savedArea = areaNum;
        areaNum = -1;  // no turn lights unless a test asks for them
        EmptyEnvironment();
        drawList = nullptr;
        SetReplayActive(0);
        std::memset(&gGameLights, 0, sizeof gGameLights);
        gGameLights.ambient_red = 0.25f;
        gGameLights.light1_green = 0.5f;
        gGameLights.light1_z = -1.0f;
        rec.reset(new GpuRecording);
        RenderEnableZWrite();
    }
    void TearDown() override
    {
        rec.reset();
        EmptyEnvironment();
        drawList = nullptr;
        areaNum = savedArea;
        gGameControls = savedControls;
        RenderSetShader(-1, 0, 0);
        workBuffer = nullptr;
        ModelFixture::TearDown();
    }

    static void EmptyEnvironment()
    {
        for (int i = 0; i < kNumEnvLayers; ++i) {
            envModel[i] = nullptr;
            envDrawOrder[i] = i;
            envDrawPriorityFlag[i] = 0;
            envHeading[i] = envHeadingIncrement[i] = 0.0f;
            envLightingFlag[i] = 0;
            envZwriteFlag[i] = 1;
        }
    }

    // A quad model textured with a bitmap of its own (installed at id); flags as given.
    DS3_model_tag* QuadModel(int id, uint32_t flags = 0)
    {
        bitmaps[id] = InstallBitmap(id, uint8_t(id));
        mkrom::ModelNode node = Quad(uint32_t(id));
        node.flags = flags;
        int32_t size = 0;
        uint8_t* image = LoadModel(node, &size);
        EXPECT_EQ(DS3_InitializeModel(image, size), 1);
        return reinterpret_cast<DS3_model_tag*>(image);
    }
    uint32_t TextureOf(int id) { return bitmaps[id]->hardwareRegisters[4]; }

    // Slot `slot` holds a model textured by bitmap 4000 + slot.
    DS3_model_tag* FillSlot(int slot, int priority, uint32_t flags = 0)
    {
        envModel[slot] = QuadModel(4000 + slot, flags);
        envDrawPriorityFlag[slot] = priority;
        return envModel[slot];
    }
    uint32_t SlotTexture(int slot) { return TextureOf(4000 + slot); }

    // An actor drawn as a plain model, textured by bitmap id, on the draw list.
    actor_tag* ListedActor(int id)
    {
        void* block = nullptr;
        EXPECT_EQ(AllocateClearedMemory(&block, int(sizeof(actor_tag))), 1);
        auto* a = static_cast<actor_tag*>(block);
        a->visible = 1;
        a->actorModel = QuadModel(id);
        a->actorDrawFunction = DrawActorModel;
        setIdentityMatrix(a->actorXform);
        a->drawNext = drawList;
        drawList = a;
        return a;
    }

    // A group of the resource table whose members are the given blocks.
    void InstallGroup(int group, const std::vector<void*>& members)
    {
        void* block = nullptr;
        const int n = int(members.size());
        ASSERT_EQ(AllocateClearedMemory(&block, int(sizeof(resourceGroupHeader) + n * sizeof(resourceHeader))), 1);
        auto* dir = static_cast<resourceGroupHeader*>(block);
        auto* records = reinterpret_cast<resourceHeader*>(dir + 1);
        dir->numResources = n;
        dir->groupResourceHeaders = records;
        for (int i = 0; i < n; ++i) {
            records[i].resourceLength = records[i].resourceUncompressedLength = 16;
            records[i].resourceHandle = members[size_t(i)];
        }
        resourceHeaders[group].resourceType = kResourceTypeGroup;
        resourceHeaders[group].resourceHandle = dir;
    }

    // The draws recorded so far.
    std::vector<SceneDrawCall> Draws() const
    {
        std::vector<SceneDrawCall> draws;
        std::vector<uint32_t> regs(kGpuRegisterCount, 0);
        for (const RegWrite& w : rec->Writes()) {
            regs[w.reg] = w.value;
            if (w.reg != kGpuRegDrawIndexed) continue;
            SceneDrawCall d;
            d.texture = regs[kGpuRegTexUnit(0) + 4];
            d.depthMask = regs[kGpuRegDepthColorMask];
            d.lights.assign(regs.begin() + kGpuRegLight0, regs.begin() + kGpuRegLightSet + kLightSetWords);
            for (int r = 0; r < 2; ++r)
                for (int c = 0; c < 4; ++c)
                    d.modelView[r][3 - c] = GpuBitsFloat(regs[kGpuRegUniformVector(kUniformModelView + r) + uint32_t(c)]);
            for (int c = 0; c < 4; ++c)
                d.texOffset[3 - c] = GpuBitsFloat(regs[kGpuRegUniformVector(kUniformTexOffset) + uint32_t(c)]);
            draws.push_back(d);
        }
        return draws;
    }
    std::vector<uint32_t> Textures() const
    {
        std::vector<uint32_t> t;
        for (const SceneDrawCall& d : Draws()) t.push_back(d.texture);
        return t;
    }

    std::unique_ptr<GpuRecording> rec;
    DS3_bitmap_tag* bitmaps[5000] = {};
    int savedControls = 0;
    int savedArea = 0;
};

// ---- The environment passes ----

// Slots up to priority 5 come before the actors, in the draw order; the others after the actors
// in the same order; empty slots named by the order are passed over.
TEST_F(SceneDraw, PriorityFiveIsDrawnBeforeTheActorsAndSixAfterThem)
{
    FillSlot(0, 5);
    FillSlot(1, 6);
    FillSlot(2, 0);
    FillSlot(3, 9);
    const int order[4] = {3, 1, 2, 0};
    for (int k = 0; k < 4; ++k) envDrawOrder[k] = order[k];
    for (int k = 4; k < kNumEnvLayers; ++k) envDrawOrder[k] = k;  // empty slots
    ListedActor(4900);

    ASSERT_EQ(DrawDisplay0(nullptr), 1);
    const std::vector<uint32_t> expected = {SlotTexture(2), SlotTexture(0), TextureOf(4900), SlotTexture(3),
                                            SlotTexture(1)};
    EXPECT_EQ(Textures(), expected);
    EXPECT_TRUE(rec->SentinelIntact());
}

// Each draw turns a slot by its increment, so an increment of 1 turns it 2 degrees a frame of two
// eyes; the slot is drawn at 24 times its size, turned about the vertical. An empty slot keeps
// its heading.
TEST_F(SceneDraw, HeadingsTurnOncePerEyeAndEmptySlotsStayPut)
{
    FillSlot(0, 0);
    envHeadingIncrement[0] = 1.0f;
    envHeading[0] = 30.0f;
    envHeadingIncrement[5] = 1.0f;  // slot 5 is empty
    envHeading[5] = 7.0f;

    ASSERT_EQ(DrawDisplay0(nullptr), 1);
    ASSERT_EQ(DrawDisplay0(nullptr), 1);
    EXPECT_FLOAT_EQ(envHeading[0], 32.0f);
    EXPECT_FLOAT_EQ(envHeading[5], 7.0f);

    const std::vector<SceneDrawCall> draws = Draws();
    ASSERT_EQ(draws.size(), 2u);
    const float* row0 = draws[1].modelView[0];
    const float* row1 = draws[1].modelView[1];
    EXPECT_NEAR(std::hypot(row0[0], row1[0]), 24.0f, 1e-3f);
    EXPECT_NEAR(std::atan2(row1[0], row0[0]) * 57.29578f, 32.0f, 1e-3f);
}

// Depth writes are off only for the slot that asks for it; the slots and actors after it write
// depth again.
TEST_F(SceneDraw, ASlotWithoutDepthWritesLeavesThemOnForTheNext)
{
    FillSlot(0, 0);
    FillSlot(1, 0);
    FillSlot(2, 6);
    envZwriteFlag[0] = 0;
    ListedActor(4900);

    ASSERT_EQ(DrawDisplay0(nullptr), 1);
    const std::vector<SceneDrawCall> draws = Draws();
    ASSERT_EQ(draws.size(), 4u);
    EXPECT_EQ(draws[0].depthMask & kDepthWriteBit, 0u);
    for (size_t i = 1; i < 4; ++i) {
        EXPECT_NE(draws[i].depthMask & kDepthWriteBit, 0u) << "draw " << i;
        EXPECT_NE(draws[i].depthMask & kDepthTestBit, 0u) << "draw " << i;
    }
}

// A slot flagged for layer lighting is lit by its own set; the slots, turn lights and actors after
// it are lit by the game's lights again, and a flagged model in a slot that does not ask for its
// own lights keeps the game's.
TEST_F(SceneDraw, ASlotsOwnLightsDoNotReachTheSlotsAfterIt)
{
    FillSlot(0, 0);
    FillSlot(1, 0, 0x40);
    FillSlot(2, 0, 0x40);
    FillSlot(3, 0);
    FillSlot(4, 6);
    envLightingFlag[1] = 1;
    envLightingFlag[2] = 0;
    std::memset(&gLayerLights[1], 0, sizeof(DS3_lights));
    gLayerLights[1].ambient_blue = 0.75f;
    gLayerLights[1].light1_red = 1.0f;
    gLayerLights[1].light1_x = 1.0f;
    ListedActor(4900);

    ASSERT_EQ(DrawDisplay0(nullptr), 1);
    const std::vector<SceneDrawCall> draws = Draws();
    ASSERT_EQ(draws.size(), 6u);  // slots 0..3, the actor, slot 4
    EXPECT_NE(draws[1].lights, draws[0].lights) << "the slot's own lights";
    for (size_t i = 2; i < draws.size(); ++i) EXPECT_EQ(draws[i].lights, draws[0].lights) << "draw " << i;
    EXPECT_EQ(std::memcmp(&s_PreLights, &gGameLights, sizeof gGameLights), 0);
}

// A slot whose model cannot be drawn ends the eye, but neither its depth-write switch nor its
// lights stay behind for what is drawn next (the other eye starts from the same state).
TEST_F(SceneDraw, AFailedSlotLeavesDepthWritesAndLightsAsTheyWere)
{
    DS3_model_tag* broken = FillSlot(0, 0, 0x40);
    broken->numStrips = 0;
    envZwriteFlag[0] = 0;
    envLightingFlag[0] = 1;
    gLayerLights[0] = gGameLights;
    gLayerLights[0].ambient_green = 1.0f;

    EXPECT_EQ(DrawDisplay0(nullptr), 0);
    EXPECT_EQ(zWriteEnabled, 1);
    EXPECT_NE(rec->Last(kGpuRegDepthColorMask) & kDepthWriteBit, 0u);
    EXPECT_EQ(std::memcmp(&s_PreLights, &gGameLights, sizeof gGameLights), 0);
}

// Particles and billboards are drawn with depth writes off, after the actors and before the
// late slots, which write depth again; the overlays come last, over the scene without depth, at
// their depth for the eyes' parallax, which is off again for whatever follows; the next eye's
// scene is drawn with depth test and writes on again.
TEST_F(SceneDraw, EffectsWithoutDepthWritesThenLateSlotsThenOverlays)
{
    FillSlot(0, 6);
    ListedActor(4900);
    s_Parallax = 0;

    ASSERT_EQ(DrawDisplay0(nullptr), 1);
    // The depth words written after the actor's draw and before the late slot's.
    std::vector<uint32_t> between;
    std::vector<uint32_t> after;
    int drawsSeen = 0;
    for (const RegWrite& w : rec->Writes()) {
        if (w.reg == kGpuRegDrawIndexed) ++drawsSeen;
        if (w.reg != kGpuRegDepthColorMask) continue;
        if (drawsSeen == 1) between.push_back(w.value);
        if (drawsSeen == 2) after.push_back(w.value);
    }
    ASSERT_EQ(drawsSeen, 2);
    ASSERT_GE(between.size(), 2u);
    EXPECT_EQ(between[between.size() - 2] & kDepthWriteBit, 0u) << "particles and billboards";
    EXPECT_NE(between.back() & kDepthWriteBit, 0u) << "the late slots";
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after.back() & (kDepthWriteBit | kDepthTestBit), 0u) << "the overlays";
    EXPECT_EQ(s_depth, 500.0f);
    EXPECT_EQ(s_Parallax, 0);

    // The overlays left depth test and writes off on the GPU; the next eye's scene has both.
    rec->Clear();
    ASSERT_EQ(DrawDisplay0(nullptr), 1);
    const std::vector<SceneDrawCall> draws = Draws();
    ASSERT_EQ(draws.size(), 2u);
    for (const SceneDrawCall& d : draws) EXPECT_EQ(d.depthMask & (kDepthWriteBit | kDepthTestBit), kDepthWriteBit | kDepthTestBit);
}

// A see-through actor draws without depth writes and gives them back; a hidden one draws nothing.
TEST_F(SceneDraw, ActorModelsHonourTheirDepthFlagAndVisibility)
{
    actor_tag* glass = ListedActor(4900);
    glass->actorFlags = 0x8;
    actor_tag* hidden = ListedActor(4901);
    hidden->visible = 0;

    ASSERT_EQ(DrawActorModel(glass), 1);
    ASSERT_EQ(DrawActorModel(hidden), 1);
    const std::vector<SceneDrawCall> draws = Draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].depthMask & kDepthWriteBit, 0u);
    EXPECT_EQ(zWriteEnabled, 1);
    EXPECT_NE(rec->Last(kGpuRegDepthColorMask) & kDepthWriteBit, 0u);
    EXPECT_EQ(curXform, viewXform) << "no pointer into the actor is left behind";

    // A failing draw gives depth writes back too.
    glass->actorModel->numStrips = 0;
    EXPECT_EQ(DrawActorModel(glass), 0);
    EXPECT_NE(rec->Last(kGpuRegDepthColorMask) & kDepthWriteBit, 0u);
}

// The ball is drawn, then its two reflection models: the top one with its texture shifted by the
// ball's place (across the lane and down it), the bottom one unshifted; the shift is cleared
// afterwards. A hidden ball shows no reflection, and the ball's handler never fails the frame.
TEST_F(SceneDraw, TheReflectionShiftFollowsTheBallAndIsCleared)
{
    // The ball's models where the ball reads them: ball, shadow, top and bottom reflection.
    for (int i = 0; i < 4; ++i) Install(5001 + i, QuadModel(4200 + i), 16, kResourceTypeModel);
    ASSERT_EQ(InitBallModel(), 1);
    actor_tag* ball = ListedActor(4900);
    ball->Xlocation = 100.0f;
    ball->Ylocation = 1000.0f;

    EXPECT_EQ(DrawNextGenBall(ball), 1);
    const std::vector<SceneDrawCall> draws = Draws();
    ASSERT_EQ(draws.size(), 3u);
    EXPECT_EQ(draws[0].texture, TextureOf(4900));
    EXPECT_EQ(draws[1].texture, TextureOf(4202));
    EXPECT_EQ(draws[2].texture, TextureOf(4203));
    EXPECT_EQ(draws[0].texOffset[0] + draws[0].texOffset[1], 0.0f);
    EXPECT_NEAR(draws[1].texOffset[0], 100.0f * 0.0001562f, 1e-7f);
    EXPECT_NEAR(draws[1].texOffset[1], 0.3f - 1000.0f * 0.0000816f, 1e-6f);
    EXPECT_EQ(draws[2].texOffset[0] + draws[2].texOffset[1], 0.0f);
    float shift[4];
    rec->Uniform(kUniformTexOffset, shift);
    EXPECT_EQ(shift[0] + shift[1], 0.0f) << "cleared after the last model";

    ball->visible = 0;
    rec->Clear();
    EXPECT_EQ(DrawBallReflectionMap(ball), 1);
    EXPECT_EQ(rec->UsedWords(), 0u);
    ball->visible = 1;
    ball->actorModel = nullptr;
    EXPECT_EQ(DrawNextGenBall(ball), 1) << "a ball without its model still draws its reflection";
    EXPECT_EQ(Draws().size(), 2u);

    // The ball's models go with this test's heap; the ball must not keep them.
    DisposeBallModel();
    DS3_model_tag* top = ball->actorModel;
    ASSERT_EQ(GetBallTopReflectionModel(&top), 1);
    EXPECT_EQ(top, nullptr);
}

// ---- The turn lights ----

class TurnLights : public SceneDraw {
protected:
    void SetUp() override
    {
        SceneDraw::SetUp();
        first = QuadModel(4100);
        second = QuadModel(4101);
        InstallBitmap(4110, 10);  // first light unlit
        InstallBitmap(4111, 11);  // first light lit
        InstallBitmap(4120, 20);  // second light unlit
        InstallBitmap(4121, 21);  // second light lit
        InstallGroup(210, {ResourceHandle(4110), ResourceHandle(4111), first});
        InstallGroup(211, {ResourceHandle(4120), ResourceHandle(4121), second});
        areaNum = 1;
        gCurrPlayer = 0;
        gPlayerInfo[0].currFrame = 3;
        gPlayerInfo[0].currFrameBallIndex = 0;
        gPlayerInfo[0].framePinCount[2][1] = -1;
    }
    void TearDown() override
    {
        resourceHeaders[210].resourceHandle = nullptr;
        resourceHeaders[211].resourceHandle = nullptr;
        SetReplayActive(0);
        gPlayerInfo[0] = TITLE_PlayerInfoStruct{};
        SceneDraw::TearDown();
    }
    uint32_t Tex(int id) { return static_cast<DS3_bitmap_tag*>(ResourceHandle(id))->hardwareRegisters[4]; }
    // The textures of the two lights as the next DrawTurnLights draws them.
    std::vector<uint32_t> Lights()
    {
        rec->Clear();
        EXPECT_EQ(DrawTurnLights(), 1);
        return Textures();
    }

    DS3_model_tag* first = nullptr;
    DS3_model_tag* second = nullptr;
};

// The first light is always lit; the second shows the second ball of the frame.
TEST_F(TurnLights, TheSecondLightShowsTheSecondBall)
{
    EXPECT_EQ(Lights(), (std::vector<uint32_t>{Tex(4111), Tex(4120)})) << "first ball: unlit";
    gPlayerInfo[0].currFrameBallIndex = 1;
    EXPECT_EQ(Lights(), (std::vector<uint32_t>{Tex(4111), Tex(4121)}));
    const std::vector<SceneDrawCall> draws = Draws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_NEAR(draws[0].modelView[0][0], 24.0f, 1e-4f) << "drawn at the alley's scale";
}

// In a replay the frame has moved on: the light is lit for a replayed second ball, i.e. when the
// previous frame had one; never in the first frame.
TEST_F(TurnLights, InAReplayTheLightFollowsTheReplayedBall)
{
    SetReplayActive(1);
    gPlayerInfo[0].currFrameBallIndex = 1;
    EXPECT_EQ(Lights()[1], Tex(4120)) << "mid-frame: the first ball is replayed";
    gPlayerInfo[0].currFrameBallIndex = 0;
    EXPECT_EQ(Lights()[1], Tex(4120)) << "the previous frame was a strike";
    gPlayerInfo[0].framePinCount[2][1] = 3;
    EXPECT_EQ(Lights()[1], Tex(4121)) << "the previous frame's second ball";
    gPlayerInfo[0].currFrame = 0;
    EXPECT_EQ(Lights()[1], Tex(4120)) << "no frame before the first";
}

// A missing member fails the lights; an area without lights draws none and does not fail.
TEST_F(TurnLights, MissingMembersFailAndUnknownAreasDrawNothing)
{
    resourceHeaders[211].resourceHandle = nullptr;
    rec->Clear();
    EXPECT_EQ(DrawTurnLights(), 0);
    areaNum = 7;
    rec->Clear();
    EXPECT_EQ(DrawTurnLights(), 1);
    EXPECT_TRUE(Draws().empty());
}

// ---- Whole frames on the GPU ----

class GlSceneFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = gHostOptions;
        gHostOptions.headless = 1;
        ASSERT_EQ(UseFreshDeviceHeap(48 << 20), 1);
        ASSERT_EQ(OpenBuildGameData(), 1);
        ASSERT_EQ(RenderInit(0x80000, 0x800, 0x502, 0x500), 1);
        savedControls = gGameControls;
        gGameControls = 0;
        drawList = nullptr;
    }
    void TearDown() override
    {
        videoPlaying = 0;
        DisposeArea();
        RenderDispose();
        CloseBuildGameData();
        ReleaseDeviceHeap();
        gHostOptions = saved;
        gGameControls = savedControls;
        areaNum = 0;
    }
    HostOptions saved;
    int savedControls = 0;
};

// Every alley of the game data draws a whole frame, turn lights included, and leaves the GL
// error state clean.
TEST_F(GlSceneFrame, EveryAlleyDrawsAWholeFrame)
{
    for (int area = 0; area < kNumAreas; ++area) {
        SCOPED_TRACE(area);
        ASSERT_EQ(ChangeArea(area), 1);
        const long presented = HostFramesPresented();
        EXPECT_EQ(DrawGameScreen(), 1);
        EXPECT_EQ(HostFramesPresented(), presented + 1);
        EXPECT_EQ(displayID, uint32_t(kDisplayLower)) << "the lower screen was drawn last";
        EXPECT_EQ(GpuGetError(), uint32_t(kGpuNoError));
        ASSERT_EQ(RenderStartScreen(), 1);
        ASSERT_EQ(RenderStartDisplay0L(), 1);
        EXPECT_EQ(DrawTurnLights(), 1) << "both light models and their textures are in the game data";
        ASSERT_EQ(RenderEndDisplay0L(), 1);
        ASSERT_EQ(RenderDoneScreen(), 1);
    }
}

// While a clip plays over the game it shows on the lower screen: the frame leaves that screen
// alone and still draws both eyes.
TEST_F(GlSceneFrame, AClipIsDrawnOnTheLowerScreenInTheGamesFrame)
{
    ASSERT_EQ(ChangeArea(0), 1);
    // The clip is the lower screen's background: the game's frame draws the lower screen too.
    videoPlaying = 1;
    const long presented = HostFramesPresented();
    EXPECT_EQ(DrawGameScreen(), 1);
    EXPECT_EQ(HostFramesPresented(), presented + 1);
    EXPECT_EQ(displayID, uint32_t(kDisplayLower));
    videoPlaying = 0;
    EXPECT_EQ(DrawGameScreen(), 1);
    EXPECT_EQ(displayID, uint32_t(kDisplayLower));
}


}  // namespace
