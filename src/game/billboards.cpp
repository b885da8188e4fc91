// Environment billboards: a list of camera-facing sprites with a size and a facing per kind,
// filled from the alley's stored list. Drawing is empty on this platform; each billboard's quad is
// still turned to the camera with the billboard matrix its kind selects, every frame.
#include "game/billboards.h"

#include <cmath>
#include <cstring>

#include "host/errorlog.h"
#include "lib/matrix.h"
#include "lib/memory.h"
#include "lib/resources.h"
#include "platform/camera.h"

EnvBillboardData* envBillboards = nullptr;
static int envBillboardSize[kNumBillboardKinds];
static int envBillboardZstaticFlag[kNumBillboardKinds];

static int KindValid(int kind) { return unsigned(kind) < unsigned(kNumBillboardKinds); }

int SetEnvBillboardInfo(int kind, int size, int zStatic)
{
    if (!KindValid(kind)) return 0;
    envBillboardSize[kind] = size;
    envBillboardZstaticFlag[kind] = zStatic;
    return 1;
}

int GetEnvBillboardSize(int kind) { return KindValid(kind) ? envBillboardSize[kind] : 0; }
int GetEnvBillboardZStatic(int kind) { return KindValid(kind) ? envBillboardZstaticFlag[kind] : 0; }

// Every entry is checked before any billboard is added, so a damaged list adds nothing.
static int CheckEntry(const EnvBillboardEntry& e, int i, DS3_bitmap_tag** texture)
{
    if (!std::isfinite(e.x) || !std::isfinite(e.y) || !std::isfinite(e.z))
        return PrintError("billboards: billboard %d stands nowhere", i);
    if (!KindValid(e.kind)) return PrintError("billboards: billboard %d is of kind %d, not 0..15", i, int(e.kind));
    void* bitmap = nullptr;
    if (!ResourceLoaded(e.textureRSID) || !GetResourceHandle(e.textureRSID, &bitmap) || !bitmap)
        return PrintError("billboards: billboard %d has no texture %d", i, int(e.textureRSID));
    *texture = static_cast<DS3_bitmap_tag*>(bitmap);
    return 1;
}

int LoadEnvBillboards(const void* data, int size)
{
    int32_t count = 0;
    if (!data || size < int(sizeof count)) return PrintError("billboards: the list is cut short");
    std::memcpy(&count, data, sizeof count);
    const int record = int(sizeof(EnvBillboardEntry));
    if (count < 0 || count > kMaxEnvBillboards || int(sizeof count) + count * record > size)
        return PrintError("billboards: a list of %d billboards in %d bytes", int(count), size);
    EnvBillboardEntry entries[kMaxEnvBillboards];
    DS3_bitmap_tag* textures[kMaxEnvBillboards];
    std::memcpy(entries, static_cast<const uint8_t*>(data) + sizeof count, size_t(count) * sizeof(EnvBillboardEntry));
    for (int i = 0; i < count; ++i)
        if (!CheckEntry(entries[i], i, &textures[i])) return 0;
    // Appended in the stored order, after any billboards already listed.
    EnvBillboardData** tail = &envBillboards;
    while (*tail) tail = &(*tail)->next;
    for (int i = 0; i < count; ++i) {
        void* node = nullptr;
        if (!AllocateClearedMemory(&node, int(sizeof(EnvBillboardData)))) return PrintError("billboards: no memory for billboard %d", i);
        EnvBillboardData* b = static_cast<EnvBillboardData*>(node);
        b->x = entries[i].x;
        b->y = entries[i].y;
        b->z = entries[i].z;
        b->billboardOffset = entries[i].kind;
        b->texture = textures[i];
        *tail = b;
        tail = &b->next;
    }
    return 1;
}

int EnvBillboardCorners(const EnvBillboardData& b, float corners[4][3])
{
    if (!KindValid(b.billboardOffset)) return 0;
    const int kind = b.billboardOffset;
    const float half = float(envBillboardSize[kind]) / 2.0f;
    // In the sprite's own frame the quad lies across x (width) and z (height), facing -y.
    static const float kCorner[4][2] = {{-1.0f, -1.0f}, {1.0f, -1.0f}, {1.0f, 1.0f}, {-1.0f, 1.0f}};
    for (int c = 0; c < 4; ++c) {
        float v[3] = {kCorner[c][0] * half, 0.0f, kCorner[c][1] * half};
        composeNormal(v, envBillboardZstaticFlag[kind] ? ZbillboardXform : billboardXform);
        corners[c][0] = b.x + v[0];
        corners[c][1] = b.y + v[1];
        corners[c][2] = b.z + v[2];
    }
    return 1;
}

int DrawEnvBillboards()
{
    // The quads are made and nothing is queued on this platform.
    for (EnvBillboardData* b = envBillboards; b; b = b->next) {
        float corners[4][3];
        EnvBillboardCorners(*b, corners);
    }
    return 1;
}

int DisposeEnvBillboards()
{
    while (envBillboards) {
        EnvBillboardData* next = envBillboards->next;
        void* node = envBillboards;
        if (!DestroyMemory(&node)) return PrintError("billboards: a billboard cannot be freed");
        envBillboards = next;
    }
    return 1;
}
