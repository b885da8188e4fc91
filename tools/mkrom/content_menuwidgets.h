// The menu widgets' images (content_menuwidgets.cpp): button frames, the selection glow, status
// icons, the sticky cursor, the dialog panel and sticky answers, in the overlays' look. Bitmaps of
// type 125 at the ids kUiWidgetImagesFirst..kUiWidgetImagesLast; sizes in content/README.md.
#pragma once

#include <vector>

#include "archive_writer.h"
#include "lib/resourceids.h"

namespace mkrom {

std::vector<Resource> MenuWidgetContent();

}  // namespace mkrom
