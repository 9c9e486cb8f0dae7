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
    const D3DXMATRIX& w = node->GetMatrix(HvMatrixWorld);
    position[0] = w._41;
    position[1] = w._42;
    position[2] = w._43;
  }
  return true;
}

void HvPointLight::SetNode(HvNode* n, bool detach) {
  node = n;
  if (n && detach) n->SetGeometry(nullptr);
}

HvNode* HvPointLight::GetNode() const { return node.Get(); }
