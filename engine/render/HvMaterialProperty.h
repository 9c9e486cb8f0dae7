// Sets the fixed-function material (and the specular switch) for a subtree.
#pragma once
#include "HvMaterial.h"
#include "HvProperty.h"

class HvMaterialProperty : public HvProperty {
public:
  explicit HvMaterialProperty(HvMaterial* m = nullptr) : HvProperty(HvPropertyMaterial, HvPriorityState), material(m) {}
  bool Apply(HvNode* node) override;
  bool Restore(HvNode* node) override;
  HvProperty* Clone() const override;  // with its own copy of the material

  HvRef<HvMaterial> material;
  HvRef<HvMaterial> previous;  // the material in force before Apply
};
