#include "HvLightingProperty.h"
#include "HvDevice.h"

bool HvLightingProperty::SendLights(const HvLightingProperty& p, bool prepare) {
  HvDevice& d = Device();
  if (!d.SetRenderState(D3DRS_AMBIENT, ToD3DColor(p.ambient))) return false;
  const uint32_t count = uint32_t(p.lights.size());
  for (uint32_t i = 0; i < count; ++i) {
    if (prepare && !p.lights[i]->Prepare()) return false;
    if (!d.SetLight(i, p.lights[i].Get(), true)) return false;
  }
  // Lights left on by a property with more lights would otherwise shine on this subtree too.
  uint32_t& enabled = Registers().enabledLights;
  for (uint32_t i = count; i < enabled; ++i)
    if (!d.SetLight(i, nullptr, false)) return false;
  enabled = count;
  return true;
}

bool HvLightingProperty::Apply(HvNode*) {
  HvRenderRegisters& r = Registers();
  if (!r.lighting && !Device().SetRenderState(D3DRS_LIGHTING, TRUE)) return false;
  if (!SendLights(*this, true)) return false;
  previous = r.lighting;
  r.lighting = this;
  return true;
}

bool HvLightingProperty::Restore(HvNode*) {
  if (previous) {
    if (!SendLights(*previous, false)) return false;
  } else if (!Device().SetRenderState(D3DRS_LIGHTING, FALSE)) {
    return false;
  }
  Registers().lighting = previous;
  previous.Reset();
  return true;
}
