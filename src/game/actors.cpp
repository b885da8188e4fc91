// The actor pool: the free list and the actor, player and draw lists, and the per-step and per-
// frame walks over them. Handlers may add and dispose actors while a walk runs, so each walk takes
// the next actor before it calls a handler.
#include "game/actors.h"

#include <climits>
#include <cstddef>

#include "game/pins.h"
#include "game/records.h"
#include "lib/memory.h"
#include "lib/printing.h"
#include "platform/camera.h"
#include "platform/utilities.h"
#include "shell/settings.h"

actor_tag* actorPool = nullptr;
actor_tag* unusedActors = nullptr;
actor_tag* actorList = nullptr;
actor_tag* lastActor = nullptr;
int maxActors = 0;
actor_tag* playerList = nullptr;
actor_tag* drawList = nullptr;

actor_tag* bowlingBall = nullptr;
actor_tag* pinActors[kNumPins];
actor_tag* aimLine = nullptr;
actor_tag* homePlayers = nullptr;

float playerDetailLevels[2] = {425.0f, 1.0e38f};
int lodPolyCount[2] = {1900, 750};

static const int kLodLevels = 2;          // entries of lodPolyCount
static const int kMaxLodCharacters = 14;  // characters the detail budget looks at
static const int kPlayerPolyBudget = 160000;

// The handler walk under way: the actor whose handlers run and the one after it. DisposeActor
// moves both on, so that a handler may dispose any actor, itself included.
static int sWalking = 0;
static actor_tag* sWalkCurrent = nullptr;
static actor_tag* sWalkNext = nullptr;

static int IsInUse(const actor_tag* actor)
{
    for (const actor_tag* a = actorList; a; a = a->nextActor)
        if (a == actor) return 1;
    return 0;
}

static void UnlinkFromPlayerList(actor_tag* actor)
{
    if (actor->sortPrev)
        actor->sortPrev->sortNext = actor->sortNext;
    else if (playerList == actor)
        playerList = actor->sortNext;
    else
        return;  // not on the list
    if (actor->sortNext) actor->sortNext->sortPrev = actor->sortPrev;
    actor->sortNext = nullptr;
    actor->sortPrev = nullptr;
}

// Equal priorities keep creation order: the new actor goes after every one not above it.
static void InsertIntoDrawList(actor_tag* actor)
{
    actor_tag** link = &drawList;
    while (*link && (*link)->drawPriority <= actor->drawPriority) link = &(*link)->drawNext;
    actor->drawNext = *link;
    *link = actor;
}

static void UnlinkFromDrawList(actor_tag* actor)
{
    for (actor_tag** link = &drawList; *link; link = &(*link)->drawNext) {
        if (*link == actor) {
            *link = actor->drawNext;
            break;
        }
    }
    actor->drawNext = nullptr;
}

// Forgets the pool and every pointer into it.
static void ForgetPool()
{
    actorPool = nullptr;
    unusedActors = nullptr;
    actorList = nullptr;
    lastActor = nullptr;
    playerList = nullptr;
    drawList = nullptr;
    maxActors = 0;
    sWalkCurrent = nullptr;
    sWalkNext = nullptr;
    bowlingBall = nullptr;
    for (actor_tag*& pin : pinActors) pin = nullptr;
    for (RigidBody_tag& pin : pins) pin.theActor = nullptr;
    aimLine = nullptr;
    testOptions.testActor = nullptr;
    homePlayers = nullptr;
    for (TITLE_PlayerInfoStruct& player : gPlayerInfo) player.theActor = nullptr;
}

int InitializeActors(int count)
{
    if (count < 1 || std::size_t(count) > INT_MAX / sizeof(actor_tag))
        return PrintError("InitializeActors: cannot make a pool of %d actors", count);

    // A game that failed half-way leaves its pool behind: dispose it rather than lose the memory.
    if (actorPool && !DisposeActors()) FreeManagedMemory(actorPool, 0);
    ForgetPool();

    void* block = nullptr;
    int previous = SelectPermanentMemory();
    int allocated = AllocateMemory(&block, count * int(sizeof(actor_tag)));
    if (previous) SelectMemory(previous);
    if (!allocated || !block) return PrintError("InitializeActors: no memory for %d actors", count);

    actorPool = static_cast<actor_tag*>(block);
    for (int i = 0; i < count; ++i) actorPool[i].nextActor = i + 1 < count ? &actorPool[i + 1] : nullptr;
    unusedActors = actorPool;
    maxActors = count;
    return 1;
}

int AddActor(float x, float y, float heading, int type, actor_tag** out)
{
    actor_tag* a = unusedActors;
    if (!a) return PrintError("AddActor: no actor record is free (pool of %d)", maxActors);
    unusedActors = a->nextActor;
    ClearMemory(a, int(sizeof(actor_tag)));

    if (lastActor)
        lastActor->nextActor = a;
    else
        actorList = a;
    lastActor = a;

    a->logicalX = a->Xlocation = x;
    a->logicalY = a->Ylocation = y;
    a->logicalHeading = a->lastHeading = a->heading = heading;
    a->Wlocation = 1.0f;
    a->Xscale = a->Yscale = a->Zscale = 1.0f;
    a->actorRotation = {0.0f, 0.0f, 0.0f, 1.0f};
    a->translationScaleFactor = {1.0f, 1.0f, 1.0f, 0.0f};
    a->collisionCylinderScale = 1.0f;
    a->Xextents = 50.0f;
    a->Yextents = 50.0f;
    a->Zextents = 80.0f;
    a->clipStatus = kClipInFront;
    a->visible = 1;
    a->actorType = u8(type);

    if (type == kActorCharacter) {
        a->numLods = kLodLevels;
        a->lodNum = 0;
        a->detailLevels = playerDetailLevels;
        a->actorDisposeFunction = DisposePlayer;
        a->sortNext = playerList;
        if (playerList) playerList->sortPrev = a;
        playerList = a;
    }

    InsertIntoDrawList(a);
    if (out) *out = a;
    return 1;
}

int DisposeActor(actor_tag* actor)
{
    if (!actor || !IsInUse(actor)) return PrintError("DisposeActor: the actor is not in use");
    if (actor->actorDisposeFunction && !actor->actorDisposeFunction(actor))
        return PrintError("DisposeActor: the dispose handler of an actor of type %d failed", actor->actorType);

    // The actor's own blocks. Each pointer is cleared once freed, so that a retry after a
    // failure frees nothing twice.
    if (actor->scriptInfo.scriptStack) {
        if (!FreeManagedMemory(actor->scriptInfo.scriptStack, 0))
            return PrintError("DisposeActor: the script stack could not be freed");
        actor->scriptInfo.scriptStack = nullptr;
    }
    if (actor->collisionModelInfo) {
        if (!FreeManagedMemory(actor->collisionModelInfo, 0))
            return PrintError("DisposeActor: the collision model could not be freed");
        actor->collisionModelInfo = nullptr;
    }

    UnlinkFromDrawList(actor);
    // A record on the free list must be on no other list, whatever dispose handler it had.
    UnlinkFromPlayerList(actor);

    actor_tag* prev = nullptr;
    for (actor_tag* a = actorList; a != actor; a = a->nextActor) prev = a;
    if (prev)
        prev->nextActor = actor->nextActor;
    else
        actorList = actor->nextActor;
    if (lastActor == actor) lastActor = prev;

    if (sWalkCurrent == actor) {
        sWalkCurrent = nullptr;
        sWalkNext = actor->nextActor;
    } else if (sWalkNext == actor) {
        sWalkNext = actor->nextActor;
    }

    actor->nextActor = unusedActors;
    unusedActors = actor;
    return 1;
}

int DisposeActors()
{
    while (actorList)
        if (!DisposeActor(actorList)) return 0;
    if (actorPool && !FreeManagedMemory(actorPool, 0)) return PrintError("DisposeActors: the actor pool could not be freed");
    ForgetPool();
    return 1;
}

int DisposePlayer(actor_tag* actor)
{
    if (!actor) return 0;
    UnlinkFromPlayerList(actor);
    return 1;
}

// Which actors run this step: visible ones; in test mode only the test character and test mode's
// own markers (which follow what the menus edit), paused or not; otherwise all of them unless the
// game is paused outside an online session.
static int ShouldRunHandlers(const actor_tag* a)
{
    if (!a->visible) return 0;
    if (gTestModeRunning)
        return (a == testOptions.testActor && a->actorType == kActorCharacter) || a->actorType == kActorParticleTool;
    return !gGamePaused || gOnlineSessionActive;
}

// The tween handler, or the animation handler when there is no tween or the tween ended during
// its call, then the motion handler. Results are not used. Stops when a handler disposes the actor.
static void RunHandlers(actor_tag* a)
{
    actorFunc tween = a->tweenHandler;
    if (tween) {
        tween(a);
        if (sWalkCurrent != a) return;
    }
    if ((!tween || !a->tweenHandler) && a->animationHandler) {
        a->animationHandler(a);
        if (sWalkCurrent != a) return;
    }
    if (a->motionHandler) a->motionHandler(a);
}

int RunActorHandlers()
{
    if (sWalking) return PrintError("RunActorHandlers: called from inside an actor handler");
    sWalking = 1;
    for (actor_tag* a = actorList; a;) {
        sWalkCurrent = a;
        sWalkNext = a->nextActor;
        if (ShouldRunHandlers(a)) RunHandlers(a);
        // Actors made during the step are appended and run in the same step.
        a = sWalkCurrent ? sWalkCurrent->nextActor : sWalkNext;
    }
    sWalkCurrent = nullptr;
    sWalkNext = nullptr;
    sWalking = 0;
    return 1;
}

// Insertion sort by depth, nearest first; equal depths keep their order.
static void SortPlayerList()
{
    if (!playerList) return;
    actor_tag* a = playerList->sortNext;
    while (a) {
        actor_tag* next = a->sortNext;
        actor_tag* p = a->sortPrev;
        if (p->screenZ > a->screenZ) {
            p->sortNext = next;
            if (next) next->sortPrev = p;
            while (p && p->screenZ > a->screenZ) p = p->sortPrev;
            a->sortPrev = p;
            a->sortNext = p ? p->sortNext : playerList;
            a->sortNext->sortPrev = a;
            if (p)
                p->sortNext = a;
            else
                playerList = a;
        }
        a = next;
    }
}

// The level of detail at the actor's depth: one level for each leading threshold below it,
// never past the last level there is.
static int DetailLevelAt(const actor_tag* a)
{
    if (!a->detailLevels) return 0;
    int level = 0;
    while (level + 1 < a->numLods && level + 1 < kLodLevels && a->detailLevels[level] < a->screenZ) ++level;
    return level;
}

static int PolyCount(int lod) { return lodPolyCount[lod < 0 ? 0 : lod >= kLodLevels ? kLodLevels - 1 : lod]; }

// All characters on screen share the level of the nearest one; when together they pass the
// polygon budget, the farthest drop to the lower level first.
static void ChooseCharacterDetail()
{
    actor_tag* shown[kMaxLodCharacters];
    int n = 0;
    actor_tag* tail = playerList;
    while (tail && tail->sortNext) tail = tail->sortNext;
    for (actor_tag* a = tail; a && n < kMaxLodCharacters; a = a->sortPrev)
        if (a->visible && a->clipStatus != kClipBehindCamera) shown[n++] = a;
    if (n == 0) return;

    if (displayOptions.lodSwitching) {
        int level = DetailLevelAt(shown[n - 1]);
        for (int i = 0; i < n; ++i) shown[i]->lodNum = level;
    }

    int excess = -kPlayerPolyBudget;
    for (int i = 0; i < n; ++i) excess += PolyCount(shown[i]->lodNum);
    for (int i = 0; i < n && excess > 0; ++i) {
        if (shown[i]->lodNum == 0) {
            shown[i]->lodNum = 1;
            excess -= lodPolyCount[0] - lodPolyCount[1];
        }
    }
}

int ComputeActorScreenPositions()
{
    for (actor_tag* a = actorList; a; a = a->nextActor) {
        if (a->visible) {
            // The actor's transforms for this frame's view; its depth in view space is then the Z
            // of the translation row of actorXform.
            if (!ComputeActorXform(a)) return PrintError("actor of type %d: its transform cannot be computed", int(a->actorType));
            a->screenZ = a->actorXform[3][2];
            if (a->numLods > 0) a->lodNum = 0;
            if (a->animInfo.animation) {
                // Only the side of the camera is settled here. The bones are posed where they are
                // drawn: the character's drawing poses them for each eye's view, and only for a
                // character in front of the camera (game/characterdraw.cpp).
                a->clipStatus = a->screenZ <= 0.0f ? kClipBehindCamera : kClipInFront;
            }
        }
        a->displayAttributes &= ~kDisplayTransformed;
    }
    SortPlayerList();
    ChooseCharacterDetail();
    return 1;
}

int RenderActors()
{
    for (actor_tag* a = drawList; a; a = a->drawNext) {
        if (a->visible && a->actorDrawFunction && !a->actorDrawFunction(a)) return 0;
        a->displayAttributes &= ~kDisplayTransformed;
    }
    return 1;
}
