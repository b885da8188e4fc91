// Test mode's particle tools: marker actors of the edited definition's domains and control
// points. A marker is two actors of the pool: a handle drawn at the centre, whose handlers move
// and dispose the pair, and a shape sized like what it marks. The handle's collisionPair names
// its shape and the shape's names the handle, so that whichever is disposed first (test mode, or
// the pool's dispose-all at the end of a game) leaves the other without a dangling link, and the
// present flags in testOptions are cleared exactly when the handle goes.
#include "game/particletools.h"

#include <cmath>

#include "game/actors.h"
#include "game/particledefs.h"
#include "game/records.h"
#include "host/errorlog.h"
#include "lib/resourceids.h"
#include "lib/resourceload.h"
#include "shell/actordraw.h"

DS3_model_tag* particleCenterToolModel = nullptr;
DS3_model_tag* particleBoxToolModel = nullptr;
DS3_model_tag* particleSphereToolModel = nullptr;

// The handle is drawn at this scale on all axes: its arms reach 15 units (about half a foot).
static const float kHandleScale = 15.0f;

int LoadParticleToolModels()
{
    if (particleCenterToolModel && particleBoxToolModel && particleSphereToolModel) return 1;
    if (!LoadResourceRange1x1(kParticleToolTextures, kParticleSphereToolModel))
        return PrintError("particle tools: the marker models could not be loaded");
    particleCenterToolModel = static_cast<DS3_model_tag*>(GetResource(kParticleCenterToolModel));
    particleBoxToolModel = static_cast<DS3_model_tag*>(GetResource(kParticleBoxToolModel));
    particleSphereToolModel = static_cast<DS3_model_tag*>(GetResource(kParticleSphereToolModel));
    if (particleCenterToolModel && particleBoxToolModel && particleSphereToolModel) return 1;
    particleCenterToolModel = particleBoxToolModel = particleSphereToolModel = nullptr;
    return PrintError("particle tools: a marker model is missing from the game data");
}

int DisposeParticleToolModels()
{
    int ok = 1;
    TestOptions& t = testOptions;
    if (t.generatorCenterActorPresent && t.genCenterToolActor && !DisposeActor(t.genCenterToolActor)) ok = 0;
    if (t.containerCenterActorPresent && t.containerCenterToolActor && !DisposeActor(t.containerCenterToolActor)) ok = 0;
    for (int i = 0; i < kNumControlPoints; ++i)
        if (t.controlPointCenterActorPresent[i] && t.centerToolActor[i] && !DisposeActor(t.centerToolActor[i])) ok = 0;
    if (!ok) return PrintError("particle tools: a marker could not be disposed");
    const int loaded = particleCenterToolModel != nullptr;
    particleCenterToolModel = particleBoxToolModel = particleSphereToolModel = nullptr;
    if (loaded && !DisposeResourceRange(kParticleToolTextures, kParticleSphereToolModel))
        return PrintError("particle tools: the marker models stay loaded");
    return 1;
}

int ParticleToolPlacement(int domainType, const void* coordinates, float centre[3], float scale[3])
{
    if (!coordinates) return 0;
    switch (domainType) {
    case kDomainBox: {
        const auto* b = static_cast<const DOMAINBOXTAG*>(coordinates);
        // The marker stands at the box's true centre on every axis. A box runs from back up to
        // front, so stepping half its depth on from the front (as for a rectangle, which runs
        // from front to back) would put the marker outside the box, half a depth beyond it.
        centre[0] = (b->left + b->right) * 0.5f;
        centre[1] = (b->front + b->back) * 0.5f;
        centre[2] = (b->top + b->bottom) * 0.5f;
        scale[0] = std::fabs(b->left - b->right) * 0.5f;
        scale[1] = std::fabs(b->front - b->back) * 0.5f;
        scale[2] = std::fabs(b->top - b->bottom) * 0.5f;
        return 1;
    }
    case kDomainSphere: {
        const auto* s = static_cast<const DOMAINSPHERETAG*>(coordinates);
        centre[0] = s->centerX, centre[1] = s->centerY, centre[2] = s->centerZ;
        scale[0] = scale[1] = scale[2] = s->radius;
        return 1;
    }
    case kDomainCylinder: {
        const auto* c = static_cast<const DOMAINCYLINDERTAG*>(coordinates);
        centre[0] = c->baseX, centre[1] = c->baseY, centre[2] = c->baseZ + c->height * 0.5f;
        scale[0] = scale[1] = c->radius;
        scale[2] = c->height;
        return 1;
    }
    case kDomainRectangle: {
        const auto* r = static_cast<const DOMAINRECTTAG*>(coordinates);
        centre[0] = (r->left + r->right) * 0.5f;
        centre[1] = (r->front + r->back) * 0.5f;
        centre[2] = r->z;
        scale[0] = std::fabs(r->left - r->right) * 0.5f;
        scale[1] = std::fabs(r->front - r->back) * 0.5f;
        scale[2] = 1.0f;
        return 1;
    }
    default: return 0;
    }
}

// The shape's dispose handler: its handle no longer names it.
static int RemoveParticleToolShape(actor_tag* shape)
{
    actor_tag* handle = shape->collisionPair;
    if (handle && handle->collisionPair == shape) handle->collisionPair = nullptr;
    shape->collisionPair = nullptr;
    return 1;
}

// Both actors at the centre; the shape at its scale.
static void PlacePair(actor_tag* handle, const float centre[3], const float scale[3])
{
    actor_tag* shape = handle->collisionPair;
    for (actor_tag* a : {handle, shape}) {
        if (!a) continue;
        a->Xlocation = a->logicalX = centre[0];
        a->Ylocation = a->logicalY = centre[1];
        a->Zlocation = centre[2];
    }
    handle->Xscale = handle->Yscale = handle->Zscale = kHandleScale;
    if (shape) shape->Xscale = scale[0], shape->Yscale = scale[1], shape->Zscale = scale[2];
}

// A handle and its shape at the centre, linked both ways; null (and nothing left in the pool)
// when the pool cannot give two actors.
static actor_tag* AddPair(const float centre[3], const float scale[3], DS3_model_tag* shapeModel, int handleByte,
                          int shapeByte, actorFunc move, actorFunc remove)
{
    actor_tag* handle = nullptr;
    actor_tag* shape = nullptr;
    if (!AddActor(centre[0], centre[1], 0.0f, kActorParticleTool, &handle)) return nullptr;
    if (!AddActor(centre[0], centre[1], 0.0f, kActorParticleTool, &shape)) {
        DisposeActor(handle);
        return nullptr;
    }
    handle->actorModel = particleCenterToolModel;
    handle->actorDrawFunction = DrawActorModel;
    handle->userControl = u8(handleByte);
    shape->actorModel = shapeModel;
    shape->actorDrawFunction = DrawActorModel;
    // The see-through outline must not hide what is inside it from the actors drawn after it.
    shape->actorFlags |= kActorFlagNoZWrite;
    shape->actorDisposeFunction = RemoveParticleToolShape;
    shape->userControl = u8(shapeByte);
    handle->collisionPair = shape;
    shape->collisionPair = handle;
    PlacePair(handle, centre, scale);
    // The handlers last: disposing a half-made pair above must not touch testOptions.
    handle->motionHandler = move;
    handle->actorDisposeFunction = remove;
    return handle;
}

// The shape actor goes with its handle; its own handler then finds no link left.
static int DisposeShapeOf(actor_tag* handle)
{
    actor_tag* shape = handle->collisionPair;
    handle->collisionPair = nullptr;
    if (!shape) return 1;
    shape->collisionPair = nullptr;
    return DisposeActor(shape);
}

int AddParticleToolActor(int domainType, const void* coordinates, int generator)
{
    TestOptions& t = testOptions;
    int& present = generator ? t.generatorCenterActorPresent : t.containerCenterActorPresent;
    actor_tag*& slot = generator ? t.genCenterToolActor : t.containerCenterToolActor;
    if (present && slot) return 1;
    float centre[3], scale[3];
    if (!ParticleToolPlacement(domainType, coordinates, centre, scale))
        return PrintError("particle tools: no marker for a domain of type %d", domainType);
    if (!LoadParticleToolModels()) return 0;
    DS3_model_tag* model = domainType == kDomainSphere ? particleSphereToolModel : particleBoxToolModel;
    actor_tag* handle = AddPair(centre, scale, model, generator ? 1 : 0, domainType, MoveParticleToolActor,
                                RemoveParticleToolActor);
    if (!handle) return PrintError("particle tools: no actors left for a domain's marker");
    slot = handle;
    present = 1;
    return 1;
}

int MoveParticleToolActor(actor_tag* handle)
{
    const PARTICLESYSTEMINFOTAG* d = testOptions.particleSystemInfo;
    if (!handle || !d) return 0;
    const int type = handle->userControl ? d->genDomainType : d->contDomainType;
    const void* record = handle->userControl ? d->genDomain : d->contDomain;
    float centre[3], scale[3];
    if (!ParticleToolPlacement(type, record, centre, scale)) return 0;
    PlacePair(handle, centre, scale);
    return 1;
}

int RemoveParticleToolActor(actor_tag* handle)
{
    TestOptions& t = testOptions;
    if (handle->userControl) {
        t.generatorCenterActorPresent = 0;
        if (t.genCenterToolActor == handle) t.genCenterToolActor = nullptr;
    } else {
        t.containerCenterActorPresent = 0;
        if (t.containerCenterToolActor == handle) t.containerCenterToolActor = nullptr;
    }
    return DisposeShapeOf(handle);
}

// The centre and scale of control point i.
static void PointPlacement(const PARTICLECONTROLPOINTTAG& p, float centre[3], float scale[3])
{
    centre[0] = p.x, centre[1] = p.y, centre[2] = p.z;
    scale[0] = scale[1] = scale[2] = p.radius;
}

int AddParticleControlPointActor(int index)
{
    TestOptions& t = testOptions;
    if (index < 0 || index >= kNumControlPoints || !t.particleSystemInfo)
        return PrintError("particle tools: no control point %d to mark", index);
    if (t.controlPointCenterActorPresent[index] && t.centerToolActor[index]) return 1;
    if (!LoadParticleToolModels()) return 0;
    float centre[3], scale[3];
    PointPlacement(t.particleSystemInfo->controlPoints[index], centre, scale);
    actor_tag* handle = AddPair(centre, scale, particleSphereToolModel, index, kDomainSphere,
                                MoveParticleControlPointActor, RemoveParticleControlPointActor);
    if (!handle) return PrintError("particle tools: no actors left for control point %d", index + 1);
    t.centerToolActor[index] = handle;
    t.controlPointCenterActorPresent[index] = 1;
    return 1;
}

int MoveParticleControlPointActor(actor_tag* handle)
{
    const PARTICLESYSTEMINFOTAG* d = testOptions.particleSystemInfo;
    if (!handle || !d || handle->userControl >= kNumControlPoints) return 1;
    float centre[3], scale[3];
    PointPlacement(d->controlPoints[handle->userControl], centre, scale);
    PlacePair(handle, centre, scale);
    return 1;
}

int RemoveParticleControlPointActor(actor_tag* handle)
{
    const int i = handle->userControl;
    if (i < kNumControlPoints) {
        testOptions.controlPointCenterActorPresent[i] = 0;
        if (testOptions.centerToolActor[i] == handle) testOptions.centerToolActor[i] = nullptr;
    }
    return DisposeShapeOf(handle);
}
