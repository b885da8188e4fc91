// Checking a game data folder against its list of files (lib/datalist.h) from the command line,
// by the same check the game runs at start-up.
#pragma once

#include <string>

namespace mkrom {

// Checks every file that DIR/checksums.txt lists: there, with its listed size and checksum, and
// the list itself whole. Returns false with what is wrong, naming the first file found damaged
// (or the list) by its path under DIR.
bool CheckDataList(const std::string& dir, std::string* fault);

}  // namespace mkrom
