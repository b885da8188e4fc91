// The fragment stage in GLSL, written out for one configuration: the per-fragment lighting (the
// global ambient, up to four lights with one- or two-sided diffuse, and two specular terms shaped
// by the lookup tables D0 and D1, with an optional normal map) feeding a chain of six texture
// combiner stages. The configuration's codes become constants in the source; colours, light
// positions and the tables arrive as uniforms.
#include <cstdarg>
#include <cstdio>

#include "host/gpuinternal.h"

static std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

static std::string Format(const char* format, ...)
{
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

static const char* kFragmentHeader = R"(#version 330 core
in vec4 vColor;
in vec4 vQuat;
in vec3 vView;
in vec2 vTex0;
in vec2 vTex1;
in vec2 vTex2;
out vec4 fragColour;
uniform sampler2D uTex0;
uniform sampler2D uTex1;
uniform sampler2D uTex2;
uniform sampler2D uLut;
uniform vec4 uConst[6];
uniform vec3 uGlobalAmbient;
uniform vec3 uLightSpec0[4];
uniform vec3 uLightSpec1[4];
uniform vec3 uLightDiffuse[4];
uniform vec3 uLightAmbient[4];
uniform vec3 uLightPos[4];

vec3 rotate(vec4 q, vec3 v)
{
    return v + 2.0 * cross(q.xyz, cross(q.xyz, v) + q.w * v);
}

// Table t (0 D0, 1 D1): 256 values in row 2t, the steps to the next value in row 2t + 1.
float lut(int t, float x, bool absolute)
{
    float u = clamp(absolute ? abs(x) : (x + 1.0) * 0.5, 0.0, 1.0) * 256.0;
    int i = min(int(u), 255);
    return texelFetch(uLut, ivec2(i, 2 * t), 0).r + texelFetch(uLut, ivec2(i, 2 * t + 1), 0).r * (u - float(i));
}
)";

static const char* SourceExpression(uint32_t code)
{
    switch (code) {
    case kGpuSourceVertexColor: return "vColor";
    case kGpuSourceDiffuseLight: return "diffuseLight";
    case kGpuSourceSpecularLight: return "specularLight";
    case kGpuSourceTexture0: return "tex0";
    case kGpuSourceTexture1: return "tex1";
    case kGpuSourceTexture2: return "tex2";
    case kGpuSourceConstant: return "stageConstant";
    case kGpuSourcePrevious: return "previous";
    default: return "vec4(0.0)";
    }
}

static std::string RgbOperand(uint32_t code, const char* s)
{
    switch (code) {
    case kGpuOperandRgbColor: return Format("%s.rgb", s);
    case kGpuOperandRgbOneMinusColor: return Format("(1.0 - %s.rgb)", s);
    case kGpuOperandRgbAlpha: return Format("%s.aaa", s);
    case kGpuOperandRgbOneMinusAlpha: return Format("(1.0 - %s.aaa)", s);
    case kGpuOperandRgbRed: return Format("%s.rrr", s);
    case kGpuOperandRgbRed + 1: return Format("(1.0 - %s.rrr)", s);
    case kGpuOperandRgbGreen: return Format("%s.ggg", s);
    case kGpuOperandRgbGreen + 1: return Format("(1.0 - %s.ggg)", s);
    case kGpuOperandRgbBlue: return Format("%s.bbb", s);
    case kGpuOperandRgbBlue + 1: return Format("(1.0 - %s.bbb)", s);
    default: return "vec3(0.0)";
    }
}

static std::string AlphaOperand(uint32_t code, const char* s)
{
    static const char* channel[4] = {"a", "r", "g", "b"};
    if (code > 7) return "0.0";
    if (code & 1) return Format("(1.0 - %s.%s)", s, channel[code / 2]);
    return Format("%s.%s", s, channel[code / 2]);
}

// The combine of three operands a, b, c of one type; dot3 is handled by the caller.
static std::string Combine(uint32_t mode, const std::string& a, const std::string& b, const std::string& c,
                           const char* type)
{
    switch (mode) {
    case kGpuCombineReplace: return a;
    case kGpuCombineModulate: return Format("%s * %s", a.c_str(), b.c_str());
    case kGpuCombineAdd: return Format("%s + %s", a.c_str(), b.c_str());
    case kGpuCombineAddSigned: return Format("%s + %s - %s(0.5)", a.c_str(), b.c_str(), type);
    case kGpuCombineInterpolate:
        return Format("%s * %s + %s * (%s(1.0) - %s)", a.c_str(), c.c_str(), b.c_str(), type, c.c_str());
    case kGpuCombineSubtract: return Format("%s - %s", a.c_str(), b.c_str());
    case kGpuCombineMultiplyAdd: return Format("%s * %s + %s", a.c_str(), b.c_str(), c.c_str());
    case kGpuCombineAddMultiply: return Format("min(%s + %s, %s(1.0)) * %s", a.c_str(), b.c_str(), type, c.c_str());
    default: return Format("%s(0.0)", type);
    }
}

static float ScaleFactor(uint32_t code)
{
    return code == 1 ? 2.0f : code == 2 ? 4.0f : 1.0f;
}

static std::string Stage(int index, const uint32_t* w)
{
    uint32_t sources = w[0], operands = w[1], combine = w[2], scale = w[3];
    std::string out = Format("    {\n        vec4 stageConstant = uConst[%d];\n", index);
    std::string rgb[3], alpha[3];
    for (int k = 0; k < 3; ++k) {
        const char* srgb = SourceExpression((sources >> (4 * k)) & 0xF);
        const char* salpha = SourceExpression((sources >> (16 + 4 * k)) & 0xF);
        rgb[k] = RgbOperand((operands >> (4 * k)) & 0xF, srgb);
        alpha[k] = AlphaOperand((operands >> (12 + 4 * k)) & 0xF, salpha);
    }
    uint32_t rgbMode = combine & 0xF, alphaMode = (combine >> 16) & 0xF;
    std::string rgbResult, alphaResult;
    if (rgbMode == kGpuCombineDot3Rgb || rgbMode == kGpuCombineDot3Rgb + 1) {
        rgbResult = Format("vec3(4.0 * dot(%s - 0.5, %s - 0.5))", rgb[0].c_str(), rgb[1].c_str());
    } else {
        rgbResult = Combine(rgbMode, rgb[0], rgb[1], rgb[2], "vec3");
    }
    // The four-component dot product gives its result to alpha as well.
    if (rgbMode == kGpuCombineDot3Rgb + 1) alphaResult = "rgbResult.r";
    else alphaResult = Combine(alphaMode, alpha[0], alpha[1], alpha[2], "float");
    out += "        vec3 rgbResult = " + rgbResult + ";\n";
    out += "        float alphaResult = " + alphaResult + ";\n";
    out += Format("        previous = clamp(vec4(rgbResult * %.1f, alphaResult * %.1f), 0.0, 1.0);\n    }\n",
                  ScaleFactor(scale & 3), ScaleFactor((scale >> 16) & 3));
    return out;
}

static const char* LutInput(uint32_t code)
{
    switch (code) {
    case kGpuLutInputVH: return "dot(V, H)";
    case kGpuLutInputNV: return "dot(N, V)";
    case kGpuLutInputLN: return "ln";
    default: return "dot(N, H)";
    }
}

static float LutScale(uint32_t code)
{
    static const float scales[8] = {1.0f, 2.0f, 4.0f, 8.0f, 1.0f, 1.0f, 0.25f, 0.5f};
    return scales[code & 7];
}

static std::string Lighting(const GpuProgramKey& key)
{
    uint32_t enabled = key.w[kKeyLightEnabled] & 0xF;
    if (!enabled) return "    vec4 diffuseLight = vec4(0.0, 0.0, 0.0, 1.0);\n    vec4 specularLight = diffuseLight;\n";
    uint32_t config = key.w[kKeyLightSetConfig];
    uint32_t inputs = key.w[kKeyLutInputs];
    std::string out;
    out += "    vec4 q = normalize(vQuat);\n";
    out += "    vec3 surface = vec3(0.0, 0.0, 1.0);\n";
    if ((config & 3) == kGpuLightBumpNormalMap) {
        int unit = int((config >> 4) & 3);
        out += Format("    surface = tex%d.rgb * 2.0 - 1.0;\n", unit > 2 ? 1 : unit);
        if (config & kGpuLightBumpRenormalize)
            out += "    surface.z = sqrt(max(0.0, 1.0 - dot(surface.xy, surface.xy)));\n";
    }
    out += "    vec3 N = normalize(rotate(q, surface));\n";
    out += "    vec3 V = normalize(vView);\n";
    out += "    vec3 diffuseSum = uGlobalAmbient;\n    vec3 specularSum = vec3(0.0);\n";
    for (int i = 0; i < 4; ++i) {
        if (!(enabled & (1u << i))) continue;
        uint32_t light = key.w[kKeyLightConfig + i];
        out += "    {\n";
        out += (light & kGpuLightDirectional) ? Format("        vec3 L = normalize(uLightPos[%d]);\n", i)
                                              : Format("        vec3 L = normalize(uLightPos[%d] + vView);\n", i);
        out += "        float ln = dot(L, N);\n";
        if (light & kKeyLightHasAmbient) out += Format("        diffuseSum += uLightAmbient[%d];\n", i);
        if (light & kKeyLightHasDiffuse) {
            out += (light & kGpuLightTwoSided) ? "        float lit = abs(ln);\n" : "        float lit = max(ln, 0.0);\n";
            out += Format("        diffuseSum += uLightDiffuse[%d] * lit;\n", i);
        }
        if (!(light & (kKeyLightHasSpecular0 | kKeyLightHasSpecular1))) {
            out += "    }\n";
            continue;
        }
        out += "        vec3 H = normalize(L + V);\n";
        // The geometric factor: the light's cosine over the squared length of the half-way sum.
        out += "        float geometric = clamp(4.0 * max(ln, 0.0) / max(dot(L + V, L + V), 1e-4), 0.0, 1.0);\n";
        std::string d0 = "1.0", d1 = "1.0";
        if (config & kGpuLightLutD0)
            d0 = Format("%.4f * lut(0, %s, %s)", LutScale(inputs >> 20), LutInput(inputs & 0xF),
                        (inputs & 0x10000) ? "true" : "false");
        if (config & kGpuLightLutD1)
            d1 = Format("%.4f * lut(1, %s, %s)", LutScale(inputs >> 24), LutInput((inputs >> 4) & 0xF),
                        (inputs & 0x20000) ? "true" : "false");
        std::string g0 = (light & kGpuLightGeomFactor0) ? " * geometric" : "";
        std::string g1 = (light & kGpuLightGeomFactor1) ? " * geometric" : "";
        std::string clampTerm = (config & kGpuLightClampHighlights) ? " * (ln > 0.0 ? 1.0 : 0.0)" : "";
        std::string term0 = Format("uLightSpec0[%d] * %s%s", i, d0.c_str(), g0.c_str());
        std::string term1 = Format("uLightSpec1[%d] * %s%s", i, d1.c_str(), g1.c_str());
        std::string terms = !(light & kKeyLightHasSpecular1) ? term0
                            : !(light & kKeyLightHasSpecular0) ? term1
                                                               : term0 + " + " + term1;
        out += Format("        specularSum += (%s)%s;\n", terms.c_str(), clampTerm.c_str());
        out += "    }\n";
    }
    out += "    vec4 diffuseLight = vec4(clamp(diffuseSum, 0.0, 1.0), 1.0);\n";
    out += "    vec4 specularLight = vec4(clamp(specularSum, 0.0, 1.0), 1.0);\n";
    return out;
}

std::string GpuFragmentSource(const GpuProgramKey& key)
{
    std::string out = kFragmentHeader;
    out += "\nvoid main()\n{\n";
    uint32_t semantics = GpuOutputSemantics(key);
    uint32_t units = key.w[kKeyTexEnable];
    // Units 1 and 2 read their own coordinates when the program outputs them, else unit 0's.
    const char* coords[3] = {"vTex0", (semantics & (1u << kGpuOutTexcoord1U)) ? "vTex1" : "vTex0",
                             (semantics & (1u << kGpuOutTexcoord2U)) ? "vTex2" : "vTex0"};
    for (int u = 0; u < 3; ++u) {
        if (units & (1u << u)) out += Format("    vec4 tex%d = texture(uTex%d, %s);\n", u, u, coords[u]);
        else out += Format("    vec4 tex%d = vec4(0.0);\n", u);
    }
    out += Lighting(key);
    out += "    vec4 previous = vec4(0.0);\n";
    for (int s = 0; s < kGpuCombinerStages; ++s) out += Stage(s, &key.w[kKeyCombiners + 4 * s]);
    out += "    fragColour = previous;\n}\n";
    return out;
}
