// Archive layout, front to back: the resources' stored bytes back to back in id order, zero
// padding to a whole trailer unit, the directory (one record per owned id) padded to a whole
// trailer unit, and the 2048-byte trailer whose first bytes are the archive's header record.
#include "archive_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <set>

#include "lib/resources.h"

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "records are written in host byte order");
static_assert(mkrom::kResourcePadding == uint32_t(::kResourcePadding) && mkrom::kTypeGroup == kResourceTypeGroup &&
                  mkrom::kTrailerBytes == uint32_t(kArchiveTrailerBytes) && mkrom::kFlagCompressed == kResourceCompressed &&
                  mkrom::kGroupHeaderBytes == sizeof(resourceGroupHeader),
              "the writer's layout constants are the loader's");

namespace mkrom {

// Builds are reproducible: every archive carries the same time stamp
// (year, month, day of week, day, hour, minute, second, millisecond).
static const int16_t kTimeStamp[8] = {2024, 1, 1, 1, 12, 0, 0, 0};

// Offsets and lengths are signed 32-bit in the records; staying well below keeps sums safe.
static const uint32_t kMaxArchiveBytes = 1u << 30;

static uint32_t RoundUp(uint32_t n, uint32_t unit) { return (n + unit - 1) / unit * unit; }

static std::string Describe(int id, int member)
{
    std::string s = "resource " + std::to_string(id);
    if (member >= 0) s += " member " + std::to_string(member);
    return s;
}

template <class Record>
static void Append(std::vector<uint8_t>& out, const Record& record)
{
    const auto* p = reinterpret_cast<const uint8_t*>(&record);
    out.insert(out.end(), p, p + sizeof(Record));
}

// Appends one resource's or member's stored bytes to file and fills in its record (all but type
// for a member, which the caller sets).
static bool StoreData(const Resource& r, int id, int member, std::vector<uint8_t>& file, resourceHeader* record,
                      std::string* error)
{
    if (r.bytes.empty()) {
        *error = Describe(id, member) + " has no data";
        return false;
    }
    if (!r.members.empty()) {
        *error = Describe(id, member) + " has members but is not a group";
        return false;
    }
    if (r.compressed && r.type == 0) {
        *error = Describe(id, member) + " is of type 0, which cannot be stored compressed";
        return false;
    }
    if (r.bytes.size() > kMaxArchiveBytes) {
        *error = Describe(id, member) + " is larger than an archive may be";
        return false;
    }
    std::vector<uint8_t> padded = r.bytes;
    padded.resize(RoundUp(uint32_t(padded.size()), kResourcePadding), 0);

    record->resourceOffset = int32_t(file.size());
    record->resourceUncompressedLength = int32_t(padded.size());
    record->resourceType = r.type;
    std::vector<uint8_t> packed;
    if (r.compressed) packed = Compress(padded.data(), padded.size());
    if (r.compressed && packed.size() < padded.size()) {
        record->resourceLength = int32_t(packed.size());
        record->resourceFlags = kFlagCompressed;
        file.insert(file.end(), packed.begin(), packed.end());
    } else {
        record->resourceLength = int32_t(padded.size());
        record->resourceFlags = 0;
        file.insert(file.end(), padded.begin(), padded.end());
    }
    return true;
}

// Members one after another, then the group directory (header and member records, padded).
static bool StoreGroup(const Resource& group, std::vector<uint8_t>& file, resourceHeader* record, std::string* error)
{
    const int id = group.id;
    if (!group.bytes.empty()) {
        *error = Describe(id, -1) + " is a group: its data is its members";
        return false;
    }
    if (group.members.empty()) {
        *error = Describe(id, -1) + " is a group without members";
        return false;
    }
    const uint32_t directoryBytes =
        RoundUp(kGroupHeaderBytes + uint32_t(group.members.size() * sizeof(resourceHeader)), kResourcePadding);
    if (directoryBytes > 0xFFFF) {
        *error = Describe(id, -1) + " has too many members for its directory size to fit the flags";
        return false;
    }

    const uint32_t start = uint32_t(file.size());
    std::vector<resourceHeader> members(group.members.size(), resourceHeader{});
    uint64_t unpackedMembers = 0;
    bool anyCompressed = false;
    for (size_t m = 0; m < group.members.size(); m++) {
        const Resource& member = group.members[m];
        if (member.type == kTypeGroup) {
            *error = Describe(id, int(m)) + " is a group; groups do not nest";
            return false;
        }
        if (!StoreData(member, id, int(m), file, &members[m], error)) return false;
        unpackedMembers += uint32_t(members[m].resourceUncompressedLength);
        if (unpackedMembers > kMaxArchiveBytes) {
            *error = Describe(id, -1) + " unpacks to more than an archive may hold";
            return false;
        }
        anyCompressed |= (members[m].resourceFlags & kFlagCompressed) != 0;
    }

    resourceGroupHeader header{};  // the loader's fields stay 0 in the file
    header.numResources = int32_t(group.members.size());
    std::vector<uint8_t> directory;
    Append(directory, header);
    for (const resourceHeader& m : members) Append(directory, m);
    directory.resize(directoryBytes, 0);
    file.insert(file.end(), directory.begin(), directory.end());

    record->resourceOffset = int32_t(start);
    record->resourceLength = int32_t(file.size() - start);
    // A plain group loads as stored; a compressed one unpacks to its directory, then its members.
    record->resourceUncompressedLength = anyCompressed ? int32_t(directoryBytes + unpackedMembers) : record->resourceLength;
    record->resourceType = kTypeGroup;
    record->resourceFlags = uint16_t(directoryBytes);
    // Compressed members are stored only when smaller, so a compressed group is always shorter
    // stored than unpacked; equal lengths would make the loader take it for a plain one.
    if (anyCompressed && record->resourceLength >= record->resourceUncompressedLength) {
        *error = Describe(id, -1) + ": compressed group is not shorter than unpacked";
        return false;
    }
    return true;
}

// Writes bytes to path through a temporary file, so that a failure never leaves half a file.
static bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error)
{
    const std::string temp = path + ".tmp";
    FILE* f = fopen(temp.c_str(), "wb");
    if (!f) {
        *error = "cannot create " + temp + ": " + strerror(errno);
        return false;
    }
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    int savedErrno = errno;
    if (fclose(f) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (ok && rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        remove(temp.c_str());
        *error = "cannot write " + path + ": " + strerror(savedErrno);
    }
    return ok;
}

bool WriteArchive(const std::string& path, int baseId, int numIds, std::vector<Resource> resources,
                  std::string* error)
{
    if (baseId < 0 || numIds < 0 || baseId > kMaxResourceIds - numIds) {
        *error = path + ": ids [" + std::to_string(baseId) + ", " + std::to_string(int64_t(baseId) + numIds) +
                 ") do not fit the resource table of " + std::to_string(kMaxResourceIds) + " entries";
        return false;
    }
    std::sort(resources.begin(), resources.end(), [](const Resource& a, const Resource& b) { return a.id < b.id; });
    for (size_t i = 0; i < resources.size(); i++) {
        const int id = resources[i].id;
        if (id < baseId || id >= baseId + numIds) {
            *error = path + ": " + Describe(id, -1) + " is outside the archive's ids [" + std::to_string(baseId) +
                     ", " + std::to_string(baseId + numIds) + ")";
            return false;
        }
        if (i > 0 && resources[i - 1].id == id) {
            *error = path + ": " + Describe(id, -1) + " appears twice";
            return false;
        }
    }

    std::vector<uint8_t> file;
    std::vector<resourceHeader> directory(size_t(numIds), resourceHeader{});
    int numGroups = 0;
    size_t next = 0;
    for (int i = 0; i < numIds; i++) {
        resourceHeader& record = directory[size_t(i)];
        // Empty ids point where the next data starts, so any range of ids reads as one block.
        record.resourceOffset = int32_t(file.size());
        if (next == resources.size() || resources[next].id != baseId + i) continue;
        const Resource& r = resources[next++];
        bool ok = r.type == kTypeGroup ? StoreGroup(r, file, &record, error) : StoreData(r, r.id, -1, file, &record, error);
        if (!ok) {
            *error = path + ": " + *error;
            return false;
        }
        if (r.type == kTypeGroup) numGroups++;
        if (file.size() > kMaxArchiveBytes) {
            *error = path + ": the archive grows past 1 GB";
            return false;
        }
    }

    const uint32_t directoryStart = RoundUp(uint32_t(file.size()), kTrailerBytes);
    const uint32_t directoryBytes = RoundUp(uint32_t(directory.size() * sizeof(resourceHeader)), kTrailerBytes);
    file.resize(directoryStart, 0);
    for (const resourceHeader& record : directory) Append(file, record);
    file.resize(directoryStart + directoryBytes, 0);

    resourceFileHeader_tag header{};
    header.baseResourceNum = baseId;
    header.numResources = numIds;
    header.numGroupResources = numGroups;
    std::copy(std::begin(kTimeStamp), std::end(kTimeStamp), header.timeStamp);
    Append(file, header);
    file.resize(directoryStart + directoryBytes + kTrailerBytes, 0);
    return WriteFileAtomically(path, file, error);
}

bool CheckArchiveRanges(const std::vector<ArchiveRange>& ranges, const std::vector<Resource>& resources,
                        std::string* error)
{
    std::set<std::string> names;
    for (const ArchiveRange& r : ranges) {
        const std::string name = r.name ? r.name : "";
        if (name.empty() || name.find('/') != std::string::npos) {
            *error = "archive name \"" + name + "\" is not a plain file name";
            return false;
        }
        if (!names.insert(name).second) {
            *error = "archive " + name + " is named twice";
            return false;
        }
        if (r.firstId < 0 || r.firstId >= r.endId || r.endId > kMaxResourceIds) {
            *error = "archive " + name + " has ids [" + std::to_string(r.firstId) + ", " + std::to_string(r.endId) +
                     "), not a range inside [0, " + std::to_string(kMaxResourceIds) + ")";
            return false;
        }
    }
    for (size_t i = 0; i < ranges.size(); i++) {
        for (size_t j = i + 1; j < ranges.size(); j++) {
            const ArchiveRange& a = ranges[i];
            const ArchiveRange& b = ranges[j];
            if (a.firstId < b.endId && b.firstId < a.endId) {
                *error = std::string("archives ") + a.name + " and " + b.name + " share ids";
                return false;
            }
        }
    }
    for (const Resource& res : resources) {
        auto owner = std::find_if(ranges.begin(), ranges.end(),
                                  [&](const ArchiveRange& r) { return res.id >= r.firstId && res.id < r.endId; });
        if (owner == ranges.end()) {
            *error = Describe(res.id, -1) + " is in no archive's id range";
            return false;
        }
    }
    return true;
}

// Writes the resources as one archive owning [lowest id, highest id + 1); none: an empty archive.
static bool WriteOwned(const std::string& path, std::vector<Resource> resources, std::string* error)
{
    if (resources.empty()) return WriteArchive(path, 0, 0, {}, error);
    auto [low, high] = std::minmax_element(resources.begin(), resources.end(),
                                           [](const Resource& a, const Resource& b) { return a.id < b.id; });
    const int base = low->id;
    const int numIds = high->id + 1 - base;
    return WriteArchive(path, base, numIds, std::move(resources), error);
}

static bool MakeDirectory(const std::string& dir, std::string* error)
{
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        *error = "cannot create " + dir + ": " + ec.message();
        return false;
    }
    return true;
}

bool WriteSingleArchive(const std::string& dir, const std::vector<ArchiveRange>& ranges,
                        const std::vector<Resource>& resources, std::string* error)
{
    if (!CheckArchiveRanges(ranges, resources, error) || !MakeDirectory(dir, error)) return false;
    return WriteOwned(dir + "/Resource.rez", resources, error);
}

bool WriteSplitArchives(const std::string& dir, const std::vector<ArchiveRange>& ranges,
                        const std::vector<Resource>& resources, std::string* error)
{
    if (!CheckArchiveRanges(ranges, resources, error)) return false;
    const std::string folder = dir + "/Resource";
    if (!MakeDirectory(folder, error)) return false;
    for (const ArchiveRange& range : ranges) {
        std::vector<Resource> owned;
        for (const Resource& r : resources)
            if (r.id >= range.firstId && r.id < range.endId) owned.push_back(r);
        // Each archive owns its whole range, as the single archive owns every id it spans: a range
        // that the game loads may start or end at an id with no resource (the overlay bitmaps from
        // 3200), and the loader looks the first and the last up in the archive that holds the range.
        if (!WriteArchive(folder + "/" + range.name + ".rez", range.firstId, range.endId - range.firstId,
                          std::move(owned), error))
            return false;
    }
    return true;
}

}  // namespace mkrom
