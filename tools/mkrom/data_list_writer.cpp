// The game data's list of files: made by walking the data directory as it stands, so that it also
// serves to remake the list after a file was changed on purpose (mkrom --list DIR).
#include "data_list_writer.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

#include "host/errorlog.h"
#include "lib/datalist.h"

namespace mkrom {

namespace fs = std::filesystem;

// The checksum of one file, read in pieces.
static bool FileChecksum(const fs::path& file, uint64_t* checksum, uint64_t* size)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::vector<char> piece(1 << 20);
    DataChecksumBegin();
    *size = 0;
    while (in) {
        in.read(piece.data(), std::streamsize(piece.size()));
        const std::streamsize got = in.gcount();
        if (got > 0) DataChecksumAdd(piece.data(), size_t(got));
        *size += uint64_t(got);
    }
    if (in.bad()) return false;
    *checksum = DataChecksumEnd();
    return true;
}

// The paths of the regular files under dir, relative to it, in order; the list itself left out.
static bool ListFiles(const fs::path& dir, std::vector<std::string>* paths, std::string* error)
{
    std::error_code ec;
    fs::recursive_directory_iterator it(dir, fs::directory_options::follow_directory_symlink, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        const std::string path = it->path().lexically_relative(dir).generic_string();
        if (path != kDataListName && path != std::string(kDataListName) + ".new") paths->push_back(path);
    }
    if (ec) {
        *error = HostQuoted(dir.string().c_str()) + ": " + ec.message();
        return false;
    }
    std::sort(paths->begin(), paths->end());
    return true;
}

bool WriteDataList(const std::string& dir, std::string* error)
{
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) {
        *error = HostQuoted(dir.c_str()) + " is not a directory";
        return false;
    }
    std::vector<std::string> paths;
    if (!ListFiles(dir, &paths, error)) return false;
    std::string text = "# Every file of the game data with its XXH3 checksum and size, checked at start-up.\n"
                       "# After changing a file on purpose, remake this list: mkrom --list DIR\n";
    for (const std::string& path : paths) {
        DataListEntry entry;
        if (path.size() > size_t(kDataListMaxPath) || !DataListPathAllowed(path.c_str())) {
            *error =
                "the list cannot name " + HostQuoted(path.c_str()) + " (not plain printable characters, or too long)";
            return false;
        }
        std::snprintf(entry.path, sizeof entry.path, "%s", path.c_str());
        if (!FileChecksum(fs::path(dir) / path, &entry.checksum, &entry.size)) {
            *error = "cannot read " + HostQuoted((fs::path(dir) / path).string().c_str());
            return false;
        }
        char line[kDataListMaxLine + 2];
        const int n = DataListFormatEntry(entry, line, int(sizeof line));
        if (n == 0 || n > kDataListMaxLine + 1) {
            *error = "the list's line for " + HostQuoted(path.c_str()) + " is too long";
            return false;
        }
        text += line;
    }
    text += "end " + std::to_string(paths.size()) + "\n";
    // Written beside and renamed into place: a list is whole or not there.
    const fs::path list = fs::path(dir) / kDataListName, partial = fs::path(dir) / (std::string(kDataListName) + ".new");
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush()) {
            *error = "cannot write " + HostQuoted(partial.string().c_str());
            return false;
        }
    }
    fs::rename(partial, list, ec);
    if (ec) {
        *error = "cannot write " + HostQuoted(list.string().c_str()) + ": " + ec.message();
        return false;
    }
    return true;
}

}  // namespace mkrom
