// Loading a UI description element by element, with a start handler for each kind of element, then
// the resources, databases and loader sizes that the description asks for.
#include "ui/loader.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "db/database.h"
#include "db/dbimage.h"
#include "db/dbxml.h"
#include "host/errorlog.h"
#include "lib/memory.h"
#include "lib/printing.h"
#include "lib/resourceids.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "platform/bitmap.h"
#include "shell/globals.h"
#include "ui/frameupdate.h"
#include "ui/loadcheck.h"
#include "ui/propertyread.h"
#include "ui/stats.h"
#include "ui/templates.h"
#include "xml/xmlreader.h"

// Resource type of bitmaps (fonts are bitmaps with a font table).
static const int kBitmapResourceType = kResourceTypeBitmap;

// The property table of the element being read (loading runs on the main thread only).
static sBasicUiPropertyTracker loaderTracker;

static int Is(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

static int AtEnd(const sBasicXmlReader* reader)
{
    return reader->buffer.eofPos && reader->buffer.bufferPos == reader->buffer.eofPos;
}

// Reads the element's attributes up to a non-empty "name"; the attributes before it are lost.
static const char* ReadNameAttribute(sBasicXmlReader* reader)
{
    while (BasicUi_NextAttribute(reader)) {
        BasicXmlReader_NextVal(reader);
        if (Is(reader->attBuffer, "name") && reader->valBuffer[0]) return reader->valBuffer;
    }
    return nullptr;
}

static void ReplaceString(sBasicUiEnvironment* env, char** field, const char* text)
{
    if (*field) BasicMemory_Free(env->memorySlot, *field);
    *field = BasicMemory_DupString(env->memorySlot, text);
}

// ---- Displays, screens and widgets ----

sBasicUiDisplay* BasicUiDisplay_ReadXml(sBasicXmlReader* reader, sBasicUiEnvironment* env)
{
    if (!reader || !env) return nullptr;
    const char* name = ReadNameAttribute(reader);
    sBasicUiDisplay* d = name ? BasicUi_FindDisplay(env, name) : nullptr;
    if (d)
        BasicUi_CutDisplay(d, env);
    else
        d = BasicUi_CreateDisplay(env, name ? name : "brokenDisplay");
    if (!d) return nullptr;
    BasicUiDisplay_InitialisePropertyTracker(d, &loaderTracker);
    BasicUi_ReadProperties(reader, &loaderTracker, env);
    return d;
}

sBasicUiScreen* BasicUiScreen_ReadXml(sBasicXmlReader* reader, sBasicUiDisplay* display, sBasicUiEnvironment* env)
{
    if (!reader || !env) return nullptr;
    const char* name = ReadNameAttribute(reader);
    sBasicUiScreen* s = name ? BasicUi_FindScreen(env, name) : nullptr;
    if (s) {
        BasicUi_CutScreen(s);
        s->parentDisplay = display;
    } else {
        s = BasicUi_CreateScreen(env, name ? name : "brokenScreen", display);
    }
    if (!s) return nullptr;
    BasicUiScreen_InitialisePropertyTracker(s, &loaderTracker);
    BasicUi_ReadProperties(reader, &loaderTracker, env);
    return s;
}

static int IsSelfOrAncestor(const sBasicUiWidget* w, const sBasicUiWidget* of)
{
    for (const sBasicUiWidget* p = of; p; p = p->parentWidget)
        if (p == w) return 1;
    return 0;
}

sBasicUiWidget* BasicUiWidget_ReadXml(sBasicXmlReader* reader, sBasicUiScreen* screen, sBasicUiWidget* parentWidget,
                                      sBasicUiEnvironment* env)
{
    if (!reader || !env) return nullptr;
    const char* name = ReadNameAttribute(reader);
    const bool nameless = !name;
    sBasicUiWidget* w = name ? BasicUi_FindWidget(env, name) : nullptr;
    if (w && IsSelfOrAncestor(w, parentWidget)) {
        // Moving a widget under itself or one of its own children would make the tree a loop.
        PrintError("BasicUiError: widget %s cannot be moved under itself", name);
        w = nullptr;
        name = nullptr;
    }
    if (w) {
        if (w->widgetTypeRef.type != 0) PrintError("BasicUiError: trying to remap widget: %s", name);
        BasicUi_CutWidget(w);
        w->parentScreen = screen;
        w->parentWidget = parentWidget;
    } else {
        if (nameless)
            PrintError("BasicUi: the widget on line %i has no name: it is made as brokenWidget without its attributes",
                       reader->tagLine);
        w = BasicUi_CreateWidget(env, name ? name : "brokenWidget", screen, parentWidget);
    }
    if (!w) return nullptr;
    BasicUiWidget_InitialisePropertyTracker(w, &loaderTracker);
    BasicUi_ReadProperties(reader, &loaderTracker, env);
    return w;
}

// ---- Constants, database and resource files ----

sBasicUiConstantDef* BasicUiConstantDef_ReadXml(sBasicXmlReader* reader, sBasicUiEnvironment* env)
{
    if (!reader || !env) return nullptr;
    sBasicUiConstantDef* c = BasicUi_CreateConstantDef(env);
    if (!c) return nullptr;
    while (BasicUi_NextAttribute(reader)) {
        BasicXmlReader_NextVal(reader);
        const char* att = reader->attBuffer;
        if (Is(att, "name"))
            ReplaceString(env, &c->name, reader->valBuffer);
        else if (Is(att, "hValue"))
            ReplaceString(env, &c->hValue, reader->valBuffer);
        else if (Is(att, "iValue"))
            c->iValue = BasicXmlReader_GetValINT(reader, 0);
        else if (Is(att, "variant"))
            c->variant = BasicXmlReader_GetValINT(reader, -1);
    }
    BasicUiEnvironment_HashConstantDef(env, c);
    return c;
}

sBasicDbFile* BasicDbFile_ReadXml(sBasicXmlReader* reader, sBasicUiEnvironment* env)
{
    if (!reader || !env) return nullptr;
    sBasicDbFile* f = BasicUi_CreateDbFile(env, nullptr);
    if (!f) return nullptr;
    while (BasicUi_NextAttribute(reader)) {
        BasicXmlReader_NextVal(reader);
        const char* att = reader->attBuffer;
        if (Is(att, "filename") || Is(att, "fallback")) {
            char** field = Is(att, "filename") ? &f->filename : &f->fallback;
            if (*field) BasicMemory_Free(env->memorySlot, *field);
            *field = BasicMemory_DupLanguageSpecificFilename(env->memorySlot, reader->valBuffer);
        } else if (Is(att, "persist")) {
            f->persist = BasicXmlReader_GetValINT(reader, 0);
        } else if (Is(att, "localized")) {
            f->localized = BasicXmlReader_GetValINT(reader, 0);
        }
    }
    return f;
}

sBasicUiResourceFile* BasicUiResourceFile_ReadXml(sBasicXmlReader* reader, sBasicUiEnvironment* env)
{
    if (!reader || !env) return nullptr;
    sBasicUiResourceFile* f = BasicUi_CreateResourceFile(env, nullptr);
    if (!f) return nullptr;
    while (BasicUi_NextAttribute(reader)) {
        BasicXmlReader_NextVal(reader);
        if (Is(reader->attBuffer, "filename")) ReplaceString(env, &f->filename, reader->valBuffer);
    }
    return f;
}

sBasicUiResourceSet* BasicUiResourceSet_ReadXml(sBasicXmlReader* reader, sBasicUiEnvironment* env)
{
    if (!reader || !env) return nullptr;
    sBasicUiResourceSet* s = BasicUi_CreateResourceSet(env, nullptr);
    if (!s) return nullptr;
    while (BasicUi_NextAttribute(reader)) {
        BasicXmlReader_NextVal(reader);
        if (Is(reader->attBuffer, "name")) ReplaceString(env, &s->name, reader->valBuffer);
    }
    return s;
}

sBasicUiResourceSetItem* BasicUiResourceSetItem_ReadXml(sBasicXmlReader* reader, sBasicUiResourceSet* set,
                                                        sBasicUiEnvironment* env)
{
    (void)set;
    if (!reader || !env) return nullptr;
    sBasicUiResourceSetItem* item = BasicUi_CreateResourceSetItem(env);
    if (!item) return nullptr;
    while (BasicUi_NextAttribute(reader)) {
        BasicXmlReader_NextVal(reader);
        const char* att = reader->attBuffer;
        if (Is(att, "min"))
            BasicUiValueINT_Read(reader, &item->min, env, 1);
        else if (Is(att, "max"))
            BasicUiValueINT_Read(reader, &item->max, env, 1);
        else if (Is(att, "manage"))
            BasicUiValueBOOL_Read(reader, &item->manage, env, 1);
    }
    return item;
}

// ---- Animations ----

static const char* const kAnimTypeNames[eBasicUiAnimTypeMAX] = {"null", "float", "cubic", "vec3", "quat"};

sBasicUiAnim* BasicUiAnim_ReadXml(sBasicXmlReader* reader, sBasicUiEnvironment* env)
{
    if (!reader || !env) return nullptr;
    sBasicUiAnim* a = BasicUi_CreateAnim(env, nullptr);
    if (!a) return nullptr;
    while (BasicUi_NextAttribute(reader)) {
        BasicXmlReader_NextVal(reader);
        const char* att = reader->attBuffer;
        if (Is(att, "name")) {
            ReplaceString(env, &a->name, reader->valBuffer);
        } else if (Is(att, "type")) {
            a->type = eBasicUiAnimTypeNULL;
            for (int t = 0; t < eBasicUiAnimTypeMAX; ++t)
                if (Is(reader->valBuffer, kAnimTypeNames[t])) a->type = eBasicUiAnimType(t);
        } else if (Is(att, "offset")) {
            a->offset = reader->valBuffer[0] == '0' ? 0 : 1;
        }
    }
    return a;
}

// count floats from text: one plain number, or "(a,b,...)". 1 only when every one converts to a
// finite number; -1 when one is infinite or not a number ("inf", "nan", 1e39), which no curve can
// use; 0 otherwise. out is changed only on 1.
static int ReadFloats(const char* text, int count, float* out)
{
    float v[4];
    const char* p = text;
    if (count > 1) {
        if (*p != '(') return 0;
        ++p;
    }
    for (int i = 0; i < count; ++i) {
        char* end = nullptr;
        v[i] = std::strtof(p, &end);
        if (end == p) return 0;
        p = end;
        if (i + 1 < count) {
            if (*p != ',') return 0;
            ++p;
        }
    }
    for (int i = 0; i < count; ++i)
        if (!std::isfinite(v[i])) return -1;
    for (int i = 0; i < count; ++i) out[i] = v[i];
    return 1;
}

sBasicUiAnimKey* BasicUiAnimKey_ReadXml(sBasicXmlReader* reader, sBasicUiAnim* anim, sBasicUiEnvironment* env)
{
    if (!reader || !env) return nullptr;
    sBasicUiAnimKey* k = BasicUi_CreateAnimKey(env);
    if (!k) return nullptr;
    while (BasicUi_NextAttribute(reader)) {
        BasicXmlReader_NextVal(reader);
        const char* att = reader->attBuffer;
        int read = 1;
        if (Is(att, "t")) {
            float t = 0.0f;
            read = ReadFloats(reader->valBuffer, 1, &t);
            if (read > 0 && t >= 0.0f) k->t = t;
        } else if (Is(att, "value") && anim) {
            static const int kCounts[eBasicUiAnimTypeMAX] = {0, 1, 4, 3, 4};
            int type = int(anim->type);
            if (type > 0 && type < eBasicUiAnimTypeMAX) read = ReadFloats(reader->valBuffer, kCounts[type], k->v);
        }
        if (read < 0)
            PrintError("BasicUi: anim %s: a key's %s %s is not a finite number; it is ignored",
                       anim && anim->name ? anim->name : "(none)", att, HostQuoted(reader->valBuffer).c_str());
    }
    return k;
}

sBasicUiAnimSet* BasicUiAnimSet_ReadXml(sBasicXmlReader* reader, sBasicUiEnvironment* env)
{
    if (!reader || !env) return nullptr;
    sBasicUiAnimSet* s = BasicUi_CreateAnimSet(env, nullptr);
    if (!s) return nullptr;
    while (BasicUi_NextAttribute(reader)) {
        BasicXmlReader_NextVal(reader);
        if (Is(reader->attBuffer, "name")) ReplaceString(env, &s->name, reader->valBuffer);
    }
    return s;
}

sBasicUiAnimSetItem* BasicUiAnimSetItem_ReadXml(sBasicXmlReader* reader, sBasicUiAnimSet* set,
                                                sBasicUiEnvironment* env)
{
    (void)set;
    if (!reader || !env) return nullptr;
    sBasicUiAnimSetItem* item = BasicUi_CreateAnimSetItem(env);
    if (!item) return nullptr;
    while (BasicUi_NextAttribute(reader)) {
        BasicXmlReader_NextVal(reader);
        const char* att = reader->attBuffer;
        if (Is(att, "prop"))
            ReplaceString(env, &item->prop, reader->valBuffer);
        else if (Is(att, "anim"))
            item->anim = BasicUi_FindAnim(env, reader->valBuffer);
    }
    return item;
}

// ---- The loading pass ----

// Links r into the chain at *head behind last. Without last (or when r itself was last, re-opened
// at its own place) it goes to the end of the chain. A null head (an element outside any
// container) links nothing.
template <class T>
static void LinkBehind(T** head, T* last, T* r, T* T::*next)
{
    if (!head || !r) return;
    if (!*head) {
        *head = r;
        return;
    }
    if (last && last != r) {
        r->*next = last->*next;
        last->*next = r;
        return;
    }
    T* p = *head;
    while (p->*next) p = p->*next;
    if (p != r) p->*next = r;
}

template <class T>
static T* LastOf(T* first, T* T::*next)
{
    if (!first) return nullptr;
    while (first->*next) first = first->*next;
    return first;
}

struct LoadState {
    sBasicUiDisplay* display;
    sBasicUiScreen* screen;
    sBasicUiWidget* parent;
    sBasicUiWidget* prev;
    sBasicUiConstantDef* lastConstant;
    sBasicDbFile* lastDbFile;
    sBasicUiResourceFile* lastResourceFile;
    sBasicUiResourceSet* resourceSet;
    sBasicUiResourceSetItem* lastResourceItem;
    sBasicUiAnim* anim;
    sBasicUiAnimKey* lastKey;
    sBasicUiAnimSet* animSet;
    sBasicUiAnimSetItem* lastAnimSetItem;
};

static void LinkKey(sBasicUiAnim* anim, sBasicUiAnimKey* last, sBasicUiAnimKey* k)
{
    LinkBehind(&anim->nextKey, last, k, &sBasicUiAnimKey::next);
    sBasicUiAnimKey* before = nullptr;
    for (sBasicUiAnimKey* p = anim->nextKey; p && p != k; p = p->next) before = p;
    k->prev = before;
    if (k->next) k->next->prev = k;
}

static void WidgetStart(sBasicXmlReader* reader, sBasicUiEnvironment* env, LoadState* st)
{
    sBasicUiWidget* w = BasicUiWidget_ReadXml(reader, st->screen, st->parent, env);
    if (w) {
        sBasicUiWidget** head = st->parent ? &st->parent->childWidget : st->screen ? &st->screen->nextWidget : nullptr;
        LinkBehind(head, st->prev, w, &sBasicUiWidget::nextWidget);
        st->prev = w;
        BasicUiWidgetTypeInstance_Generate(w);
    }
    BasicXmlReader_NextEnd(reader);
    if (w && !reader->isEmptyTag) {
        // Children of a widget that already has some (re-opened by name, or generated) follow them.
        st->parent = w;
        st->prev = LastOf(w->childWidget, &sBasicUiWidget::nextWidget);
    }
}

static void DisplayStart(sBasicXmlReader* reader, sBasicUiEnvironment* env, LoadState* st)
{
    sBasicUiDisplay* d = BasicUiDisplay_ReadXml(reader, env);
    if (d) {
        LinkBehind(&env->displayRoot, st->display, d, &sBasicUiDisplay::nextDisplay);
        st->display = d;
    }
    BasicXmlReader_NextEnd(reader);
    st->parent = nullptr;
    st->prev = nullptr;
    st->screen = (d && !reader->isEmptyTag) ? LastOf(d->nextScreen, &sBasicUiScreen::nextScreen) : nullptr;
}

static void ScreenStart(sBasicXmlReader* reader, sBasicUiEnvironment* env, LoadState* st)
{
    sBasicUiScreen* s = BasicUiScreen_ReadXml(reader, st->display, env);
    if (s) {
        LinkBehind(st->display ? &st->display->nextScreen : nullptr, st->screen, s, &sBasicUiScreen::nextScreen);
        st->screen = s;
    }
    BasicXmlReader_NextEnd(reader);
    st->parent = nullptr;
    st->prev = (s && !reader->isEmptyTag) ? LastOf(s->nextWidget, &sBasicUiWidget::nextWidget) : nullptr;
}

static void StartTag(sBasicXmlReader* reader, sBasicUiEnvironment* env, LoadState* st)
{
    const char* tag = reader->tagBuffer;
    if (Is(tag, "BasicUiWidget")) return WidgetStart(reader, env, st);
    if (Is(tag, "BasicUiScreen")) return ScreenStart(reader, env, st);
    if (Is(tag, "BasicUiDisplay")) return DisplayStart(reader, env, st);
    if (Is(tag, "BasicUiEnvironment")) {
        st->display = nullptr;
        st->screen = nullptr;
        st->parent = nullptr;
        st->prev = nullptr;
    } else if (Is(tag, "BasicUiConstantDef")) {
        sBasicUiConstantDef* c = BasicUiConstantDef_ReadXml(reader, env);
        LinkBehind(&env->constantDefRoot, st->lastConstant, c, &sBasicUiConstantDef::next);
        if (c) st->lastConstant = c;
    } else if (Is(tag, "BasicDbFile")) {
        sBasicDbFile* f = BasicDbFile_ReadXml(reader, env);
        LinkBehind(&env->dbRoot, st->lastDbFile, f, &sBasicDbFile::next);
        if (f) st->lastDbFile = f;
    } else if (Is(tag, "BasicUiResourceFile")) {
        sBasicUiResourceFile* f = BasicUiResourceFile_ReadXml(reader, env);
        LinkBehind(&env->resourceFileRoot, st->lastResourceFile, f, &sBasicUiResourceFile::next);
        if (f) st->lastResourceFile = f;
    } else if (Is(tag, "BasicUiResourceSet")) {
        sBasicUiResourceSet* s = BasicUiResourceSet_ReadXml(reader, env);
        LinkBehind(&env->resourceSetRoot, st->resourceSet, s, &sBasicUiResourceSet::nextSet);
        if (s) st->resourceSet = s;
        st->lastResourceItem = nullptr;
    } else if (Is(tag, "BasicUiResourceSetItem")) {
        sBasicUiResourceSetItem* item = BasicUiResourceSetItem_ReadXml(reader, st->resourceSet, env);
        if (item && st->resourceSet) {
            LinkBehind(&st->resourceSet->nextItem, st->lastResourceItem, item, &sBasicUiResourceSetItem::next);
            st->lastResourceItem = item;
        }
    } else if (Is(tag, "BasicUiAnim")) {
        sBasicUiAnim* a = BasicUiAnim_ReadXml(reader, env);
        LinkBehind(&env->animRoot, st->anim, a, &sBasicUiAnim::nextAnim);
        if (a) st->anim = a;
        st->lastKey = nullptr;
    } else if (Is(tag, "BasicUiAnimKey")) {
        sBasicUiAnimKey* k = BasicUiAnimKey_ReadXml(reader, st->anim, env);
        if (k && st->anim) {
            LinkKey(st->anim, st->lastKey, k);
            st->lastKey = k;
        }
    } else if (Is(tag, "BasicUiAnimSet")) {
        sBasicUiAnimSet* s = BasicUiAnimSet_ReadXml(reader, env);
        LinkBehind(&env->animSetRoot, st->animSet, s, &sBasicUiAnimSet::nextAnimSet);
        if (s) st->animSet = s;
        st->lastAnimSetItem = nullptr;
    } else if (Is(tag, "BasicUiAnimSetItem")) {
        sBasicUiAnimSetItem* item = BasicUiAnimSetItem_ReadXml(reader, st->animSet, env);
        if (item && st->animSet) {
            LinkBehind(&st->animSet->nextItem, st->lastAnimSetItem, item, &sBasicUiAnimSetItem::next);
            st->lastAnimSetItem = item;
        }
    }
    // Unknown tags are passed over with their attributes; their children are read as usual.
    BasicXmlReader_NextEnd(reader);
}

static void EndTag(const char* tag, LoadState* st)
{
    if (Is(tag, "BasicUiWidget")) {
        // A closing tag with no widget open is stray and changes nothing.
        if (st->parent) {
            st->prev = st->parent;
            st->parent = st->parent->parentWidget;
        }
    } else if (Is(tag, "BasicUiScreen")) {
        st->parent = nullptr;
        st->prev = nullptr;
    } else if (Is(tag, "BasicUiDisplay")) {
        st->screen = nullptr;
        st->parent = nullptr;
        st->prev = nullptr;
    } else if (Is(tag, "BasicUiEnvironment")) {
        st->display = nullptr;
        st->screen = nullptr;
        st->parent = nullptr;
        st->prev = nullptr;
    } else if (Is(tag, "BasicUiResourceSet")) {
        st->lastResourceItem = nullptr;
    } else if (Is(tag, "BasicUiAnim")) {
        st->lastKey = nullptr;
    } else if (Is(tag, "BasicUiAnimSet")) {
        st->lastAnimSetItem = nullptr;
    }
}

static void ReadDescription(sBasicXmlReader* reader, sBasicUiEnvironment* env)
{
    LoadState st;
    std::memset(&st, 0, sizeof st);
    for (;;) {
        int more = BasicXmlReader_NextTag(reader);
        if (reader->tagBuffer[0]) {
            if (reader->isEndTag)
                EndTag(reader->tagBuffer, &st);
            else
                StartTag(reader, env, &st);
        } else if (AtEnd(reader)) {
            break;
        }
        // A tag name too long for the reader comes back empty: the loader goes on with the next.
        if (!more && AtEnd(reader)) break;
    }
    // A display, screen or widget still open at the end: the file was cut short in it, and what
    // followed is lost (a cut inside a tag or a comment the reader has reported).
    if ((st.display || st.screen || st.parent) && !reader->cutShort)
        PrintError("BasicUi: %s ends inside a %s that is never closed; the rest of the file is lost", reader->filename,
                   st.parent ? "widget" : st.screen ? "screen" : "display");
}

static void RecordHeap(sBasicUiValueINT* mem, sBasicUiValueINT* allocs)
{
    unsigned bytes = 0, count = 0;
    DefaultHeapMemoryAvailable(&bytes);
    DefaultHeapAllocations(&count);
    mem->value = mem->initial = int(bytes);
    allocs->value = allocs->initial = int(count);
}

int BasicUiEnvironment_Load(const char* filename, sBasicUiEnvironment* env)
{
    if (!env) return 1;
    sBasicUiEditor* editor = BasicUi_GetEditor();
    if (editor && editor->env == env) BasicUiEditor_Clear(editor, 0);
    BasicUiEnvironment_Clear(env);
    if (editor) {
        RecordHeap(&editor->memLoad, &editor->allocsLoad);
        BasicUiCounter_SetElapsedTimeNoCap(0);
    }

    sBasicXmlReader reader;
    if (filename && BasicXmlReader_Init(&reader, filename)) {
        ReadDescription(&reader, env);
        BasicXmlReader_Fini(&reader);
        BasicUiEnvironment_CheckLoaded(env);
    } else {
        PrintError("BasicUiEnvironment_Load: could not load filename: %s", filename ? filename : "null");
    }
    if (editor) editor->loadingXml = BasicUiCounter_SetElapsedTimeNoCap(0);

    BasicUiEnvironment_InitResources(env);
    if (done) return 0;
    if (editor) editor->loadingRez = BasicUiCounter_SetElapsedTimeNoCap(0);
    BasicUiEnvironment_AddPersistantDbs(env);
    BasicUiEnvironment_InitDbs(env);
    if (editor) editor->loadingDbXml = BasicUiCounter_SetElapsedTimeNoCap(0);

    sBasicUiConstantDef* temp = BasicUiEnvironment_GetConstantDefUsingHashTable(env, "RLS.TEMP", env->variant);
    if (!temp) temp = BasicUiEnvironment_GetConstantDefUsingHashTable(env, "RLS.TEMP", -1);
    if (temp) BasicUiRLS_Init(&env->tracker, &env->resourceFileRoot, temp->iValue);

    if (editor && editor->env == env) BasicUiEditor_UpdateEnvInfo(editor);
    return 1;
}

// ---- After reading: resources and databases ----

int BasicUiResourceFile_Init(sBasicUiResourceFile* file)
{
    for (sBasicUiResourceFile* f = file; f; f = f->next) {
        if (f->header || !f->filename) continue;
        char path[256];
        PrintString(path, int(sizeof path), "%s%s", "rom:\\", f->filename);
        BasicXml_BS2FS(path);
        f->header = OpenResourceFile(path);
        if (!f->header) PrintError("resource loading error! whilst loading: %s", path);
    }
    return 1;
}

int BasicUiResourceFile_Shut(sBasicUiResourceFile* file)
{
    (void)file;
    return 1;
}

// The first id after one that has no header that may have one: the next group's first member
// past the plain ids and past a group's last member; past the last group, beyond every int.
static long long NextHeldId(long long id)
{
    long long group = id >> 16;
    if (group == 0 && id < maxResources) return id + 1;
    if (group + 1 >= maxResources) return (long long)INT_MAX + 1;
    return (group + 1) << 16;
}

int BasicUi_LoadResourceRange1x1(int first, int last)
{
    resourceHeader* r = nullptr;
    if (!GetResourceHeader(first, &r)) return 0;
    if (!r->resourceFile) {
        PrintError("Resource header not present for resource range %i to %i", first, last);
        return 0;
    }
    if (first > last) return 1;
    // Counted wide, so that a range up to the largest id ends; stretches that no archive or
    // group holds are passed over whole.
    for (long long at = first; at <= last; ++at) {
        const int id = int(at);
        if (!GetResourceHeader(id, &r)) {
            at = NextHeldId(at) - 1;
            continue;
        }
        if (r->resourceType == kResourceTypeGroup) {
            // Both displays may name the same resource set: a group already in memory is there
            // for this range too, and is not loaded (nor reported) again.
            if (!done && !r->resourceHandle && !LoadResourceGroup(id))
                PrintError("BasicUi Error: could not load basicUi resource group %i!", id);
            continue;
        }
        if (r->resourceLength <= 0 || done) continue;
        if (ReadResource(id)) continue;
        if (id >> 16)
            PrintError("BasicUi Error: could not load basicUi resource: %i offset=%i!", id >> 16, id & 0xFFFF);
        else
            PrintError("BasicUi Error: could not load basicUi resource %i!", id);
        if (!ResourceLoaded(id) || ResourceType(id) != kBitmapResourceType) {
            DisposeResourceRange(id, id);
            return 0;
        }
        auto* bitmap = static_cast<DS3_bitmap_tag*>(ResourceHandle(id));
        if (bitmap->flags & 4) {
            bitmap->fontTable = nullptr;
            PrintError("BasicUi Error: font texture without font info (%i)!", id);
        }
    }
    return 1;
}

int BasicUiEnvironment_InitResources(sBasicUiEnvironment* env)
{
    if (!env) return 0;
    BasicUiResourceFile_Init(env->resourceFileRoot);
    for (sBasicUiDisplay* d = env->displayRoot; d; d = d->nextDisplay) {
        if (!d->resourceSet) continue;
        for (sBasicUiResourceSetItem* item = d->resourceSet->nextItem; item && !done; item = item->next) {
            if (item->min.value > 0 && item->min.value <= item->max.value)
                BasicUi_LoadResourceRange1x1(item->min.value, item->max.value);
        }
    }
    BasicUiResourceFile_Shut(env->resourceFileRoot);
    return 1;
}

int BasicUiEnvironment_AddPersistantDbs(sBasicUiEnvironment* env)
{
    if (!env) return 0;
    for (int i = 0; i < BasicDb_DbCount(); ++i) {
        sBasicDbFile* f = BasicUi_CreateDbFile(env, nullptr);
        if (!f) return 0;
        f->persist = 1;
        f->db = BasicDb_DbGet(i);
        LinkBehind(&env->dbRoot, static_cast<sBasicDbFile*>(nullptr), f, &sBasicDbFile::next);
    }
    return 1;
}

// The database as one contiguous image in permanent memory, or as it was loaded when no image
// can be made.
static sBasicDb* Packed(sBasicDb* db)
{
    sBasicDb* copy = nullptr;
    if (!BasicDb_CreateContiguousCopy(&db, &copy)) return db;
    BasicDb_Destroy(db);
    return copy;
}

int BasicUiEnvironment_InitDbs(sBasicUiEnvironment* env)
{
    if (!env) return 0;
    for (sBasicDbFile* f = env->dbRoot; f; f = f->next) {
        if (f->db || !f->filename || f->persist) continue;
        SelectTempMemory();
        sBasicDb* db = nullptr;
        int loaded = BasicDb_Load(&db, f->filename);
        // A reading that the order to close stopped is no missing file.
        if (!loaded && f->fallback && !done) loaded = BasicDb_Load(&db, f->fallback);
        if (!loaded && !done)
            PrintError("BasicUiEnvironment_InitDbs: could not load file: %s or fallback %s", f->filename,
                       f->fallback ? f->fallback : "null");
        SelectPermanentMemory();
        // A file may hold more than one database: the first is kept in this record, each further
        // one in a record of its own linked behind it.
        sBasicDbFile* at = f;
        for (sBasicDb* next = nullptr; db; db = next) {
            next = db->next;
            db->next = nullptr;
            if (at->db) {
                sBasicDbFile* more = BasicUi_CreateDbFile(env, nullptr);
                if (!more) {
                    PrintError("BasicUiEnvironment_InitDbs: no memory to keep a further database of %s", f->filename);
                    BasicDb_Destroy(db);
                    continue;
                }
                more->next = at->next;
                at->next = more;
                at = more;
            }
            at->db = Packed(db);
        }
        f = at;
    }
    SelectPermanentMemory();
    return 1;
}
