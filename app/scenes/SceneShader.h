// Property set-up shared by the scenes: a vertex shader of the show (its text, vertex format and the
// table of what feeds its constant registers) becomes one vertex-shader property; blending into a
// collector bucket.
#pragma once
#include "../../engine/render/HvAlphaProperty.h"
#include "../../engine/render/HvVertexShaderProperty.h"
#include <cstddef>
#include <cstdint>
#include <initializer_list>

// Selectors of the registers that the scene fills itself when it makes the property, in table order:
enum SceneConstant : uint32_t {
  SceneValue = 0x80000000u,  // floats copied into the property (fixed for its lifetime)
  SceneData,                 // floats the scene owns and changes, read at every Apply
};

// One row of a shader's register table: what feeds the registers from firstRegister on.
struct ShaderBinding {
  uint32_t firstRegister;
  uint32_t selector;           // HvNodeConstant (plus HvLightBit << n for light n), or a SceneConstant
  uint32_t registerCount = 0;  // SceneValue, SceneData: registers of four floats; 0 for per-node values
};

// The registers a row fills: its count for the scene's own values, 4 for a matrix, else 1.
uint32_t BoundRegisters(const ShaderBinding& binding);

// A vertex shader of the show as a scene binds it. The register numbers of the table are those the
// text names with its #define lines.
struct SceneShader {
  const char* name;                // the key of the core's vertex-shader pool
  const char* text;                // vs_1_1 assembly, embedded from app/shaders/<name>.vsh
  uint32_t vertexFormat;           // D3DFVF_* bits of the vertices it reads
  const ShaderBinding* bindings;
  size_t bindingCount;
};

// The shader registered under shader.name (made from its text and assembled the first time), wrapped
// in a new property with the table's bindings in table order. The rows the scene fills take their
// floats from sceneValues, one pointer per such row in table order (4 floats a register). An assembly
// failure has shown its message box; the property then binds a shader that was not made.
HvVertexShaderProperty* CreateShaderProperty(const SceneShader& shader, std::initializer_list<const float*> sceneValues = {});

// True when the property's shader was made: its text assembled and the device accepted it.
bool ShaderMade(const HvVertexShaderProperty* property);

// Blending (D3DBLENDOP_ADD of the two D3DBLEND factors) drawn by the alpha collector in `bucket`.
HvAlphaProperty* CreateAlphaProperty(uint32_t bucket, uint32_t srcBlend, uint32_t destBlend);
