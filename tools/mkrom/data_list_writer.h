// Writing the game data's list of files (lib/datalist.h): every file under a data directory with
// its size and checksum, which the game checks at start-up.
#pragma once

#include <string>

namespace mkrom {

// Writes DIR/checksums.txt for every regular file under DIR (symbolic links followed), in path
// order. Returns false with a reason: a file that cannot be read, or whose path the list cannot
// hold.
bool WriteDataList(const std::string& dir, std::string* error);

}  // namespace mkrom
