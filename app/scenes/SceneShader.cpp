#include "SceneShader.h"
#include "../../engine/core/HvCore.h"
#include <cassert>

uint32_t BoundRegisters(const ShaderBinding& binding) {
  if (binding.selector == SceneValue || binding.selector == SceneData) return binding.registerCount;
  return (binding.selector & 0xFF) <= HvConstViewProjection ? 4 : 1;
}

HvVertexShaderProperty* CreateShaderProperty(const SceneShader& desc, std::initializer_list<const float*> sceneValues) {
  HvVertexShader* shader = static_cast<HvVertexShader*>(HvCore::GetInstance()->GetPool(HvPoolVertexShader)->FindByName(desc.name));
  if (!shader) {
    shader = new HvVertexShader(desc.name, {desc.text, desc.vertexFormat});  // the pool holds it
    shader->Refresh();
  }
  auto* property = new HvVertexShaderProperty(shader);
  const float* const* values = sceneValues.begin();
  for (size_t i = 0; i < desc.bindingCount; ++i) {
    const ShaderBinding& b = desc.bindings[i];
    if (b.selector != SceneValue && b.selector != SceneData) {
      property->AddNodeConstant(b.firstRegister, b.selector);
      continue;
    }
    assert(values != sceneValues.end() && "a value for every row the scene fills");
    if (values == sceneValues.end()) continue;
    const float* v = *values++;
    if (b.selector == SceneData) property->AddConstantData(b.firstRegister, v, b.registerCount);
    else
      for (uint32_t r = 0; r < b.registerCount; ++r) property->AddConstantValue(b.firstRegister + r, v + 4 * r);
  }
  assert(values == sceneValues.end() && "no value without its row");
  return property;
}

bool ShaderMade(const HvVertexShaderProperty* property) {
  return property->GetShader() && !property->GetShader()->HasFlag(HvFlags::Changed);
}

HvAlphaProperty* CreateAlphaProperty(uint32_t bucket, uint32_t srcBlend, uint32_t destBlend) {
  auto* a = new HvAlphaProperty;
  a->bucket = bucket;
  a->blendOp = D3DBLENDOP_ADD;
  a->srcBlend = srcBlend;
  a->destBlend = destBlend;
  return a;
}
