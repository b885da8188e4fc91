// The game clock: every drawn frame advances game time by exactly updateRate milliseconds,
// whatever the real frame time. The render engine measures each frame and sets these at its end.
#pragma once

extern int updateRate;         // milliseconds of game time per drawn frame: 33
extern int frameTicks;         // milliseconds of game time since start
extern float updateRatio;      // 1.0
extern float realUpdateRatio;  // 1.0
extern float frameRate;        // measured frames per second
extern float cpuLoad, gpuLoad;  // CPU and GPU time of the last frame, percent of one 60 Hz frame
