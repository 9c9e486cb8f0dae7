#include "HvCamera.h"
#include "HvDevice.h"
#include "HvNode.h"
#include "../core/HvCore.h"

static void Anchor(HvRef<HvNode>& slot, HvNode* node, bool detach) {
  slot = node;
  if (node && detach) node->SetGeometry(nullptr);
}

HvCamera::HvCamera(const char* name) : HvEngineObject(name) {
  D3DXMatrixIdentity(&view);
  D3DXMatrixIdentity(&projection);
  LookAt(D3DXVECTOR3(0, 0, -1), D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0));
  SetProjection(0.7853982f, 1.333f, 1.0f, 100.0f);
  Refresh();
  HvCore::GetInstance()->GetPool(HvPoolCamera)->Add(this);
}

HvCamera::~HvCamera() = default;

void HvCamera::LookAt(const D3DXVECTOR3& eye, const D3DXVECTOR3& target, const D3DXVECTOR3& up) {
  SetFlag(HvFlags::Changed);
  D3DXMatrixLookAtLH(&view, &eye, &target, &up);
  vectors[Eye] = eye;
  vectors[Target] = target;
  vectors[Up] = up;
  const D3DXVECTOR3 back = eye - target;
  D3DXVec3Normalize(&vectors[BackVector], &back);
}

void HvCamera::SetProjection(float fovY, float aspectRatio, float zn, float zf) {
  SetFlag(HvFlags::Changed);
  D3DXMatrixPerspectiveFovLH(&projection, fovY, aspectRatio, zn, zf);
  fov = fovY;
  aspect = aspectRatio;
  nearPlane = zn;
  farPlane = zf;
}

void HvCamera::SetPositionNode(HvNode* node, bool detach) { Anchor(positionNode, node, detach); }
void HvCamera::SetTargetNode(HvNode* node, bool detach) { Anchor(targetNode, node, detach); }

void HvCamera::Activate() {
  IDirect3DDevice9* d = HvCore::GetInstance()->GetDevice()->GetD3DDevice();
  d->SetTransform(D3DTS_VIEW, &view);
  d->SetTransform(D3DTS_PROJECTION, &projection);
}

bool HvCamera::Update() {
  if (positionNode || targetNode) {
    const D3DXVECTOR3 eye = positionNode ? positionNode->GetWorldPosition() : vectors[Eye];
    const D3DXVECTOR3 target = targetNode ? targetNode->GetWorldPosition() : vectors[Target];
    LookAt(eye, target, vectors[Up]);
    Refresh();
  }
  ClearFlag(HvFlags::FirstFrame);
  return true;
}

bool HvCamera::Release() {
  SetFlag(HvFlags::Released);
  return true;
}

bool HvCamera::Refresh() {
  viewProjection = view * projection;
  ClearFlag(HvFlags::Changed);
  return true;
}
