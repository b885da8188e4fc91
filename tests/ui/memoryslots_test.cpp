#include "ui/memoryslots.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "host/errorlog.h"
#include "lib/memory.h"
#include "shell/globals.h"
#include "support/device_heap.h"

namespace {

class MemorySlots : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(8 << 20), 1);
        ASSERT_EQ(BasicMemory_Init(basicUiNumberOfMemorySlots), 1);
        HostClearErrorLog();
    }
    void TearDown() override
    {
        gLanguage = 0;
        ReleaseDeviceHeap();
    }
    static unsigned FreeBytes()
    {
        unsigned bytes = 0;
        DefaultHeapMemoryAvailable(&bytes);
        return bytes;
    }
    static uint32_t BlockBytes(const sBasicMemoryBlock* b) { return b->dataEnd.offset - b->data.offset; }
};

TEST_F(MemorySlots, AllocationsBumpThroughOneBlockInEightsAndCount)
{
    const sBasicMemoryInfo& slot = gBasicMemorySlots[2];
    EXPECT_EQ(slot.blockSize, 0x100000);
    void *a = nullptr, *b = nullptr, *c = nullptr, *d = nullptr;
    ASSERT_EQ(BasicMemory_Alloc(2, &a, 5), 1);
    ASSERT_EQ(BasicMemory_Alloc(2, &b, 0), 1);
    ASSERT_EQ(BasicMemory_Alloc(2, &c, 0), 1);
    ASSERT_EQ(BasicMemory_Alloc(2, &d, 4), 1);
    EXPECT_EQ(static_cast<char*>(b) - static_cast<char*>(a), 8);
    EXPECT_EQ(b, c);  // an empty request does not advance
    EXPECT_EQ(d, b);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(a) % 8, 0u);
    EXPECT_EQ(slot.used, 16);
    EXPECT_EQ(slot.allocs, 4);
    ASSERT_TRUE(slot.head);
    EXPECT_EQ(BlockBytes(slot.head), 0x100000u);
    EXPECT_EQ(static_cast<void*>(slot.head.get()->data.get()), a);
    // A free only counts: the next request does not get the freed bytes back.
    EXPECT_EQ(BasicMemory_Free(2, d), 1);
    EXPECT_EQ(slot.allocs, 3);
    void* e = nullptr;
    ASSERT_EQ(BasicMemory_Alloc(2, &e, 4), 1);
    EXPECT_EQ(static_cast<char*>(e) - static_cast<char*>(d), 8);
    // The other slots are untouched.
    EXPECT_EQ(gBasicMemorySlots[1].used, 0);
    EXPECT_FALSE(gBasicMemorySlots[3].head);
}

TEST_F(MemorySlots, ARequestEndingAtTheBlockEndOrLargerThanABlockOpensANewOne)
{
    sBasicMemoryInfo& slot = gBasicMemorySlots[0];
    void *a = nullptr, *b = nullptr, *c = nullptr;
    ASSERT_EQ(BasicMemory_Alloc(0, &a, 0x100000 - 8), 1);
    sBasicMemoryBlock* first = slot.head;
    ASSERT_EQ(BasicMemory_Alloc(0, &b, 8), 1);  // would end exactly at the end
    EXPECT_NE(slot.head.get(), first);
    EXPECT_EQ(slot.head.get()->next.get(), first);
    // Larger than a block: a block of exactly its rounded size, and the next request opens another.
    ASSERT_EQ(BasicMemory_Alloc(0, &c, 0x100000 + 3), 1);
    EXPECT_EQ(BlockBytes(slot.head), 0x100008u);
    EXPECT_EQ(static_cast<void*>(slot.head.get()->data.get()), c);
    sBasicMemoryBlock* big = slot.head;
    ASSERT_EQ(BasicMemory_Alloc(0, &a, 4), 1);
    EXPECT_EQ(slot.head.get()->next.get(), big);
    EXPECT_EQ(slot.used, 0x100000 - 8 + 8 + 0x100008 + 8);
    EXPECT_EQ(slot.allocs, 4);
}

TEST_F(MemorySlots, ResetHandsEveryBlockBack)
{
    unsigned before = FreeBytes();
    void* p = nullptr;
    ASSERT_EQ(BasicMemory_Alloc(4, &p, 100), 1);
    ASSERT_EQ(BasicMemory_Alloc(4, &p, 0x180000), 1);
    EXPECT_LT(FreeBytes(), before - 0x280000);
    EXPECT_EQ(BasicMemory_Reset(4), 1);
    EXPECT_EQ(FreeBytes(), before);
    EXPECT_EQ(gBasicMemorySlots[4].used, 0);
    EXPECT_EQ(gBasicMemorySlots[4].allocs, 0);
    EXPECT_FALSE(gBasicMemorySlots[4].head);
    EXPECT_EQ(gBasicMemorySlots[4].blockSize, 0x100000);
    // An empty slot resets too.
    EXPECT_EQ(BasicMemory_Reset(4), 1);
    EXPECT_EQ(gBasicMemorySlots[4].allocs, 0);
}

TEST_F(MemorySlots, BadRequestsFailAndChangeNothing)
{
    void* p = reinterpret_cast<void*>(1);
    unsigned before = FreeBytes();
    EXPECT_EQ(BasicMemory_Alloc(-1, &p, 4), 0);
    EXPECT_EQ(BasicMemory_Alloc(basicUiNumberOfMemorySlots, &p, 4), 0);
    EXPECT_EQ(BasicMemory_Alloc(0, nullptr, 4), 0);
    EXPECT_EQ(BasicMemory_Alloc(0, &p, -4), 0);
    EXPECT_EQ(BasicMemory_Alloc(0, &p, INT_MIN), 0);
    // Sizes whose rounding or block header would overflow.
    EXPECT_EQ(BasicMemory_Alloc(0, &p, INT_MAX), 0);
    EXPECT_EQ(BasicMemory_Alloc(0, &p, INT_MAX - 15), 0);
    // More than the heap holds.
    EXPECT_EQ(BasicMemory_Alloc(0, &p, 64 << 20), 0);
    EXPECT_EQ(p, reinterpret_cast<void*>(1));
    EXPECT_EQ(gBasicMemorySlots[0].used, 0);
    EXPECT_EQ(gBasicMemorySlots[0].allocs, 0);
    EXPECT_FALSE(gBasicMemorySlots[0].head);
    EXPECT_EQ(FreeBytes(), before);
    EXPECT_EQ(BasicMemory_Free(9, nullptr), 0);
    EXPECT_EQ(BasicMemory_Reset(-1), 0);
    EXPECT_EQ(BasicMemory_DupString(9, "x"), nullptr);
    EXPECT_EQ(BasicMemory_DupString(0, nullptr), nullptr);
    EXPECT_EQ(BasicMemory_DupLanguageSpecificFilename(0, nullptr), nullptr);
    EXPECT_EQ(BasicMemory_Init(0), 0);
    EXPECT_EQ(BasicMemory_Init(INT_MAX), 0);
    EXPECT_EQ(gBasicMemoryNumSlots, basicUiNumberOfMemorySlots);
}

TEST_F(MemorySlots, StringCopiesAndTheirImageLength)
{
    EXPECT_EQ(BasicMemory_LenString(nullptr), 0);
    EXPECT_EQ(BasicMemory_LenString(""), 4);
    EXPECT_EQ(BasicMemory_LenString("abc"), 4);
    EXPECT_EQ(BasicMemory_LenString("abcd"), 8);
    char* s = BasicMemory_DupString(1, "abcd");
    ASSERT_NE(s, nullptr);
    EXPECT_STREQ(s, "abcd");
    EXPECT_EQ(gBasicMemorySlots[1].used, 8);
    // Whatever the lengths before it, every allocation is aligned for the records that hold pointers.
    for (const char* text : {"a", "abcdefghi", "xy"}) {
        char* copy = BasicMemory_DupString(1, text);
        ASSERT_NE(copy, nullptr);
        EXPECT_STREQ(copy, text);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(copy) % 8, 0u) << text;
    }
}

TEST_F(MemorySlots, LanguageSpecificFileNames)
{
    const char* names[] = {"Resource/save.db.xml", "Resource/save.db.fr.xml", "Resource/save.db.it.xml",
                           "Resource/save.db.gr.xml", "Resource/save.db.sp.xml"};
    for (int language = 0; language < 5; ++language) {
        gLanguage = language;
        char* name = BasicMemory_DupLanguageSpecificFilename(3, "Resource/save.db.xml");
        ASSERT_NE(name, nullptr);
        EXPECT_STREQ(name, names[language]);
    }
    // Each copy takes the name's length + 4, rounded.
    EXPECT_EQ(gBasicMemorySlots[3].used, 5 * 24);
    EXPECT_EQ(HostErrorLog(), "");

    // Short names have no "xml" to replace and stay as they are, inside their own allocation.
    gLanguage = 2;
    for (const char* shortName : {"", "a", "ab"}) {
        char* name = BasicMemory_DupLanguageSpecificFilename(3, shortName);
        ASSERT_NE(name, nullptr);
        EXPECT_STREQ(name, shortName);
    }
    EXPECT_STREQ(BasicMemory_DupLanguageSpecificFilename(3, "xml"), "it.xml");

    // Languages without a suffix keep the name, with a message.
    for (int language : {5, 1000, -1}) {
        gLanguage = language;
        char* name = BasicMemory_DupLanguageSpecificFilename(3, "ui.xml");
        ASSERT_NE(name, nullptr);
        EXPECT_STREQ(name, "ui.xml");
    }
    EXPECT_NE(HostErrorLog().find("no file suffix for language 5"), std::string::npos);
}

}  // namespace
