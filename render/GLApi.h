#pragma once

#include <GL/gl.h>
#include <GL/glext.h>

#include <string>

// The OpenGL 1.2 to 2.0 functions the renderer calls, resolved at start-up;
// the OpenGL 1.1 functions come straight from the system library.
struct GLApi {
    PFNGLACTIVETEXTUREPROC ActiveTexture = nullptr;
    PFNGLGENBUFFERSPROC GenBuffers = nullptr;
    PFNGLBINDBUFFERPROC BindBuffer = nullptr;
    PFNGLBUFFERDATAPROC BufferData = nullptr;
    PFNGLDELETEBUFFERSPROC DeleteBuffers = nullptr;
    PFNGLCREATESHADERPROC CreateShader = nullptr;
    PFNGLSHADERSOURCEPROC ShaderSource = nullptr;
    PFNGLCOMPILESHADERPROC CompileShader = nullptr;
    PFNGLGETSHADERIVPROC GetShaderiv = nullptr;
    PFNGLGETSHADERINFOLOGPROC GetShaderInfoLog = nullptr;
    PFNGLDELETESHADERPROC DeleteShader = nullptr;
    PFNGLCREATEPROGRAMPROC CreateProgram = nullptr;
    PFNGLATTACHSHADERPROC AttachShader = nullptr;
    PFNGLBINDATTRIBLOCATIONPROC BindAttribLocation = nullptr;
    PFNGLLINKPROGRAMPROC LinkProgram = nullptr;
    PFNGLGETPROGRAMIVPROC GetProgramiv = nullptr;
    PFNGLGETPROGRAMINFOLOGPROC GetProgramInfoLog = nullptr;
    PFNGLDELETEPROGRAMPROC DeleteProgram = nullptr;
    PFNGLUSEPROGRAMPROC UseProgram = nullptr;
    PFNGLGETUNIFORMLOCATIONPROC GetUniformLocation = nullptr;
    PFNGLUNIFORM1IPROC Uniform1i = nullptr;
    PFNGLUNIFORM4FPROC Uniform4f = nullptr;
    PFNGLENABLEVERTEXATTRIBARRAYPROC EnableVertexAttribArray = nullptr;
    PFNGLDISABLEVERTEXATTRIBARRAYPROC DisableVertexAttribArray = nullptr;
    PFNGLVERTEXATTRIBPOINTERPROC VertexAttribPointer = nullptr;
};

extern GLApi GL;
// Whether LoadContextGLApi found an OpenGL ES context (WebGL among them).
extern bool OpenGLESContext;

// Looks up a GL function by name; null when the driver lacks it.
using GLProcLookup = void* (*)(const char* name);

// Resolves every OpenGL 1.2 to 2.0 entry point, version group by group (1.2,
// 1.3, 1.4, 1.5, 2.0), and fills GL. Returns false and names the first
// incomplete group in missingGroup when any entry point is missing.
bool LoadGLApi(GLProcLookup lookup, std::string& missingGroup);
// Resolves only the functions the renderer calls (all in OpenGL ES 2.0, which
// lacks much of desktop OpenGL 1.2 to 2.0); names group 2.0 when one is missing.
bool LoadGLESApi(GLProcLookup lookup, std::string& missingGroup);
// Whether the current context is OpenGL ES (WebGL among them), by its version string.
bool ContextIsOpenGLES();
// LoadGLESApi for an OpenGL ES context, else LoadGLApi; sets OpenGLESContext.
bool LoadContextGLApi(GLProcLookup lookup, std::string& missingGroup);
