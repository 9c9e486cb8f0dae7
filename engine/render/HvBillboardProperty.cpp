#include "HvBillboardProperty.h"
#include "HvAlphaProperty.h"
#include "HvCamera.h"
#include "HvDevice.h"
#include "HvNode.h"

HvBillboardProperty::HvBillboardProperty() : HvProperty(HvPropertyBillboard, HvPriorityState) {
  D3DXMatrixIdentity(&savedLocal);
}

bool HvBillboardProperty::Apply(HvNode* node) {
  // A node on its way to the alpha collector is turned when the collector draws it.
  auto* alpha = static_cast<HvAlphaProperty*>(node->FindProperty(HvPropertyAlpha, node->GetCurrentPass()));
  if (alpha && alpha->HasBucket()) return true;
  HvCamera* camera = Registers().camera.Get();
  if (!camera) return true;

  savedLocal = node->GetMatrix(HvMatrixLocal);
  active = true;
  const D3DXVECTOR3& back = camera->GetVector(HvCamera::BackVector);
  const D3DXVECTOR3 f(-back.x, -back.y, -back.z);       // eye towards target
  const D3DXVECTOR3& u = camera->GetVector(HvCamera::Up);
  D3DXVECTOR3 r;
  D3DXVec3Cross(&r, &f, &u);
  const D3DXMATRIX m(r.x, u.x, f.x, 0,
                     r.y, u.y, f.y, 0,
                     r.z, u.z, f.z, 0,
                     0, 0, 0, 1);
  node->SetMatrix(HvMatrixLocal, savedLocal * m);
  node->Refresh();
  return true;
}

bool HvBillboardProperty::Restore(HvNode* node) {
  if (!active) return true;
  active = false;
  // The turned matrix stays in World until the next Refresh; Local goes back to the node's own, so
  // that the next frame turns the original again instead of compounding the turns frame by frame.
  node->SetMatrix(HvMatrixLocal, savedLocal);
  return true;
}
