// Small platform services used everywhere: memory fill and copy, random numbers, the float maths
// wrappers (radians), the system tick, the calendar, and the loading bar that keeps the display,
// files and sound alive while the main thread is blocked in a long load.
#pragma once

#include <cstdint>

#include "host/clock.h"  // kTicksPerSecond

struct ClockData {
    int32_t month, day, year, hour, minute, second, dayofweek;
    int32_t reserved;
};

// Set to 1 to end the program; every long wait and loop checks it.
extern int done;

void ClearMemory(void* p, int n);
// Note the order: source first, destination second.
void CopyMem(void* source, void* destination, int n);

int InitRandomNumbers();
// lo <= result < hi for hi > lo.
int RandomNumber(int lo, int hi);

float SIN(float radians);
float COS(float radians);
float ASIN(float x);
float ACOS(float x);
float ATAN2(float y, float x);
float SQRT(float x);

int64_t GetTickCount();
int ReadClock(ClockData* out);

int LoadingBarSetCallback(int (*callback)());
int LoadingBarStart();
int LoadingBarStop();
int LoadingBarUpdate();

extern int (*loadCallback)();
extern int barActive;
extern int barDontUpdateSound;
extern float loadStartTime;
