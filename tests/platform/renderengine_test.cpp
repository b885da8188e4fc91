// The render engine's rules that hold without a GPU: LCD mode requests, the allocation hooks,
// refused displays; and the language mapping of the frame sequence.
#include "platform/renderengine.h"

#include <gtest/gtest.h>

#include "host/arena.h"
#include "lib/memory.h"
#include "platform/render.h"
#include "support/device_heap.h"

namespace {

TEST(RenderEngineRules, LcdModeRequests)
{
    ASSERT_EQ(RenderSetLcdMode(kLcdMono), 1);
    m_ChangeLcdMode = 0;
    EXPECT_EQ(RenderSetLcdMode(kLcdMono), 1);
    EXPECT_EQ(m_ChangeLcdMode, 0) << "the mode already asked for changes nothing";
    EXPECT_EQ(RenderSetLcdMode(0x701), 0);
    EXPECT_EQ(RenderSetLcdMode(0), 0);
    EXPECT_EQ(m_LcdMode, kLcdMono);
    EXPECT_EQ(RenderSetLcdMode(kLcdStereo), 1);
    EXPECT_EQ(m_LcdMode, kLcdStereo);
    EXPECT_EQ(m_ChangeLcdMode, 1);
    m_ChangeLcdMode = 0;
    m_LcdMode = kLcdMono;
}

TEST(RenderEngineRules, AllocationHooksTakeFromTheHeapOfTheArea)
{
    ASSERT_EQ(UseFreshDeviceHeap(1 << 20), 1);
    void* p = GLallocator(kAreaMain, 0, 0, 1000);
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(ArenaContains(p, 1000));
    EXPECT_GE(static_cast<uint8_t*>(p), HostDeviceMemoryAddress());
    unsigned before = 0, after = 0;
    DefaultHeapAllocations(&before);
    GLdeallocator(kAreaMain, 0, 0, p);
    DefaultHeapAllocations(&after);
    EXPECT_EQ(after + 1, before);

    EXPECT_EQ(GLallocator(0x40000, 0, 0, 64), nullptr) << "unknown area";
    EXPECT_EQ(GLallocator(kAreaVramA, 0, 0, 64), nullptr) << "no video memory heap yet";
    EXPECT_EQ(GLallocator(kAreaMain, 0, 0, 0), nullptr);
    EXPECT_EQ(GLallocator(kAreaMain, 0, 0, 2 << 20), nullptr) << "more than the heap holds";
    GLdeallocator(0x40000, 0, 0, HostDeviceMemoryAddress());  // ignored
    ReleaseDeviceHeap();
}

TEST(RenderEngineRules, UnknownDisplaysAreRefused)
{
    EXPECT_EQ(RenderWaitVsync(0x403), 0);
    EXPECT_EQ(RenderWaitVsync(kDisplayUpperRight), 0);
    EXPECT_EQ(RenderGetBackBuffer(kDisplayBoth), 0u);
    EXPECT_EQ(SetRenderTarget(kDisplayUpperLeft), 0) << "nothing to draw into before initialisation";
}

TEST(RenderLanguage, SystemLanguagesMapToTheGamesFive)
{
    EXPECT_EQ(MapSystemLanguage(2), 1);  // French
    EXPECT_EQ(MapSystemLanguage(3), 3);  // German
    EXPECT_EQ(MapSystemLanguage(4), 2);  // Italian
    EXPECT_EQ(MapSystemLanguage(5), 4);  // Spanish
    for (int english : {0, 1, 6, 11, -1}) EXPECT_EQ(MapSystemLanguage(english), 0) << english;
}

}  // namespace
