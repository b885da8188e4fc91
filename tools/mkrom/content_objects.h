// The alleys' animated props (content_objects.cpp).
#pragma once

#include <vector>

#include "archive_writer.h"

namespace mkrom {

constexpr int kNumPropAlleys = 6;

// Alleys are counted from 0 here, as the game counts its areas; alley a owns the ids of the
// hundred (a + 1) x 100.
//
// The prop group the game places the alley's environment objects from (107 for the first alley,
// then 209, 309, ..., 609): member 2k is the model of prop kind k (type 126), member 2k + 1 its
// object animation (type 86).
int PropGroupId(int alley);
// The swatch texture the alley's props are painted from (type 125, 101 ... 601): it is one of the
// environment's extra resources, so it is loaded before the prop group.
int PropTextureId(int alley);
// The level listing the alley's props and where they first stand (type 42, 102 ... 602).
int PropLevelId(int alley);

std::vector<Resource> ObjectContent();

}  // namespace mkrom
