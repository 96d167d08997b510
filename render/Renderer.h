#pragma once

#include "render/Viewport.h"

#include <cstdint>
#include <functional>

// Window and viewport in pixels; the viewport is the centred 5:3 rectangle
// the virtual screen is drawn into.
extern int32_t WindowWidth;
extern int32_t WindowHeight;
extern int32_t ViewportLeft;
extern int32_t ViewportTop;
extern int32_t ViewportWidth;
extern int32_t ViewportHeight;

// The texture object last bound to unit 0 by a draw; -1 when unknown. Reset
// at every frame start, after texture uploads and deletions, and around
// program switches, so a stale value only costs an extra bind.
extern int32_t BoundTexture;

// Set by the frame driver once a frame has been drawn; cleared on rebuilds.
extern bool FrameDrawn;

// What the renderer asks of the layers above it during rebuild and release:
// the textures it must mark dirty or free and the game's timing reset.
struct TRenderHooks {
    std::function<void()> markTexturesDirty; // "Setting textures dirty..."
    std::function<void()> resetDelta;        // "Reset delta  ..."
    std::function<void()> releaseTextures;   // first step of ReleaseGraphics
};
extern TRenderHooks RenderHooks;

// The current viewport as one value, for mapping mouse positions.
Viewport CurrentViewport();

// Records the window size and fits the 5:3 viewport into it.
void SetScreenSize(int32_t width, int32_t height);
// Recompiles all four programs and reloads the quad; failures are logged, not fatal.
void RebuildGraphics();
// Frees textures, programs and the quad at shutdown.
void ReleaseGraphics();

// Per-frame state set-up: clears the window, sets viewport, blending, program and quad.
void BeginFrame();
void UseTextureShader();
void UseScrollMaskShader();
void UseSolidShader();
void UseNoShader();
void BindQuad();
void UnbindQuad();

// Fills virtual rectangle (x, y, w, h) with a colour; the solid program must be current.
void DrawSolidQuad(float x, float y, float w, float h, float r, float g, float b, float a);

// Binds a texture object on unit 0 unless it is already the bound one.
void BindTextureCached(uint32_t handle);

// Where a texel rectangle of a texture goes and with which tint; the texture's
// inverse size turns texels into texture coordinates.
struct TexturedQuad {
    float invWidth, invHeight;
    float sx, sy, sw, sh;
    float x, y, w, h;
    float r, g, b, a;
};
// Draws with the texture program (which must be current) and the bound texture.
void DrawTexturedQuadBound(const TexturedQuad& quad);
// The same without blending, for texels that are all opaque: the pixels are the same, the work less.
void DrawOpaqueTexturedQuadBound(const TexturedQuad& quad);
// The same with the scroll-mask program, which fades towards the top and bottom.
void DrawScrollMaskQuadBound(const TexturedQuad& quad);

// Compiles one shader; throws std::runtime_error with the logged message on failure.
uint32_t CompileShader(uint32_t kind, const char* source, int32_t length);
// Links a program from two shaders; throws std::runtime_error on failure.
uint32_t LinkProgram(uint32_t vertexShader, uint32_t fragmentShader);
