#include "render/ShaderPrograms.h"

#include "render/GLApi.h"
#include "render/Logger.h"
#include "render/Renderer.h"
#include "render/Shaders.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

ShaderProgram TextureProgram;
ShaderProgram TwoTexturesProgram;
ShaderProgram ScrollMaskProgram;
ShaderProgram SolidProgram;

namespace {

constexpr const char* TextureProgramFailed = "Creating the texture shader program didn't work";
constexpr const char* SolidProgramFailed = "Creating the solid shader program didn't work";

[[noreturn]] void fail(const std::string& message)
{
    GameLog(message);
    throw std::runtime_error(message);
}

void unloadProgram(ShaderProgram& shader)
{
    if (shader.vertexShader != 0) {
        GL.DeleteShader(shader.vertexShader);
        shader.vertexShader = 0;
    }
    if (shader.fragmentShader != 0) {
        GL.DeleteShader(shader.fragmentShader);
        shader.fragmentShader = 0;
    }
    if (shader.program != 0) {
        GL.DeleteProgram(shader.program);
        shader.program = 0;
    }
}

// Which uniforms a program must expose; every listed one must be found.
struct UniformRequest {
    const char* name;
    int32_t ShaderProgram::*location;
};

// The sources are GLSL ES 1.00 apart from their version line: an ES context gets
// that version instead, and its fragment shaders the float precision ES asks
// for: high where the device has it, as texture coordinates across a 2048-texel
// atlas need more than medium's 10 bits.
std::string sourceForContext(std::string_view source, bool fragment)
{
    if (!OpenGLESContext)
        return std::string(source);
    constexpr std::string_view precision = "#ifdef GL_FRAGMENT_PRECISION_HIGH\nprecision highp float;\n"
                                           "#else\nprecision mediump float;\n#endif\n";
    const std::string_view body = source.substr(source.find('\n') + 1);
    return "#version 100\n" + std::string(fragment ? precision : "") + std::string(body);
}

void compileProgram(ShaderProgram& shader, std::string_view vertexSource, std::string_view fragmentSource,
                    const std::vector<UniformRequest>& uniforms, const char* missingUniformMessage)
{
    unloadProgram(shader);
    const std::string vertex = sourceForContext(vertexSource, false);
    const std::string fragment = sourceForContext(fragmentSource, true);
    shader.vertexShader = CompileShader(GL_VERTEX_SHADER, vertex.data(), static_cast<int32_t>(vertex.size()));
    shader.fragmentShader =
        CompileShader(GL_FRAGMENT_SHADER, fragment.data(), static_cast<int32_t>(fragment.size()));
    shader.program = LinkProgram(shader.vertexShader, shader.fragmentShader);
    bool allFound = true;
    for (const UniformRequest& uniform : uniforms) {
        shader.*uniform.location = GL.GetUniformLocation(shader.program, uniform.name);
        allFound = allFound && shader.*uniform.location >= 0;
    }
    // The rebuild's handler logs this one; it is not logged twice.
    if (!allFound)
        throw std::runtime_error(missingUniformMessage);
}

} // namespace

uint32_t CompileShader(uint32_t kind, const char* source, int32_t length)
{
    const GLuint shader = GL.CreateShader(kind);
    if (shader == 0)
        fail("Creating the shader didn't work");
    GL.ShaderSource(shader, 1, &source, &length);
    GL.CompileShader(shader);
    GLint compiled = 0;
    GL.GetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled != 0)
        return shader;
    GLint logLength = 0;
    GL.GetShaderiv(shader, GL_INFO_LOG_LENGTH, &logLength);
    if (logLength <= 1)
        fail("Creating the shader didn't work");
    std::vector<char> log(static_cast<size_t>(logLength) + 1, '\0');
    GL.GetShaderInfoLog(shader, logLength, nullptr, log.data());
    fail(std::string("Creating the shader didn't work: ") + log.data());
}

uint32_t LinkProgram(uint32_t vertexShader, uint32_t fragmentShader)
{
    const GLuint program = GL.CreateProgram();
    if (program == 0)
        fail("Creating the shader program didn't work");
    GL.AttachShader(program, vertexShader);
    GL.AttachShader(program, fragmentShader);
    GL.BindAttribLocation(program, 0, "aPosition");
    GL.LinkProgram(program);
    GLint linked = 0;
    GL.GetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != 0)
        return program;
    GLint logLength = 0;
    GL.GetProgramiv(program, GL_INFO_LOG_LENGTH, &logLength);
    if (logLength <= 1)
        fail("Creating the shader program didn't work");
    std::vector<char> log(static_cast<size_t>(logLength) + 1, '\0');
    GL.GetProgramInfoLog(program, logLength, nullptr, log.data());
    fail(std::string("Creating the shader program didn't work: ") + log.data());
}

void CompileTextureShader()
{
    compileProgram(TextureProgram, shader_source::TextureVertex, shader_source::TextureFragment,
                   {{"uColor", &ShaderProgram::uColor},
                    {"uTexRange", &ShaderProgram::uTexRange},
                    {"uPosRange", &ShaderProgram::uPosRange},
                    {"uTexUnit0", &ShaderProgram::uTexUnit0}},
                   TextureProgramFailed);
}

void CompileTwoTexturesShader()
{
    compileProgram(TwoTexturesProgram, shader_source::TwoTexturesVertex, shader_source::TwoTexturesFragment,
                   {{"uColor", &ShaderProgram::uColor},
                    {"uTexRange", &ShaderProgram::uTexRange},
                    {"uPosRange", &ShaderProgram::uPosRange},
                    {"uPosRange2", &ShaderProgram::uPosRange2},
                    {"uTexUnit0", &ShaderProgram::uTexUnit0},
                    {"uTexUnit1", &ShaderProgram::uTexUnit1}},
                   TextureProgramFailed);
}

void CompileScrollMaskShader()
{
    // uTexUnit1 is declared but unused here, so a driver may drop it: not asked for.
    compileProgram(ScrollMaskProgram, shader_source::TwoTexturesVertex, shader_source::ScrollMaskFragment,
                   {{"uColor", &ShaderProgram::uColor},
                    {"uTexRange", &ShaderProgram::uTexRange},
                    {"uPosRange", &ShaderProgram::uPosRange},
                    {"uPosRange2", &ShaderProgram::uPosRange2},
                    {"uTexUnit0", &ShaderProgram::uTexUnit0}},
                   TextureProgramFailed);
}

void CompileSolidShader()
{
    compileProgram(SolidProgram, shader_source::SolidVertex, shader_source::SolidFragment,
                   {{"uColor", &ShaderProgram::uColor}, {"uPosRange", &ShaderProgram::uPosRange}}, SolidProgramFailed);
}

void UnloadTextureShader() { unloadProgram(TextureProgram); }
void UnloadTwoTexturesShader() { unloadProgram(TwoTexturesProgram); }
void UnloadScrollMaskShader() { unloadProgram(ScrollMaskProgram); }
void UnloadSolidShader() { unloadProgram(SolidProgram); }
