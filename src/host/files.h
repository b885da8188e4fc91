// Files of the host. "rom:/" names the game data directory (--rom), "data:/" the save directory
// (--data); a '\' in a path is read as '/'. Everything else goes through these calls too, so that
// a fault hook can make any open, read, write or seek fail for tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct HostFile;

// Result codes of failed file calls, in the platform's numbering of file-system results.
enum HostFileResult : int32_t {
    kHostFileOk = 0,
    kHostFileNotFound = 120,     // path or archive missing
    kHostFileDamaged = 230,      // data unreadable (230-339): the archive's format is broken
    kHostFileIoError = 420,      // the device failed to read or write: says nothing of the data
    kHostFileNoSpace = 200,      // no room to write (200-219)
    kHostFileNotFormatted = 340, // archive missing, unformatted or damaged (340-399)
    kHostFileError = 1000,       // any other failure
    kHostFileNotAFile = 1001,    // the path names a directory, a pipe, a device: no file to read
};

// The host path of a game path ("rom:/x", "data:/y", or a plain path used as it is).
std::string HostResolvePath(const char* gamePath);

// Opens for reading, or for writing a new file that replaces the old one atomically when it is
// closed (written to a temporary name, then renamed into place). Null on failure, with the
// result code in *result when result is not null. Reading opens only regular files: anything else
// (a directory, a named pipe that would wait for a writer for ever, a device) is refused at once
// with kHostFileNotAFile and a message.
HostFile* HostFileOpenRead(const char* gamePath, int32_t* result);
HostFile* HostFileOpenWrite(const char* gamePath, int32_t* result);
// For a file opened for writing, Close commits it; Abandon drops it and keeps the old file. Close
// after a failed write also keeps the old file and returns that write's result.
int32_t HostFileClose(HostFile* file);
void HostFileAbandon(HostFile* file);
int32_t HostFileSize(HostFile* file, uint64_t* size);
int32_t HostFileSeek(HostFile* file, uint64_t offset);
// Reads up to length bytes at the current position; *done gets the count.
int32_t HostFileRead(HostFile* file, void* buffer, uint32_t length, uint32_t* done);
int32_t HostFileWrite(HostFile* file, const void* buffer, uint32_t length, uint32_t* done);
int HostFileExists(const char* gamePath);
int32_t HostFileDelete(const char* gamePath);
// Renames a file without ever replacing one: fails when `to` exists.
int32_t HostFileRename(const char* fromGamePath, const char* toGamePath);

// The game data's list as the whole truth: once start-up has read the list, "rom:/" opens only
// the files it names, so that a file beside the game data that the list does not name (a stray
// copy of an archive, say) is never read; any other is refused as missing. Until then, and in the
// tools and tests that read no list, every file under "rom:/" opens. Paths are as the list gives
// them, relative to the game data directory.
void HostRomOpenAny();
void HostRomOpenOnly(const std::vector<std::string>& paths);
// 1 when HostFileOpenRead may open the game path: always for a path outside "rom:/".
int HostRomMayOpen(const char* gamePath);

// The save directory ("data:/") stands for the console's save archive. Mounting checks that it is
// a directory the game can write, and removes the temporary files of writes that never reached
// their rename; kHostFileNotFormatted when it does not exist yet, kHostFileError when it exists
// but cannot be used. Formatting creates it with its missing parents; it never deletes a file.
int32_t HostSaveArchiveMount();
int32_t HostSaveArchiveFormat();

// The fault hook. Arms a fault for the next `count` calls of the given kind whose game path
// contains `pathPart` (empty: any path): the call fails with `result` (kHostFileError when that
// is kHostFileOk), or, for reads with shortBy > 0, reads that many bytes fewer and succeeds.
// Faults are shared by all threads; the first armed one that matches a call is used.
// kHostOpMount faults the save directory's mount ("data:"); kHostOpCommit stops the close of a
// write just before its rename, as if the program had ended there: the temporary file stays
// behind and the old file is untouched.
enum HostFileOp { kHostOpOpen, kHostOpRead, kHostOpWrite, kHostOpSeek, kHostOpMount, kHostOpCommit };
void HostFileSetFault(HostFileOp op, const std::string& pathPart, int count, int32_t result, uint32_t shortBy = 0);
void HostFileClearFaults();

// Test hook: called on the reading thread at the start of every HostFileRead, with the game path,
// so that a test can see a read begin or hold it there. Null removes it.
void HostFileSetReadHook(void (*hook)(const char* gamePath));

// For the tools, benchmarks and fuzz targets: makes a new folder "NAME-XXXXXX" under the
// temporary directory (TMPDIR, else /tmp), so that a run's scratch files land where its caller
// looks for them. Returns its path, or "" when it cannot be made. The caller removes it.
std::string HostMakeTempFolder(const char* name);
