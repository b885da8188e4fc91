// What the game camera shows of a turn on the build's game data, in every alley, measured each
// frame on the bowler's skeleton against the view the frame is drawn with: while a person's bowler
// stands ready and walks the approach, the whole bowler is in the picture, seen from above the
// head, with the rack in view above the head; from the set-up to the ball's end, a person's or the
// computer's, the eye keeps more than four feet from every joint of the bowler, so that it never
// runs into them or fills the picture with a head or an arm.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "content_bowler.h"
#include "game/actors.h"
#include "game/areas.h"
#include "game/controls.h"
#include "game/gameloop.h"
#include "game/lane.h"
#include "game/pins.h"
#include "game/records.h"
#include "host/gpu.h"
#include "host/host.h"
#include "lib/matrix.h"
#include "overlays/angle.h"
#include "overlays/overlaystack.h"
#include "overlays/position.h"
#include "overlays/power.h"
#include "overlays/scoreoverlay.h"
#include "platform/camera.h"
#include "platform/input.h"
#include "platform/render.h"
#include "platform/skeleton.h"
#include "shell/scenedraw.h"
#include "support/device_heap.h"
#include "support/game_data.h"

namespace {

struct Point {
    float x, y, z;
};

// Where a world point is drawn on the upper screen, as the eyes' projection places it: -1..1 across
// and up the picture, and its depth ahead of the camera.
struct OnScreen {
    float across, up, depth;
    bool Inside() const { return depth > 0.0f && across > -1.0f && across < 1.0f && up > -1.0f && up < 1.0f; }
};

OnScreen Project(Point p)
{
    float v[3] = {p.x, p.y, p.z};
    composePosition(v, cameraXform);  // camera space: x right, y down, z ahead
    const float d = cameraViewingDistance;
    return {d * v[0] / (projXscale * v[2]), -d * v[1] / (projYscale * v[2]), v[2]};
}

// A pin's spot (the table is in feet) at a height.
Point PinSpot(int index, float z) { return {PIN_X[index] * kUnitsPerFoot, PIN_Y[index] * kUnitsPerFoot, z}; }

// The eye of the view the renderer was given (world to camera, row vectors: the eye maps to the
// origin, so it is minus the translation turned back by the transpose of the turn).
Point Eye()
{
    const matrix& v = shaderViewXform;
    Point e{};
    float* out[3] = {&e.x, &e.y, &e.z};
    for (int i = 0; i < 3; ++i) *out[i] = -(v[3][0] * v[i][0] + v[3][1] * v[i][1] + v[3][2] * v[i][2]);
    return e;
}

float Distance(Point a, Point b) { return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) + (a.z - b.z) * (a.z - b.z)); }

class TurnOnTheLane : public ::testing::TestWithParam<std::tuple<int, int>> {
protected:
    HostOptions saved;
    uint16_t held = 0;

    void SetUp() override
    {
        ASSERT_EQ(UseFreshDeviceHeap(64 << 20), 1);
        saved = gHostOptions;
        gHostOptions.headless = 0;
        ASSERT_EQ(PrepareWholeGame(), 1);
        ASSERT_EQ(RenderInit(0x80000, 0x800, 0x502, 0x500), 1);
        GpuExecuteOnlyFor(nullptr, 0);
        ASSERT_EQ(StartQuickGame(1, std::get<1>(GetParam()), std::get<0>(GetParam())), 1);
        ASSERT_EQ(areaNum, std::get<0>(GetParam()));
    }
    void TearDown() override
    {
        EndWholeGame();
        GpuExecuteAll();
        ReleaseDeviceHeap();
        gHostOptions = saved;
    }
    // One frame as the game loop runs it: the person's buttons, the logic step, which places the
    // camera and moves the bowler, and the drawing, which gives the renderer its view.
    bool Frame(uint16_t buttons)
    {
        allInput.edges = uint16_t(held ^ buttons);
        allInput.buttons = buttons;
        allInput.x = 0.0f;
        held = buttons;
        return HandleControls() && UpdateGameLogic() && DrawGameScreen();
    }
    static int (*Top())()
    {
        OVERLAYTAG top{};
        OverlayGetHandlers(&top);
        return top.openHandler;
    }
    // The bowler's joints in the world, as posed for the frame.
    static std::vector<Point> Joints(const actor_tag* bowler, int body)
    {
        std::vector<Point> out;
        const int bones = int(mkrom::BowlerBoneNames(body).size());
        for (int i = 0; i < bones && i < kMaxBones; ++i) {
            float p[3];
            if (!mkrom::BowlerBindPosition(body, i, p)) continue;
            composePosition(p, bowler->boneXforms[i]);
            composePosition(p, bowler->worldXform);
            out.push_back({p[0], p[1], p[2]});
        }
        return out;
    }
    // Plays the current bowler's balls, every frame from the set-up to the ball's reaching the
    // pins, checking the view of the bowler in each.
    void PlayTurn(int balls)
    {
        TITLE_PlayerInfoStruct& p = gPlayerInfo[0];
        actor_tag* bowler = p.theActor;
        ASSERT_NE(bowler, nullptr);
        const int body = p.playerData.bodyMeshRSID;
        const std::vector<std::string> names = mkrom::BowlerBoneNames(body);
        const int head = int(std::find(names.begin(), names.end(), "head") - names.begin());
        const int meterStops[2] = {40, 8};  // frames into the power step: a fast ball, a slow one
        const float clearance = 4.0f * kUnitsPerFoot;
        const float pinDeck = 1392.0f;

        int (*current)() = nullptr;
        int framesOnTop = 0, throws = 0, readyFrames = 0, rollingFrames = 0;
        float nearest = 1e9f;
        for (int step = 0; step < 3000; ++step) {
            int (*top)() = Top();
            framesOnTop = top == current ? framesOnTop + 1 : 0;
            current = top;
            int pressAt = -1;
            if (top == DSScoreOpenHandler) pressAt = 10;
            if (top == DSStandardPositionOpenHandler || top == DSStandardAngleOpenHandler) pressAt = 8;
            if (top == DSStandardPowerOpenHandler) pressAt = meterStops[throws % 2];
            const int before = GetControlState();
            ASSERT_TRUE(Frame(framesOnTop == pressAt ? kButtonA : 0)) << "frame " << step;
            const int state = GetControlState();
            if (state == kControlReleased && before != kControlReleased) ++throws;
            if (throws == balls && bowlingBall->Ylocation > pinDeck) break;

            SCOPED_TRACE("throw " + std::to_string(throws) + ", frame " + std::to_string(step) + ", control state " +
                         std::to_string(state));
            // Posed as the drawing poses it, also where the drawing left it out behind the camera.
            ASSERT_EQ(ComputeActorXform(bowler), 1);
            ASSERT_EQ(ComputeSkeletonXforms(bowler), 1);
            const std::vector<Point> joints = Joints(bowler, body);
            ASSERT_GT(int(joints.size()), head);
            const Point eye = Eye();
            if (bowler->visible) {
                for (const Point& j : joints) {
                    // A joint more than a foot behind the eye is out of the picture, body and all.
                    if (Project(j).depth < -kUnitsPerFoot) continue;
                    nearest = std::min(nearest, Distance(eye, j));
                    ASSERT_GT(Distance(eye, j), clearance) << "the eye at " << eye.x << ", " << eye.y << ", " << eye.z
                                                          << " and a joint at " << j.x << ", " << j.y << ", " << j.z;
                }
            }
            if (state == kControlReleased && bowlingBall->Ylocation < pinDeck) ++rollingFrames;
            // The frame the power step begins in is still drawn from the aim's view, the bowler behind it.
            const bool drawn = bowler->visible && bowler->clipStatus != kClipBehindCamera;
            if (humans() && (state == kControlPower || state == kControlThrowing) && drawn) {
                ++readyFrames;
                const Point top = {joints[size_t(head)].x, joints[size_t(head)].y, joints[size_t(head)].z + kUnitsPerFoot};
                EXPECT_GT(eye.z, top.z) << "seen from above the head";
                EXPECT_TRUE(Project(top).Inside()) << "the top of the head";
                for (const Point& j : joints)
                    EXPECT_TRUE(Project(j).Inside()) << "a joint at " << j.x << ", " << j.y << ", " << j.z;
                const OnScreen rack[] = {Project(PinSpot(0, 30.0f)), Project(PinSpot(6, 0.0f)), Project(PinSpot(9, 0.0f))};
                for (const OnScreen& pin : rack) {
                    EXPECT_TRUE(pin.Inside()) << "the pins";
                    EXPECT_GT(pin.up, Project(top).up) << "the pins stand above the bowler's head";
                }
            }
        }
        EXPECT_EQ(throws, balls) << "every ball was thrown";
        if (humans()) {
            EXPECT_GT(readyFrames, 60) << "the bowler was seen ready and on the approach";
        }
        EXPECT_GT(rollingFrames, 20 * balls) << "the balls were followed down the lane";
        RecordProperty("nearest", std::to_string(nearest));
    }
    static bool humans() { return GetControllerAssignment(0) != kAssignmentComputer; }
};

// In every alley a person throws twice, a fast ball and a slow one (the slower the ball, the later
// the camera that follows it can leave the bowler behind); the computer bowls a ball of its own.
TEST_P(TurnOnTheLane, TheCameraShowsTheWholeBowlerAndNeverComesNearThem)
{
    PlayTurn(std::get<1>(GetParam()) ? 2 : 1);
}

INSTANTIATE_TEST_SUITE_P(EveryAlley, TurnOnTheLane, ::testing::Combine(::testing::Range(0, 6), ::testing::Values(1, 0)),
                         [](const ::testing::TestParamInfo<std::tuple<int, int>>& info) {
                             return "Alley" + std::to_string(std::get<0>(info.param)) +
                                    (std::get<1>(info.param) ? "Person" : "Computer");
                         });

}  // namespace
