// Turns its node to face the current camera while the node is drawn.
#pragma once
#include "HvProperty.h"
#include <d3dx9.h>

class HvBillboardProperty : public HvProperty {
public:
  HvBillboardProperty();
  bool Apply(HvNode* node) override;
  bool Restore(HvNode* node) override;

  bool active = false;       // between Apply and Restore
  D3DXMATRIX savedLocal;     // the node's own Local matrix, put back by Restore
};
