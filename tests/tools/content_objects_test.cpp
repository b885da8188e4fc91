#include <gtest/gtest.h>

#include <cmath>

#include "content_objects.h"
#include "lib/objectanim.h"
#include "lib/resourceload.h"
#include "lib/resources.h"
#include "platform/model.h"
#include "platform/skeleton.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

class PropContent : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(32 << 20), 1);
        ASSERT_EQ(OpenBuildGameData(), 1);
        ASSERT_EQ(InitRadianTables(), 1);
    }
    void TearDown() override
    {
        DisposeRadianTables();
        CloseBuildGameData();
        ReleaseDeviceHeap();
    }
};

// Whether an animation can drive a model: the same child count at every node (the draw refuses
// anything else) and, under the root, every track as long as the root's, which sets the loop.
bool Fits(const DI_objectAnimation_tag* a, const DS3_model_tag* m, int frames)
{
    if (a->numFrames != frames || int64_t(m->numChildren) != a->numChildren) return false;
    const DS3_model_tag* child = m->children.get();
    for (int i = 0; i < a->numChildren; ++i, child = child->nextModel.get())
        if (!child || !Fits(a->childList.get()[i], child, frames)) return false;
    return true;
}

// The largest difference between two matrices.
float Distance(const matrix a, const matrix b)
{
    float d = 0.0f;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) d = std::fmax(d, std::fabs(a[r][c] - b[r][c]));
    return d;
}

// Every node of the animation against its model node: at rest at the start of the loop, back
// there at its end, and moving somewhere in between.
void CheckLoop(DI_objectAnimation_tag* a, DS3_model_tag* m, float* moved)
{
    matrix identity, start, end;
    setIdentityMatrix(identity);
    ASSERT_EQ(ComputeObjectAnimationXform(a, 0.0f, m, start), 1);
    EXPECT_LT(Distance(start, identity), 1e-5f);
    ASSERT_EQ(ComputeObjectAnimationXform(a, float(a->numFrames - 1), m, end), 1);
    EXPECT_LT(Distance(end, start), 1e-4f);
    for (float t = 0.25f; t < float(a->numFrames - 1); t += 0.5f) {
        matrix mid;
        ASSERT_EQ(ComputeObjectAnimationXform(a, t, m, mid), 1);
        *moved = std::fmax(*moved, Distance(mid, identity));
    }
    DS3_model_tag* child = m->children.get();
    for (int i = 0; i < a->numChildren; ++i, child = child->nextModel.get()) CheckLoop(a->childList.get()[i], child, moved);
}

TEST_F(PropContent, EveryAlleysPropsLoadAndAnyAnimationDrivesAnyProp)
{
    for (int alley = 0; alley < mkrom::kNumPropAlleys; ++alley) {
        SCOPED_TRACE(alley);
        const int group = mkrom::PropGroupId(alley);
        // The game's own ids: its prop groups, and the alley's hundred for the rest.
        const int groups[mkrom::kNumPropAlleys] = {107, 209, 309, 409, 509, 609};
        ASSERT_EQ(group, groups[alley]);
        EXPECT_EQ(mkrom::PropTextureId(alley) / 100, alley + 1);
        EXPECT_EQ(mkrom::PropLevelId(alley) / 100, alley + 1);
        // The swatch texture comes with the environment, before the props that are painted with it.
        ASSERT_NE(ReadResource(mkrom::PropTextureId(alley)), nullptr);
        ASSERT_EQ(LoadResourceGroup(group), 1);
        const int members = NumResourcesInGroup(group);
        ASSERT_GE(members, 2);
        ASSERT_EQ(members % 2, 0);
        const int kinds = members / 2;

        for (int k = 0; k < kinds; ++k) {
            ASSERT_EQ(ResourceType((group << 16) | (2 * k)), kResourceTypeModel);
            ASSERT_EQ(ResourceType((group << 16) | (2 * k + 1)), kResourceTypeObjectAnimation);
        }
        // Outside the first alley the game pairs models and animations at random.
        for (int k = 0; k < kinds; ++k) {
            auto* model = static_cast<DS3_model_tag*>(ResourceHandle((group << 16) | (2 * k)));
            ASSERT_NE(model, nullptr);
            EXPECT_GT(model->numStrips, 0u);
            for (int j = 0; j < kinds; ++j) {
                if (alley == 0 && j != k) continue;
                auto* a = static_cast<DI_objectAnimation_tag*>(ResourceHandle((group << 16) | (2 * j + 1)));
                ASSERT_NE(a, nullptr);
                EXPECT_GT(a->rateRatio, 0.0f);
                EXPECT_GE(a->numFrames, 3);
                // The game starts a prop at frame 0, 20, ... or 200 and restarts the run two
                // frames before its last keyframe: every start lies inside the run.
                EXPECT_GT(a->numFrames - 2, 200);
                EXPECT_TRUE(Fits(a, model, a->numFrames)) << "animation " << j << " on model " << k;
                float moved = 0.0f;
                CheckLoop(a, model, &moved);
                EXPECT_GT(moved, 0.05f) << "animation " << j << " on model " << k << " stands still";
            }
        }

        // The level lists each kind's model once and places as many props as the game does.
        auto* level = static_cast<DI_level_tag*>(ReadResource(mkrom::PropLevelId(alley)));
        ASSERT_NE(level, nullptr);
        ASSERT_EQ(level->numObjects, kinds);
        const int placed[mkrom::kNumPropAlleys] = {kinds, 12, 8, 3, 7, 12};
        int instances = 0;
        for (int k = 0; k < kinds; ++k) {
            DI_object_tag* o = level->objectList.get()[k];
            EXPECT_EQ(o->resourceID, (group << 16) | (2 * k));
            instances += o->numInstances;
            for (int i = 0; i < o->numInstances; ++i) EXPECT_EQ(o->instances.get()[i].scale.x, 24.0f);
        }
        EXPECT_EQ(instances, placed[alley]);
        ASSERT_EQ(UnloadResourceGroup(group), 1);
    }
}

}  // namespace
