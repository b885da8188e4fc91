// The UI's memory slots: bump allocation through blocks of the memory manager, emptied a slot at a
// time.
#include "ui/memoryslots.h"

#include <climits>

#include "lib/memory.h"
#include "lib/printing.h"
#include "lib/strings.h"
#include "shell/globals.h"

int32_t gBasicMemoryNumSlots = 0;
sBasicMemoryInfo* gBasicMemorySlots = nullptr;

// File-name suffixes by language; English names are used as they stand.
static const char* const languageSuffixes[] = {"en.xml", "fr.xml", "it.xml", "gr.xml", "sp.xml"};
static const int numLanguageSuffixes = int(sizeof(languageSuffixes) / sizeof(languageSuffixes[0]));

static sBasicMemoryInfo* SlotInfo(int slot)
{
    if (!gBasicMemorySlots || slot < 0 || slot >= gBasicMemoryNumSlots) return nullptr;
    return &gBasicMemorySlots[slot];
}

int BasicMemory_Init(int slots)
{
    if (slots < 1 || slots > INT_MAX / int(sizeof(sBasicMemoryInfo))) return 0;
    void* table = nullptr;
    if (!AllocateMemory(&table, slots * int(sizeof(sBasicMemoryInfo)))) return 0;
    gBasicMemorySlots = static_cast<sBasicMemoryInfo*>(table);
    gBasicMemoryNumSlots = slots;
    for (int i = 0; i < slots; ++i) {
        gBasicMemorySlots[i].used = 0;
        gBasicMemorySlots[i].allocs = 0;
        gBasicMemorySlots[i].blockSize = basicMemoryBlockSize;
        gBasicMemorySlots[i].head = nullptr;
    }
    return 1;
}

// Hands out size bytes at the block's free pointer.
static void TakeFromBlock(sBasicMemoryInfo* info, sBasicMemoryBlock* block, int size, void** out)
{
    void* p = block->dataPtr.get();
    block->dataPtr.offset += uint32_t(size);
    // The counter is a figure for the statistics; it stops at its largest value.
    info->used = info->used > INT_MAX - size ? INT_MAX : info->used + size;
    ++info->allocs;
    *out = p;
}

int BasicMemory_Alloc(int slot, void** out, int size)
{
    sBasicMemoryInfo* info = SlotInfo(slot);
    if (!info || !out || size < 0) return 0;
    const int headerSize = int(sizeof(sBasicMemoryBlock));
    if (size > INT_MAX - headerSize - (basicMemoryAlignment - 1)) return 0;
    size = (size + basicMemoryAlignment - 1) & ~(basicMemoryAlignment - 1);

    // A request fits the newest block only when it ends strictly before the block's end.
    sBasicMemoryBlock* head = info->head;
    if (head && head->dataEnd.offset - head->dataPtr.offset > uint32_t(size)) {
        TakeFromBlock(info, head, size, out);
        return 1;
    }

    // A new block, big enough for the request; the old head keeps its spare space unused.
    int dataSize = size > info->blockSize ? size : info->blockSize;
    void* raw = nullptr;
    if (!AllocateMemory(&raw, dataSize + headerSize)) return 0;
    auto* block = static_cast<sBasicMemoryBlock*>(raw);
    uint8_t* data = static_cast<uint8_t*>(raw) + headerSize;
    block->data = data;
    block->dataPtr = data;
    // Kept as an offset: the end may be the first byte behind the arena's last heap.
    block->dataEnd.offset = block->data.offset + uint32_t(dataSize);
    block->next = head;
    info->head = block;
    TakeFromBlock(info, block, size, out);
    return 1;
}

int BasicMemory_Free(int slot, void* p)
{
    (void)p;  // the bytes come back when the slot is reset
    sBasicMemoryInfo* info = SlotInfo(slot);
    if (!info) return 0;
    --info->allocs;
    return 1;
}

int BasicMemory_Reset(int slot)
{
    sBasicMemoryInfo* info = SlotInfo(slot);
    if (!info) return 0;
    sBasicMemoryBlock* block = info->head;
    while (block) {
        sBasicMemoryBlock* next = block->next;
        FreeManagedMemory(block, 0);
        block = next;
    }
    info->used = 0;
    info->allocs = 0;
    info->head = nullptr;
    return 1;
}

char* BasicMemory_DupString(int slot, const char* s)
{
    if (!s || !SlotInfo(slot)) return nullptr;
    void* copy = nullptr;
    if (!BasicMemory_Alloc(slot, &copy, StringLength(s) + 1)) return nullptr;
    CopyString(s, static_cast<char*>(copy));
    return static_cast<char*>(copy);
}

int BasicMemory_LenString(const char* s)
{
    if (!s) return 0;
    return (StringLength(s) + 1 + basicMemoryStringAlignment - 1) & ~(basicMemoryStringAlignment - 1);
}

char* BasicMemory_DupLanguageSpecificFilename(int slot, const char* name)
{
    if (!name || !SlotInfo(slot)) return nullptr;
    int length = StringLength(name);
    void* raw = nullptr;
    if (!BasicMemory_Alloc(slot, &raw, length + 4)) return nullptr;
    char* copy = static_cast<char*>(raw);
    CopyString(name, copy);
    if (gLanguage <= 0) return copy;
    if (gLanguage >= numLanguageSuffixes) {
        PrintError("BasicMemory_DupLanguageSpecificFilename: no file suffix for language %d, %s kept", gLanguage,
                   name);
        return copy;
    }
    // The six-character suffix replaces the last three characters ("xml") and ends the name three
    // characters further on; a name shorter than that has nothing to replace.
    if (length < 3) return copy;
    CopyString(languageSuffixes[gLanguage], copy + length - 3);
    return copy;
}
