// Areas: the alley the game is played in, with its environment and lights.
#pragma once

constexpr int kNumAreas = 6;

// The current alley, 0..5.
extern int areaNum;
// The alley loaded before the last change.
extern int oldAreaNum;
// A change of alley asked for during play: the transition that covers it sets
// gChangeStageTransition, the frame after which the change runs sets gChangeStage; the game loop
// then changes to nextArea.
extern int gChangeStage;
extern int gChangeStageTransition;
extern int nextArea;

// Swaps the alley: unloads the current alley's collision environment and loads that of `area`.
// The ball, the pins and the bowlers are not touched, so the game goes on in the new alley.
// 0 for an area outside 0..5 (nothing changes) or when the new alley cannot be loaded (no alley
// is loaded then).
int ChangeArea(int area);
// Unloads whatever alley is loaded; 1 when none is. 0 when an unload fails.
int DisposeArea();
// 1 while an alley is loaded.
int AreaLoaded();
