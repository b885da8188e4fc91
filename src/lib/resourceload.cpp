// Loading and freeing resources, groups and ranges, and setting each up by its type. Types owned
// above this library (collision models) are set up by an initialiser their module registers at
// start-up.
#include "lib/resourceload.h"

#include <cstring>
#include <string>

#include "lib/decompress.h"
#include "lib/memory.h"
#include "lib/objectanim.h"
#include "lib/printing.h"
#include "lib/textoutput.h"
#include "platform/bitmap.h"
#include "platform/fileserver.h"
#include "platform/model.h"
#include "platform/skeleton.h"
#include "platform/sound.h"
#include "platform/utilities.h"

// While a resource is read from its archive and set up, every fault said on the way names the
// archive and the resource: the set-up of a sound or a model, and the unpacking, know only the
// bytes. Returns what was named before, to be put back when the load ends (a load within a load).
static std::string NameInFaults(const resourceHeader* r, int id, int last)
{
    char context[400];
    const char* archive = ResourceArchivePath(r->resourceFile);
    if ((id >> 16) != 0)
        PrintString(context, int(sizeof context), "archive %s, member %d of resource %d: ", archive, id & 0xFFFF, id >> 16);
    else if (last > id)
        PrintString(context, int(sizeof context), "archive %s, resources %d to %d: ", archive, id, last);
    else
        PrintString(context, int(sizeof context), "archive %s, resource %d: ", archive, id);
    return HostSetErrorContext(context);
}

static resourceHeader* Resolve(int id)
{
    resourceHeader* r = nullptr;
    return GetResourceHeader(id, &r) ? r : nullptr;
}

static int IsGroup(const resourceHeader* r) { return r->resourceType == kResourceTypeGroup; }
static int IsCompressed(const resourceHeader* r) { return (r->resourceFlags & kResourceCompressed) != 0; }
// A group is stored compressed when its stored and unpacked sizes differ.
static int GroupIsPacked(const resourceHeader* r) { return r->resourceLength != r->resourceUncompressedLength; }

// Any record that is not stored as it is loaded.
static int IsPacked(const resourceHeader* r) { return IsGroup(r) ? GroupIsPacked(r) : IsCompressed(r); }

static resourceGroupHeader* GroupDirectory(const resourceHeader* group)
{
    return static_cast<resourceGroupHeader*>(group->resourceHandle.get());
}

// The record of a group named by its own id or by one of its members' ids.
static resourceHeader* ResolveGroup(int id)
{
    int group = (id >> 16) != 0 ? id >> 16 : id;
    resourceHeader* r = Resolve(group);
    return r && IsGroup(r) ? r : nullptr;
}

// Reads `length` stored bytes of a record's archive at `offset`; 1 only when all arrived.
static int ReadStored(const resourceHeader* r, int64_t offset, void* buffer, int32_t length)
{
    void* handle = ResourceFileHandle(r->resourceFile);
    if (!handle || offset < 0 || offset > 0x7FFFFFFF) return 0;
    FileSeek(handle, int(offset));
    if (!FileRead(handle, buffer, length) || readLength != uint32_t(length)) {
        // A read that the order to close stopped says nothing of the data.
        if (!done) PrintError("resources: resource data at offset %d cannot be read", int(offset));
        return 0;
    }
    return 1;
}

// Unpacks one stored resource into exactly `size` bytes; the stream must unpack to that size.
static int Unpack(const uint8_t* stored, int32_t storedLength, uint8_t* out, int32_t size)
{
    if (storedLength < 4) return 0;
    if (DecompressedSize(stored, uint32_t(storedLength)) != uint32_t(size) || !DecompressBounded(stored, uint32_t(storedLength), out, uint32_t(size))) {
        PrintError("resources: a compressed resource is damaged");
        return 0;
    }
    return 1;
}

static void FreeBlock(void** block)
{
    if (*block) FreeManagedMemory(*block, 0);
    *block = nullptr;
}

// The types whose set-up a higher module registered.
struct RegisteredInitializer {
    short type;
    ResourceTypeInitializer init;
};
static RegisteredInitializer registeredInitializers[4];

int RegisterResourceInitializer(short type, ResourceTypeInitializer init)
{
    for (RegisteredInitializer& r : registeredInitializers)
        if (!r.init || r.type == type) {
            r = {type, init};
            return 1;
        }
    return PrintError("resources: no room to register the set-up of type %d", int(type));
}

static int RunRegisteredInitializer(uint8_t* data, short type)
{
    for (const RegisteredInitializer& r : registeredInitializers)
        if (r.init && r.type == type) return r.init(data);
    return PrintError("resources: of type %d cannot be initialised", int(type));
}

int InitializeResourceData(uint8_t* data, short type, int, int32_t length)
{
    if (!data) return 0;
    switch (type) {
    case 0: case 1: case 12: case 13: case 14: case 15: case 16: case 17: case 43: case 45: case 46:
    case 50: case 51: case 52: case 94: case 95: case 100: case 104: case 108: case 119: case 123: case 124:
        return 1;
    case 7:
        return InitializeAnimation(data);
    case kResourceTypeCollisionModel:
        return RunRegisteredInitializer(data, type);
    case kResourceTypeLevel:
        return DI_InitializeLevel(reinterpret_cast<DI_level_tag*>(data), length);
    case kResourceTypeObjectAnimation:
        return InitializeObjectAnimation(reinterpret_cast<DI_objectAnimation_tag*>(data), length);
    case kResourceTypeModel:
        return DS3_InitializeModel(data, length);
    case kResourceTypeBitmap:
        return InitializeBitmapResource(data, length);
    case kResourceTypeFontInfo:
        return InitializeFontInfoResourceBounded(data, length);
    case kResourceTypeSound:
        return InitializeSoundResource(reinterpret_cast<DS3_sound_tag*>(data), length);
    default:
        break;
    }
    if ((type >= 58 && type <= 72) || (type >= 77 && type <= 85) || (type >= 87 && type <= 90)) return 1;
    // Every other type is unknown to the game.
    PrintError("resources: of type %d cannot be initialised", int(type));
    return 0;
}

// Loads one resource that is not a group as its own block.
static void* ReadSingle(resourceHeader* r, int index)
{
    if (!r->resourceFile || !ResourceFileHandle(r->resourceFile)) return nullptr;
    if (IsGroup(r)) {
        PrintError("resources: a group is loaded whole or by its members");
        return nullptr;
    }
    if (r->resourceLength <= 0) return nullptr;

    void* data = nullptr;
    if (IsCompressed(r)) {
        // A compressed resource of type 0 is never loaded.
        if (r->resourceType == 0) return nullptr;
        void* stored = nullptr;
        if (!AllocateTempMemory(&stored, r->resourceLength)) return nullptr;
        int ok = ReadStored(r, r->resourceOffset, stored, r->resourceLength) &&
                 AllocateMemory(&data, r->resourceUncompressedLength) &&
                 Unpack(static_cast<uint8_t*>(stored), r->resourceLength, static_cast<uint8_t*>(data),
                        r->resourceUncompressedLength);
        FreeBlock(&stored);
        if (!ok) {
            FreeBlock(&data);
            return nullptr;
        }
    } else {
        if (!AllocateMemory(&data, r->resourceLength)) return nullptr;
        if (!ReadStored(r, r->resourceOffset, data, r->resourceLength)) {
            FreeBlock(&data);
            return nullptr;
        }
    }

    r->resourceHandle = data;
    if (!InitializeResourceData(static_cast<uint8_t*>(data), r->resourceType, index,
                                IsCompressed(r) ? r->resourceUncompressedLength : r->resourceLength)) {
        // A resource whose set-up failed must not look loaded.
        r->resourceHandle = nullptr;
        FreeBlock(&data);
        return nullptr;
    }
    return data;
}

static void* LoadSingle(resourceHeader* r, int index)
{
    const std::string before = NameInFaults(r, index, index);
    void* data = ReadSingle(r, index);
    HostSetErrorContext(before.c_str());
    return data;
}

void* ReadResource(int id)
{
    resourceHeader* r = Resolve(id);
    if (!r) return nullptr;
    if (r->resourceHandle) return r->resourceHandle;
    return LoadSingle(r, id);
}

void* GetResource(int id)
{
    resourceHeader* r = Resolve(id);
    if (!r) return nullptr;
    if (r->resourceHandle) return r->resourceHandle;
    // Only stored bytes that are the data themselves can be used as they are.
    if (IsPacked(r)) return nullptr;
    return LoadSingle(r, id);
}

// Points each member of a group at its data inside a block (or null) and initialises it.
static int SetUpMembers(resourceHeader* group, resourceGroupHeader* directory, uint8_t* data, int packedLayout,
                        const uint8_t* stored)
{
    resourceHeader* members = directory->groupResourceHeaders;
    for (int32_t i = 0; i < directory->numResources; ++i) {
        resourceHeader& m = members[i];
        m.resourceFile = group->resourceFile.get();
        m.resourceHandle = nullptr;
        if (m.resourceLength <= 0) continue;
        if (packedLayout) {
            if (IsCompressed(&m)) {
                if (m.resourceType == 0 || !Unpack(stored, m.resourceLength, data, m.resourceUncompressedLength))
                    return 0;
            } else {
                std::memcpy(data, stored, size_t(m.resourceLength));
            }
            stored += m.resourceLength;
        }
        m.resourceHandle = data;
        if (!InitializeResourceData(data, m.resourceType, i, packedLayout ? m.resourceUncompressedLength : m.resourceLength)) {
            m.resourceHandle = nullptr;
            return 0;
        }
        data += packedLayout ? m.resourceUncompressedLength : m.resourceLength;
    }
    return 1;
}

int InitializeResourceGroup(resourceHeader* group, uint8_t* block)
{
    if (!group || !block || group->resourceHandle) return 0;
    uint8_t* directoryBytes = block + group->resourceLength - group->resourceFlags;
    if (!ValidateGroupDirectory(group, directoryBytes, group->resourceFlags)) {
        PrintError("resources: a group directory is damaged");
        return 0;
    }
    auto* directory = reinterpret_cast<resourceGroupHeader*>(directoryBytes);
    directory->groupResourceData = 0;
    directory->groupResourceHeaders = reinterpret_cast<resourceHeader*>(directoryBytes + sizeof(resourceGroupHeader));
    group->resourceHandle = directory;
    if (!SetUpMembers(group, directory, block, 0, nullptr)) {
        group->resourceHandle = nullptr;
        return 0;
    }
    return 1;
}

int DecompressResourceGroup(resourceHeader* group, uint8_t* stored, uint8_t* block)
{
    if (!group || !stored || !block || group->resourceHandle) return 0;
    const uint8_t* storedDirectory = stored + group->resourceLength - group->resourceFlags;
    if (!ValidateGroupDirectory(group, storedDirectory, group->resourceFlags)) {
        PrintError("resources: a group directory is damaged");
        return 0;
    }
    std::memcpy(block, storedDirectory, group->resourceFlags);
    auto* directory = reinterpret_cast<resourceGroupHeader*>(block);
    directory->groupResourceData = 0;
    directory->groupResourceHeaders = reinterpret_cast<resourceHeader*>(block + sizeof(resourceGroupHeader));
    group->resourceHandle = directory;
    if (!SetUpMembers(group, directory, block + group->resourceFlags, 1, stored)) {
        group->resourceHandle = nullptr;
        return 0;
    }
    return 1;
}

// Reads a whole group record as one block.
static int ReadGroupRecord(resourceHeader* group)
{
    if (group->resourceLength <= 0 || group->resourceHandle) return 0;
    void* block = nullptr;
    if (!GroupIsPacked(group)) {
        if (!AllocateMemory(&block, group->resourceLength)) return 0;
        if (!ReadStored(group, group->resourceOffset, block, group->resourceLength) ||
            !InitializeResourceGroup(group, static_cast<uint8_t*>(block))) {
            FreeBlock(&block);
            return 0;
        }
        return 1;
    }
    void* stored = nullptr;
    if (!AllocateTempMemory(&stored, group->resourceLength)) return 0;
    int ok = ReadStored(group, group->resourceOffset, stored, group->resourceLength) &&
             AllocateMemory(&block, group->resourceUncompressedLength) &&
             DecompressResourceGroup(group, static_cast<uint8_t*>(stored), static_cast<uint8_t*>(block));
    FreeBlock(&stored);
    if (!ok) FreeBlock(&block);
    return ok;
}

static int LoadGroupRecord(resourceHeader* group, int id)
{
    const std::string before = NameInFaults(group, id, id);
    const int ok = ReadGroupRecord(group);
    HostSetErrorContext(before.c_str());
    return ok;
}

int LoadResourceGroup(int id)
{
    resourceHeader* group = ResolveGroup(id);
    if (!group || !group->resourceFile) return 0;
    if (!ResourceFileHandle(group->resourceFile)) return 1;
    if (group->resourceHandle) return 0;
    return LoadGroupRecord(group, (id >> 16) != 0 ? id >> 16 : id);
}

int OpenResourceGroup(int id)
{
    resourceHeader* group = ResolveGroup(id);
    if (!group) return 0;
    if (group->resourceHandle) return 1;
    if (!group->resourceFile || group->resourceLength <= 0) return 0;

    void* block = nullptr;
    int32_t size = group->resourceFlags;
    if (!AllocateMemory(&block, size)) return 0;
    const std::string before = NameInFaults(group, (id >> 16) != 0 ? id >> 16 : id, 0);
    int ok = ReadStored(group, int64_t(group->resourceOffset) + group->resourceLength - size, block, size);
    if (ok && !ValidateGroupDirectory(group, static_cast<uint8_t*>(block), size))
        ok = PrintError("resources: a group directory is damaged");
    HostSetErrorContext(before.c_str());
    if (!ok) {
        FreeBlock(&block);
        return 0;
    }
    auto* directory = static_cast<resourceGroupHeader*>(block);
    directory->groupResourceData = 1;  // the directory alone; members load one by one
    directory->groupResourceHeaders = reinterpret_cast<resourceHeader*>(static_cast<uint8_t*>(block) + sizeof(resourceGroupHeader));
    group->resourceHandle = directory;
    resourceHeader* members = directory->groupResourceHeaders;
    for (int32_t i = 0; i < directory->numResources; ++i) {
        members[i].resourceHandle = nullptr;
        members[i].resourceFile = group->resourceFile.get();
    }
    return 1;
}

int CloseResourceGroup(int id)
{
    int groupId = (id >> 16) != 0 ? id >> 16 : id;
    resourceHeader* group = ResolveGroup(groupId);
    if (!group) return 0;
    resourceGroupHeader* directory = GroupDirectory(group);
    if (!directory) return 1;
    resourceHeader* members = directory->groupResourceHeaders;
    for (int32_t i = 0; i < directory->numResources; ++i)
        if (members[i].resourceHandle && !DisposeResource((groupId << 16) + i)) return 0;
    // With every member freed, the directory is all that is left of the group's block.
    if (!FreeManagedMemory(directory, 0)) return 0;
    group->resourceHandle = nullptr;
    return 1;
}

int UnloadResourceGroup(int id)
{
    resourceHeader* group = ResolveGroup(id);
    if (!group) return 0;
    resourceGroupHeader* directory = GroupDirectory(group);
    if (!directory) return 1;
    resourceHeader* members = directory->groupResourceHeaders;
    for (int32_t i = 0; i < directory->numResources; ++i) {
        resourceHeader& m = members[i];
        if (m.resourceType != 0 && !m.resourceHandle) return 0;
        if (!m.resourceHandle) continue;
        if (!FreeManagedMemory(m.resourceHandle, uint32_t(m.resourceUncompressedLength))) return 0;
        m.resourceHandle = nullptr;
    }
    if (!FreeManagedMemory(directory, group->resourceFlags)) return 0;
    group->resourceHandle = nullptr;
    return 1;
}

int DisposeResource(int id)
{
    resourceHeader* r = Resolve(id);
    if (!r) return 0;
    if (!r->resourceHandle) return 1;
    // A group's data is its directory: its members go first (an unbounded free would take them
    // with it or miss the directory).
    if (IsGroup(r)) return CloseResourceGroup(id);
    if (!FreeManagedMemory(r->resourceHandle, uint32_t(r->resourceUncompressedLength))) return 0;
    r->resourceHandle = nullptr;
    return 1;
}

int DisposeResourceRange(int first, int last)
{
    if (!Resolve(first)) return 0;
    for (int id = first; id <= last; ++id) {
        resourceHeader* r = Resolve(id);
        if (!r) return 0;
        if (IsGroup(r) ? !UnloadResourceGroup(id) : !DisposeResource(id)) return 0;
    }
    return 1;
}

// Clears the data of every record of [first, last] that points into [block, block + size):
// undoes a range load that failed part way.
static void ForgetRange(int first, int last, const uint8_t* block, int64_t size)
{
    for (int id = first; id <= last; ++id) {
        resourceHeader* r = &resourceHeaders[id];
        auto* data = static_cast<const uint8_t*>(r->resourceHandle.get());
        if (data && data >= block && data < block + size) r->resourceHandle = nullptr;
    }
}

int LoadResourceRange(int first, int last)
{
    resourceHeader* head = Resolve(first);
    if (!head || (first >> 16) != 0 || !head->resourceFile) return 0;
    if (!ResourceFileHandle(head->resourceFile)) return 1;
    if (first > last) return 1;
    resourceFileHeader_tag* file = head->resourceFile;
    if (last >= file->baseResourceNum + file->numResources) {
        PrintError("resources: %d to %d are not all in one archive", first, last);
        return 0;
    }

    // The records must lie back to back in the file and none may be loaded already.
    int64_t start = -1, stored = 0, unpacked = 0;
    int packed = 0;
    for (int id = first; id <= last; ++id) {
        const resourceHeader* r = &resourceHeaders[id];
        if (r->resourceHandle) return 0;
        if (r->resourceLength <= 0) continue;
        if (start < 0) start = r->resourceOffset;
        if (r->resourceOffset != start + stored) {
            PrintError("resources: %d to %d are not stored back to back", first, last);
            return 0;
        }
        stored += r->resourceLength;
        unpacked += r->resourceUncompressedLength;
        packed |= IsPacked(r);
    }
    if (start < 0) return 1;
    if (stored > 0x7FFFFFFF || unpacked > 0x7FFFFFFF) return 0;

    const std::string before = NameInFaults(head, first, last);
    void* block = nullptr;
    void* source = nullptr;
    int ok = 1;
    if (!packed) {
        ok = AllocateMemory(&block, int(stored)) && ReadStored(head, start, block, int32_t(stored));
        source = block;
    } else {
        ok = AllocateTempMemory(&source, int(stored)) && ReadStored(head, start, source, int32_t(stored)) &&
             AllocateMemory(&block, int(unpacked));
    }

    uint8_t* in = static_cast<uint8_t*>(source);
    uint8_t* out = static_cast<uint8_t*>(block);
    for (int id = first; ok && id <= last; ++id) {
        resourceHeader* r = &resourceHeaders[id];
        if (r->resourceLength <= 0) continue;
        if (IsGroup(r)) {
            ok = packed ? DecompressResourceGroup(r, in, out) : InitializeResourceGroup(r, out);
        } else {
            if (packed) {
                if (IsCompressed(r))
                    ok = r->resourceType != 0 && Unpack(in, r->resourceLength, out, r->resourceUncompressedLength);
                else
                    std::memcpy(out, in, size_t(r->resourceLength));
            }
            if (ok) {
                r->resourceHandle = out;
                ok = InitializeResourceData(out, r->resourceType, id, packed ? r->resourceUncompressedLength : r->resourceLength);
            }
        }
        in += r->resourceLength;
        out += packed ? r->resourceUncompressedLength : r->resourceLength;
    }

    if (packed) FreeBlock(&source);
    HostSetErrorContext(before.c_str());
    if (!ok) {
        // All or nothing: a range that failed part way leaves nothing loaded and nothing allocated.
        if (block) ForgetRange(first, last, static_cast<uint8_t*>(block), packed ? unpacked : stored);
        FreeBlock(&block);
        return 0;
    }
    return 1;
}

int LoadResourceRange1x1(int first, int last)
{
    resourceHeader* head = Resolve(first);
    if (!head || !head->resourceFile) return 0;
    if (!ResourceFileHandle(head->resourceFile)) return 1;
    for (int id = first; id <= last; ++id) {
        resourceHeader* r = Resolve(id);
        if (!r) return 0;
        if (!IsGroup(r)) {
            if (r->resourceLength <= 0 || r->resourceHandle) continue;
            if (!LoadSingle(r, id)) return 0;
            continue;
        }
        if (!r->resourceFile) return 0;
        if (!ResourceFileHandle(r->resourceFile)) continue;
        if (r->resourceHandle) return 0;
        if (!LoadGroupRecord(r, id)) return 0;
    }
    return 1;
}
