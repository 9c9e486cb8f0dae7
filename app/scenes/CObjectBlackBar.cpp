#include "CObjectBlackBar.h"
#include "../CCore.h"
#include "../CEventCollector.h"
#include "../../engine/render/HvGeometry.h"
#include "../../engine/render/HvNode.h"
#include "../../engine/render/HvZBufferProperty.h"

static const float kBarShare = 0.15f;  // of the screen height, each

bool CObjectBlackBar::ScheduleEvents() {
  Events().AddTimedEvent(0.0f, 500.0f, this, "");  // outlasts the show: delivered every frame
  return true;
}

void BlackBarCorners(float w, float h, float out[12][3]) {
  const float top = kBarShare * h, bottom = (1 - kBarShare) * h;
  const float corners[12][2] = {
    {-1, -1},     {w + 1, -1},     {w + 1, top},   {-1, -1},     {w + 1, top},   {-1, top},
    {-1, bottom}, {w + 1, bottom}, {w + 1, h + 1}, {-1, bottom}, {w + 1, h + 1}, {-1, h + 1},
  };
  for (int i = 0; i < 12; ++i) out[i][0] = corners[i][0], out[i][1] = corners[i][1], out[i][2] = 0;
}

bool CObjectBlackBar::Create() {
  const HvDeviceSettings& s = HvCore::GetInstance()->GetSettings();  // read once: the bars keep the start-up size
  HvRef<HvGeometry> bars = new HvGeometry({D3DPT_TRIANGLELIST, D3DFVF_XYZRHW | D3DFVF_DIFFUSE, 12, 0});
  BlackBarCorners(float(s.displayWidth), float(s.displayHeight), reinterpret_cast<float(*)[3]>(bars->GetPositions()));
  float* colors = bars->GetDiffuse();
  for (int i = 0; i < 12; ++i) colors[4 * i + 0] = colors[4 * i + 1] = colors[4 * i + 2] = 0, colors[4 * i + 3] = 1;
  if (!bars->Refresh()) {
    bars->Release();
    return false;
  }
  node = new HvNode("black_bar_node", bars.Get());
  HvCore::GetInstance()->GetSceneRoot()->AddChild(node.Get());
  node->Refresh();
  auto* z = new HvZBufferProperty;
  z->depthWrite = z->depthTest = false;
  node->AddProperty(z, 3);
  for (uint32_t pass = 0; pass < 3; ++pass) node->SetPassMode(pass, HvPassSkip);
  node->SetPassMode(3, HvPassDraw);
  return true;
}

bool CObjectBlackBar::Update() {
  if (eventProgress < 0 && node->GetParent()) {  // the event is over: gone for good
    node->GetParent()->RemoveChild(node.Get());
    ClearFlag(HvFlags::Active);
  }
  return CObject::Update();
}
