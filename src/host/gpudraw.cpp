// The indexed draw: vertices and indices are fetched from the arena by the vertex input registers,
// the program of the current configuration is chosen, the uniform registers, combiner constants,
// lights and lookup tables are handed to it, and the fixed state (depth, colour mask, culling,
// blending) is set on GL before the primitives are drawn into the bound frame buffer.
#include <algorithm>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "host/gpuinternal.h"

static GLuint vao = 0, vertexBuffer = 0, indexBuffer = 0, lutTexture = 0;
static uint32_t lutWords[512];
static int lutLoaded = 0;
void GpuDrawReset()
{
    lutLoaded = 0;
}

void GpuDrawShutdown()
{
    if (vao) glDeleteVertexArrays(1, &vao);
    if (vertexBuffer) glDeleteBuffers(1, &vertexBuffer);
    if (indexBuffer) glDeleteBuffers(1, &indexBuffer);
    if (lutTexture) glDeleteTextures(1, &lutTexture);
    vao = vertexBuffer = indexBuffer = lutTexture = 0;
    lutLoaded = 0;
}

static void Colour3(uint32_t word, float* out)
{
    out[0] = (word & 0xFF) / 255.0f;
    out[1] = ((word >> 8) & 0xFF) / 255.0f;
    out[2] = ((word >> 16) & 0xFF) / 255.0f;
}

// The lookup tables as a 256 x 4 float texture: D0 values, D0 steps, D1 values, D1 steps.
static void UpdateLookupTables()
{
    uint32_t words[512];
    for (uint32_t i = 0; i < 256; ++i) {
        words[i] = GpuRegister(kGpuRegLutD0 + i);
        words[256 + i] = GpuRegister(kGpuRegLutD1 + i);
    }
    if (lutLoaded && std::memcmp(words, lutWords, sizeof words) == 0) return;
    std::memcpy(lutWords, words, sizeof words);
    lutLoaded = 1;
    std::vector<float> texels(256 * 4);
    for (int t = 0; t < 2; ++t) {
        for (int i = 0; i < 256; ++i) {
            uint32_t e = words[256 * t + i];
            float step = float((e >> 12) & 0x7FF) / 2048.0f;
            texels[size_t(512 * t + i)] = float(e & 0xFFF) / 4096.0f;
            texels[size_t(512 * t + 256 + i)] = (e & (1u << 23)) ? -step : step;
        }
    }
    if (!lutTexture) glGenTextures(1, &lutTexture);
    glActiveTexture(GL_TEXTURE3);
    glBindTexture(GL_TEXTURE_2D, lutTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_R32F, 256, 4, 0, GL_RED, GL_FLOAT, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
}

static void SetUniforms(const GpuProgram& p)
{
    float vectors[kGpuUniformVectors * 4];
    for (int v = 0; v < kGpuUniformVectors; ++v) {
        // Stored w, z, y, x.
        for (int c = 0; c < 4; ++c) vectors[4 * v + c] = GpuRegisterFloat(kGpuRegUniformVector(v) + uint32_t(3 - c));
    }
    glUniform4fv(p.registers, kGpuUniformVectors, vectors);
    glUniform2f(p.depthMap, GpuRegisterFloat(kGpuRegDepthMap), GpuRegisterFloat(kGpuRegDepthMap + 1));
    float constants[kGpuCombinerStages * 4];
    for (int s = 0; s < kGpuCombinerStages; ++s) {
        uint32_t c = GpuRegister(kGpuRegCombiner(s) + kGpuCombinerConstant);
        for (int k = 0; k < 4; ++k) constants[4 * s + k] = ((c >> (8 * k)) & 0xFF) / 255.0f;
    }
    glUniform4fv(p.constants, kGpuCombinerStages, constants);
    float ambient[3];
    Colour3(GpuRegister(kGpuRegLightSet + kGpuLightSetAmbient), ambient);
    glUniform3fv(p.globalAmbient, 1, ambient);
    float spec0[12], spec1[12], diffuse[12], lightAmbient[12], position[12];
    for (int i = 0; i < 4; ++i) {
        uint32_t base = kGpuRegLight(i);
        Colour3(GpuRegister(base + kGpuLightSpecular0), spec0 + 3 * i);
        Colour3(GpuRegister(base + kGpuLightSpecular1), spec1 + 3 * i);
        Colour3(GpuRegister(base + kGpuLightDiffuse), diffuse + 3 * i);
        Colour3(GpuRegister(base + kGpuLightAmbient), lightAmbient + 3 * i);
        for (uint32_t k = 0; k < 3; ++k) position[3 * i + int(k)] = GpuRegisterFloat(base + kGpuLightPosition + k);
    }
    glUniform3fv(p.specular0, 4, spec0);
    glUniform3fv(p.specular1, 4, spec1);
    glUniform3fv(p.diffuse, 4, diffuse);
    glUniform3fv(p.ambient, 4, lightAmbient);
    glUniform3fv(p.position, 4, position);
}

static void SetFixedState()
{
    static const GLenum compare[8] = {GL_NEVER, GL_ALWAYS, GL_EQUAL, GL_NOTEQUAL,
                                      GL_LESS,  GL_LEQUAL, GL_GREATER, GL_GEQUAL};
    uint32_t depth = GpuRegister(kGpuRegDepthColorMask);
    // GL skips depth writes while its depth test is off; an "always" test writes as the GPU does.
    if ((depth & 1) || (depth & 0x1000)) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc((depth & 1) ? compare[(depth >> 4) & 7] : GL_ALWAYS);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    glDepthMask((depth & 0x1000) ? GL_TRUE : GL_FALSE);
    glColorMask((depth >> 8) & 1, (depth >> 9) & 1, (depth >> 10) & 1, (depth >> 11) & 1);
    uint32_t cull = GpuRegister(kGpuRegCullMode);
    glFrontFace(GL_CCW);
    if (cull == 0) {
        glDisable(GL_CULL_FACE);
    } else {
        glEnable(GL_CULL_FACE);
        glCullFace(cull == 1 ? GL_FRONT : cull == 2 ? GL_BACK : GL_FRONT_AND_BACK);
    }
    if (GpuRegister(kGpuRegBlendEnable)) {
        glEnable(GL_BLEND);
        glBlendFunc(GpuRegister(kGpuRegBlendFunc), GpuRegister(kGpuRegBlendFunc + 1));
        glBlendEquation(GpuRegister(kGpuRegBlendEquation));
    } else {
        glDisable(GL_BLEND);
    }
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_STENCIL_TEST);
    glViewport(GLint(GpuRegister(kGpuRegViewport)), GLint(GpuRegister(kGpuRegViewport + 1)),
               GLsizei(GpuRegister(kGpuRegViewport + 2)), GLsizei(GpuRegister(kGpuRegViewport + 3)));
}

// The highest of n indices: every draw's indices are read, seen or not, so this runs over a few
// ten thousand indices a frame. With SSE2, eight at a time (16-bit indices are compared as signed
// numbers with the top bit flipped, the comparison that SSE2 has).
static uint32_t HighestIndex(const uint8_t* p, uint32_t n, int wide)
{
    uint32_t i = 0, highest = 0;
    if (wide) {
#ifdef __SSE2__
        const __m128i flip = _mm_set1_epi16(int16_t(0x8000));
        __m128i top = _mm_set1_epi16(int16_t(0x8000));
        for (; i + 8 <= n; i += 8)
            top = _mm_max_epi16(top, _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2 * i)), flip));
        uint16_t lanes[8];
        _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), _mm_xor_si128(top, flip));
        for (uint16_t t : lanes) highest = std::max(highest, uint32_t(t));
#endif
        for (; i < n; ++i) highest = std::max(highest, uint32_t(p[2 * i] | p[2 * i + 1] << 8));
    } else {
#ifdef __SSE2__
        __m128i top = _mm_setzero_si128();
        for (; i + 16 <= n; i += 16)
            top = _mm_max_epu8(top, _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)));
        uint8_t lanes[16];
        _mm_storeu_si128(reinterpret_cast<__m128i*>(lanes), top);
        for (uint8_t t : lanes) highest = std::max(highest, uint32_t(t));
#endif
        for (; i < n; ++i) highest = std::max(highest, uint32_t(p[i]));
    }
    return highest;
}

// Reads the indices and finds the highest; 0 when they do not lie in the arena.
static const uint8_t* FetchIndices(uint64_t base, uint32_t count, int wide, uint32_t* highest)
{
    uint32_t offset = GpuRegister(kGpuRegIndexBuffer) & ~kGpuIndex16;
    uint64_t at = base + offset;
    uint64_t bytes = uint64_t(count) * (wide ? 2 : 1);
    if (at > 0xFFFFFFFFu) return nullptr;
    const uint8_t* p = GpuArenaBytes(uint32_t(at), bytes);
    if (!p) return nullptr;
    *highest = HighestIndex(p, count, wide);
    return p;
}

void GpuExecDraw()
{
    uint32_t count = GpuRegister(kGpuRegIndexCount);
    uint32_t primitive = GpuRegister(kGpuRegPrimitive);
    if (count == 0) return;
    if (primitive > kGpuPrimitiveFan || count > 0x100000) {
        GpuSetError(kGpuInvalidValue);
        return;
    }
    if (!GpuFramebufferSize(GpuRegister(kGpuRegFramebuffer), nullptr, nullptr)) {
        GpuSetError(kGpuInvalidOperation);
        return;
    }
    uint64_t base = uint64_t(GpuRegister(kGpuRegVertexBase)) * 8;
    uint32_t stride = GpuRegister(kGpuRegVertexStride);
    uint32_t attributes = GpuRegister(kGpuRegAttribCount);
    int wide = (GpuRegister(kGpuRegIndexBuffer) & kGpuIndex16) != 0;
    uint32_t highest = 0;
    const uint8_t* indices = FetchIndices(base, count, wide, &highest);
    if (!indices || attributes > 12 || stride == 0 || stride > 255) {
        GpuSetError(kGpuInvalidValue);
        return;
    }
    // Every attribute of every vertex that the indices name must lie in the arena.
    static const uint32_t typeBytes[4] = {4, 1, 1, 2};
    uint32_t reach = 0;
    for (uint32_t k = 0; k < attributes; ++k) {
        uint32_t f = GpuRegister(kGpuRegAttribFormat + k);
        uint32_t end = (f & 0xFF) + ((f >> 8) & 7) * typeBytes[(f >> 12) & 3];
        if (end > reach) reach = end;
    }
    uint64_t vertexBytes = uint64_t(highest) * stride + reach;
    const uint8_t* vertices = base <= 0xFFFFFFFFu ? GpuArenaBytes(uint32_t(base), vertexBytes) : nullptr;
    if (!vertices) {
        GpuSetError(kGpuInvalidValue);
        return;
    }

    // An image that is not drawn needs no GL program: only that the registers name one that
    // exists is checked (building it is the driver's work, done when it is first drawn).
    if (!GpuOnGl()) {
        if (!GpuProgramNamed()) GpuSetError(kGpuInvalidOperation);
        return;
    }
    const GpuProgram* program = GpuProgramForRegisters();
    if (!program) return;
    GpuCountGlWork();
    GpuUseFramebuffer(GpuRegister(kGpuRegFramebuffer), nullptr, nullptr);

    if (!vao) {
        glGenVertexArrays(1, &vao);
        glGenBuffers(1, &vertexBuffer);
        glGenBuffers(1, &indexBuffer);
    }
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertexBytes), vertices, GL_STREAM_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(count * (wide ? 2 : 1)), indices, GL_STREAM_DRAW);
    for (GLuint location = 0; location < 12; ++location) glDisableVertexAttribArray(location);
    static const GLenum types[4] = {GL_FLOAT, GL_UNSIGNED_BYTE, GL_BYTE, GL_SHORT};
    uint64_t map = uint64_t(GpuRegister(kGpuRegAttribInputMap)) | uint64_t(GpuRegister(kGpuRegAttribInputMap + 1)) << 32;
    for (uint32_t k = 0; k < attributes; ++k) {
        uint32_t f = GpuRegister(kGpuRegAttribFormat + k);
        GLuint location = GLuint((map >> (4 * k)) & 0xF);
        GLint components = GLint((f >> 8) & 7);
        if (location >= 12 || components < 1 || components > 4) continue;
        glEnableVertexAttribArray(location);
        glVertexAttribPointer(location, components, types[(f >> 12) & 3], GL_FALSE, GLsizei(stride),
                              reinterpret_cast<const void*>(uintptr_t(f & 0xFF)));
    }

    glUseProgram(program->gl);
    SetUniforms(*program);
    UpdateLookupTables();
    glActiveTexture(GL_TEXTURE3);
    glBindTexture(GL_TEXTURE_2D, lutTexture);
    uint32_t units = GpuRegister(kGpuRegTexEnable);
    for (int u = 0; u < 3; ++u) {
        uint32_t words[6];
        for (uint32_t k = 0; k < 6; ++k) words[k] = GpuRegister(kGpuRegTexUnit(u) + k);
        if (units & (1u << u)) {
            GpuBindTextureUnit(u, words);
        } else {
            glActiveTexture(GLenum(GL_TEXTURE0 + u));
            glBindTexture(GL_TEXTURE_2D, 0);
        }
    }
    SetFixedState();
    static const GLenum modes[3] = {GL_TRIANGLES, GL_TRIANGLE_STRIP, GL_TRIANGLE_FAN};
    glDrawElements(modes[primitive], GLsizei(count), wide ? GL_UNSIGNED_SHORT : GL_UNSIGNED_BYTE, nullptr);
    glBindVertexArray(0);
}
