// Drawing the quick game's bowlers, recorded without a GPU: the body group's models, the garments
// going into the player's slots in order, the hair range, and the ball carried in the hand
// (mirrored for a left-handed player) only while the bowler's animation holds it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "content_shaders.h"
#include "game/actors.h"
#include "game/animation.h"
#include "game/ball.h"
#include "game/characterdraw.h"
#include "game/characterload.h"
#include "game/characters.h"
#include "game/gameloop.h"
#include "game/physics.h"
#include "game/records.h"
#include "host/errorlog.h"
#include "lib/matrix.h"
#include "lib/memory.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "lib/trig.h"
#include "platform/gpu_recording.h"
#include "platform/model.h"
#include "platform/renderengine.h"
#include "platform/skeleton.h"
#include "screens/quicklaunch.h"
#include "shell/globals.h"
#include "shell/settings.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

int StripsOf(int rsid)
{
    auto* model = static_cast<DS3_model_tag*>(ResourceHandle(rsid));
    return model ? int(model->numStrips) : 0;
}

class CharacterDraw : public ::testing::Test {
protected:
    int savedTabGroup = 0;
    CcdPhysicsDemo* savedPhysics = nullptr;
    actor_tag* ball = nullptr;
    actor_tag* bowler = nullptr;
    DS3_model_tag* ballModel = nullptr;

    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(48 << 20), 1);
        done = 0;
        savedTabGroup = gTabGroupId;
        savedPhysics = physics;
        physics = nullptr;  // no lane world: the held ball's body is not moved
        ASSERT_EQ(OpenBuildGameData(), 1);
        sinTable = cosTable = nullptr;
        ASSERT_EQ(InitTrigTables(), 1);
        ASSERT_EQ(InitRadianTables(), 1);
        std::vector<uint8_t> container = mkrom::BuildShaderContainer(mkrom::VertexProgramSource());
        ASSERT_EQ(PrepareShaderState(container.data(), uint32_t(container.size())), 1);
        RenderResetShader();
        void* block = nullptr;
        ASSERT_EQ(AllocateClearedMemory(&block, 1024), 1);
        workBuffer = block;

        // As the game set-up: the lane objects, the bowlers' outfits, shadow and animations.
        ASSERT_EQ(QuickLaunchGame("quick", 2, 0), 1);
        ASSERT_EQ(LoadResourceRange1x1(5000, 5016), 1);
        ASSERT_EQ(LoadCharacterResources(), 1) << HostErrorLog();
        ASSERT_EQ(InitCharacters(1), 1);
        ASSERT_EQ(LoadCharacterAnimations(2), 1);
        ballModel = static_cast<DS3_model_tag*>(ResourceHandle(5001));
        ASSERT_NE(ballModel, nullptr);

        ASSERT_EQ(InitializeActors(kActorPoolSize), 1);
        ASSERT_EQ(AddActor(0.0f, 0.0f, 0.0f, kActorBall, &ball), 1);
        ball->actorModel = ballModel;
        ball->visible = 0;  // held
        bowlingBall = ball;
        // The camera 300 units in front of everything, looking along the view's +Z.
        setTranslationMatrix(shaderViewXform, 0.0f, 0.0f, 300.0f);
        setTranslationMatrix(viewXform, 0.0f, 0.0f, 300.0f);
        HostClearErrorLog();
    }
    void TearDown() override
    {
        bowlingBall = nullptr;
        DisposeActors();
        DisposeCharacterAnimations();
        DisposeCharacters();
        DisposeResourceRange(5000, 5016);
        RenderSetShader(-1, 0, 0);
        workBuffer = nullptr;
        skeletalActor = nullptr;
        DisposeRadianTables();
        CloseBuildGameData();
        sinTable = cosTable = nullptr;
        ReleaseDeviceHeap();
        physics = savedPhysics;
        gTabGroupId = savedTabGroup;
        gNumPlayers = 1;
        for (TITLE_PlayerInfoStruct& p : gPlayerInfo) p.leftHanded = 0;
    }

    // The bowler of player in the middle of its approach.
    void MakeBowler(int player, int leftHanded = 0)
    {
        ASSERT_EQ(AddCharacter(0.0f, -204.0f, kActorCharacter, &bowler, player), 1);
        if (leftHanded) bowler->displayAttributes |= kDisplayMirrored;
        ASSERT_EQ(SetCharacterAnimation(bowler, kAnimThrow), 1);
        bowler->animInfo.animationFrame = 20.0f;
    }

    // Draws the bowler as a drawing pass does; the number of strips drawn.
    int Draw(int expect = 1)
    {
        GpuRecording rec;
        bowler->displayAttributes &= ~kDisplayTransformed;
        EXPECT_EQ(DrawCharacter(bowler), expect) << HostErrorLog();
        EXPECT_EQ(commandOverflow, 0);
        EXPECT_TRUE(rec.SentinelIntact());
        int draws = 0;
        for (const RegWrite& w : rec.Writes())
            if (w.reg == kGpuRegDrawIndexed) ++draws;
        return draws;
    }

    static const DS3_model_tag* Resource(int rsid) { return static_cast<const DS3_model_tag*>(ResourceHandle(rsid)); }
    // The slot holds a copy of the garment model rsid.
    static bool SlotHolds(int player, int slot, int rsid)
    {
        const DS3_model_tag* copy = CharacterSlotModel(player, slot);
        return copy && Resource(rsid) && copy->stripList.get() == Resource(rsid)->stripList.get();
    }
};

// Everything a dressed bowler is made of is drawn once: the body's mesh (its skin texture
// passed over), each garment, the hair range and the ball in the hand.
TEST_F(CharacterDraw, TheBowlerIsDrawnWithEveryPartOfItsOutfit)
{
    MakeBowler(1);
    const PlayerDataTag& p = gPlayerInfo[1].playerData;
    int expected = StripsOf(p.bodyMeshRSID << 16 | 0) + StripsOf(p.bodyMeshRSID << 16 | 2) + StripsOf(5001);
    for (int mesh : {p.shirtMeshRSID, p.hatMeshRSID, p.socksMeshRSID, p.pantsMeshRSID, p.shoesMeshRSID}) expected += StripsOf(mesh);
    for (int m = p.hairStart; m < p.hairEnd; ++m) expected += StripsOf(p.hairMeshRSID << 16 | m);
    EXPECT_GT(StripsOf(p.bodyMeshRSID << 16 | 2), 0);
    EXPECT_EQ(Draw(), expected);
    EXPECT_EQ(CharacterSlotsUsed(1), 5);
    EXPECT_EQ(HostErrorLog(), "");
    // The bowler keeps its own body copy and its skeleton for the next frame.
    EXPECT_NE(ModelSkeleton(bowler->actorModel), nullptr);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(bowler->actorModel), bowler->lodBuffer);
}

// Far from the camera a bowler is drawn at its second level of detail, from the second copy of
// its body model: both places of the buffer hold one.
TEST_F(CharacterDraw, EveryLevelOfDetailHasItsBodyModel)
{
    MakeBowler(0);
    const int near = Draw();
    bowler->lodNum = 1;
    EXPECT_EQ(Draw(), near);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(bowler->actorModel), bowler->lodBuffer + kCharacterLodBytes);
    EXPECT_EQ(ModelSkeleton(bowler->actorModel), ModelSkeleton(static_cast<DS3_model_tag*>(ResourceHandle(911 << 16))));
}

TEST_F(CharacterDraw, WithoutAHatTheFollowingGarmentsMoveUpASlot)
{
    MakeBowler(1);
    PlayerDataTag& p = gPlayerInfo[1].playerData;
    ASSERT_GT(p.hatMeshRSID, 0);
    Draw();
    EXPECT_TRUE(SlotHolds(1, 0, p.shirtMeshRSID));
    EXPECT_TRUE(SlotHolds(1, 1, p.hatMeshRSID));
    EXPECT_TRUE(SlotHolds(1, 2, p.socksMeshRSID));
    EXPECT_TRUE(SlotHolds(1, 4, p.shoesMeshRSID));

    p.hatMeshRSID = 0;
    Draw();
    EXPECT_EQ(CharacterSlotsUsed(1), 4);
    EXPECT_TRUE(SlotHolds(1, 0, p.shirtMeshRSID));
    EXPECT_TRUE(SlotHolds(1, 1, p.socksMeshRSID));
    EXPECT_TRUE(SlotHolds(1, 2, p.pantsMeshRSID));
    EXPECT_TRUE(SlotHolds(1, 3, p.shoesMeshRSID));
}

// A garment whose swap cannot be made is not drawn and leaves its slot to the next one.
TEST_F(CharacterDraw, AGarmentWithAMissingTextureLeavesItsSlotFree)
{
    MakeBowler(0);
    PlayerDataTag& p = gPlayerInfo[0].playerData;
    const int all = Draw();
    p.shirtRSIDDstTextureD = (9800 << 16) | 12;  // a colour nobody of this game wears
    const int without = Draw();
    EXPECT_EQ(without, all - StripsOf(p.shirtMeshRSID));
    EXPECT_TRUE(SlotHolds(0, 0, p.socksMeshRSID));
    EXPECT_NE(HostErrorLog().find("Missing Texture 9800 12"), std::string::npos);
}

TEST_F(CharacterDraw, AHairEndOfMinusOneDrawsTheWholeGroupFromTheStart)
{
    MakeBowler(0);
    PlayerDataTag& p = gPlayerInfo[0].playerData;
    const int size = NumResourcesInGroup(p.hairMeshRSID);
    ASSERT_EQ(size, 4);
    p.hairStart = 1;
    p.hairEnd = 2;
    const int crop = Draw();
    p.hairEnd = -1;
    const int whole = Draw();
    EXPECT_EQ(whole - crop, StripsOf(p.hairMeshRSID << 16 | 2) + StripsOf(p.hairMeshRSID << 16 | 3));
    p.hairEnd = size + 5;
    EXPECT_EQ(Draw(), whole) << "an end past the group is its size";
    p.hairStart = 0;
    EXPECT_EQ(Draw(), whole) << "the group's texture is no model";
    p.hairStart = 2;
    p.hairEnd = 2;
    EXPECT_EQ(Draw(), crop - StripsOf(p.hairMeshRSID << 16 | 1));
}

// While the bowler holds the ball it sits in the hand: the carried-ball table's bone and offset,
// and its holes turned as the table says.
TEST_F(CharacterDraw, TheHeldBallIsDrawnInTheHand)
{
    MakeBowler(0);
    ball->Zlocation = 30.0f;
    const int drawn = Draw();
    EXPECT_EQ(ball->visible, 0) << "the ball is left hidden";
    EXPECT_FLOAT_EQ(ball->Zlocation, 2.0f);
    CarriedBallHand hand{};
    ASSERT_EQ(CarriedBallHandFor(911, 0, &hand), 1);
    float at[3] = {hand.hand.x, hand.hand.y, hand.hand.z};
    composePosition(at, bowler->boneXforms[hand.hand.bone]);
    composePosition(at, bowler->worldXform);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(ball->worldXform[3][k], at[k], 1e-3f) << k;
    // Drawn at the bowler's scale of 24 times 1/12: twice the model's size, as the rolling ball.
    const float scale = std::sqrt(ball->worldXform[0][0] * ball->worldXform[0][0] + ball->worldXform[0][1] * ball->worldXform[0][1] +
                                  ball->worldXform[0][2] * ball->worldXform[0][2]);
    EXPECT_NEAR(scale, 2.0f, 1e-3f);

    // Not while the ball is out of the hand, nor when the bowler is behind the camera.
    ball->visible = 1;
    EXPECT_EQ(Draw(), drawn - StripsOf(5001));
    ball->visible = 0;
    bowler->clipStatus = kClipBehindCamera;
    EXPECT_EQ(DrawCarriedBall(bowler), 1);
}

TEST_F(CharacterDraw, NoBallIsCarriedWhileTheAnimationIsAtOrPast1337)
{
    MakeBowler(0);
    const int withBall = Draw();
    // A set the 911 body has no version of: its base id is itself.
    bowler->animInfo.animation = 1340;
    bowler->animInfo.animationFrame = 0.0f;
    ASSERT_EQ(GetCurrentActorAnimation(bowler), 1340);
    ball->Zlocation = 30.0f;
    setIdentityMatrix(ball->worldXform);
    EXPECT_EQ(Draw(), withBall - StripsOf(5001));
    EXPECT_FLOAT_EQ(ball->Zlocation, 30.0f);
    EXPECT_FLOAT_EQ(ball->worldXform[3][0], 0.0f);
    bowler->animInfo.animation = 1336;
    ASSERT_EQ(GetCurrentActorAnimation(bowler), 1336);
    EXPECT_EQ(Draw(), withBall);
}

// A bowler whose animation is not loaded cannot be posed: it is left out, and the actors after it
// are still drawn.
TEST_F(CharacterDraw, ABowlerThatCannotBePosedIsLeftOutOfThePass)
{
    MakeBowler(0);
    bowler->animInfo.animation = 1400;  // the 960 body's set: no bowler of this game has it
    ASSERT_FALSE(ResourceLoaded(1400));
    EXPECT_EQ(Draw(1), 0);
    EXPECT_NE(HostErrorLog().find("cannot be posed"), std::string::npos);
}

// A left-handed bowler carries the ball on the left hand's bone at the mirrored offset: the mirror
// image of the right-handed bowler's ball.
TEST_F(CharacterDraw, ALeftHandedBowlersBallIsAtTheMirroredOffsetOfTheLeftHand)
{
    MakeBowler(0);
    Draw();
    const float right[3] = {ball->worldXform[3][0], ball->worldXform[3][1], ball->worldXform[3][2]};
    ASSERT_GT(std::fabs(right[0]), 5.0f);
    ASSERT_EQ(DisposeActor(bowler), 1);

    MakeBowler(0, 1);
    Draw();
    CarriedBallHand left{};
    ASSERT_EQ(CarriedBallHandFor(911, 1, &left), 1);
    EXPECT_EQ(left.hand.bone, 23);
    float at[3] = {left.hand.x, left.hand.y, left.hand.z};
    composePosition(at, bowler->boneXforms[23]);
    composePosition(at, bowler->worldXform);
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(ball->worldXform[3][k], at[k], 1e-3f) << k;
    EXPECT_NEAR(ball->worldXform[3][0], -right[0], 0.5f);
    EXPECT_NEAR(ball->worldXform[3][1], right[1], 0.5f);
    EXPECT_NEAR(ball->worldXform[3][2], right[2], 0.5f);
}

TEST(CharacterHands, TheCarriedBallTableNamesTheHandsBones)
{
    CarriedBallHand h{};
    ASSERT_EQ(CarriedBallHandFor(953, 0, &h), 1);
    EXPECT_EQ(h.hand.bone, 62) << "a 953 right hand carries the ball on another bone than it releases it from";
    EXPECT_EQ(h.rotX, 112.0f);
    ASSERT_EQ(CarriedBallHandFor(1019, 1, &h), 1);
    EXPECT_EQ(h.hand.bone, 32);
    EXPECT_EQ(h.rotX, -90.0f);
    EXPECT_EQ(h.rotY, 168.0f);
    CarriedBallHand unknown{}, first{};
    ASSERT_EQ(CarriedBallHandFor(4242, 1, &unknown), 1);
    ASSERT_EQ(CarriedBallHandFor(911, 1, &first), 1);
    EXPECT_EQ(unknown.hand.bone, first.hand.bone);
    EXPECT_EQ(unknown.rotX, first.rotX);
    // The release and the carried ball agree wherever the tables do.
    for (int body : {911, 918, 925, 932, 939, 946, 960, 1011, 1019, 1023}) {
        CharacterHand release{};
        ASSERT_EQ(CharacterHandFor(body, 1, &release), 1);
        ASSERT_EQ(CarriedBallHandFor(body, 1, &h), 1);
        EXPECT_EQ(release.bone, h.hand.bone) << body;
        EXPECT_EQ(release.x, h.hand.x) << body;
    }
    EXPECT_EQ(CarriedBallHandFor(911, 0, nullptr), 0);
}

}  // namespace
