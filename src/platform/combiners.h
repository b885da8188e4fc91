// The texture-combiner stages: how each fragment's colour is made from the textures, the vertex
// colour, a constant colour and the fragment lighting. Seven sets of stages are prepared at start;
// each draw picks one by program and the flat and specular switches, so a draw costs at most one
// set change.
#pragma once

#include <cstdint>

// One stage: the codes, and the same packed into the four words the GPU takes.
struct DS3_textureCombiner {
    uint32_t srcRgb0, srcRgb1, srcRgb2;
    uint32_t srcAlpha0, srcAlpha1, srcAlpha2;
    uint32_t operandRgb0, operandRgb1, operandRgb2;
    uint32_t operandAlpha0, operandAlpha1, operandAlpha2;
    uint32_t combineRgb, combineAlpha;
    uint32_t scaleRgb, scaleAlpha;
    uint32_t constRgba;  // red in the low byte, alpha in the high byte
    uint32_t hardwareRegister0;  // sources: RGB at bits 0, 4, 8; alpha at 16, 20, 24
    uint32_t hardwareRegister1;  // operands: RGB at bits 0, 4, 8; alpha at 12, 16, 20
    uint32_t hardwareRegister2;  // combine: RGB at bit 0, alpha at bit 16
    uint32_t hardwareRegister3;  // scale: RGB at bit 0, alpha at bit 16
};

// Six stages; stages 4 and 5 pass the previous result through in every set, so only stages 0 to
// 3 are sent.
struct DS3_textureCombinerSet {
    DS3_textureCombiner combiner0, combiner1, combiner2, combiner3, combiner4, combiner5;
};

extern DS3_textureCombinerSet flatCombiners;
extern DS3_textureCombinerSet unlitCombiners;
extern DS3_textureCombinerSet litCombiners;
extern DS3_textureCombinerSet litSpecCombiners;
extern DS3_textureCombinerSet litSpecCombinersAdditive;
extern DS3_textureCombinerSet vertexLitCombiners;
extern DS3_textureCombinerSet vertexLitSpecCombiners;
// The set last sent to the GPU in this display, or null.
extern DS3_textureCombinerSet* curTextureCombiner;

// Fills the seven sets and packs their words (at start).
int RenderInitCombiners();
// Packs every stage of a set / one stage.
int DS3_SetupTextureCombinerSet(DS3_textureCombinerSet* set);
int DS3_SetupTextureCombiner(DS3_textureCombiner* stage);
// Packs a colour of four bytes (red first) into a constant-colour word.
uint32_t DS3_PackCombinerColor(const uint8_t* rgba);

// Sending (inside a command bracket): stages 0 to 3 of a set; one stage (sources, operands,
// combine, constant colour, scale); only a stage's constant colour.
int DS3_SetTextureCombinerSet(const DS3_textureCombinerSet* set);
int DS3_SetTextureCombiner(int index, const DS3_textureCombiner* stage);
int DS3_SetTextureCombinerColor(int index, const uint8_t* rgba);

// The set a program uses with the flat and specular switches (program as in shaders.h).
DS3_textureCombinerSet* ChooseTextureCombinerSet(int program, int flat, int specular);
// Chooses and sends the set of the active program; called by RenderSetShader.
int UpdateTextureCombiner(int flat, int specular);
