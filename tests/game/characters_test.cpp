#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "content_bowler.h"
#include "content_models.h"
#include "lib/characterarchive.h"
#include "platform/camera.h"
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

// The build's game data with a bowler whose body model is the one mkrom writes.
class BowlerFromGameData : public ::testing::Test {
protected:
    HostOptions saved;
    std::unique_ptr<actor_tag> bowler{new actor_tag()};

    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(32 << 20), 1);
        saved = gHostOptions;
        done = 0;
        ASSERT_EQ(OpenBuildGameData(), 1);
        ASSERT_EQ(InitTrigTables(), 1);
        ASSERT_EQ(InitRadianTables(), 1);
    }
    void TearDown() override
    {
        DisposeRadianTables();
        CloseBuildGameData();
        ReleaseDeviceHeap();
        gHostOptions = saved;
        gPlayerInfo[0].playerData.bodyMeshRSID = 0;
    }

    // The body model relocated in game memory, as the model code leaves it.
    DS3_model* LoadBody(int body)
    {
        std::vector<uint8_t> image = mkrom::BowlerBodyModel(body);
        void* p = nullptr;
        if (image.empty() || !AllocateMemory(&p, int(image.size()))) return nullptr;
        std::memcpy(p, image.data(), image.size());
        auto* bytes = static_cast<uint8_t*>(p);
        auto* skeleton = reinterpret_cast<HLSL_skeleton*>(bytes + mkrom::kBowlerBodyModelBytes);
        Ptr32<HLSL_skeleton> field;
        field = skeleton;
        std::memcpy(bytes + kModelSkeletonField, &field, sizeof(field));
        if (!DS3_InitializeSkeleton(skeleton, bytes + image.size())) return nullptr;
        return reinterpret_cast<DS3_model*>(p);
    }

    // A bowler of body mesh body at the reset spot, with every animation of its set loaded.
    void MakeBowler(int body, int leftHanded = 0)
    {
        gPlayerInfo[0].playerData.bodyMeshRSID = body;
        actor_tag& a = *bowler;
        a.rosterIndex = 0;
        a.Xscale = a.Yscale = a.Zscale = 24.0f;
        a.translationScaleFactor = {1.0f, 1.0f, 1.0f, 0.0f};
        a.displayAttributes = leftHanded ? kDisplayMirrored : 0;
        a.actorModel = LoadBody(body);
        ASSERT_NE(a.actorModel, nullptr);
        for (int base : {1301, 1302, 1303, 1325}) ASSERT_NE(ReadResource(RemapAnimation(body, base)), nullptr) << base;
        ASSERT_EQ(ResetCharacter(&a, 0.0f, -264.0f), 1);
        ASSERT_EQ(SetCharacterAnimation(&a, kAnimThrow), 1);
    }

    // World position of a bind-pose point carried by a bone, for the pose last computed.
    void Carried(int bone, const float* bind, float* out)
    {
        std::memcpy(out, bind, 12);
        composePosition(out, bowler->boneXforms[bone]);
        composePosition(out, bowler->worldXform);
    }

    struct Sample {
        float ball[3];
        float shoulder[3];
    };
    std::vector<Sample> Throw(int body, int leftHanded = 0)
    {
        std::vector<Sample> out;
        const animation_tag* anim = GetAnimation(bowler->animInfo.animation);
        if (!anim) return out;
        CharacterHand hand{};
        CharacterHandFor(body, leftHanded, &hand);
        const int upperArm = UpperArmOf(body, leftHanded);
        float bind[3];
        mkrom::BowlerBindPosition(body, upperArm, bind);
        for (int f = 0; f < anim->numFrames; ++f) {
            bowler->animInfo.animationFrame = float(f);
            Sample s{};
            EXPECT_EQ(RightHandPosition(bowler.get(), &s.ball[0], &s.ball[1], &s.ball[2]), 1);
            Carried(upperArm, bind, s.shoulder);
            out.push_back(s);
        }
        return out;
    }
    // The upper arm of the right (0) or left (1) side, by name.
    static int UpperArmOf(int body, int left)
    {
        std::vector<std::string> names = mkrom::BowlerBoneNames(body);
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i] == (left ? "upperarm_L" : "upperarm_R")) return int(i);
        return -1;
    }
};

float Distance(const float* a, const float* b)
{
    const float d[3] = {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
    return std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
}

// The throwing arm swings as a pendulum from the shoulder: once the pushaway has straightened
// the elbow the ball keeps its distance from the shoulder, goes back behind it and comes forward
// again; it passes the bottom of the arc just before the body mesh's release frame, where it is
// low, moving forward, and at the foul line.
TEST_F(BowlerFromGameData, ThrowSwingsTheBallAndReleasesItAtTheBodysReleaseFrame)
{
    for (int body : {911, 939, 946, 953, 960, 1019}) {
        SCOPED_TRACE(body);
        MakeBowler(body);
        const std::vector<Sample> s = Throw(body);
        const int rf = ReleaseFrameForBody(body);
        ASSERT_GT(int(s.size()), rf + 20);

        const float reach = Distance(s[rf].ball, s[rf].shoulder);
        EXPECT_GT(reach, 40.0f);
        float behind = 0.0f;
        for (int f = int(0.45f * float(rf)); f < int(s.size()); ++f) {
            EXPECT_NEAR(Distance(s[size_t(f)].ball, s[size_t(f)].shoulder), reach, 0.5f) << f;
            behind = std::min(behind, s[size_t(f)].ball[1] - s[size_t(f)].shoulder[1]);
        }
        EXPECT_LT(behind, -0.8f * reach) << "no backswing";

        float lowest = 1e9f;
        for (int f = int(0.8f * float(rf)); f < rf + 10; ++f) lowest = std::min(lowest, s[size_t(f)].ball[2]);
        EXPECT_LT(s[size_t(rf)].ball[2], lowest + 2.0f);
        EXPECT_LT(s[size_t(rf)].ball[2], 40.0f);
        EXPECT_GT(s[size_t(rf)].ball[1] - s[size_t(rf - 1)].ball[1], 5.0f) << "the ball must be moving down the lane";
        EXPECT_GT(s[size_t(rf)].ball[1], s[size_t(rf)].shoulder[1]);
        EXPECT_NEAR(s[size_t(rf)].ball[1], 0.0f, 40.0f);
        EXPECT_GT(s[size_t(rf)].ball[0], 8.0f) << "a right-hander's ball is on the right";
        // Ten frames earlier the arm is still on its way down, well above the release point.
        EXPECT_GT(s[size_t(rf - 10)].ball[2], s[size_t(rf)].ball[2] + 10.0f);
    }
}

TEST_F(BowlerFromGameData, ALeftHandedBowlerThrowsTheMirrorImage)
{
    MakeBowler(911);
    const std::vector<Sample> right = Throw(911);
    MakeBowler(911, 1);
    const std::vector<Sample> left = Throw(911, 1);
    ASSERT_EQ(left.size(), right.size());
    for (int f : {0, 30, 61, 70}) {
        EXPECT_NEAR(left[size_t(f)].ball[0], -right[size_t(f)].ball[0], 1.5f) << f;
        EXPECT_NEAR(left[size_t(f)].ball[1], right[size_t(f)].ball[1], 1.5f) << f;
        EXPECT_NEAR(left[size_t(f)].ball[2], right[size_t(f)].ball[2], 1.5f) << f;
    }
}

TEST_F(BowlerFromGameData, TheBallFollowsTheBowlersPlaceAndHeading)
{
    MakeBowler(911);
    bowler->animInfo.animationFrame = 61.0f;
    float x0, y0, z0;
    ASSERT_EQ(RightHandPosition(bowler.get(), &x0, &y0, &z0), 1);
    bowler->Xlocation += 30.0f;
    float x1, y1, z1;
    ASSERT_EQ(RightHandPosition(bowler.get(), &x1, &y1, &z1), 1);
    EXPECT_NEAR(x1 - x0, 30.0f, 0.01f);
    EXPECT_NEAR(y1, y0, 0.01f);
    EXPECT_NEAR(z1, z0, 0.01f);
    ASSERT_EQ(RightHandPosition(bowler.get(), nullptr, nullptr, nullptr), 1);
}

TEST_F(BowlerFromGameData, TheResetPoseStandsOnTheBowlersSpot)
{
    MakeBowler(925);
    ASSERT_EQ(ResetCharacter(bowler.get(), 40.0f, -264.0f), 1);
    EXPECT_EQ(bowler->animInfo.animation, RemapAnimation(925, kAnimResetPose));
    EXPECT_EQ(GetCurrentActorAnimation(bowler.get()), kAnimResetPose);
    EXPECT_EQ(bowler->animInfo.animationFrameRatio, 0.0f);
    EXPECT_FLOAT_EQ(bowler->Xlocation, 40.0f);
    EXPECT_FLOAT_EQ(bowler->Ylocation, -264.0f);
    float x, y, z;
    ASSERT_EQ(RightHandPosition(bowler.get(), &x, &y, &z), 1);
    EXPECT_NEAR(x, 40.0f, 40.0f);
    EXPECT_NEAR(y, -264.0f, 60.0f);
}

TEST_F(BowlerFromGameData, TheBodyMeshGroupsCarryTheirSkeletons)
{
    for (int body : {911, 918, 925, 932, 939, 946, 953, 960, 1011, 1019, 1023}) {
        ASSERT_EQ(ResourceType(body), kResourceTypeGroup) << body;
        resourceHeader* member = nullptr;
        ASSERT_EQ(OpenResourceGroup(body), 1);
        ASSERT_EQ(GetResourceHeader((body << 16) | 0, &member), 1);
        EXPECT_EQ(member->resourceType, 126);
        EXPECT_GE(member->resourceUncompressedLength, int(mkrom::BowlerBodyModel(body).size()));
        // Every hand the ball table names is a bone of the skeleton.
        const size_t bones = mkrom::BowlerBoneNames(body).size();
        for (int left : {0, 1}) {
            CharacterHand hand{};
            ASSERT_EQ(CharacterHandFor(body, left, &hand), 1);
            ASSERT_LT(size_t(hand.bone), bones) << body;
            EXPECT_EQ(mkrom::BowlerBoneNames(body)[size_t(hand.bone)], left ? "hand_L" : "hand_R") << body;
        }
        EXPECT_LE(bones, size_t(kMaxBones));
    }
}

// A vertex of a skinned bowler model as the vertex program reads it: its bind position (feet) and
// the skeleton bones and weights that carry it.
struct SkinVertex {
    float pos[3];
    int bones[3];
    float weights[3];
    float row;  // the texture's v: which colour band of the texture
};

uint32_t Le32(const std::vector<uint8_t>& b, size_t at)
{
    return b.at(at) | b.at(at + 1) << 8 | b.at(at + 2) << 16 | uint32_t(b.at(at + 3)) << 24;
}

// The vertices a model image draws (vertex format 8, palette strips), each once per palette.
std::vector<SkinVertex> SkinVertices(const std::vector<uint8_t>& model)
{
    std::vector<SkinVertex> out;
    const uint32_t numVerts = Le32(model, 12), stride = model.at(21), numStrips = Le32(model, 224),
                   numIndices = Le32(model, 232);
    EXPECT_EQ(stride, 48u) << "position, normal, uv, four bone bytes, three weights";
    if (stride != 48) return out;
    const size_t verts = 384, indices = verts + size_t(numVerts) * stride, strips = indices + 2 * size_t(numIndices);
    for (uint32_t s = 0; s < numStrips; ++s) {
        const size_t at = strips + 64 * size_t(s);
        const uint32_t first = Le32(model, at), count = Le32(model, at + 4);
        std::map<uint16_t, int> seen;
        for (uint32_t k = first; k < first + count; ++k) {
            const uint16_t index = uint16_t(model.at(indices + 2 * k) | model.at(indices + 2 * k + 1) << 8);
            if (seen[index]++) continue;
            const uint8_t* v = &model.at(verts + size_t(index) * stride);
            SkinVertex sv{};
            std::memcpy(sv.pos, v, 12);
            std::memcpy(sv.weights, v + 36, 12);
            std::memcpy(&sv.row, v + 28, 4);
            for (int i = 0; i < 3; ++i) sv.bones[i] = model.at(at + 11 + v[32 + i]);
            out.push_back(sv);
        }
    }
    return out;
}

// The distance from p to the bone of a skeleton whose joints are given: to the nearest of the
// lines from its joint to its children's joints (to the joint itself for a bone without children).
float DistanceFromBone(const float* p, const std::vector<std::array<float, 3>>& joints, const std::vector<int>& children,
                       int bone)
{
    const float* a = joints[size_t(bone)].data();
    float nearest = Distance(p, a);
    for (int child : children) {
        const float* b = joints[size_t(child)].data();
        const float ab[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]}, ap[3] = {p[0] - a[0], p[1] - a[1], p[2] - a[2]};
        const float length2 = ab[0] * ab[0] + ab[1] * ab[1] + ab[2] * ab[2];
        const float t = std::clamp((ap[0] * ab[0] + ap[1] * ab[1] + ap[2] * ab[2]) / length2, 0.0f, 1.0f);
        const float onLine[3] = {a[0] + t * ab[0], a[1] + t * ab[1], a[2] + t * ab[2]};
        nearest = std::min(nearest, Distance(p, onLine));
    }
    return nearest;
}

// Every model a body mesh is drawn with: its own skin, its shirts and gloves, the garments every
// body shares, and the hair.
std::vector<std::pair<std::string, std::vector<SkinVertex>>> DrawnModels(int body)
{
    std::vector<std::pair<std::string, std::vector<SkinVertex>>> out;
    out.push_back({"the skin", SkinVertices(mkrom::BowlerSkinMembers(body).at(1).bytes)});
    for (const mkrom::Resource& g : mkrom::CharacterArchiveContent()) {
        const bool worn = g.id == kSharedGarments || g.id == kBodyGarmentsFirst + AnimationBodyIndex(body) ||
                          (g.id >= kHairGroupsFirst && g.id < kHairGroupsFirst + 4);
        for (size_t m = 0; worn && m < g.members.size(); ++m)
            if (g.members[m].type == kResourceTypeModel)
                out.push_back({"garment " + std::to_string(g.id) + "/" + std::to_string(m), SkinVertices(g.members[m].bytes)});
    }
    return out;
}

// Posed by the game's own skeleton code, frame by frame through every animation of its set, right-
// and left-handed, no vertex of anything a bowler wears or is made of moves off the bone that
// carries it (the lines from the bone's joint to its children's) farther than it lies in the rest
// pose. A vertex weighted to a bone that does not meet its own, weights that do not add up to one
// or a bone matrix that stretches would send vertices out as spikes; a ring shared with the parent
// bone away from their joint, such as a glove's wrist strap shared with the upper arm, is pulled
// off the forearm whenever the elbow bends.
TEST_F(BowlerFromGameData, NoVertexLeavesItsBoneInAnyFrameOfAnyAnimation)
{
    std::vector<int> animations = {1301, 1302, kAnimThrow};
    for (int a = kAnimCharacterFirst; a <= kAnimCharacterLast; ++a) animations.push_back(a);
    for (int body : {911, 918, 925, 932, 939, 946, 953, 960, 1011, 1019, 1023}) {
        const std::vector<std::string> names = mkrom::BowlerBoneNames(body);
        std::vector<std::array<float, 3>> joints(names.size());
        for (size_t i = 0; i < names.size(); ++i) ASSERT_TRUE(mkrom::BowlerBindPosition(body, int(i), joints[i].data()));
        const auto models = DrawnModels(body);
        for (int left : {0, 1}) {
            MakeBowler(body, left);
            const HLSL_bone_tag* bones = ModelSkeleton(bowler->actorModel)->rootBone.get();
            std::vector<std::vector<int>> children(names.size());
            for (size_t i = 0; i < names.size(); ++i)
                for (const HLSL_bone_tag* c = bones[i].children.get(); c; c = c->nextBone.get())
                    children[i].push_back(int(c - bones));
            for (int animation : animations) {
                ASSERT_NE(ReadResource(RemapAnimation(body, animation)), nullptr) << animation;
                ASSERT_EQ(SetCharacterAnimation(bowler.get(), animation), 1);
                const animation_tag* anim = GetAnimation(bowler->animInfo.animation);
                ASSERT_NE(anim, nullptr);
                for (int f = 0; f < 2 * anim->numFrames - 1; ++f) {
                    bowler->animInfo.animationFrame = 0.5f * float(f);  // every frame and every half-way pose
                    ASSERT_EQ(ComputeActorXform(bowler.get()), 1);
                    ASSERT_EQ(ComputeSkeletonXforms(bowler.get()), 1);
                    std::vector<std::array<float, 3>> posedJoints = joints;
                    for (size_t i = 0; i < names.size(); ++i) composePosition(posedJoints[i].data(), bowler->boneXforms[i]);
                    for (const auto& model : models)
                        for (const SkinVertex& v : model.second) {
                            float posed[3] = {0.0f, 0.0f, 0.0f};
                            for (int i = 0; i < 3; ++i) {
                                float p[3] = {v.pos[0], v.pos[1], v.pos[2]};
                                composePosition(p, bowler->boneXforms[v.bones[i]]);
                                for (int k = 0; k < 3; ++k) posed[k] += v.weights[i] * p[k];
                            }
                            const std::vector<int>& own = children[size_t(v.bones[0])];
                            ASSERT_LT(DistanceFromBone(posed, posedJoints, own, v.bones[0]),
                                      DistanceFromBone(v.pos, joints, own, v.bones[0]) + 0.1f)
                                << "body " << body << (left ? " left-handed" : "") << ", animation " << animation
                                << " at frame " << bowler->animInfo.animationFrame << ": a vertex of " << model.first
                                << " carried by " << names[size_t(v.bones[0])] << " and " << names[size_t(v.bones[1])]
                                << " leaves its bone";
                        }
                }
            }
        }
    }
}

// Below a short sleeve the arm is bare: the body's own model colours the upper arm there as it does
// the forearm (skin). Coloured with the body's own shirt band, the elbow showed a band of another
// colour that read as a wristband, with the forearm past it as a long spike.
TEST(BowlerModels, TheArmBelowAShortSleeveIsSkin)
{
    const std::vector<mkrom::Resource> archive = mkrom::CharacterArchiveContent();
    for (int body : {911, 918, 925, 932, 939, 946, 953, 960, 1011, 1019, 1023}) {
        const std::vector<std::string> names = mkrom::BowlerBoneNames(body);
        const std::vector<SkinVertex> skin = SkinVertices(mkrom::BowlerSkinMembers(body).at(1).bytes);
        std::vector<SkinVertex> sleeves;
        for (const mkrom::Resource& g : archive)
            if (g.id == kBodyGarmentsFirst + AnimationBodyIndex(body)) sleeves = SkinVertices(g.members.at(kShortSleeves).bytes);
        ASSERT_FALSE(sleeves.empty()) << body;
        for (const std::string side : {"_L", "_R"}) {
            const int upper = int(std::find(names.begin(), names.end(), "upperarm" + side) - names.begin());
            const int fore = int(std::find(names.begin(), names.end(), "forearm" + side) - names.begin());
            float shoulder[3];
            ASSERT_TRUE(mkrom::BowlerBindPosition(body, upper, shoulder));
            float sleeveReach = 0.0f, forearmRow = -1.0f;
            for (const SkinVertex& v : sleeves)
                if (v.bones[0] == upper) sleeveReach = std::max(sleeveReach, Distance(v.pos, shoulder));
            for (const SkinVertex& v : skin)
                if (v.bones[0] == fore) forearmRow = v.row;
            ASSERT_GT(sleeveReach, 0.0f) << body;
            int bare = 0;
            for (const SkinVertex& v : skin)
                if (v.bones[0] == upper && Distance(v.pos, shoulder) > sleeveReach) {
                    ASSERT_EQ(v.row, forearmRow) << "body " << body << ": upperarm" << side << " below the short sleeve";
                    ++bare;
                }
            EXPECT_GT(bare, 0) << body;
        }
    }
}

// Without a skeleton (no body model loaded) the ball leaves from beside the bowler's hip.
TEST(Characters, ABowlerWithoutSkeletonReleasesBesideTheHip)
{
    actor_tag a{};
    a.Xlocation = 20.0f;
    float x, y, z;
    ASSERT_EQ(RightHandPosition(&a, &x, &y, &z), 1);
    EXPECT_FLOAT_EQ(x, 32.0f);
    EXPECT_FLOAT_EQ(y, 0.0f);
    EXPECT_FLOAT_EQ(z, 10.0f);
    a.displayAttributes = kDisplayMirrored;
    ASSERT_EQ(RightHandPosition(&a, &x, nullptr, nullptr), 1);
    EXPECT_FLOAT_EQ(x, 8.0f);
    EXPECT_EQ(RightHandPosition(nullptr, &x, &y, &z), 0);
    EXPECT_EQ(ResetCharacter(nullptr, 0, 0), 0);
    EXPECT_EQ(SetCharacterAnimation(nullptr, 1303), 0);
}

TEST(Characters, TheHandTableFallsBackToTheFirstRow)
{
    CharacterHand a{}, b{};
    ASSERT_EQ(CharacterHandFor(911, 0, &a), 1);
    ASSERT_EQ(CharacterHandFor(12345, 0, &b), 1);
    EXPECT_EQ(a.bone, b.bone);
    EXPECT_EQ(a.x, b.x);
    ASSERT_EQ(CharacterHandFor(1011, 1, &a), 1);
    EXPECT_EQ(a.bone, 43);
    ASSERT_EQ(CharacterHandFor(960, 0, &a), 1);
    EXPECT_EQ(a.bone, 60);
}

TEST(Characters, ACharacterFreesItsModelBufferWhenDisposed)
{
    ASSERT_EQ(UseFreshDeviceHeap(8 << 20), 1);
    ASSERT_EQ(InitializeActors(kActorPoolSize), 1);
    const unsigned before = deviceHeap.memoryUsed;
    actor_tag* a = nullptr;
    ASSERT_EQ(AddCharacter(0.0f, -264.0f, kActorCharacter, &a, 0), 1);
    ASSERT_NE(a, nullptr);
    EXPECT_NE(a->lodBuffer, nullptr);
    EXPECT_EQ(a->Xscale, 24.0f);
    EXPECT_EQ(a->animationHandler, &ForwardLoopHandler);
    EXPECT_GT(deviceHeap.memoryUsed, before);
    ASSERT_EQ(DisposeActor(a), 1);
    EXPECT_EQ(deviceHeap.memoryUsed, before);
    EXPECT_EQ(DisposeActors(), 1);
    ReleaseDeviceHeap();
}

}  // namespace
