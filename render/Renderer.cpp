#include "render/Renderer.h"

#include "render/GLApi.h"
#include "render/Logger.h"
#include "render/ShaderPrograms.h"

#include <exception>

int32_t WindowWidth = 800;
int32_t WindowHeight = 480;
int32_t ViewportLeft = 0;
int32_t ViewportTop = 0;
int32_t ViewportWidth = 800;
int32_t ViewportHeight = 480;
int32_t BoundTexture = 0;
bool FrameDrawn = false;
TRenderHooks RenderHooks;

namespace {

GLuint quadVertexBuffer = 0;
GLuint quadIndexBuffer = 0;

// The unit quad every draw stretches: corners (0,0), (0,1), (1,0), (1,1) as a strip.
constexpr GLfloat QuadVertices[8] = {0, 0, 0, 1, 1, 0, 1, 1};
constexpr GLushort QuadIndices[4] = {0, 1, 2, 3};

void UnloadQuadBuffers()
{
    if (quadVertexBuffer != 0) {
        GL.DeleteBuffers(1, &quadVertexBuffer);
        quadVertexBuffer = 0;
    }
    if (quadIndexBuffer != 0) {
        GL.DeleteBuffers(1, &quadIndexBuffer);
        quadIndexBuffer = 0;
    }
}

void LoadQuadBuffers()
{
    UnloadQuadBuffers();
    GL.GenBuffers(1, &quadVertexBuffer);
    GL.BindBuffer(GL_ARRAY_BUFFER, quadVertexBuffer);
    GL.BufferData(GL_ARRAY_BUFFER, sizeof(QuadVertices), QuadVertices, GL_STATIC_DRAW);
    GL.GenBuffers(1, &quadIndexBuffer);
    GL.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, quadIndexBuffer);
    GL.BufferData(GL_ELEMENT_ARRAY_BUFFER, sizeof(QuadIndices), QuadIndices, GL_STATIC_DRAW);
}

void drawQuad() { glDrawElements(GL_TRIANGLE_STRIP, 4, GL_UNSIGNED_SHORT, nullptr); }

// Clip-space corner and extent of a virtual rectangle; y grows downwards on screen.
void setPosition(int32_t location, float x, float y, float w, float h)
{
    GL.Uniform4f(location, x / 400.0f - 1.0f, 1.0f - y / 240.0f, w / 400.0f, -h / 240.0f);
}

void setTexRange(int32_t location, const TexturedQuad& quad)
{
    GL.Uniform4f(location, quad.sx * quad.invWidth, quad.sy * quad.invHeight, quad.sw * quad.invWidth,
                 quad.sh * quad.invHeight);
}

void runStep(const char* line, void (*step)())
{
    GameLog(line);
    step();
}

} // namespace

Viewport CurrentViewport() { return {ViewportLeft, ViewportTop, ViewportWidth, ViewportHeight}; }

void SetScreenSize(int32_t width, int32_t height)
{
    GameLog("Setting screen width and height...");
    FrameDrawn = false;
    WindowWidth = width;
    WindowHeight = height;
    const Viewport viewport = ComputeViewport(width, height);
    ViewportLeft = viewport.left;
    ViewportTop = viewport.top;
    ViewportWidth = viewport.width;
    ViewportHeight = viewport.height;
}

void RebuildGraphics()
{
    try {
        FrameDrawn = false;
        runStep("Unloading texture shader...", UnloadTextureShader);
        runStep("Unloading two textures shader...", UnloadTwoTexturesShader);
        runStep("Unloading scroll mask texture shader...", UnloadScrollMaskShader);
        runStep("Unloading solid shader...", UnloadSolidShader);
        runStep("Unloading quad VBO buffers...", UnloadQuadBuffers);
        runStep("Compiling texture shader...", CompileTextureShader);
        runStep("Compiling two textures shader...", CompileTwoTexturesShader);
        runStep("Compiling scroll mask texture shader...", CompileScrollMaskShader);
        runStep("Compiling solid shader...", CompileSolidShader);
        runStep("Loading quad VBO buffers...", LoadQuadBuffers);
        GameLog("Setting textures dirty...");
        if (RenderHooks.markTexturesDirty)
            RenderHooks.markTexturesDirty();
        GameLog("Reset delta  ...");
        if (RenderHooks.resetDelta)
            RenderHooks.resetDelta();
    } catch (const std::exception& failure) {
        GameLog(failure.what());
    }
}

void ReleaseGraphics()
{
    try {
        if (RenderHooks.releaseTextures)
            RenderHooks.releaseTextures();
        UnloadTextureShader();
        UnloadTwoTexturesShader();
        UnloadScrollMaskShader();
        UnloadSolidShader();
        UnloadQuadBuffers();
    } catch (const std::exception& failure) {
        GameLog(failure.what());
    }
}

void BeginFrame()
{
    BoundTexture = -1;
    glViewport(0, 0, WindowWidth, WindowHeight);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glViewport(ViewportLeft, ViewportTop, ViewportWidth, ViewportHeight);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    // OpenGL ES has no texturing switch (the shaders alone sample) and refuses it.
    GL.ActiveTexture(GL_TEXTURE1);
    if (!OpenGLESContext)
        glDisable(GL_TEXTURE_2D);
    GL.ActiveTexture(GL_TEXTURE0);
    if (!OpenGLESContext)
        glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    UseTextureShader();
    BindQuad();
}

void UseTextureShader()
{
    GL.UseProgram(TextureProgram.program);
    GL.Uniform1i(TextureProgram.uTexUnit0, 0);
}

void UseScrollMaskShader()
{
    GL.UseProgram(ScrollMaskProgram.program);
    GL.Uniform1i(ScrollMaskProgram.uTexUnit0, 0);
}

void UseSolidShader() { GL.UseProgram(SolidProgram.program); }

void UseNoShader() { GL.UseProgram(0); }

void BindQuad()
{
    GL.BindBuffer(GL_ARRAY_BUFFER, quadVertexBuffer);
    GL.EnableVertexAttribArray(0);
    GL.VertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 8, nullptr);
    GL.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, quadIndexBuffer);
    GL.EnableVertexAttribArray(0);
}

void UnbindQuad() { GL.DisableVertexAttribArray(0); }

void DrawSolidQuad(float x, float y, float w, float h, float r, float g, float b, float a)
{
    GL.Uniform4f(SolidProgram.uColor, r, g, b, a);
    setPosition(SolidProgram.uPosRange, x, y, w, h);
    drawQuad();
}

void BindTextureCached(uint32_t handle)
{
    if (static_cast<int32_t>(handle) != BoundTexture) {
        BoundTexture = static_cast<int32_t>(handle);
        glBindTexture(GL_TEXTURE_2D, handle);
    }
}

void DrawTexturedQuadBound(const TexturedQuad& quad)
{
    GL.Uniform4f(TextureProgram.uColor, quad.r, quad.g, quad.b, quad.a);
    setPosition(TextureProgram.uPosRange, quad.x, quad.y, quad.w, quad.h);
    setTexRange(TextureProgram.uTexRange, quad);
    drawQuad();
}

void DrawOpaqueTexturedQuadBound(const TexturedQuad& quad)
{
    glDisable(GL_BLEND);
    DrawTexturedQuadBound(quad);
    glEnable(GL_BLEND);
}

void DrawScrollMaskQuadBound(const TexturedQuad& quad)
{
    GL.Uniform4f(ScrollMaskProgram.uColor, quad.r, quad.g, quad.b, quad.a);
    setPosition(ScrollMaskProgram.uPosRange, quad.x, quad.y, quad.w, quad.h);
    GL.Uniform4f(ScrollMaskProgram.uPosRange2, quad.x / 800.0f, quad.y / 480.0f, quad.w / 800.0f, quad.h / 480.0f);
    setTexRange(ScrollMaskProgram.uTexRange, quad);
    drawQuad();
}
