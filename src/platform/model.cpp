// Relocating model resources in place and drawing rigid and skinned models straight from their
// image.
#include "platform/model.h"

#include <cmath>
#include <cstddef>
#include <cstring>

#include "host/gpu.h"
#include "lib/printing.h"
#include "lib/resources.h"
#include "platform/frame.h"
#include "platform/gpucommands.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "platform/shaders.h"
#include "platform/skeleton.h"

static_assert(offsetof(DS3_model_tag, numStrips) == 224, "strip count at byte 224");
static_assert(offsetof(DS3_model_tag, skeleton) == kModelSkeletonField, "skeleton pointer at byte 252");
static_assert(offsetof(DS3_model_tag, vertexBufferHardwareAddress) == 264, "GPU address at byte 264");

actor_tag* skeletalActor = nullptr;

static const int kVertexStrides[kNumShaders] = {20, 32, 20, 36, 48, 52, 36, 44, 48, 64, 52, 24};
static const int kWorkBufferBytes = 1024;

int ModelVertexStride(int format)
{
    return format >= 0 && format < kNumShaders ? kVertexStrides[format] : 0;
}

static uint8_t* AlignUp16(uint8_t* p)
{
    return reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(p) + 15) & ~uintptr_t(15));
}

// Bytes left from p to end (0 when p lies past it).
static uint64_t Room(const uint8_t* p, const uint8_t* end)
{
    return p <= end ? uint64_t(end - p) : 0;
}

// ---- Materials ----

// The material block follows the 16-bit indices, so it may lie on any even address: materials
// are copied in and out rather than used in place.
int ModelMaterial(const DS3_model_tag* model, uint32_t i, HLSL_material* out)
{
    if (!model || !out || i >= model->numMaterials || !model->materialList) return 0;
    std::memcpy(out, reinterpret_cast<const uint8_t*>(model->materialList.get()) + size_t(i) * kModelMaterialBytes,
                sizeof *out);
    return 1;
}

int SetModelMaterialBitmap(DS3_model_tag* model, uint32_t i, DS3_bitmap_tag* bitmap)
{
    HLSL_material mat;
    if (!ModelMaterial(model, i, &mat)) return 0;
    mat.materialBitmap = bitmap;
    std::memcpy(reinterpret_cast<uint8_t*>(model->materialList.get()) + size_t(i) * kModelMaterialBytes, &mat, sizeof mat);
    return 1;
}

// ---- Relocation ----

static float Dot3(const float* a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

static void Cross3(const float* a, const float* b, float* out)
{
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

// A zero vector stays zero.
static void Normalize3(float* v)
{
    const float l = std::sqrt(Dot3(v, v));
    if (l > 0.0f)
        for (int i = 0; i < 3; ++i) v[i] /= l;
}

// The quaternion (x, y, z, w) of the rotation whose rows are r[0], r[1], r[2] (row vectors: it
// turns the x axis into r[0]).
static void FrameToQuaternion(const float r[3][3], float* q)
{
    const float trace = r[0][0] + r[1][1] + r[2][2];
    if (trace > 0.0f) {
        const float s = 2.0f * std::sqrt(trace + 1.0f);
        q[3] = 0.25f * s;
        q[0] = (r[1][2] - r[2][1]) / s;
        q[1] = (r[2][0] - r[0][2]) / s;
        q[2] = (r[0][1] - r[1][0]) / s;
    } else if (r[0][0] > r[1][1] && r[0][0] > r[2][2]) {
        const float s = 2.0f * std::sqrt(1.0f + r[0][0] - r[1][1] - r[2][2]);
        q[3] = (r[1][2] - r[2][1]) / s;
        q[0] = 0.25f * s;
        q[1] = (r[0][1] + r[1][0]) / s;
        q[2] = (r[2][0] + r[0][2]) / s;
    } else if (r[1][1] > r[2][2]) {
        const float s = 2.0f * std::sqrt(1.0f + r[1][1] - r[0][0] - r[2][2]);
        q[3] = (r[2][0] - r[0][2]) / s;
        q[0] = (r[0][1] + r[1][0]) / s;
        q[1] = 0.25f * s;
        q[2] = (r[1][2] + r[2][1]) / s;
    } else {
        const float s = 2.0f * std::sqrt(1.0f + r[2][2] - r[0][0] - r[1][1]);
        q[3] = (r[0][1] - r[1][0]) / s;
        q[0] = (r[2][0] + r[0][2]) / s;
        q[1] = (r[1][2] + r[2][1]) / s;
        q[2] = 0.25f * s;
    }
    const float l = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    if (l > 0.0f)
        for (int i = 0; i < 4; ++i) q[i] /= l;
}

// Bump-mapped vertices store a tangent (x, y, z) and the bitangent's sign (w); the programs want
// the tangent frame as one quaternion, so it is rebuilt orthonormal and converted once here.
static void ConvertTangentFrames(uint8_t* verts, uint32_t count, int stride, int tangentAt)
{
    for (uint32_t v = 0; v < count; ++v) {
        uint8_t* vertex = verts + size_t(v) * size_t(stride);
        float n[3], t[4];
        std::memcpy(n, vertex + 12, sizeof n);
        std::memcpy(t, vertex + tangentAt, sizeof t);
        float frame[3][3];
        float b[3];
        Cross3(t, n, b);
        for (float& c : b) c *= t[3];
        Normalize3(b);
        Normalize3(n);
        Cross3(b, n, frame[0]);
        Normalize3(frame[0]);
        std::memcpy(frame[1], b, sizeof b);
        std::memcpy(frame[2], n, sizeof n);
        float q[4];
        FrameToQuaternion(frame, q);
        std::memcpy(vertex + tangentAt, q, sizeof q);
    }
}

// Looks up one texture of a material; 1 when the id is 0 and the map is optional.
static int LookUpTexture(uint32_t rsid, Ptr32<DS3_bitmap_tag>* out, int optional)
{
    if (rsid == 0 && optional) {
        *out = nullptr;
        return 1;
    }
    void* handle = nullptr;
    if (rsid > 0x7FFFFFFFu || !GetResourceHandle(int(rsid), &handle) || ResourceType(int(rsid)) != kResourceTypeBitmap)
        return PrintError("model: a model's texture %d (group %d, member %d) is not loaded", int(rsid), int(rsid >> 16),
                          int(rsid & 0xFFFF));
    *out = static_cast<DS3_bitmap_tag*>(handle);
    return 1;
}

// Every strip must name a material and draw indices of the index block; a palette names at most
// kModelMaxDrawBones skeleton bones.
static int CheckStrips(const DS3_model_tag* m, const HLSL_skeleton* skeleton)
{
    const uint8_t* strips = m->stripList.get();
    for (uint32_t s = 0; s < m->numStrips; ++s) {
        uint32_t material = 0;
        uint64_t first = 0, count = 0;
        if (m->flags & kModelFlagStripPalettes) {
            HLSL_skeletalTriStrip strip;
            std::memcpy(&strip, strips + size_t(s) * kModelPaletteStripBytes, sizeof strip);
            material = strip.materialNum;
            first = strip.startIndex;
            count = strip.numPrimitives;
            if (strip.numBones > kModelMaxDrawBones)
                return PrintError("model: a model strip's palette has %d bones (at most %d)", int(strip.numBones),
                                  kModelMaxDrawBones);
            // A mesh without a skeleton of its own is drawn with another model's (a body part
            // with the body's): its bones must at least lie within an actor's bone matrices.
            const uint32_t bones = skeleton ? skeleton->numBones : uint32_t(kMaxBones);
            for (int i = 0; i < strip.numBones; ++i)
                if (strip.boneCache[i] >= bones)
                    return PrintError("model: a model strip's palette names bone %d of %u", int(strip.boneCache[i]),
                                      unsigned(bones));
        } else {
            HLSL_triStrip strip;
            std::memcpy(&strip, strips + size_t(s) * kModelStripBytes, sizeof strip);
            material = strip.materialNum;
            first = strip.startIndex;
            count = strip.numPrimitives;
        }
        if (material >= m->numMaterials)
            return PrintError("model: a model strip uses material %u of %u", unsigned(material), unsigned(m->numMaterials));
        if (first + count > m->numIndices)
            return PrintError("model: a model strip draws indices %u..%u of %u", unsigned(first), unsigned(first + count),
                              unsigned(m->numIndices));
    }
    return 1;
}

int DS3_InitializeModelBuffer(uint8_t** cursor, const uint8_t* end, int depth)
{
    if (!cursor || !*cursor || !end) return 0;
    if (depth > kModelMaxDepth) return PrintError("model: a model's children nest deeper than %d", kModelMaxDepth);
    uint8_t* at = *cursor;
    if (Room(at, end) < sizeof(DS3_model_tag)) return PrintError("model: a model record lies past the end of its image");
    auto* m = reinterpret_cast<DS3_model_tag*>(at);
    at += sizeof(DS3_model_tag);

    // 1. Vertices.
    if (m->numVerts != 0) {
        const int stride = ModelVertexStride(m->vertFormat);
        if (stride == 0 || m->vertSize != stride)
            return PrintError("model: a model's vertex format %d with %d-byte vertices is unknown", int(m->vertFormat),
                              int(m->vertSize));
        const uint64_t bytes = uint64_t(m->numVerts) * uint64_t(stride);
        if (bytes > Room(at, end)) return PrintError("model: a model's %u vertices do not fit its image", unsigned(m->numVerts));
        if (reinterpret_cast<uintptr_t>(at) & 15)
            return PrintError("model: a model's vertices do not start on a 16-byte boundary");
        m->vertList = at;
        if (m->vertFormat == 4) ConvertTangentFrames(at, m->numVerts, stride, 32);
        if (m->vertFormat == 5) ConvertTangentFrames(at, m->numVerts, stride, 36);
        m->vertexBufferHardwareAddress = GpuPhysicalAddress(at) & ~15u;
        at += bytes;
    }

    // 2. Indices, each naming a vertex of the block.
    if (m->numIndices != 0) {
        const uint64_t bytes = 2 * uint64_t(m->numIndices);
        if (bytes > Room(at, end)) return PrintError("model: a model's %u indices do not fit its image", unsigned(m->numIndices));
        m->indexList = reinterpret_cast<uint16_t*>(at);
        for (uint32_t i = 0; i < m->numIndices; ++i) {
            uint16_t index;
            std::memcpy(&index, at + 2 * size_t(i), 2);
            if (m->numVerts != 0 && index >= m->numVerts)
                return PrintError("model: a model's index %u names vertex %u of %u", unsigned(i), unsigned(index),
                                  unsigned(m->numVerts));
        }
        m->indexBufferHardwareOffset = GpuPhysicalAddress(at) - m->vertexBufferHardwareAddress;
        at += bytes;
    }

    // 3. Strips.
    const uint64_t stripBytes = (m->flags & kModelFlagStripPalettes) ? kModelPaletteStripBytes : kModelStripBytes;
    if (uint64_t(m->numStrips) * stripBytes > Room(at, end))
        return PrintError("model: a model's %u strips do not fit its image", unsigned(m->numStrips));
    m->stripList = at;
    at += size_t(m->numStrips * stripBytes);

    // 4. Materials and their textures, which must be loaded before the model.
    if (uint64_t(m->numMaterials) * kModelMaterialBytes > Room(at, end))
        return PrintError("model: a model's %u materials do not fit its image", unsigned(m->numMaterials));
    auto* materials = reinterpret_cast<HLSL_material*>(at);
    m->materialList = materials;
    at += size_t(m->numMaterials) * kModelMaterialBytes;
    for (uint32_t i = 0; i < m->numMaterials; ++i) {
        HLSL_material mat;
        ModelMaterial(m, i, &mat);
        const int ok = LookUpTexture(mat.materialRSID, &mat.materialBitmap, 0) &&
                       LookUpTexture(mat.normalMapRSID, &mat.normalMap, 1) &&
                       LookUpTexture(mat.specularMapRSID, &mat.specularMap, 1);
        std::memcpy(reinterpret_cast<uint8_t*>(materials) + size_t(i) * kModelMaterialBytes, &mat, sizeof mat);
        if (!ok) return 0;
    }

    // 5, 6. The skeleton on a 16-byte boundary. The children after it start on one too, so that
    // a child's vertex block is where its GPU address says whatever the number of bones.
    at = AlignUp16(at);
    HLSL_skeleton* skeleton = nullptr;
    if (m->skeleton) {
        if (Room(at, end) < sizeof(HLSL_skeleton)) return PrintError("model: a model's skeleton lies past its image");
        skeleton = reinterpret_cast<HLSL_skeleton*>(at);
        if (!DS3_InitializeSkeleton(skeleton, end)) return PrintError("model: a model's skeleton is damaged");
        m->skeleton = skeleton;
        at = reinterpret_cast<uint8_t*>(skeleton->rootBone.get()) + sizeof(HLSL_bone_tag) * skeleton->numBones;
        at = AlignUp16(at);
    }
    if (!CheckStrips(m, skeleton)) return 0;

    // 7. Children, one after the other, linked in order; the last ends the list.
    if (m->numChildren != 0) {
        if (uint64_t(m->numChildren) * sizeof(DS3_model_tag) > Room(at, end))
            return PrintError("model: a model's %u children do not fit its image", unsigned(m->numChildren));
        m->children = reinterpret_cast<DS3_model_tag*>(at);
        DS3_model_tag* previous = nullptr;
        for (uint32_t c = 0; c < m->numChildren; ++c) {
            auto* child = reinterpret_cast<DS3_model_tag*>(at);
            if (previous) previous->nextModel = child;
            if (!DS3_InitializeModelBuffer(&at, end, depth + 1)) return 0;
            previous = child;
        }
        previous->nextModel = nullptr;
    } else {
        m->children = nullptr;
    }
    *cursor = at;
    return 1;
}

int DS3_InitializeModel(uint8_t* data, int32_t length)
{
    if (!data) return 0;
    if (length < int32_t(sizeof(DS3_model_tag)))
        return PrintError("model: a model of %d bytes is shorter than its record", int(length));
    uint8_t* cursor = data;
    return DS3_InitializeModelBuffer(&cursor, data + length, 0);
}

// ---- Drawing ----

// Program, wrap modes, culling and vertex base of a model.
static int PrepareDraw(const DS3_model_tag* m)
{
    if (!RenderSetShader(m->vertFormat, 0, (m->flags & kModelFlagSpecular) ? 1 : 0)) return 0;
    uWrapMode = vWrapMode = (m->flags & kModelFlagRepeat) ? int(kGpuWrapRepeat) : int(kGpuWrapClampToEdge);
    if (!((m->flags & kModelFlagCull) ? RenderEnableBackfaceCulling() : RenderDisableBackfaceCulling())) return 0;
    return DS3_SetVertexBuffer(m->vertexBufferHardwareAddress);
}

static int SetMaterial(const DS3_model_tag* m, uint32_t material)
{
    HLSL_material mat;
    if (!ModelMaterial(m, material, &mat))
        return PrintError("model: a model strip uses material %u of %u", unsigned(material), unsigned(m->numMaterials));
    return DS3_SetTextures(mat.materialBitmap.get(), mat.normalMap.get(), mat.specularMap.get());
}

static int DrawStrip(const DS3_model_tag* m, uint32_t startIndex, uint32_t count)
{
    return DS3_DrawIndexedTristrip(m->indexBufferHardwareOffset + 2 * startIndex, count);
}

// Strip s of either layout: its material, first index and index count.
static void ReadStrip(const DS3_model_tag* m, uint32_t s, HLSL_skeletalTriStrip* out)
{
    const uint8_t* strips = m->stripList.get();
    if (m->flags & kModelFlagStripPalettes) {
        std::memcpy(out, strips + size_t(s) * kModelPaletteStripBytes, sizeof *out);
        return;
    }
    HLSL_triStrip strip;
    std::memcpy(&strip, strips + size_t(s) * kModelStripBytes, sizeof strip);
    std::memset(out, 0, sizeof *out);
    out->materialNum = strip.materialNum;
    out->startIndex = strip.startIndex;
    out->numPrimitives = strip.numPrimitives;
}

int DrawModel(DS3_model_tag* model)
{
    if (!model || model->numStrips == 0) return 0;
    if (!PrepareDraw(model)) return 0;
    int ok = 1;
    for (uint32_t s = 0; s < model->numStrips && ok; ++s) {
        HLSL_skeletalTriStrip strip;
        ReadStrip(model, s, &strip);
        ok = SetMaterial(model, strip.materialNum) && DrawStrip(model, strip.startIndex, strip.numPrimitives);
    }
    RenderSetTexture(nullptr);
    return ok;
}

// Bone matrices are row-vector transforms; the programs take them as rows of column-vector
// matrices, so each is stored transposed.
static void StoreTransposed(const float (*bone)[4], float* slot)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) slot[4 * r + c] = bone[c][r];
}

static int DrawBones(const HLSL_skeleton* skeleton)
{
    return skeleton ? int(skeleton->numBones < uint32_t(kModelMaxDrawBones) ? skeleton->numBones : kModelMaxDrawBones) : 0;
}

int SetActorSkeletalXforms(actor_tag* actor, float (*)[4])
{
    if (!actor) return 1;
    DS3_model_tag* model = actor->actorModel;
    if (model && (model->flags & kModelFlagStripPalettes)) {
        skeletalActor = actor;
        return 1;
    }
    const HLSL_skeleton* skeleton = ModelSkeleton(model);
    if (!skeleton || !workBuffer) return 1;
    // The work buffer holds sixteen matrices; a larger skeleton only gets its first sixteen bones.
    if (skeleton->numBones > uint32_t(kModelMaxDrawBones))
        PrintError("a skeleton of %u bones: only %d are drawn without bone palettes", unsigned(skeleton->numBones),
                   kModelMaxDrawBones);
    auto* slots = static_cast<float*>(workBuffer);
    const int n = DrawBones(skeleton);
    for (int i = 0; i < n; ++i) StoreTransposed(actor->boneXforms[i], slots + 16 * i);
    return 1;
}

int DrawSkeleton(DS3_model_tag* model)
{
    if (!model || model->numStrips == 0) return 1;
    if (!workBuffer) return PrintError("DrawSkeleton: the renderer has no work buffer");
    if (!PrepareDraw(model)) return 0;
    auto* slots = static_cast<float*>(workBuffer);
    static_assert(kModelMaxDrawBones * 16 * sizeof(float) <= size_t(kWorkBufferBytes), "the palette fits the work buffer");
    int ok = 1;
    if (model->flags & kModelFlagStripPalettes) {
        if (!skeletalActor) ok = PrintError("DrawSkeleton: no actor's bones were prepared");
        for (uint32_t s = 0; s < model->numStrips && ok; ++s) {
            HLSL_skeletalTriStrip strip;
            ReadStrip(model, s, &strip);
            const int n = strip.numBones < kModelMaxDrawBones ? strip.numBones : kModelMaxDrawBones;
            ok = SetMaterial(model, strip.materialNum);
            for (int i = 0; i < n && ok; ++i) {
                const int bone = strip.boneCache[i];
                if (bone >= kMaxBones) ok = PrintError("DrawSkeleton: palette bone %d", bone);
                else StoreTransposed(skeletalActor->boneXforms[bone], slots + 16 * i);
            }
            ok = ok && RenderSetXForms4Bones(slots, n) && DrawStrip(model, strip.startIndex, strip.numPrimitives);
        }
    } else {
        ok = RenderSetXForms4Bones(slots, DrawBones(ModelSkeleton(model)));
        for (uint32_t s = 0; s < model->numStrips && ok; ++s) {
            HLSL_skeletalTriStrip strip;
            ReadStrip(model, s, &strip);
            ok = SetMaterial(model, strip.materialNum) && DrawStrip(model, strip.startIndex, strip.numPrimitives);
        }
    }
    RenderSetTexture(nullptr);
    return ok;
}

// ---- Texture animation ----

// The frame bitmap of member i of a group directory; null when it is not loaded.
static DS3_bitmap_tag* FrameBitmap(const resourceGroupHeader* group, int i)
{
    const resourceHeader& r = group->groupResourceHeaders.get()[i];
    if (r.resourceType != kResourceTypeBitmap) return nullptr;
    return static_cast<DS3_bitmap_tag*>(r.resourceHandle.get());
}

static int AnimateMaterial(HLSL_material* mat)
{
    const int groupId = int(mat->materialRSID >> 16);
    resourceHeader* header = nullptr;
    if (groupId <= 0 || !GetResourceHeader(groupId, &header) || header->resourceType != kResourceTypeGroup ||
        !header->resourceHandle)
        return PrintError("model: the frames of texture %u cannot be found", unsigned(mat->materialRSID));
    const auto* group = static_cast<const resourceGroupHeader*>(header->resourceHandle.get());
    const int n = group->numResources;
    if (n < 1 || !group->groupResourceHeaders) return PrintError("model: texture group %d has no frames", groupId);
    for (int i = 0; i < n; ++i)
        if (!FrameBitmap(group, i)) return PrintError("model: frame %d of texture group %d is not loaded", i, groupId);

    int64_t sum = 0;
    for (int i = 0; i < n; ++i) sum += FrameBitmap(group, i)->delay;
    const DS3_bitmap_tag* last = FrameBitmap(group, n - 1);
    int64_t cycle = sum;
    if (last->loopType == 2) {
        cycle = 2 * sum - last->delay;
        if (n > 1) cycle -= FrameBitmap(group, 0)->delay;
    }
    int chosen = n - 1;
    if (cycle > 0) {
        int64_t t = int64_t(uint32_t(frameTicks) % uint64_t(cycle));
        int found = 0;
        for (int i = 0; i < n && !found; ++i) {
            t -= FrameBitmap(group, i)->delay;
            if (t < 0) chosen = i, found = 1;
        }
        for (int i = n - 2; i >= 1 && !found; --i) {
            chosen = i;
            t -= FrameBitmap(group, i)->delay;
            if (t < 0) found = 1;
        }
    }
    mat->materialBitmap = FrameBitmap(group, chosen);
    return 1;
}

int UpdateModelTextureAnimation(DS3_model_tag* model)
{
    if (!model) return 0;
    for (uint32_t i = 0; i < model->numMaterials; ++i) {
        HLSL_material mat;
        ModelMaterial(model, i, &mat);
        const DS3_bitmap_tag* current = mat.materialBitmap.get();
        if (!current || current->delay == 0) continue;
        if (!AnimateMaterial(&mat)) return 0;
        SetModelMaterialBitmap(model, i, mat.materialBitmap.get());
    }
    return 1;
}

// ---- Copies ----

DS3_model_tag* CopyModel(int rsid, uint8_t** cursor, const uint8_t* end)
{
    if (!cursor || !*cursor) return nullptr;
    void* handle = nullptr;
    if (!GetResourceHandle(rsid, &handle) || ResourceType(rsid) != kResourceTypeModel) {
        PrintError("CopyModel: model %d is not loaded", rsid);
        return nullptr;
    }
    const auto* source = static_cast<const DS3_model_tag*>(handle);
    const uint64_t materialBytes = uint64_t(source->numMaterials) * kModelMaterialBytes;
    if (sizeof(DS3_model_tag) + materialBytes > Room(*cursor, end)) {
        PrintError("CopyModel: model %d with %u materials does not fit", rsid, unsigned(source->numMaterials));
        return nullptr;
    }
    auto* copy = reinterpret_cast<DS3_model_tag*>(*cursor);
    std::memcpy(copy, source, sizeof(DS3_model_tag));
    auto* materials = reinterpret_cast<HLSL_material*>(*cursor + sizeof(DS3_model_tag));
    if (materialBytes) std::memcpy(materials, source->materialList.get(), size_t(materialBytes));
    copy->materialList = materials;
    *cursor += sizeof(DS3_model_tag) + size_t(materialBytes);
    return copy;
}
