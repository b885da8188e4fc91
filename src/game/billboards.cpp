// Environment billboards: a list of camera-facing sprites with a size and a facing per kind.
// Drawing is empty on this platform; each billboard's quad is still prepared with the camera's
// billboard matrix its kind selects.
#include "game/billboards.h"

#include "host/errorlog.h"
#include "lib/matrix.h"
#include "lib/memory.h"
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

int DrawEnvBillboards()
{
    for (EnvBillboardData* b = envBillboards; b; b = b->next) {
        if (!KindValid(b->billboardOffset)) continue;
        const int kind = b->billboardOffset;
        // The quad's corners turned to face the camera; nothing is queued on this platform.
        float corner[4] = {float(envBillboardSize[kind]), 0.0f, float(envBillboardSize[kind]), 1.0f};
        composePoint(corner, envBillboardZstaticFlag[kind] ? ZbillboardXform : billboardXform);
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
