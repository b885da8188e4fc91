// What every widget type module shares: reaching a widget's own record through its type number,
// taking a record from the environment's memory slot and handing it and its strings back.
#pragma once

#include "ui/environment.h"

// The widget's record when the widget has this type and a record; else null.
template <class T>
inline T* BasicUiWidget_Record(sBasicUiWidget* w, int type)
{
    if (!w || w->widgetTypeRef.type != type) return nullptr;
    return static_cast<T*>(w->widgetTypeRef.ptr);
}

// A zeroed record of size bytes from the environment's slot; null when there is none.
void* BasicUiWidget_NewRecord(sBasicUiEnvironment* env, int size);
// Frees an owned string of the slot and clears the pointer.
void BasicUiWidget_FreeString(sBasicUiEnvironment* env, char** s);
// Frees the record and leaves the widget without one.
int BasicUiWidget_FreeRecord(sBasicUiEnvironment* env, sBasicUiWidget* w);

// Names the widget in a message about what its description names but the environment lacks,
// once per widget (reported is the record's flag), so that a frame loop does not repeat it.
void BasicUiWidget_ReportMissing(sBasicUiWidget* w, int* reported, const char* what, const char* name);

// A record of type T for a widget of type `type`, or the null type without a record.
template <class T>
inline sBasicUiWidgetTypeRef BasicUiWidget_CreateRecord(sBasicUiEnvironment* env, int type, T** out)
{
    sBasicUiWidgetTypeRef ref = {0, nullptr};
    *out = static_cast<T*>(BasicUiWidget_NewRecord(env, int(sizeof(T))));
    if (!*out) return ref;
    ref.type = uint8_t(type);
    ref.ptr = *out;
    return ref;
}
