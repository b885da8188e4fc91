// The game's twelve vertex programs in one source; the GPU compiles it once per program with
// PROGRAM defined as the program number (0..11), which is also the vertex format number.
//
// Given by the GPU: `uniform vec4 uReg[96]`, the float uniform registers, and `vec4 o[7]`, the
// output registers, which programMain fills. Register r of a matrix holds its row r; component
// r of a transformed point is dot(uReg[base + r], point).
//
// Registers read: 0-3 projection, 4-7 model-view, 8 the model-view's rotation as a quaternion
// (x, y, z, w), 9 on bone matrices of 4 registers each (at most 16 bones; uReg[74].x is the
// registers per bone), 77 (x: the smallest length worth normalising), 79 the texture-coordinate
// offset (u, v).
//
// Inputs: input register k holds the k-th attribute of the program's vertex format. Bytes
// arrive as their values 0..255.
//
// Outputs, in this order of registers: position; texture coordinate 0 (u, v); for lit programs
// the quaternion of the surface frame in view space (it turns the frame's z axis into the
// normal) and the view vector (from the vertex to the eye, in view space); for programs with
// vertex colour the colour (0..1).
//
// Tangent frames (bump programs) are quaternions that turn the tangent-space axes into model
// space: x to the tangent, y to the bitangent, z to the normal.

#if PROGRAM == 0 || PROGRAM == 2 || PROGRAM == 11
#define LIT 0
#else
#define LIT 1
#endif
#define BUMP (PROGRAM == 4 || PROGRAM == 5 || PROGRAM == 9)
#define COLOUR (PROGRAM == 3 || PROGRAM == 5 || PROGRAM == 10)
#if PROGRAM == 6 || PROGRAM == 11
#define BONES 1
#elif PROGRAM == 7
#define BONES 2
#elif PROGRAM == 8 || PROGRAM == 9 || PROGRAM == 10
#define BONES 3
#else
#define BONES 0
#endif

layout(location = 0) in vec4 aPosition;
#if LIT
layout(location = 1) in vec4 aNormal;
layout(location = 2) in vec4 aTexCoord;
#define NEXT_INPUT 3
#else
layout(location = 1) in vec4 aTexCoord;
#define NEXT_INPUT 2
#endif

#if PROGRAM == 3
layout(location = 3) in vec4 aColor;
#elif PROGRAM == 4
layout(location = 3) in vec4 aTangent;
#elif PROGRAM == 5
layout(location = 3) in vec4 aColor;
layout(location = 4) in vec4 aTangent;
#elif PROGRAM == 6 || PROGRAM == 11
layout(location = NEXT_INPUT) in vec4 aIndex;
#elif PROGRAM == 7 || PROGRAM == 8
layout(location = 3) in vec4 aIndex;
layout(location = 4) in vec4 aWeight;
#elif PROGRAM == 9
layout(location = 3) in vec4 aIndex;
layout(location = 4) in vec4 aWeight;
layout(location = 5) in vec4 aTangent;
#elif PROGRAM == 10
layout(location = 3) in vec4 aIndex;
layout(location = 4) in vec4 aWeight;
layout(location = 5) in vec4 aColor;
#endif

vec3 rows3(int base, vec4 p)
{
    return vec3(dot(uReg[base], p), dot(uReg[base + 1], p), dot(uReg[base + 2], p));
}

vec4 rows4(int base, vec4 p)
{
    return vec4(dot(uReg[base], p), dot(uReg[base + 1], p), dot(uReg[base + 2], p), dot(uReg[base + 3], p));
}

vec4 quatMultiply(vec4 a, vec4 b)
{
    return vec4(a.w * b.xyz + b.w * a.xyz + cross(a.xyz, b.xyz), a.w * b.w - dot(a.xyz, b.xyz));
}

vec3 quatRotate(vec4 q, vec3 v)
{
    return v + 2.0 * cross(q.xyz, cross(q.xyz, v) + q.w * v);
}

// The shortest rotation that turns +z into the unit vector n.
vec4 quatFromZ(vec3 n)
{
    float w = 1.0 + n.z;
    if (w < uReg[77].x) return vec4(1.0, 0.0, 0.0, 0.0);
    return normalize(vec4(-n.y, n.x, 0.0, w));
}

// The quaternion of the rotation whose columns are the unit vectors x, y, z.
vec4 quatFromFrame(vec3 x, vec3 y, vec3 z)
{
    float trace = x.x + y.y + z.z;
    vec4 q;
    if (trace > 0.0) {
        float s = sqrt(trace + 1.0) * 2.0;
        q = vec4((y.z - z.y) / s, (z.x - x.z) / s, (x.y - y.x) / s, 0.25 * s);
    } else if (x.x > y.y && x.x > z.z) {
        float s = sqrt(1.0 + x.x - y.y - z.z) * 2.0;
        q = vec4(0.25 * s, (y.x + x.y) / s, (z.x + x.z) / s, (y.z - z.y) / s);
    } else if (y.y > z.z) {
        float s = sqrt(1.0 + y.y - x.x - z.z) * 2.0;
        q = vec4((y.x + x.y) / s, 0.25 * s, (z.y + y.z) / s, (z.x - x.z) / s);
    } else {
        float s = sqrt(1.0 + z.z - x.x - y.y) * 2.0;
        q = vec4((z.x + x.z) / s, (z.y + y.z) / s, 0.25 * s, (x.y - y.x) / s);
    }
    return normalize(q);
}

#if BONES
int boneBase(float index)
{
    return 9 + int(uReg[74].x) * clamp(int(index), 0, 15);
}
#endif

void programMain()
{
    vec4 p = vec4(aPosition.xyz, 1.0);
#if LIT
    vec3 n = aNormal.xyz;
#endif
#if BUMP
    vec3 tangent = quatRotate(aTangent, vec3(1.0, 0.0, 0.0));
    vec3 bitangent = quatRotate(aTangent, vec3(0.0, 1.0, 0.0));
    n = quatRotate(aTangent, vec3(0.0, 0.0, 1.0));
#endif

#if BONES
    // Skinning: the weighted sum of the vertex carried by each of its bones.
#if BONES == 1
    vec4 weights = vec4(1.0, 0.0, 0.0, 0.0);
#elif BONES == 2
    vec4 weights = vec4(aWeight.xy, 0.0, 0.0);
#else
    vec4 weights = vec4(aWeight.xyz, 0.0);
#endif
    vec4 skinned = vec4(0.0);
#if LIT
    vec3 skinnedNormal = vec3(0.0);
#endif
#if PROGRAM == 9
    vec3 skinnedTangent = vec3(0.0);
#endif
    for (int i = 0; i < BONES; ++i) {
        int base = boneBase(aIndex[i]);
        skinned += weights[i] * rows4(base, p);
#if LIT
        skinnedNormal += weights[i] * rows3(base, vec4(n, 0.0));
#endif
#if PROGRAM == 9
        skinnedTangent += weights[i] * rows3(base, vec4(tangent, 0.0));
#endif
    }
    p = vec4(skinned.xyz, 1.0);
#if LIT
    n = skinnedNormal;
#endif
#if PROGRAM == 9
    tangent = skinnedTangent;
#endif
#endif

    vec4 viewPosition = vec4(rows3(4, p), 1.0);
    o[0] = rows4(0, viewPosition);
    o[1] = vec4(aTexCoord.xy + uReg[79].xy, 0.0, 0.0);

#if LIT
    vec3 viewNormal = rows3(4, vec4(n, 0.0));
    viewNormal = length(viewNormal) > uReg[77].x ? normalize(viewNormal) : vec3(0.0, 0.0, 1.0);
#if PROGRAM == 4 || PROGRAM == 5
    vec4 q = quatMultiply(uReg[8], normalize(aTangent));
#elif PROGRAM == 9
    vec3 t = rows3(4, vec4(tangent, 0.0));
    t = normalize(t - viewNormal * dot(t, viewNormal));
    vec4 q = quatFromFrame(t, cross(viewNormal, t), viewNormal);
#else
    vec4 q = quatFromZ(viewNormal);
#endif
    // One hemisphere for all vertices, so that interpolation does not pass through zero.
    o[2] = q.w < 0.0 ? -q : q;
    o[3] = vec4(-viewPosition.xyz, 0.0);
#endif

#if COLOUR
    o[LIT * 2 + 2] = aColor / 255.0;
#endif
}
