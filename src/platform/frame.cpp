// The game clock's state, which the render engine sets at the end of every frame.
#include "platform/frame.h"

int updateRate = 33;
int frameTicks = 0;
float updateRatio = 1.0f;
float realUpdateRatio = 1.0f;
float frameRate = 0.0f;
float cpuLoad = 0.0f;
float gpuLoad = 0.0f;
