// Script functions are looked up by name each time a command runs, so the registry is a plain
// array searched from the front: the first registration of a name wins.
#include "ui/registry.h"

#include "lib/strings.h"

const char* basicFnName[kBasicFnMax];
BasicFn basicFn[kBasicFnMax];
int basicFnCount = 0;
BasicFn basicFnLoopCb = nullptr;

int BasicFn_Register(const char* name, BasicFn fn)
{
    if (!name || !fn) return 0;
    if (basicFnCount < 0 || basicFnCount >= kBasicFnMax) return 0;
    basicFnName[basicFnCount] = name;
    basicFn[basicFnCount] = fn;
    basicFnCount++;
    return 1;
}

BasicFn BasicFn_Find(const char* name)
{
    if (!name) return nullptr;
    for (int i = 0; i < basicFnCount && i < kBasicFnMax; i++) {
        if (EqualString(basicFnName[i], name)) return basicFn[i];
    }
    return nullptr;
}

void BasicFn_Clear() { basicFnCount = 0; }

void BasicUi_SetModalLoopCb(BasicFn cb) { basicFnLoopCb = cb; }

void BasicUi_RunModalLoopCb()
{
    if (basicFnLoopCb) basicFnLoopCb(nullptr, 0);
}
