#include "HvZBufferProperty.h"
#include "HvDevice.h"

D3DCMPFUNC HvZBufferProperty::DepthFunction() const {
  if (!depthTest) return D3DCMP_ALWAYS;
  return strictLess ? D3DCMP_LESS : D3DCMP_LESSEQUAL;
}

bool HvZBufferProperty::Apply(HvNode*) {
  HvDevice& d = Device();
  if (!d.SetRenderState(D3DRS_ZWRITEENABLE, depthWrite) || !d.SetRenderState(D3DRS_ZFUNC, DepthFunction()))
    return false;
  HvRenderRegisters& r = Registers();
  previous = r.zBuffer;
  r.zBuffer = this;
  return true;
}

bool HvZBufferProperty::Restore(HvNode*) {
  HvDevice& d = Device();
  const bool write = previous ? previous->depthWrite : true;
  const D3DCMPFUNC func = previous ? previous->DepthFunction() : D3DCMP_LESSEQUAL;
  if (!d.SetRenderState(D3DRS_ZWRITEENABLE, write) || !d.SetRenderState(D3DRS_ZFUNC, func)) return false;
  Registers().zBuffer = previous;
  previous.Reset();
  return true;
}
