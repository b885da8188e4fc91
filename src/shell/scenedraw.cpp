// The game's frame: the upper screen once per eye (the alley's environment before and after the
// actors, the turn lights, the actors, particles and billboards, the upper overlays) and the
// game's overlays on the lower screen.
#include "shell/scenedraw.h"

#include "game/actors.h"
#include "game/areas.h"
#include "game/gameloop.h"
#include "game/billboards.h"
#include "game/particles.h"
#include "game/records.h"
#include "game/replay.h"
#include "game/transitions.h"
#include "host/gpu.h"
#include "lib/matrix.h"
#include "lib/printing.h"
#include "lib/resources.h"
#include "lib/screenapi.h"
#include "platform/camera.h"
#include "platform/gpucommands.h"
#include "platform/lighting.h"
#include "platform/model.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "platform/shaders.h"
#include "shell/upperlayers.h"

// Environment and turn-light models are built in feet; the lane is 24 world units to the foot.
constexpr float kEnvScale = 24.0f;
// Slots of priority up to this are drawn before the actors, the others after them.
constexpr int kEnvLastEarlyPriority = 5;
// A model flagged so takes its slot's own light set when the slot asks for it.
constexpr uint32_t kModelFlagLayerLights = 0x40;
// The upper overlays' depth for the eyes' parallax.
constexpr float kUpperOverlayZ = 500.0f;

// The turn lights' resource groups by alley: the first light, then the second.
static const int kTurnLightGroups[kNumAreas][2] = {
    {108, 109}, {210, 211}, {310, 311}, {410, 411}, {510, 511}, {610, 611},
};
enum { kTurnLightUnlitTexture = 0, kTurnLightLitTexture = 1, kTurnLightModel = 2 };

// The pen, alpha, bias and lights every screen starts from.
static void NeutralDrawingState()
{
    RenderSetPenColor(128, 128, 128);
    RenderSetAlphaLevel(255);
    RenderSetMipmapBias(0.0f);
    RenderSetLights(&gGameLights);
}

// Slot i at its heading, scaled to the world, seen from the current eye.
static void SetEnvSlotXform(int slot)
{
    matrix scale, turn, place, xform;
    setScaleMatrix(scale, kEnvScale, kEnvScale, kEnvScale);
    setZRotationMatrix(turn, envHeading[slot]);
    composeMatrix(turn, scale, place);
    composeMatrix(shaderViewXform, place, xform);
    SetXform(xform);
}

// One environment slot. The heading advances on every draw, so once per eye. Depth writes and the
// game lights are put back whether the draw succeeded or not: what this slot needs must not reach
// the slots, actors or eye drawn after it.
static int DrawEnvSlot(int slot)
{
    DS3_model_tag* model = envModel[slot];
    envHeading[slot] += envHeadingIncrement[slot];
    if (!UpdateModelTextureAnimation(model)) return 0;
    SetEnvSlotXform(slot);
    const int noZWrite = envZwriteFlag[slot] == 0;
    if (noZWrite) RenderDisableZWrite();
    const int layerLit = (model->flags & kModelFlagLayerLights) && envLightingFlag[slot];
    if (layerLit) RenderSetLights(&gLayerLights[slot]);
    const int ok = DrawModel(model);
    if (layerLit) RenderSetLights(&gGameLights);
    if (noZWrite) RenderEnableZWrite();
    SetXform(shaderViewXform);
    return ok;
}

// One pass over the environment in its draw order: the slots before the actors (late 0) or after
// them (late 1). Empty slots are skipped, their headings kept.
static int DrawEnvPass(int late)
{
    for (int k = 0; k < kNumEnvLayers; ++k) {
        const int slot = envDrawOrder[k];
        if (slot < 0 || slot >= kNumEnvLayers) return PrintError("DrawDisplay0: draw order names slot %d", slot);
        if (!envModel[slot] || (envDrawPriorityFlag[slot] > kEnvLastEarlyPriority) != (late != 0)) continue;
        if (!DrawEnvSlot(slot)) return 0;
    }
    return 1;
}

// Particles and billboards blend over the scene and must not hide each other: no depth writes
// while they are drawn, and on again afterwards even when one failed.
static int DrawSceneEffects()
{
    RenderDisableZWrite();
    RenderSetLights(&gGameLights);
    // A scene drawn outside a game (no particle manager) has no effects to draw.
    const int particles = !ParticleSystemManagerExists() || ParticleSystemManagerRender();
    const int ok = particles && DrawEnvBillboards();
    RenderEnableZWrite();
    return ok;
}

// The upper-screen overlays of one eye, over the scene, with the eye's parallax.
static int DrawUpperOverlays()
{
    RenderEnableOverlays();
    upperLayers.SetHUDDisplay(0);
    RenderEnableParallax();
    RenderSetZLevel(kUpperOverlayZ);
    upperLayers.DrawGameOverlays();
    RenderDisableParallax();
    return DrawTransition();
}

int DrawDisplay0(float (*)[4])
{
    // The overlays of the eye drawn before switch depth test and writes off on the GPU without
    // the renderer's switches knowing: each eye turns both on again for its scene.
    RenderEnableZWrite();
    RenderEnableZBuffer();
    NeutralDrawingState();
    if (!DrawEnvPass(0)) return 0;
    RenderSetLights(&gGameLights);
    if (!DrawTurnLights() || !RenderActors()) return 0;
    if (!DrawSceneEffects()) return 0;
    if (!DrawEnvPass(1)) return 0;
    return DrawUpperOverlays();
}

// Whether the second turn light shows the second ball of the frame. In a replay the frame has
// already moved on, so the light follows the ball being replayed: the second of the previous frame.
static int TurnLightLit()
{
    if (gCurrPlayer < 0 || gCurrPlayer >= kMaxPlayers) return 0;
    const TITLE_PlayerInfoStruct& player = gPlayerInfo[gCurrPlayer];
    if (!IsReplayActive()) return player.currFrameBallIndex > 0;
    const int frame = player.currFrame;
    return frame > 0 && frame <= kFramesPerGame && player.currFrameBallIndex == 0 &&
           player.framePinCount[frame - 1][1] != -1;
}

// The model of a light group with the given member of the group as its texture, drawn at the
// alley's scale.
static int DrawTurnLight(int group, int texture)
{
    void* model = nullptr;
    void* bitmap = nullptr;
    if (!GetResourceHandle((group << 16) | kTurnLightModel, &model) ||
        !GetResourceHandle((group << 16) | texture, &bitmap))
        return 0;
    auto* light = static_cast<DS3_model_tag*>(model);
    if (!SetModelMaterialBitmap(light, 0, static_cast<DS3_bitmap_tag*>(bitmap))) return 0;
    matrix scale, xform;
    setScaleMatrix(scale, kEnvScale, kEnvScale, kEnvScale);
    composeMatrix(shaderViewXform, scale, xform);
    SetXform(xform);
    return DrawModel(light);
}

int DrawTurnLights()
{
    if (areaNum < 0 || areaNum >= kNumAreas) return 1;
    const int* groups = kTurnLightGroups[areaNum];
    if (!DrawTurnLight(groups[0], kTurnLightLitTexture)) return 0;
    return DrawTurnLight(groups[1], TurnLightLit() ? kTurnLightLitTexture : kTurnLightUnlitTexture);
}

// The lower screen's 2D state: its own bitmap, no transform, a neutral pen and the game lights.
static void StartLowerOverlays()
{
    ScreenSetDrawingDestination(screenBuffer);
    SetXform(nullptr);
    NeutralDrawingState();
}

int DrawDisplay1()
{
    StartLowerOverlays();
    if (!RenderEnableOverlays()) return 0;
    upperLayers.SetHUDDisplay(1);
    if (!upperLayers.DrawGameOverlays()) return 0;
    return DrawTransition();
}

int DrawGameScreen()
{
    if (!RenderStartScreen()) return 0;
    // A failed step of an eye draws what it could; the frame goes on.
    int ok = RenderStartDisplay0L();
    if (ok) {
        DrawDisplay0(nullptr);
        ok = RenderEndDisplay0L();
    }
    ok = ok && RenderStartDisplay0R();
    if (ok) {
        DrawDisplay0(nullptr);
        ok = RenderEndDisplay0R();
    }
    // A clip playing over the game is the lower screen's background; the overlays leave it alone.
    if (ok) {
        ok = RenderStartDisplay1();
        if (ok) {
            DrawDisplay1();
            ok = RenderEndDisplay1();
        }
    }
    // A started frame is always finished, so that the renderer is not left inside one.
    ok = RenderDoneScreen() && ok;
    // An error the drawing left behind is not this frame's concern; it must not fail the next check.
    GpuGetError();
    return ok;
}
