#include "HvAlphaProperty.h"
#include "HvAlphaCollector.h"
#include "HvDevice.h"
#include "HvNode.h"
#include "../core/HvCore.h"

// Writes the blend states that differ from the reference property (all three without one).
static bool WriteBlend(HvDevice& d, const HvAlphaProperty& p, const HvAlphaProperty* reference) {
  const D3DRENDERSTATETYPE states[3] = {D3DRS_BLENDOP, D3DRS_SRCBLEND, D3DRS_DESTBLEND};
  const uint32_t wanted[3] = {p.blendOp, p.srcBlend, p.destBlend};
  const uint32_t had[3] = {reference ? reference->blendOp : 0, reference ? reference->srcBlend : 0,
                           reference ? reference->destBlend : 0};
  for (int i = 0; i < 3; ++i)
    if ((!reference || wanted[i] != had[i]) && !d.SetRenderState(states[i], wanted[i])) return false;
  return true;
}

bool HvAlphaProperty::Apply(HvNode* node) {
  if (HasBucket()) {
    HvCore::GetInstance()->GetAlphaCollector(node->GetCurrentPass())->Add(node);
    return true;
  }
  HvRenderRegisters& r = Registers();
  HvDevice& d = Device();
  if (!r.alpha && !d.SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE)) return false;
  if (!WriteBlend(d, *this, r.alpha.Get())) return false;
  previous = r.alpha;
  r.alpha = this;
  return true;
}

bool HvAlphaProperty::Restore(HvNode*) {
  if (HasBucket()) return true;
  HvDevice& d = Device();
  if (previous) {
    if (!WriteBlend(d, *previous, this)) return false;
  } else if (!d.SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE)) {
    return false;
  }
  Registers().alpha = previous;
  previous.Reset();
  return true;
}
