// The alleys' animated props: loading their group with the alley, placing them as actors and
// restarting their animations at random.
#include "game/envobjects.h"

#include <cmath>
#include <cstdint>

#include "game/actors.h"
#include "game/records.h"
#include "lib/objectanim.h"
#include "lib/printing.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "platform/frame.h"
#include "platform/model.h"
#include "platform/render.h"
#include "shell/settings.h"

const int areaEnvAnimationRSID[kNumAreaTableEntries] = {107, 209, 309, 409, 509, 609};

int numEnvAnimations = 0;
DS3_model_tag* envSpecificModel[kMaxEnvKinds];
int envAnimationRSID[kMaxEnvKinds];
actor_tag* envActor[kMaxEnvActors];

static int loadedGroup = 0;  // the prop group loaded, 0 for none

// Objects are drawn at 24 units per model foot, always facing back up the lane, and never culled
// by their extents.
static const float kEnvScale = 24.0f;
static const float kEnvHeading = 180.0f;
static const float kEnvExtents = 17500.0f;
// Start frames are drawn from 0, 20, ... 200.
static const int kStartFrameStep = 20;
static const int kStartFrameSteps = 10;
// Objects play at this share of their animation's own rate.
static const float kEnvPlaybackRate = 0.7f;

// ---- The prop group ----

// A resource some archive of the game data holds.
static int InGameData(int id)
{
    resourceHeader* r = nullptr;
    return GetResourceHeader(id, &r) && r->resourceFile && (r->resourceType != 0 || r->resourceLength > 0);
}

static void ClearKinds()
{
    numEnvAnimations = 0;
    for (int k = 0; k < kMaxEnvKinds; ++k) {
        envSpecificModel[k] = nullptr;
        envAnimationRSID[k] = 0;
    }
}

int LoadEnvSpecificObjects()
{
    // Whatever an earlier load left goes first, objects and all, rather than staying loaded.
    if (loadedGroup && !DisposeEnvSpecificObjects()) return 0;
    ClearKinds();
    const int group = areaNum >= 0 && areaNum < kNumAreaTableEntries ? areaEnvAnimationRSID[areaNum] : 0;
    if (group == 0 || !InGameData(group)) return 1;
    if (!LoadResourceGroup(group)) return PrintError("alley objects: the objects of alley %d (group %d) cannot be loaded", areaNum, group);
    loadedGroup = group;

    int kinds = NumResourcesInGroup(group) / 2;
    if (kinds > kMaxEnvKinds) {
        PrintError("alley objects: alley %d has %d kinds of objects; the first %d are used", areaNum, kinds, kMaxEnvKinds);
        kinds = kMaxEnvKinds;
    }
    if (kinds < 0) kinds = 0;
    numEnvAnimations = kinds;
    for (int k = 0; k < kinds; ++k) {
        const int model = (group << 16) | (2 * k);
        envAnimationRSID[k] = (group << 16) | (2 * k + 1);
        // Anything but a model in a model's place is left out rather than drawn as one.
        void* handle = nullptr;
        if (ResourceType(model) == kResourceTypeModel && GetResourceHandle(model, &handle))
            envSpecificModel[k] = static_cast<DS3_model_tag*>(handle);
        else
            PrintError("alley objects: object kind %d of group %d has no model", k, group);
    }
    return 1;
}

// ---- The objects ----

// An object slot whose actor is still in use. A slot may outlive its pool (the game's tear-down
// frees the pool), so the actor is looked for on the actor list before it is touched.
static int EnvActorInUse(const actor_tag* actor)
{
    if (!actor) return 0;
    for (const actor_tag* a = actorList; a; a = a->nextActor)
        if (a == actor) return a->actorType == kActorEnvironment && a->actorDrawFunction == DrawEnvActor;
    return 0;
}

// Disposes the object in slot i, if any; the slot is empty afterwards either way.
static int DisposeEnvSlot(int i)
{
    actor_tag* a = envActor[i];
    envActor[i] = nullptr;
    if (!EnvActorInUse(a)) return 1;
    return DisposeActor(a);
}

int DisposeEnvSpecificObjects()
{
    int ok = 1;
    for (int i = 0; i < kMaxEnvActors; ++i)
        if (!DisposeEnvSlot(i)) ok = PrintError("alley objects: the object in slot %d could not be disposed", i);
    if (loadedGroup) {
        if (ResourceLoaded(loadedGroup) && !UnloadResourceGroup(loadedGroup))
            ok = PrintError("alley objects: the object group %d stays loaded", loadedGroup);
        loadedGroup = 0;
    }
    ClearKinds();
    return ok;
}

// The object animation of kind `kind`, or null when it is missing.
static DI_objectAnimation_tag* KindAnimation(int kind)
{
    if (kind < 0 || kind >= numEnvAnimations || kind >= kMaxEnvKinds) return nullptr;
    const int rsid = envAnimationRSID[kind];
    if (rsid == 0 || ResourceType(rsid) != kResourceTypeObjectAnimation) return nullptr;
    return static_cast<DI_objectAnimation_tag*>(ResourceHandle(rsid));
}

// One step of the object's animation. At the end of a run the frame goes back to 0 and, in every
// alley but the first, the object takes a random animation and, drawn separately, a random model.
static void StepEnvActor(actor_tag* actor, const DI_objectAnimation_tag* anim)
{
    float& frame = actor->animInfo.animationFrame;
    frame += anim->rateRatio * updateRatio * kEnvPlaybackRate;
    // A frame that is no number, or past the run, restarts it.
    if (std::isfinite(frame) && std::trunc(frame) <= float(anim->numFrames - 2)) return;
    frame = 0.0f;
    if (areaNum != 0 && numEnvAnimations > 0) {
        actor->animInfo.animationOffset = GetRandomInt(0, numEnvAnimations - 1);
        actor->actorModel = envSpecificModel[GetRandomInt(0, numEnvAnimations - 1)];
    }
}

int AddEnvActor(float x, float, int, int index, actor_tag** out)
{
    DI_objectAnimation_tag* anim = KindAnimation(index);
    if (!anim) return PrintError("AddEnvActor: there is no object kind %d", index);
    actor_tag* a = nullptr;
    if (!AddActor(0.0f, 0.0f, 0.0f, kActorEnvironment, &a)) return PrintError("AddEnvActor: no actor left for an object");
    a->actorModel = envSpecificModel[index];
    a->actorDrawFunction = DrawEnvActor;
    a->Xlocation = a->logicalX = x;
    a->Ylocation = a->logicalY = 0.0f;
    a->Zlocation = 0.0f;
    a->Xextents = a->Yextents = a->Zextents = kEnvExtents;
    a->Xscale = a->Yscale = a->Zscale = kEnvScale;
    a->visible = 1;
    a->heading = kEnvHeading;
    a->animInfo.animationOffset = index;
    a->animInfo.animationFrame = float(kStartFrameStep * GetRandomInt(0, kStartFrameSteps));
    StepEnvActor(a, anim);
    if (out) *out = a;
    return 1;
}

// X of slot i of the table of alley `area` and whether the slot holds an object there.
static int SlotX(int area, int i, float* x)
{
    auto lane = [&](int centre, float shift) { *x = float(i - centre) * kEnvLaneSpacing + shift; };
    switch (area) {
    case 1:
        if (i > 14 || (i >= 5 && i <= 7)) return 0;
        lane(6, 0.0f);
        return 1;
    case 2:
        if (i > 10 || (i >= 1 && i <= 3)) return 0;
        lane(2, 0.0f);
        return 1;
    case 3:
        if (i > 5 || (i >= 1 && i <= 3)) return 0;
        lane(2, 0.0f);
        return 1;
    case 4:
        if (i > 9 || (i >= 5 && i <= 7)) return 0;
        lane(6, 0.0f);
        return 1;
    case 5:
        // Three rows across the far lanes, the outer two shifted off the lane centres.
        if (i >= 1 && i <= 5) lane(9, -41.0f);
        else if (i == 6 || i == 7 || i == 11) lane(9, 0.0f);
        else if (i >= 12 && i <= 15) lane(9, 41.0f);
        else return 0;
        return 1;
    default:
        return 0;
    }
}

int AddEnvObject(float x, float, int kind)
{
    if (kind != 0 || numEnvAnimations <= 0) return 1;
    for (int i = 0; i < kMaxEnvActors; ++i) {
        float at = 0.0f;
        int which = 0;
        if (areaNum == 0) {
            // The first alley shows each kind once, where it was asked for.
            if (i >= numEnvAnimations) continue;
            at = x;
            which = i;
        } else {
            if (!SlotX(areaNum, i, &at)) continue;
            which = GetRandomInt(0, numEnvAnimations - 1);
        }
        // Placing again replaces the slot's object rather than losing it in the pool.
        if (!DisposeEnvSlot(i)) return PrintError("AddEnvObject: the object in slot %d could not be replaced", i);
        if (!AddEnvActor(at, 0.0f, kActorEnvironment, which, &envActor[i])) return 0;
    }
    return 1;
}

// The step runs in the first upper-screen pass of each drawn frame, before that pass draws, so
// that both eyes show the same pose and the objects keep their speed in stereo.
static int FirstPassOfFrame()
{
    static int stampTicks = -1;
    static uint32_t stampDisplay = 0;
    if (frameTicks != stampTicks) {
        stampTicks = frameTicks;
        stampDisplay = displayID;
    }
    return displayID == stampDisplay;
}

int DrawEnvActor(actor_tag* actor)
{
    if (!actor) return 0;
    actor->heading = kEnvHeading;
    DI_objectAnimation_tag* anim = KindAnimation(actor->animInfo.animationOffset);
    if (!anim) return PrintError("DrawEnvActor: object kind %d has no animation", int(actor->animInfo.animationOffset));
    const int step = FirstPassOfFrame() && !gGamePaused;
    if (step) {
        StepEnvActor(actor, anim);
        // A new run may have brought another animation.
        anim = KindAnimation(actor->animInfo.animationOffset);
        if (!anim) return 0;
    }
    return DrawActorObjectAnimation(actor, anim, actor->animInfo.animationFrame);
}
