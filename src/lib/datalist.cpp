// The game data's list of files, sizes and checksums: reading and writing its lines, and the check
// of every listed file at start-up. The checksum is the xxHash library's XXH3: fast enough that
// reading the files, not summing them, is the cost of the check.
#include "lib/datalist.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#define XXH_STATIC_LINKING_ONLY  // the state lives here, not in the library's own allocation
#include <xxhash.h>

#include "host/errorlog.h"
#include "host/files.h"
#include "lib/memory.h"
#include "platform/fileserver.h"
#include "platform/utilities.h"

// The one running checksum; XXH3's state is large and wants its own alignment, so it is static.
static XXH3_state_t checksumState;
// Files are read in pieces of this size.
static const int kReadPiece = 1024 * 1024;

void DataChecksumBegin() { XXH3_64bits_reset(&checksumState); }
void DataChecksumAdd(const void* bytes, size_t length) { XXH3_64bits_update(&checksumState, bytes, length); }
uint64_t DataChecksumEnd() { return XXH3_64bits_digest(&checksumState); }

int DataListIsComment(const char* line, int length) { return length > 0 && line[0] == '#'; }

// Reads an unsigned decimal number of at most `maxDigits` digits that ends at a space or the end.
static int ReadNumber(const char* text, int length, int* used, uint64_t* value, int maxDigits)
{
    uint64_t n = 0;
    int i = 0;
    for (; i < length && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (i == maxDigits) return 0;
        n = n * 10 + uint64_t(text[i] - '0');
    }
    if (i == 0 || (i > 1 && text[0] == '0')) return 0;
    *used = i;
    *value = n;
    return 1;
}

int DataListEndCount(const char* line, int length, long* count)
{
    if (length < 5 || std::strncmp(line, "end ", 4) != 0) return 0;
    int used = 0;
    uint64_t n = 0;
    if (!ReadNumber(line + 4, length - 4, &used, &n, 6) || 4 + used != length) return 0;
    *count = long(n);
    return 1;
}

int DataListPathAllowed(const char* path)
{
    const size_t length = strnlen(path, kDataListMaxPath + 1);
    if (length == 0 || length > size_t(kDataListMaxPath) || path[0] == '/') return 0;
    // Each part between slashes: not empty, not "." or "..", printable characters but the backslash
    // (which the file layer would turn into a separator).
    size_t partStart = 0;
    for (size_t i = 0; i <= length; ++i) {
        if (i == length || path[i] == '/') {
            const size_t part = i - partStart;
            if (part == 0 || (part == 1 && path[partStart] == '.') ||
                (part == 2 && path[partStart] == '.' && path[partStart + 1] == '.'))
                return 0;
            partStart = i + 1;
        } else if (path[i] < 0x20 || path[i] > 0x7E || path[i] == '\\') {
            return 0;
        }
    }
    return 1;
}

int DataListParseEntry(const char* line, int length, DataListEntry* entry, const char** why)
{
    if (length > kDataListMaxLine) return *why = "the line is too long", 0;
    uint64_t checksum = 0;
    for (int i = 0; i < 16; ++i) {
        const char c = i < length ? line[i] : '\0';
        int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit < 0) return *why = "it does not begin with a checksum of 16 hex digits", 0;
        checksum = checksum << 4 | uint64_t(digit);
    }
    if (length < 18 || line[16] != ' ') return *why = "no size follows the checksum", 0;
    int used = 0;
    uint64_t size = 0;
    // Sizes reach 4 GB at most: the file layer reads no larger file.
    if (!ReadNumber(line + 17, length - 17, &used, &size, 10) || size > 0xFFFFFFFFu)
        return *why = "the size is not a number of bytes the game can read", 0;
    const int pathAt = 17 + used + 1;
    if (pathAt > length || line[pathAt - 1] != ' ') return *why = "no path follows the size", 0;
    const int pathLength = length - pathAt;
    if (pathLength > kDataListMaxPath) return *why = "the path is too long", 0;
    if (std::memchr(line + pathAt, '\0', size_t(pathLength))) return *why = "the path holds a NUL byte", 0;
    std::memcpy(entry->path, line + pathAt, size_t(pathLength));
    entry->path[pathLength] = '\0';
    if (!DataListPathAllowed(entry->path))
        return *why = "the path is not a plain relative path inside the game data", 0;
    entry->checksum = checksum;
    entry->size = size;
    return 1;
}

int DataListFormatEntry(const DataListEntry& entry, char* out, int size)
{
    const int n = std::snprintf(out, size_t(size), "%016llx %llu %s\n", (unsigned long long)entry.checksum,
                                (unsigned long long)entry.size, entry.path);
    return n > 0 && n < size ? n : 0;
}

// The fault, formatted into the caller's buffer; returns 0 for the caller's result.
static int Fault(char* fault, int faultSize, const char* format, ...) __attribute__((format(printf, 3, 4)));
static int Fault(char* fault, int faultSize, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vsnprintf(fault, size_t(faultSize), format, args);
    va_end(args);
    return 0;
}

// Reads `length` bytes at `offset`; 1 only when all arrived.
static int ReadAt(void* handle, uint64_t offset, void* buffer, int length)
{
    FileSeek(handle, int(offset));
    return FileRead(handle, buffer, length) && readLength == uint32_t(length);
}

// Checks one listed file: there, its size, then its checksum, read in pieces into `piece`.
static int CheckFile(const DataListEntry& entry, void* piece, char* fault, int faultSize)
{
    char path[kDataListMaxPath + 8];
    std::snprintf(path, sizeof path, "rom:/%s", entry.path);
    void* handle = nullptr;
    if (!FileOpen(path, &handle, 0)) {
        if (done) return Fault(fault, faultSize, "%s", "");
        return Fault(fault, faultSize, "%s is missing or cannot be opened", HostQuoted(path).c_str());
    }
    unsigned size = 0;
    int ok = FileGetSize(handle, &size);
    if (!ok) {
        Fault(fault, faultSize, "%s: its size cannot be read", HostQuoted(path).c_str());
    } else if (size != entry.size) {
        ok = Fault(fault, faultSize, "%s %s: it has %u bytes where the list has %llu", HostQuoted(path).c_str(),
                   size < entry.size ? "is cut short" : "has grown", size, (unsigned long long)entry.size);
    } else {
        DataChecksumBegin();
        for (uint64_t at = 0; ok && at < size; at += kReadPiece) {
            const int length = int(size - at < uint64_t(kReadPiece) ? size - at : kReadPiece);
            if (!ReadAt(handle, at, piece, length)) {
                ok = done ? Fault(fault, faultSize, "%s", "")
                          : Fault(fault, faultSize, "%s cannot be read", HostQuoted(path).c_str());
            } else {
                DataChecksumAdd(piece, size_t(length));
            }
        }
        if (ok && DataChecksumEnd() != entry.checksum)
            ok = Fault(fault, faultSize, "%s has changed: its checksum is not the one in the list",
                       HostQuoted(path).c_str());
    }
    FileClose(handle);
    return ok;
}

// Reads the whole list into temporary memory; 1 with the block and its length.
static int ReadList(void** text, int* length, char* fault, int faultSize)
{
    char path[64];
    std::snprintf(path, sizeof path, "rom:/%s", kDataListName);
    void* handle = nullptr;
    if (!FileOpen(path, &handle, 0)) {
        if (done) return Fault(fault, faultSize, "%s", "");
        return Fault(fault, faultSize, "%s, the list of its files, is missing", HostQuoted(path).c_str());
    }
    unsigned size = 0;
    int ok = 1;
    if (!FileGetSize(handle, &size) || size == 0 || size > unsigned(kDataListMaxBytes)) {
        ok = Fault(fault, faultSize, "%s, the list of its files, is empty, too large or unreadable",
                   HostQuoted(path).c_str());
    } else if (!AllocateTempMemory(text, int(size))) {
        ok = Fault(fault, faultSize, "no memory to read %s", HostQuoted(path).c_str());
    } else if (!ReadAt(handle, 0, *text, int(size))) {
        FreeManagedMemory(*text, 0);
        *text = nullptr;
        ok = done ? Fault(fault, faultSize, "%s", "")
                  : Fault(fault, faultSize, "%s cannot be read", HostQuoted(path).c_str());
    }
    FileClose(handle);
    *length = int(size);
    return ok;
}

// Walks the list's lines. With `names` it checks that every line reads and that no path stands
// twice, and gathers the paths into it; with `piece`, it checks each listed file. 0 with the fault
// at the first thing wrong.
static int WalkList(const char* text, int length, std::vector<std::string>* names, void* piece, char* fault,
                    int faultSize)
{
    long files = 0, line = 0;
    int ended = 0;
    // The line that named each path, so that a path named again is found at once: a list naming one
    // archive thousands of times would otherwise have it read as often.
    std::unordered_map<std::string, long> namedIn;
    for (int at = 0; at < length;) {
        const char* end = static_cast<const char*>(std::memchr(text + at, '\n', size_t(length - at)));
        if (!end) return Fault(fault, faultSize, "\"rom:/%s\" is cut short in its line %ld", kDataListName, line + 1);
        const int lineLength = int(end - (text + at));
        const char* lineText = text + at;
        at += lineLength + 1;
        ++line;
        long count = 0;
        DataListEntry entry;
        const char* why = "";
        if (ended) return Fault(fault, faultSize, "\"rom:/%s\" is damaged: line %ld follows its end", kDataListName, line);
        if (DataListIsComment(lineText, lineLength)) continue;
        if (DataListEndCount(lineText, lineLength, &count)) {
            if (count != files)
                return Fault(fault, faultSize, "\"rom:/%s\" is damaged: it ends saying %ld files after listing %ld",
                             kDataListName, count, files);
            ended = 1;
            continue;
        }
        if (!DataListParseEntry(lineText, lineLength, &entry, &why))
            return Fault(fault, faultSize, "\"rom:/%s\" is damaged in line %ld: %s", kDataListName, line, why);
        ++files;
        if (names) {
            const auto named = namedIn.emplace(entry.path, line);
            if (!named.second)
                return Fault(fault, faultSize, "\"rom:/%s\" is damaged: line %ld names %s again, as line %ld did",
                             kDataListName, line, HostQuoted(entry.path).c_str(), named.first->second);
            names->push_back(entry.path);
        }
        if (piece && !CheckFile(entry, piece, fault, faultSize)) return 0;
    }
    if (!ended) return Fault(fault, faultSize, "\"rom:/%s\" is cut short: it has no end line", kDataListName);
    return 1;
}

int CheckGameData(char* fault, int faultSize)
{
    if (faultSize > 0) fault[0] = '\0';
    // The list is read before anything limits what the game data may open; from then on only the
    // files of a whole list open, and none when the list is missing or damaged.
    HostRomOpenAny();
    void* text = nullptr;
    int length = 0;
    if (!ReadList(&text, &length, fault, faultSize)) {
        HostRomOpenOnly({});
        return 0;
    }
    const char* lines = static_cast<const char*>(text);
    // The whole list is read before any file, so that a damaged list is told as such.
    void* piece = nullptr;
    std::vector<std::string> names;
    int ok = WalkList(lines, length, &names, nullptr, fault, faultSize);
    HostRomOpenOnly(ok ? names : std::vector<std::string>());
    if (ok && !AllocateTempMemory(&piece, kReadPiece)) ok = Fault(fault, faultSize, "no memory to check the game data");
    if (ok) ok = WalkList(lines, length, nullptr, piece, fault, faultSize);
    if (piece) FreeManagedMemory(piece, 0);
    FreeManagedMemory(text, 0);
    return ok;
}
