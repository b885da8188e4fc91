// The alley's environment billboards: camera-facing sprites, each of one of 16 kinds whose size
// and facing the alley's environment definition sets. The particle engine is game/particles.h.
#pragma once

#include <cstdint>

struct DS3_bitmap_tag;

constexpr int kNumBillboardKinds = 16;
// The most billboards an alley's list may hold.
constexpr int kMaxEnvBillboards = 64;

// An alley's stored billboard list (a member of its area group): an int32 count, then count of
// these records.
struct EnvBillboardEntry {
    float x, y, z;
    int32_t kind;         // 0..15
    int32_t textureRSID;  // a loaded bitmap
};
static_assert(sizeof(EnvBillboardEntry) == 20, "stored billboards are 20 bytes");

struct EnvBillboardData {
    float x, y, z;
    int billboardOffset;  // the kind, 0..15
    DS3_bitmap_tag* texture;
    EnvBillboardData* next;
};

extern EnvBillboardData* envBillboards;

// Sets the size of a kind and whether it turns about z only. 0 (nothing changed) for a kind
// outside 0..15.
int SetEnvBillboardInfo(int kind, int size, int zStatic);
// The size and facing flag of a kind (0 for a kind outside 0..15).
int GetEnvBillboardSize(int kind);
int GetEnvBillboardZStatic(int kind);
// Adds the billboards of a stored list (size bytes at data) to the list. A damaged list (cut
// short, a count outside 0..64, a kind outside 0..15, a position that is not a finite number, a
// texture that is not loaded) is refused whole with a message: 0, and nothing is added.
int LoadEnvBillboards(const void* data, int size);
// The corners of a billboard's quad in the world (anticlockwise from the lower left), facing the
// scene camera as its kind says: the whole quad turned to the camera, or, for a kind that turns
// about z only, standing upright. 0 for a kind outside 0..15.
int EnvBillboardCorners(const EnvBillboardData& b, float corners[4][3]);
// Prepares each billboard's quad facing the camera; the drawing itself is empty here. Always 1.
int DrawEnvBillboards();
// Frees the list. 0 when a node cannot be freed.
int DisposeEnvBillboards();
