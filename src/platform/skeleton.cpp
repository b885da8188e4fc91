// Skeletons and skeletal animations: unpacking the compressed animation tracks and computing each
// bone's skinning and lighting matrices for an actor.
#include "platform/skeleton.h"

#include <cmath>
#include <cstring>

#include "lib/memory.h"
#include "lib/printing.h"
#include "lib/resources.h"
#include "lib/trig.h"

float* acosTable = nullptr;
float* sinTab = nullptr;

static const int kAcosEntries = 1000;
// One sine past pi/2, so that the interpolation may read entry i + 1 at the top of the range.
static const int kSinEntries = 1572;
static const float kShortScale = 3.051851e-05f;  // 1 / 32767

// The traversal of one ComputeSkeletonXforms call.
static actor_tag* boneActor = nullptr;
static const uint32_t* boneOffsetCursor = nullptr;
static const uint32_t* tweenOffsetCursor = nullptr;
static int boneCount = 0;
static int boneLimit = 0;

int InitRadianTables()
{
    DisposeRadianTables();
    void* a = nullptr;
    void* s = nullptr;
    if (!AllocateMemory(&a, kAcosEntries * int(sizeof(float)))) return PrintError("InitRadianTables: no memory");
    if (!AllocateMemory(&s, kSinEntries * int(sizeof(float)))) {
        FreeManagedMemory(a, 0);
        return PrintError("InitRadianTables: no memory");
    }
    acosTable = static_cast<float*>(a);
    sinTab = static_cast<float*>(s);
    for (int i = 0; i < kAcosEntries; ++i) acosTable[i] = std::acos(float(i) * 0.001f);
    for (int i = 0; i < kSinEntries; ++i) sinTab[i] = std::sin(float(i) * 0.001f);
    return 1;
}

int DisposeRadianTables()
{
    int ok = 1;
    if (acosTable && !FreeManagedMemory(acosTable, 0)) ok = 0;
    if (sinTab && !FreeManagedMemory(sinTab, 0)) ok = 0;
    acosTable = nullptr;
    sinTab = nullptr;
    return ok;
}

void readQuaternion(int16_t** p, float* q)
{
    int16_t v[4];
    std::memcpy(v, *p, sizeof(v));
    for (int i = 0; i < 4; ++i) q[i] = float(v[i]) * kShortScale;
    *p += 4;
}

// Sine of x radians (0..pi/2) by linear interpolation in sinTab.
static float TableSine(float x)
{
    float f = x * 1000.0f;
    if (!(f > 0.0f)) return 0.0f;
    if (f > float(kSinEntries - 2)) f = float(kSinEntries - 2);
    int i = int(f);
    return sinTab[i] + (sinTab[i + 1] - sinTab[i]) * (f - float(i));
}

void InterpolateQuaternions(float* a, float* b, float* out, float t)
{
    float c = a[0] * b[0] + a[1] * b[1] + a[2] * b[2] + a[3] * b[3];
    if (c < 0.0f) {
        c = -c;
        for (int i = 0; i < 4; ++i) b[i] = -b[i];
    }
    float wa = 1.0f - t;
    float wb = t;
    if (c < 1.0f && acosTable && sinTab) {
        int i = int(c * 1000.0f);
        if (i < 0) i = 0;
        if (i > kAcosEntries - 1) i = kAcosEntries - 1;
        const float theta = acosTable[i];
        const float s = TableSine(theta);
        if (s > 0.0f) {
            wa = TableSine((1.0f - t) * theta) / s;
            wb = TableSine(t * theta) / s;
        }
    }
    for (int i = 0; i < 4; ++i) out[i] = wa * a[i] + wb * b[i];
}

int InitializeAnimation(uint8_t* data)
{
    if (!data) return 0;
    auto* anim = reinterpret_cast<animation_tag*>(data);
    if (anim->numFrames < 1 || anim->numBones < 1 || anim->numBones > kMaxBones)
        return PrintError("skeleton: an animation has %d frames of %d bones (at most %d bones)", int(anim->numFrames),
                          int(anim->numBones), kMaxBones);
    if (anim->frameLength < kFrameTranslationBytes + 8 * anim->numBones)
        return PrintError("skeleton: an animation's frames of %d bytes cannot hold %d bones", int(anim->frameLength),
                          int(anim->numBones));
    anim->frames = data + kAnimationHeaderBytes;
    return 1;
}

animation_tag* GetAnimation(int rsid)
{
    resourceHeader* r = nullptr;
    if (rsid <= 0 || !GetResourceHeader(rsid, &r) || !r->resourceHandle) return nullptr;
    if (r->resourceType != kResourceTypeAnimation) {
        PrintError("skeleton: resource %d is of type %d, not an animation", rsid, int(r->resourceType));
        return nullptr;
    }
    auto* anim = static_cast<animation_tag*>(r->resourceHandle.get());
    // InitializeAnimation has checked the counts; the frames must also lie inside the resource.
    const int64_t need = kAnimationHeaderBytes + int64_t(anim->numFrames) * int64_t(anim->frameLength);
    if (anim->numFrames < 1 || anim->numBones < 1 || anim->numBones > kMaxBones ||
        anim->frameLength < kFrameTranslationBytes + 8 * anim->numBones || need > r->resourceUncompressedLength) {
        PrintError("animation %d is damaged: %d frames of %d bytes in %d bytes", rsid, int(anim->numFrames),
                   int(anim->frameLength), int(r->resourceUncompressedLength));
        return nullptr;
    }
    return anim;
}

// Bones are checked and relocated depth first; count counts them against the header.
static int RelocateBone(HLSL_bone_tag* bone, uint8_t** cursor, const uint8_t* end, uint32_t* count, uint32_t limit)
{
    if (++*count > limit) return 0;
    if (bone->numChildren == 0) return 1;
    if (bone->numChildren > limit) return 0;
    HLSL_bone_tag* previous = nullptr;
    for (uint32_t c = 0; c < bone->numChildren; ++c) {
        if (*cursor + sizeof(HLSL_bone_tag) > end) return 0;
        auto* child = reinterpret_cast<HLSL_bone_tag*>(*cursor);
        *cursor += sizeof(HLSL_bone_tag);
        if (previous)
            previous->nextBone = child;
        else
            bone->children = child;
        previous = child;
        if (!RelocateBone(child, cursor, end, count, limit)) return 0;
    }
    previous->nextBone = nullptr;
    return 1;
}

int DS3_InitializeSkeleton(HLSL_skeleton* skeleton, const uint8_t* end)
{
    if (!skeleton) return 0;
    auto* base = reinterpret_cast<uint8_t*>(skeleton);
    const uint32_t n = skeleton->numBones;
    if (n < 1 || n > uint32_t(kMaxBones))
        return PrintError("skeleton: a skeleton has %u bones (at most %d)", unsigned(n), kMaxBones);
    uint8_t* cursor = base + sizeof(HLSL_skeleton);
    if (end < cursor || size_t(end - cursor) < 8 * n + sizeof(HLSL_bone_tag))
        return PrintError("skeleton: a skeleton of %u bones does not fit its block", unsigned(n));
    skeleton->boneOffsets = reinterpret_cast<uint32_t*>(cursor);
    skeleton->mirroredBoneOffsets = reinterpret_cast<uint32_t*>(cursor + 4 * n);
    auto* root = reinterpret_cast<HLSL_bone_tag*>(cursor + 8 * n);
    skeleton->rootBone = root;
    cursor = reinterpret_cast<uint8_t*>(root) + sizeof(HLSL_bone_tag);
    uint32_t count = 0;
    if (!RelocateBone(root, &cursor, end, &count, n) || count != n)
        return PrintError("skeleton: a skeleton's bone tree does not match its %u bones", unsigned(n));
    root->nextBone = nullptr;
    return 1;
}

HLSL_skeleton* ModelSkeleton(const DS3_model* model)
{
    if (!model) return nullptr;
    Ptr32<HLSL_skeleton> field;
    std::memcpy(&field, reinterpret_cast<const uint8_t*>(model) + kModelSkeletonField, sizeof(field));
    return field.get();
}

// Frame k of the animation at a position, with the fraction towards the next frame (which is
// frame 0 after the last). Positions outside the animation are held at its ends.
static void FramePair(const animation_tag* anim, float position, const uint8_t** cur, const uint8_t** next, float* t)
{
    const int last = anim->numFrames - 1;
    int k = 0;
    float f = 0.0f;
    if (position >= float(last)) {
        k = last;
        f = position - float(last);
        if (!(f < 1.0f)) f = 0.0f;
    } else if (position > 0.0f) {
        k = int(position);
        f = position - float(k);
    }
    const uint8_t* frames = anim->frames.get();
    *cur = frames + size_t(k) * size_t(anim->frameLength);
    *next = frames + size_t(k < last ? k + 1 : 0) * size_t(anim->frameLength);
    *t = f;
}

static void ReadTranslation(const uint8_t* frame, float* v)
{
    std::memcpy(v, frame, 3 * sizeof(float));
}

static void BlendedTranslation(const uint8_t* cur, const uint8_t* next, float t, float* v)
{
    ReadTranslation(cur, v);
    if (t != 0.0f) {
        float w[3];
        ReadTranslation(next, w);
        for (int i = 0; i < 3; ++i) v[i] += (w[i] - v[i]) * t;
    }
}

static int16_t* Rotations(const uint8_t* frame)
{
    return reinterpret_cast<int16_t*>(const_cast<uint8_t*>(frame + kFrameTranslationBytes));
}

int ComputeSkeletonTranslation(actor_tag* actor)
{
    if (!actor) return 0;
    AnimationInfo& info = actor->animInfo;
    const animation_tag* anim = GetAnimation(info.animation);
    if (!anim) return 0;

    const uint8_t* cur = nullptr;
    const uint8_t* next = nullptr;
    float t = 0.0f;
    FramePair(anim, info.animationFrame, &cur, &next, &t);
    float v[3];
    BlendedTranslation(cur, next, t, v);
    // animParam is an integer field of the record; the fraction is kept as its bits.
    std::memcpy(&info.animParam, &t, sizeof(t));
    info.animFrameRot = Rotations(cur);
    info.animFrameRot2 = Rotations(next);
    if (actor->displayAttributes & kDisplayMirrored) v[0] = -v[0];

    if (info.animationTween > 0) {
        const animation_tag* tween = GetAnimation(info.animationTween);
        if (!tween) return 0;
        FramePair(tween, info.animationTweenFrame, &cur, &next, &t);
        std::memcpy(&info.animationTweenParam, &t, sizeof(t));
        info.tweenFrameRot = Rotations(cur);
        info.tweenFrameRot2 = Rotations(next);
        float w[3];
        BlendedTranslation(cur, next, t, w);
        v[2] += (w[2] - v[2]) * info.animationTweenFactor;
    }

    HLSL_point& m = actor->modelTranslation;
    m.x = (v[0] + actor->translationAdjustment.x) * actor->translationScaleFactor.x;
    m.y = (v[1] + actor->translationAdjustment.y) * actor->translationScaleFactor.y;
    m.z = (v[2] + actor->translationAdjustment.z) * actor->translationScaleFactor.z;
    m.w = 1.0f;
    return 1;
}

static float FractionOf(int32_t bits)
{
    float t = 0.0f;
    std::memcpy(&t, &bits, sizeof(t));
    return t;
}

// Every rotation the skeleton reads must lie inside the animation's frames.
static int FitsAnimation(const HLSL_skeleton* skeleton, const animation_tag* anim, int rsid)
{
    if (int64_t(skeleton->numBones) > anim->numBones)
        return PrintError("skeleton: animation %d has %d bones, the skeleton %u", rsid, int(anim->numBones),
                          unsigned(skeleton->numBones));
    const int64_t room = (int64_t(anim->frameLength) - kFrameTranslationBytes) / 2 - 4;
    for (uint32_t i = 0; i < skeleton->numBones; ++i)
        if (int64_t(skeleton->boneOffsets[i]) > room || int64_t(skeleton->mirroredBoneOffsets[i]) > room)
            return PrintError("skeleton: bone %u reads past the frames of animation %d", unsigned(i), rsid);
    return 1;
}

// The rotation of the bone being visited, from the animation and the tween.
static void BoneRotation(quaternion* out)
{
    actor_tag* actor = boneActor;
    AnimationInfo& info = actor->animInfo;
    const int mirrored = actor->displayAttributes & kDisplayMirrored;
    const uint32_t offset = boneOffsetCursor[boneCount];
    float q[4];
    int16_t* p = info.animFrameRot + offset;
    readQuaternion(&p, q);
    const float t = FractionOf(info.animParam);
    if (t != 0.0f) {
        float q2[4];
        p = info.animFrameRot2 + offset;
        readQuaternion(&p, q2);
        InterpolateQuaternions(q, q2, q, t);
    }
    if (mirrored) {
        q[1] = -q[1];
        q[2] = -q[2];
    }
    if (info.animationTween > 0 && tweenOffsetCursor) {
        const uint32_t toff = tweenOffsetCursor[boneCount];
        float qt[4];
        p = info.tweenFrameRot + toff;
        readQuaternion(&p, qt);
        const float tt = FractionOf(info.animationTweenParam);
        if (tt != 0.0f) {
            float qt2[4];
            p = info.tweenFrameRot2 + toff;
            readQuaternion(&p, qt2);
            InterpolateQuaternions(qt, qt2, qt, tt);
        }
        if (info.animationTweenAttributes & kDisplayMirrored) {
            qt[1] = -qt[1];
            qt[2] = -qt[2];
        }
        InterpolateQuaternions(q, qt, q, info.animationTweenFactor);
    }
    *out = {q[0], q[1], q[2], q[3]};
}

// out = a followed by b (row vectors).
static void Then(const matrix a, const matrix b, matrix out)
{
    composeAffineMatrix(b, a, out);
}

// R . T(pivot): the bone's rotation with its pivot as translation.
static void JointLocal(const quaternion* q, const HLSL_point* pivot, matrix out)
{
    setQuaternionMatrix(out, q);
    out[3][0] = pivot->x;
    out[3][1] = pivot->y;
    out[3][2] = pivot->z;
}

// T(d) . J
static void Skinning(const float* d, const matrix joint, matrix out)
{
    float v[3] = {d[0], d[1], d[2]};
    composeNormal(v, joint);
    std::memcpy(out, joint, sizeof(matrix));
    out[3][0] += v[0];
    out[3][1] += v[1];
    out[3][2] += v[2];
}

int ComputeBoneXform(HLSL_bone_tag* bone, matrix* parent, float (*parentLight)[4], HLSL_point* parentOffset)
{
    if (!bone || !boneActor || boneCount >= boneLimit) return PrintError("skeleton: a skeleton has more bones than it says");
    actor_tag* actor = boneActor;
    const int i = boneCount;
    quaternion q;
    BoneRotation(&q);
    actor->boneRotations[i] = q;

    matrix local, joint, rotation;
    JointLocal(&q, &bone->pivot, local);
    Then(local, *parent, joint);
    setQuaternionMatrix(rotation, &q);
    Then(rotation, parentLight, actor->boneLightVectors[i]);
    HLSL_point d = {parentOffset->x - bone->pivot.x, parentOffset->y - bone->pivot.y,
                    parentOffset->z - bone->pivot.z, 1.0f};
    Skinning(&d.x, joint, actor->boneXforms[i]);
    ++boneCount;

    uint32_t visited = 0;
    for (HLSL_bone_tag* child = bone->children.get(); child && visited < bone->numChildren;
         child = child->nextBone.get(), ++visited)
        if (!ComputeBoneXform(child, &joint, actor->boneLightVectors[i], &d)) return 0;
    return 1;
}

int ComputeSkeletonXforms(actor_tag* actor)
{
    if (!actor) return 0;
    HLSL_skeleton* skeleton = ModelSkeleton(actor->actorModel);
    if (!skeleton || !skeleton->rootBone) return PrintError("ComputeSkeletonXforms: the actor has no skeleton");
    if (skeleton->numBones < 1 || skeleton->numBones > uint32_t(kMaxBones))
        return PrintError("ComputeSkeletonXforms: a skeleton of %u bones", unsigned(skeleton->numBones));
    AnimationInfo& info = actor->animInfo;
    const animation_tag* anim = GetAnimation(info.animation);
    if (!anim || !info.animFrameRot || !FitsAnimation(skeleton, anim, info.animation)) return 0;
    const int mirrored = actor->displayAttributes & kDisplayMirrored;
    boneActor = actor;
    boneOffsetCursor = mirrored ? skeleton->mirroredBoneOffsets.get() : skeleton->boneOffsets.get();
    tweenOffsetCursor = nullptr;
    if (info.animationTween > 0) {
        const animation_tag* tween = GetAnimation(info.animationTween);
        if (!tween || !info.tweenFrameRot || !FitsAnimation(skeleton, tween, info.animationTween)) return 0;
        tweenOffsetCursor = (info.animationTweenAttributes & kDisplayMirrored) ? skeleton->mirroredBoneOffsets.get()
                                                                                 : skeleton->boneOffsets.get();
    }
    boneCount = 0;
    boneLimit = int(skeleton->numBones);

    // The root: J = R . T(pivot), skinning T(-pivot) . J, light R . lightXform.
    HLSL_bone_tag* root = skeleton->rootBone.get();
    quaternion q;
    BoneRotation(&q);
    actor->boneRotations[0] = q;
    matrix joint, rotation;
    JointLocal(&q, &root->pivot, joint);
    setQuaternionMatrix(rotation, &q);
    Then(rotation, actor->lightXform, actor->boneLightVectors[0]);
    HLSL_point d = {-root->pivot.x, -root->pivot.y, -root->pivot.z, 1.0f};
    Skinning(&d.x, joint, actor->boneXforms[0]);
    boneCount = 1;

    int ok = 1;
    uint32_t visited = 0;
    for (HLSL_bone_tag* child = root->children.get(); ok && child && visited < root->numChildren;
         child = child->nextBone.get(), ++visited)
        ok = ComputeBoneXform(child, &joint, actor->boneLightVectors[0], &d);
    boneActor = nullptr;
    if (!ok) return 0;

    actor->animationTranslation.x = actor->worldXform[3][0] - actor->worldX;
    actor->animationTranslation.y = actor->worldXform[3][1] - actor->worldY;
    actor->animationTranslation.z = actor->worldXform[3][2] - actor->worldZ;
    return 1;
}

int ComputeAnimationTranslation(int rsid, float frame, int heading, float* x, float* z)
{
    const animation_tag* anim = GetAnimation(rsid);
    if (!anim) return 0;
    const uint8_t* cur = nullptr;
    const uint8_t* next = nullptr;
    float t = 0.0f;
    FramePair(anim, frame, &cur, &next, &t);
    float v[3];
    BlendedTranslation(cur, next, t, v);
    float a = v[0];
    float b = v[1];
    if (heading != 0) {
        if (!sinTable || !cosTable) return PrintError("ComputeAnimationTranslation: no trig tables");
        const int h = ((heading % 360) + 360) % 360;
        const float sn = sinTable[h];
        const float cs = cosTable[h];
        const float x2 = a * sn + b * cs;
        b = b * sn - a * cs;
        a = x2;
    }
    if (x) *x = a;
    if (z) *z = b;
    return 1;
}
