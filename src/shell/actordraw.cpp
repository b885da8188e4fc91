// The per-actor draw handlers the actors' makers store: plain models, skinned models, and the ball
// with the reflection that slides over it as it rolls.
#include "shell/actordraw.h"

#include "game/actors.h"
#include "game/ball.h"
#include "lib/matrix.h"
#include "lib/printing.h"
#include "platform/camera.h"
#include "platform/gpucommands.h"
#include "platform/model.h"
#include "platform/render.h"
#include "platform/shaders.h"
#include "shell/scenedraw.h"

// Reflection texture shift per world unit: across the lane, and down it from the foul line.
constexpr float kReflectionShiftU = 0.0001562f;
constexpr float kReflectionShiftV = 0.0000816f;
constexpr float kReflectionStartV = 0.3f;
constexpr float kReflectionScale = 2.0f;

int DrawActorModel(actor_tag* actor)
{
    if (!actor) return PrintError("DrawActorModel: no actor");
    if (!actor->visible) return 1;
    const int noZWrite = (actor->actorFlags & kActorFlagNoZWrite) != 0;
    if (noZWrite) RenderDisableZWrite();
    curXform = actor->actorXform;
    int ok = SetActorXform(actor) && DrawModel(actor->actorModel);
    // The pointer must not outlive the actor; the camera's own transform is the current one again.
    curXform = viewXform;
    // Depth writes come back on even when the draw failed, so the actors after it write depth.
    if (noZWrite) RenderEnableZWrite();
    return ok;
}

int DrawActorSkeleton(actor_tag* actor)
{
    if (!actor) return PrintError("DrawActorSkeleton: no actor");
    if (!actor->visible || actor->clipStatus == kClipBehindCamera) return 1;
    return SetActorXform(actor) && SetActorSkeletalXforms(actor, actor->worldXform) &&
           DrawSkeleton(actor->actorModel);
}

int DrawNextGenBall(actor_tag* actor)
{
    if (!actor) return 1;
    if (ComputeActorXform(actor) && SetActorXform(actor)) DrawModel(actor->actorModel);
    DrawBallReflectionMap(actor);
    return 1;
}

// One reflection model at the current transform with its texture shifted by (u, v); the shift is
// cleared afterwards whatever happened, so that it does not carry over to the next model drawn.
static int DrawShiftedReflection(DS3_model_tag* model, float u, float v)
{
    int ok = SetTextureCoordinateOffset(u, v);
    ok = ok && DrawModel(model);
    return ClearTextureCoordinateOffset() && ok;
}

int DrawBallReflectionMap(actor_tag* actor)
{
    if (!actor) return PrintError("DrawBallReflectionMap: no actor");
    if (!actor->visible) return 1;
    DS3_model_tag* top = nullptr;
    DS3_model_tag* bottom = nullptr;
    if (!GetBallTopReflectionModel(&top) || !GetBallBottomReflectionModel(&bottom)) return 0;

    matrix place;
    setScaleMatrix(place, kReflectionScale, kReflectionScale, kReflectionScale);
    addTranslationMatrix(place, actor->Xlocation, actor->Ylocation, actor->Zlocation);
    matrix xform;
    composeMatrix(shaderViewXform, place, xform);
    if (!SetXform(xform)) return 0;

    const float u = actor->Xlocation * kReflectionShiftU;
    const float v = kReflectionStartV - actor->Ylocation * kReflectionShiftV;
    const int topOk = DrawShiftedReflection(top, u, v);
    const int bottomOk = DrawShiftedReflection(bottom, 0.0f, 0.0f);
    return topOk && bottomOk;
}
