// Drawing a bowler: the ball in the hand while it is held, the body group, and the garments of
// the player record, each copied into a slot of the player's own with its texture swap, and the
// hair; all posed by the character's skeleton.
#include "game/characterdraw.h"

#include <cstring>

#include "game/actors.h"
#include "game/animation.h"
#include "game/areas.h"
#include "game/characters.h"
#include "game/physics.h"
#include "game/records.h"
#include "lib/matrix.h"
#include "lib/memory.h"
#include "lib/printing.h"
#include "lib/resources.h"
#include "platform/bitmap.h"
#include "platform/camera.h"
#include "platform/lighting.h"
#include "platform/model.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "platform/skeleton.h"
#include "shell/actordraw.h"
#include "shell/scenedraw.h"

// The slots: per player and slot a model record, and per slot its materials.
struct CharacterSlots {
    DS3_model_tag models[kMaxPlayers][kCharacterSlots];
    HLSL_material materials[kMaxPlayers][kCharacterSlots][kCharacterMaterials];
};
static CharacterSlots* slots = nullptr;
static int slotsUsed[kMaxPlayers];

int AllocateCharacterSlots()
{
    if (slots) return 1;
    void* block = nullptr;
    if (!AllocateClearedMemory(&block, int(sizeof(CharacterSlots))))
        return PrintError("characters: the bowlers' garment slots cannot be allocated");
    slots = static_cast<CharacterSlots*>(block);
    return 1;
}

int FreeCharacterSlots()
{
    if (!slots) return 1;
    if (!FreeManagedMemory(slots, 0)) return PrintError("characters: the bowlers' garment slots cannot be freed");
    slots = nullptr;
    std::memset(slotsUsed, 0, sizeof slotsUsed);
    return 1;
}

void ForgetCharacterSlots()
{
    slots = nullptr;
    std::memset(slotsUsed, 0, sizeof slotsUsed);
}

DS3_model_tag* CharacterSlotModel(int player, int slot)
{
    if (!slots || player < 0 || player >= kMaxPlayers || slot < 0 || slot >= kCharacterSlots) return nullptr;
    return &slots->models[player][slot];
}

int CharacterSlotsUsed(int player) { return player >= 0 && player < kMaxPlayers ? slotsUsed[player] : 0; }

int CopyModelAndMaterials(int modelId, int player, int slot)
{
    if (modelId < 1 || player < 0 || player >= kMaxPlayers || slot < 0 || slot >= kCharacterSlots) return 0;
    if (!slots) return PrintError("CopyModelAndMaterials: the garment slots are not set up");
    void* handle = nullptr;
    if (!GetResourceHandle(modelId, &handle) || ResourceType(modelId) != kResourceTypeModel) return 0;
    const auto* source = static_cast<const DS3_model_tag*>(handle);
    if (source->numMaterials >= uint32_t(kCharacterMaterials)) return 0;
    DS3_model_tag* copy = &slots->models[player][slot];
    HLSL_material* materials = slots->materials[player][slot];
    std::memcpy(copy, source, sizeof *copy);
    if (source->numMaterials)
        std::memcpy(materials, source->materialList.get(), source->numMaterials * sizeof(HLSL_material));
    copy->materialList = materials;
    return 1;
}

// A texture that is loaded, or null.
static DS3_bitmap_tag* Texture(int id)
{
    void* handle = nullptr;
    if (id < 1 || !GetResourceHandle(id, &handle) || ResourceType(id) != kResourceTypeBitmap) return nullptr;
    return static_cast<DS3_bitmap_tag*>(handle);
}

int SwapMaterials(int player, int slot, int fromTexture, int toTexture)
{
    DS3_model_tag* copy = CharacterSlotModel(player, slot);
    if (!copy || fromTexture < 1 || toTexture < 1) return 0;
    if (!Texture(fromTexture)) return PrintErrorOnce("characters: Missing Texture %i %i", fromTexture >> 16, fromTexture & 0xFFFF);
    DS3_bitmap_tag* to = Texture(toTexture);
    if (!to) return PrintErrorOnce("characters: Missing Texture %i %i", toTexture >> 16, toTexture & 0xFFFF);
    HLSL_material* materials = copy->materialList.get();
    for (uint32_t i = 0; i < copy->numMaterials; ++i) {
        HLSL_material& m = materials[i];
        const int diffuseId = int(m.materialRSID);
        DS3_bitmap_tag* diffuse = Texture(diffuseId);
        if (!diffuse) return PrintErrorOnce("characters: Missing Diffuse Texture %i %i", diffuseId >> 16, diffuseId & 0xFFFF);
        m.materialBitmap = diffuseId == fromTexture ? to : diffuse;
        if (m.normalMapRSID) {
            const int normalId = int(m.normalMapRSID);
            DS3_bitmap_tag* normal = Texture(normalId);
            if (!normal) return PrintErrorOnce("characters: Missing Normal Texture %i %i", normalId >> 16, normalId & 0xFFFF);
            m.normalMap = normal;
        }
    }
    return 1;
}

// ---- The ball in the hand ----

// The drawn ball by body mesh (the first row also serves meshes not listed): hand bone, the ball's
// centre in that bone's frame, and the ball's turn in degrees about X, Y and Z. A 953 or 1011
// right hand carries the ball on another bone than the one it releases it from.
//
// The 939 and 1019 rows carry no turn of their own in the tables the bowlers were made with; the
// turn is fixed here as X 90, Y 168 for the right hand and X -90, Y 168 for the left, the cradle of
// the neighbouring meshes, so that the ball sits in the modelled hand whichever bowler was drawn
// before (its centre is the hand's ball point either way; the turn only sets where its holes face).
struct CarriedRow {
    int bodies[2];
    CarriedBallHand right;
    CarriedBallHand left;
};
static const CarriedRow carriedRows[] = {
    {{911, 911}, {{42, -2.197411f, -0.1612747f, 3.472432f}, 85, 180, 0}, {{23, 2.19741f, -0.1612747f, 3.472442f}, -85, 180, 0}},
    {{918, 1023}, {{42, -2.236371f, -0.1941203f, 3.465311f}, 85, 180, 0}, {{23, 2.23637f, -0.1941204f, 3.465301f}, -168, 90, 0}},
    {{925, 925}, {{45, -2.136029f, -0.1944661f, 3.317178f}, 90, 168, 0}, {{26, 2.136028f, -0.194466f, 3.317169f}, -168, 90, 0}},
    {{932, 932}, {{44, -2.15247f, -0.1953528f, 3.316314f}, 90, 168, 0}, {{25, 2.152471f, -0.1953527f, 3.316319f}, -168, 90, 0}},
    {{939, 1019}, {{53, -2.078f, -0.2715f, 3.271f}, 90, 168, 0}, {{32, 2.078f, -0.2715f, 3.271f}, -90, 168, 0}},
    {{946, 946}, {{48, -2.01965f, -0.218353f, 3.3268f}, 90, 172, 0}, {{27, 2.019653f, -0.2183535f, 3.326798f}, -90, 172, 0}},
    {{953, 1011}, {{62, -1.914602f, -0.2120634f, 3.247935f}, 112, 172, 0}, {{43, 1.914603f, -0.2120634f, 3.247944f}, -112, 172, 0}},
    {{960, 960}, {{60, -2.007636f, -0.2066778f, 3.331605f}, 130, 172, 0}, {{41, 2.001799f, -0.2183535f, 3.331595f}, -112, 172, 0}},
};

int CarriedBallHandFor(int bodyMeshRSID, int leftHanded, CarriedBallHand* out)
{
    if (!out) return 0;
    const CarriedRow* row = &carriedRows[0];
    for (const CarriedRow& r : carriedRows)
        if (r.bodies[0] == bodyMeshRSID || r.bodies[1] == bodyMeshRSID) row = &r;
    *out = leftHanded ? row->left : row->right;
    return 1;
}

// The ball model is modelled at twice the size it is drawn at in the bowler's frame (one foot to
// the model unit, 24 world units to the foot).
static const float kCarriedBallScale = 1.0f / 12.0f;
// While held, the ball sits just above the approach, and so does its body in the lane world.
static const float kHeldBallZ = 2.0f;
// The model flag that the ball's drawing turns for the carried ball.
static const uint32_t kCarriedBallModelFlag = 0x20;

static int BodyMeshOf(const actor_tag* actor)
{
    return actor->rosterIndex < kMaxPlayers ? gPlayerInfo[actor->rosterIndex].playerData.bodyMeshRSID : 0;
}

int PlaceCarriedBall(actor_tag* character, actor_tag* ball)
{
    if (!character || !ball) return 0;
    const int left = character->displayAttributes & kDisplayMirrored;
    CarriedBallHand h{};
    CarriedBallHandFor(BodyMeshOf(character), left, &h);
    const HLSL_skeleton* skeleton = ModelSkeleton(character->actorModel);
    if (!skeleton || h.hand.bone < 0 || h.hand.bone >= int(skeleton->numBones) || h.hand.bone >= kMaxBones) return 0;

    // Scale, then the turn about Y (mirrored for the left hand), about Z (half a turn more for the
    // right hand) and about X, then out to the ball's place in the hand.
    matrix turn, step;
    setYRotationMatrix(turn, left ? -h.rotY : h.rotY);
    setZRotationMatrix(step, left ? h.rotZ : h.rotZ + 180.0f);
    composeMatrix(step, turn, turn);
    setXRotationMatrix(step, h.rotX);
    composeMatrix(step, turn, turn);
    matrix local;
    setScaleMatrix(local, kCarriedBallScale, kCarriedBallScale, kCarriedBallScale);
    composeMatrix(turn, local, local);
    addTranslationMatrix(local, h.hand.x, h.hand.y, h.hand.z);

    matrix inHand;
    composeMatrix(character->boneXforms[h.hand.bone], local, inHand);
    composeMatrix(character->worldXform, inHand, ball->worldXform);
    composeMatrix(character->actorXform, inHand, ball->actorXform);
    // Lighting turns normals only: the ball's turn without its scale.
    composeMatrix(character->boneLightVectors[h.hand.bone], turn, ball->lightXform);
    return 1;
}

int DrawCarriedBall(actor_tag* actor)
{
    if (!actor) return 0;
    if (!actor->visible || actor->clipStatus == kClipBehindCamera) return 1;
    actor_tag* ball = bowlingBall;
    if (!ball || !ball->actorModel) return 1;
    // Without a skeleton there is no hand to carry the ball.
    if (!PlaceCarriedBall(actor, ball)) return 1;

    const TITLE_PlayerInfoStruct& p = gPlayerInfo[actor->rosterIndex < kMaxPlayers ? actor->rosterIndex : 0];
    const int selected = p.ballSelected >= 0 && p.ballSelected < kBallsPerPlayer ? p.ballSelected : 0;
    DS3_model_tag* model = ball->actorModel;
    void* texture = nullptr;
    if (GetResourceHandle(p.playerData.ballRSIDDstTextureD[selected], &texture))
        SetModelMaterialBitmap(model, 0, static_cast<DS3_bitmap_tag*>(texture));

    RenderSetLights(&gActorLights[kActorBall]);
    ball->visible = 1;
    ball->clipStatus = actor->clipStatus;
    model->flags ^= kCarriedBallModelFlag;
    const int ok = SetActorXform(ball) && DrawModel(model);
    model->flags ^= kCarriedBallModelFlag;
    ball->visible = 0;
    return ok;
}

// ---- The bowler ----

// Draws model posed by the character's skeleton; the character keeps its own model.
static int DrawPosed(actor_tag* actor, DS3_model_tag* model)
{
    DS3_model_tag* own = actor->actorModel;
    actor->actorModel = model;
    const int ok = DrawActorSkeleton(actor);
    actor->actorModel = own;
    return ok;
}

// The models of a group from member first up to (not including) end, posed; members that are no
// models (the body's skin texture, the hair's textures) are passed over.
static int DrawGroupModels(actor_tag* actor, int group, int first, int end)
{
    for (int i = first < 0 ? 0 : first; i < end; ++i) {
        const int id = (group << 16) | i;
        if (ResourceType(id) != kResourceTypeModel) continue;
        auto* model = static_cast<DS3_model_tag*>(ResourceHandle(id));
        if (model && !DrawPosed(actor, model)) return 0;
    }
    return 1;
}

// One garment into the player's next free slot: copied, its texture swapped when the record names
// a swap, and drawn. A garment whose model or swap textures are missing is not drawn and leaves
// the slot free. 0 only when the skinned draw fails.
static int DrawGarment(actor_tag* actor, int player, int* slot, int mesh, int from, int to)
{
    if (!slots || *slot >= kCharacterSlots || !CopyModelAndMaterials(mesh, player, *slot)) return 1;
    if ((from > 0 || to > 0) && !SwapMaterials(player, *slot, from, to)) return 1;
    if (!DrawPosed(actor, &slots->models[player][*slot])) return 0;
    ++*slot;
    return 1;
}

// The copy of the body model at the character's level of detail, when it was made.
static DS3_model_tag* LodModel(actor_tag* actor)
{
    if (!actor->lodBuffer) return nullptr;
    const int lod = actor->lodNum >= 0 && actor->lodNum < kCharacterLodBufferBytes / kCharacterLodBytes ? actor->lodNum : 0;
    auto* model = reinterpret_cast<DS3_model_tag*>(actor->lodBuffer + lod * kCharacterLodBytes);
    return ModelSkeleton(model) ? model : nullptr;
}

// The transforms for the eye being drawn: each drawing pass clears the mark of computed
// transforms, so the character and its bones are posed again from this eye's view, and its side
// of the camera is taken from there.
static int PoseForThisPass(actor_tag* actor)
{
    if (actor->displayAttributes & kDisplayTransformed) return 1;
    if (!ComputeActorXform(actor)) return 0;
    actor->screenZ = actor->actorXform[3][2];
    if (!actor->animInfo.animation) return 1;
    actor->clipStatus = actor->screenZ <= 0.0f ? kClipBehindCamera : kClipInFront;
    if (actor->clipStatus == kClipInFront && ModelSkeleton(actor->actorModel)) return ComputeSkeletonXforms(actor);
    return 1;
}

int DrawCharacter(actor_tag* actor)
{
    if (!actor) return PrintError("DrawCharacter: no actor");
    if (actor->rosterIndex >= kMaxPlayers) return PrintError("DrawCharacter: no player %d", int(actor->rosterIndex));
    const int player = actor->rosterIndex;
    const PlayerDataTag& p = gPlayerInfo[player].playerData;
    if (DS3_model_tag* lod = LodModel(actor)) actor->actorModel = lod;
    // A bowler that cannot be posed (its animation is not loaded) is left out of this pass; the
    // actors after it are still drawn.
    if (!PoseForThisPass(actor)) {
        PrintErrorOnce("DrawCharacter: player %d's bowler cannot be posed", player);
        return 1;
    }

    if (GetCurrentActorAnimation(actor) < kAnimFirstWithoutBall && bowlingBall && !bowlingBall->visible) {
        if (!DrawCarriedBall(actor)) return 0;
        bowlingBall->Zlocation = kHeldBallZ;
        if (physics && physics->m_ballBody) {
            btRigidBody* body = physics->m_ballBody;
            btTransform t = body->getWorldTransform();
            t.setOrigin(btVector3(bowlingBall->Xlocation * kMetresPerUnit, kHeldBallZ * kMetresPerUnit,
                                  bowlingBall->Ylocation * kMetresPerUnit));
            body->setWorldTransform(t);
        }
    }

    RenderSetLights(&gActorLights[kActorCharacter]);
    int ok = 1;
    if (p.bodyMeshRSID > 0) ok = DrawGroupModels(actor, p.bodyMeshRSID, 0, NumResourcesInGroup(p.bodyMeshRSID));

    int slot = 0;
    ok = ok && DrawGarment(actor, player, &slot, p.shirtMeshRSID, p.shirtRSIDSrcTextureD, p.shirtRSIDDstTextureD);
    if (ok && p.hatMeshRSID > 0)
        ok = DrawGarment(actor, player, &slot, p.hatMeshRSID, p.hatRSIDSrcTextureD, p.hatRSIDDstTextureD);
    if (ok && p.hairMeshRSID > 0) {
        const int size = NumResourcesInGroup(p.hairMeshRSID);
        const int end = p.hairEnd < 0 || p.hairEnd > size ? size : p.hairEnd;
        ok = DrawGroupModels(actor, p.hairMeshRSID, p.hairStart, end);
    }
    ok = ok && DrawGarment(actor, player, &slot, p.legsMeshRSID, 0, 0);
    ok = ok && DrawGarment(actor, player, &slot, p.socksMeshRSID, 0, 0);
    ok = ok && DrawGarment(actor, player, &slot, p.pantsMeshRSID, p.pantsRSIDSrcTextureD, p.pantsRSIDDstTextureD);
    ok = ok && DrawGarment(actor, player, &slot, p.shoesMeshRSID, p.shoesRSIDSrcTextureD, p.shoesRSIDDstTextureD);
    ok = ok && DrawGarment(actor, player, &slot, p.glassesMeshRSID, p.glassesRSIDSrcTextureD, p.glassesRSIDDstTextureD);
    ok = ok && DrawGarment(actor, player, &slot, p.glovesMeshRSID, p.glovesRSIDSrcTextureD, p.glovesRSIDDstTextureD);
    slotsUsed[player] = slot;

    RenderSetAlphaLevel(255);
    RenderSetLights(&gGameLights);
    return ok;
}
