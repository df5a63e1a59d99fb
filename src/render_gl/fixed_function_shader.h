#pragma once
// The GLSL program that stands in for Direct3D 8's fixed-function pipeline:
// per-vertex lighting in view space with Direct3D's formula, one texture stage
// modulating the lit colour, specular added after texturing.

#include <string>

namespace vantrel::render_gl {

inline constexpr int kMaxLights = 8;

// Vertex attribute slots.
inline constexpr unsigned kPositionSlot = 0;
inline constexpr unsigned kNormalSlot = 1;
inline constexpr unsigned kTexCoordSlot = 2;

// Builds and links the program; flat selects flat shading (first vertex's
// colour). Raises GlError with the compiler's log when it does not build.
unsigned buildFixedFunctionProgram(bool flat);

}  // namespace vantrel::render_gl
