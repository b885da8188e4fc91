// The shared steps of the test-mode lines: every value line of every menu changes its value
// through one of these, so that steps, clamps and wraps behave alike, and the menu helpers that
// the controller and the entering lines use.
#include "testmode/testmenus.h"

#include <cstdarg>

#include "game/records.h"
#include "lib/printing.h"

uint8_t gReflectionAlpha = 0;

int TestMenuLength(const TestItem* menu)
{
    int n = 0;
    while (menu && menu[n].fn) ++n;
    return n;
}

int EnterTestMenu(TestItem* menu, TestItem* from)
{
    testOptions.curMenu = menu;
    testOptions.curItemNum = 0;
    testOptions.previousMenu = from;
    return 1;
}

static int Direction(int action) { return action == kItemIncrease ? 1 : action == kItemDecrease ? -1 : 0; }

int StepFloatClamped(int action, float* value, float step, float lo, float hi)
{
    const int d = Direction(action);
    if (!d) return 0;
    float v = *value + float(d) * step;
    if (v > hi) v = hi;
    if (v < lo) v = lo;
    *value = v;
    return 1;
}

int StepIntClamped(int action, int* value, int step, int lo, int hi)
{
    const int d = Direction(action);
    if (!d) return 0;
    int v = *value + d * step;
    if (v > hi) v = hi;
    if (v < lo) v = lo;
    *value = v;
    return 1;
}

int StepIntWrapped(int action, int* value, int lo, int hi)
{
    const int d = Direction(action);
    if (!d) return 0;
    int v = *value + d;
    if (v > hi) v = lo;
    if (v < lo) v = hi;
    *value = v;
    return 1;
}

int StepByteClamped(int action, uint8_t* value, int lo, int hi)
{
    const int d = Direction(action);
    if (!d) return 0;
    const int v = uint8_t(*value + d);
    if (v > hi)
        *value = uint8_t(d < 0 ? lo : hi);
    else if (v < lo)
        *value = uint8_t(lo);
    else
        *value = uint8_t(v);
    return 1;
}

int SwitchFlag(int* value)
{
    *value = (*value == 0 || *value == 1) ? 1 - *value : 0;
    return 1;
}

int ItemLabel(char* text, const char* format, ...)
{
    if (!text) return 1;
    va_list args;
    va_start(args, format);
    VPrintString(text, kItemTextSize, format, args);
    va_end(args);
    return 1;
}
