// Host files on the PC's file system: the rom:/ and data:/ prefixes mapped to their directories,
// and one fault hook through which tests make any operation fail.
#include "host/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_set>
#include <vector>

#include "host/errorlog.h"
#include "host/host.h"

struct HostFile {
    int fd = -1;
    int writing = 0;
    int32_t writeFailure = kHostFileOk;  // first failed write: Close then keeps the old file
    std::string gamePath;                // what the fault hook matches
    std::string path;                    // the host path of the file
    std::string tempPath;                // writing: where the new contents go until Close
};

struct HostFileFault {
    HostFileOp op;
    std::string pathPart;
    int remaining;
    int32_t result;
    uint32_t shortBy;
};

// The server thread reads and seeks while the main thread opens and writes, so the armed faults
// are shared.
static std::mutex faultMutex;
static std::vector<HostFileFault> faults;

static std::atomic<void (*)(const char*)> readHook{nullptr};

// What "rom:/" may open: anything until the game data's list is read, then only what it names.
// Set by start-up on the main thread, read by every thread that opens a file.
static std::mutex romGateMutex;
static int romGateOn = 0;
static std::unordered_set<std::string> romGatePaths;

// Numbers the temporary files of writes, so that two writes of one file never share one.
static std::atomic<unsigned> tempCounter{0};

// Takes one use of the first armed fault matching the call. 1 when the call is to be faulted.
static int TakeFault(HostFileOp op, const std::string& gamePath, int32_t* result, uint32_t* shortBy)
{
    std::lock_guard<std::mutex> lock(faultMutex);
    for (size_t i = 0; i < faults.size(); ++i) {
        HostFileFault& f = faults[i];
        if (f.op != op || gamePath.find(f.pathPart) == std::string::npos) continue;
        *result = f.result;
        *shortBy = f.shortBy;
        if (--f.remaining <= 0) faults.erase(faults.begin() + long(i));
        return 1;
    }
    return 0;
}

// Result code of a failed system call.
static int32_t ResultOfErrno(int error)
{
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return kHostFileNotFound;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return kHostFileNoSpace;
        case EIO:
            // A failing device is no proof of broken data; the save code never reformats for it.
            return kHostFileIoError;
        default:
            return kHostFileError;
    }
}

static void SetResult(int32_t* result, int32_t value)
{
    if (result) *result = value;
}

// Joins a directory and the rest of a path, with exactly one '/' between them.
static std::string JoinPath(const std::string& dir, const std::string& rest)
{
    size_t skip = 0;
    while (skip < rest.size() && rest[skip] == '/') ++skip;
    std::string out = dir.empty() ? std::string(".") : dir;
    if (out.back() != '/') out += '/';
    return out + rest.substr(skip);
}

std::string HostResolvePath(const char* gamePath)
{
    if (!gamePath) return std::string();
    std::string path = gamePath;
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    if (path.compare(0, 4, "rom:") == 0) return JoinPath(gHostOptions.romDir, path.substr(4));
    if (path.compare(0, 5, "data:") == 0) return JoinPath(gHostOptions.dataDir, path.substr(5));
    return path;
}

void HostRomOpenAny()
{
    std::lock_guard<std::mutex> lock(romGateMutex);
    romGateOn = 0;
    romGatePaths.clear();
}

void HostRomOpenOnly(const std::vector<std::string>& paths)
{
    std::lock_guard<std::mutex> lock(romGateMutex);
    romGateOn = 1;
    romGatePaths = std::unordered_set<std::string>(paths.begin(), paths.end());
}

int HostRomMayOpen(const char* gamePath)
{
    if (!gamePath || std::strncmp(gamePath, "rom:", 4) != 0) return 1;
    // The path under the game data directory as the list spells it: '/' between parts, none
    // in front.
    std::string path = gamePath + 4;
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    path.erase(0, path.find_first_not_of('/'));
    std::lock_guard<std::mutex> lock(romGateMutex);
    return !romGateOn || romGatePaths.count(path) ? 1 : 0;
}

// Opens or fails through the fault hook; the common part of both opens.
static int CheckOpen(const char* gamePath, int32_t* result)
{
    if (!gamePath || !*gamePath) {
        SetResult(result, kHostFileError);
        return PrintError("HostFileOpen: no path");
    }
    int32_t faultResult;
    uint32_t shortBy;
    if (TakeFault(kHostOpOpen, gamePath, &faultResult, &shortBy)) {
        SetResult(result, faultResult == kHostFileOk ? kHostFileError : faultResult);
        return 0;
    }
    return 1;
}

HostFile* HostFileOpenRead(const char* gamePath, int32_t* result)
{
    if (!CheckOpen(gamePath, result)) return nullptr;
    std::string path = HostResolvePath(gamePath);
    if (!HostRomMayOpen(gamePath)) {
        // Refused as missing; said only when a file is there, which is what the refusal is for.
        SetResult(result, kHostFileNotFound);
        struct stat st;
        if (::stat(path.c_str(), &st) == 0)
            PrintError("HostFileOpenRead: %s is not in the game data's list of files, so it is not read",
                       HostQuoted(gamePath).c_str());
        return nullptr;
    }
    // Without blocking: opening a named pipe waits for a writer, for ever when none comes. Only
    // once the path is known to be a regular file do reads block again.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == ELOOP) {
        // A symbolic link that leads back to itself names no file; it is no damaged save either.
        SetResult(result, kHostFileNotAFile);
        PrintError("HostFileOpenRead: %s (%s) is a loop of symbolic links, not a file", gamePath, path.c_str());
        return nullptr;
    }
    if (fd < 0) {
        SetResult(result, ResultOfErrno(errno));
        return nullptr;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        SetResult(result, ResultOfErrno(errno));
        ::close(fd);
        return nullptr;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        SetResult(result, kHostFileNotAFile);
        PrintError("HostFileOpenRead: %s (%s) is %s, not a file", gamePath, path.c_str(),
                   S_ISDIR(st.st_mode) ? "a directory" : S_ISFIFO(st.st_mode) ? "a named pipe" : "a device or socket");
        return nullptr;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        SetResult(result, ResultOfErrno(errno));
        ::close(fd);
        return nullptr;
    }
    HostFile* file = new HostFile;
    file->fd = fd;
    file->gamePath = gamePath;
    file->path = path;
    SetResult(result, kHostFileOk);
    return file;
}

HostFile* HostFileOpenWrite(const char* gamePath, int32_t* result)
{
    if (!CheckOpen(gamePath, result)) return nullptr;
    std::string path = HostResolvePath(gamePath);
    // The temporary file sits beside the target, so that the rename stays inside one file system.
    std::string tempPath = path + ".tmp" + std::to_string(long(::getpid())) + "-" + std::to_string(tempCounter++);
    int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        SetResult(result, ResultOfErrno(errno));
        return nullptr;
    }
    HostFile* file = new HostFile;
    file->fd = fd;
    file->writing = 1;
    file->gamePath = gamePath;
    file->path = path;
    file->tempPath = tempPath;
    SetResult(result, kHostFileOk);
    return file;
}

// Makes a rename inside dir durable. Failure only weakens durability, so it is not reported.
static void SyncDirectoryOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    std::string dir = slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

int32_t HostFileClose(HostFile* file)
{
    if (!file) {
        PrintError("HostFileClose: no file");
        return kHostFileError;
    }
    int32_t result = kHostFileOk;
    if (file->writing) {
        // The old file is replaced only by a complete new one.
        result = file->writeFailure;
        int32_t faultResult;
        uint32_t shortBy;
        if (result == kHostFileOk && TakeFault(kHostOpCommit, file->gamePath, &faultResult, &shortBy)) {
            // The program "ends" between the write and the rename: everything stays as it lies.
            ::close(file->fd);
            delete file;
            return faultResult == kHostFileOk ? kHostFileError : faultResult;
        }
        if (result == kHostFileOk && ::fsync(file->fd) != 0) result = ResultOfErrno(errno);
        if (::close(file->fd) != 0 && result == kHostFileOk) result = ResultOfErrno(errno);
        if (result == kHostFileOk && ::rename(file->tempPath.c_str(), file->path.c_str()) != 0) {
            result = ResultOfErrno(errno);
        }
        if (result == kHostFileOk) {
            SyncDirectoryOf(file->path);
        } else {
            ::unlink(file->tempPath.c_str());
        }
    } else if (::close(file->fd) != 0) {
        result = ResultOfErrno(errno);
    }
    delete file;
    return result;
}

void HostFileAbandon(HostFile* file)
{
    if (!file) return;
    ::close(file->fd);
    if (file->writing) ::unlink(file->tempPath.c_str());
    delete file;
}

int32_t HostFileSize(HostFile* file, uint64_t* size)
{
    if (!file || !size) {
        PrintError("HostFileSize: no file or no place for the size");
        return kHostFileError;
    }
    struct stat st;
    if (::fstat(file->fd, &st) != 0) return ResultOfErrno(errno);
    *size = uint64_t(st.st_size);
    return kHostFileOk;
}

int32_t HostFileSeek(HostFile* file, uint64_t offset)
{
    if (!file) {
        PrintError("HostFileSeek: no file");
        return kHostFileError;
    }
    int32_t faultResult;
    uint32_t shortBy;
    if (TakeFault(kHostOpSeek, file->gamePath, &faultResult, &shortBy)) {
        return faultResult == kHostFileOk ? kHostFileError : faultResult;
    }
    if (offset > uint64_t(INT64_MAX)) return kHostFileError;
    if (::lseek(file->fd, off_t(offset), SEEK_SET) < 0) return ResultOfErrno(errno);
    return kHostFileOk;
}

int32_t HostFileRead(HostFile* file, void* buffer, uint32_t length, uint32_t* done)
{
    if (done) *done = 0;
    if (!file || !done || (!buffer && length > 0)) {
        PrintError("HostFileRead: no file, buffer or count");
        return kHostFileError;
    }
    if (file->writing) {
        PrintError("HostFileRead: %s is open for writing", file->gamePath.c_str());
        return kHostFileError;
    }
    if (auto hook = readHook.load()) hook(file->gamePath.c_str());
    int32_t faultResult;
    uint32_t shortBy = 0;
    if (TakeFault(kHostOpRead, file->gamePath, &faultResult, &shortBy)) {
        if (shortBy == 0) return faultResult == kHostFileOk ? kHostFileError : faultResult;
        length = shortBy >= length ? 0 : length - shortBy;
    }
    auto* out = static_cast<uint8_t*>(buffer);
    uint32_t total = 0;
    // read() may stop early; only the end of the file ends a read short.
    while (total < length) {
        ssize_t n = ::read(file->fd, out + total, length - total);
        if (n < 0) {
            if (errno == EINTR) continue;
            *done = total;
            return ResultOfErrno(errno);
        }
        if (n == 0) break;
        total += uint32_t(n);
    }
    *done = total;
    return kHostFileOk;
}

int32_t HostFileWrite(HostFile* file, const void* buffer, uint32_t length, uint32_t* done)
{
    if (done) *done = 0;
    if (!file || !done || (!buffer && length > 0)) {
        PrintError("HostFileWrite: no file, buffer or count");
        return kHostFileError;
    }
    if (!file->writing) {
        PrintError("HostFileWrite: %s is open for reading", file->gamePath.c_str());
        return kHostFileError;
    }
    int32_t result = kHostFileOk;
    uint32_t shortBy;
    if (TakeFault(kHostOpWrite, file->gamePath, &result, &shortBy)) {
        if (result == kHostFileOk) result = kHostFileError;
    } else {
        auto* in = static_cast<const uint8_t*>(buffer);
        uint32_t total = 0;
        while (total < length) {
            ssize_t n = ::write(file->fd, in + total, length - total);
            if (n < 0) {
                if (errno == EINTR) continue;
                result = ResultOfErrno(errno);
                break;
            }
            total += uint32_t(n);
        }
        *done = total;
    }
    if (result != kHostFileOk && file->writeFailure == kHostFileOk) file->writeFailure = result;
    return result;
}

int HostFileExists(const char* gamePath)
{
    if (!gamePath || !*gamePath) return 0;
    struct stat st;
    return ::stat(HostResolvePath(gamePath).c_str(), &st) == 0 ? 1 : 0;
}

int32_t HostFileDelete(const char* gamePath)
{
    if (!gamePath || !*gamePath) {
        PrintError("HostFileDelete: no path");
        return kHostFileError;
    }
    if (::unlink(HostResolvePath(gamePath).c_str()) != 0) return ResultOfErrno(errno);
    return kHostFileOk;
}

int32_t HostFileRename(const char* fromGamePath, const char* toGamePath)
{
    if (!fromGamePath || !*fromGamePath || !toGamePath || !*toGamePath) {
        PrintError("HostFileRename: no path");
        return kHostFileError;
    }
    std::string from = HostResolvePath(fromGamePath), to = HostResolvePath(toGamePath);
    // A hard link fails when the target exists, so nothing is ever replaced. File systems without
    // hard links get a rename after a look that the target is free.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
    } else {
        struct stat st;
        if (errno == EEXIST || ::stat(to.c_str(), &st) == 0) return kHostFileError;
        if (::rename(from.c_str(), to.c_str()) != 0) return ResultOfErrno(errno);
    }
    SyncDirectoryOf(to);
    return kHostFileOk;
}

// A temporary file of a write: "<name>.tmp<digits>-<digits>".
static int IsWriteTemporary(const char* name)
{
    const char* tmp = std::strstr(name, ".tmp");
    if (!tmp) return 0;
    const char* p = tmp + 4;
    int digits = 0, dash = 0;
    for (; *p; ++p) {
        if (*p >= '0' && *p <= '9') {
            ++digits;
        } else if (*p == '-' && !dash && digits) {
            dash = 1;
            digits = 0;
        } else {
            return 0;
        }
    }
    return dash && digits;
}

int32_t HostSaveArchiveMount()
{
    int32_t faultResult;
    uint32_t shortBy;
    if (TakeFault(kHostOpMount, "data:", &faultResult, &shortBy)) return faultResult == kHostFileOk ? kHostFileError : faultResult;
    const std::string& dir = gHostOptions.dataDir;
    struct stat st;
    if (dir.empty()) return kHostFileError;
    if (::stat(dir.c_str(), &st) != 0) return errno == ENOENT ? kHostFileNotFormatted : ResultOfErrno(errno);
    if (!S_ISDIR(st.st_mode) || ::access(dir.c_str(), W_OK | X_OK) != 0) return kHostFileError;
    if (DIR* d = ::opendir(dir.c_str())) {
        while (dirent* e = ::readdir(d)) {
            if (IsWriteTemporary(e->d_name)) ::unlink(JoinPath(dir, e->d_name).c_str());
        }
        ::closedir(d);
    }
    return kHostFileOk;
}

// Creates dir and its missing parents; kHostFileOk when it is a directory afterwards.
static int32_t MakeDirectories(const std::string& dir)
{
    struct stat st;
    if (::stat(dir.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? kHostFileOk : kHostFileError;
    size_t slash = dir.find_last_of('/');
    if (slash != std::string::npos && slash > 0) {
        int32_t parent = MakeDirectories(dir.substr(0, slash));
        if (parent != kHostFileOk) return parent;
    }
    if (::mkdir(dir.c_str(), 0755) == 0 || errno == EEXIST) return kHostFileOk;
    return ResultOfErrno(errno);
}

int32_t HostSaveArchiveFormat()
{
    if (gHostOptions.dataDir.empty()) return kHostFileError;
    return MakeDirectories(gHostOptions.dataDir);
}

void HostFileSetFault(HostFileOp op, const std::string& pathPart, int count, int32_t result, uint32_t shortBy)
{
    if (count <= 0) return;
    std::lock_guard<std::mutex> lock(faultMutex);
    faults.push_back({op, pathPart, count, result, shortBy});
}

void HostFileClearFaults()
{
    std::lock_guard<std::mutex> lock(faultMutex);
    faults.clear();
}

void HostFileSetReadHook(void (*hook)(const char* gamePath)) { readHook.store(hook); }

std::string HostMakeTempFolder(const char* name)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + name + "-XXXXXX";
    return ::mkdtemp(&pattern[0]) ? pattern : std::string();
}
