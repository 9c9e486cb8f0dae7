#include "HvDirectionalLight.h"

D3DLIGHT9& HvDirectionalLight::GetD3DLight(D3DLIGHT9& out) const {
  out = D3DLIGHT9();
  out.Type = D3DLIGHT_DIRECTIONAL;
  out.Diffuse = {color[0], color[1], color[2], color[3]};
  out.Direction = {direction[0], direction[1], direction[2]};
  return out;
}
