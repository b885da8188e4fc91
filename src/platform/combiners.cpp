// Texture-combiner sets: building the seven prepared sets, packing their words, and choosing and
// sending one per draw.
#include "platform/combiners.h"

#include <cstring>

#include "host/gpu.h"
#include "platform/gpucommands.h"
#include "platform/quads.h"
#include "platform/shaders.h"

DS3_textureCombinerSet flatCombiners;
DS3_textureCombinerSet unlitCombiners;
DS3_textureCombinerSet litCombiners;
DS3_textureCombinerSet litSpecCombiners;
DS3_textureCombinerSet litSpecCombinersAdditive;
DS3_textureCombinerSet vertexLitCombiners;
DS3_textureCombinerSet vertexLitSpecCombiners;
DS3_textureCombinerSet* curTextureCombiner = nullptr;

static const uint32_t kOpaqueWhite = 0xFFFFFFFFu;

// One half (RGB or alpha) of a stage: a function of up to three sources with their operands.
struct Half {
    uint32_t combine;
    uint32_t src[3];
    uint32_t op[3];
};

static Half Pass()
{
    return {kGpuCombineReplace, {kGpuSourcePrevious, 0, 0}, {kGpuOperandRgbColor, 0, 0}};
}

static Half Replace(uint32_t a)
{
    return {kGpuCombineReplace, {a, 0, 0}, {kGpuOperandRgbColor, 0, 0}};
}

static Half Modulate(uint32_t a, uint32_t b)
{
    return {kGpuCombineModulate, {a, b, 0}, {kGpuOperandRgbColor, kGpuOperandRgbColor, 0}};
}

static Half MultiplyAdd(uint32_t a, uint32_t opA, uint32_t b, uint32_t c)
{
    return {kGpuCombineMultiplyAdd, {a, b, c}, {opA, kGpuOperandRgbColor, kGpuOperandRgbColor}};
}

static DS3_textureCombiner MakeStage(const Half& rgb, const Half& alpha, uint32_t constant = 0)
{
    DS3_textureCombiner s;
    std::memset(&s, 0, sizeof s);
    s.srcRgb0 = rgb.src[0];
    s.srcRgb1 = rgb.src[1];
    s.srcRgb2 = rgb.src[2];
    s.srcAlpha0 = alpha.src[0];
    s.srcAlpha1 = alpha.src[1];
    s.srcAlpha2 = alpha.src[2];
    s.operandRgb0 = rgb.op[0];
    s.operandRgb1 = rgb.op[1];
    s.operandRgb2 = rgb.op[2];
    // For the alpha half, operand 0 takes the alpha of the source.
    s.operandAlpha0 = alpha.op[0];
    s.operandAlpha1 = alpha.op[1];
    s.operandAlpha2 = alpha.op[2];
    s.combineRgb = rgb.combine;
    s.combineAlpha = alpha.combine;
    s.scaleRgb = 0;
    s.scaleAlpha = 0;
    s.constRgba = constant;
    return s;
}

static void MakeSet(DS3_textureCombinerSet* set, const DS3_textureCombiner& s0, const DS3_textureCombiner& s1,
                    const DS3_textureCombiner& s2, const DS3_textureCombiner& s3)
{
    set->combiner0 = s0;
    set->combiner1 = s1;
    set->combiner2 = s2;
    set->combiner3 = s3;
    set->combiner4 = MakeStage(Pass(), Pass());
    set->combiner5 = MakeStage(Pass(), Pass());
    DS3_SetupTextureCombinerSet(set);
}

int RenderInitCombiners()
{
    const uint32_t tex0 = kGpuSourceTexture0, tex2 = kGpuSourceTexture2;
    const uint32_t constant = kGpuSourceConstant, prev = kGpuSourcePrevious;
    const uint32_t diffuse = kGpuSourceDiffuseLight, specular = kGpuSourceSpecularLight;
    const uint32_t vertex = kGpuSourceVertexColor;
    const DS3_textureCombiner pass = MakeStage(Pass(), Pass());
    // Texture 0 times the constant colour, in colour and alpha.
    const DS3_textureCombiner texTimesConst = MakeStage(Modulate(tex0, constant), Modulate(tex0, constant));
    // Specular map times specular light plus diffuse light; alpha from texture 0 and the constant.
    const DS3_textureCombiner specularBase =
        MakeStage(MultiplyAdd(tex2, kGpuOperandRgbColor, specular, diffuse), Modulate(tex0, constant));

    MakeSet(&flatCombiners, MakeStage(Replace(constant), Replace(constant), kOpaqueWhite), pass, pass, pass);
    MakeSet(&unlitCombiners, MakeStage(Modulate(tex0, constant), Modulate(tex0, constant), kOpaqueWhite), pass,
            pass, pass);
    MakeSet(&litCombiners, texTimesConst, MakeStage(Modulate(prev, diffuse), Pass()), pass, pass);
    MakeSet(&litSpecCombiners, specularBase, pass, MakeStage(Modulate(prev, tex0), Pass()), pass);
    MakeSet(&litSpecCombinersAdditive, MakeStage(Modulate(diffuse, tex0), Modulate(constant, constant)), pass,
            pass, MakeStage(MultiplyAdd(tex0, kGpuOperandRgbAlpha, specular, prev), Pass()));
    MakeSet(&vertexLitCombiners, texTimesConst, MakeStage(Modulate(prev, vertex), Modulate(prev, vertex)),
            MakeStage(Modulate(prev, diffuse), Pass()), pass);
    MakeSet(&vertexLitSpecCombiners, specularBase, pass, MakeStage(Modulate(prev, tex0), Pass()),
            MakeStage(Modulate(prev, vertex), Modulate(prev, vertex)));
    curTextureCombiner = nullptr;
    return 1;
}

int DS3_SetupTextureCombiner(DS3_textureCombiner* s)
{
    s->hardwareRegister0 = GpuCombinerSources(s->srcRgb0 & 0xF, s->srcRgb1 & 0xF, s->srcRgb2 & 0xF,
                                              s->srcAlpha0 & 0xF, s->srcAlpha1 & 0xF, s->srcAlpha2 & 0xF);
    s->hardwareRegister1 = GpuCombinerOperands(s->operandRgb0 & 0xF, s->operandRgb1 & 0xF, s->operandRgb2 & 0xF,
                                               s->operandAlpha0 & 0xF, s->operandAlpha1 & 0xF, s->operandAlpha2 & 0xF);
    s->hardwareRegister2 = (s->combineRgb & 0xF) | (s->combineAlpha & 0xF) << 16;
    s->hardwareRegister3 = (s->scaleRgb & 0x3) | (s->scaleAlpha & 0x3) << 16;
    return 1;
}

int DS3_SetupTextureCombinerSet(DS3_textureCombinerSet* set)
{
    DS3_SetupTextureCombiner(&set->combiner0);
    DS3_SetupTextureCombiner(&set->combiner1);
    DS3_SetupTextureCombiner(&set->combiner2);
    DS3_SetupTextureCombiner(&set->combiner3);
    DS3_SetupTextureCombiner(&set->combiner4);
    DS3_SetupTextureCombiner(&set->combiner5);
    return 1;
}

uint32_t DS3_PackCombinerColor(const uint8_t* rgba)
{
    return GpuRgba8(rgba[0], rgba[1], rgba[2], rgba[3]);
}

DS3_textureCombinerSet* ChooseTextureCombinerSet(int program, int flat, int specular)
{
    switch (program) {
    case 0:
        return flat ? &flatCombiners : &unlitCombiners;
    case 3:
    case 5:
    case 10:
        return specular ? &vertexLitSpecCombiners : &vertexLitCombiners;
    case 1:
    case 4:
    case 6:
    case 7:
    case 8:
    case 9:
        return specular ? &litSpecCombiners : &litCombiners;
    default:
        return &unlitCombiners;
    }
}

int DS3_SetTextureCombiner(int index, const DS3_textureCombiner* stage)
{
    if (index < 0 || index >= kGpuCombinerStages) return 0;
    uint32_t words[5];
    words[kGpuCombinerSources] = stage->hardwareRegister0;
    words[kGpuCombinerOperands] = stage->hardwareRegister1;
    words[kGpuCombinerCombine] = stage->hardwareRegister2;
    words[kGpuCombinerScale] = stage->hardwareRegister3;
    words[kGpuCombinerConstant] = stage->constRgba;
    return DS3_WriteRegisters(kGpuRegCombiner(index), words, 5);
}

int DS3_SetTextureCombinerSet(const DS3_textureCombinerSet* set)
{
    return DS3_SetTextureCombiner(0, &set->combiner0) && DS3_SetTextureCombiner(1, &set->combiner1) &&
           DS3_SetTextureCombiner(2, &set->combiner2) && DS3_SetTextureCombiner(3, &set->combiner3);
}

int DS3_SetTextureCombinerColor(int index, const uint8_t* rgba)
{
    if (index < 0 || index >= kGpuCombinerStages) return 0;
    return DS3_WriteRegister(kGpuRegCombiner(index) + kGpuCombinerConstant, DS3_PackCombinerColor(rgba));
}

int UpdateTextureCombiner(int flat, int specular)
{
    DS3_textureCombinerSet* set = ChooseTextureCombinerSet(s_ActiveShader, flat, specular);
    // Stage 0's constant: the pen colour for flat 2D drawing, else the colour modulation.
    const uint8_t* colour = flat ? penColor : colorModulation;
    if (set != curTextureCombiner || s_RenderState.isInvalidCombiner) {
        set->combiner0.constRgba = DS3_PackCombinerColor(colour);
        DS3_SetTextureCombinerSet(set);
        curTextureCombiner = set;
        s_RenderState.isInvalidColor = 0;
        s_RenderState.isInvalidCombiner = 0;
    } else if (s_RenderState.isInvalidColor) {
        set->combiner0.constRgba = DS3_PackCombinerColor(colour);
        DS3_SetTextureCombinerColor(0, colour);
        s_RenderState.isInvalidColor = 0;
    }
    return 1;
}
