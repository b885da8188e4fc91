// The bowlers' skeletons and animations, made by code.
//
// Every body mesh has a humanoid skeleton in an A pose (arms 45 degrees down), in model units of
// one foot: up is +Z, the bowler faces -Y and its right hand is on the -X side (the game turns a
// character by 180 degrees at heading 0, so it faces down the lane). The bones are numbered in
// traversal order; the body meshes differ in how many face and finger bones they carry, which puts
// their hands at the bone numbers the game's hand table names. The right wrist sits on the line
// from the shoulder through the ball's place in the hand, so the ball hangs straight off the arm.
//
// The throw (1303) is a four-step approach (five for the meshes that release at frame 70): the
// pushaway on the first step, the arm falls as a pendulum into the backswing, swings forward and
// passes the bottom of its arc one frame before the release frame, while the body sinks into the
// slide; then the follow-through.
#include "content_bowler.h"

#include <cmath>
#include <cstring>

#include "content_models.h"
#include "game/animation.h"
#include "lib/matrix.h"

namespace mkrom {

namespace {

constexpr int16_t kTypeModel = kResourceTypeModel;
constexpr int16_t kTypeAnimation = kResourceTypeAnimation;
constexpr float kPi = 3.14159265f;

struct BodyLayout {
    int body;          // body mesh id
    int variant;       // which animation set it plays (the game's remapping row)
    int releaseFrame;  // frame of 1303 at which the ball leaves the hand
    int leftHand;      // bone numbers of the hands
    int rightHand;
    float ball[3];     // where the ball sits in the right hand, bind pose
};

// In the order of the game's animation table; the last three share a set with an earlier mesh.
const BodyLayout kBodies[] = {
    {911, 0, 61, 23, 42, {-2.197411f, -0.1612747f, 3.472432f}},
    {939, 1, 70, 32, 53, {-2.078f, -0.2715f, 3.271f}},
    {918, 2, 61, 23, 42, {-2.236371f, -0.1941203f, 3.465311f}},
    {946, 3, 66, 27, 48, {-2.01965f, -0.218353f, 3.3268f}},
    {925, 4, 61, 26, 45, {-2.136029f, -0.1944661f, 3.317178f}},
    {953, 5, 64, 43, 60, {-2.007636f, -0.2066778f, 3.331605f}},
    {932, 6, 61, 25, 44, {-2.15247f, -0.1953528f, 3.316314f}},
    {960, 7, 65, 41, 60, {-2.007636f, -0.2066778f, 3.331605f}},
    {1011, 5, 64, 43, 60, {-2.007636f, -0.2066778f, 3.331605f}},
    {1023, 2, 61, 23, 42, {-2.236371f, -0.1941203f, 3.465311f}},
    {1019, 1, 70, 32, 53, {-2.078f, -0.2715f, 3.271f}},
};

const BodyLayout* FindBody(int body)
{
    for (const BodyLayout& b : kBodies)
        if (b.body == body) return &b;
    return nullptr;
}

struct Bone {
    std::string name;
    int parent;
    float pos[3];  // bind position in the model
};

struct Skeleton {
    std::vector<Bone> bones;
    std::vector<int> mirror;  // the bone of the other side (itself on the centre line)
    int thigh[2], shin[2], foot[2];
    int pelvis, spine[3], head;
    int upperArm[2], foreArm[2], hand[2];  // [0] left, [1] right
};

int Add(Skeleton& s, const std::string& name, int parent, float x, float y, float z)
{
    s.bones.push_back({name, parent, {x, y, z}});
    return int(s.bones.size()) - 1;
}

void Normalize(float* v)
{
    const float l = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    for (int i = 0; i < 3; ++i) v[i] /= l;
}

// Bones are added in traversal order: every bone's subtree directly after it.
Skeleton BuildSkeleton(const BodyLayout& b)
{
    Skeleton s;
    const int faceBones = b.leftHand - 17;
    const int fingerBones = b.rightHand - b.leftHand - 4;
    // Shoulder and wrist of the right arm; the left arm mirrors them.
    const float shoulder[3] = {-0.55f, 0.05f, 5.1f};
    float toShoulder[3] = {shoulder[0] - b.ball[0], shoulder[1] - b.ball[1], shoulder[2] - b.ball[2]};
    Normalize(toShoulder);
    float wrist[3];
    for (int i = 0; i < 3; ++i) wrist[i] = b.ball[i] + 0.28f * toShoulder[i];
    float elbow[3];
    for (int i = 0; i < 3; ++i) elbow[i] = 0.5f * (shoulder[i] + wrist[i]) + (i == 1 ? 0.05f : 0.0f);

    s.pelvis = Add(s, "pelvis", -1, 0.0f, 0.0f, 3.1f);
    const char* sides[2] = {"_L", "_R"};
    for (int side = 0; side < 2; ++side) {
        const float sx = side == 0 ? 1.0f : -1.0f;
        const std::string sfx = sides[side];
        s.thigh[side] = Add(s, "thigh" + sfx, s.pelvis, 0.3f * sx, 0.0f, 3.0f);
        s.shin[side] = Add(s, "shin" + sfx, s.thigh[side], 0.3f * sx, -0.05f, 1.65f);
        s.foot[side] = Add(s, "foot" + sfx, s.shin[side], 0.3f * sx, 0.05f, 0.25f);
        Add(s, "toe" + sfx, s.foot[side], 0.3f * sx, -0.45f, 0.08f);
    }
    s.spine[0] = Add(s, "spine1", s.pelvis, 0.0f, 0.0f, 3.45f);
    s.spine[1] = Add(s, "spine2", s.spine[0], 0.0f, 0.0f, 3.9f);
    s.spine[2] = Add(s, "chest", s.spine[1], 0.0f, 0.0f, 4.4f);
    const int neck = Add(s, "neck", s.spine[2], 0.0f, 0.0f, 5.2f);
    s.head = Add(s, "head", neck, 0.0f, -0.05f, 5.5f);
    for (int f = 0; f < faceBones; ++f) {
        const float a = 2.0f * kPi * float(f) / float(faceBones > 0 ? faceBones : 1);
        Add(s, "face" + std::to_string(f + 1), s.head, 0.3f * std::sin(a), -0.35f, 5.75f + 0.25f * std::cos(a));
    }
    for (int side = 0; side < 2; ++side) {
        const float sx = side == 0 ? -1.0f : 1.0f;  // the right arm is as given, the left mirrored
        const std::string sfx = sides[side];
        const int clavicle = Add(s, "clavicle" + sfx, s.spine[2], 0.15f * -sx, 0.0f, 5.0f);
        s.upperArm[side] = Add(s, "upperarm" + sfx, clavicle, shoulder[0] * sx, shoulder[1], shoulder[2]);
        s.foreArm[side] = Add(s, "forearm" + sfx, s.upperArm[side], elbow[0] * sx, elbow[1], elbow[2]);
        s.hand[side] = Add(s, "hand" + sfx, s.foreArm[side], wrist[0] * sx, wrist[1], wrist[2]);
        // Finger chains of three joints, reaching past the wrist along the arm.
        int parent = s.hand[side];
        for (int k = 0; k < fingerBones; ++k) {
            const int finger = k / 3, joint = k % 3;
            if (joint == 0) parent = s.hand[side];
            const float along = 0.1f * float(joint + 1);
            const float spread = 0.06f * float(finger - 2);
            parent = Add(s, "finger" + std::to_string(finger + 1) + "_" + std::to_string(joint + 1) + sfx, parent,
                         (wrist[0] - along * toShoulder[0]) * sx, wrist[1] - along * toShoulder[1] + spread,
                         wrist[2] - along * toShoulder[2]);
        }
    }

    const int n = int(s.bones.size());
    s.mirror.resize(size_t(n));
    for (int i = 0; i < n; ++i) {
        s.mirror[size_t(i)] = i;
        std::string name = s.bones[size_t(i)].name;
        size_t len = name.size();
        if (len < 2 || name[len - 2] != '_') continue;
        name[len - 1] = name[len - 1] == 'L' ? 'R' : 'L';
        for (int j = 0; j < n; ++j)
            if (s.bones[size_t(j)].name == name) s.mirror[size_t(i)] = j;
    }
    return s;
}

// Little-endian, as the game reads them.
void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i) out.at(at + size_t(i)) = uint8_t(v >> (8 * i));
}
void PutF(std::vector<uint8_t>& out, size_t at, float v)
{
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    Put32(out, at, bits);
}

std::vector<uint8_t> ModelImage(const Skeleton& s)
{
    const size_t n = s.bones.size();
    std::vector<uint8_t> out(kBowlerBodyModelBytes + 16 + 8 * n + 32 * n, 0);
    // Record: no geometry of its own (the body mesh is the group's member 2); bones in palettes,
    // base scale 1; the skeleton flag (non-zero) at byte 252.
    Put32(out, 0, 0x800);
    for (int i = 0; i < 4; ++i) PutF(out, 64 + 4 * size_t(i), 1.0f);
    Put32(out, 252, 1);
    size_t at = kBowlerBodyModelBytes;
    Put32(out, at, uint32_t(n));
    at += 16;
    for (size_t i = 0; i < n; ++i) Put32(out, at + 4 * i, uint32_t(4 * i));
    at += 4 * n;
    for (size_t i = 0; i < n; ++i) Put32(out, at + 4 * i, uint32_t(4 * s.mirror[i]));
    at += 4 * n;
    for (size_t i = 0; i < n; ++i) {
        const Bone& b = s.bones[i];
        float pivot[3] = {b.pos[0], b.pos[1], b.pos[2]};
        if (b.parent >= 0)
            for (int k = 0; k < 3; ++k) pivot[k] -= s.bones[size_t(b.parent)].pos[k];
        uint32_t children = 0;
        for (const Bone& c : s.bones)
            if (c.parent == int(i)) ++children;
        for (int k = 0; k < 3; ++k) PutF(out, at + 4 * size_t(k), pivot[k]);
        PutF(out, at + 12, 1.0f);
        Put32(out, at + 16, children);
        at += 32;
    }
    return out;
}

// ---- Poses ----

struct Pose {
    float root[3] = {0.0f, 0.0f, 0.0f};  // root motion: x, y (forward is -y), z
    float pelvisLean = 0.0f, spineLean = 0.0f, headTilt = 0.0f;  // degrees, forward positive
    float thigh[2] = {0.0f, 0.0f}, knee[2] = {0.0f, 0.0f};       // [0] left, [1] right
    float arm[2] = {0.0f, 0.0f};    // arm angle from hanging straight down, forward positive
    float elbow[2] = {0.0f, 0.0f};  // forearm bend, forward
    float out[2] = {8.0f, 8.0f};    // arm raised out to the side
};

quaternion Axis(float x, float y, float z, float degrees)
{
    quaternion q;
    createQuaternion(x, y, z, degrees, &q);
    return q;
}

// a, then b.
quaternion Then(const quaternion& a, const quaternion& b)
{
    quaternion q;
    multiplyQuaternions(&a, &b, &q);
    return q;
}

// The rotation that turns direction a onto direction b.
quaternion Aim(const float* a, const float* b)
{
    float axis[3];
    crossVectors(a, b, axis);
    float c = dotVectors(a, b);
    if (c > 1.0f) c = 1.0f;
    if (c < -1.0f) c = -1.0f;
    return Axis(axis[0], axis[1], axis[2], std::acos(c) * 180.0f / kPi);
}

std::vector<quaternion> Rotations(const Skeleton& s, const Pose& p)
{
    std::vector<quaternion> q(s.bones.size(), quaternion{0.0f, 0.0f, 0.0f, 1.0f});
    // Turning about +X by a positive angle tips the top of the body forward (towards -Y).
    const float lean = p.pelvisLean + p.spineLean;
    q[size_t(s.pelvis)] = Axis(1, 0, 0, p.pelvisLean);
    for (int i = 0; i < 3; ++i) q[size_t(s.spine[i])] = Axis(1, 0, 0, p.spineLean / 3.0f);
    q[size_t(s.head)] = Axis(1, 0, 0, p.headTilt);
    for (int side = 0; side < 2; ++side) {
        // Angles are against the vertical of the lane, so the body's lean is taken back out.
        q[size_t(s.thigh[side])] = Axis(1, 0, 0, -p.thigh[side] - p.pelvisLean);
        q[size_t(s.shin[side])] = Axis(1, 0, 0, p.knee[side]);
        q[size_t(s.foot[side])] = Axis(1, 0, 0, p.thigh[side] - p.knee[side]);

        const Bone& sh = s.bones[size_t(s.upperArm[side])];
        const Bone& wr = s.bones[size_t(s.hand[side])];
        float arm[3] = {wr.pos[0] - sh.pos[0], wr.pos[1] - sh.pos[1], wr.pos[2] - sh.pos[2]};
        Normalize(arm);
        const float down[3] = {0.0f, 0.0f, -1.0f};
        const quaternion hang = Aim(arm, down);
        const float outward = side == 1 ? p.out[side] : -p.out[side];  // right arm out is -X
        q[size_t(s.upperArm[side])] = Then(Then(hang, Axis(0, 1, 0, outward)), Axis(1, 0, 0, -p.arm[side] - lean));
        quaternion unhang = {-hang.x, -hang.y, -hang.z, hang.w};
        q[size_t(s.foreArm[side])] = Then(Then(hang, Axis(1, 0, 0, -p.elbow[side])), unhang);
    }
    for (quaternion& r : q) normalizeQuaternion(&r);
    return q;
}

float Smooth(float t)
{
    if (t <= 0.0f) return 0.0f;
    if (t >= 1.0f) return 1.0f;
    return t * t * (3.0f - 2.0f * t);
}

float Lerp(float a, float b, float t) { return a + (b - a) * t; }

// The throwing arm: a pendulum that is fastest at the bottom of its arc. The follow-through ends
// high, the hand raised towards the pins above the head.
void ThrowArm(float f, float rf, float* angle, float* elbow)
{
    const float push = 0.22f * rf, bottom1 = 0.42f * rf, back = 0.72f * rf, bottom2 = rf - 1.0f, top = rf + 20.0f;
    if (f < push) {
        const float t = Smooth(f / push);
        *angle = Lerp(40.0f, 55.0f, t);
        *elbow = Lerp(70.0f, 10.0f, t);
    } else if (f < bottom1) {
        const float t = (f - push) / (bottom1 - push);
        *angle = 55.0f * std::cos(0.5f * kPi * t);
        *elbow = Lerp(10.0f, 0.0f, Smooth(t));
    } else if (f < back) {
        *angle = -75.0f * std::sin(0.5f * kPi * (f - bottom1) / (back - bottom1));
        *elbow = 0.0f;
    } else if (f < bottom2) {
        *angle = -75.0f * std::cos(0.5f * kPi * (f - back) / (bottom2 - back));
        *elbow = 0.0f;
    } else {
        const float t = f < top ? (f - bottom2) / (top - bottom2) : 1.0f;
        *angle = 150.0f * std::sin(0.5f * kPi * t);
        *elbow = 0.0f;
    }
}

Pose ThrowPose(const BodyLayout& b, float f)
{
    Pose p;
    const float rf = float(b.releaseFrame);
    const int steps = b.releaseFrame >= 70 ? 5 : 4;
    const float stepLen = (rf - 4.0f) / float(steps);
    const float u = f < rf ? f / rf : 1.0f;

    // Root: speeding up along the approach, then the slide runs out after the release.
    // From the state camera's start the throw reaches the foul line at the release.
    float travel = 7.8f * std::pow(u, 1.25f);
    if (f > rf) travel += 0.6f * (1.0f - std::exp(-(f - rf) / 5.0f));
    const float slide = Smooth((f - (rf - 1.5f * stepLen)) / (1.5f * stepLen));
    p.root[1] = -travel;
    const float stepPhase = f / stepLen;
    p.root[2] = -0.06f * std::pow(std::sin(kPi * stepPhase), 2.0f) * (1.0f - slide) - 1.3f * slide;

    // Legs: the steps alternate, the last one (left foot) slides.
    const int firstLeg = steps == 5 ? 0 : 1;  // 0 left, 1 right
    const float start = Smooth(f / (0.5f * stepLen));
    int step = int(stepPhase);
    if (step > steps - 1) step = steps - 1;
    const float s = f < float(steps) * stepLen ? stepPhase - float(step) : 1.0f;
    for (int side = 0; side < 2; ++side) {
        const int swinging = ((step + firstLeg) % 2) == side;
        float thigh = swinging ? -25.0f * std::cos(kPi * s) : 25.0f * std::cos(kPi * s);
        float knee = swinging ? 45.0f * std::sin(kPi * s) : 5.0f;
        thigh *= start;
        knee *= start;
        const float slideThigh = side == 0 ? 70.0f : -45.0f;
        const float slideKnee = side == 0 ? 92.0f : 10.0f;
        p.thigh[side] = Lerp(thigh, slideThigh, slide);
        p.knee[side] = Lerp(knee, slideKnee, slide);
    }

    p.pelvisLean = Lerp(3.0f, 20.0f, slide);
    p.spineLean = Lerp(4.0f + 8.0f * u, 35.0f, slide);
    p.headTilt = -0.6f * (p.pelvisLean + p.spineLean);

    ThrowArm(f, rf, &p.arm[1], &p.elbow[1]);
    // The other arm swings with the steps, then reaches out for balance.
    p.arm[0] = Lerp(12.0f * std::sin(kPi * stepPhase) * start, 20.0f, slide);
    p.elbow[0] = Lerp(15.0f, 10.0f, slide);
    p.out[0] = Lerp(10.0f, 75.0f, slide);
    return p;
}

// Standing with the ball cradled in front, breathing; loops over n frames.
Pose StancePose(float f, float n, float lift)
{
    Pose p;
    const float breath = std::sin(2.0f * kPi * f / n);
    p.root[2] = 0.015f * breath;
    p.spineLean = 3.0f + 0.8f * breath;
    p.headTilt = -2.0f;
    p.arm[1] = 40.0f - 15.0f * (1.0f - lift);
    p.elbow[1] = 70.0f + 20.0f * (1.0f - lift);
    p.arm[0] = 30.0f;
    p.elbow[0] = 60.0f;
    p.out[0] = 5.0f;
    return p;
}

// A reaction of the character's own set, rising and falling over n frames.
struct Gesture {
    float armL, armR, elbowL, elbowR, outL, outR, lean, head, bounce, wave;
};
const Gesture kGestures[11] = {
    {170, 170, 10, 10, 20, 20, -5, -15, 0.15f, 0},  // cheer
    {10, 120, 10, 110, 5, 10, 5, 0, 0.05f, 25},      // fist pump
    {5, 5, 5, 5, 5, 5, 15, 35, 0, 0},                // disappointed
    {20, 20, 60, 60, 40, 40, 0, -5, 0, 0},           // shrug
    {60, 60, 40, 40, 0, 0, 5, 5, 0, 20},             // clap
    {150, 150, 20, 20, 30, 30, -5, -10, 0.35f, 0},   // jump
    {160, 160, 130, 130, 30, 30, 0, 10, 0, 0},       // hands on head
    {10, 90, 10, 0, 5, 0, 5, 0, 0, 0},               // point down the lane
    {10, 10, 20, 20, 15, 15, 20, 20, 0.05f, 0},      // stomp
    {0, 0, 10, 10, 5, 5, 40, 20, 0, 0},              // bow
    {10, 150, 10, 30, 5, 30, 0, -5, 0, 30},          // wave
};

Pose GesturePose(const Gesture& g, float f, float n)
{
    Pose p;
    const float e = std::sin(kPi * f / (n - 1.0f));  // 0 at both ends: the animation starts and ends at rest
    const float w = std::sin(6.0f * kPi * f / (n - 1.0f));
    p.arm[0] = g.armL * e;
    p.arm[1] = g.armR * e + g.wave * w * e;
    p.elbow[0] = g.elbowL * e;
    p.elbow[1] = g.elbowR * e + g.wave * w * e;
    p.out[0] = 8.0f + g.outL * e;
    p.out[1] = 8.0f + g.outR * e;
    p.spineLean = g.lean * e;
    p.headTilt = g.head * e;
    p.root[2] = g.bounce * std::fabs(std::sin(2.0f * kPi * f / (n - 1.0f))) * e;
    return p;
}

int16_t Short(float v)
{
    float s = std::round(v * 32767.0f);
    if (s > 32767.0f) s = 32767.0f;
    if (s < -32767.0f) s = -32767.0f;
    return int16_t(s);
}

template <class PoseAt>
std::vector<uint8_t> AnimationBytes(const Skeleton& s, int frames, PoseAt poseAt)
{
    const int bones = int(s.bones.size());
    const int frameLength = 12 + 8 * bones;
    std::vector<uint8_t> out(size_t(20 + frames * frameLength), 0);
    int32_t header[4] = {frames, bones, 0, frameLength};
    const float rate = 1.0f;
    std::memcpy(&out[0], &header[0], 8);
    std::memcpy(&out[8], &rate, 4);
    std::memcpy(&out[12], &header[3], 4);
    for (int f = 0; f < frames; ++f) {
        const Pose p = poseAt(float(f));
        uint8_t* frame = &out[size_t(20 + f * frameLength)];
        std::memcpy(frame, p.root, 12);
        const std::vector<quaternion> q = Rotations(s, p);
        for (int i = 0; i < bones; ++i) {
            int16_t v[4] = {Short(q[size_t(i)].x), Short(q[size_t(i)].y), Short(q[size_t(i)].z), Short(q[size_t(i)].w)};
            std::memcpy(frame + 12 + 8 * i, v, 8);
        }
    }
    return out;
}

Resource Animation(int id, std::vector<uint8_t> bytes)
{
    Resource r;
    r.id = id;
    r.type = kTypeAnimation;
    r.bytes = std::move(bytes);
    r.compressed = true;
    return r;
}

}  // namespace

std::vector<uint8_t> BowlerBodyModel(int bodyMeshRSID)
{
    const BodyLayout* b = FindBody(bodyMeshRSID);
    if (!b) return {};
    return ModelImage(BuildSkeleton(*b));
}

std::vector<std::string> BowlerBoneNames(int bodyMeshRSID)
{
    std::vector<std::string> names;
    const BodyLayout* b = FindBody(bodyMeshRSID);
    if (!b) return names;
    for (const Bone& bone : BuildSkeleton(*b).bones) names.push_back(bone.name);
    return names;
}

bool BowlerBindPosition(int bodyMeshRSID, int bone, float* xyz)
{
    const BodyLayout* b = FindBody(bodyMeshRSID);
    if (!b) return false;
    const Skeleton s = BuildSkeleton(*b);
    if (bone < 0 || bone >= int(s.bones.size())) return false;
    std::memcpy(xyz, s.bones[size_t(bone)].pos, 12);
    return true;
}

std::vector<Resource> BowlerContent()
{
    std::vector<Resource> content;
    for (const BodyLayout& b : kBodies) {
        Resource group;
        group.id = b.body;
        group.type = kTypeGroup;
        Resource model;
        model.type = kTypeModel;
        model.bytes = BowlerBodyModel(b.body);
        group.members.push_back(std::move(model));
        for (Resource& skin : BowlerSkinMembers(b.body)) group.members.push_back(std::move(skin));
        content.push_back(std::move(group));
    }
    // One animation set per variant, made from the first body mesh that plays it.
    for (int variant = 0; variant < 8; ++variant) {
        const BodyLayout& b = kBodies[variant];
        const Skeleton s = BuildSkeleton(b);
        const int throwBase = kAnimThrowFirst + 3 * variant;
        const int ownBase = kAnimCharacterFirst + 12 * variant;
        const float stanceFrames = 40.0f;
        content.push_back(Animation(throwBase, AnimationBytes(s, 40, [&](float f) { return StancePose(f, stanceFrames, 1.0f); })));
        content.push_back(Animation(throwBase + 1, AnimationBytes(s, 30, [&](float f) {
                                        Pose p = StancePose(0.0f, stanceFrames, Smooth(f / 29.0f));
                                        return p;
                                    })));
        content.push_back(Animation(throwBase + 2, AnimationBytes(s, b.releaseFrame + 36, [&](float f) { return ThrowPose(b, f); })));
        content.push_back(Animation(ownBase, AnimationBytes(s, 40, [&](float f) { return StancePose(f, stanceFrames, 1.0f); })));
        for (int g = 0; g < 11; ++g)
            content.push_back(Animation(ownBase + 1 + g, AnimationBytes(s, 40, [&](float f) { return GesturePose(kGestures[g], f, 40.0f); })));
    }
    return content;
}

}  // namespace mkrom
