#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "content_bowler.h"
#include "game/actors.h"
#include "game/animation.h"
#include "game/characters.h"
#include "game/records.h"
#include "host/host.h"
#include "lib/matrix.h"
#include "lib/memory.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "lib/trig.h"
#include "platform/fileserver.h"
#include "platform/skeleton.h"
#include "shell/globals.h"
#include "shell/startup.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

TEST(AnimationRemap, EachBodyMeshPlaysItsOwnVersion)
{
    EXPECT_EQ(RemapAnimation(1011, 1302), 1317);
    EXPECT_EQ(RemapAnimation(1011, 1330), 1390);
    EXPECT_EQ(RemapAnimation(911, 1303), 1303);
    EXPECT_EQ(RemapAnimation(960, 1336), 1420);
    EXPECT_EQ(RemapAnimation(960, 1303), 1324);
    EXPECT_EQ(RemapAnimation(12345, 1330), 1330) << "a mesh without its own set plays the first";
    EXPECT_EQ(RemapAnimation(939, 1304), 1304) << "ids outside the two ranges are played as they are";
    EXPECT_EQ(RemapAnimation(939, 1437), 1437);
}

TEST(AnimationRemap, ReleaseFramesByBodyMesh)
{
    EXPECT_EQ(ReleaseFrameForBody(939), 70);
    EXPECT_EQ(ReleaseFrameForBody(1019), 70);
    EXPECT_EQ(ReleaseFrameForBody(946), 66);
    EXPECT_EQ(ReleaseFrameForBody(953), 64);
    EXPECT_EQ(ReleaseFrameForBody(1011), 64);
    EXPECT_EQ(ReleaseFrameForBody(960), 65);
    for (int body : {911, 918, 925, 932, 1023, 0, 5000}) EXPECT_EQ(ReleaseFrameForBody(body), 61) << body;
}

class AnimationFromGameData : public ::testing::Test {
protected:
    HostOptions saved;
    std::unique_ptr<actor_tag> actor{new actor_tag()};
    std::vector<uint8_t> model;

    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(32 << 20), 1);
        saved = gHostOptions;
        done = 0;
        ASSERT_EQ(OpenBuildGameData(), 1);
        ASSERT_EQ(InitTrigTables(), 1);
        ASSERT_EQ(InitRadianTables(), 1);
        for (int id = 1301; id <= 1420; ++id) ASSERT_NE(ReadResource(id), nullptr) << id;
    }
    void TearDown() override
    {
        DisposeRadianTables();
        CloseBuildGameData();
        ReleaseDeviceHeap();
        gHostOptions = saved;
        gPlayerInfo[0].playerData.bodyMeshRSID = 0;
    }
    void GiveSkeleton(int body)
    {
        gPlayerInfo[0].playerData.bodyMeshRSID = body;
        std::vector<uint8_t> image = mkrom::BowlerBodyModel(body);
        void* p = nullptr;
        ASSERT_EQ(AllocateMemory(&p, int(image.size())), 1);
        std::memcpy(p, image.data(), image.size());
        auto* bytes = static_cast<uint8_t*>(p);
        auto* skeleton = reinterpret_cast<HLSL_skeleton*>(bytes + mkrom::kBowlerBodyModelBytes);
        Ptr32<HLSL_skeleton> field;
        field = skeleton;
        std::memcpy(bytes + kModelSkeletonField, &field, sizeof(field));
        ASSERT_EQ(DS3_InitializeSkeleton(skeleton, bytes + image.size()), 1);
        actor->actorModel = reinterpret_cast<DS3_model*>(p);
        actor->rosterIndex = 0;
        actor->Xscale = actor->Yscale = actor->Zscale = 24.0f;
        actor->translationScaleFactor = {1, 1, 1, 0};
    }
};

TEST_F(AnimationFromGameData, SetActorAnimationRemapsAndGetCurrentActorAnimationUndoesIt)
{
    EXPECT_EQ(SetActorAnimation(actor.get(), 1302), 1);
    EXPECT_EQ(actor->animInfo.animation, 0) << "no skeleton, no change";
    GiveSkeleton(1011);
    ASSERT_EQ(SetActorAnimation(actor.get(), 1302), 1);
    EXPECT_EQ(actor->animInfo.animation, 1317);
    EXPECT_EQ(GetCurrentActorAnimation(actor.get()), 1302);
    ASSERT_EQ(SetActorAnimation(actor.get(), 1330), 1);
    EXPECT_EQ(actor->animInfo.animation, 1390);
    EXPECT_EQ(GetCurrentActorAnimation(actor.get()), 1330);
    int first = 0, last = 0;
    ASSERT_EQ(GetCharacterAnimations(0, first, last), 1);
    EXPECT_EQ(first, 1385);
    EXPECT_EQ(last, 1396);
    EXPECT_EQ(SetActorAnimation(nullptr, 1302), 0);
    // Every remapped throw matches the skeleton of the meshes that play it.
    for (int body : {911, 918, 925, 932, 939, 946, 953, 960, 1011, 1019, 1023}) {
        const animation_tag* a = GetAnimation(RemapAnimation(body, kAnimThrow));
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(size_t(a->numBones), mkrom::BowlerBoneNames(body).size()) << body;
        EXPECT_GT(a->numFrames, ReleaseFrameForBody(body) + 20) << body;
    }
}

TEST_F(AnimationFromGameData, FramesAdvanceWithinTheAnimationAndLoopsAreCounted)
{
    const int frames = GetAnimation(1325)->numFrames;
    float f = float(frames - 1);
    ASSERT_EQ(AdvanceFrame(1325, 1.0f, &f), 1);
    EXPECT_EQ(f, float(frames - 1)) << "the last frame holds";
    f = 0.5f;
    ASSERT_EQ(AdvanceFrame(1325, -3.0f, &f), 1);
    EXPECT_EQ(f, 0.0f);
    f = NAN;
    ASSERT_EQ(AdvanceFrame(1325, 1.0f, &f), 1);
    EXPECT_EQ(f, 1.0f);
    EXPECT_EQ(AdvanceFrame(9999, 1.0f, &f), 0);

    actor->animInfo.animation = 1325;
    actor->animInfo.animationFrameRatio = 1.0f;
    actor->animInfo.animationFrame = float(frames) - 0.5f;
    ASSERT_EQ(ForwardLoopHandler(actor.get()), 1);
    EXPECT_FLOAT_EQ(actor->animInfo.animationFrame, 0.5f);
    ASSERT_EQ(ForwardLoopHandler(actor.get()), 1);
    EXPECT_EQ(actor->animInfo.numLoops, 1u) << "no wrap, no loop";
    actor->animInfo.animationFrame = float(frames) - 0.5f;
    ASSERT_EQ(ForwardLoopHandler(actor.get()), 1);
    EXPECT_EQ(actor->animInfo.numLoops, 2u);
    actor->animInfo.animationFrameRatio = -1.0f;
    actor->animInfo.animationFrame = 0.25f;
    ASSERT_EQ(ForwardLoopHandler(actor.get()), 1);
    EXPECT_FLOAT_EQ(actor->animInfo.animationFrame, float(frames) - 0.75f);
    EXPECT_EQ(actor->animInfo.numLoops, 3u) << "a backward wrap is a loop too";
    actor->animInfo.animation = 1326;
    ASSERT_EQ(ForwardLoopHandler(actor.get()), 1);
    EXPECT_EQ(actor->animInfo.numLoops, 0u) << "another animation starts counting again";
    f = 1e30f * float(frames);
    ASSERT_EQ(AdvanceLoopFrame(1325, 1.0f, &f), 1);
    EXPECT_GE(f, 0.0f);
    EXPECT_LT(f, float(frames));
}

TEST_F(AnimationFromGameData, PercentagesStayInsideTheAnimation)
{
    actor->animInfo.animation = 1303;
    const int n = GetAnimation(1303)->numFrames;
    ASSERT_EQ(SetAnimationPercentage(actor.get(), 1.0f), 1);
    EXPECT_FLOAT_EQ(actor->animInfo.animationFrame, float(n - 1));
    ASSERT_EQ(SetAnimationPercentage(actor.get(), 0.5f), 1);
    EXPECT_FLOAT_EQ(actor->animInfo.animationFrame, 0.5f * float(n));
    float p = 0;
    ASSERT_EQ(GetAnimationPercentage(actor.get(), &p), 1);
    EXPECT_FLOAT_EQ(p, 0.5f);
    actor->animInfo.animationFrame = float(n - 1);
    ASSERT_EQ(GetAnimationPercentage(actor.get(), &p), 1);
    EXPECT_EQ(p, 1.0f);
    actor->animInfo.animation = 9999;
    EXPECT_EQ(GetAnimationPercentage(actor.get(), &p), 0);
}

// The ball's place in the hand relative to the body's root, for the pose RightHandPosition computed.
static void HandInModel(actor_tag* a, float* out)
{
    CharacterHand hand{};
    CharacterHandFor(911, 0, &hand);
    float x, y, z;
    RightHandPosition(a, &x, &y, &z);
    out[0] = hand.x;
    out[1] = hand.y;
    out[2] = hand.z;
    composePosition(out, a->boneXforms[hand.bone]);
}

// A tween starts from the pose the bowler had and ends in the new animation.
TEST_F(AnimationFromGameData, TweensBlendFromTheOldPose)
{
    GiveSkeleton(911);
    ASSERT_EQ(ResetCharacter(actor.get(), 0.0f, -264.0f), 1);
    actor->animInfo.animationFrame = 20.0f;
    float before[3];
    HandInModel(actor.get(), before);

    actor->animationHandler = FrameForwardHandler;
    ASSERT_EQ(SetCharacterAnimationTween(actor.get(), kAnimThrow, 0.25f), 1);
    EXPECT_EQ(actor->tweenHandler, &ActiveTween);
    EXPECT_EQ(actor->animInfo.animationTween, 1325);
    EXPECT_FLOAT_EQ(actor->animInfo.animationTweenFrame, 20.0f);
    EXPECT_EQ(GetCurrentActorAnimation(actor.get()), kAnimThrow);
    actor->animInfo.animationFrame = 40.0f;  // well into the backswing
    float start[3];
    HandInModel(actor.get(), start);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(start[i], before[i], 0.5f) << "the tween starts on the old pose";

    // A second set-up in the same step keeps the source.
    ASSERT_EQ(SetupTweenEx(actor.get(), ActiveTween, 0.25f), 1);
    EXPECT_EQ(actor->animInfo.animationTween, 1325);

    actor->displayAttributes |= kDisplayTweening;
    for (int step = 0; step < 4; ++step) ASSERT_EQ(ActiveTween(actor.get()), 1);
    EXPECT_EQ(actor->animInfo.animationTweenFactor, 0.0f);
    EXPECT_EQ(actor->animInfo.animationTween, 1325) << "still blending until the next step";
    ASSERT_EQ(ActiveTween(actor.get()), 1);
    EXPECT_EQ(actor->tweenHandler, nullptr);
    EXPECT_EQ(actor->animInfo.animationTween, 0);
    EXPECT_EQ(actor->displayAttributes & kDisplayTweening, 0);

    float after[3];
    actor->animInfo.animationFrame = 40.0f;
    HandInModel(actor.get(), after);
    EXPECT_GT(std::fabs(after[2] - before[2]) + std::fabs(after[1] - before[1]), 1.0f) << "the new pose, in feet";
}

}  // namespace
