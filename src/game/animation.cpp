// Playing and tweening the actors' skeletal animations, and the table that maps a base animation to
// each body mesh's own version.
#include "game/animation.h"

#include <cmath>

#include "game/actors.h"
#include "game/records.h"
#include "lib/printing.h"
#include "lib/trig.h"
#include "platform/frame.h"
#include "platform/skeleton.h"

int looped = 0;

const int animationBodyRSIDs[kNumAnimationBodies] = {911, 939, 918, 946, 925, 953, 932, 960, 1011, 1023, 1019};

// Per row: the offset added to 1301-1303, the offset added to 1325-1336, the release frame.
struct BodyAnimations {
    int throwOffset;
    int characterOffset;
    int releaseFrame;
};
static const BodyAnimations bodyAnimations[kNumAnimationBodies] = {
    {0, 0, 61},   {3, 12, 70},  {6, 24, 61},  {9, 36, 66},  {12, 48, 61}, {15, 60, 64},
    {18, 72, 61}, {21, 84, 65}, {15, 60, 64}, {6, 24, 61},  {3, 12, 70},
};
static const BodyAnimations otherBody = {0, 0, 61};

// Root translations of animations played with display bit 7 are in the animation tool's units.
static const float kFixedRootScale = 0.010899182f * 24.0f;

int AnimationBodyIndex(int bodyMeshRSID)
{
    for (int i = 0; i < kNumAnimationBodies; ++i)
        if (animationBodyRSIDs[i] == bodyMeshRSID) return i;
    return -1;
}

static const BodyAnimations& RowOf(int bodyMeshRSID)
{
    const int i = AnimationBodyIndex(bodyMeshRSID);
    return i < 0 ? otherBody : bodyAnimations[i];
}

int ReleaseFrameForBody(int bodyMeshRSID) { return RowOf(bodyMeshRSID).releaseFrame; }

int RemapAnimation(int bodyMeshRSID, int anim)
{
    const BodyAnimations& row = RowOf(bodyMeshRSID);
    if (anim >= kAnimThrowFirst && anim <= kAnimThrowLast) return anim + row.throwOffset;
    if (anim >= kAnimCharacterFirst && anim <= kAnimCharacterLast) return anim + row.characterOffset;
    return anim;
}

// The body mesh of the player the actor stands for.
static int BodyOf(const actor_tag* actor)
{
    if (actor->rosterIndex >= kMaxPlayers) return 0;
    return gPlayerInfo[actor->rosterIndex].playerData.bodyMeshRSID;
}

int SetActorAnimation(actor_tag* actor, int anim)
{
    if (!actor) return 0;
    if (!ModelSkeleton(actor->actorModel)) return 1;
    actor->animInfo.animation = RemapAnimation(BodyOf(actor), anim);
    return 1;
}

int GetCurrentActorAnimation(actor_tag* actor)
{
    if (!actor) return 0;
    const BodyAnimations& row = RowOf(BodyOf(actor));
    const int anim = actor->animInfo.animation;
    if (anim >= kAnimThrowFirst && anim <= kAnimThrowRemappedLast) return anim - row.throwOffset;
    if (anim >= kAnimCharacterFirst && anim <= kAnimCharacterRemappedLast) return anim - row.characterOffset;
    return anim;
}

int GetCharacterAnimations(int player, int& first, int& last)
{
    const int body = player >= 0 && player < kMaxPlayers ? gPlayerInfo[player].playerData.bodyMeshRSID : 0;
    first = RemapAnimation(body, kAnimCharacterFirst);
    last = RemapAnimation(body, kAnimCharacterLast);
    return 1;
}

// The frame after one step; a frame that is not a number starts again at 0.
static float Step(const animation_tag* anim, float ratio, float frame)
{
    if (!std::isfinite(frame)) frame = 0.0f;
    const float next = frame + anim->rateRatio * ratio * updateRatio;
    return std::isfinite(next) ? next : frame;
}

int AdvanceFrame(int anim, float ratio, float* frame)
{
    const animation_tag* a = GetAnimation(anim);
    if (!a || !frame) return 0;
    float f = Step(a, ratio, *frame);
    const float last = float(a->numFrames - 1);
    if (f > last) f = last;
    if (f < 0.0f) f = 0.0f;
    *frame = f;
    return 1;
}

int AdvanceLoopFrame(int anim, float ratio, float* frame)
{
    const animation_tag* a = GetAnimation(anim);
    if (!a || !frame) return 0;
    float f = Step(a, ratio, *frame);
    const float n = float(a->numFrames);
    if (f >= n || f < 0.0f) {
        f -= std::floor(f / n) * n;
        if (!(f >= 0.0f && f < n)) f = 0.0f;  // rounding at the very edge
        looped = 1;
    }
    *frame = f;
    return 1;
}

int FrameForwardHandler(actor_tag* actor)
{
    if (!actor) return 0;
    AnimationInfo& info = actor->animInfo;
    return AdvanceFrame(info.animation, info.animationFrameRatio, &info.animationFrame);
}

int ForwardLoopHandler(actor_tag* actor)
{
    if (!actor) return 0;
    AnimationInfo& info = actor->animInfo;
    if (!AdvanceLoopFrame(info.animation, info.animationFrameRatio, &info.animationFrame)) return 0;
    if (info.oldAnimation != info.animation) info.numLoops = 0;
    if (looped) info.numLoops += 1;
    looped = 0;
    info.oldAnimation = info.animation;
    return 1;
}

int SetupTweenEx(actor_tag* actor, actorFunc handler, float rate)
{
    if (!actor) return 0;
    AnimationInfo& info = actor->animInfo;
    // A tween set up earlier in this step (factor 1) keeps the pose it blends from.
    if (info.animationTweenFactor >= 0.0f && info.animationTweenFactor < 1.0f) {
        info.animationTween = info.animation;
        info.animationTweenFrame = info.animationFrame;
        info.animationTweenAttributes = uint32_t(actor->displayAttributes);
        info.tweenHeading = actor->heading;
    }
    actor->tweenHandler = handler;
    info.animationTweenRatio = rate;
    info.animationTweenFactor = 1.0f;
    return 1;
}

int ActiveTween(actor_tag* actor)
{
    if (!actor) return 0;
    AnimationInfo& info = actor->animInfo;
    if (info.animationTweenFactor == 0.0f) {
        actor->tweenHandler = nullptr;
        info.animationTween = 0;
        info.animationTweenFactor = 0.0f;
        actor->displayAttributes &= ~kDisplayTweening;
        return 1;
    }
    const int ok = actor->animationHandler ? actor->animationHandler(actor) : 1;
    if (info.animationTweenFactor > 0.0f) {
        info.animationTweenFactor -= info.animationTweenRatio * updateRatio;
        if (!(info.animationTweenFactor > 0.0f)) info.animationTweenFactor = 0.0f;
    } else {
        info.animationTweenFactor = 1.0f;
    }
    return ok;
}

int SetAnimationPercentage(actor_tag* actor, float p)
{
    if (!actor) return 0;
    const animation_tag* a = GetAnimation(actor->animInfo.animation);
    if (!a || a->numFrames <= 0) return 1;
    const float n = float(a->numFrames);
    const float top = (n - 1.0f) / n;
    if (!(p < top)) p = top;  // also a p that is not a number
    if (p < 0.0f) p = 0.0f;
    actor->animInfo.animationFrame = n * p;
    return 1;
}

int GetAnimationPercentage(actor_tag* actor, float* p)
{
    if (!actor || !p) return 0;
    const animation_tag* a = GetAnimation(actor->animInfo.animation);
    if (!a) return 0;
    const float n = float(a->numFrames);
    const float f = actor->animInfo.animationFrame;
    *p = (n <= 0.0f || f >= n - 1.0f) ? 1.0f : f / n;
    return 1;
}

int AnimationTranslations(actor_tag* actor, float* x, float* y)
{
    if (!actor || !x || !y) return 0;
    *x = *y = 0.0f;
    if (actor->animInfo.animation == 0) return 1;
    float ax = 0.0f, ay = 0.0f;
    if (!ComputeAnimationTranslation(actor->animInfo.animation, actor->animInfo.animationFrame, 0, &ax, &ay))
        return 0;
    if (actor->displayAttributes & kDisplayMirrored) ax = -ax;
    if (actor->displayAttributes & kDisplayFixedRootScale) {
        ax *= kFixedRootScale;
        ay *= kFixedRootScale;
    } else {
        ax *= actor->Xscale;
        ay *= actor->Yscale;
    }
    if (!sinTable || !cosTable) return PrintError("AnimationTranslations: no trig tables");
    const int h = int(NormalizeAngle(actor->heading)) % 360;
    const float sn = sinTable[h];
    const float cs = cosTable[h];
    *x = ax * sn + ay * cs;
    *y = ay * sn - ax * cs;
    return 1;
}

int ResetAnimationTranslations(actor_tag* actor)
{
    if (!actor) return 0;
    float x = 0.0f, y = 0.0f;
    if (!AnimationTranslations(actor, &x, &y)) return 0;
    actor->animInfo.lastTranslationX = x;
    actor->animInfo.lastTranslationY = y;
    actor->Xlocation = actor->logicalX - x;
    actor->Ylocation = actor->logicalY - y;
    return 1;
}
