// The lane's dimensions, in world units (24 to the foot, 39.37 to the metre), x across the lane
// from its centre and y down it from the foul line. The physics world of the lane (game/physics.h)
// and the game data builder's collision models (tools/mkrom) are built to them, and the ball,
// its placement and the shot set-up overlays measure against them; this is their one home.
#pragma once

constexpr float kUnitsPerFoot = 24.0f;
// From the lane's centre to where a ball centre is over a gutter: also how far out the bowler may
// place the ball, and the half width of the band the shot set-up shows.
constexpr float kLaneHalfWidth = 45.0f;
// The edge of the lane bed, where the gutters and the bumpers begin.
constexpr float kLaneBedHalfWidth = 43.0f;
// The foul line to the end of the pin deck: 63 feet.
constexpr float kLaneLength = 1512.0f;
