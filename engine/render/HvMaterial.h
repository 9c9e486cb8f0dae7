// A surface's colours: the colour serves as diffuse and ambient. Shared by material properties.
#pragma once
#include "../core/HvObject.h"

class HvMaterial : public HvRefCount {
public:
  float color[4] = {0, 0, 0, 1};     // r, g, b, a
  float specular[4] = {0, 0, 0, 1};
  float power = 0;                   // 0: no specular highlight
};
