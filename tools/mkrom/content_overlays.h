// The 2D images of the overlays, the heads-up display and the splash (content_overlays.cpp), all
// drawn in code in one style: navy panels with light edges, gold accents, white text. Bitmaps of
// type 125; ids and sizes are listed in content/README.md.
#pragma once

#include <vector>

#include "archive_writer.h"
#include "bitmap_writer.h"
#include "lib/resourceids.h"

namespace mkrom {

// The overlay images (ids 3207-3298) and the splash image (kSplashImage, 320 x 240).
std::vector<Resource> OverlayContent();
// A picture of the lower screen at one step of a person's throw, 320 x 240, made of the steps'
// own images and words: book 0 with the buttons (position, angle, power, hook, the score sheet),
// book 1 with the stylus (position, angle, flick, hook, the score sheet). The How to Play pages
// show them.
RgbaImage ShotStepPicture(int book, int page);
// The 52 card faces of the poker game, the group kCardPictureGroup (content_cards.cpp).
std::vector<Resource> CardContent();

}  // namespace mkrom
