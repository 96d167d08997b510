#include "render/GLApi.h"

GLApi GL;

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

template <typename Function>
void resolve(GLProcLookup lookup, Function& function, const char* name)
{
    function = reinterpret_cast<Function>(lookup(name));
}

} // namespace

bool LoadGLApi(GLProcLookup lookup, std::string& missingGroup)
{
    if (!allEntryPointsResolve(lookup, missingGroup))
        return false;
    resolve(lookup, GL.ActiveTexture, "glActiveTexture");
    resolve(lookup, GL.GenBuffers, "glGenBuffers");
    resolve(lookup, GL.BindBuffer, "glBindBuffer");
    resolve(lookup, GL.BufferData, "glBufferData");
    resolve(lookup, GL.DeleteBuffers, "glDeleteBuffers");
    resolve(lookup, GL.CreateShader, "glCreateShader");
    resolve(lookup, GL.ShaderSource, "glShaderSource");
    resolve(lookup, GL.CompileShader, "glCompileShader");
    resolve(lookup, GL.GetShaderiv, "glGetShaderiv");
    resolve(lookup, GL.GetShaderInfoLog, "glGetShaderInfoLog");
    resolve(lookup, GL.DeleteShader, "glDeleteShader");
    resolve(lookup, GL.CreateProgram, "glCreateProgram");
    resolve(lookup, GL.AttachShader, "glAttachShader");
    resolve(lookup, GL.BindAttribLocation, "glBindAttribLocation");
    resolve(lookup, GL.LinkProgram, "glLinkProgram");
    resolve(lookup, GL.GetProgramiv, "glGetProgramiv");
    resolve(lookup, GL.GetProgramInfoLog, "glGetProgramInfoLog");
    resolve(lookup, GL.DeleteProgram, "glDeleteProgram");
    resolve(lookup, GL.UseProgram, "glUseProgram");
    resolve(lookup, GL.GetUniformLocation, "glGetUniformLocation");
    resolve(lookup, GL.Uniform1i, "glUniform1i");
    resolve(lookup, GL.Uniform4f, "glUniform4f");
    resolve(lookup, GL.EnableVertexAttribArray, "glEnableVertexAttribArray");
    resolve(lookup, GL.DisableVertexAttribArray, "glDisableVertexAttribArray");
    resolve(lookup, GL.VertexAttribPointer, "glVertexAttribPointer");
    return true;
}
