// The alley's environment billboards: camera-facing sprites, each of one of 16 kinds whose size
// and facing the alley's environment definition sets. The particle engine is game/particles.h.
#pragma once

struct DS3_bitmap_tag;

constexpr int kNumBillboardKinds = 16;

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
// Prepares each billboard's quad facing the camera; the drawing itself is empty here. Always 1.
int DrawEnvBillboards();
// Frees the list. 0 when a node cannot be freed.
int DisposeEnvBillboards();
