// Definition and instance widgets, and the generation that copies a definition's subtree under each
// instance.
#include "ui/templates.h"

#include "lib/printing.h"
#include "ui/propertycopy.h"
#include "ui/widgettypes.h"

static const char* const kTextNames[kBasicUiTemplateSlots] = {"s0", "s1", "s2", "s3", "s4"};
static const char* const kIntNames[kBasicUiTemplateSlots] = {"i0", "i1", "i2", "i3", "i4"};

template <class T>
static T* Record(sBasicUiWidget* w, int type)
{
    if (!w || w->widgetTypeRef.type != type) return nullptr;
    return static_cast<T*>(w->widgetTypeRef.ptr);
}

static void* NewRecord(sBasicUiEnvironment* env, int size)
{
    void* p = nullptr;
    if (!env || !BasicMemory_Alloc(env->memorySlot, &p, size)) return nullptr;
    return p;
}

static void FreeStrings(sBasicUiEnvironment* env, char** strings)
{
    for (int i = 0; i < kBasicUiTemplateSlots; ++i) {
        if (strings[i]) BasicMemory_Free(env->memorySlot, strings[i]);
        strings[i] = nullptr;
    }
}

// ---- Definition ----

sBasicUiWidgetTypeRef BasicUiWidgetTypeDefinition_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeRef ref = {EBasicUiWidgetTypeNull, nullptr};
    auto* d = static_cast<sBasicUiWidgetTypeDefinition*>(NewRecord(env, int(sizeof(sBasicUiWidgetTypeDefinition))));
    if (!d) return ref;
    d->sn = BasicUiValueINT_Make(0);
    d->in = BasicUiValueINT_Make(0);
    for (int i = 0; i < kBasicUiTemplateSlots; ++i) d->s[i] = d->i[i] = nullptr;
    ref.type = EBasicUiWidgetTypeDefinition;
    ref.ptr = d;
    return ref;
}

int BasicUiWidgetTypeDefinition_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker)
{
    auto* d = Record<sBasicUiWidgetTypeDefinition>(w, EBasicUiWidgetTypeDefinition);
    if (!d || !tracker) return 0;
    BasicUiPropertyTracker_Add(tracker, "sn", eBasicUiPropertyTypeINT, &d->sn, 1, 1);
    for (int i = 0; i < kBasicUiTemplateSlots; ++i)
        BasicUiPropertyTracker_Add(tracker, kTextNames[i], eBasicUiPropertyTypeSTR, &d->s[i], 1, 0);
    BasicUiPropertyTracker_Add(tracker, "in", eBasicUiPropertyTypeINT, &d->in, 1, 1);
    for (int i = 0; i < kBasicUiTemplateSlots; ++i)
        BasicUiPropertyTracker_Add(tracker, kIntNames[i], eBasicUiPropertyTypeSTR, &d->i[i], 1, 1);
    return 1;
}

int BasicUiWidgetTypeDefinition_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetTypeDefinition_Update(sBasicUiWidget*, float) { return 1; }
int BasicUiWidgetTypeDefinition_Render(sBasicUiWidget*) { return 1; }

int BasicUiWidgetTypeDefinition_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    auto* d = Record<sBasicUiWidgetTypeDefinition>(w, EBasicUiWidgetTypeDefinition);
    if (!d || !env) return 0;
    FreeStrings(env, d->s);
    FreeStrings(env, d->i);
    BasicMemory_Free(env->memorySlot, d);
    return 1;
}

// ---- Instance ----

sBasicUiWidgetTypeRef BasicUiWidgetTypeInstance_Create(sBasicUiEnvironment* env)
{
    sBasicUiWidgetTypeRef ref = {EBasicUiWidgetTypeNull, nullptr};
    auto* n = static_cast<sBasicUiWidgetTypeInstance*>(NewRecord(env, int(sizeof(sBasicUiWidgetTypeInstance))));
    if (!n) return ref;
    n->definition = nullptr;
    n->sn = BasicUiValueINT_Make(0);
    n->in = BasicUiValueINT_Make(0);
    for (int i = 0; i < kBasicUiTemplateSlots; ++i) {
        n->s[i] = nullptr;
        n->i[i] = BasicUiValueINT_Make(0);
    }
    ref.type = EBasicUiWidgetTypeInstance;
    ref.ptr = n;
    return ref;
}

int BasicUiWidgetTypeInstance_InitialiseTracker(sBasicUiWidget* w, sBasicUiPropertyTracker* tracker)
{
    auto* n = Record<sBasicUiWidgetTypeInstance>(w, EBasicUiWidgetTypeInstance);
    if (!n || !tracker) return 0;
    BasicUiPropertyTracker_Add(tracker, "definition", eBasicUiPropertyTypeWidgetREF, &n->definition, 1, 0);
    BasicUiPropertyTracker_Add(tracker, "sn", eBasicUiPropertyTypeINT, &n->sn, 1, 1);
    for (int i = 0; i < kBasicUiTemplateSlots; ++i)
        BasicUiPropertyTracker_Add(tracker, kTextNames[i], eBasicUiPropertyTypeSTR, &n->s[i], 1, 0);
    BasicUiPropertyTracker_Add(tracker, "in", eBasicUiPropertyTypeINT, &n->in, 1, 1);
    for (int i = 0; i < kBasicUiTemplateSlots; ++i)
        BasicUiPropertyTracker_Add(tracker, kIntNames[i], eBasicUiPropertyTypeINT, &n->i[i], 1, 1);
    return 1;
}

int BasicUiWidgetTypeInstance_SetProperty(sBasicUiWidget*, sBasicUiProperty*) { return 1; }
int BasicUiWidgetTypeInstance_Update(sBasicUiWidget*, float) { return 1; }
int BasicUiWidgetTypeInstance_Render(sBasicUiWidget*) { return 1; }

int BasicUiWidgetTypeInstance_Destroy(sBasicUiEnvironment* env, sBasicUiWidget* w)
{
    auto* n = Record<sBasicUiWidgetTypeInstance>(w, EBasicUiWidgetTypeInstance);
    if (!n || !env) return 0;
    FreeStrings(env, n->s);
    BasicMemory_Free(env->memorySlot, n);
    return 1;
}

// ---- Generation ----

// Property tables of the template widget and of its copy (generation runs on the main thread).
static sBasicUiPropertyTracker sourceTracker;
static sBasicUiPropertyTracker copyTracker;

static int IsSelfOrAncestor(const sBasicUiWidget* w, const sBasicUiWidget* of)
{
    for (const sBasicUiWidget* p = of; p; p = p->parentWidget)
        if (p == w) return 1;
    return 0;
}

static int Clamp(int n, int lo, int hi) { return n < lo ? lo : n > hi ? hi : n; }

static sBasicUiScreen* ScreenOf(sBasicUiWidget* w)
{
    while (w && !w->parentScreen) w = w->parentWidget;
    return w ? w->parentScreen : nullptr;
}

struct Generation {
    sBasicUiEnvironment* env;
    sBasicUiScreen* screen;
    sBasicUiWidget* definition;
    sBasicUiWidgetTypeDefinition* def;
    sBasicUiWidgetTypeInstance* inst;
    int count;     // text placeholders in use
    int intCount;  // integer values in use
};

// The copy of source under parent: a widget of the substituted name moved here, or a new one.
// Null when none can be had (the generation stops).
static sBasicUiWidget* CopyWidget(Generation* g, sBasicUiWidget* source, sBasicUiWidget* parent)
{
    char name[256];
    PrintString(name, int(sizeof name), "%s", source->name ? source->name : "");
    BasicUi_Substitute(name, int(sizeof name), g->def->s, g->inst->s, g->count);

    sBasicUiWidget* w = BasicUi_FindWidget(g->env, name);
    // A template widget (a name without placeholder), the definition itself, the instance or a copy
    // above this one are never moved: that would tear the template apart or make the tree a loop.
    if (w && (IsSelfOrAncestor(g->definition, w) || IsSelfOrAncestor(w, parent))) w = nullptr;
    if (w) {
        BasicUi_CutWidget(w);
        w->parentScreen = g->screen;
        w->parentWidget = parent;
    } else {
        w = BasicUi_CreateWidget(g->env, name[0] ? name : nullptr, g->screen, parent);
        if (!w) {
            PrintError("BasicUiWidgetTypeInstance_GenerateWidget: allocation problem.");
            return nullptr;
        }
    }
    if (!w->name || !w->name[0]) {
        BasicUiWidget_Destroy(g->env, w);
        PrintError("BasicUiWidgetTypeInstance_GenerateWidget: allocation problem.");
        return nullptr;
    }

    w->isActive = source->isActive;
    w->isRender = source->isRender;
    if (w->widgetTypeRef.type != EBasicUiWidgetTypeNull) {
        PrintError("BasicUiWidgetTypeInstance_GenerateWidget: duplicate instance of: %s.", w->name);
    } else {
        w->widgetTypeRef = BasicUiWidgetType_Create(g->env, source->widgetTypeRef.type);
        BasicUiWidget_InitialisePropertyTracker(source, &sourceTracker);
        BasicUiWidget_InitialisePropertyTracker(w, &copyTracker);
        int props = sourceTracker.props < copyTracker.props ? sourceTracker.props : copyTracker.props;
        for (int i = 0; i < props; ++i)
            BasicUi_PropertyCopyByValue(&sourceTracker.prop[i], &copyTracker.prop[i], g->def->s, g->inst->s, g->count,
                                        g->inst->i, g->intCount, g->env);
    }
    return w;
}

// Behind the previous copy at this level; the first under a parent without children becomes its
// first child; under a parent that already has children (found by name), at the end of them.
static void LinkCopy(sBasicUiWidget* parent, sBasicUiWidget* prev, sBasicUiWidget* w)
{
    if (!parent->childWidget) {
        parent->childWidget = w;
    } else if (prev && prev != w) {
        w->nextWidget = prev->nextWidget;
        prev->nextWidget = w;
    } else {
        sBasicUiWidget* p = parent->childWidget;
        while (p->nextWidget) p = p->nextWidget;
        if (p != w) p->nextWidget = w;
    }
}

void BasicUiWidgetTypeInstance_Generate(sBasicUiWidget* w)
{
    Generation g;
    g.inst = Record<sBasicUiWidgetTypeInstance>(w, EBasicUiWidgetTypeInstance);
    if (!g.inst) return;
    g.definition = g.inst->definition;
    g.def = Record<sBasicUiWidgetTypeDefinition>(g.definition, EBasicUiWidgetTypeDefinition);
    if (!g.def) return;
    g.env = BasicUiWidget_GetEnvironment(w);
    g.screen = ScreenOf(w);
    if (!g.env) return;
    if (IsSelfOrAncestor(g.definition, w)) {
        // Copies made inside the definition would be copied again without end.
        PrintError("BasicUiWidgetTypeInstance_Generate: instance %s lies inside its definition.",
                   w->name ? w->name : "");
        return;
    }
    g.count = Clamp(g.def->sn.value, 0, kBasicUiTemplateSlots);
    g.intCount = Clamp(g.inst->in.value, 0, kBasicUiTemplateSlots);

    sBasicUiWidget* source = g.definition->childWidget;
    if (!source) {
        if (g.definition->nextWidget) PrintError("BasicUiWidgetTypeInstance_Generate: run out of allocation resources.");
        return;
    }
    sBasicUiWidget* parent = w;
    sBasicUiWidget* prev = nullptr;
    int depth = 0;  // levels below the definition's children
    while (source) {
        sBasicUiWidget* copy = CopyWidget(&g, source, parent);
        if (!copy) {
            PrintError("BasicUiWidgetTypeInstance_Generate: run out of allocation resources.");
            return;
        }
        LinkCopy(parent, prev, copy);
        prev = copy;
        if (source->childWidget) {
            source = source->childWidget;
            parent = copy;
            prev = nullptr;
            ++depth;
            continue;
        }
        // Climb to the nearest level with a next sibling; the walk ends at the definition's
        // children, whatever follows the definition itself.
        while (source && !source->nextWidget) {
            if (depth == 0) {
                source = nullptr;
                break;
            }
            source = source->parentWidget;
            prev = parent;
            parent = parent->parentWidget;
            --depth;
        }
        if (source) source = source->nextWidget;
    }
}
