#include "HvMaterialProperty.h"
#include "HvDevice.h"
#include <algorithm>

bool HvMaterialProperty::Apply(HvNode*) {
  if (!Device().SetMaterial(material.Get())) return false;
  HvRenderRegisters& r = Registers();
  previous = r.material;
  r.material = material;
  return true;
}

bool HvMaterialProperty::Restore(HvNode*) {
  if (!Device().SetMaterial(previous.Get())) return false;  // none before: all zero, specular off
  Registers().material = previous;
  previous.Reset();
  return true;
}

HvProperty* HvMaterialProperty::Clone() const {
  HvMaterial* m = new HvMaterial;
  if (material) {
    std::copy(material->color, material->color + 4, m->color);
    std::copy(material->specular, material->specular + 4, m->specular);
    m->power = material->power;
  }
  return new HvMaterialProperty(m);
}
