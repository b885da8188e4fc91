// The 3D skeleton (character) widget: loads its bowler lazily in its render (the body group's
// first member as the actor's model, the body animation looping on the actor), poses it each
// update (by the actor's own animation, or by a rig of bone widgets playing a second animation),
// and draws the body group, the garments and the hair with their own specular colours. Every
// garment is drawn from a private copy of its model so that texture swaps stay in this widget.
#include "ui/widgets/skeleton3d.h"

#include <cstring>
#include <set>
#include <string>

#include "game/animation.h"
#include "lib/printing.h"
#include "lib/resourceids.h"
#include "lib/resources.h"
#include "platform/camera.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "platform/shaders.h"
#include "platform/skeleton.h"
#include "ui/widgets/rig3d.h"
#include "ui/widgets/scene3d.h"
#include "ui/widgets/transform3d.h"
#include "ui/widgets/widgetrecord.h"
#include "ui/widgettypes.h"

static sBasicUiWidgetType3DSkeleton* Record(sBasicUiWidget* w)
{
    return BasicUiWidget_Record<sBasicUiWidgetType3DSkeleton>(w, EBasicUiWidgetType3DSkeleton);
}

static void PartDefaults(sBasicUiSkeletonPart* p)
{
    p->id = p->offset = BasicUiValueINT_Make(-1);
    p->srcTexID = p->srcTexOffset = p->dstTexID = p->dstTexOffset = BasicUiValueINT_Make(-1);
    p->r = p->g = p->b = 0.02f;
    p->shineFactor = 15.0f;
}

sBasicUiWidgetTypeRef BasicUiWidgetType3DSkeleton_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetType3DSkeleton* r = nullptr;
    sBasicUiWidgetTypeRef ref = BasicUiWidget_CreateRecord(env, EBasicUiWidgetType3DSkeleton, &r);
    if (!r) return ref;
    r->rigDebug = r->hFlip = BasicUiValueBOOL_Make(0);
    r->refresh = BasicUiValueBOOL_Make(1);
    r->ikAnimID = r->bodyID = r->animID = BasicUiValueINT_Make(-1);
    r->internalBodyID = r->internalAnimID = -1;
    r->bodyR = r->bodyG = r->bodyB = r->hairR = r->hairG = r->hairB = 0.02f;
    r->bodyShineFactor = r->hairShineFactor = 15.0f;
    r->hairID = r->hairOffset = BasicUiValueINT_Make(-1);
    r->hairStart = r->hatStart = BasicUiValueINT_Make(0);
    r->hairEnd = r->hatEnd = BasicUiValueINT_Make(-1);
    for (sBasicUiSkeletonPart* p : {&r->shoes, &r->pants, &r->shirt, &r->glasses, &r->hat, &r->glove, &r->item})
        PartDefaults(p);
    r->socksOffset = r->legsOffset = r->itemOffsetL = BasicUiValueINT_Make(-1);
    return ref;
}

// The tracker keeps the name's pointer: the composed garment names live as long as the program.
static const char* Name(const std::string& name)
{
    static std::set<std::string> names;
    return names.insert(name).first->c_str();
}

static void AddInt(sBasicUiPropertyTracker* t, const std::string& name, sBasicUiValueINT* v)
{
    BasicUiPropertyTracker_Add(t, Name(name), eBasicUiPropertyTypeINT, v, 1, 1);
}
static void AddFloat(sBasicUiPropertyTracker* t, const std::string& name, float* v)
{
    BasicUiPropertyTracker_Add(t, Name(name), eBasicUiPropertyTypeFLT, v, 1, 0);
}

static void AddTextures(sBasicUiPropertyTracker* t, const std::string& n, sBasicUiSkeletonPart* p)
{
    AddInt(t, n + "SrcTexID", &p->srcTexID);
    AddInt(t, n + "SrcTexOffset", &p->srcTexOffset);
    AddInt(t, n + "DstTexID", &p->dstTexID);
    AddInt(t, n + "DstTexOffset", &p->dstTexOffset);
}

static void AddColours(sBasicUiPropertyTracker* t, const std::string& n, float* r, float* g, float* b, float* shine)
{
    AddFloat(t, n + "R", r);
    AddFloat(t, n + "G", g);
    AddFloat(t, n + "B", b);
    AddFloat(t, n + "ShineFactor", shine);
}

static void AddPart(sBasicUiPropertyTracker* t, const std::string& n, sBasicUiSkeletonPart* p)
{
    AddInt(t, n + "ID", &p->id);
    AddInt(t, n + "Offset", &p->offset);
    AddTextures(t, n, p);
    AddColours(t, n, &p->r, &p->g, &p->b, &p->shineFactor);
}

int BasicUiWidgetType3DSkeleton_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* t)
{
    sBasicUiWidgetType3DSkeleton* r = Record(w);
    if (!r || !t) return 0;
    BasicUiPropertyTracker_Add(t, "rigDebug", eBasicUiPropertyTypeBOOL, &r->rigDebug, 1, 1);
    BasicUiPropertyTracker_Add(t, "rig", eBasicUiPropertyTypeWidgetREF, &r->rig, 1, 0);
    BasicUiPropertyTracker_Add(t, "refresh", eBasicUiPropertyTypeBOOL, &r->refresh, 1, 1);
    BasicUiPropertyTracker_Add(t, "hFlip", eBasicUiPropertyTypeBOOL, &r->hFlip, 1, 1);
    AddInt(t, "bodyID", &r->bodyID);
    AddColours(t, "body", &r->bodyR, &r->bodyG, &r->bodyB, &r->bodyShineFactor);
    AddInt(t, "hairID", &r->hairID);
    AddInt(t, "hairOffset", &r->hairOffset);
    AddColours(t, "hair", &r->hairR, &r->hairG, &r->hairB, &r->hairShineFactor);
    AddInt(t, "hairStart", &r->hairStart);
    AddInt(t, "hairEnd", &r->hairEnd);
    AddPart(t, "shoes", &r->shoes);
    AddInt(t, "pantsID", &r->pants.id);
    AddInt(t, "socksOffset", &r->socksOffset);
    AddInt(t, "legsOffset", &r->legsOffset);
    AddInt(t, "pantsOffset", &r->pants.offset);
    AddTextures(t, "pants", &r->pants);
    AddColours(t, "pants", &r->pants.r, &r->pants.g, &r->pants.b, &r->pants.shineFactor);
    AddPart(t, "shirt", &r->shirt);
    AddPart(t, "glasses", &r->glasses);
    AddPart(t, "hat", &r->hat);
    AddInt(t, "hatStart", &r->hatStart);
    AddInt(t, "hatEnd", &r->hatEnd);
    AddPart(t, "glove", &r->glove);
    AddInt(t, "itemID", &r->item.id);
    AddInt(t, "itemOffsetL", &r->itemOffsetL);
    AddInt(t, "itemOffsetR", &r->item.offset);
    AddTextures(t, "item", &r->item);
    AddColours(t, "item", &r->item.r, &r->item.g, &r->item.b, &r->item.shineFactor);
    AddInt(t, "ikAnimID", &r->ikAnimID);
    AddInt(t, "animID", &r->animID);
    return 1;
}

int BasicUiWidgetType3DSkeleton_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }

int BasicUiWidgetType3DSkeleton_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    sBasicUiWidgetType3DSkeleton* r = Record(w);
    if (!r) return 0;
    // The skinned drawing keeps the last posed actor; it must not outlive the record.
    if (skeletalActor == &r->body) skeletalActor = nullptr;
    return BasicUiWidget_FreeRecord(env, w);
}

// ---- Model copies and their textures ----

// A member's resource number is its group's shifted up 16 bits plus its place in the group: a
// group above 0x7fff or a place above 0xffff names no resource (and the sum would overflow).
static bool IsGroupMember(int group, int member)
{
    return group >= 1 && group <= 0x7fff && member >= 0 && member <= 0xffff;
}

DS3_model_tag* BasicUi_GetModel(int group, int member, DS3_model_tag* modelCopy, HLSL_material* materialCopy,
                                int maxMaterials)
{
    if (!IsGroupMember(group, member) || !modelCopy || !materialCopy) return nullptr;
    const int id = (group << 16) + member;
    void* handle = nullptr;
    if (!GetResourceHandle(id, &handle) || !handle || ResourceType(id) != kResourceTypeModel) return nullptr;
    const auto* source = static_cast<const DS3_model_tag*>(handle);
    if (source->numMaterials > uint32_t(maxMaterials)) return nullptr;
    std::memcpy(modelCopy, source, sizeof *modelCopy);
    if (source->numMaterials)
        std::memcpy(materialCopy, source->materialList.get(), source->numMaterials * sizeof(HLSL_material));
    modelCopy->materialList = materialCopy;
    return modelCopy;
}

static DS3_bitmap_tag* LoadedBitmap(int id)
{
    void* handle = nullptr;
    if (id < 1 || !GetResourceHandle(id, &handle) || ResourceType(id) != kResourceTypeBitmap) return nullptr;
    return static_cast<DS3_bitmap_tag*>(handle);
}

// Binds each material's colour and normal textures, the colour texture src replaced by dst when
// dst is given; 0 (with a message) at the first texture that is not loaded.
static int BindTextures(DS3_model_tag* model, int src, DS3_bitmap_tag* dst)
{
    HLSL_material* materials = model->materialList.get();
    for (uint32_t i = 0; i < model->numMaterials; ++i) {
        HLSL_material& m = materials[i];
        const int diffuseId = int(m.materialRSID);
        DS3_bitmap_tag* diffuse = LoadedBitmap(diffuseId);
        if (!diffuse) return PrintErrorOnce("Missing Diffuse Texture %i %i", diffuseId >> 16, diffuseId & 0xFFFF);
        m.materialBitmap = dst && diffuseId == src ? dst : diffuse;
        if (m.normalMapRSID) {
            const int normalId = int(m.normalMapRSID);
            DS3_bitmap_tag* normal = LoadedBitmap(normalId);
            if (!normal) return PrintErrorOnce("Missing Normal Texture %i %i", normalId >> 16, normalId & 0xFFFF);
            m.normalMap = normal;
        }
    }
    return 1;
}

int BasicUi_SwapTexture(DS3_model_tag* model, int srcGroup, int srcMember, int dstGroup, int dstMember)
{
    if (!model || !IsGroupMember(srcGroup, srcMember) || !IsGroupMember(dstGroup, dstMember)) return 0;
    const int src = (srcGroup << 16) + srcMember, dst = (dstGroup << 16) + dstMember;
    if (!LoadedBitmap(src)) return PrintErrorOnce("Missing Texture %i %i", srcGroup, srcMember);
    DS3_bitmap_tag* replacement = LoadedBitmap(dst);
    if (!replacement) return PrintErrorOnce("Missing Texture %i %i", dstGroup, dstMember);
    return BindTextures(model, src, replacement);
}

// ---- Update ----

// The body model the actor carries is still the resident member 0 of its group: a group released
// (and perhaps read again elsewhere in memory) since the character loaded it is loaded again, so
// that no frame poses or draws a freed model.
static int BodyStillResident(const sBasicUiWidgetType3DSkeleton* r)
{
    void* handle = nullptr;
    return ResourceLoaded(r->internalBodyID) && GetResourceHandle(r->internalBodyID << 16, &handle) &&
           handle == r->body.actorModel;
}

static int IsLoaded(const sBasicUiWidgetType3DSkeleton* r)
{
    return r->internalAnimID == r->animID.value && r->internalAnimID > 0 && r->internalBodyID == r->bodyID.value &&
           r->internalBodyID > 0 && !r->refresh.value && BodyStillResident(r);
}

int BasicUiWidgetType3DSkeleton_Update(sBasicUiWidget* w, float dt)
{
    sBasicUiWidgetType3DSkeleton* r = Record(w);
    if (!r || !IsLoaded(r)) return 1;
    actor_tag* actor = &r->body;
    if (actor->tweenHandler) actor->tweenHandler(actor);
    if (!actor->tweenHandler && actor->animationHandler) actor->animationHandler(actor);
    if (r->rig) {
        r->frame += 30.0f * dt;
        BasicUiWidgetType3DRig_SetTranslationScale(r->rig, 1.0f);
        BasicUiWidgetType3DRig_Animate(r->rig, r->ikAnimID.value, &r->frame, r->hFlip.value, nullptr, 0);
        BasicUiWidgetType3DRig_SetParentGlobalTransform(r->rig, BasicUiWidgetType3DPRS_GetParentGlobalTransform(w));
        BasicUiWidgetType3DRig_IKMapper(r->rig, r->hFlip.value, r->rigDebug.value ? 0 : 1);
        BasicUiWidgetType3DRig_SetActorBones(r->rig, actor);
        return 1;
    }
    if (ComputeSkeletonTranslation(actor)) ComputeSkeletonXforms(actor);
    return 1;
}

// ---- Render ----

// Loads the body and the animation; 1 when the character is ready to draw from the next frame.
static void Load(sBasicUiWidget* w, sBasicUiWidgetType3DSkeleton* r)
{
    const int bodyId = r->bodyID.value, animId = r->animID.value;
    if (bodyId <= 0 || animId <= 0) return;
    if (!IsGroupMember(bodyId, 0)) {
        r->internalBodyID = -1;
        BasicUiWidget_ReportMissing(w, &r->reported, "body group", std::to_string(bodyId).c_str());
        return;
    }
    actor_tag* actor = &r->body;
    std::memset(actor, 0, sizeof *actor);
    actor->translationScaleFactor = {1.0f, 1.0f, 1.0f, 1.0f};
    const int model = bodyId << 16;
    void* handle = nullptr;
    if (!ResourceLoaded(bodyId) || ResourceType(bodyId) != kResourceTypeGroup || !GetResourceHandle(model, &handle) ||
        !handle) {
        r->internalBodyID = -1;
        BasicUiWidget_ReportMissing(w, &r->reported, "body group", std::to_string(bodyId).c_str());
        return;
    }
    actor->actorModel = static_cast<DS3_model_tag*>(handle);
    r->internalBodyID = bodyId;
    if (!GetAnimation(animId)) {
        r->internalAnimID = -1;
        BasicUiWidget_ReportMissing(w, &r->reported, "animation", std::to_string(animId).c_str());
        return;
    }
    actor->animationHandler = ForwardLoopHandler;
    actor->tweenHandler = nullptr;
    actor->animInfo.animation = animId;
    actor->animInfo.animationFrame = 0.0f;
    actor->animInfo.animationFrameRatio = 1.0f;
    ResetAnimationTranslations(actor);
    actor->animationHandler(actor);
    r->refresh.value = 0;
    r->internalAnimID = animId;
}

static int DrawCopy(DS3_model_tag* model, float r, float g, float b, float shine)
{
    BasicUiWidgetType3DLight_SetShineFactor(r, g, b, shine);
    return DrawSkeleton(model);
}

// The models of a group's member range, each copied with its textures bound; the number drawn.
static int DrawGroup(int group, int first, int end, DS3_model_tag* models, HLSL_material (*materials)[6], int slots,
                     float r, float g, float b, float shine)
{
    if (group < 1 || !ResourceLoaded(group)) return 0;
    const int members = NumResourcesInGroup(group);
    if (first < 0) first = 0;
    if (end < 0 || end > members) end = members;
    int drawn = 0;
    for (int i = first; i < end && i - first < slots; ++i) {
        const int slot = i - first;
        DS3_model_tag* m = BasicUi_GetModel(group, i, &models[slot], materials[slot], kBasicUiSkeletonMaterials);
        if (m && BindTextures(m, 0, nullptr)) {
            DrawCopy(m, r, g, b, shine);
            drawn++;
        }
    }
    return drawn;
}

// A garment into its rest slot; swapped garments are drawn only when the swap succeeds.
static void DrawPart(sBasicUiWidgetType3DSkeleton* r, int slot, int group, int member, const sBasicUiSkeletonPart* p,
                     int swap, float cr, float cg, float cb, float shine)
{
    DS3_model_tag* m =
        BasicUi_GetModel(group, member, &r->modelRest[slot], r->materialRest[slot], kBasicUiSkeletonMaterials);
    if (!m) return;
    if (swap && !BasicUi_SwapTexture(m, p->srcTexID.value, p->srcTexOffset.value, p->dstTexID.value,
                                     p->dstTexOffset.value))
        return;
    if (!swap && !BindTextures(m, 0, nullptr)) return;
    DrawCopy(m, cr, cg, cb, shine);
    r->partsDrawn |= 1u << slot;
}

static void DrawSwapped(sBasicUiWidgetType3DSkeleton* r, int slot, const sBasicUiSkeletonPart* p, int member)
{
    DrawPart(r, slot, p->id.value, member, p, 1, p->r, p->g, p->b, p->shineFactor);
}

int BasicUiWidgetType3DSkeleton_Render(sBasicUiWidget* w)
{
    sBasicUiWidgetType3DSkeleton* r = Record(w);
    if (!r || !RenderIsDisplay0()) return 1;
    if (!IsLoaded(r)) {
        Load(w, r);
        return 1;
    }
    actor_tag* actor = &r->body;
    RenderSetColorModulation(127, 127, 127);
    RenderSetAlphaLevel(255);
    matrix place, draw;
    if (!r->rig) {
        if (r->hFlip.value) actor->displayAttributes |= kDisplayMirrored;
        else actor->displayAttributes &= ~uint32_t(kDisplayMirrored);
        setTranslationMatrix(place, actor->modelTranslation.x, actor->modelTranslation.y, actor->modelTranslation.z);
        composeMatrix(BasicUiWidgetType3DPRS_GetParentGlobalTransform(w), place, place);
        composeMatrix(shaderViewXform, place, draw);
    } else {
        // The rig's bone matrices already carry the placement; they are drawn from the view alone.
        setIdentityMatrix(place);
        composeMatrix(shaderViewXform, place, draw);
    }
    SetActorSkeletalXforms(actor, place);
    SetXform(draw);
    r->partsDrawn = 0;
    r->bodyModelsDrawn = r->hairModelsDrawn = 0;
    if (r->rigDebug.value) {
        if (!r->rig) return 1;
        BasicUiWidgetType3DRig_RenderBones(r->rig);
    } else {
        r->bodyModelsDrawn = DrawGroup(r->bodyID.value, 0, kBasicUiSkeletonBodyModels, r->modelBody, r->materialBody,
                                       kBasicUiSkeletonBodyModels, r->bodyR, r->bodyG, r->bodyB, r->bodyShineFactor);
        DrawSwapped(r, kSkeletonShirt, &r->shirt, r->shirt.offset.value);
        const sBasicUiSkeletonPart& p = r->pants;
        DrawPart(r, kSkeletonSocks, p.id.value, r->socksOffset.value, &p, 0, p.r, p.g, p.b, p.shineFactor);
        DrawPart(r, kSkeletonLegs, p.id.value, r->legsOffset.value, &p, 0, r->bodyR, r->bodyG, r->bodyB,
                 r->bodyShineFactor);
        DrawSwapped(r, kSkeletonPants, &p, p.offset.value);
        DrawSwapped(r, kSkeletonShoes, &r->shoes, r->shoes.offset.value);
        DrawSwapped(r, kSkeletonGlasses, &r->glasses, r->glasses.offset.value);
        DrawSwapped(r, kSkeletonHat, &r->hat, r->hat.offset.value);
        DrawSwapped(r, kSkeletonGlove, &r->glove, r->glove.offset.value);
        DrawSwapped(r, kSkeletonItem, &r->item, r->hFlip.value ? r->itemOffsetL.value : r->item.offset.value);
        const int hatOn = r->hat.offset.value >= 0;
        int start = hatOn ? r->hatStart.value : r->hairStart.value;
        int end = hatOn ? r->hatEnd.value : r->hairEnd.value;
        // Under a hat an open range draws no hair; without one it draws every member.
        if (hatOn && end < 0) end = 0;
        if (!hatOn && end < 0) start = 0;
        r->hairModelsDrawn = DrawGroup(r->hairID.value, start, end, r->modelHair, r->materialHair,
                                       kBasicUiSkeletonHairModels, r->hairR, r->hairG, r->hairB, r->hairShineFactor);
    }
    if (r->rig) {
        matrix identity;
        setIdentityMatrix(identity);
        BasicUiWidgetType3DRig_SetParentGlobalTransform(r->rig, identity);
    }
    return 1;
}
