#include "render/GLApi.h"

#include <cstring>

GLApi GL;
bool OpenGLESContext = false;

namespace {

bool allEntryPointsResolve(GLProcLookup lookup, std::string& missingGroup)
{
#define QUAVERO_GL_ENTRY(group, name)                                                                                  \
    if (!lookup(#name)) {                                                                                              \
        missingGroup = #group;                                                                                         \
        return false;                                                                                                  \
    }
#include "render/GLEntryPoints.inc"
#undef QUAVERO_GL_ENTRY
    return true;
}

// Returns whether the function was found.
template <typename Function>
bool resolve(GLProcLookup lookup, Function& function, const char* name)
{
    function = reinterpret_cast<Function>(lookup(name));
    return function != nullptr;
}

// Every function the renderer calls through GL; each is in OpenGL 2.0 and OpenGL ES 2.0 alike.
bool resolveRendererFunctions(GLProcLookup lookup, std::string& missingGroup)
{
    bool found = true;
    found &= resolve(lookup, GL.ActiveTexture, "glActiveTexture");
    found &= resolve(lookup, GL.GenBuffers, "glGenBuffers");
    found &= resolve(lookup, GL.BindBuffer, "glBindBuffer");
    found &= resolve(lookup, GL.BufferData, "glBufferData");
    found &= resolve(lookup, GL.DeleteBuffers, "glDeleteBuffers");
    found &= resolve(lookup, GL.CreateShader, "glCreateShader");
    found &= resolve(lookup, GL.ShaderSource, "glShaderSource");
    found &= resolve(lookup, GL.CompileShader, "glCompileShader");
    found &= resolve(lookup, GL.GetShaderiv, "glGetShaderiv");
    found &= resolve(lookup, GL.GetShaderInfoLog, "glGetShaderInfoLog");
    found &= resolve(lookup, GL.DeleteShader, "glDeleteShader");
    found &= resolve(lookup, GL.CreateProgram, "glCreateProgram");
    found &= resolve(lookup, GL.AttachShader, "glAttachShader");
    found &= resolve(lookup, GL.BindAttribLocation, "glBindAttribLocation");
    found &= resolve(lookup, GL.LinkProgram, "glLinkProgram");
    found &= resolve(lookup, GL.GetProgramiv, "glGetProgramiv");
    found &= resolve(lookup, GL.GetProgramInfoLog, "glGetProgramInfoLog");
    found &= resolve(lookup, GL.DeleteProgram, "glDeleteProgram");
    found &= resolve(lookup, GL.UseProgram, "glUseProgram");
    found &= resolve(lookup, GL.GetUniformLocation, "glGetUniformLocation");
    found &= resolve(lookup, GL.Uniform1i, "glUniform1i");
    found &= resolve(lookup, GL.Uniform4f, "glUniform4f");
    found &= resolve(lookup, GL.EnableVertexAttribArray, "glEnableVertexAttribArray");
    found &= resolve(lookup, GL.DisableVertexAttribArray, "glDisableVertexAttribArray");
    found &= resolve(lookup, GL.VertexAttribPointer, "glVertexAttribPointer");
    if (!found)
        missingGroup = "2.0";
    return found;
}

} // namespace

bool LoadGLApi(GLProcLookup lookup, std::string& missingGroup)
{
    return allEntryPointsResolve(lookup, missingGroup) && resolveRendererFunctions(lookup, missingGroup);
}

bool LoadGLESApi(GLProcLookup lookup, std::string& missingGroup) { return resolveRendererFunctions(lookup, missingGroup); }

bool ContextIsOpenGLES()
{
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return version != nullptr && std::strncmp(version, "OpenGL ES", 9) == 0;
}

bool LoadContextGLApi(GLProcLookup lookup, std::string& missingGroup)
{
    OpenGLESContext = ContextIsOpenGLES();
    return OpenGLESContext ? LoadGLESApi(lookup, missingGroup) : LoadGLApi(lookup, missingGroup);
}
