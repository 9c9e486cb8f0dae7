// A point light with a linear attenuation; it can take its position from a node's World matrix.
#pragma once
#include "HvLight.h"

class HvNode;

class HvPointLight : public HvLight {
public:
  HvPointLight();
  ~HvPointLight() override;

  D3DLIGHT9& GetD3DLight(D3DLIGHT9& out) const override;
  bool Prepare() override;  // position from the node, if one is set

  // With detach, the node's geometry is dropped: the node only marks a place.
  void SetNode(HvNode* node, bool detach);
  HvNode* GetNode() const;

  float position[4] = {0, 0, 0, 0};  // x, y, z used
  float range = 1.0f;
  float attenuation = 1.0f;          // linear attenuation

private:
  HvRef<HvNode> node;
};
