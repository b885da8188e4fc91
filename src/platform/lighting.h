// Fragment lighting: the scene's lights as the game hands them in (ambient, three directional
// lights, one specular light), their conversion into the GPU's four light sources, the two light
// sets of lit and unlit programs, and the lookup tables that shape the specular response.
#pragma once

#include <cstdint>

#include "lib/matrix.h"

struct DS3_color {
    uint8_t red, green, blue, alpha;
};

// The scene lighting handed in by the game. Colours 0..1; directions in world space.
struct DS3_lights {
    float ambient_red, ambient_green, ambient_blue, ambient_alpha;
    float light1_red, light1_green, light1_blue, light1_alpha;
    float light2_red, light2_green, light2_blue, light2_alpha;
    float light3_red, light3_green, light3_blue, light3_alpha;
    float specular_red, specular_green, specular_blue, specular_shininess;
    float light1_x, light1_y, light1_z, light1_w;
    float light2_x, light2_y, light2_z, light2_w;
    float light3_x, light3_y, light3_z, light3_w;
    float specular_x, specular_y, specular_z, specular_w;
};
static_assert(sizeof(DS3_lights) == 144, "a light record is 144 bytes");

constexpr int kLightSourceWords = 12;
constexpr int kLightSetWords = 10;
constexpr int kLightLutSamples = 257;

// One hardware light.
struct DS3_lightSource {
    int id;  // 0..3
    DS3_color specular0Color, specular1Color, diffuseColor, ambientColor;
    HLSL_point position;  // direction towards the light for directional lights, else a position
    HLSL_point spotlightDirection;
    int isEnable, isEnableSpot, isEnableDistAttn, isShadowed, isEnableTwoSideDiffuse;
    int isEnableGeomFactor0, isEnableGeomFactor1, isInfinity;
    float distAttnBias, distAttnScale;
    uint32_t hardwareRegisters[kLightSourceWords];
};

struct DS3_lutConfig {
    uint32_t input;
    uint32_t isAbs;
    uint32_t scale;  // 0: x1
};

struct DS3_lightset {
    DS3_lightSource lightSource[4];
    DS3_color globalAmbientColor;
    uint32_t layerConfig, fresnelSelector, shadowSelector, bumpMode, bumpSelector;
    uint32_t isEnableShadowPrimary, isEnableShadowSecondary, isEnableShadowAlpha, isInvertShadow;
    uint32_t isEnableBumpRenorm, isEnableClampHighLights;
    uint32_t isEnableLutD0, isEnableLutD1, isEnableLutRefl;
    DS3_lutConfig lutConfigD0, lutConfigD1, lutConfigSP, lutConfigFR, lutConfigRB, lutConfigRG, lutConfigRR;
    uint32_t hardwareRegisters[kLightSetWords];
};

extern DS3_lights s_PreLights;   // as last handed in
extern DS3_lights s_PostLights;  // the same with directions in view space
extern DS3_lightset lightSet;    // lit programs
extern DS3_lightset unlitSet;    // unlit programs
extern float lut0[kLightLutSamples];
extern float lut1[kLightLutSamples];

int RenderSetLights(DS3_lights* lights);
int RenderInitLights();
// Prepares both light sets and the lookup tables (at start).
int RenderInitLightSets();
// Sends stale lights and light set; called by RenderSetShader.
int RenderUpdateLights();
int ConvertColor(const float* rgba, DS3_color* out);

int DS3_InitializeLightset(DS3_lightset* set);
int DS3_SetupLightset(DS3_lightset* set, int sources);
int DS3_SetLightset(DS3_lightset* set, int sources);
int DS3_SetupLightsource(DS3_lightSource* light);
int DS3_SetLightsource(const DS3_lightSource* light);
int DS3_SetLightsourcePartial(const DS3_lightSource* light);
// The specular lookup tables: lut0 (x squared) for 0, lut1 (x to the 90th) otherwise.
float* BuildBlinnPhongReflectionTables(int which);
// Encodes 257 samples into the 256 entries of a lookup table (value and step to the next sample).
void DS3_EncodeLookupTable(const float* table, uint32_t* words);
// Sends a table to D0 (sampler 0) or D1 (sampler 1).
int DS3_SetLookupTableAbs(const float* table, int sampler);
// The split of the specular colour between the two specular terms: the share of the first.
float SpecularShare(float shininess);
