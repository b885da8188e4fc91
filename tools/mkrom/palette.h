// The look the game's 2D images share (overlays, menus, menu widgets): the face they are lettered
// in and the colours of their screens, panels and accents.
#pragma once

#include "canvas.h"

namespace mkrom {

inline const char* const kBold = "DejaVuSans-Bold.ttf";

constexpr Rgba kWhite{255, 255, 255, 255};
constexpr Rgba kGold{255, 200, 60, 255};
constexpr Rgba kEdge{130, 180, 245, 255};
constexpr Rgba kScreenTop{38, 64, 124, 255};
constexpr Rgba kScreenBottom{10, 16, 40, 255};
constexpr Rgba kPanelTop{56, 92, 168, 235};     // see-through panels over a scene
constexpr Rgba kPanelBottom{20, 34, 80, 235};
constexpr Rgba kWell{6, 10, 26, 150};
constexpr Rgba kInk{10, 14, 30, 255};
constexpr Rgba kShade{0, 0, 0, 110};
constexpr Rgba kRed{220, 60, 50, 255};
constexpr Rgba kGreen{60, 180, 80, 255};
constexpr Rgba kBlue{60, 120, 225, 255};
constexpr Rgba kYellow{235, 190, 30, 255};

}  // namespace mkrom
