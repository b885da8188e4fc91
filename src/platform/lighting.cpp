// Fragment lighting: scene lights into hardware light sources, the two light sets and the
// specular lookup tables.
#include "platform/lighting.h"

#include <cmath>
#include <cstring>

#include "host/gpu.h"
#include "lib/matrix.h"
#include "platform/camera.h"
#include "platform/gpucommands.h"
#include "platform/shaders.h"

DS3_lights s_PreLights;
DS3_lights s_PostLights;
DS3_lightset lightSet;
DS3_lightset unlitSet;
float lut0[kLightLutSamples];
float lut1[kLightLutSamples];

static int lutsBuilt = 0;
// The lookup tables go to the GPU with the first light set sent in the renderer's life.
static int lutsSent = 0;

int ConvertColor(const float* rgba, DS3_color* out)
{
    uint8_t c[4];
    for (int i = 0; i < 4; i++) {
        float v = rgba[i] * 255.0f;
        if (!(v > 0.0f))
            c[i] = 0;  // negative or not a number
        else if (v > 255.0f)
            c[i] = 255;
        else
            c[i] = uint8_t(v);
    }
    out->red = c[0];
    out->green = c[1];
    out->blue = c[2];
    out->alpha = c[3];
    return 1;
}

int RenderInitLights()
{
    std::memset(&s_PreLights, 0, sizeof s_PreLights);
    std::memset(&s_PostLights, 0, sizeof s_PostLights);
    for (DS3_lights* l : {&s_PreLights, &s_PostLights}) {
        l->ambient_red = l->ambient_green = l->ambient_blue = 0.1f;
        l->light1_red = l->light1_green = l->light1_blue = 0.1f;
    }
    return 1;
}

float SpecularShare(float shininess)
{
    if (!(shininess > 2.0f)) shininess = 2.0f;  // also a shininess that is not a number
    if (shininess > 90.0f) shininess = 90.0f;
    return (shininess - 2.0f) * (1.0f / 88.0f);
}

float* BuildBlinnPhongReflectionTables(int which)
{
    if (!lutsBuilt) {
        for (int i = 0; i < kLightLutSamples; i++) {
            float x = float(i) * 0.0038769082f;
            float a = x * x;
            float b = x > 0.0f ? std::exp(90.0f * std::log(x)) : 0.0f;
            lut0[i] = a < 0.0f ? 0.0f : (a > 1.0f ? 1.0f : a);
            lut1[i] = b < 0.0f ? 0.0f : (b > 1.0f ? 1.0f : b);
        }
        lutsBuilt = 1;
    }
    return which == 0 ? lut0 : lut1;
}

void DS3_EncodeLookupTable(const float* table, uint32_t* words)
{
    for (int i = 0; i < kLightLutSamples - 1; i++) {
        float v = std::isfinite(table[i]) ? table[i] : 0.0f;
        float next = std::isfinite(table[i + 1]) ? table[i + 1] : 0.0f;
        if (!(v > 0.0f)) v = 0.0f;
        if (!(next > 0.0f)) next = 0.0f;
        words[i] = GpuLutEntry(v, next - v);
    }
}

int DS3_SetLookupTableAbs(const float* table, int sampler)
{
    uint32_t words[kLightLutSamples - 1];
    DS3_EncodeLookupTable(table, words);
    return DS3_WriteRegisters(sampler == 0 ? kGpuRegLutD0 : kGpuRegLutD1, words, kLightLutSamples - 1);
}

int DS3_InitializeLightset(DS3_lightset* set)
{
    std::memset(set, 0, sizeof *set);
    for (int i = 0; i < 4; i++) {
        DS3_lightSource* l = &set->lightSource[i];
        l->id = i;
        l->isInfinity = i < 3;
        l->isEnableTwoSideDiffuse = i == 3;
    }
    set->layerConfig = 2;
    set->fresnelSelector = 0;
    set->shadowSelector = 0;
    set->bumpSelector = 1;  // the normal map is texture 1
    set->bumpMode = 0;
    set->isEnableBumpRenorm = 0;
    set->isEnableClampHighLights = 0;
    set->isEnableLutD0 = 1;
    set->isEnableLutD1 = 1;
    set->isEnableLutRefl = 0;
    set->lutConfigD0 = {0, 1, 0};
    set->lutConfigD1 = {0, 1, 0};
    return 1;
}

static uint32_t PackColor(DS3_color c)
{
    return GpuRgba8(c.red, c.green, c.blue, 0);
}

int DS3_SetupLightsource(DS3_lightSource* light)
{
    uint32_t* w = light->hardwareRegisters;
    std::memset(w, 0, sizeof light->hardwareRegisters);
    w[kGpuLightSpecular0] = PackColor(light->specular0Color);
    w[kGpuLightSpecular1] = PackColor(light->specular1Color);
    w[kGpuLightDiffuse] = PackColor(light->diffuseColor);
    w[kGpuLightAmbient] = PackColor(light->ambientColor);
    w[kGpuLightPosition + 0] = GpuFloatBits(light->position.x);
    w[kGpuLightPosition + 1] = GpuFloatBits(light->position.y);
    w[kGpuLightPosition + 2] = GpuFloatBits(light->position.z);
    w[kGpuLightConfig] = (light->isInfinity ? kGpuLightDirectional : 0u) |
                         (light->isEnableTwoSideDiffuse ? kGpuLightTwoSided : 0u) |
                         (light->isEnableGeomFactor0 ? kGpuLightGeomFactor0 : 0u) |
                         (light->isEnableGeomFactor1 ? kGpuLightGeomFactor1 : 0u);
    return 1;
}

int DS3_SetLightsource(const DS3_lightSource* light)
{
    return DS3_WriteRegisters(kGpuRegLight(light->id), light->hardwareRegisters, kGpuLightWords);
}

int DS3_SetLightsourcePartial(const DS3_lightSource* light)
{
    const uint32_t position[3] = {GpuFloatBits(light->position.x), GpuFloatBits(light->position.y),
                                  GpuFloatBits(light->position.z)};
    return DS3_WriteRegister(kGpuRegLight(light->id) + kGpuLightDiffuse, PackColor(light->diffuseColor)) &&
           DS3_WriteRegisters(kGpuRegLight(light->id) + kGpuLightPosition, position, 3);
}

int DS3_SetupLightset(DS3_lightset* set, int sources)
{
    uint32_t* w = set->hardwareRegisters;
    std::memset(w, 0, sizeof set->hardwareRegisters);
    w[kGpuLightSetAmbient] = PackColor(set->globalAmbientColor);
    for (int i = 0; i < 4; i++)
        if (set->lightSource[i].isEnable) w[kGpuLightSetEnabled] |= 1u << i;
    w[kGpuLightSetConfig] = (set->bumpMode & 3) | (set->bumpSelector & 3) << 4 |
                            (set->isEnableBumpRenorm ? kGpuLightBumpRenormalize : 0u) |
                            (set->isEnableClampHighLights ? kGpuLightClampHighlights : 0u) |
                            (set->isEnableLutD0 ? kGpuLightLutD0 : 0u) | (set->isEnableLutD1 ? kGpuLightLutD1 : 0u);
    w[kGpuLightSetLutInputs] = (set->lutConfigD0.input & 0xF) | (set->lutConfigD1.input & 0xF) << 4 |
                               (set->lutConfigD0.isAbs ? 1u << 16 : 0u) | (set->lutConfigD1.isAbs ? 1u << 17 : 0u) |
                               (set->lutConfigD0.scale & 7) << 20 | (set->lutConfigD1.scale & 7) << 24;
    if (sources)
        for (int i = 0; i < 4; i++)
            if (set->lightSource[i].isEnable) DS3_SetupLightsource(&set->lightSource[i]);
    return 1;
}

int DS3_SetLightset(DS3_lightset* set, int sources)
{
    if (!lutsSent) {
        DS3_SetLookupTableAbs(BuildBlinnPhongReflectionTables(0), 0);
        DS3_SetLookupTableAbs(BuildBlinnPhongReflectionTables(1), 1);
        lutsSent = 1;
    }
    int ok = DS3_WriteRegisters(kGpuRegLightSet, set->hardwareRegisters, kGpuLightSetWords);
    if (sources)
        for (int i = 0; i < 4; i++)
            if (set->lightSource[i].isEnable) ok &= DS3_SetLightsource(&set->lightSource[i]);
    return ok;
}

int RenderInitLightSets()
{
    BuildBlinnPhongReflectionTables(0);
    lutsSent = 0;
    DS3_InitializeLightset(&lightSet);
    for (int i = 0; i < 4; i++) lightSet.lightSource[i].isEnable = 1;
    DS3_InitializeLightset(&unlitSet);
    DS3_SetupLightset(&lightSet, 1);
    DS3_SetupLightset(&unlitSet, 0);
    return 1;
}

int RenderSetLights(DS3_lights* lights)
{
    if (!lights) return 1;
    s_PreLights = *lights;
    s_RenderState.isInvalidLights = 1;
    return 1;
}

// A world direction into view space: turned by the view's rotation only (a direction has no
// place, so the view's translation must not move it), then negated to point towards the light.
static void DirectionTowardsLight(float* v)
{
    composeNormal(v, shaderViewXform);
    v[0] = -v[0];
    v[1] = -v[1];
    v[2] = -v[2];
}

int RenderUpdateLights()
{
    if (s_RenderState.isInvalidLights) {
        s_PostLights = s_PreLights;
        DS3_lights* l = &s_PostLights;
        DirectionTowardsLight(&l->light1_x);
        DirectionTowardsLight(&l->light2_x);
        DirectionTowardsLight(&l->light3_x);
        // The specular light has a place: the whole view transform applies.
        composePosition(&l->specular_x, shaderViewXform);

        const float* colours[3] = {&l->light1_red, &l->light2_red, &l->light3_red};
        const float* directions[3] = {&l->light1_x, &l->light2_x, &l->light3_x};
        for (int i = 0; i < 3; i++) {
            DS3_lightSource* source = &lightSet.lightSource[i];
            ConvertColor(colours[i], &source->diffuseColor);
            source->position = {directions[i][0], directions[i][1], directions[i][2], 0.0f};
            DS3_SetupLightsource(source);
            DS3_SetLightsourcePartial(source);
        }

        DS3_lightSource* specular = &lightSet.lightSource[3];
        float t = SpecularShare(l->specular_shininess);
        const float first[4] = {l->specular_red * t, l->specular_green * t, l->specular_blue * t, 1.0f};
        const float second[4] = {l->specular_red * (1.0f - t), l->specular_green * (1.0f - t),
                                 l->specular_blue * (1.0f - t), 1.0f};
        ConvertColor(first, &specular->specular0Color);
        ConvertColor(second, &specular->specular1Color);
        specular->position = {l->specular_x, l->specular_y, l->specular_z, 1.0f};
        DS3_SetupLightsource(specular);
        DS3_SetLightsource(specular);
        s_RenderState.isInvalidLights = 0;
    }
    if (s_RenderState.isInvalidLightSet) {
        if (ShaderIsLit(s_ActiveShader)) {
            ConvertColor(&s_PostLights.ambient_red, &lightSet.globalAmbientColor);
            DS3_SetupLightset(&lightSet, 1);
            DS3_SetLightset(&lightSet, 1);
        } else {
            DS3_SetLightset(&unlitSet, 0);
        }
        s_RenderState.isInvalidLightSet = 0;
    }
    return 1;
}
