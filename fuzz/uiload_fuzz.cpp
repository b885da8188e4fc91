// Fuzzes the UI description loader and the framework that runs what it loaded: any file is loaded
// into an environment (with the definitions' instances generated as it goes), every display,
// screen and widget tree is walked, the records are looked up by name, then every command
// sequence is started and the environment runs frames with input taken from the file (buttons,
// stylus touches that may type on the keyboard, frame times); navigation and shown-only dialogs
// are driven on every menu widget, with the accessors of buttons, scroll boxes, references, sticky
// buttons and dialogs, and more frames run, the 3D characters' rigs are animated, limited, mapped
// and skinned, the standings widgets are set to rounds, weeks and rows from the file and leagues
// get fixtures written into the tables they name, and the environment is cleared.
// Nothing may crash or hang, no tree may become a loop or lose a widget's parent link, the input
// mode stays a mode, and the memory manager must end where it started. Besides libFuzzer's own
// mutations, quoted numbers of the input are set to extremes (see the mutator at the end).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include "db/database.h"
#include "host/arena.h"
#include "host/files.h"
#include "host/host.h"
#include "lib/memory.h"
#include "platform/fileserver.h"
#include "platform/input.h"
#include "ui/environment.h"
#include "ui/frameupdate.h"
#include "ui/loader.h"
#include "ui/memoryslots.h"
#include "ui/registry.h"
#include "ui/templates.h"
#include "ui/widgets/bone3d.h"
#include "ui/widgets/button.h"
#include "ui/widgets/clip.h"
#include "ui/widgets/commands.h"
#include "ui/widgets/dbref.h"
#include "ui/widgets/dialogbox.h"
#include "ui/widgets/move3d.h"
#include "ui/widgets/rig3d.h"
#include "ui/widgets/scrollbox.h"
#include "ui/widgets/standings.h"
#include "ui/widgets/sticky.h"
#include "ui/widgets/transform3d.h"
#include "ui/widgets/triggers.h"
#include "ui/widgettypes.h"

static sBasicUiEnvironment* env = nullptr;
static std::string xmlPath;
static DS3_controller pad;

// A script function for descriptions to call: it lets the script go on for odd values.
static int FuzzFunction(sBasicUiWidget*, int value) { return value & 1; }

static void Check(int ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "uiload_fuzz: %s\n", what);
        std::abort();
    }
}

static void SetUpOnce()
{
    HostArenaInit(64 << 20);
    u8* start = HostDeviceMemoryAddress();
    InitMemoryHeap(&deviceHeap, start, start + HostDeviceMemorySize(), 0x4000, 128, 0, 1);
    const std::string dir = HostMakeTempFolder("zendrolyx-uiload-fuzz");
    if (dir.empty()) std::abort();
    gHostOptions.romDir = dir;
    // The folder goes when the fuzzer ends its run (one that crashes leaves it as it was).
    std::atexit([] { std::filesystem::remove_all(gHostOptions.romDir); });
    xmlPath = std::string(dir) + "/fuzz.xml";
    Check(FileSystemInit(), "file system");
    Check(BasicMemory_Init(basicUiNumberOfMemorySlots), "memory slots");
    BasicDb_Init();
    env = BasicUi_CreateEnvironment(const_cast<char*>("FuzzEnv"), 1);
    Check(env != nullptr, "environment");
    BasicFn_Register("Fuzz", FuzzFunction);
    controllers[0].controller = &pad;
}

enum { kFrames = 40 };

// Calls fn(widget, n) on the first `limit` widgets of a tree, depth first without recursion (n counts
// from 1), as the frame update walks it.
template <class Fn>
static void ForEachWidget(sBasicUiWidget* first, long limit, Fn fn)
{
    long count = 0;
    int depth = 0;
    for (sBasicUiWidget* w = first; w && ++count <= limit;) {
        fn(w, count);
        if (w->childWidget) {
            w = w->childWidget;
            ++depth;
            continue;
        }
        while (w && !w->nextWidget && depth > 0) {
            w = w->parentWidget;
            --depth;
        }
        w = w ? w->nextWidget : nullptr;
    }
}

// Starts every sequence of the tree.
static void RunSequences(sBasicUiWidget* first, long limit)
{
    ForEachWidget(first, limit, [](sBasicUiWidget* w, long) {
        if (w->widgetTypeRef.type == EBasicUiWidgetTypeCmdSequence) BasicUiWidgetTypeCmdSequence_Run(w);
    });
}

// Drives the menu widgets' own operations on every widget of the tree: navigation from each button
// in every direction (which pages scroll boxes), and opening shown-only dialogs (a dialog that runs
// its own frames is left to the scripts).
static void PokeMenuWidgets(sBasicUiWidget* first, long limit)
{
    ForEachWidget(first, limit, [](sBasicUiWidget* w, long count) {
            for (int dir = 0; dir < 4; ++dir) MoveBtn(w, nullptr, dir, dir & 1, 1 + dir);
            if (auto* d = static_cast<sBasicUiWidgetTypeDialogBox*>(
                    w->widgetTypeRef.type == EBasicUiWidgetTypeDialogBox ? w->widgetTypeRef.ptr : nullptr))
                if (d->isShowDialog.value) BasicUiWidgetTypeDialogBox_OpenDialog(w, 1 + int(count % 4));
            // The accessors that the triggers, the cursor and the front end call, on whatever the
            // description made of the widget (each must take a widget of any type).
            const int n = int(count % 40) - 5;
            BasicUiWidgetTypeScrollBox_SetSelectedIndex(w, n);
            BasicUiWidgetTypeScrollBox_SetSelectedSlot(w, n);
            BasicUiWidgetTypeScrollBox_ScrollTo(w, BasicUiWidgetTypeScrollBox_GetNth(w, n));
            BasicUiWidgetTypeButton_IsAvailable(w, 1);
            BasicUiWidgetTypeButton_IsInside0(w);
            BasicUiWidgetTypeButton_IsInside1(w);
            BasicUiWidgetTypeDbRef_GetDbInt(w);
            BasicUiWidgetTypeDbRef_IsLocked(w, n);
            float fx = float(n * 16), fy = float(n * 8);
            BasicUiWidgetTypeStickyButton_IsPressed(int(fx), int(fy), w);
            BasicUiWidgetTypeStickyButton_Center(&fx, &fy, w);
            BasicUiWidgetTypeDialogBox_IsPressed(int(fx), int(fy), w);
            BasicUiWidgetTypeDialogBox_Center(&fx, &fy, w);
    });
}

// Frames with input from the file's bytes, read in turn and repeated.
static void RunFrames(const uint8_t* data, size_t size)
{
    size_t at = 0;
    auto next = [&]() -> unsigned { return size ? data[at++ % size] : 0u; };
    for (int frame = 0; frame < kFrames; ++frame) {
        unsigned touch = next();
        pad.touchData = {int32_t(next() * 320 / 256), int32_t(next() * 240 / 256), int32_t(touch & 1)};
        // The pad as the game reads it; the update brings it into the UI's copy.
        allInput.buttons = uint16_t(next() << 8 | next());
        allInput.edges = uint16_t(next() << 8 | next());
        float dt = float(next()) / 255.0f / 20.0f;  // up to 50 ms: waits of a second end in the run
        BasicUi_UpdateEnvironment(env, dt);
        int mode = BasicUiEnvironment_GetInputMode(env);
        Check(mode >= 0 && mode < BasicUiInputMode_Max, "input mode out of range");
        FileSystemUpdate();
    }
}

// What the character widget does to a rig each frame, run on every rig, bone and limit of the
// tree with a frame and animation id from the file: enumerate, animate (a missing animation is
// reported and skipped), update the bones in order, limit them, hand their matrices over and run
// the inverse-kinematics mapper (bones found by name, whatever their type).
static void RunRigs(sBasicUiWidget* first, long limit, const uint8_t* data, size_t size)
{
    ForEachWidget(first, limit, [data, size](sBasicUiWidget* w, long count) {
            float frame = size ? float(data[count % size]) - 128.0f : 0.0f;
            switch (w->widgetTypeRef.type) {
            case EBasicUiWidgetType3DRig: {
                BasicUiWidgetType3DRig_EnumerateBoneArray(w);
                BasicUiWidgetType3DRig_Animate(w, int(frame) + 7000, &frame, int(frame) & 1, nullptr, int(frame) & 2);
                BasicUiWidgetType3DRig_UpdateBones(w);
                BasicUiWidgetType3DBone_UpdateBoneXforms(w);
                auto* rig = static_cast<sBasicUiWidgetType3DRig*>(w->widgetTypeRef.ptr);
                sBasicUiWidget* limits = rig && rig->limits ? rig->limits->childWidget : nullptr;
                for (sBasicUiWidget* c = w->childWidget; c; c = c->nextWidget)
                    BasicUiWidgetType3DRig_LimitBonesIncremental(c, &limits, 0);
                BasicUiWidgetType3DRig_LimitBonesIncremental(nullptr, &limits, int(frame) & 7);
                // The character's mapping pass, or its reset pass.
                BasicUiWidgetType3DRig_IKMapper(w, int(frame) & 1, int(frame) & 4);
                break;
            }
            case EBasicUiWidgetType3DBone: {
                float v[3] = {frame, 1.0f, -frame};
                BasicUiWidgetType3DBone_SetPivotPreLimit(w, v);
                BasicUiWidgetType3DBone_GetVectorInFixedGlobalTransform(w, v);
                break;
            }
            case EBasicUiWidgetType3DPRS:
                BasicUiWidgetType3DPRS_Edit(w, frame / 64.0f, -frame / 64.0f, 1.0f / 30);
                break;
            case EBasicUiWidgetTypeClip:
                BasicUiWidgetTypeClip_SetRange(w, frame, frame + 1.0f);
                break;
            case EBasicUiWidgetTypeLeagueTable: {
                BasicUiWidgetTypeLeagueTable_SetWeek(w, int(frame));
                BasicUiWidgetTypeLeagueTable_SetTop(w, int(frame));
                auto* league = static_cast<sBasicUiWidgetTypeLeagueTable*>(w->widgetTypeRef.ptr);
                if (league)
                    BasicUiWidgetTypeLeagueTable_GenerateFixtures(BasicUiWidgetTypeDbRef_Table(league->refs.saveRef),
                                                                  int(frame) & 3, 16, 16 + (int(frame) & 15),
                                                                  int(frame) & 31);
                break;
            }
            case EBasicUiWidgetTypeTreeTable:
                BasicUiWidgetTypeTreeTable_SetRound(w, int(frame));
                BasicUiWidgetTypeTreeTable_SetTop(w, int(frame));
                break;
            case EBasicUiWidgetTypeLadderTable:
                BasicUiWidgetTypeLadderTable_SetRound(w, int(frame));
                BasicUiWidgetTypeLadderTable_SetTop(w, int(frame));
                break;
            case EBasicUiWidgetTypeScoreTable:
                BasicUiWidgetTypeScoreTable_SetTop(w, int(frame));
                break;
            default:
                break;
            }
    });
}

// Walks one widget tree without recursion, as the frame update does, checking the links. Returns
// the number of widgets.
static long WalkTree(sBasicUiWidget* first, long limit)
{
    long count = 0;
    int depth = 0;
    sBasicUiWidget* w = first;
    while (w) {
        Check(++count <= limit, "widget tree is a loop");
        Check(!w->name || !w->name[0] || BasicUi_FindWidget(env, w->name) != nullptr, "named widget not found");
        if (w->childWidget) {
            Check(w->childWidget->parentWidget == w, "child without its parent link");
            w = w->childWidget;
            ++depth;
            continue;
        }
        while (w && !w->nextWidget && depth > 0) {
            w = w->parentWidget;
            --depth;
        }
        w = w ? w->nextWidget : nullptr;
    }
    return count;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool ready = (SetUpOnce(), true);
    (void)ready;

    std::FILE* f = std::fopen(xmlPath.c_str(), "wb");
    if (!f) std::abort();
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    unsigned usedBefore = deviceHeap.memoryUsed;
    env->variant = size % 4 == 0 ? -1 : int(size % 4);
    Check(BasicUiEnvironment_Load("fuzz.xml", env) == 1, "load stopped");

    // Every widget the walk can meet was allocated from the slot; more visits mean a loop.
    long limit = gBasicMemorySlots[env->memorySlot].allocs + 1;
    long displays = 0;
    for (sBasicUiDisplay* d = env->displayRoot; d; d = d->nextDisplay) {
        Check(++displays <= limit, "display list is a loop");
        Check(BasicUi_FindDisplay(env, d->name) != nullptr, "display not found");
        long screens = 0;
        for (sBasicUiScreen* s = d->nextScreen; s; s = s->nextScreen) {
            Check(++screens <= limit, "screen list is a loop");
            Check(s->parentDisplay == d, "screen without its display");
            Check(BasicUi_FindScreen(env, s->name) != nullptr, "screen not found");
            WalkTree(s->nextWidget, limit);
        }
    }
    for (sBasicUiAnim* a = env->animRoot; a; a = a->nextAnim)
        for (sBasicUiAnimKey* k = a->nextKey; k; k = k->next) Check(!k->next || k->next->prev == k, "key links");

    for (sBasicUiDisplay* d = env->displayRoot; d; d = d->nextDisplay)
        for (sBasicUiScreen* s = d->nextScreen; s; s = s->nextScreen) RunSequences(s->nextWidget, limit);
    RunFrames(data, size);
    for (sBasicUiDisplay* d = env->displayRoot; d; d = d->nextDisplay)
        for (sBasicUiScreen* s = d->nextScreen; s; s = s->nextScreen) PokeMenuWidgets(s->nextWidget, limit);
    RunFrames(data, size);
    for (sBasicUiDisplay* d = env->displayRoot; d; d = d->nextDisplay)
        for (sBasicUiScreen* s = d->nextScreen; s; s = s->nextScreen) RunRigs(s->nextWidget, limit, data, size);

    BasicUiEnvironment_Clear(env);
    Check(deviceHeap.memoryUsed == usedBefore, "memory not returned");
    return 0;
}

// ---- Numbers at their extremes ----

// The numbers of a description are what its widgets compute with, and their faults lie at the
// extremes, which byte-wise mutation reaches only by luck (a number grows by doubling, one step a
// run). So every other mutation writes an extreme in place of one of the input's quoted whole
// numbers, chosen at random; the others are libFuzzer's own.
extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

// Whether data[at] starts a quoted whole number ("12", "-3"); *end is then its closing quote.
static bool QuotedNumberAt(const uint8_t* data, size_t size, size_t at, size_t* end)
{
    if (data[at] != '"') return false;
    size_t i = at + 1;
    if (i < size && data[i] == '-') ++i;
    const size_t digits = i;
    while (i < size && data[i] >= '0' && data[i] <= '9') ++i;
    if (i == digits || i >= size || data[i] != '"') return false;
    *end = i;
    return true;
}

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize, unsigned int seed)
{
    std::minstd_rand random(seed);
    if (random() % 2 != 0) return LLVMFuzzerMutate(data, size, maxSize);
    size_t numbers = 0, end = 0;
    for (size_t at = 0; at < size; ++at)
        if (QuotedNumberAt(data, size, at, &end)) ++numbers;
    if (numbers == 0) return LLVMFuzzerMutate(data, size, maxSize);
    static const char* const kExtremes[] = {"2147483647", "-2147483648", "1000000000", "-1000000000", "99999"};
    const char* extreme = kExtremes[random() % (sizeof kExtremes / sizeof kExtremes[0])];
    size_t chosen = random() % numbers;
    for (size_t at = 0; at < size; ++at) {
        if (!QuotedNumberAt(data, size, at, &end) || chosen-- != 0) continue;
        // data[at + 1, end) becomes the extreme.
        const size_t length = std::strlen(extreme), old = end - at - 1;
        if (size - old + length > maxSize) return LLVMFuzzerMutate(data, size, maxSize);
        std::memmove(data + at + 1 + length, data + end, size - end);
        std::memcpy(data + at + 1, extreme, length);
        return size - old + length;
    }
    return size;
}
