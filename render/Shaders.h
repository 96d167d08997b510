#pragma once

#include <string_view>

// GLSL sources of the four programs. They declare version 130 yet use the
// older attribute/varying words, so they need a compatibility context; past
// the version line they are GLSL ES 1.00 as well (OpenGL ES, WebGL 1).
namespace shader_source {

extern const std::string_view TextureVertex;
extern const std::string_view TextureFragment;
extern const std::string_view TwoTexturesVertex;
extern const std::string_view TwoTexturesFragment;
extern const std::string_view ScrollMaskFragment;
extern const std::string_view SolidVertex;
extern const std::string_view SolidFragment;

} // namespace shader_source
