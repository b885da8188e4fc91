// The UI environment's records, its property table and the lookups by name; every record comes from
// the environment's memory slot.
#include "ui/environment.h"

#include <cstring>

#include "db/database.h"
#include "lib/memory.h"
#include "lib/printing.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "lib/strings.h"
#include "shell/globals.h"
#include "shell/settings.h"
#include "ui/memoryslots.h"
#include "ui/osk.h"
#include "ui/presslatch.h"
#include "ui/widgets/commands.h"
#include "ui/widgettypes.h"

sBasicUiEnvironment* basicUiEnvironmentPtr = nullptr;

const sBasicUiValueBOOL basicUiValueBOOLTemplate = {1, 1, nullptr, -1};
const sBasicUiValueBYTE basicUiValueBYTETemplate = {0, 0, nullptr, -1};
const sBasicUiValueINT basicUiValueINTTemplate = {0, 0, nullptr, -1, {2, 'u', 'u', 0}};

sBasicUiValueBOOL BasicUiValueBOOL_Make(int value)
{
    sBasicUiValueBOOL v = basicUiValueBOOLTemplate;
    v.value = v.initial = value != 0;
    return v;
}

sBasicUiValueBYTE BasicUiValueBYTE_Make(int value)
{
    sBasicUiValueBYTE v = basicUiValueBYTETemplate;
    int clamped = value < 0 ? 0 : value > 255 ? 255 : value;
    v.value = v.initial = uint8_t(clamped);
    return v;
}

sBasicUiValueINT BasicUiValueINT_Make(int value)
{
    sBasicUiValueINT v = basicUiValueINTTemplate;
    v.value = v.initial = value;
    return v;
}

// ---- Property tables ----

void BasicUiPropertyTracker_Reset(sBasicUiPropertyTracker* tracker, eBasicUiPropertyTrackerType type, void* record)
{
    if (!tracker) return;
    tracker->trackerType = type;
    tracker->trackerPtr = record;
    tracker->props = 0;
}

int BasicUiPropertyTracker_Add(sBasicUiPropertyTracker* tracker, const char* name, eBasicUiPropertyType type,
                               void* value, int isEditable, int hasInitial)
{
    if (!tracker || !name || !value) return 0;
    if (tracker->props < 0 || tracker->props >= kBasicUiMaxProperties) return 0;
    sBasicUiProperty& p = tracker->prop[tracker->props++];
    p.isEditable = isEditable;
    p.hasInitial = hasInitial;
    p.name = name;
    p.propType = type;
    p.propPtr = value;
    return 1;
}

sBasicUiProperty* BasicUiPropertyTracker_FindPropertyByName(sBasicUiPropertyTracker* tracker, const char* name)
{
    if (!tracker || !name || std::strcmp(name, "type") == 0) return nullptr;
    int count = tracker->props < kBasicUiMaxProperties ? tracker->props : kBasicUiMaxProperties;
    // Every attribute of a description is looked up here among a widget's dozens of properties:
    // the first two letters settle most comparisons without a call.
    for (int i = 0; i < count; ++i) {
        const char* candidate = tracker->prop[i].name;
        if (!candidate || candidate[0] != name[0]) continue;
        if (name[0] && candidate[1] != name[1]) continue;
        if (std::strcmp(candidate, name) == 0) return &tracker->prop[i];
    }
    return nullptr;
}

// The record kinds' names, shown as the read-only "type" property.
static const char* kDisplayKind = "display";
static const char* kScreenKind = "screen";
static const char* kWidgetKind = "widget";

static void AddBaseProperties(sBasicUiPropertyTracker* tracker, const char** kind, char** name,
                              sBasicUiValueBOOL* isActive, sBasicUiValueBOOL* isRender)
{
    BasicUiPropertyTracker_Add(tracker, "type", eBasicUiPropertyTypeSTR, const_cast<char**>(kind), 0, 0);
    BasicUiPropertyTracker_Add(tracker, "name", eBasicUiPropertyTypeSTR, name, 0, 0);
    BasicUiPropertyTracker_Add(tracker, "isActive", eBasicUiPropertyTypeBOOL, isActive, 1, 1);
    BasicUiPropertyTracker_Add(tracker, "isRender", eBasicUiPropertyTypeBOOL, isRender, 1, 1);
}

void BasicUiDisplay_InitialisePropertyTracker(sBasicUiDisplay* d, sBasicUiPropertyTracker* tracker)
{
    if (!tracker) return;
    BasicUiPropertyTracker_Reset(tracker, eBasicUiPropertyTrackerTypeDisplay, d);
    if (!d) return;
    AddBaseProperties(tracker, &kDisplayKind, &d->name, &d->isActive, &d->isRender);
    BasicUiPropertyTracker_Add(tracker, "resourceSet", eBasicUiPropertyTypeResourceSetREF, &d->resourceSet, 1, 0);
    BasicUiPropertyTracker_Add(tracker, "x", eBasicUiPropertyTypeINT, &d->x, 1, 1);
    BasicUiPropertyTracker_Add(tracker, "y", eBasicUiPropertyTypeINT, &d->y, 1, 1);
    BasicUiPropertyTracker_Add(tracker, "w", eBasicUiPropertyTypeINT, &d->w, 1, 1);
    BasicUiPropertyTracker_Add(tracker, "h", eBasicUiPropertyTypeINT, &d->h, 1, 1);
}

void BasicUiScreen_InitialisePropertyTracker(sBasicUiScreen* s, sBasicUiPropertyTracker* tracker)
{
    if (!tracker) return;
    BasicUiPropertyTracker_Reset(tracker, eBasicUiPropertyTrackerTypeScreen, s);
    if (!s) return;
    AddBaseProperties(tracker, &kScreenKind, &s->name, &s->isActive, &s->isRender);
    BasicUiPropertyTracker_Add(tracker, "variant", eBasicUiPropertyTypeINT, &s->variant, 1, 1);
}

void BasicUiWidget_InitialisePropertyTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker)
{
    if (!tracker) return;
    BasicUiPropertyTracker_Reset(tracker, eBasicUiPropertyTrackerTypeWidget, w);
    if (!w) return;
    AddBaseProperties(tracker, &kWidgetKind, &w->name, &w->isActive, &w->isRender);
    BasicUiPropertyTracker_Add(tracker, "typeWidget", eBasicUiPropertyTypeWidgetTypeREF, &w->widgetTypeRef, 1, 0);
    BasicUiWidgetType_InitialiseTracker(w, tracker);
}

// ---- Names and hashing ----

int BasicUi_HashName(const char* name, uint32_t seed)
{
    uint32_t h = seed;
    for (int i = 0; name && i < kBasicUiHashChars && name[i]; ++i)
        h = h * 34u + uint32_t(int32_t(int8_t(name[i])));
    return int(h % kBasicUiHashSize);
}

static int HasName(const char* name) { return name && name[0]; }

static int SameName(const char* a, const char* b) { return a && b && std::strcmp(a, b) == 0; }

// Zeroed memory from the environment's slot.
static void* SlotAlloc(sBasicUiEnvironment* env, int size)
{
    void* p = nullptr;
    if (!env || !BasicMemory_Alloc(env->memorySlot, &p, size)) return nullptr;
    std::memset(p, 0, size_t(size));
    return p;
}

template <class T>
static T* SlotNew(sBasicUiEnvironment* env)
{
    return static_cast<T*>(SlotAlloc(env, int(sizeof(T))));
}

static char* SlotString(sBasicUiEnvironment* env, const char* s)
{
    if (!env || !s) return nullptr;
    return BasicMemory_DupString(env->memorySlot, const_cast<char*>(s));
}

static void SlotFree(sBasicUiEnvironment* env, void* p)
{
    if (env && p) BasicMemory_Free(env->memorySlot, p);
}

// ---- The environment list ----

sBasicUiEnvironment* BasicUi_GetEnvironment() { return basicUiEnvironmentPtr; }

sBasicUiEnvironment* BasicUi_CreateEnvironment(char* name, int memorySlot)
{
    void* p = nullptr;
    if (!AllocateClearedMemory(&p, int(sizeof(sBasicUiEnvironment)))) return nullptr;
    auto* env = static_cast<sBasicUiEnvironment*>(p);
    env->name = name;
    env->variant = -1;
    env->inputMode = BasicUiInputMode_Normal;
    env->memorySlot = memorySlot;
    BasicUiRLS_Init(&env->tracker, &env->resourceFileRoot, 0);
    if (!basicUiEnvironmentPtr) {
        env->prevEnv = env->nextEnv = env;
        basicUiEnvironmentPtr = env;
    } else {
        // In front of the first one in the circular order: at the tail.
        sBasicUiEnvironment* first = basicUiEnvironmentPtr;
        env->nextEnv = first;
        env->prevEnv = first->prevEnv;
        first->prevEnv->nextEnv = env;
        first->prevEnv = env;
    }
    return env;
}

// ---- Creation ----

sBasicUiDisplay* BasicUi_CreateDisplay(sBasicUiEnvironment* env, const char* name)
{
    auto* d = SlotNew<sBasicUiDisplay>(env);
    if (!d) return nullptr;
    d->name = SlotString(env, name);
    d->isActive = basicUiValueBOOLTemplate;
    d->isRender = basicUiValueBOOLTemplate;
    d->x = BasicUiValueINT_Make(0);
    d->y = BasicUiValueINT_Make(0);
    d->w = BasicUiValueINT_Make(1980);
    d->h = BasicUiValueINT_Make(1080);
    d->env = env;
    return d;
}

sBasicUiScreen* BasicUi_CreateScreen(sBasicUiEnvironment* env, const char* name, sBasicUiDisplay* display)
{
    auto* s = SlotNew<sBasicUiScreen>(env);
    if (!s) return nullptr;
    s->name = SlotString(env, name);
    s->isActive = basicUiValueBOOLTemplate;
    s->isRender = basicUiValueBOOLTemplate;
    s->variant = BasicUiValueINT_Make(0);
    s->parentDisplay = display;
    return s;
}

sBasicUiWidget* BasicUi_CreateWidget(sBasicUiEnvironment* env, const char* name, sBasicUiScreen* screen,
                                     sBasicUiWidget* parentWidget)
{
    auto* w = SlotNew<sBasicUiWidget>(env);
    if (!w) return nullptr;
    w->name = SlotString(env, name);
    w->isActive = basicUiValueBOOLTemplate;
    w->isRender = basicUiValueBOOLTemplate;
    w->parentScreen = screen;
    w->parentWidget = parentWidget;
    w->widgetTypeRef.type = 0;
    w->widgetTypeRef.ptr = nullptr;
    if (HasName(w->name)) {
        int b = BasicUi_HashName(w->name, 0);
        w->nextHash = env->wHash[b];
        env->wHash[b] = w;
    }
    return w;
}

sBasicUiConstantDef* BasicUi_CreateConstantDef(sBasicUiEnvironment* env)
{
    auto* c = SlotNew<sBasicUiConstantDef>(env);
    if (c) c->variant = -1;
    return c;
}

int BasicUiEnvironment_HashConstantDef(sBasicUiEnvironment* env, sBasicUiConstantDef* c)
{
    if (!env || !c || !HasName(c->name)) return 0;
    int b = BasicUi_HashName(c->name, uint32_t(c->variant));
    c->nextHash = env->cHash[b];
    env->cHash[b] = c;
    return 1;
}

sBasicDbFile* BasicUi_CreateDbFile(sBasicUiEnvironment* env, const char* filename)
{
    auto* f = SlotNew<sBasicDbFile>(env);
    if (!f) return nullptr;
    f->filename = SlotString(env, filename);
    f->fallback = SlotString(env, filename);
    return f;
}

sBasicUiResourceFile* BasicUi_CreateResourceFile(sBasicUiEnvironment* env, const char* filename)
{
    auto* f = SlotNew<sBasicUiResourceFile>(env);
    if (f) f->filename = SlotString(env, filename);
    return f;
}

sBasicUiResourceSet* BasicUi_CreateResourceSet(sBasicUiEnvironment* env, const char* name)
{
    auto* s = SlotNew<sBasicUiResourceSet>(env);
    if (s) s->name = SlotString(env, name);
    return s;
}

sBasicUiResourceSetItem* BasicUi_CreateResourceSetItem(sBasicUiEnvironment* env)
{
    auto* item = SlotNew<sBasicUiResourceSetItem>(env);
    if (!item) return nullptr;
    item->min = BasicUiValueINT_Make(-1);
    item->max = BasicUiValueINT_Make(-1);
    item->manage = basicUiValueBOOLTemplate;
    return item;
}

sBasicUiAnim* BasicUi_CreateAnim(sBasicUiEnvironment* env, const char* name)
{
    auto* a = SlotNew<sBasicUiAnim>(env);
    if (!a) return nullptr;
    a->name = SlotString(env, name);
    a->type = eBasicUiAnimTypeNULL;
    a->offset = 1;
    return a;
}

sBasicUiAnimKey* BasicUi_CreateAnimKey(sBasicUiEnvironment* env)
{
    auto* k = SlotNew<sBasicUiAnimKey>(env);
    if (k) k->v[3] = 1.0f;
    return k;
}

sBasicUiAnimSet* BasicUi_CreateAnimSet(sBasicUiEnvironment* env, const char* name)
{
    auto* s = SlotNew<sBasicUiAnimSet>(env);
    if (s) s->name = SlotString(env, name);
    return s;
}

sBasicUiAnimSetItem* BasicUi_CreateAnimSetItem(sBasicUiEnvironment* env) { return SlotNew<sBasicUiAnimSetItem>(env); }

// ---- Linking ----

template <class T>
static T* InsertAfter(T* first, T* record, int n, T* T::*next)
{
    if (!first) return record;
    if (!record) return first;
    if (n <= 0) {
        record->*next = first;
        return record;
    }
    T* p = first;
    for (int i = 1; i < n && p->*next; ++i) p = p->*next;
    record->*next = p->*next;
    p->*next = record;
    return first;
}

sBasicUiDisplay* BasicUi_InsertDisplay(sBasicUiDisplay* first, sBasicUiDisplay* d, int n)
{
    return InsertAfter(first, d, n, &sBasicUiDisplay::nextDisplay);
}

sBasicUiScreen* BasicUi_InsertScreen(sBasicUiScreen* first, sBasicUiScreen* s, int n)
{
    return InsertAfter(first, s, n, &sBasicUiScreen::nextScreen);
}

sBasicUiWidget* BasicUi_InsertWidget(sBasicUiWidget* first, sBasicUiWidget* w, int n)
{
    return InsertAfter(first, w, n, &sBasicUiWidget::nextWidget);
}

// Removes record from the chain starting at *head, if it is there.
template <class T>
static void Unlink(T** head, T* record, T* T::*next)
{
    for (T** link = head; *link; link = &((*link)->*next)) {
        if (*link == record) {
            *link = record->*next;
            return;
        }
    }
}

void BasicUi_CutWidget(sBasicUiWidget* w)
{
    if (!w) return;
    if (w->parentWidget)
        Unlink(&w->parentWidget->childWidget, w, &sBasicUiWidget::nextWidget);
    else if (w->parentScreen)
        Unlink(&w->parentScreen->nextWidget, w, &sBasicUiWidget::nextWidget);
    w->parentScreen = nullptr;
    w->parentWidget = nullptr;
    w->nextWidget = nullptr;
}

void BasicUi_CutScreen(sBasicUiScreen* s)
{
    if (!s) return;
    if (s->parentDisplay) Unlink(&s->parentDisplay->nextScreen, s, &sBasicUiScreen::nextScreen);
    s->parentDisplay = nullptr;
    s->nextScreen = nullptr;
}

void BasicUi_CutDisplay(sBasicUiDisplay* d, sBasicUiEnvironment* env)
{
    if (!d) return;
    if (env) Unlink(&env->displayRoot, d, &sBasicUiDisplay::nextDisplay);
    d->nextDisplay = nullptr;
}

// ---- Lookup ----

sBasicUiWidget* BasicUiEnvironment_GetWidgetUsingHashTable(sBasicUiEnvironment* env, const char* name)
{
    if (!env || !HasName(name)) return nullptr;
    for (sBasicUiWidget* w = env->wHash[BasicUi_HashName(name, 0)]; w; w = w->nextHash)
        if (SameName(w->name, name)) return w;
    return nullptr;
}

sBasicUiWidget* BasicUi_FindWidget(sBasicUiEnvironment* env, const char* name)
{
    return BasicUiEnvironment_GetWidgetUsingHashTable(env, name);
}

sBasicUiConstantDef* BasicUiEnvironment_GetConstantDefUsingHashTable(sBasicUiEnvironment* env, const char* name,
                                                                     int variant)
{
    if (!env || !HasName(name)) return nullptr;
    for (sBasicUiConstantDef* c = env->cHash[BasicUi_HashName(name, uint32_t(variant))]; c; c = c->nextHash)
        if (c->variant == variant && SameName(c->name, name)) return c;
    return nullptr;
}

sBasicUiConstantDef* BasicUi_FindConstantDef(sBasicUiEnvironment* env, const char* name)
{
    sBasicUiConstantDef* c = nullptr;
    if (env) {
        c = BasicUiEnvironment_GetConstantDefUsingHashTable(env, name, env->variant);
        if (!c && env->variant != -1) c = BasicUiEnvironment_GetConstantDefUsingHashTable(env, name, -1);
    }
    if (!c) PrintError("BasicUi_FindConstantDef: could not find constant: %s", name ? name : "");
    return c;
}

sBasicUiDisplay* BasicUi_FindDisplay(sBasicUiEnvironment* env, const char* name)
{
    if (!env || !HasName(name)) return nullptr;
    for (sBasicUiDisplay* d = env->displayRoot; d; d = d->nextDisplay)
        if (SameName(d->name, name)) return d;
    return nullptr;
}

sBasicUiScreen* BasicUi_FindScreen(sBasicUiEnvironment* env, const char* name)
{
    if (!env || !HasName(name)) return nullptr;
    for (sBasicUiDisplay* d = env->displayRoot; d; d = d->nextDisplay)
        for (sBasicUiScreen* s = d->nextScreen; s; s = s->nextScreen)
            if (SameName(s->name, name)) return s;
    return nullptr;
}

sBasicUiResourceSet* BasicUi_FindResourceSet(sBasicUiEnvironment* env, const char* name)
{
    if (!env || !HasName(name)) return nullptr;
    for (sBasicUiResourceSet* s = env->resourceSetRoot; s; s = s->nextSet)
        if (SameName(s->name, name)) return s;
    return nullptr;
}

sBasicUiAnim* BasicUi_FindAnim(sBasicUiEnvironment* env, const char* name)
{
    if (!env || !name) return nullptr;
    for (sBasicUiAnim* a = env->animRoot; a; a = a->nextAnim)
        if (SameName(a->name, name)) return a;
    return nullptr;
}

sBasicUiAnimSet* BasicUi_FindAnimSet(sBasicUiEnvironment* env, const char* name)
{
    if (!env || !name) return nullptr;
    for (sBasicUiAnimSet* s = env->animSetRoot; s; s = s->nextAnimSet)
        if (SameName(s->name, name)) return s;
    return nullptr;
}

const char* BasicUi_FindDbFileName(sBasicUiEnvironment* env, const char* name)
{
    if (!env || !name) return nullptr;
    for (sBasicDbFile* f = env->dbRoot; f; f = f->next)
        for (sBasicDb* db = f->db; db; db = db->next)
            if (SameName(db->name, name)) return f->filename;
    return nullptr;
}

sBasicDb* BasicUi_FindDb(sBasicUiEnvironment* env, const char* name)
{
    if (!env || !name) return nullptr;
    for (sBasicDbFile* f = env->dbRoot; f; f = f->next) {
        for (sBasicDb* db = f->db; db;) {
            const char* dbName = db->name;
            if (SameName(dbName, name)) return db;
            sBasicDb* next = db->next;
            db = next;
        }
    }
    // The databases registered to outlive an environment (the save database) are found too.
    for (int i = 0; i < BasicDb_DbCount(); ++i) {
        sBasicDb* db = BasicDb_DbGet(i);
        if (db && SameName(db->name, name)) return db;
    }
    return nullptr;
}

sBasicUiEnvironment* BasicUiDisplay_GetEnvironment(sBasicUiDisplay* d) { return d ? d->env : nullptr; }

sBasicUiEnvironment* BasicUiScreen_GetEnvironment(sBasicUiScreen* s)
{
    return s ? BasicUiDisplay_GetEnvironment(s->parentDisplay) : nullptr;
}

sBasicUiEnvironment* BasicUiWidget_GetEnvironment(sBasicUiWidget* w)
{
    while (w && !w->parentScreen) w = w->parentWidget;
    return w ? BasicUiScreen_GetEnvironment(w->parentScreen) : nullptr;
}

int BasicUiEnvironment_GetVariant(sBasicUiEnvironment* env)
{
    if (env) return env->variant;
    return (gHiDef != 0 || displayOptions.wideScreen != 0) ? gHiDef + 1 : 0;
}

void BasicUiEnvironment_SetInputMode(sBasicUiEnvironment* env, BasicUiInputMode mode)
{
    if (env) env->inputMode = mode;
}

BasicUiInputMode BasicUiEnvironment_GetInputMode(sBasicUiEnvironment* env)
{
    return env ? env->inputMode : BasicUiInputMode_Normal;
}

// ---- Destruction ----

static void UnhashWidget(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    if (!env || !HasName(w->name)) return;
    Unlink(&env->wHash[BasicUi_HashName(w->name, 0)], w, &sBasicUiWidget::nextHash);
}

static void DestroyOneWidget(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    UnhashWidget(env, w);
    SlotFree(env, w->name);
    w->name = nullptr;
    BasicUiWidgetType_Destroy(env, w);
    SlotFree(env, w);
}

// Children before their parent, without recursion: descending, a child's parent link is pointed at
// the widget it was reached from, so the walk can climb back whatever the links said before.
void BasicUiWidget_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    int depth = 0;
    sBasicUiWidget* cur = w;
    while (cur) {
        while (cur->childWidget) {
            sBasicUiWidget* child = cur->childWidget;
            cur->childWidget = nullptr;
            child->parentWidget = cur;
            cur = child;
            ++depth;
        }
        sBasicUiWidget* next = cur->nextWidget;
        sBasicUiWidget* up = cur->parentWidget;
        DestroyOneWidget(env, cur);
        if (next) {
            if (depth > 0) next->parentWidget = up;
            cur = next;
        } else if (depth > 0) {
            cur = up;  // its children are gone: it is destroyed on the next pass
            --depth;
        } else {
            cur = nullptr;
        }
    }
}

void BasicUiScreen_Destroy(sBasicUiEnvironment* env, sBasicUiScreen* s)
{
    while (s) {
        sBasicUiScreen* next = s->nextScreen;
        BasicUiWidget_Destroy(env, s->nextWidget);
        SlotFree(env, s->name);
        SlotFree(env, s);
        s = next;
    }
}

void BasicUiDisplay_Destroy(sBasicUiEnvironment* env, sBasicUiDisplay* d)
{
    while (d) {
        sBasicUiDisplay* next = d->nextDisplay;
        BasicUiScreen_Destroy(env, d->nextScreen);
        SlotFree(env, d->name);
        SlotFree(env, d);
        d = next;
    }
}

void BasicUiConstantDef_Destroy(sBasicUiEnvironment* env, sBasicUiConstantDef* c)
{
    while (c) {
        sBasicUiConstantDef* next = c->next;
        SlotFree(env, c->name);
        SlotFree(env, c->hValue);
        SlotFree(env, c);
        c = next;
    }
}

void BasicDbFile_Destroy(sBasicUiEnvironment* env, sBasicDbFile* f)
{
    while (f) {
        sBasicDbFile* next = f->next;
        SlotFree(env, f->filename);
        SlotFree(env, f->fallback);
        if (!f->persist && f->db) BasicDb_Destroy(f->db);
        SlotFree(env, f);
        f = next;
    }
}

void BasicUiResourceSet_Destroy(sBasicUiEnvironment* env, sBasicUiResourceSet* s)
{
    while (s) {
        sBasicUiResourceSet* next = s->nextSet;
        for (sBasicUiResourceSetItem* item = s->nextItem; item;) {
            sBasicUiResourceSetItem* nextItem = item->next;
            // A range that was never loadable (min 0 or below, or past max) has nothing to dispose.
            if (item->manage.value && item->min.value > 0 && item->min.value <= item->max.value)
                DisposeResourceRange(item->min.value, item->max.value);
            SlotFree(env, item);
            item = nextItem;
        }
        SlotFree(env, s->name);
        SlotFree(env, s);
        s = next;
    }
}

void BasicUiResourceFile_Destroy(sBasicUiEnvironment* env, sBasicUiResourceFile* f)
{
    while (f) {
        sBasicUiResourceFile* next = f->next;
        if (f->header) CloseResourceFile(f->header);
        f->header = nullptr;
        SlotFree(env, f->filename);
        SlotFree(env, f);
        f = next;
    }
}

void BasicUiAnim_Destroy(sBasicUiEnvironment* env, sBasicUiAnim* a)
{
    while (a) {
        sBasicUiAnim* next = a->nextAnim;
        for (sBasicUiAnimKey* k = a->nextKey; k;) {
            sBasicUiAnimKey* nextKey = k->next;
            SlotFree(env, k);
            k = nextKey;
        }
        SlotFree(env, a->name);
        SlotFree(env, a);
        a = next;
    }
}

void BasicUiAnimSet_Destroy(sBasicUiEnvironment* env, sBasicUiAnimSet* s)
{
    while (s) {
        sBasicUiAnimSet* next = s->nextAnimSet;
        for (sBasicUiAnimSetItem* item = s->nextItem; item;) {
            sBasicUiAnimSetItem* nextItem = item->next;
            SlotFree(env, item->prop);
            SlotFree(env, item);
            item = nextItem;
        }
        SlotFree(env, s->name);
        SlotFree(env, s);
        s = next;
    }
}

void BasicUiEnvironment_Clear(sBasicUiEnvironment* env)
{
    if (!env) return;
    BasicUiOSK_Forget(env);
    BasicUiWidgetTypeCmdBGM_Stop();
    BasicUiRLS_Fini(&env->tracker);
    BasicUiConstantDef_Destroy(env, env->constantDefRoot);
    BasicDbFile_Destroy(env, env->dbRoot);
    BasicUiResourceSet_Destroy(env, env->resourceSetRoot);
    BasicUiResourceFile_Destroy(env, env->resourceFileRoot);
    BasicUiAnim_Destroy(env, env->animRoot);
    BasicUiAnimSet_Destroy(env, env->animSetRoot);
    // The widget hash goes as a whole below; the walk need not unchain widget by widget.
    std::memset(env->wHash, 0, sizeof env->wHash);
    BasicUiDisplay_Destroy(env, env->displayRoot);
    env->constantDefRoot = nullptr;
    env->dbRoot = nullptr;
    env->resourceFileRoot = nullptr;
    env->resourceSetRoot = nullptr;
    env->displayRoot = nullptr;
    env->animRoot = nullptr;
    env->animSetRoot = nullptr;
    std::memset(env->cHash, 0, sizeof env->cHash);
    BasicMemory_Reset(env->memorySlot);
    env->inputMode = BasicUiInputMode_Normal;
    env->shownDialog = nullptr;
    BasicUi_ClearLatch();
}
