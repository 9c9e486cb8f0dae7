// Clears the render target and/or the depth buffer when a node applies it; restores nothing.
#pragma once
#include "HvProperty.h"

class HvClearProperty : public HvProperty {
public:
  HvClearProperty() : HvProperty(HvPropertyClear, HvPriorityState) {}
  bool Apply(HvNode* node) override;

  uint32_t flags = 0;                   // D3DCLEAR_* bits
  float color[4] = {1, 1, 1, 1};        // r, g, b, a
  float depth = 1.0f;
  uint32_t stencil = 0;
};
