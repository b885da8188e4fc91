// Records of widget types: taken zeroed from the environment's memory slot, handed back with the
// strings they own.
#include "ui/widgets/widgetrecord.h"

#include <cstring>

#include "lib/printing.h"

void* BasicUiWidget_NewRecord(sBasicUiEnvironment* env, int size)
{
    void* p = nullptr;
    if (!env || !BasicMemory_Alloc(env->memorySlot, &p, size)) return nullptr;
    std::memset(p, 0, size_t(size));
    return p;
}

void BasicUiWidget_FreeString(sBasicUiEnvironment* env, char** s)
{
    if (!s || !*s) return;
    if (env) BasicMemory_Free(env->memorySlot, *s);
    *s = nullptr;
}

int BasicUiWidget_FreeRecord(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!w || !w->widgetTypeRef.ptr) return 0;
    if (env) BasicMemory_Free(env->memorySlot, w->widgetTypeRef.ptr);
    w->widgetTypeRef.ptr = nullptr;
    return 1;
}

void BasicUiWidget_ReportMissing(sBasicUiWidget* w, int* reported, const char* what, const char* name)
{
    if (!reported || *reported) return;
    *reported = 1;
    PrintError("BasicUi: widget %s names %s %s, which does not exist; it does nothing", w && w->name ? w->name : "?",
               what, name ? name : "(none)");
}
