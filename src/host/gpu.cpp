// The host GPU's life cycle, its error state and the memory it takes through the allocator hooks.
#include <deque>
#include <string>

#include "host/arena.h"
#include "host/gpuinternal.h"
#include "host/host.h"
#include "host/errorlog.h"

static int initialized = 0;
static GpuAllocator allocateHook = nullptr;
static GpuDeallocator releaseHook = nullptr;
// Errors not yet read, oldest first; a few are enough to tell what went wrong.
static std::deque<uint32_t> errors;
static const size_t kMaxErrors = 16;

void GpuSetError(uint32_t code)
{
    if (errors.size() < kMaxErrors) errors.push_back(code);
}

uint32_t GpuGetError()
{
    if (errors.empty()) return kGpuNoError;
    uint32_t code = errors.front();
    errors.pop_front();
    return code;
}

void* GpuAllocate(uint32_t area, uint32_t aim, uint32_t id, int32_t size)
{
    if (!allocateHook || size <= 0) return nullptr;
    void* p = allocateHook(area, aim, id, size);
    // Memory the GPU reads must be arena memory, which it addresses by offset.
    if (p && !ArenaContains(p, uint32_t(size))) {
        GpuRelease(area, aim, id, p);
        return nullptr;
    }
    return p;
}

void GpuRelease(uint32_t area, uint32_t aim, uint32_t id, void* address)
{
    if (releaseHook && address) releaseHook(area, aim, id, address);
}

const uint8_t* GpuArenaBytes(uint32_t address, uint64_t size)
{
    if (!gArenaBase || address == 0) return nullptr;
    if (uint64_t(address) + size > gArenaSize) return nullptr;
    return gArenaBase + address;
}

uint32_t GpuPhysicalAddress(const void* p)
{
    if (!p) return 0;
    return ArenaOffset(p);
}

uint8_t* GpuVramStart(uint32_t area)
{
    if (area == kGpuAreaVramA) return HostVramAddress(0);
    if (area == kGpuAreaVramB) return HostVramAddress(1);
    return nullptr;
}

uint32_t GpuVramSize(uint32_t area)
{
    return area == kGpuAreaVramA || area == kGpuAreaVramB ? kVramBankSize : 0;
}

int GpuInitialize(GpuAllocator allocate, GpuDeallocator release)
{
    if (initialized) {
        GpuSetError(kGpuInvalidOperation);
        return 0;
    }
    std::string error;
    if (!GpuContextCreate(gHostOptions.headless, gHostOptions.scale, &error))
        return PrintError("the GPU could not be started: %s", error.c_str());
    allocateHook = allocate;
    releaseHook = release;
    errors.clear();
    GpuExecReset();
    GpuDisplayReset();
    GpuDrawReset();
    GpuProgramsReset();
    GpuSetView(gHostOptions.view);
    initialized = 1;
    return 1;
}

void GpuFinalize()
{
    if (!initialized) return;
    GpuCmdlistsShutdown();
    GpuDisplayShutdown();
    GpuDrawShutdown();
    GpuProgramsShutdown();
    GpuTexturesShutdown();
    GpuContextDestroy();
    allocateHook = nullptr;
    releaseHook = nullptr;
    initialized = 0;
}

int GpuIsInitialized() { return initialized; }

// In the sanitizer builds: the sanitizers' run-time follows each thread's dynamic thread-local
// blocks (those of libraries loaded at run time, such as the GL driver's), and finds where a block
// begins by a guess made for older C libraries: a block that happens to start 16 bytes into a page
// is taken to carry a header this C library no longer writes, and two words of the heap before it
// are read as the block's address and size. The leak checker then scans that bogus range at the
// program's exit and crashes ("Tracer caught signal 11"), however sound the program; the race
// checker would clear the shadow of such a range. With this C library the guess finds no real
// block otherwise (a block's size is taken as 0: nothing of it is scanned), so turning it off
// changes nothing of what is checked; the leak check itself stays on. (Defined here, beside the
// GPU's start, so that every program that loads the GL driver links it.)
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __asan_default_options()
{
    return "intercept_tls_get_addr=0";
}
#endif
#if defined(__SANITIZE_THREAD__)
extern "C" const char* __tsan_default_options()
{
    return "intercept_tls_get_addr=0";
}
#endif

// Under ThreadSanitizer: the software GL driver's worker threads synchronise in code that is not
// instrumented, so the sanitizer sees their handovers (fences torn down after a worker's last
// unlock) as races inside the driver. Reports whose stack is in the driver are not the game's and
// are suppressed; every race in the game's own code is still reported. (Defined here, beside the
// GPU's start, so that every program that uses the GPU links it.)
#if defined(__SANITIZE_THREAD__)
extern "C" const char* __tsan_default_suppressions()
{
    return "race:swrast_dri.so\n";
}
#endif
