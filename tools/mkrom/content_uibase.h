// The UI framework's own archive (Resource/BasicUiRez.rez): its logo and its font at each display
// size, which the framework loads when it starts.
#pragma once

#include <string>

namespace mkrom {

// Writes dir/Resource/BasicUiRez.rez. False with a reason.
bool WriteUiBaseArchive(const std::string& dir, std::string* error);

}  // namespace mkrom
