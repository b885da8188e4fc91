// What the game camera shows of a person's turn on the build's game data, measured on the bowler's
// skeleton each frame: while the bowler stands ready and walks the approach, the whole bowler is in
// the picture, seen from above the head, with the rack in view above the head; from the release
// until the bowler is behind it, the camera following the ball stays more than a foot from the
// bowler's joints (the body, hair and clothes lie within that foot).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "content_bowler.h"
#include "game/actors.h"
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

Point Eye() { return {cameraXformInv[3][0], cameraXformInv[3][1], cameraXformInv[3][2]}; }

// Whether p lies in the box around the joints grown by a foot on every side.
bool WithinAFoot(Point p, const std::vector<Point>& joints)
{
    Point lo = joints[0], hi = joints[0];
    for (const Point& j : joints) {
        lo = {std::min(lo.x, j.x), std::min(lo.y, j.y), std::min(lo.z, j.z)};
        hi = {std::max(hi.x, j.x), std::max(hi.y, j.y), std::max(hi.z, j.z)};
    }
    const float f = kUnitsPerFoot;
    return p.x > lo.x - f && p.x < hi.x + f && p.y > lo.y - f && p.y < hi.y + f && p.z > lo.z - f && p.z < hi.z + f;
}

class PersonsTurnOnTheLane : public ::testing::Test {
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
        ASSERT_EQ(StartQuickGame(1, 1), 1);
    }
    void TearDown() override
    {
        EndWholeGame();
        GpuExecuteAll();
        ReleaseDeviceHeap();
        gHostOptions = saved;
    }
    // One frame: the person's buttons, then the game's logic step, which places the camera and
    // poses the bowler for the frame.
    bool Frame(uint16_t buttons)
    {
        allInput.edges = uint16_t(held ^ buttons);
        allInput.buttons = buttons;
        allInput.x = 0.0f;
        held = buttons;
        return HandleControls() && UpdateGameLogic();
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
};

// Two throws, a fast one and a slow one: the slower the ball, the later the camera that follows it
// reaches the bowler, the further through the follow-through the bowler is.
TEST_F(PersonsTurnOnTheLane, TheCameraShowsTheWholeBowlerAndNeverEntersThem)
{
    TITLE_PlayerInfoStruct& p = gPlayerInfo[0];
    actor_tag* bowler = p.theActor;
    ASSERT_NE(bowler, nullptr);
    const int body = p.playerData.bodyMeshRSID;
    const std::vector<std::string> names = mkrom::BowlerBoneNames(body);
    const int head = int(std::find(names.begin(), names.end(), "head") - names.begin());
    const int meterStops[2] = {40, 8};  // frames into the power step: a fast ball, a slow one
    const float pastTheBowler = 600.0f;

    int (*current)() = nullptr;
    int framesOnTop = 0, throws = 0, readyFrames = 0, followedFrames = 0;
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
        if (throws == 2 && bowlingBall->Ylocation > pastTheBowler) break;
        const int drawn = bowler->visible && bowler->clipStatus != kClipBehindCamera;
        if (!drawn || bowlingBall->Ylocation > pastTheBowler) continue;

        SCOPED_TRACE("throw " + std::to_string(throws) + ", frame " + std::to_string(step) + ", control state " +
                     std::to_string(state));
        ASSERT_EQ(ComputeSkeletonXforms(bowler), 1);  // posed as the drawing will pose it
        const std::vector<Point> joints = Joints(bowler, body);
        ASSERT_GT(int(joints.size()), head);
        const Point eye = Eye();
        if (state == kControlPower || state == kControlThrowing) {
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
        if (state == kControlReleased) {
            ++followedFrames;
            EXPECT_FALSE(WithinAFoot(eye, joints))
                << "the eye at " << eye.x << ", " << eye.y << ", " << eye.z << " is within a foot of the bowler";
        }
    }
    EXPECT_EQ(throws, 2) << "both balls were thrown";
    EXPECT_GT(readyFrames, 60) << "the bowler was seen ready and on the approach";
    EXPECT_GT(followedFrames, 10) << "the bowler was seen after the releases";
}

}  // namespace
