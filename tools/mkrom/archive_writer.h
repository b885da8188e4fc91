// Writing resource archives: the directory records and layout that the game reads, with every
// resource padded and ordered as its loader requires.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lib/resourceids.h"

namespace mkrom {

// Every loaded block is freed in pieces of whole heap units, so each resource's bytes in memory
// are padded to this many.
constexpr uint32_t kResourcePadding = 128;
constexpr int16_t kTypeGroup = kResourceTypeGroup;
// Ids index the game's resource table, which has this many entries.
constexpr int kMaxResourceIds = 10000;
// The trailer at the end of every archive, and the unit the directory is padded to.
constexpr uint32_t kTrailerBytes = 2048;
// Size of a group directory's header, before its member records.
constexpr uint32_t kGroupHeaderBytes = 16;
// Bit 0 of a (non-group) record's flags: the bytes are stored LZ-compressed.
constexpr uint16_t kFlagCompressed = 1;

struct Resource {
    int id = 0;
    int16_t type = 0;
    std::vector<uint8_t> bytes;     // the data (unused for a group)
    bool compressed = false;        // store LZ-compressed (a member, or a resource on its own)
    std::vector<Resource> members;  // members of a group (type 19), in member order; their ids are unused
};

// Writes one archive that owns the ids [baseId, baseId + numIds): resources are stored back to
// back in id order, ids without a resource get empty records. Returns false with a reason.
//
// Data is padded with zeros to a multiple of kResourcePadding before it is compressed. A resource
// or member marked compressed is stored plain when compressing does not make it smaller; that also
// keeps a group with compressed members from looking like a plain one (equal stored and unpacked
// lengths). Type 0 is never stored compressed (the loader cannot take it), so asking for it is an
// error, as are empty data, members outside a group and groups within groups.
bool WriteArchive(const std::string& path, int baseId, int numIds, std::vector<Resource> resources,
                  std::string* error);

// One archive of the split set: its file is <name>.rez and it may hold the ids [firstId, endId).
struct ArchiveRange {
    const char* name;
    int firstId;
    int endId;
};

// Checks that the ranges are non-empty, inside the resource table, distinctly named and do not
// overlap, and that every resource falls in one of them.
bool CheckArchiveRanges(const std::vector<ArchiveRange>& ranges, const std::vector<Resource>& resources,
                        std::string* error);

// Writes dir/Resource.rez holding every resource; it owns [lowest id, highest id + 1). The ranges
// are checked as for the split set, so both forms accept the same content.
bool WriteSingleArchive(const std::string& dir, const std::vector<ArchiveRange>& ranges,
                        const std::vector<Resource>& resources, std::string* error);

// Writes dir/Resource/<name>.rez for every range, each owning the whole of its range [firstId,
// endId), with the resources that fall in it (an archive may hold none).
bool WriteSplitArchives(const std::string& dir, const std::vector<ArchiveRange>& ranges,
                        const std::vector<Resource>& resources, std::string* error);

// The LZ stream of the game's decompressor: the unpacked size, then literal runs and back
// references.
std::vector<uint8_t> Compress(const uint8_t* data, size_t size);

}  // namespace mkrom
