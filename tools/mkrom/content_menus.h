// The front end's images (content_menus.cpp): the title, the loading screen's image and sign, and
// the menus' backdrops, buttons, icons and tutorial pages. Bitmaps of type 125 at the ids of
// lib/resourceids.h; sizes are listed there and in content/README.md.
#pragma once

#include <vector>

#include "archive_writer.h"
#include "lib/resourceids.h"

namespace mkrom {

std::vector<Resource> MenuContent();

}  // namespace mkrom
