// The twelve vertex programs and their vertex formats, the choice of program per draw with the
// lazy upload of transforms, lights and combiners, the 2D and 3D matrices, and the uniform
// registers the programs read.
#pragma once

#include <cstdint>

#include "lib/matrix.h"

constexpr int kNumShaders = 12;
constexpr int kMaxShaderAttributes = 12;
constexpr int kShaderOutputRegisters = 7;

// GL component types of the attributes.
enum { kAttribFloat = 0x1406, kAttribUnsignedByte = 0x1401 };

struct vShaderAttr {
    const char* name;
    uint32_t components;
    uint32_t type;
    uint32_t size;  // bytes
};

struct vShaderDef {
    uint32_t attrs;
    vShaderAttr attr[kMaxShaderAttributes];
    uint32_t stride;  // computed at start from the attribute sizes
};

// What the GPU needs to run one program and fetch its vertices.
struct DS3_ShaderInfo {
    uint32_t numInputElements;
    uint32_t inputLoadArrayElements[kMaxShaderAttributes];  // per attribute: its place in the vertex
    uint32_t inputLoadArrayTypes[kMaxShaderAttributes];     // per attribute: packed type and components
    uint32_t inputRegisterMaps[kMaxShaderAttributes];       // per attribute: input register
    uint32_t vertexStride;
    uint32_t startAddress;  // entry point in the shared binary
    uint32_t outputRegisterMask;
    uint32_t outputRegisterCount;
    uint32_t outputRegisterAttributes[kShaderOutputRegisters];  // 4 semantic bytes each, 0x1F empty
    uint32_t outputTexcoord;
    uint32_t outputClock;
    uint32_t declaresModelViewQ;  // the program reads the model-view rotation as a quaternion
};

// Set flags mean the GPU's copy is stale and the next RenderSetShader uploads it.
struct sRenderState {
    int isInvalid;
    int isInvalidProjection;
    int isInvalidModelView;
    int isInvalidColor;
    int isInvalidSampler;
    int isInvalidLightSet;
    int isInvalidLights;
    int isInvalidCombiner;
};

// Uniform registers.
enum {
    kUniformProjection = 0,
    kUniformModelView = 4,
    kUniformModelViewQ = 8,
    kUniformBones = 9,
    kUniformConst4 = 74,
    kUniformConstSign0 = 75,
    kUniformConstSign1 = 76,
    kUniformConstSmall = 77,
    kUniformTexOffset = 79,
    kUniformConstIndex = 93,
    kUniformConstFractions = 94,
};
constexpr int kMaxShaderBones = 16;  // bone matrices the uniform registers hold

extern vShaderDef shaderDefs[kNumShaders];
extern DS3_ShaderInfo s_ShaderInfo[kNumShaders];
extern sRenderState s_RenderState;
extern int s_ActiveShader;  // -1: none
extern int s_isFlatNow;
extern int s_cameraMode;
// The view is shown upside down (0 unless set): 2D axes reversed, eyes exchanged.
extern int gInverted;

// Matrices. 4 x 4 ones are row-major with column vectors (clip = M x p); 3 x 4 views and model
// hold the first three rows of such a matrix.
extern float s_proj[4][4];
extern float s_projL[4][4];
extern float s_projR[4][4];
extern float s_proj0[4][4];
extern float s_proj1[4][4];
extern float s_View3D[3][4];
extern float s_viewL[3][4];
extern float s_viewR[3][4];
extern float s_Model3D[3][4];
extern float s_ModelView3D[4][4];
extern float s_ModelView2D[4][4];

// Camera constants.
extern float s_Near;
extern float s_Far;
extern float s_DepthLevel;
extern float s_Factor;

// Program kinds.
int ShaderIsLit(int program);   // 1, 3 to 10
int ShaderIsBump(int program);  // 4, 5, 9

int RenderInitShaders();
int RenderDisposeShaders();
int RenderSetShader(int program, int flat, int specular);
int RenderResetShader();
int SetXform(float (*m)[4]);
int RenderSetCameraProj3D(float (*m)[4]);
int RenderSetXForms4Bones(float* matrices, int count);
int SetTextureCoordinateOffset(float u, float v);
int ClearTextureCoordinateOffset();
// Moves the 2D origin: screen pixel (0, 0) shows 2D point (x, y) on both screens from the next
// quad on (the quads queued before it keep the old offset). Always 1.
int RenderSetOffset2D(int x, int y);
// The 2D offset in force.
void RenderGetOffset2D(int* x, int* y);
int RenderGetCameraParallax(float depth);
int RenderSetCameraParallaxScale(float scale);

int RenderInitVertexStride();
// The stereo camera, the base matrices and the parallax strength as they start.
int InitStereoCamera();
int UpdateModelView3D();
int UpdateShaderTransforms3D();
// Checks the shader container and fills s_ShaderInfo from it; 0 for a damaged container.
int DS3_SetupShaderBinary(const void* binary, uint32_t size);
int DS3_SetShader(int program);
int DS3_SetVertexAttributes(const DS3_ShaderInfo* info);
