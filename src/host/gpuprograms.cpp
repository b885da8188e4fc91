// The vertex programs: the shader binary's container is checked and its GLSL source kept; a
// program is compiled for the entry point and output map that the registers name, with an ending
// that routes its output registers to the fragment stage by their semantic codes, and linked
// with the fragment stage of the same configuration.
#include <map>

#include "host/gpuinternal.h"
#include "host/errorlog.h"

static std::string vertexSource;
static std::map<std::string, GpuProgram> programs;
// The program of the last draw, with its key and the register generation it was found for: most
// draws use the one before's, and looking the key up costs more than the rest of a draw's checks.
static const GpuProgram* lastProgram = nullptr;
static GpuProgramKey lastKey;
static uint32_t lastGeneration = 0;

const std::string& GpuVertexSource() { return vertexSource; }

void GpuProgramsReset()
{
    lastProgram = nullptr;
    vertexSource.clear();
    programs.clear();
}

void GpuProgramsShutdown()
{
    lastProgram = nullptr;
    for (auto& e : programs) glDeleteProgram(e.second.gl);
    programs.clear();
    vertexSource.clear();
}

static GLuint CompileShader(GLenum type, const std::string& text, std::string* log)
{
    GLuint shader = glCreateShader(type);
    const char* p = text.c_str();
    glShaderSource(shader, 1, &p, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char buffer[2048] = {0};
        glGetShaderInfoLog(shader, sizeof buffer, nullptr, buffer);
        *log = buffer;
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

GLuint GpuCompileProgram(const std::string& vertex, const std::string& fragment, std::string* log)
{
    GLuint vs = CompileShader(GL_VERTEX_SHADER, vertex, log);
    if (!vs) return 0;
    GLuint fs = CompileShader(GL_FRAGMENT_SHADER, fragment, log);
    if (!fs) {
        glDeleteShader(vs);
        return 0;
    }
    GLuint program = glCreateProgram();
    glAttachShader(program, vs);
    glAttachShader(program, fs);
    glLinkProgram(program);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
        char buffer[2048] = {0};
        glGetProgramInfoLog(program, sizeof buffer, nullptr, buffer);
        *log = buffer;
        glDeleteProgram(program);
        return 0;
    }
    return program;
}

// ---------------------------------------------------------------------------------------------
// Keys and output maps

GpuProgramKey GpuProgramKeyFromRegisters()
{
    const uint32_t* regs = GpuRegisterFile();
    auto Reg = [regs](uint32_t r) { return regs[r]; };
    GpuProgramKey key{};
    key.w[kKeyEntry] = Reg(kGpuRegProgramEntry);
    key.w[kKeyOutputMask] = Reg(kGpuRegOutputMask) & 0x7F;
    key.w[kKeyOutputCount] = Reg(kGpuRegOutputCount);
    for (uint32_t r = 0; r < 7; ++r) key.w[kKeyOutputMap + r] = Reg(kGpuRegOutputMap + r);
    for (int s = 0; s < kGpuCombinerStages; ++s) {
        for (uint32_t k = 0; k < 4; ++k) key.w[kKeyCombiners + 4 * s + k] = Reg(kGpuRegCombiner(s) + k);
    }
    key.w[kKeyTexEnable] = Reg(kGpuRegTexEnable) & 7;
    key.w[kKeyLightEnabled] = Reg(kGpuRegLightSet + kGpuLightSetEnabled) & 0xF;
    // Which of a light's colours are black also shapes the program: terms that add nothing are
    // left out of it.
    for (int i = 0; i < 4; ++i) {
        uint32_t base = kGpuRegLight(i);
        uint32_t config = Reg(base + kGpuLightConfig) & 0xF;
        for (uint32_t c = 0; c < 4; ++c)
            if (Reg(base + c) & 0xFFFFFF) config |= kKeyLightHasSpecular0 << c;
        key.w[kKeyLightConfig + i] = config;
    }
    key.w[kKeyLightSetConfig] = Reg(kGpuRegLightSet + kGpuLightSetConfig);
    key.w[kKeyLutInputs] = Reg(kGpuRegLightSet + kGpuLightSetLutInputs);
    return key;
}

// The output registers in use: those of the mask, or without a mask the first count.
static uint32_t UsedRegisters(const GpuProgramKey& key)
{
    if (key.w[kKeyOutputMask]) return key.w[kKeyOutputMask];
    uint32_t count = key.w[kKeyOutputCount] > 7 ? 7 : key.w[kKeyOutputCount];
    return (1u << count) - 1;
}

uint32_t GpuOutputSemantics(const GpuProgramKey& key)
{
    uint32_t bits = 0;
    uint32_t used = UsedRegisters(key);
    for (uint32_t r = 0; r < 7; ++r) {
        if (!(used & (1u << r))) continue;
        for (int c = 0; c < 4; ++c) {
            uint32_t code = (key.w[kKeyOutputMap + r] >> (8 * c)) & 0xFF;
            if (code < 32) bits |= 1u << code;
        }
    }
    return bits & ~(1u << kGpuOutEmpty);
}

static const char* SemanticTarget(uint32_t code)
{
    static const char* targets[24] = {
        "position.x", "position.y", "position.z", "position.w", "vQuat.x", "vQuat.y", "vQuat.z", "vQuat.w",
        "vColor.r",   "vColor.g",   "vColor.b",   "vColor.a",   "vTex0.x", "vTex0.y", "vTex1.x", "vTex1.y",
        nullptr,      nullptr,      "vView.x",    "vView.y",    "vView.z", nullptr,   "vTex2.x", "vTex2.y",
    };
    return code < 24 ? targets[code] : nullptr;
}

static const char* kVertexHeader = R"(uniform vec4 uReg[96];
uniform vec2 uDepthMap;
vec4 o[7];
out vec4 vColor;
out vec4 vQuat;
out vec3 vView;
out vec2 vTex0;
out vec2 vTex1;
out vec2 vTex2;
)";

// The vertex shader of a key: the program's source, then a main that runs it and hands its output
// registers on by the output map. Missing outputs: position (0, 0, 0, 1), white colour, the
// identity quaternion, a view vector along +z, texture coordinates 0.
static std::string VertexShader(const GpuProgramKey& key)
{
    std::string out = "#version 330 core\n#define PROGRAM " + std::to_string(key.w[kKeyEntry]) + "\n";
    out += kVertexHeader;
    out += "#line 1\n";
    out += vertexSource;
    out += "\nvoid main()\n{\n    for (int i = 0; i < 7; ++i) o[i] = vec4(0.0);\n    programMain();\n";
    out += "    vec4 position = vec4(0.0, 0.0, 0.0, 1.0);\n    vColor = vec4(1.0);\n";
    out += "    vQuat = vec4(0.0, 0.0, 0.0, 1.0);\n    vView = vec3(0.0, 0.0, 1.0);\n";
    out += "    vTex0 = vec2(0.0);\n    vTex1 = vec2(0.0);\n    vTex2 = vec2(0.0);\n";
    static const char components[4] = {'x', 'y', 'z', 'w'};
    uint32_t used = UsedRegisters(key);
    for (uint32_t r = 0; r < 7; ++r) {
        if (!(used & (1u << r))) continue;
        for (int c = 0; c < 4; ++c) {
            const char* target = SemanticTarget((key.w[kKeyOutputMap + r] >> (8 * c)) & 0xFF);
            if (target) out += std::string("    ") + target + " = o[" + std::to_string(r) + "]." + components[c] + ";\n";
        }
    }
    // Depth: the depth map's value in 0..1 becomes GL's clip z, so that GL clips where the map
    // leaves 0..1.
    out += "    gl_Position = vec4(position.xy, 2.0 * (uDepthMap.x * position.z + uDepthMap.y * position.w) - "
           "position.w, position.w);\n}\n";
    return out;
}

static const GpuProgram* BuildProgram(const GpuProgramKey& key);

const GpuProgram* GpuProgramFor(const GpuProgramKey& key) { return BuildProgram(key); }

int GpuProgramNamed() { return !vertexSource.empty() && GpuRegisterFile()[kGpuRegProgramEntry] <= 11; }

const GpuProgram* GpuProgramForRegisters()
{
    if (lastProgram && lastGeneration == GpuProgramKeyGeneration()) return lastProgram;
    const GpuProgramKey key = GpuProgramKeyFromRegisters();
    if (!lastProgram || std::memcmp(key.w, lastKey.w, sizeof key.w) != 0) {
        lastProgram = BuildProgram(key);
        lastKey = key;
    }
    lastGeneration = GpuProgramKeyGeneration();
    return lastProgram;
}

// The program for a key from the programs built so far, or built now.
static const GpuProgram* BuildProgram(const GpuProgramKey& key)
{
    std::string name(reinterpret_cast<const char*>(key.w), sizeof key.w);
    auto it = programs.find(name);
    if (it != programs.end()) {
        if (it->second.gl) return &it->second;
        GpuSetError(kGpuInvalidOperation);
        return nullptr;
    }
    GpuProgram& p = programs[name];
    if (vertexSource.empty() || key.w[kKeyEntry] > 11) {
        GpuSetError(kGpuInvalidOperation);
        programs.erase(name);
        return nullptr;
    }
    std::string log;
    p.gl = GpuCompileProgram(VertexShader(key), GpuFragmentSource(key), &log);
    if (!p.gl) {
        // Remembered as failed, so that the message comes once.
        PrintError("GPU program %u cannot be built: %s", key.w[kKeyEntry], log.c_str());
        GpuSetError(kGpuInvalidOperation);
        return nullptr;
    }
    glUseProgram(p.gl);
    static const char* samplers[4] = {"uTex0", "uTex1", "uTex2", "uLut"};
    for (int i = 0; i < 4; ++i) glUniform1i(glGetUniformLocation(p.gl, samplers[i]), i);
    p.registers = glGetUniformLocation(p.gl, "uReg");
    p.depthMap = glGetUniformLocation(p.gl, "uDepthMap");
    p.constants = glGetUniformLocation(p.gl, "uConst");
    p.globalAmbient = glGetUniformLocation(p.gl, "uGlobalAmbient");
    p.specular0 = glGetUniformLocation(p.gl, "uLightSpec0");
    p.specular1 = glGetUniformLocation(p.gl, "uLightSpec1");
    p.diffuse = glGetUniformLocation(p.gl, "uLightDiffuse");
    p.ambient = glGetUniformLocation(p.gl, "uLightAmbient");
    p.position = glGetUniformLocation(p.gl, "uLightPos");
    return &p;
}

// ---------------------------------------------------------------------------------------------
// The shader binary

static uint32_t Word(const uint8_t* data, uint32_t offset)
{
    uint32_t w;
    std::memcpy(&w, data + offset, 4);
    return w;
}

int GpuShaderBinary(const void* data, uint32_t size)
{
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    if (!bytes || size < 16 || Word(bytes, 0) != kGpuShaderMagic || (Word(bytes, 4) >> 16) != 1) {
        GpuSetError(kGpuInvalidValue);
        return PrintError("shader binary: not a shader container");
    }
    uint32_t count = Word(bytes, 4) & 0xFF;
    uint32_t sourceOffset = Word(bytes, 8), sourceLength = Word(bytes, 12);
    if (count == 0 || count > 12 || 16 + 4 * count > size || sourceOffset > size ||
        sourceLength > size - sourceOffset) {
        GpuSetError(kGpuInvalidValue);
        return PrintError("shader binary: damaged header");
    }
    std::vector<GpuProgramKey> keys;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t at = Word(bytes, 16 + 4 * i);
        if (at % 4 || at > size || size - at < 12) {
            GpuSetError(kGpuInvalidValue);
            return PrintError("shader binary: program %u lies outside the container", i);
        }
        uint32_t entry = Word(bytes, at), outputs = Word(bytes, at + 8);
        if (entry > 11 || outputs > 7 || (size - at - 12) / 8 < outputs) {
            GpuSetError(kGpuInvalidValue);
            return PrintError("shader binary: program %u is damaged", i);
        }
        GpuProgramKey key{};
        key.w[kKeyEntry] = entry;
        key.w[kKeyOutputCount] = outputs;
        for (uint32_t r = 0; r < 7; ++r) key.w[kKeyOutputMap + r] = kGpuOutEmptyRegister;
        uint32_t previous = 0;
        for (uint32_t k = 0; k < outputs; ++k) {
            uint32_t reg = Word(bytes, at + 12 + 8 * k);
            if (reg > 6 || (k && reg <= previous)) {
                GpuSetError(kGpuInvalidValue);
                return PrintError("shader binary: program %u has a bad output table", i);
            }
            previous = reg;
            key.w[kKeyOutputMask] |= 1u << reg;
            key.w[kKeyOutputMap + reg] = Word(bytes, at + 12 + 8 * k + 4);
        }
        keys.push_back(key);
    }
    std::string source(reinterpret_cast<const char*>(bytes + sourceOffset), sourceLength);
    std::string previousSource = vertexSource;
    GpuProgramsShutdown();
    vertexSource = source;
    // Every program must build with the outputs its record declares.
    for (const GpuProgramKey& key : keys) {
        if (!GpuProgramFor(key)) {
            GpuProgramsShutdown();
            vertexSource = previousSource;
            return 0;
        }
    }
    return 1;
}
