// Fuzzes the object animation and level initialisation: any bytes loaded as either resource are
// refused or initialised so that every pointer it sets, and everything reached through them,
// lies inside the resource. The first input byte chooses the type.
#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "host/arena.h"
#include "lib/memory.h"
#include "lib/objectanim.h"
#include "platform/model.h"
#include "platform/skeleton.h"

static void SetUpOnce()
{
    HostArenaInit(16 << 20);
    u8* start = HostDeviceMemoryAddress();
    InitMemoryHeap(&deviceHeap, start, start + HostDeviceMemorySize(), 0x2000, 128, 0, 1);
    InitRadianTables();
}

static const uint8_t* blockStart;
static const uint8_t* blockEnd;

static void Check(const void* p, size_t size)
{
    const auto* b = static_cast<const uint8_t*>(p);
    if (b < blockStart || b + size > blockEnd) __builtin_trap();
}

static float Walk(DI_objectAnimation_tag* a, const DS3_model_tag* model, int depth)
{
    Check(a, sizeof *a);
    if (depth > kMaxObjectAnimationDepth) __builtin_trap();
    float sum = 0.0f;
    if (a->numFrames > 0) Check(a->frames.get(), size_t(a->numFrames) * sizeof(DI_objectFrame));
    for (float t : {0.0f, 0.5f, float(a->numFrames) - 0.25f, -3.5f, 1e30f}) {
        matrix m;
        if (ComputeObjectAnimationXform(a, t, const_cast<DS3_model_tag*>(model), m)) sum += m[3][0];
    }
    if (a->numChildren > 0) {
        Check(a->childList.get(), size_t(a->numChildren) * 4);
        for (int i = 0; i < a->numChildren; ++i) sum += Walk(a->childList.get()[i], model, depth + 1);
    }
    return sum;
}

static float WalkLevel(DI_level_tag* level)
{
    float sum = 0.0f;
    Check(level->objectList.get(), size_t(level->numObjects) * 4);
    for (int i = 0; i < level->numObjects; ++i) {
        DI_object_tag* o = level->objectList.get()[i];
        Check(o, sizeof *o);
        Check(o->instances.get(), size_t(o->numInstances) * sizeof(DI_instance_tag));
        for (int k = 0; k < o->numInstances; ++k) sum += o->instances.get()[k].position.x;
    }
    return sum;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool ready = (SetUpOnce(), true);
    (void)ready;
    if (size < 1 || size > (1u << 20)) return 0;
    const int level = data[0] & 1;
    ++data;
    --size;
    void* block = nullptr;
    if (!AllocateClearedMemory(&block, int(size) + 1)) return 0;
    std::memcpy(block, data, size);
    blockStart = static_cast<const uint8_t*>(block);
    blockEnd = blockStart + size;

    static DS3_model_tag model;
    model.rotation[3] = 1.0f;
    model.scale = {1, 1, 1, 1};
    volatile float sink = 0.0f;
    if (level) {
        auto* l = static_cast<DI_level_tag*>(block);
        if (DI_InitializeLevel(l, int32_t(size))) sink = WalkLevel(l);
    } else {
        auto* a = static_cast<DI_objectAnimation_tag*>(block);
        if (InitializeObjectAnimation(a, int32_t(size))) sink = Walk(a, &model, 1);
    }
    (void)sink;
    FreeManagedMemory(block, 0);
    return 0;
}
