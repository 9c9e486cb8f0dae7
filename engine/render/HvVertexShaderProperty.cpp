#include "HvVertexShaderProperty.h"
#include "HvCamera.h"
#include "HvDevice.h"
#include "HvDirectionalLight.h"
#include "HvLightingProperty.h"
#include "HvNode.h"
#include "HvPointLight.h"
#include <d3dx9.h>

HvVertexShaderProperty::HvVertexShaderProperty(HvVertexShader* shader)
    : HvProperty(HvPropertyVertexShader, HvPriorityShader), shader(shader) {}

void HvVertexShaderProperty::AddConstantValue(uint32_t firstRegister, const float value[4]) {
  HvShaderConstant c = {HvShaderConstant::Value, firstRegister, {value[0], value[1], value[2], value[3]}, nullptr, 1, 0};
  constants.push_back(c);
}

void HvVertexShaderProperty::AddConstantData(uint32_t firstRegister, const float* data, uint32_t registerCount) {
  constants.push_back({HvShaderConstant::Data, firstRegister, {}, data, registerCount, 0});
}

void HvVertexShaderProperty::AddNodeConstant(uint32_t firstRegister, uint32_t selector) {
  const uint32_t count = (selector & 0xFF) <= HvConstViewProjection ? 4 : 1;
  constants.push_back({HvShaderConstant::Node, firstRegister, {}, nullptr, count, selector});
}

HvProperty* HvVertexShaderProperty::Clone() const {
  HvVertexShaderProperty* p = new HvVertexShaderProperty(shader.Get());
  p->constants = constants;
  return p;
}

bool HvVertexShaderProperty::Apply(HvNode*) {
  HvRenderRegisters& r = Registers();
  HvDevice& d = Device();
  if (shader.Get() != r.vertexShader.Get()) {
    if (!d.SetVertexShader(shader.Get())) return false;
    previousShader = r.vertexShader;
    r.vertexShader = shader;
    previousProperty = r.vertexShaderProperty;
    r.vertexShaderProperty = this;
  } else {
    ++nesting;  // the enclosing property stays in force and supplies the per-node constants
  }
  for (const HvShaderConstant& c : constants) {
    if (c.type == HvShaderConstant::Value && !d.SetVertexShaderConstant(c.firstRegister, c.value, c.registerCount)) return false;
    if (c.type == HvShaderConstant::Data && !d.SetVertexShaderConstant(c.firstRegister, c.data, c.registerCount)) return false;
  }
  return true;
}

bool HvVertexShaderProperty::Restore(HvNode*) {
  if (nesting > 0) {
    --nesting;
    return true;
  }
  HvRenderRegisters& r = Registers();
  if (!Device().SetVertexShader(previousShader.Get())) return false;
  r.vertexShader = previousShader;
  r.vertexShaderProperty = previousProperty;
  // Let go of the enclosing objects: two properties that nest either way round would otherwise
  // hold each other for ever.
  previousShader.Reset();
  previousProperty.Reset();
  return true;
}

namespace {
// The light chosen by the lowest light bit of a selector, if it exists and has the wanted type.
const HvLight* SelectLight(const HvRenderRegisters& r, uint32_t selector, const HvLight::Type* wanted) {
  const HvLightingProperty* lighting = r.lighting.Get();
  for (uint32_t n = 0; n < 8; ++n) {
    if (!(selector & (HvLightBit << n))) continue;
    if (!lighting || n >= lighting->lights.size()) return nullptr;
    const HvLight* light = lighting->lights[n].Get();
    return light && (!wanted || light->GetType() == *wanted) ? light : nullptr;
  }
  return nullptr;
}

void Set4(float out[4], float x, float y, float z, float w) {
  out[0] = x, out[1] = y, out[2] = z, out[3] = w;
}

// Without a material or lighting property in force the device's values are all zero; so are these.
void Copy4(float out[4], const float* from) {
  static const float zero[4] = {0, 0, 0, 0};
  if (!from) from = zero;
  Set4(out, from[0], from[1], from[2], from[3]);
}

// Computes the value of one per-node constant into out (16 floats for matrices, else 4).
bool Compute(const HvRenderRegisters& r, HvNode* node, uint32_t selector, float out[16]) {
  const uint32_t what = selector & 0xFF;
  const D3DXMATRIX& world = node->GetMatrix(HvMatrixWorld);
  const HvCamera* camera = r.camera.Get();
  D3DXMATRIX m, inverseWorld;
  const bool needsCamera = what <= HvConstBackVectorObject && what != HvConstInverseWorld && what != HvConstWorld;
  if (needsCamera && !camera) return false;
  const bool needsInverse = what == HvConstInverseWorld || what == HvConstEyeObject || what == HvConstBackVectorObject ||
                            what == HvConstLightPositionObject || what == HvConstLightDirectionObject;
  if (needsInverse && !D3DXMatrixInverse(&inverseWorld, nullptr, &world)) return false;
  const HvMaterial* material = r.material.Get();
  const HvLight::Type point = HvLight::Point, directional = HvLight::Directional;
  D3DXVECTOR4 v;
  switch (what) {
    case HvConstWorldViewProjection: D3DXMatrixMultiply(&m, &world, &camera->GetViewProjection()); break;
    case HvConstInverseWorld: m = inverseWorld; break;
    case HvConstWorld: m = world; break;
    case HvConstViewProjection: m = camera->GetViewProjection(); break;
    case HvConstEye:
    case HvConstBackVector:
    case HvConstEyeObject:
    case HvConstBackVectorObject: {
      const D3DXVECTOR3& e = camera->GetVector(what == HvConstEye || what == HvConstEyeObject ? HvCamera::Eye : HvCamera::BackVector);
      v = D3DXVECTOR4(e.x, e.y, e.z, what == HvConstBackVectorObject ? 0.0f : 1.0f);
      if (what == HvConstEyeObject || what == HvConstBackVectorObject) D3DXVec4Transform(&v, &v, &inverseWorld);
      if (what == HvConstBackVectorObject) D3DXVec4Normalize(&v, &v);
      Set4(out, v.x, v.y, v.z, v.w);
      return true;
    }
    case HvConstMaterialColor: Copy4(out, material ? material->color : nullptr); return true;
    case HvConstMaterialSpecular:
      // The shaders light with `lit`, whose highlight term is pow(N.H, power): at power 0 that is 1,
      // a flat highlight of the full specular colour. A material of power 0 has no highlight, so its
      // specular colour goes out black (alpha kept).
      Copy4(out, material ? material->specular : nullptr);
      if (material && !(material->power > 0)) out[0] = out[1] = out[2] = 0;
      return true;
    case HvConstMaterialPower: {
      const float p = material ? material->power : 0.0f;
      Set4(out, p, p, p, p);
      return true;
    }
    case HvConstAmbient: Copy4(out, r.lighting ? r.lighting->ambient : nullptr); return true;
    case HvConstLightPosition:
    case HvConstLightPositionObject:
    case HvConstLightAttenuation: {
      const HvPointLight* light = static_cast<const HvPointLight*>(SelectLight(r, selector, &point));
      if (!light) return false;
      if (what == HvConstLightAttenuation) {
        Set4(out, 0, 1.0f / light->range * light->attenuation, 0, 0);
        return true;
      }
      // A position: in object space the translation of World counts too (w = 1).
      v = D3DXVECTOR4(light->position[0], light->position[1], light->position[2], what == HvConstLightPosition ? 0.0f : 1.0f);
      if (what == HvConstLightPositionObject) D3DXVec4Transform(&v, &v, &inverseWorld);
      Set4(out, v.x, v.y, v.z, what == HvConstLightPosition ? 0.0f : v.w);
      return true;
    }
    case HvConstLightDirection:
    case HvConstLightDirectionObject: {
      const HvDirectionalLight* light = static_cast<const HvDirectionalLight*>(SelectLight(r, selector, &directional));
      if (!light) return false;
      v = D3DXVECTOR4(light->direction[0], light->direction[1], light->direction[2], 0);
      if (what == HvConstLightDirectionObject) {
        D3DXVec4Transform(&v, &v, &inverseWorld);
        D3DXVec4Normalize(&v, &v);
      }
      Set4(out, v.x, v.y, v.z, v.w);
      return true;
    }
    case HvConstLightColor: {
      const HvLight* light = SelectLight(r, selector, nullptr);
      if (!light) return false;
      Copy4(out, light->color);
      return true;
    }
    default: return false;
  }
  D3DXMatrixTranspose(reinterpret_cast<D3DXMATRIX*>(out), &m);  // four rows for four dp4
  return true;
}
}

bool HvVertexShaderProperty::SetNodeConstants(HvNode* node) {
  HvRenderRegisters& r = Registers();
  const HvVertexShaderProperty* p = r.vertexShaderProperty.Get();
  if (!p || !node->GetGeometry()) return true;
  for (const HvShaderConstant& c : p->constants) {
    if (c.type != HvShaderConstant::Node) continue;
    float value[16];
    if (!Compute(r, node, c.selector, value)) return false;
    if ((c.registerCount == 1 || c.registerCount == 4) && !Device().SetVertexShaderConstant(c.firstRegister, value, c.registerCount))
      return false;
  }
  return true;
}
