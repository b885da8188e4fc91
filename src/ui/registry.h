// The registry of native functions that the UI's scripts call by name, and the callback that a
// modal dialog runs once in each frame of its own loop.
#pragma once

#include "ui/environment.h"  // BasicFn: int fn(widget, value); 1 lets the calling sequence go on

constexpr int kBasicFnMax = 512;

extern const char* basicFnName[kBasicFnMax];
extern BasicFn basicFn[kBasicFnMax];
extern int basicFnCount;
extern BasicFn basicFnLoopCb;

// Stores the name (by pointer, not copied) and the function in the next entry. 0 when either is
// null or the registry is full. A name registered twice keeps both entries; the first is found.
int BasicFn_Register(const char* name, BasicFn fn);
// The function of the first entry with exactly this name, or null.
BasicFn BasicFn_Find(const char* name);
// Empties the registry.
void BasicFn_Clear();

// The modal-loop callback; null removes it.
void BasicUi_SetModalLoopCb(BasicFn cb);
// Calls the callback, when one is set, with no widget and value 0; its result is not used.
void BasicUi_RunModalLoopCb();
