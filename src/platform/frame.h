// The fixed frame step: every presented frame advances game time by exactly updateRate
// milliseconds, whatever the real frame time.
#pragma once

extern int updateRate;      // 33
extern float updateRatio;   // 1.0
