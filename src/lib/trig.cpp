// Angle helpers and the whole-degree sine and cosine tables, built once at start-up.
#include "lib/trig.h"

#include <cmath>

#include "lib/memory.h"
#include "platform/utilities.h"

float* sinTable = nullptr;
float* cosTable = nullptr;

static const int kTableEntries = 360;
static const double kPi = 3.14159265358979323846;

// Beyond this many degrees NormalizeAngle switches from whole-turn steps to fmod, so that huge
// inputs cost no more than small ones. Below it the stepping gives the same bits as always.
static const float kStepLimit = 360.0f * 100.0f;

// Sine of whole degrees, folded into the first quadrant so that multiples of 90 come out exactly
// 0, 1 and -1 instead of the near-misses sin(k * pi) gives in floating point.
static double SinWholeDegrees(int degrees)
{
    int d = degrees % 360;
    if (d < 0) d += 360;
    double r = (d % 90) * (kPi / 180.0);
    switch (d / 90) {
    case 0: return std::sin(r);
    case 1: return std::cos(r);
    case 2: return -std::sin(r);
    default: return -std::cos(r);
    }
}

int InitTrigTables()
{
    if (sinTable) {
        FreeManagedMemory(sinTable, 0);
        sinTable = nullptr;
        cosTable = nullptr;
    }
    void* block = nullptr;
    if (!AllocateMemory(&block, 2 * kTableEntries * int(sizeof(float)))) return 0;
    sinTable = static_cast<float*>(block);
    cosTable = sinTable + kTableEntries;
    for (int d = 0; d < kTableEntries; d++) {
        sinTable[d] = float(SinWholeDegrees(d));
        cosTable[d] = float(SinWholeDegrees(d + 90));
    }
    return 1;
}

float AngleDelta(float a, float b)
{
    float d = a - b;
    if (std::fabs(d) > 180.0f) d = d >= 0.0f ? d - 360.0f : d + 360.0f;
    return d;
}

float NormalizeAngle(float a)
{
    if (!std::isfinite(a)) return 0.0f;
    if (std::fabs(a) >= kStepLimit) a = std::fmod(a, 360.0f);  // exact; keeps the sign of a
    while (a < 0.0f) a += 360.0f;
    while (a >= 360.0f) a -= 360.0f;
    return a;
}

float HeadingToPoint(float x1, float z1, float x2, float z2)
{
    float h = 90.001f - ATAN2(z2 - z1, x2 - x1) * 57.29578f;
    if (h < 0.0f) h += 360.0f;
    return h;
}
