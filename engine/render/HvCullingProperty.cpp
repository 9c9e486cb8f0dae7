#include "HvCullingProperty.h"
#include "HvDevice.h"

bool HvCullingProperty::Apply(HvNode*) {
  HvRenderRegisters& r = Registers();
  const uint32_t inForce = r.culling ? r.culling->cullMode : uint32_t(D3DCULL_CCW);  // the device default
  if (cullMode != inForce && !Device().SetRenderState(D3DRS_CULLMODE, cullMode)) return false;
  previous = r.culling;
  r.culling = this;
  return true;
}

bool HvCullingProperty::Restore(HvNode*) {
  HvDevice& d = Device();
  if (!previous) {
    if (!d.SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW)) return false;
  } else if (previous->cullMode != cullMode && !d.SetRenderState(D3DRS_CULLMODE, previous->cullMode)) {
    return false;
  }
  Registers().culling = previous;
  previous.Reset();
  return true;
}
