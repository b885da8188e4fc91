// The list of the game data's files: every file under "rom:/" with its size and checksum, written
// by the game data builder (tools/mkrom --list DIR) and checked at start-up before any of the
// files is read, so that a file missing, changed, cut short or grown stops the game at once, by
// name, instead of playing on with damaged data.
//
// The list is a small text file, one line a file: the checksum (XXH3, 64 bits, 16 lowercase hex
// digits), the size in bytes and the path under the data directory, separated by one space. Lines
// that begin with '#' are comments. Its last line is "end N", N the number of files listed, so
// that a list cut short at a line's end is found too.
#pragma once

#include <cstddef>
#include <cstdint>

// The list's name in the data directory; the list does not name itself.
constexpr const char* kDataListName = "checksums.txt";
// Longest path a line may give (the file server takes "rom:/" and 256 more).
constexpr int kDataListMaxPath = 255;
// Longest line, and the largest list, that the game reads.
constexpr int kDataListMaxLine = 300;
constexpr int kDataListMaxBytes = 1024 * 1024;

struct DataListEntry {
    uint64_t checksum;
    uint64_t size;
    char path[kDataListMaxPath + 1];
};

// The checksum of a file's bytes, fed in pieces: Begin, Add for each piece in order, then End.
// One checksum at a time.
void DataChecksumBegin();
void DataChecksumAdd(const void* bytes, size_t length);
uint64_t DataChecksumEnd();

// Reads one line of the list (its text without the newline, `length` bytes). 1: a file's entry in
// *entry; 0: not one, with *why saying what is wrong (a comment or the end line are not entries:
// test for them first with DataListIsComment and DataListEndCount).
int DataListParseEntry(const char* line, int length, DataListEntry* entry, const char** why);
int DataListIsComment(const char* line, int length);
// 1 when the line is the end line, with the count it gives in *count.
int DataListEndCount(const char* line, int length, long* count);
// Whether a path may stand in the list: relative, printable, no "." or ".." part, no backslash.
int DataListPathAllowed(const char* path);
// The entry's line with its newline, into out; the number of characters, or 0 when it does not fit.
int DataListFormatEntry(const DataListEntry& entry, char* out, int size);

// Checks every file that "rom:/checksums.txt" lists: each must be there with its listed size and
// checksum. 1 when all are whole; 0 with what is wrong, naming the file, in fault (the list
// itself missing or damaged, or naming one path twice, counts as damaged data). Also 0, with an
// empty fault, when the order to close stopped the reading. Once the list is read, "rom:/" opens
// only the files it names (HostRomOpenOnly): none when the list is missing or damaged.
int CheckGameData(char* fault, int faultSize);
