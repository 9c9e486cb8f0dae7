// Binds a vertex shader for a subtree and feeds its constant registers: fixed values and caller-owned
// data when the property is applied, per-node values (matrices, camera, material, lights) just before
// each node's geometry is drawn. A nested property with the shader already bound does not bind it
// again; its Restore only unwinds the nesting count.
#pragma once
#include "HvProperty.h"
#include "../assets/HvVertexShader.h"
#include <cstdint>
#include <vector>

// What a per-node constant holds. Light values add the light bit of light n (HvLightBit << n).
enum HvNodeConstant : uint32_t {
  HvConstWorldViewProjection = 0,  // 4 registers, transposed
  HvConstInverseWorld = 1,         // 4 registers, transposed
  HvConstWorld = 2,                // 4 registers, transposed
  HvConstViewProjection = 3,       // 4 registers, transposed
  HvConstEye = 4,                  // camera eye (x, y, z, 1)
  HvConstBackVector = 5,           // unit vector from target to eye (x, y, z, 1)
  HvConstEyeObject = 6,            // the eye in object space
  HvConstBackVectorObject = 7,     // the back vector in object space, unit length
  HvConstMaterialColor = 8,
  HvConstMaterialSpecular = 9,
  HvConstMaterialPower = 10,       // in all four components
  HvConstAmbient = 11,             // of the lighting property in force
  HvConstLightPosition = 12,       // point lights
  HvConstLightPositionObject = 13, // point lights, object space
  HvConstLightDirection = 14,      // directional lights
  HvConstLightDirectionObject = 15,// directional lights, object space, unit length
  HvConstLightColor = 16,
  HvConstLightAttenuation = 17,    // (0, attenuation / range, 0, 0) of a point light
};
const uint32_t HvLightBit = 0x200;  // light 0; light n is HvLightBit << n, n = 0..7

struct HvShaderConstant {
  enum Type : uint32_t { Value = 0, Data = 1, Node = 3 };
  uint32_t type;
  uint32_t firstRegister;
  float value[4];        // Value
  const float* data;     // Data: caller-owned, read at every Apply
  uint32_t registerCount;
  uint32_t selector;     // Node: HvNodeConstant, plus a light bit for light values
};

class HvNode;

class HvVertexShaderProperty : public HvProperty {
public:
  explicit HvVertexShaderProperty(HvVertexShader* shader);

  bool Apply(HvNode* node) override;
  bool Restore(HvNode* node) override;
  HvProperty* Clone() const override;  // same shader, copied constants (Data keeps its pointer)

  void AddConstantValue(uint32_t firstRegister, const float value[4]);
  void AddConstantData(uint32_t firstRegister, const float* data, uint32_t registerCount);
  void AddNodeConstant(uint32_t firstRegister, uint32_t selector);

  // Sets the per-node constants of the vertex-shader property in force for `node`'s geometry.
  // False when a value cannot be computed or the device refuses it.
  static bool SetNodeConstants(HvNode* node);

  HvVertexShader* GetShader() const { return shader.Get(); }
  const std::vector<HvShaderConstant>& GetConstants() const { return constants; }
  uint32_t GetNesting() const { return nesting; }

private:
  HvRef<HvVertexShader> shader;
  HvRef<HvVertexShader> previousShader;
  HvRef<HvVertexShaderProperty> previousProperty;
  std::vector<HvShaderConstant> constants;
  uint32_t nesting = 0;  // Applies that found the shader already bound, not yet restored
};
