// A directional light: colour and direction only.
#pragma once
#include "HvLight.h"

class HvDirectionalLight : public HvLight {
public:
  HvDirectionalLight() : HvLight(Directional) {}
  D3DLIGHT9& GetD3DLight(D3DLIGHT9& out) const override;

  float direction[4] = {0, 1, 0, 1};  // x, y, z used
};
