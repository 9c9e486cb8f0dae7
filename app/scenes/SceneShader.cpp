#include "SceneShader.h"
#include "../../engine/core/HvCore.h"

HvVertexShaderProperty* CreateShaderProperty(const char* name, const char* text, uint32_t vertexFormat,
                                             const ShaderBinding* bindings, size_t count) {
  HvVertexShader* shader = static_cast<HvVertexShader*>(HvCore::GetInstance()->GetPool(HvPoolVertexShader)->FindByName(name));
  if (!shader) {
    shader = new HvVertexShader(name, {text, vertexFormat});  // the pool holds it
    shader->Refresh();
  }
  auto* property = new HvVertexShaderProperty(shader);
  for (size_t i = 0; i < count; ++i) property->AddNodeConstant(bindings[i].firstRegister, bindings[i].selector);
  return property;
}

HvAlphaProperty* CreateAlphaProperty(uint32_t bucket, uint32_t srcBlend, uint32_t destBlend) {
  auto* a = new HvAlphaProperty;
  a->bucket = bucket;
  a->blendOp = D3DBLENDOP_ADD;
  a->srcBlend = srcBlend;
  a->destBlend = destBlend;
  return a;
}
