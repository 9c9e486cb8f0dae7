// Property set-up shared by the scenes: a vs_1_1 text, its vertex format and the table of per-node
// constants that feed its registers become one vertex-shader property; blending into a collector bucket.
#pragma once
#include "../../engine/render/HvAlphaProperty.h"
#include "../../engine/render/HvVertexShaderProperty.h"
#include <cstddef>
#include <cstdint>

// One row of a shader's register table: the per-node value (HvNodeConstant, plus HvLightBit << n for
// light n) written to the registers from firstRegister on (4 of them for a matrix).
struct ShaderBinding {
  uint32_t firstRegister;
  uint32_t selector;
};

// The shader registered under `name` (made from `text` and assembled the first time), wrapped in a
// new property with the table's bindings in table order. An assembly failure has shown its message
// box; the property then binds no shader.
HvVertexShaderProperty* CreateShaderProperty(const char* name, const char* text, uint32_t vertexFormat,
                                             const ShaderBinding* bindings, size_t count);

template <size_t N>
HvVertexShaderProperty* CreateShaderProperty(const char* name, const char* text, uint32_t vertexFormat,
                                             const ShaderBinding (&bindings)[N]) {
  return CreateShaderProperty(name, text, vertexFormat, bindings, N);
}

// Blending (D3DBLENDOP_ADD of the two D3DBLEND factors) drawn by the alpha collector in `bucket`.
HvAlphaProperty* CreateAlphaProperty(uint32_t bucket, uint32_t srcBlend, uint32_t destBlend);
