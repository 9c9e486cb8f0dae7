// A light as the fixed-function pipeline sees it; the point and directional lights derive from it.
// A lighting property hands light i of its list to the device's light index i.
#pragma once
#include "../core/HvObject.h"
#include <d3d9.h>

class HvLight : public HvRefCount {
public:
  enum Type : uint32_t { Directional = 0, Point = 1 };

  explicit HvLight(Type type) : type(type) {}
  virtual D3DLIGHT9& GetD3DLight(D3DLIGHT9& out) const { out = D3DLIGHT9(); return out; }
  virtual bool Prepare() { return true; }  // called before the light is sent

  Type GetType() const { return type; }
  float color[4] = {1, 1, 1, 1};  // r, g, b, a: the diffuse colour

private:
  Type type;
};
