#include "HvPointLight.h"
#include "HvNode.h"

HvPointLight::HvPointLight() : HvLight(Point) {}
HvPointLight::~HvPointLight() = default;

D3DLIGHT9& HvPointLight::GetD3DLight(D3DLIGHT9& out) const {
  out = D3DLIGHT9();
  out.Type = D3DLIGHT_POINT;
  out.Diffuse = {color[0], color[1], color[2], color[3]};
  out.Position = {position[0], position[1], position[2]};
  out.Range = range;
  out.Attenuation1 = attenuation;
  return out;
}

bool HvPointLight::Prepare() {
  if (node) {
    const D3DXVECTOR3 p = node->GetWorldPosition();
    position[0] = p.x;
    position[1] = p.y;
    position[2] = p.z;
  }
  return true;
}

void HvPointLight::SetNode(HvNode* n, bool detach) {
  node = n;
  if (n && detach) n->SetGeometry(nullptr);
}

HvNode* HvPointLight::GetNode() const { return node.Get(); }
