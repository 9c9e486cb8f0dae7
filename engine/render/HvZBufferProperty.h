// Depth writes and the depth test for a subtree. Both states are always written, no comparison.
#pragma once
#include "HvProperty.h"
#include <d3d9.h>

class HvZBufferProperty : public HvProperty {
public:
  HvZBufferProperty() : HvProperty(HvPropertyZBuffer, HvPriorityState) {}
  bool Apply(HvNode* node) override;
  bool Restore(HvNode* node) override;

  // D3DCMP_ALWAYS without depth test, else D3DCMP_LESS or D3DCMP_LESSEQUAL.
  D3DCMPFUNC DepthFunction() const;

  bool depthWrite = true;
  bool depthTest = true;
  uint32_t strictLess = 0;                 // used as bool: LESS instead of LESSEQUAL
  HvRef<HvZBufferProperty> previous;       // the z-buffer property in force before Apply
};
