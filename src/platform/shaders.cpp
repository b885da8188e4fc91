// Vertex programs: the vertex formats, the shader container, the choice of program per draw with
// the lazy upload of what is stale, and the 2D and 3D matrices.
#include "platform/shaders.h"

#include <cmath>
#include <cstring>

#include "host/gpu.h"
#include "lib/printing.h"
#include "lib/resourceload.h"
#include "platform/camera.h"
#include "platform/combiners.h"
#include "platform/gpucommands.h"
#include "platform/lighting.h"
#include "platform/quads.h"
#include "platform/render.h"
#include "platform/renderengine.h"
#include "platform/stereo.h"
#include "platform/utilities.h"

static const int kShaderResource = 10;

#define POSITION {"aPosition", 3, kAttribFloat, 12}
#define NORMAL {"aNormal", 3, kAttribFloat, 12}
#define TEXCOORD {"aTexCoord", 2, kAttribFloat, 8}
#define COLOR {"aColor", 4, kAttribUnsignedByte, 4}
#define TANGENT {"aTangent", 4, kAttribFloat, 16}
#define INDEX {"aIndex", 4, kAttribUnsignedByte, 4}
#define WEIGHT2 {"aWeight", 2, kAttribFloat, 8}
#define WEIGHT3 {"aWeight", 3, kAttribFloat, 12}

vShaderDef shaderDefs[kNumShaders] = {
    {2, {POSITION, TEXCOORD}, 0},                               // 2D screen quads
    {3, {POSITION, NORMAL, TEXCOORD}, 0},                       // lit static models
    {2, {POSITION, TEXCOORD}, 0},                               // unlit static models
    {4, {POSITION, NORMAL, TEXCOORD, COLOR}, 0},                // lit with vertex colour
    {4, {POSITION, NORMAL, TEXCOORD, TANGENT}, 0},              // bump-mapped
    {5, {POSITION, NORMAL, TEXCOORD, COLOR, TANGENT}, 0},       // bump-mapped with vertex colour
    {4, {POSITION, NORMAL, TEXCOORD, INDEX}, 0},                // skinned, one bone
    {5, {POSITION, NORMAL, TEXCOORD, INDEX, WEIGHT2}, 0},       // skinned, two weights
    {5, {POSITION, NORMAL, TEXCOORD, INDEX, WEIGHT3}, 0},       // skinned, three weights
    {6, {POSITION, NORMAL, TEXCOORD, INDEX, WEIGHT3, TANGENT}, 0},  // skinned, bump-mapped
    {6, {POSITION, NORMAL, TEXCOORD, INDEX, WEIGHT3, COLOR}, 0},    // skinned with vertex colour
    {3, {POSITION, TEXCOORD, INDEX}, 0},                        // skinned, unlit
};

#undef POSITION
#undef NORMAL
#undef TEXCOORD
#undef COLOR
#undef TANGENT
#undef INDEX
#undef WEIGHT2
#undef WEIGHT3

DS3_ShaderInfo s_ShaderInfo[kNumShaders];
sRenderState s_RenderState;
int s_ActiveShader = -1;
int s_isFlatNow = 0;
int s_cameraMode = 1;
int gInverted = 0;

float s_proj[4][4];
float s_projL[4][4];
float s_projR[4][4];
float s_proj0[4][4];
float s_proj1[4][4];
float s_View3D[3][4];
float s_viewL[3][4];
float s_viewR[3][4];
float s_Model3D[3][4];
float s_ModelView3D[4][4];
float s_ModelView2D[4][4];
// The projection of the upper screen without stereo and of the lower screen.
static float s_projMono[4][4];

float s_Near = 289.0f;
float s_Far = 100000.0f;
float s_DepthLevel = 0.9481627f;
static const float kStartParallaxScale = 0.15f;
float s_Factor = kStartParallaxScale;

int ShaderIsLit(int program) { return program == 1 || (program >= 3 && program <= 10); }
int ShaderIsBump(int program) { return program == 4 || program == 5 || program == 9; }

// ---- Matrices ----

static void Identity4(float m[4][4])
{
    std::memset(m, 0, sizeof(float[4][4]));
    for (int i = 0; i < 4; i++) m[i][i] = 1.0f;
}

static void Identity34(float m[3][4])
{
    std::memset(m, 0, sizeof(float[3][4]));
    for (int i = 0; i < 3; i++) m[i][i] = 1.0f;
}

// out = a x b (out may not alias).
static void Multiply4(const float a[4][4], const float b[4][4], float out[4][4])
{
    for (int i = 0; i < 4; i++)
        for (int j = 0; j < 4; j++) out[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j] + a[i][3] * b[3][j];
}

// out = a x b for affine 3 x 4 matrices (the missing row is (0, 0, 0, 1)).
static void MultiplyAffine(const float a[3][4], const float b[3][4], float out[3][4])
{
    for (int i = 0; i < 3; i++) {
        for (int j = 0; j < 4; j++) {
            out[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
            if (j == 3) out[i][j] += a[i][3];
        }
    }
}

// The displays are portrait: a landscape clip position (X right, Y up) goes to the GPU as
// (-Y, X), a quarter turn counter-clockwise.
static void TurnToDisplay(float m[4][4])
{
    for (int j = 0; j < 4; j++) {
        float x = m[0][j], y = m[1][j];
        m[0][j] = -y;
        m[1][j] = x;
    }
}

// The base 3D projection as the eyes use it: camera space (x right, y down, z ahead) into the
// camera's projection, whose x is right, y up and z behind; zoomed by the viewing distance.
static void BaseEyeProjection(float out[4][4])
{
    float d = cameraViewingDistance > 0.0f ? cameraViewingDistance : 1.0f;
    float axes[4][4];
    Identity4(axes);
    axes[0][0] = d;
    axes[1][1] = -d;
    axes[2][2] = -1.0f;
    Multiply4(s_proj, axes, out);
}

// An orthographic 2D projection over x0..x0 + width by y0..y0 + 240, y pointing down, z from 0
// (near) to s_Far; reversed both ways when the view is inverted.
static void Build2DProjection(float m[4][4], float x0, float y0, float width)
{
    const float height = 240.0f;
    float sign = gInverted ? -1.0f : 1.0f;
    std::memset(m, 0, sizeof(float[4][4]));
    m[0][0] = sign * 2.0f / width;
    m[0][3] = -sign * (1.0f + 2.0f * x0 / width);
    m[1][1] = -sign * 2.0f / height;
    m[1][3] = sign * (1.0f + 2.0f * y0 / height);
    m[2][2] = -1.0f / s_Far;
    m[3][3] = 1.0f;
    TurnToDisplay(m);
}

// The 2D offset in force: who draws in screen pixels for a moment (a cover, a loop of its own)
// reads it to put it back afterwards.
static int s_Offset2D[2] = {0, 0};

int RenderSetOffset2D(int x, int y)
{
    // The quads queued so far were placed under the old offset: they are drawn with it.
    RenderEndScreenPolys();
    s_Offset2D[0] = x;
    s_Offset2D[1] = y;
    Build2DProjection(s_proj0, float(x), float(y), 400.0f);
    Build2DProjection(s_proj1, float(x), float(y), 320.0f);
    s_RenderState.isInvalidProjection = 1;
    return 1;
}

void RenderGetOffset2D(int* x, int* y)
{
    if (x) *x = s_Offset2D[0];
    if (y) *y = s_Offset2D[1];
}

int InitStereoCamera()
{
    StereoCameraInitialize(&s_StereoCamera);
    s_Factor = kStartParallaxScale;
    std::memset(s_proj, 0, sizeof s_proj);
    s_proj[0][0] = 2.0f * s_Near * 0.013333334f;
    s_proj[1][1] = 2.0f * s_Near * 0.02173913f;
    s_proj[2][2] = s_Far / (s_Far - s_Near);
    s_proj[2][3] = s_Far * s_Near / (s_Far - s_Near);
    s_proj[3][2] = -1.0f;
    Identity34(s_View3D);
    Identity34(s_viewL);
    Identity34(s_viewR);
    Identity34(s_Model3D);
    Identity4(s_ModelView3D);
    Identity4(s_ModelView2D);
    RenderSetOffset2D(0, 0);
    return UpdateModelView3D();
}

// The per-eye and mono projections and views from the base ones.
static void ComputeEyeMatrices()
{
    float base[4][4];
    BaseEyeProjection(base);
    StereoCameraCalculate(&s_StereoCamera, base, s_View3D, s_DepthLevel, s_Factor, s_projL, s_viewL, s_projR, s_viewR);
    TurnToDisplay(s_projL);
    TurnToDisplay(s_projR);
    std::memcpy(s_projMono, base, sizeof base);
    TurnToDisplay(s_projMono);
}

static int UsesEyes()
{
    return isStereo && (displayID == kGpuDisplayUpper || displayID == kGpuDisplayUpperRight);
}

int UpdateModelView3D()
{
    ComputeEyeMatrices();
    const float(*view)[4] = s_View3D;
    if (UsesEyes()) view = displayID == kGpuDisplayUpper ? s_viewL : s_viewR;
    float mv[3][4];
    MultiplyAffine(view, s_Model3D, mv);
    std::memcpy(s_ModelView3D, mv, sizeof mv);
    s_ModelView3D[3][0] = s_ModelView3D[3][1] = s_ModelView3D[3][2] = 0.0f;
    s_ModelView3D[3][3] = 1.0f;
    return 1;
}

static int UploadMatrix(int reg, const float m[4][4])
{
    HLSL_point rows[4];
    for (int i = 0; i < 4; i++) rows[i] = {m[i][0], m[i][1], m[i][2], m[i][3]};
    return DS3_SetFloatUniformArray(reg, 4, rows);
}

int UpdateShaderTransforms3D()
{
    if (s_RenderState.isInvalidProjection) {
        const float(*proj)[4] = s_projMono;
        if (UsesEyes()) proj = displayID == kGpuDisplayUpper ? s_projL : s_projR;
        UploadMatrix(kUniformProjection, proj);
        s_RenderState.isInvalidProjection = 0;
    }
    if (s_RenderState.isInvalidModelView) {
        UploadMatrix(kUniformModelView, s_ModelView3D);
        if (s_ActiveShader >= 0 && s_ShaderInfo[s_ActiveShader].declaresModelViewQ) {
            // The rotation of the model-view (rows of a column-vector matrix are the columns of
            // the row-vector one the quaternion code reads).
            matrix rowForm;
            for (int i = 0; i < 4; i++)
                for (int j = 0; j < 4; j++) rowForm[i][j] = s_ModelView3D[j][i];
            quaternion q;
            RotationMatrixToQuaternion(rowForm, &q);
            normalizeQuaternion(&q);
            HLSL_point v = {q.x, q.y, q.z, q.w};
            DS3_SetFloatUniform(kUniformModelViewQ, &v);
        }
        s_RenderState.isInvalidModelView = 0;
    }
    return 1;
}

int SetXform(float (*m)[4])
{
    if (!m) {
        Identity34(s_Model3D);
    } else {
        for (int i = 0; i < 3; i++)
            for (int j = 0; j < 4; j++) s_Model3D[i][j] = m[j][i];
    }
    s_RenderState.isInvalidProjection = 1;
    s_RenderState.isInvalidModelView = 1;
    return 1;
}

int RenderSetCameraProj3D(float (*m)[4])
{
    if (m) std::memcpy(s_proj, m, sizeof s_proj);
    ComputeEyeMatrices();
    s_RenderState.isInvalidProjection = 1;
    s_RenderState.isInvalidModelView = 1;
    return 1;
}

int RenderSetCameraParallaxScale(float scale)
{
    s_Factor = scale;
    return 1;
}

int RenderGetCameraParallax(float depth)
{
    return int(StereoCameraParallax(&s_StereoCamera, depth) * 400.0f);
}

int RenderSetXForms4Bones(float* matrices, int count)
{
    if (!matrices || count <= 0) return 1;
    if (count > kMaxShaderBones) {
        PrintError("shaders: %d bone matrices: only %d fit the uniform registers", count, kMaxShaderBones);
        count = kMaxShaderBones;
    }
    HLSL_point rows[4 * kMaxShaderBones];
    std::memcpy(rows, matrices, sizeof(HLSL_point) * 4 * size_t(count));
    return DS3_SetFloatUniformArray(kUniformBones, 4 * count, rows);
}

int SetTextureCoordinateOffset(float u, float v)
{
    HLSL_point offset = {u, v, 0.0f, 0.0f};
    return DS3_SetFloatUniform(kUniformTexOffset, &offset);
}

int ClearTextureCoordinateOffset()
{
    return SetTextureCoordinateOffset(0.0f, 0.0f);
}

// ---- Programs ----

int RenderInitVertexStride()
{
    for (int p = 0; p < kNumShaders; p++) {
        vShaderDef* def = &shaderDefs[p];
        DS3_ShaderInfo* info = &s_ShaderInfo[p];
        uint32_t offset = 0;
        info->numInputElements = def->attrs;
        for (uint32_t k = 0; k < def->attrs; k++) {
            const vShaderAttr& a = def->attr[k];
            info->inputLoadArrayElements[k] = offset;
            info->inputLoadArrayTypes[k] =
                GpuAttribFormat(offset, a.components, a.type == kAttribFloat ? kGpuTypeFloat : kGpuTypeUByte);
            info->inputRegisterMaps[k] = k;
            offset += a.size;
        }
        def->stride = offset;
        info->vertexStride = offset;
    }
    return 1;
}

static uint32_t ReadWord(const uint8_t* bytes, uint32_t offset)
{
    return uint32_t(bytes[offset]) | uint32_t(bytes[offset + 1]) << 8 | uint32_t(bytes[offset + 2]) << 16 |
           uint32_t(bytes[offset + 3]) << 24;
}

// 1 when `words` words from offset lie inside a container of size bytes.
static int InContainer(uint32_t offset, uint32_t words, uint32_t size)
{
    return offset % 4 == 0 && offset <= size && words <= (size - offset) / 4;
}

int DS3_SetupShaderBinary(const void* binary, uint32_t size)
{
    const uint8_t* bytes = static_cast<const uint8_t*>(binary);
    if (!bytes || !InContainer(0, 4, size) || ReadWord(bytes, 0) != kGpuShaderMagic) {
        PrintError("shader container: not a shader container");
        return 0;
    }
    uint32_t count = ReadWord(bytes, 4) & 0xFF;
    if (count > uint32_t(kNumShaders)) {
        PrintError("shader container: %u programs, at most %d", count, kNumShaders);
        return 0;
    }
    if (!InContainer(16, count, size)) {
        PrintError("shader container: program table beyond its end");
        return 0;
    }
    uint32_t source = ReadWord(bytes, 8), sourceLength = ReadWord(bytes, 12);
    if (source > size || sourceLength > size - source) {
        PrintError("shader container: program source beyond its end");
        return 0;
    }
    DS3_ShaderInfo parsed[kNumShaders];
    for (uint32_t p = 0; p < count; p++) {
        DS3_ShaderInfo* info = &parsed[p];
        uint32_t record = ReadWord(bytes, 16 + 4 * p);
        if (!InContainer(record, 3, size)) {
            PrintError("shader container: program %u lies beyond its end", p);
            return 0;
        }
        uint32_t outputs = ReadWord(bytes, record + 8);
        if (outputs > uint32_t(kShaderOutputRegisters) || !InContainer(record + 12, 2 * outputs, size)) {
            PrintError("shader container: program %u has a damaged output table", p);
            return 0;
        }
        uint32_t flags = ReadWord(bytes, record + 4);
        info->startAddress = ReadWord(bytes, record);
        info->outputTexcoord = (flags & kGpuProgramTexcoords) != 0;
        info->outputClock = (flags & kGpuProgramClock) != 0;
        info->outputRegisterMask = 0;
        info->outputRegisterCount = outputs;
        info->declaresModelViewQ = 0;
        for (int r = 0; r < kShaderOutputRegisters; r++) info->outputRegisterAttributes[r] = kGpuOutEmptyRegister;
        int last = -1;
        for (uint32_t i = 0; i < outputs; i++) {
            uint32_t reg = ReadWord(bytes, record + 12 + 8 * i);
            uint32_t codes = ReadWord(bytes, record + 16 + 8 * i);
            if (reg >= uint32_t(kShaderOutputRegisters) || int(reg) <= last) {
                PrintError("shader container: program %u has a damaged output table", p);
                return 0;
            }
            last = int(reg);
            info->outputRegisterMask |= 1u << reg;
            info->outputRegisterAttributes[reg] = codes;
            // A program that outputs the normal quaternion reads the model-view's rotation.
            for (int c = 0; c < 4; c++) {
                uint32_t code = (codes >> (8 * c)) & 0xFF;
                if (code >= kGpuOutQuaternionX && code < kGpuOutQuaternionX + 4) info->declaresModelViewQ = 1;
            }
        }
    }
    for (int p = 0; p < kNumShaders; p++) {
        DS3_ShaderInfo* info = &s_ShaderInfo[p];
        if (uint32_t(p) < count) {
            info->startAddress = parsed[p].startAddress;
            info->outputTexcoord = parsed[p].outputTexcoord;
            info->outputClock = parsed[p].outputClock;
            info->outputRegisterMask = parsed[p].outputRegisterMask;
            info->outputRegisterCount = parsed[p].outputRegisterCount;
            info->declaresModelViewQ = parsed[p].declaresModelViewQ;
            std::memcpy(info->outputRegisterAttributes, parsed[p].outputRegisterAttributes,
                        sizeof info->outputRegisterAttributes);
        } else {
            // Not in the container: the program draws nothing.
            info->startAddress = uint32_t(p);
            info->outputTexcoord = info->outputClock = 0;
            info->outputRegisterMask = info->outputRegisterCount = 0;
            info->declaresModelViewQ = 0;
            for (int r = 0; r < kShaderOutputRegisters; r++) info->outputRegisterAttributes[r] = kGpuOutEmptyRegister;
        }
    }
    return 1;
}

int DS3_SetVertexAttributes(const DS3_ShaderInfo* info)
{
    uint32_t words[2 + kMaxShaderAttributes];
    uint32_t n = info->numInputElements;
    words[0] = info->vertexStride;
    words[1] = n;
    for (uint32_t k = 0; k < n; k++) words[2 + k] = info->inputLoadArrayTypes[k];
    DS3_WriteRegisters(kGpuRegVertexStride, words, 2);
    if (n) DS3_WriteRegisters(kGpuRegAttribFormat, words + 2, n);
    uint32_t map[2] = {0, 0};
    for (uint32_t k = 0; k < n; k++) map[k / 8] |= (info->inputRegisterMaps[k] & 0xF) << (4 * (k % 8));
    return DS3_WriteRegisters(kGpuRegAttribInputMap, map, 2);
}

int DS3_SetShader(int program)
{
    if (program < 0 || program >= kNumShaders) return 0;
    DS3_ShaderInfo* info = &s_ShaderInfo[program];
    curShader = info;
    DS3_SetVertexAttributes(info);
    const uint32_t program3[3] = {info->startAddress, info->outputRegisterCount, info->outputRegisterMask};
    DS3_WriteRegisters(kGpuRegProgramEntry, program3, 3);
    return DS3_WriteRegisters(kGpuRegOutputMap, info->outputRegisterAttributes, kShaderOutputRegisters);
}

int RenderResetShader()
{
    static const HLSL_point constants[] = {
        {4.0f, 4.0f, 4.0f, 4.0f}, {1.0f, 1.0f, 1.0f, -1.0f}, {1.0f, 1.0f, -1.0f, 1.0f}, {0.001f, 1.0f, 1.0f, 1.0f}};
    static const HLSL_point indices[] = {{0.0f, 1.0f, 2.0f, 3.0f}, {0.125f, 0.00390625f, 0.5f, 0.25f}};
    DS3_SetFloatUniformArray(kUniformConst4, 4, constants);
    DS3_SetFloatUniformArray(kUniformConstIndex, 2, indices);
    s_ActiveShader = -1;
    curShader = nullptr;
    curTextureCombiner = nullptr;
    s_RenderState.isInvalidCombiner = 1;
    s_RenderState.isInvalidLightSet = 1;
    return 1;
}

int RenderSetShader(int program, int flat, int specular)
{
    if (program >= kNumShaders) return 0;
    if (program < -1) program = -1;
    if (program != s_ActiveShader || flat != s_isFlatNow) {
        int old = s_ActiveShader;
        if (old == 0) RenderEndScreenPolys();
        s_ActiveShader = program;
        s_isFlatNow = flat;
        if (program >= 0) {
            DS3_SetShader(program);
            s_RenderState.isInvalidColor = 1;
            s_RenderState.isInvalidProjection = 1;
            s_RenderState.isInvalidModelView = 1;
            if (program == 0) RenderStartScreenPolys();
        }
        if (ShaderIsLit(old) != ShaderIsLit(program)) s_RenderState.isInvalidLightSet = 1;
        int bump = ShaderIsBump(program);
        if (bump != ShaderIsBump(old)) {
            lightSet.bumpMode = uint32_t(bump);
            lightSet.isEnableBumpRenorm = uint32_t(bump);
            s_RenderState.isInvalidLightSet = 1;
        }
    }
    if (program < 0) return 1;

    UpdateTextureCombiner(flat, specular);
    // Light directions live in view space, so a new view resends the light set.
    if (s_RenderState.isInvalidProjection || s_RenderState.isInvalidModelView) s_RenderState.isInvalidLightSet = 1;
    if (program > 0) {
        UpdateModelView3D();
        UpdateShaderTransforms3D();
    } else {
        if (s_RenderState.isInvalidProjection) {
            UploadMatrix(kUniformProjection, displayID == kGpuDisplayLower ? s_proj1 : s_proj0);
            s_RenderState.isInvalidProjection = 0;
        }
        if (s_RenderState.isInvalidModelView) {
            UploadMatrix(kUniformModelView, s_ModelView2D);
            s_RenderState.isInvalidModelView = 0;
        }
    }
    RenderUpdateLights();
    return 1;
}

// Reads the shader container (resource 10), checks it and hands it to the GPU, which keeps its
// own copy; a container read here only for that is freed again.
static int LoadPrograms()
{
    int wasLoaded = ResourceLoaded(kShaderResource);
    void* binary = ReadResource(kShaderResource);
    resourceHeader* header = nullptr;
    if (!binary || !GetResourceHeader(kShaderResource, &header)) {
        if (!done) PrintError("shader programs: resource %d cannot be read", kShaderResource);
        return 0;
    }
    // The bytes in memory: the unpacked size of a compressed resource.
    int32_t size = (header->resourceFlags & kResourceCompressed) ? header->resourceUncompressedLength
                                                                  : header->resourceLength;
    int ok = 1;
    if (size <= 0 || !DS3_SetupShaderBinary(binary, uint32_t(size))) {
        PrintError("shader programs: resource %d is not a usable shader container", kShaderResource);
        ok = 0;
    } else if (!GpuShaderBinary(binary, uint32_t(size))) {
        PrintError("shader programs: the GPU refused the programs of resource %d", kShaderResource);
        ok = 0;
    }
    if (!wasLoaded) DisposeResource(kShaderResource);
    return ok;
}

int RenderInitShaders()
{
    InitStereoCamera();
    RenderInitVertexStride();
    if (!LoadPrograms()) return 0;
    RenderInitCombiners();
    RenderInitLightSets();
    s_ActiveShader = -1;
    s_isFlatNow = 0;
    std::memset(&s_RenderState, 0, sizeof s_RenderState);
    s_RenderState.isInvalid = 1;
    s_RenderState.isInvalidProjection = 1;
    s_RenderState.isInvalidModelView = 1;
    s_RenderState.isInvalidColor = 1;
    s_RenderState.isInvalidLightSet = 1;
    s_RenderState.isInvalidLights = 1;
    s_RenderState.isInvalidCombiner = 1;
    return 1;
}

int RenderDisposeShaders() { return 1; }
