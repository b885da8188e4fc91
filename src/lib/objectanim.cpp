// Relocating and checking object animation and level resources once loaded, and evaluating an
// animation's keyframes for a model's nodes.
#include "lib/objectanim.h"

#include <cmath>

#include "lib/printing.h"
#include "platform/model.h"
#include "platform/shaders.h"
#include "platform/skeleton.h"

static constexpr int kAnimationHeaderSize = int(sizeof(DI_objectAnimation_tag));
static constexpr int kLevelHeaderSize = int(sizeof(DI_level_tag));
static constexpr int kObjectHeaderSize = int(sizeof(DI_object_tag));

// Bytes left between the cursor and end; none when the cursor is already past it.
static uint64_t Remaining(const uint8_t* cursor, const uint8_t* end)
{
    return cursor < end ? uint64_t(end - cursor) : 0;
}

static int InitializeBlock(uint8_t** cursor, const uint8_t* end, int depth)
{
    if (depth > kMaxObjectAnimationDepth)
        return PrintError("object animation: an object animation nests deeper than %d nodes", kMaxObjectAnimationDepth);
    if (Remaining(*cursor, end) < uint64_t(kAnimationHeaderSize))
        return PrintError("object animation: an object animation node lies past the end of its resource");
    auto* a = reinterpret_cast<DI_objectAnimation_tag*>(*cursor);
    if (a->numFrames < 0 || a->numChildren < 0)
        return PrintError("object animation: an object animation node has %d keyframes and %d children", int(a->numFrames),
                          int(a->numChildren));
    uint8_t* p = *cursor + kAnimationHeaderSize;
    // Counted in 64 bits so that no count wraps round into the image.
    const uint64_t tables = uint64_t(a->numFrames) * sizeof(DI_objectFrame) +
                            uint64_t(a->numChildren) * sizeof(Ptr32<DI_objectAnimation_tag>);
    if (tables > Remaining(p, end))
        return PrintError("object animation: an object animation node's %d keyframes and %d children do not fit its resource",
                          int(a->numFrames), int(a->numChildren));

    a->frames = reinterpret_cast<DI_objectFrame*>(p);
    p += uint64_t(a->numFrames) * sizeof(DI_objectFrame);
    if (a->numChildren > 0) {
        auto* list = reinterpret_cast<Ptr32<DI_objectAnimation_tag>*>(p);
        a->childList = list;
        p += uint64_t(a->numChildren) * sizeof(Ptr32<DI_objectAnimation_tag>);
        for (int i = 0; i < a->numChildren; ++i) {
            list[i] = reinterpret_cast<DI_objectAnimation_tag*>(p);
            if (!InitializeBlock(&p, end, depth + 1)) return 0;
        }
    }
    *cursor = p;
    return 1;
}

int InitializeObjectAnimationBuffer(uint8_t** cursor, const uint8_t* end)
{
    if (!cursor || !*cursor || !end) return 0;
    return InitializeBlock(cursor, end, 1);
}

int InitializeObjectAnimation(DI_objectAnimation_tag* a, int32_t length)
{
    if (!a || length < 0) return 0;
    auto* cursor = reinterpret_cast<uint8_t*>(a);
    return InitializeBlock(&cursor, cursor + length, 1);
}

int DI_InitializeLevel(DI_level_tag* level, int32_t length)
{
    if (!level || length < kLevelHeaderSize)
        return PrintError("object animation: a level of %d bytes is shorter than its header", int(length));
    auto* base = reinterpret_cast<uint8_t*>(level);
    const uint8_t* end = base + length;
    if (level->numObjects < 0) return PrintError("object animation: a level has %d objects", int(level->numObjects));
    uint8_t* p = base + kLevelHeaderSize;
    const uint64_t listBytes = uint64_t(level->numObjects) * sizeof(Ptr32<DI_object_tag>);
    if (listBytes > Remaining(p, end))
        return PrintError("object animation: a level's %d objects do not fit its %d bytes", int(level->numObjects), int(length));

    auto* list = reinterpret_cast<Ptr32<DI_object_tag>*>(p);
    level->objectList = list;
    p += listBytes;
    for (int i = 0; i < level->numObjects; ++i) {
        if (Remaining(p, end) < uint64_t(kObjectHeaderSize))
            return PrintError("object animation: object %d of a level lies past the end of its resource", i);
        auto* object = reinterpret_cast<DI_object_tag*>(p);
        if (object->numInstances < 0)
            return PrintError("object animation: object %d of a level has %d instances", i, int(object->numInstances));
        const uint64_t instanceBytes = uint64_t(object->numInstances) * sizeof(DI_instance_tag);
        if (instanceBytes > Remaining(p + kObjectHeaderSize, end))
            return PrintError("object animation: the %d instances of object %d of a level do not fit its resource",
                              int(object->numInstances), i);
        list[i] = object;
        object->instances = reinterpret_cast<DI_instance_tag*>(p + kObjectHeaderSize);
        p += kObjectHeaderSize + instanceBytes;
    }
    return 1;
}

// Takes a time round a track of n keyframes into [0, n).
static float WrapFrame(float t, int n)
{
    if (!std::isfinite(t)) return 0.0f;
    float w = std::fmod(t, float(n));
    if (w < 0.0f) w += float(n);
    // Adding n to a tiny negative remainder can round up to n itself.
    if (!(w < float(n))) w = 0.0f;
    return w;
}

int ComputeObjectFrameXform(DI_objectFrame* f, HLSL_point* pivot, matrix out)
{
    if (!f || !pivot) return 0;
    matrix m, step;
    setTranslationMatrix(m, -pivot->x, -pivot->y, -pivot->z);
    setScaleMatrix(step, f->scale.x, f->scale.y, f->scale.z);
    composeMatrix(step, m, m);
    setQuaternionMatrix(step, &f->rotation);
    composeMatrix(step, m, m);
    setTranslationMatrix(step, pivot->x + f->position.x, pivot->y + f->position.y, pivot->z + f->position.z);
    composeMatrix(step, m, out);
    return 1;
}

// key / base per component; a base of zero leaves the key's own scale.
static float RelativeScale(float key, float base) { return base != 0.0f ? key / base : key; }

int ComputeObjectAnimationXform(DI_objectAnimation_tag* a, float t, DS3_model_tag* model, matrix out)
{
    if (!a || !model) return 0;
    const int n = a->numFrames;
    const DI_objectFrame* frames = a->frames.get();
    if (n < 1 || !frames) return PrintError("object animation: an object animation node has no keyframes");

    const float at = WrapFrame(t, n);
    int k = int(at);
    if (k > n - 1) k = n - 1;
    const float f = at - float(k);
    const DI_objectFrame& key = frames[k];

    // The blend works on copies: the loaded keyframes are shared by every object that plays them.
    DI_objectFrame pose = key;
    if (f != 0.0f) {
        const DI_objectFrame& next = frames[k + 1 < n ? k + 1 : 0];
        const float* p0 = &key.position.x;
        const float* p1 = &next.position.x;
        const float* s0 = &key.scale.x;
        const float* s1 = &next.scale.x;
        float* p = &pose.position.x;
        float* s = &pose.scale.x;
        for (int i = 0; i < 3; ++i) {
            p[i] = (1.0f - f) * p0[i] + f * p1[i];
            s[i] = (1.0f - f) * s0[i] + f * s1[i];
        }
        quaternion from = key.rotation;
        quaternion to = next.rotation;
        InterpolateQuaternions(&from.x, &to.x, &pose.rotation.x, f);
    }

    pose.position.x -= model->position.x;
    pose.position.y -= model->position.y;
    pose.position.z -= model->position.z;
    pose.scale.x = RelativeScale(pose.scale.x, model->scale.x);
    pose.scale.y = RelativeScale(pose.scale.y, model->scale.y);
    pose.scale.z = RelativeScale(pose.scale.z, model->scale.z);
    const quaternion base = {model->rotation[0], model->rotation[1], model->rotation[2], model->rotation[3]};
    divideQuaternions(&pose.rotation, &base, &pose.rotation);
    return ComputeObjectFrameXform(&pose, &model->pivot, out);
}

int DrawObjectAnimationModel(DS3_model_tag* model, DI_objectAnimation_tag* a, float t, actor_tag* actor)
{
    if (!model || !a || !actor) return 0;
    matrix node, xform;
    if (!ComputeObjectAnimationXform(a, t, model, node) || !UpdateModelTextureAnimation(model)) return 0;
    // Each node is placed in the actor's space, not in its parent node's.
    composeMatrix(actor->actorXform, node, xform);
    if (!SetXform(xform) || !DrawModel(model)) return 0;
    if (a->numChildren <= 0) return 1;
    if (int64_t(model->numChildren) != a->numChildren)
        return PrintError("object animation: an object animation with %d child tracks drives a model with %u children",
                          int(a->numChildren), unsigned(model->numChildren));
    DS3_model_tag* child = model->children.get();
    for (int i = 0; i < a->numChildren; ++i) {
        if (!child) return PrintError("object animation: a model's child list ends before its %u children", unsigned(model->numChildren));
        if (!DrawObjectAnimationModel(child, a->childList.get()[i], t, actor)) return 0;
        child = child->nextModel.get();
    }
    return 1;
}

int DrawActorObjectAnimation(actor_tag* actor, DI_objectAnimation_tag* a, float t)
{
    if (!actor) return 0;
    if (!actor->visible) return 1;
    return DrawObjectAnimationModel(actor->actorModel, a, t, actor);
}
