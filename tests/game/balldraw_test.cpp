// Drawing the ball, its shadow and reflection, the aim line, the oil overlay, the bumpers and the
// pins, recorded without a GPU: which models each handler draws or leaves out, with which texture,
// transform, lights and alpha, on the lane objects of the build's game data.
#include <gtest/gtest.h>

#include <btBulletDynamicsCommon.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "content_models.h"
#include "content_shaders.h"
#include "game/actors.h"
#include "game/areas.h"
#include "game/ball.h"
#include "game/collision.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/oil.h"
#include "game/physics.h"
#include "game/pins.h"
#include "game/records.h"
#include "game/replay.h"
#include "host/host.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "overlays/scoreoverlay.h"
#include "overlays/startturn.h"
#include "platform/camera.h"
#include "platform/fileserver.h"
#include "platform/gpu_recording.h"
#include "platform/model.h"
#include "platform/quads.h"
#include "shell/actordraw.h"
#include "shell/globals.h"
#include "shell/physicsmemory.h"
#include "shell/scenedraw.h"
#include "shell/settings.h"
#include "shell/startup.h"
#include "support/device_heap.h"

namespace {

// One recorded draw and the state it was made with.
struct Draw {
    uint32_t vertexBase;     // the model's vertex block
    uint32_t texture;        // unit 0's texel address word
    uint32_t combinerConst;  // stage 0's constant: the colour modulation, alpha in the top byte
    uint32_t light0Diffuse;  // the first light's colour
    float modelView[3][4];   // rows of the model-view matrix (column vectors)
    float texOffset[4];
};

uint32_t Base(const DS3_model_tag* m) { return m->vertexBufferHardwareAddress >> 3; }
uint32_t TextureWord(int rsid)
{
    auto* bitmap = static_cast<DS3_bitmap_tag*>(ResourceHandle(rsid));
    EXPECT_NE(bitmap, nullptr) << rsid;
    return bitmap ? bitmap->hardwareRegisters[4] : 0;
}
DS3_lights Lights(float r, float g, float b)
{
    DS3_lights l{};
    l.light1_red = r, l.light1_green = g, l.light1_blue = b, l.light1_alpha = 1.0f;
    l.light1_z = -1.0f;
    return l;
}
int SameLights(const DS3_lights& a, const DS3_lights& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

constexpr int kBallTextures = kBallTextureGroup;

class LaneDraw : public ::testing::Test {
protected:
    HostOptions saved;
    GpuRecording rec;
    actor_tag* ball = nullptr;
    actor_tag* aim = nullptr;
    actor_tag* oil = nullptr;
    actor_tag* bumpers = nullptr;
    actor_tag* pin = nullptr;
    DS3_model_tag* reflTop = nullptr;
    DS3_model_tag* reflBot = nullptr;
    DS3_model_tag* shadow = nullptr;

    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(32 << 20), 1);
        saved = gHostOptions;
        gHostOptions.romDir = std::string(ZENDROLYX_BUILD_DIR) + "/rom";
        done = 0;
        ASSERT_EQ(FileSystemInit(), 1);
        ASSERT_EQ(InitResources(10000), 1);
        ASSERT_EQ(OpenResources(), 1);
        // As the game set-up loads the lane objects.
        ASSERT_EQ(LoadResourceRange1x1(5000, 5016), 1);
        ASSERT_EQ(InitBallModel(), 1);
        ASSERT_EQ(InitPinModel(), 1);
        ASSERT_EQ(InitAimModel(), 1);
        // The player's ball textures, member by member as the bowlers read them.
        ASSERT_EQ(OpenResourceGroup(kBallTextures), 1);
        for (int m = 2; m < 5; ++m) ASSERT_NE(ReadResource(kBallTextures << 16 | m), nullptr);

        std::vector<uint8_t> container = mkrom::BuildShaderContainer(mkrom::VertexProgramSource());
        ASSERT_EQ(PrepareShaderState(container.data(), uint32_t(container.size())), 1);
        RenderResetShader();

        InstallPhysicsAllocator();
        gCurrPlayer = 0;
        gGameType = 0;
        areaNum = 0;
        gGamePaused = 0;
        testOptions.testModeActive = 0;
        for (int p = 0; p < 2; ++p) {
            ResetPlayerInfo(&gPlayerInfo[p]);
            SetControllerAssignment(p, 0);
            for (BallDataTag& b : gPlayerInfo[p].ballData) b = {0, 0, 0, 0, 6.8f, 0.7f, -19.6f};
            for (int b = 0; b < kBallsPerPlayer; ++b) gPlayerInfo[p].playerData.ballRSIDDstTextureD[b] = kBallTextures << 16 | (b + 2);
        }
        ASSERT_EQ(InitializeActors(kActorPoolSize), 1);
        ASSERT_EQ(CreatePhysicsWorld(), 1);
        ASSERT_EQ(CreateCollisionEnvironment(areaNum), 1);
        ASSERT_EQ(AddBallActor(&ball), 1);
        ASSERT_EQ(AddAimActor(&aim), 1);
        ASSERT_EQ(AddOilActor(&oil), 1);
        ASSERT_EQ(AddBumperActor(&bumpers), 1);
        ASSERT_EQ(AddPinActor(1, &pin), 1);
        for (actor_tag* a : {aim, oil, bumpers, pin}) setIdentityMatrix(a->actorXform);
        GetBallTopReflectionModel(&reflTop);
        GetBallBottomReflectionModel(&reflBot);
        shadow = static_cast<DS3_model_tag*>(ResourceHandle(5002));
        ASSERT_TRUE(reflTop && reflBot && shadow && ball->actorModel && aim->actorModel && oil->actorModel &&
                    bumpers->actorModel && pin->actorModel);

        SetReplayActive(0);
        SetControlState(kControlPosition);
        gGameOptions.drawOil = 1;
        gGameOptions.oilPattern = 3;
        gGameLights = Lights(0.2f, 0.9f, 0.2f);
        for (int t = 0; t < kNumActorLights; ++t) gActorLights[t] = Lights(0.1f + 0.05f * float(t), 0.1f, 0.8f);
        RenderSetLights(&gGameLights);
        RenderSetAlphaLevel(255);
    }
    void TearDown() override
    {
        DSScoreCloseHandler();
        DSStandardStartTurnCloseHandler();
        SetReplayActive(0);
        RenderSetShader(-1, 0, 0);
        DisposePhysicsWorld();
        DisposeActors();
        DisposeCollisionEnvironment(areaNum);
        DisposeBallModel();
        DisposeAimModel();
        DisposePinModel();
        btAlignedAllocSetCustom(nullptr, nullptr);
        btAlignedAllocSetCustomAligned(nullptr, nullptr);
        FreeResources();
        FileSystemDispose();
        ReleaseDeviceHeap();
        gHostOptions = saved;
    }

    // The draws recorded since the last call, with the state each one was made with.
    std::vector<Draw> Draws()
    {
        std::vector<Draw> draws;
        static uint32_t regs[kGpuRegisterCount];
        std::memset(regs, 0, sizeof regs);
        for (const RegWrite& w : rec.Writes()) {
            regs[w.reg] = w.value;
            if (w.reg != kGpuRegDrawIndexed) continue;
            Draw d{};
            d.vertexBase = regs[kGpuRegVertexBase];
            d.texture = regs[kGpuRegTexUnit(0) + 4];
            d.combinerConst = regs[kGpuRegCombiner(0) + kGpuCombinerConstant];
            d.light0Diffuse = regs[kGpuRegLight(0) + kGpuLightDiffuse];
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < 4; ++c)
                    d.modelView[r][3 - c] = GpuBitsFloat(regs[kGpuRegUniformVector(kUniformModelView + r) + uint32_t(c)]);
            for (int c = 0; c < 4; ++c) d.texOffset[3 - c] = GpuBitsFloat(regs[kGpuRegUniformVector(kUniformTexOffset) + uint32_t(c)]);
            draws.push_back(d);
        }
        rec.Clear();
        // Every draw uploads its own state again, as a new frame would.
        RenderResetShader();
        return draws;
    }
    // The models drawn, in order, by their vertex blocks.
    static std::vector<uint32_t> Models(const std::vector<Draw>& draws)
    {
        std::vector<uint32_t> out;
        for (const Draw& d : draws)
            if (out.empty() || out.back() != d.vertexBase) out.push_back(d.vertexBase);
        return out;
    }
    std::vector<uint32_t> Models() { return Models(Draws()); }
    // The first draw of a model, or null.
    static const Draw* Of(const std::vector<Draw>& draws, const DS3_model_tag* m)
    {
        for (const Draw& d : draws)
            if (d.vertexBase == Base(m)) return &d;
        return nullptr;
    }
    void PlaceBall(float x, float y, float z)
    {
        ball->visible = 1;
        ball->Xlocation = x, ball->Ylocation = y, ball->Zlocation = z;
    }
    static void MakeComputer() { SetControllerAssignment(gCurrPlayer, kAssignmentComputer); }
};

// A rolling ball: the model in the texture of the player's selected ball, the reflection caps
// over it (the top one's texture slid by where the ball is on the lane, the bottom one's not),
// then the shadow under it at the lane's height; lit as a ball, then the game's lights again.
TEST_F(LaneDraw, ARollingBallIsDrawnInItsOwnTextureWithReflectionAndShadow)
{
    gPlayerInfo[0].ballSelected = 1;
    PlaceBall(12.0f, 600.0f, 8.58f);
    ASSERT_EQ(DrawBall(ball), 1);
    const std::vector<Draw> draws = Draws();
    EXPECT_EQ(Models(draws), (std::vector<uint32_t>{Base(ball->actorModel), Base(reflTop), Base(reflBot), Base(shadow)}));

    const Draw* b = Of(draws, ball->actorModel);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->texture, TextureWord(kBallTextures << 16 | 3)) << "the second of the player's balls";
    const Draw* top = Of(draws, reflTop);
    const Draw* bot = Of(draws, reflBot);
    ASSERT_TRUE(top && bot);
    EXPECT_NEAR(top->texOffset[0], 12.0f * 0.0001562f, 1e-6f);
    EXPECT_NEAR(top->texOffset[1], 0.3f - 600.0f * 0.0000816f, 1e-6f);
    EXPECT_EQ(bot->texOffset[0], 0.0f);
    EXPECT_EQ(bot->texOffset[1], 0.0f);

    const Draw* s = Of(draws, shadow);
    ASSERT_NE(s, nullptr);
    EXPECT_NEAR(s->modelView[0][0], 2.0f, 1e-5f) << "scaled 2";
    EXPECT_NEAR(s->modelView[0][3], 12.0f, 1e-4f);
    EXPECT_NEAR(s->modelView[1][3], 600.0f, 1e-3f);
    EXPECT_NEAR(s->modelView[2][3], 8.59f, 1e-4f) << "at the height of a ball on the lane";

    // Lit as a ball; the shadow after it with the game's lights.
    EXPECT_NE(b->light0Diffuse, s->light0Diffuse);
    EXPECT_TRUE(SameLights(s_PreLights, gGameLights));

    // Another selection, another texture; a selection out of range shows the first ball.
    for (const auto& c : {std::pair<int, int>{2, 4}, {0, 2}, {7, 2}, {-1, 2}}) {
        gPlayerInfo[0].ballSelected = c.first;
        DrawBall(ball);
        const std::vector<Draw> again = Draws();
        ASSERT_NE(Of(again, ball->actorModel), nullptr);
        EXPECT_EQ(Of(again, ball->actorModel)->texture, TextureWord(kBallTextures << 16 | c.second)) << c.first;
    }
    // The current player's ball, not the first player's.
    gCurrPlayer = 1;
    gPlayerInfo[1].ballSelected = 2;
    gPlayerInfo[1].playerData.ballRSIDDstTextureD[2] = kBallTextures << 16 | 3;
    DrawBall(ball);
    EXPECT_EQ(Of(Draws(), ball->actorModel)->texture, TextureWord(kBallTextures << 16 | 3));
}

// The shadow only while the ball is on the lane: not when it is up in the air, on or below the
// lane's level (dropped into the pit), or past the deck; a hidden ball draws nothing.
TEST_F(LaneDraw, TheShadowFollowsTheBallOnlyOnTheLane)
{
    struct Case {
        float y, z;
        int shadowed;
    };
    for (const Case& c : {Case{100, 8.58f, 1}, Case{1500, 11.9f, 1}, Case{100, 12.0f, 0}, Case{100, 0.0f, 0},
                          Case{100, -5.0f, 0}, Case{1512, 8.58f, 0}, Case{1700, 8.58f, 0}}) {
        PlaceBall(0.0f, c.y, c.z);
        DrawBall(ball);
        const std::vector<Draw> draws = Draws();
        EXPECT_NE(Of(draws, ball->actorModel), nullptr) << c.y << " " << c.z;
        EXPECT_EQ(Of(draws, shadow) != nullptr, c.shadowed != 0) << c.y << " " << c.z;
    }
    // A hidden ball leaves no trace.
    ball->visible = 0;
    ball->Zlocation = 8.58f;
    DrawBall(ball);
    EXPECT_TRUE(Draws().empty());
}

// The aim line is for a person setting up the throw: hidden for a computer bowler, in a replay,
// once the ball is being thrown, and while the score sheet or the set-up menu covers the lower
// screen.
TEST_F(LaneDraw, TheAimLineShowsOnlyWhileAPersonAims)
{
    for (int state : {kControlPosition, kControlAngle, kControlPower}) {
        SetControlState(state);
        ASSERT_EQ(DrawAimLine(aim), 1);
        EXPECT_EQ(Models(), std::vector<uint32_t>{Base(aim->actorModel)}) << state;
    }
    auto hidden = [&](const char* why) {
        EXPECT_EQ(AimLineHidden(), 1) << why;
        ASSERT_EQ(DrawAimLine(aim), 1);
        EXPECT_TRUE(Draws().empty()) << why;
    };
    SetControlState(kControlThrowing);
    hidden("throwing");
    SetControlState(kControlReleased);
    hidden("released");
    SetControlState(kControlAngle);

    SetReplayActive(1);
    hidden("replay");
    SetReplayActive(0);

    MakeComputer();
    hidden("computer bowler");
    SetControllerAssignment(gCurrPlayer, 0);

    ASSERT_EQ(DSStandardStartTurnOpenHandler(), 1);
    hidden("set-up menu open");
    DSStandardStartTurnCloseHandler();

    DSScoreOpenHandler();
    ASSERT_EQ(DSScoreOverlayActive(), 1);
    SetControlState(kControlAngle);
    hidden("score sheet open");
    DSScoreCloseHandler();

    EXPECT_EQ(AimLineHidden(), 0);
    DrawAimLine(aim);
    EXPECT_EQ(Models().size(), 1u) << "back once the sheet is closed";
}

// The oil overlay: the game's pattern, half see-through, lit as the ball, for a person placing or
// aiming the throw with the oil display on; the alpha and the game's lights come back after it.
TEST_F(LaneDraw, TheOilOverlayShowsTheGamesPatternHalfSeeThrough)
{
    for (int pattern = 1; pattern <= kNumOilPatterns; ++pattern) {
        gGameOptions.oilPattern = pattern;
        ASSERT_EQ(DrawOil(oil), 1);
        const std::vector<Draw> draws = Draws();
        ASSERT_EQ(draws.size(), 1u) << pattern;
        EXPECT_EQ(draws[0].vertexBase, Base(oil->actorModel));
        EXPECT_EQ(draws[0].texture, TextureWord(kOilTextureGroup << 16 | (pattern - 1))) << pattern;
        EXPECT_EQ(draws[0].combinerConst >> 24, 160u) << "alpha 160 while it is drawn";
    }
    uint8_t alpha = 0;
    RenderGetAlphaLevel(&alpha);
    EXPECT_EQ(alpha, 255);
    EXPECT_TRUE(SameLights(s_PreLights, gGameLights));

    // Lit as a ball: the same light as the ball's draw, not the game's.
    DrawOil(oil);
    const uint32_t oilLight = Draws().at(0).light0Diffuse;
    PlaceBall(0, 100, 8.58f);
    DrawBall(ball);
    const std::vector<Draw> ballDraws = Draws();
    EXPECT_EQ(oilLight, Of(ballDraws, ball->actorModel)->light0Diffuse);
    EXPECT_NE(oilLight, Of(ballDraws, shadow)->light0Diffuse);

    // A pattern the game does not have keeps the last texture rather than reading a stray id.
    EXPECT_EQ(OilTextureRSID(0), 0);
    EXPECT_EQ(OilTextureRSID(kNumOilPatterns + 1), 0);
    gGameOptions.oilPattern = 0;
    DrawOil(oil);
    EXPECT_EQ(Draws().at(0).texture, TextureWord(kOilTextureGroup << 16 | (kNumOilPatterns - 1)));

    auto hidden = [&](const char* why) {
        EXPECT_EQ(OilOverlayHidden(), 1) << why;
        DrawOil(oil);
        EXPECT_TRUE(Draws().empty()) << why;
    };
    gGameOptions.oilPattern = 2;
    gGameOptions.drawOil = 0;
    hidden("oil display off");
    gGameOptions.drawOil = 1;
    SetControlState(kControlPower);
    hidden("power step");
    SetControlState(kControlAngle);
    SetReplayActive(1);
    hidden("replay");
    SetReplayActive(0);
    MakeComputer();
    hidden("computer bowler");
}

// The bumpers show while the game has them up and they stand above the lane; the pause menu can
// show them raised for a game without them.
TEST_F(LaneDraw, TheBumpersShowOnlyWhenRaised)
{
    struct Case {
        int on, paused, raised, shown;
    };
    for (const Case& c : {Case{1, 0, 1, 1}, Case{0, 1, 1, 1}, Case{1, 0, 0, 0}, Case{0, 0, 1, 0}, Case{0, 0, 0, 0}}) {
        gPlayerInfo[0].bumpers = c.on;
        gGamePaused = c.paused;
        physics->SetBumpersRaised(c.raised);
        EXPECT_EQ(BumpersShown(), c.shown) << c.on << c.paused << c.raised;
        ASSERT_EQ(DrawBumper(bumpers), 1);
        EXPECT_EQ(Models().size(), size_t(c.shown)) << c.on << c.paused << c.raised;
    }
    gGamePaused = 0;
}

// A pin is drawn in the pins' lights, and the game's lights are back for whatever follows.
TEST_F(LaneDraw, APinIsLitAsAPinAndTheGameLightsComeBack)
{
    ASSERT_EQ(DrawPin(pin), 1);
    const std::vector<Draw> draws = Draws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].vertexBase, Base(pin->actorModel));
    EXPECT_TRUE(SameLights(s_PreLights, gGameLights));

    // The same light as a draw made directly in the pins' lights; not the game's.
    RenderSetLights(&gActorLights[kActorPin]);
    DrawActorModel(pin);
    const uint32_t pinLight = Draws().at(0).light0Diffuse;
    RenderSetLights(&gGameLights);
    DrawActorModel(pin);
    const uint32_t gameLight = Draws().at(0).light0Diffuse;
    EXPECT_EQ(draws[0].light0Diffuse, pinLight);
    EXPECT_NE(pinLight, gameLight);

    pin->visible = 0;
    DrawPin(pin);
    EXPECT_TRUE(Draws().empty()) << "a pin out of play";
}

// Where a model's vertices land in the world under its actor's transform (heading 0 turns an
// actor half round), with the texture coordinates of each; the lane objects use vertex format 1.
struct WorldVertex {
    float x, y, z, u, v;
};
std::vector<WorldVertex> InTheWorld(actor_tag* a)
{
    setIdentityMatrix(shaderViewXform);
    EXPECT_EQ(ComputeActorXform(a), 1);
    const DS3_model_tag* m = a->actorModel;
    EXPECT_EQ(m->vertFormat, 1);
    std::vector<WorldVertex> out;
    for (uint32_t i = 0; i < m->numVerts; ++i) {
        float f[8];
        std::memcpy(f, m->vertList.get() + size_t(i) * m->vertSize, sizeof f);
        WorldVertex w{};
        float* p[3] = {&w.x, &w.y, &w.z};
        for (int c = 0; c < 3; ++c)
            *p[c] = f[0] * a->worldXform[0][c] + f[1] * a->worldXform[1][c] + f[2] * a->worldXform[2][c] + a->worldXform[3][c];
        w.u = f[6], w.v = f[7];
        out.push_back(w);
    }
    return out;
}

// The oil overlay covers the lane from the foul line to 41 feet, its pattern's first board on the
// lane's negative side and its last row at the foul line; the bumpers run along both edges from
// the foul line to the pins.
TEST_F(LaneDraw, TheOilAndTheBumpersLieOnTheLane)
{
    float minY = 1e9f, maxY = -1e9f;
    for (const WorldVertex& w : InTheWorld(oil)) {
        minY = std::min(minY, w.y), maxY = std::max(maxY, w.y);
        EXPECT_NEAR(w.z, 0.1f, 1e-3f);
        EXPECT_LE(std::fabs(w.x), 44.0f);
        if (w.u == 0.0f) {
            EXPECT_LT(w.x, 0.0f) << "board 0 on the negative side";
        }
        if (w.v == 1.0f) {
            EXPECT_NEAR(w.y, 0.0f, 0.5f) << "the texture's last row at the foul line";
        }
    }
    EXPECT_NEAR(minY, 0.0f, 0.5f);
    EXPECT_NEAR(maxY, 984.0f, 0.5f);

    minY = 1e9f, maxY = -1e9f;
    int left = 0, right = 0;
    for (const WorldVertex& w : InTheWorld(bumpers)) {
        minY = std::min(minY, w.y), maxY = std::max(maxY, w.y);
        left += w.x < -40.0f;
        right += w.x > 40.0f;
        EXPECT_GE(w.z, 0.0f);
    }
    EXPECT_NEAR(minY, 0.0f, 0.5f);
    EXPECT_NEAR(maxY, 1392.0f, 0.5f);
    EXPECT_GT(left, 0);
    EXPECT_GT(right, 0);

    // The aim line, turned by the heading plus a half turn, runs from the ball towards the pins.
    aim->Xlocation = 10.0f;
    aim->heading = 180.0f;
    minY = 1e9f, maxY = -1e9f;
    for (const WorldVertex& w : InTheWorld(aim)) {
        minY = std::min(minY, w.y), maxY = std::max(maxY, w.y);
        EXPECT_NEAR(w.x, 10.0f, 2.0f);
    }
    EXPECT_GT(minY, 0.0f);
    EXPECT_GT(maxY, 900.0f);
}

// The game data: the oil overlay's model and its pattern textures have ids of their own, one
// texture per pattern; patterns 1 and 2 lay down different oil and so look different.
TEST_F(LaneDraw, TheOilPatternsHaveTexturesOfTheirOwn)
{
    EXPECT_EQ(ResourceType(5014), kResourceTypeModel);
    ASSERT_EQ(NumResourcesInGroup(kOilTextureGroup), kNumOilPatterns);
    std::vector<std::vector<uint8_t>> pixels;
    for (int p = 0; p < kNumOilPatterns; ++p) {
        const auto* bitmap = static_cast<const DS3_bitmap_tag*>(ResourceHandle(kOilTextureGroup << 16 | p));
        ASSERT_TRUE(bitmap && ResourceType(kOilTextureGroup << 16 | p) == kResourceTypeBitmap) << p;
        pixels.emplace_back(bitmap->pixels.get(), bitmap->pixels.get() + bitmap->textureSize);
        EXPECT_NE(std::count(pixels.back().begin(), pixels.back().end(), 0), long(pixels.back().size())) << "oil shows";
    }
    EXPECT_NE(pixels[0], pixels[1]);
}

}  // namespace
