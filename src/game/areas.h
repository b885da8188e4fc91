// Areas: the alley the game is played in, with its environment and lights.
#pragma once

// The current alley, 0..5.
extern int areaNum;
