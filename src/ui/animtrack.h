// Animation tracks: an animation set played on a widget. Each item of the set (a property name and
// a curve) is bound to the widget's property of that name; for a time, every curve is evaluated
// and its value written into its property, converted to the property's type, either as it is or
// added to the current value, the initial value or both.
#pragma once

#include "ui/environment.h"

struct sBasicUiAnimTracker {
    sBasicUiProperty prop;  // the driven property
    sBasicUiAnim* anim;
    sBasicUiAnimKey* key;   // the key found last: the next search starts here
};

struct sBasicUiAnimSetTracker {
    sBasicUiWidget* widget;
    sBasicUiAnimSet* animSet;
    int tracks;
    sBasicUiAnimTracker* track;  // follows the header in the same allocation
};

// A tracker with one track per item whose curve has keys and whose property the widget has;
// other items are skipped. Null for a null widget or set or when memory is short.
sBasicUiAnimSetTracker* BasicUi_CreateAnimSetTracker(sBasicUiEnvironment* env, sBasicUiWidget* widget,
                                                     sBasicUiAnimSet* animSet);
void BasicUiAnimSetTracker_Destroy(sBasicUiEnvironment* env, sBasicUiAnimSetTracker* tracker);

// Evaluate every track at time t (seconds) and write the properties: as the value, added to the
// current value, added to the initial value, added to both.
void BasicUiAnimSetTracker_SetTimeAndUpdatePropertiesAbs(sBasicUiAnimSetTracker* tracker, float t);
void BasicUiAnimSetTracker_SetTimeAndUpdatePropertiesAdd(sBasicUiAnimSetTracker* tracker, float t);
void BasicUiAnimSetTracker_SetTimeAndUpdatePropertiesAbsWithInitial(sBasicUiAnimSetTracker* tracker, float t);
void BasicUiAnimSetTracker_SetTimeAndUpdatePropertiesAddWithInitial(sBasicUiAnimSetTracker* tracker, float t);

// One curve between keys a and b (either may be null) at t into out[4], preset to (0, 0, 0, 1).
void BasicUiAnimSetTracker_DetermineValue(sBasicUiAnimTracker* track, sBasicUiAnimKey* a, sBasicUiAnimKey* b,
                                          float t, float* out);
void BasicUi_Lerp3f(const float* a, const float* b, float u, float* out);
void BasicUi_Slerp(float* a, const float* b, float u, float* out);
