#include "game/actors.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "game/records.h"
#include "host/errorlog.h"
#include "lib/memory.h"
#include "lib/resources.h"
#include "platform/camera.h"
#include "platform/skeleton.h"
#include "shell/settings.h"
#include "support/device_heap.h"

namespace {

// Handlers write "<kind><label>" into the log; an actor's label is its script name.
std::vector<std::string> gCalls;
actor_tag* gVictim;  // what the disposing handlers dispose

void Log(const char* kind, actor_tag* a) { gCalls.push_back(std::string(kind) + a->scriptInfo.scriptName); }
int Tween(actor_tag* a) { return Log("T", a), 1; }
int TweenEnds(actor_tag* a) { return Log("T", a), a->tweenHandler = nullptr, 1; }
int Anim(actor_tag* a) { return Log("A", a), 1; }
int Motion(actor_tag* a) { return Log("M", a), 1; }
int Draw(actor_tag* a) { return Log("D", a), 1; }
int DrawFails(actor_tag* a) { return Log("D", a), 0; }
int Refuse(actor_tag*) { return 0; }
int DisposeVictim(actor_tag* a) { return Log("M", a), DisposeActor(gVictim); }
int DisposeSelfAndReplace(actor_tag* a)
{
    Log("M", a);
    actor_tag* fresh = nullptr;
    if (!DisposeActor(a) || !AddActor(0, 0, 0, 0, &fresh)) return 0;
    std::strcpy(fresh->scriptInfo.scriptName, "new");
    fresh->motionHandler = Motion;
    return 1;
}
int RunNested(actor_tag*) { return RunActorHandlers(); }

std::vector<actor_tag*> ActorListOrder()
{
    std::vector<actor_tag*> out;
    for (actor_tag* a = actorList; a; a = a->nextActor) out.push_back(a);
    return out;
}
std::vector<actor_tag*> DrawOrder()
{
    std::vector<actor_tag*> out;
    for (actor_tag* a = drawList; a; a = a->drawNext) out.push_back(a);
    return out;
}
// The player list front to back, checking the back links on the way.
std::vector<actor_tag*> PlayerOrder()
{
    std::vector<actor_tag*> out;
    actor_tag* prev = nullptr;
    for (actor_tag* a = playerList; a; prev = a, a = a->sortNext) {
        EXPECT_EQ(a->sortPrev, prev);
        out.push_back(a);
    }
    return out;
}

// Animation `id` in the resource table: one frame of one bone that stands still (the animated
// actors' transforms read its root motion). The block is the game's memory; FreeStillAnimation
// gives it back.
constexpr int kStillAnimation = 1325;
void* stillAnimation = nullptr;
void InstallStillAnimation(int id)
{
    const int size = kAnimationHeaderBytes + kFrameTranslationBytes + 8;
    ASSERT_EQ(AllocateClearedMemory(&stillAnimation, size), 1);
    auto* anim = static_cast<animation_tag*>(stillAnimation);
    anim->numFrames = 1;
    anim->numBones = 1;
    anim->rateRatio = 1.0f;
    anim->frameLength = kFrameTranslationBytes + 8;
    anim->frames = static_cast<uint8_t*>(stillAnimation) + kAnimationHeaderBytes;
    resourceHeader& r = resourceHeaders[id];
    r.resourceType = kResourceTypeAnimation;
    r.resourceLength = r.resourceUncompressedLength = size;
    r.resourceHandle = stillAnimation;
}
void FreeStillAnimation()
{
    if (!stillAnimation) return;
    resourceHeaders[kStillAnimation].resourceHandle = nullptr;
    FreeManagedMemory(stillAnimation, 0);
    stillAnimation = nullptr;
}

class Actors : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(8 << 20), 1);
        gTestModeRunning = gGamePaused = gOnlineSessionActive = 0;
        displayOptions.lodSwitching = 1;
        testOptions.testActor = nullptr;
        gCalls.clear();
        HostClearErrorLog();
        ASSERT_EQ(InitResources(10000), 1);
        baseline = deviceHeap.memoryUsed;
        ASSERT_EQ(InitializeActors(kActorPoolSize), 1);
    }
    void TearDown() override
    {
        if (actorPool) {
            EXPECT_EQ(DisposeActors(), 1);
        }
        FreeStillAnimation();
        FreeResources();
        ReleaseDeviceHeap();
        gTestModeRunning = gGamePaused = gOnlineSessionActive = 0;
        testOptions.testActor = nullptr;  // it lay in the released heap
    }
    actor_tag* Add(const char* label, int type = 6, actorFunc motion = Motion)
    {
        actor_tag* a = nullptr;
        EXPECT_EQ(AddActor(0, 0, 0, type, &a), 1);
        if (!a) return nullptr;
        std::strcpy(a->scriptInfo.scriptName, label);
        a->motionHandler = motion;
        return a;
    }
    uint32_t baseline = 0;
};

TEST_F(Actors, PoolHandsOutRecordsInAddressOrderAndTheFiftyFirstFails)
{
    std::vector<actor_tag*> made;
    for (int i = 0; i < kActorPoolSize; ++i) made.push_back(Add("x"));
    for (int i = 0; i < kActorPoolSize; ++i) ASSERT_EQ(made[i], actorPool + i);
    EXPECT_EQ(lastActor, made.back());

    actor_tag* out = reinterpret_cast<actor_tag*>(0x1);
    EXPECT_EQ(AddActor(1, 2, 3, 6, &out), 0);
    EXPECT_EQ(out, reinterpret_cast<actor_tag*>(0x1));
    EXPECT_EQ(ActorListOrder(), made);
    EXPECT_EQ(DrawOrder(), made);
    EXPECT_EQ(lastActor, made.back());
    EXPECT_EQ(unusedActors, nullptr);
    EXPECT_NE(HostErrorLog().find("AddActor"), std::string::npos);

    // A freed record is the next one handed out, and the new actor joins the end of the list.
    ASSERT_EQ(DisposeActor(made[17]), 1);
    actor_tag* again = Add("again");
    EXPECT_EQ(again, made[17]);
    EXPECT_EQ(lastActor, again);
    EXPECT_EQ(ActorListOrder().size(), size_t(kActorPoolSize));
}

TEST_F(Actors, NewActorIsClearedAndSetUp)
{
    actor_tag* a = Add("old");
    a->Xvelocity = 9;
    a->tweenHandler = Tween;
    a->displayAttributes = -1;
    a->drawPriority = 3;
    ASSERT_EQ(DisposeActor(a), 1);
    ASSERT_EQ(AddActor(10, 20, 30, 5, &a), 1);

    EXPECT_EQ(a->logicalX, 10);
    EXPECT_EQ(a->Xlocation, 10);
    EXPECT_EQ(a->logicalY, 20);
    EXPECT_EQ(a->Ylocation, 20);
    EXPECT_EQ(a->Zlocation, 0);
    EXPECT_EQ(a->Wlocation, 1);
    EXPECT_EQ(a->logicalHeading, 30);
    EXPECT_EQ(a->lastHeading, 30);
    EXPECT_EQ(a->heading, 30);
    EXPECT_EQ(a->Xscale, 1);
    EXPECT_EQ(a->Yscale, 1);
    EXPECT_EQ(a->Zscale, 1);
    EXPECT_EQ(a->actorRotation.x, 0);
    EXPECT_EQ(a->actorRotation.y, 0);
    EXPECT_EQ(a->actorRotation.z, 0);
    EXPECT_EQ(a->actorRotation.w, 1);
    EXPECT_EQ(a->translationScaleFactor.x, 1);
    EXPECT_EQ(a->translationScaleFactor.y, 1);
    EXPECT_EQ(a->translationScaleFactor.z, 1);
    EXPECT_EQ(a->collisionCylinderScale, 1);
    EXPECT_EQ(a->Xextents, 50);
    EXPECT_EQ(a->Yextents, 50);
    EXPECT_EQ(a->Zextents, 80);
    EXPECT_EQ(a->clipStatus, kClipInFront);
    EXPECT_EQ(a->visible, 1);
    EXPECT_EQ(a->actorType, 5);
    EXPECT_EQ(a->Xvelocity, 0);
    EXPECT_EQ(a->tweenHandler, nullptr);
    EXPECT_EQ(a->actorDisposeFunction, nullptr);
    EXPECT_EQ(a->displayAttributes, 0);
    EXPECT_EQ(a->drawPriority, 0);
    EXPECT_EQ(a->numLods, 0);
    EXPECT_EQ(playerList, nullptr) << "only characters join the player list";
}

TEST_F(Actors, CharactersJoinTheFrontOfThePlayerListAndLeaveItOnDisposal)
{
    actor_tag* p1 = Add("p1", kActorCharacter);
    actor_tag* p2 = Add("p2", kActorCharacter);
    actor_tag* p3 = Add("p3", kActorCharacter);
    EXPECT_EQ(p1->numLods, 2);
    EXPECT_EQ(p1->lodNum, 0);
    EXPECT_EQ(p1->detailLevels, playerDetailLevels);
    EXPECT_EQ(p1->actorDisposeFunction, DisposePlayer);
    EXPECT_EQ(PlayerOrder(), (std::vector<actor_tag*>{p3, p2, p1}));

    ASSERT_EQ(DisposeActor(p2), 1);
    EXPECT_EQ(PlayerOrder(), (std::vector<actor_tag*>{p3, p1}));
    // Even a character whose dispose handler was replaced leaves the player list.
    p3->actorDisposeFunction = nullptr;
    ASSERT_EQ(DisposeActor(p3), 1);
    EXPECT_EQ(PlayerOrder(), (std::vector<actor_tag*>{p1}));
    ASSERT_EQ(DisposeActor(p1), 1);
    EXPECT_EQ(playerList, nullptr);
}

TEST_F(Actors, DrawListIsOrderedByPriorityKeepingCreationOrder)
{
    actor_tag* a = Add("a");
    a->drawPriority = 5;
    actor_tag* b = Add("b");
    actor_tag* c = Add("c");
    b->drawPriority = -1;
    actor_tag* d = Add("d");
    EXPECT_EQ(DrawOrder(), (std::vector<actor_tag*>{b, c, d, a}));
    ASSERT_EQ(DisposeActor(c), 1);
    EXPECT_EQ(DrawOrder(), (std::vector<actor_tag*>{b, d, a}));
}

TEST_F(Actors, DisposalUnlinksFromEveryPositionAndRefusesWhatIsNotInUse)
{
    actor_tag* only = Add("only");
    ASSERT_EQ(DisposeActor(only), 1);
    EXPECT_EQ(actorList, nullptr);
    EXPECT_EQ(lastActor, nullptr);
    EXPECT_EQ(drawList, nullptr);
    EXPECT_EQ(unusedActors, only);
    EXPECT_EQ(DisposeActor(only), 0) << "a second disposal must not thread the record twice";
    EXPECT_EQ(unusedActors->nextActor, actorPool + 1);
    EXPECT_EQ(DisposeActor(nullptr), 0);

    actor_tag* a = Add("a");
    actor_tag* b = Add("b");
    actor_tag* c = Add("c");
    actor_tag* d = Add("d");
    ASSERT_EQ(DisposeActor(d), 1);
    EXPECT_EQ(lastActor, c);
    ASSERT_EQ(DisposeActor(a), 1);
    EXPECT_EQ(ActorListOrder(), (std::vector<actor_tag*>{b, c}));
    ASSERT_EQ(DisposeActor(b), 1);
    EXPECT_EQ(ActorListOrder(), (std::vector<actor_tag*>{c}));
    EXPECT_EQ(lastActor, c);

    // A refusing dispose handler leaves the actor where it was.
    c->actorDisposeFunction = Refuse;
    EXPECT_EQ(DisposeActor(c), 0);
    EXPECT_EQ(ActorListOrder(), (std::vector<actor_tag*>{c}));
    EXPECT_EQ(DrawOrder(), (std::vector<actor_tag*>{c}));
    c->actorDisposeFunction = nullptr;
}

TEST_F(Actors, DisposalFreesTheActorsOwnBlocks)
{
    actor_tag* a = Add("a");
    uint32_t before = deviceHeap.memoryUsed;
    ASSERT_EQ(AllocateMemory(&a->scriptInfo.scriptStack, 256), 1);
    void* collision = nullptr;
    ASSERT_EQ(AllocateMemory(&collision, 64), 1);
    a->collisionModelInfo = static_cast<CollisionModelInfo*>(collision);
    ASSERT_EQ(DisposeActor(a), 1);
    EXPECT_EQ(deviceHeap.memoryUsed, before);
    EXPECT_EQ(a->scriptInfo.scriptStack, nullptr);
}

TEST_F(Actors, DisposeActorsEmptiesThePoolAndForgetsTheGameActors)
{
    actor_tag* a = Add("a");
    actor_tag* b = Add("b", kActorCharacter);
    a->actorDisposeFunction = b->actorDisposeFunction = [](actor_tag* x) { return Log("X", x), 1; };
    bowlingBall = a;
    gPlayerInfo[0].theActor = homePlayers = b;
    ASSERT_EQ(DisposeActors(), 1);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"Xa", "Xb"}));
    EXPECT_EQ(actorPool, nullptr);
    EXPECT_EQ(maxActors, 0);
    EXPECT_EQ(playerList, nullptr) << "b's replaced dispose handler did not unlink it";
    EXPECT_EQ(bowlingBall, nullptr);
    EXPECT_EQ(homePlayers, nullptr);
    EXPECT_EQ(gPlayerInfo[0].theActor, nullptr);
    EXPECT_EQ(deviceHeap.memoryUsed, baseline);

    // A refusing actor stops the tear-down with the pool kept.
    ASSERT_EQ(InitializeActors(kActorPoolSize), 1);
    Add("stays")->actorDisposeFunction = Refuse;
    EXPECT_EQ(DisposeActors(), 0);
    EXPECT_NE(actorPool, nullptr);
    actorList->actorDisposeFunction = nullptr;
}

TEST_F(Actors, ANewPoolReclaimsOneLeftBehind)
{
    Add("left");
    uint32_t used = deviceHeap.memoryUsed;
    ASSERT_EQ(InitializeActors(kActorPoolSize), 1);
    EXPECT_EQ(deviceHeap.memoryUsed, used);
    EXPECT_EQ(actorList, nullptr);
    EXPECT_EQ(InitializeActors(0), 0);
}

TEST_F(Actors, HandlersRunInListOrderWithTheTweenRule)
{
    actor_tag* a = Add("a");
    a->tweenHandler = Tween;  // a tween under way: no animation step
    a->animationHandler = Anim;
    actor_tag* b = Add("b");
    b->tweenHandler = TweenEnds;  // the tween ends: the animation steps at once
    b->animationHandler = Anim;
    actor_tag* c = Add("c", 6, nullptr);
    c->animationHandler = Anim;
    actor_tag* hidden = Add("h");
    hidden->visible = 0;
    a->drawPriority = 9;  // the draw order plays no part

    ASSERT_EQ(RunActorHandlers(), 1);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"Ta", "Ma", "Tb", "Ab", "Mb", "Ac"}));
    gCalls.clear();
    ASSERT_EQ(RunActorHandlers(), 1);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"Ta", "Ma", "Ab", "Mb", "Ac"}));
}

TEST_F(Actors, PauseAndTestModeDecideWhichActorsRun)
{
    actor_tag* ball = Add("ball", kActorBall);
    actor_tag* bowler = Add("bowler", kActorCharacter);

    gGamePaused = 1;
    RunActorHandlers();
    EXPECT_TRUE(gCalls.empty()) << "paused offline, everything freezes";
    gOnlineSessionActive = 1;
    RunActorHandlers();
    EXPECT_EQ(gCalls, (std::vector<std::string>{"Mball", "Mbowler"}));

    gCalls.clear();
    gTestModeRunning = 1;
    testOptions.testActor = bowler;
    RunActorHandlers();
    gGamePaused = 0;
    RunActorHandlers();
    EXPECT_EQ(gCalls, (std::vector<std::string>{"Mbowler", "Mbowler"}));

    gCalls.clear();
    testOptions.testActor = ball;  // only a character runs in test mode
    RunActorHandlers();
    EXPECT_TRUE(gCalls.empty());
}

TEST_F(Actors, HandlersMayDisposeActorsDuringTheWalk)
{
    actor_tag* a = Add("a", 6, DisposeVictim);
    actor_tag* b = Add("b");
    Add("c");
    gVictim = b;  // the next one: skipped
    RunActorHandlers();
    EXPECT_EQ(gCalls, (std::vector<std::string>{"Ma", "Mc"}));

    gCalls.clear();
    gVictim = a;  // itself: the walk goes on from its successor
    RunActorHandlers();
    EXPECT_EQ(gCalls, (std::vector<std::string>{"Ma", "Mc"}));

    // A tween that disposes its own actor runs nothing more of it.
    actor_tag* d = Add("d");
    d->tweenHandler = [](actor_tag* x) { return Log("T", x), DisposeActor(x); };
    d->animationHandler = Anim;
    gCalls.clear();
    RunActorHandlers();
    EXPECT_EQ(gCalls, (std::vector<std::string>{"Mc", "Td"}));
    EXPECT_EQ(ActorListOrder().size(), 1u);

    // Disposing itself and reusing the record: the new actor runs once, at the end.
    actor_tag* e = Add("e", 6, DisposeSelfAndReplace);
    Add("f");
    gCalls.clear();
    RunActorHandlers();
    EXPECT_EQ(gCalls, (std::vector<std::string>{"Mc", "Me", "Mf", "Mnew"}));
    EXPECT_EQ(lastActor, e);
}

TEST_F(Actors, HandlerWalkIsNotReentered)
{
    Add("a", 6, RunNested)->animationHandler = Anim;
    Add("b");
    EXPECT_EQ(RunActorHandlers(), 1);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"Aa", "Mb"}));
    EXPECT_NE(HostErrorLog().find("inside an actor handler"), std::string::npos);
}

// An identity view: an actor's depth is its Z.
void SetDepth(actor_tag* a, float z)
{
    setIdentityMatrix(shaderViewXform);
    a->Zlocation = z;
}


TEST_F(Actors, ScreenPositionsSortCharactersAndClipAnimatedActors)
{
    actor_tag* near = Add("near", kActorCharacter);
    actor_tag* far = Add("far", kActorCharacter);
    actor_tag* mid = Add("mid", kActorCharacter);
    actor_tag* behind = Add("behind", kActorCharacter);
    actor_tag* still = Add("still");
    SetDepth(near, 100);
    SetDepth(far, 900);
    SetDepth(mid, 300);
    SetDepth(behind, -5);
    SetDepth(still, -5);
    InstallStillAnimation(kStillAnimation);
    for (actor_tag* a : {near, far, mid, behind}) a->animInfo.animation = kStillAnimation;
    near->clipStatus = still->clipStatus = kClipBehindCamera;
    for (actor_tag* a : ActorListOrder()) a->displayAttributes = kDisplayTransformed | kDisplayMirrored;
    still->visible = 0;

    ASSERT_EQ(ComputeActorScreenPositions(), 1);
    EXPECT_EQ(PlayerOrder(), (std::vector<actor_tag*>{behind, near, mid, far}));
    EXPECT_EQ(near->screenZ, 100);
    EXPECT_EQ(near->clipStatus, kClipInFront);
    EXPECT_EQ(behind->clipStatus, kClipBehindCamera);
    EXPECT_EQ(still->clipStatus, kClipBehindCamera) << "an invisible actor is left alone";
    for (actor_tag* a : ActorListOrder()) EXPECT_EQ(a->displayAttributes, kDisplayMirrored);

    // Depth 0 counts as behind; equal depths keep their order.
    SetDepth(behind, 0);
    SetDepth(far, 100);
    ASSERT_EQ(ComputeActorScreenPositions(), 1);
    EXPECT_EQ(behind->clipStatus, kClipBehindCamera);
    EXPECT_EQ(PlayerOrder(), (std::vector<actor_tag*>{behind, near, far, mid}));
}

// Each visible actor's transforms are made for the frame's view before its depth is read: the
// plain models drawn from actorXform (pins, aim line, bumpers) stand where their actors are.
TEST_F(Actors, ScreenPositionsPlaceEachVisibleActorInTheView)
{
    actor_tag* pin = Add("pin", kActorPin);
    actor_tag* hidden = Add("hidden", kActorPin);
    pin->Xlocation = 10, pin->Ylocation = 1440, pin->Zlocation = 15;
    pin->Xscale = pin->Yscale = pin->Zscale = 2.0f;
    pin->heading = 180.0f;  // no turn
    hidden->visible = 0;
    hidden->Zlocation = 15;
    setTranslationMatrix(shaderViewXform, 5.0f, -1000.0f, 0.0f);

    ASSERT_EQ(ComputeActorScreenPositions(), 1);
    EXPECT_FLOAT_EQ(pin->actorXform[0][0], 2.0f);
    EXPECT_FLOAT_EQ(pin->actorXform[3][0], 15.0f);
    EXPECT_FLOAT_EQ(pin->actorXform[3][1], 440.0f);
    EXPECT_FLOAT_EQ(pin->actorXform[3][2], 15.0f);
    EXPECT_FLOAT_EQ(pin->actorXform[3][3], 1.0f);
    EXPECT_FLOAT_EQ(pin->screenZ, 15.0f);
    EXPECT_EQ(hidden->actorXform[3][3], 0.0f) << "a hidden actor is not transformed";

    // It follows the actor from frame to frame.
    pin->Zlocation = -30;
    ASSERT_EQ(ComputeActorScreenPositions(), 1);
    EXPECT_FLOAT_EQ(pin->screenZ, -30.0f);

    // An animated actor whose animation is not loaded has no transform: the pass fails.
    pin->animInfo.animation = kStillAnimation;
    EXPECT_EQ(ComputeActorScreenPositions(), 0);
    InstallStillAnimation(kStillAnimation);
    EXPECT_EQ(ComputeActorScreenPositions(), 1);
}

TEST_F(Actors, CharactersShareTheDetailOfTheNearestOne)
{
    actor_tag* a = Add("a", kActorCharacter);
    actor_tag* b = Add("b", kActorCharacter);
    actor_tag* back = Add("back", kActorCharacter);
    InstallStillAnimation(kStillAnimation);
    back->animInfo.animation = kStillAnimation;
    SetDepth(back, -10);
    SetDepth(b, 2000);
    for (float depth : {425.0f, 426.0f}) {
        SetDepth(a, depth);
        ASSERT_EQ(ComputeActorScreenPositions(), 1);
        int expected = depth > 425.0f ? 1 : 0;
        EXPECT_EQ(a->lodNum, expected) << depth;
        EXPECT_EQ(b->lodNum, expected) << depth;
        EXPECT_EQ(back->lodNum, 0) << "behind the camera it is not counted";
    }
    displayOptions.lodSwitching = 0;
    ASSERT_EQ(ComputeActorScreenPositions(), 1);
    EXPECT_EQ(b->lodNum, 0);
}

TEST_F(Actors, OverThePolygonBudgetTheFarthestDropDetailFirst)
{
    actor_tag* a = Add("a", kActorCharacter);
    actor_tag* b = Add("b", kActorCharacter);
    actor_tag* c = Add("c", kActorCharacter);
    SetDepth(a, 10);
    SetDepth(b, 20);
    SetDepth(c, 30);
    int saved = lodPolyCount[0];
    lodPolyCount[0] = 100000;  // three at full detail: 140000 over
    ComputeActorScreenPositions();
    lodPolyCount[0] = saved;
    EXPECT_EQ(c->lodNum, 1);
    EXPECT_EQ(b->lodNum, 1);
    EXPECT_EQ(a->lodNum, 0);
}

TEST_F(Actors, RenderWalksTheDrawListAndStopsAtAFailure)
{
    actor_tag* a = Add("a");
    actor_tag* b = Add("b");
    actor_tag* c = Add("c");
    actor_tag* d = Add("d");
    a->actorDrawFunction = b->actorDrawFunction = d->actorDrawFunction = Draw;
    b->visible = 0;
    for (actor_tag* x : {a, b, c, d}) x->displayAttributes = kDisplayTransformed;

    ASSERT_EQ(RenderActors(), 1);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"Da", "Dd"}));
    EXPECT_EQ(b->displayAttributes, 0) << "cleared on invisible actors too";
    EXPECT_EQ(c->displayAttributes, 0);

    gCalls.clear();
    c->actorDrawFunction = DrawFails;
    EXPECT_EQ(RenderActors(), 0);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"Da", "Dc"}));
}

}  // namespace
