// Making the bowler characters: their actors, body meshes, garments and hair from the player
// records, and carrying the ball in the bowling hand.
#include "game/characters.h"

#include <cstring>

#include "game/actors.h"
#include "game/animation.h"
#include "game/characterdraw.h"
#include "game/records.h"
#include "lib/matrix.h"
#include "lib/memory.h"
#include "lib/printing.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "lib/trig.h"
#include "platform/model.h"
#include "platform/skeleton.h"
#include "shell/globals.h"

static const float kCharacterScale = 24.0f;

// Without a skeleton there is no hand to follow, so the release point is where a right-handed
// bowler lets the ball go: at the foul line, beside the bowler's right hip (6 inches of real lane
// to the right of the bowler's centre), with the bottom of the ball just above the lane (the ball
// body's radius is 8.58 units).
static const float kReleaseRightOfBowler = 12.0f;
static const float kReleaseY = 0.0f;
static const float kReleaseZ = 10.0f;

// Where the ball leaves each hand, by body mesh (the first row also serves meshes not listed).
struct HandRow {
    int bodies[2];
    CharacterHand right;
    CharacterHand left;
};
static const HandRow handRows[] = {
    {{911, 911}, {42, -2.197411f, -0.1612747f, 3.472432f}, {23, 2.19741f, -0.1612747f, 3.472442f}},
    {{918, 1023}, {42, -2.236371f, -0.1941203f, 3.465311f}, {23, 2.23637f, -0.1941204f, 3.465301f}},
    {{925, 925}, {45, -2.136029f, -0.1944661f, 3.317178f}, {26, 2.136028f, -0.194466f, 3.317169f}},
    {{932, 932}, {44, -2.15247f, -0.1953528f, 3.316314f}, {25, 2.152471f, -0.1953527f, 3.316319f}},
    {{939, 1019}, {53, -2.078f, -0.2715f, 3.271f}, {32, 2.078f, -0.2715f, 3.271f}},
    {{946, 946}, {48, -2.01965f, -0.218353f, 3.3268f}, {27, 2.019653f, -0.2183535f, 3.326798f}},
    {{953, 1011}, {60, -2.007636f, -0.2066778f, 3.331605f}, {43, 1.914603f, -0.2120634f, 3.247944f}},
    {{960, 960}, {60, -2.007636f, -0.2066778f, 3.331605f}, {41, 2.001799f, -0.2183535f, 3.331595f}},
};

int CharacterHandFor(int bodyMeshRSID, int leftHanded, CharacterHand* out)
{
    if (!out) return 0;
    const HandRow* row = &handRows[0];
    for (const HandRow& r : handRows)
        if (r.bodies[0] == bodyMeshRSID || r.bodies[1] == bodyMeshRSID) row = &r;
    *out = leftHanded ? row->left : row->right;
    return 1;
}

static int BodyMeshOf(const actor_tag* actor)
{
    return actor->rosterIndex < kMaxPlayers ? gPlayerInfo[actor->rosterIndex].playerData.bodyMeshRSID : 0;
}

// A character always has its animation recorded, skinned or not yet: the game's logic follows the
// throw by the animation and its frame even while the body model is not loaded. Without the body
// model there is no mesh of its own to play a version for, so the base animation is recorded.
static void SetAnimationOf(actor_tag* actor, int anim)
{
    if (ModelSkeleton(actor->actorModel))
        SetActorAnimation(actor, anim);
    else
        actor->animInfo.animation = anim;
}

// A character's records are freed with it: the model buffer, then the player list.
static int DisposeCharacter(actor_tag* actor)
{
    if (!DisposePlayerModel(actor)) return 0;
    return DisposePlayer(actor);
}

int AddCharacter(float x, float y, int type, actor_tag** out, int player)
{
    actor_tag* a = nullptr;
    if (!AddActor(x, y, 0.0f, type, &a)) return 0;
    a->Xscale = a->Yscale = a->Zscale = kCharacterScale;
    a->Xextents = 200.0f;
    a->Yextents = 200.0f;
    a->Zextents = 240.0f;
    a->rosterIndex = uint8_t(player >= 0 && player < kMaxPlayers ? player : 0);
    a->actorDisposeFunction = DisposeCharacter;
    a->actorDrawFunction = DrawCharacter;

    void* buffer = nullptr;
    if (AllocateClearedMemory(&buffer, kCharacterLodBufferBytes)) {
        a->lodBuffer = static_cast<u8*>(buffer);
        // The body model's record, copied into both places of the buffer (one per level of
        // detail), so that the drawing has a model whichever level the character is at; the
        // copies share the skeleton with the body resource.
        const int body = BodyMeshOf(a);
        if (body > 0) {
            const int rsid = (body << 16) | 0;
            for (int lod = 0; lod < kCharacterLodBufferBytes / kCharacterLodBytes; ++lod) {
                uint8_t* cursor = a->lodBuffer + lod * kCharacterLodBytes;
                if (!CopyModel(rsid, &cursor, a->lodBuffer + (lod + 1) * kCharacterLodBytes)) break;
            }
            a->actorModel = static_cast<DS3_model*>(ResourceHandle(rsid));
        }
    }

    a->animationHandler = ForwardLoopHandler;
    SetAnimationOf(a, kAnimResetPose);
    a->animInfo.animationFrame = 0.0f;
    a->animInfo.animationFrameRatio = 0.0f;
    ResetAnimationTranslations(a);
    if (out) *out = a;
    return 1;
}

int ResetCharacter(actor_tag* actor, float x, float y)
{
    if (!actor) return 0;
    actor->logicalX = actor->Xlocation = x;
    actor->logicalY = actor->Ylocation = y;
    actor->animationHandler = FrameForwardHandler;
    SetAnimationOf(actor, kAnimResetPose);
    actor->animInfo.animationFrame = 0.0f;
    actor->animInfo.animationFrameRatio = 0.0f;
    ResetAnimationTranslations(actor);
    return 1;
}

int SetCharacterAnimation(actor_tag* actor, int anim)
{
    if (!actor) return 0;
    actor->animationHandler = FrameForwardHandler;
    SetAnimationOf(actor, anim);
    actor->animInfo.animationFrame = 0.0f;
    actor->animInfo.animationFrameRatio = 0.0f;
    return 1;
}

int SetCharacterAnimationTween(actor_tag* actor, int anim, float rate)
{
    if (!actor) return 0;
    SetupTweenEx(actor, ActiveTween, rate);
    SetCharacterAnimation(actor, anim);
    ResetAnimationTranslations(actor);
    return 1;
}

int StartCharacterAnimation(actor_tag* actor)
{
    if (!actor) return 0;
    actor->animInfo.animationFrameRatio = 1.0f;
    return 1;
}

// The character's world transform for its present pose: scale, the turn of its heading, its
// place, and the root motion of its animation applied first, in its own frame.
static int PoseCharacter(actor_tag* a)
{
    setScaleMatrix(a->worldXform, a->Xscale, a->Yscale, a->Zscale);
    setZRotationMatrix(a->lightXform, NormalizeAngle(180.0f - a->heading));
    matrix turn;
    if (a->Xangle != 0.0f) {
        setXRotationMatrix(turn, a->Xangle);
        composeAffineMatrix(a->lightXform, turn, a->lightXform);
    }
    if (a->Yangle != 0.0f) {
        setYRotationMatrix(turn, a->Yangle);
        composeAffineMatrix(a->lightXform, turn, a->lightXform);
    }
    composeAffineMatrix(a->lightXform, a->worldXform, a->worldXform);
    a->worldX = a->Xlocation;
    a->worldY = a->Ylocation;
    a->worldZ = a->Zlocation;
    addTranslationMatrix(a->worldXform, a->worldX, a->worldY, a->worldZ);
    if (!ComputeSkeletonTranslation(a)) return 0;
    matrix root;
    setTranslationMatrix(root, a->modelTranslation.x, a->modelTranslation.y, a->modelTranslation.z);
    composeAffineMatrix(a->worldXform, root, a->worldXform);
    return ComputeSkeletonXforms(a);
}

int RightHandPosition(actor_tag* actor, float* x, float* y, float* z)
{
    if (!actor) return 0;
    const int leftHanded = actor->displayAttributes & kDisplayMirrored;
    const HLSL_skeleton* skeleton = ModelSkeleton(actor->actorModel);
    CharacterHand hand{};
    CharacterHandFor(BodyMeshOf(actor), leftHanded, &hand);
    // The hand is placed from the pose of this very step, not from the last drawn frame, so that
    // a ball released now leaves from where the hand is now.
    if (skeleton && actor->animInfo.animation > 0 && hand.bone < int(skeleton->numBones) && PoseCharacter(actor)) {
        float p[3] = {hand.x, hand.y, hand.z};
        composePosition(p, actor->boneXforms[hand.bone]);
        composePosition(p, actor->worldXform);
        if (x) *x = p[0];
        if (y) *y = p[1];
        if (z) *z = p[2];
        return 1;
    }
    if (x) *x = actor->Xlocation + (leftHanded ? -kReleaseRightOfBowler : kReleaseRightOfBowler);
    if (y) *y = kReleaseY;
    if (z) *z = kReleaseZ;
    return 1;
}

int DisposePlayerModel(actor_tag* actor)
{
    if (!actor) return 0;
    if (actor->lodBuffer) {
        if (!FreeManagedMemory(actor->lodBuffer, 0)) return PrintError("DisposePlayerModel: the model buffer could not be freed");
        actor->lodBuffer = nullptr;
    }
    return 1;
}
