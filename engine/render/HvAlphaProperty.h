// Alpha blending for a subtree. With a bucket (0..6) the node is not drawn in tree order: it is
// handed to the alpha collector of the pass, which draws it after the opaque geometry.
#pragma once
#include "HvProperty.h"
#include <d3d9.h>

class HvAlphaProperty : public HvProperty {
public:
  static const uint32_t NoBucket = 0xFFFFFFFF;

  HvAlphaProperty() : HvProperty(HvPropertyAlpha, HvPriorityState) {}
  bool Apply(HvNode* node) override;
  bool Restore(HvNode* node) override;
  bool HasBucket() const { return bucket != NoBucket; }

  uint32_t bucket = NoBucket;                  // collector bucket, drawn in ascending order
  uint32_t blendOp = D3DBLENDOP_ADD;           // D3DBLENDOP
  uint32_t srcBlend = D3DBLEND_SRCALPHA;       // D3DBLEND
  uint32_t destBlend = D3DBLEND_INVSRCALPHA;   // D3DBLEND
  HvRef<HvAlphaProperty> previous;             // the alpha property in force before Apply
};
