#pragma once

#include <cstdint>

// One GLSL program with its two shaders and the uniform locations the draws use
// (-1 for a uniform the program does not ask for).
struct ShaderProgram {
    uint32_t vertexShader = 0;
    uint32_t fragmentShader = 0;
    uint32_t program = 0;
    int32_t uColor = -1;
    int32_t uTexRange = -1;
    int32_t uPosRange = -1;
    int32_t uPosRange2 = -1;
    int32_t uTexUnit0 = -1;
    int32_t uTexUnit1 = -1;
};

extern ShaderProgram TextureProgram;
extern ShaderProgram TwoTexturesProgram;
extern ShaderProgram ScrollMaskProgram;
extern ShaderProgram SolidProgram;

void CompileTextureShader();
void CompileTwoTexturesShader();
void CompileScrollMaskShader();
void CompileSolidShader();
void UnloadTextureShader();
void UnloadTwoTexturesShader();
void UnloadScrollMaskShader();
void UnloadSolidShader();
