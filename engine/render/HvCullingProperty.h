// The cull mode for a subtree; written only when it differs from the one in force.
#pragma once
#include "HvProperty.h"
#include <d3d9.h>

class HvCullingProperty : public HvProperty {
public:
  explicit HvCullingProperty(uint32_t mode = D3DCULL_NONE) : HvProperty(HvPropertyCulling, HvPriorityState), cullMode(mode) {}
  bool Apply(HvNode* node) override;
  bool Restore(HvNode* node) override;

  uint32_t cullMode;                       // D3DCULL
  HvRef<HvCullingProperty> previous;       // the culling property in force before Apply
};
