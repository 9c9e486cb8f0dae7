#include "CObjectBlob.h"
#include "../CEventCollector.h"
#include "../../engine/core/HvCore.h"
#include "../../engine/core/HvMath.h"
#include "../../engine/core/HvTimer.h"
#include "../../engine/render/HvCamera.h"
#include "../../engine/render/HvCameraProperty.h"
#include "../../engine/render/HvClearProperty.h"
#include "../../engine/render/HvNode.h"
#include <cmath>

static const char* kTurnOn = "turn_on";
static const char* kTurnOff = "turn_off";
static const char* kSpeedLow = "speed_low";
static const char* kSpeedNormal = "speed_normal";
static const char* kScaleUp = "scale_up";
static const char* kFade = "fade";

static const float kBeat = 2.08f;  // s between pulses

bool CObjectBlob::ScheduleEvents() {
  CEventCollector& e = Events();
  e.AddEvent(16.8f, this, kTurnOn);
  e.AddEvent(54.0f, this, kTurnOff);
  e.AddEvent(33.12f, this, kSpeedLow);
  e.AddEvent(37.62f, this, kSpeedNormal);
  float t = 16.8f;  // 8 pulses, 16.8 to 31.36
  for (int k = 0; k < 8; ++k, t += kBeat) e.AddTimedEvent(t, 0.5f, this, kScaleUp);
  t = 37.55f;       // 8 pulses, 37.55 to 52.11
  for (int k = 0; k < 8; ++k, t += kBeat) e.AddTimedEvent(t, 0.5f, this, kScaleUp);
  e.AddTimedEvent(53.0f, 1.0f, this, kFade);
  return true;
}

bool CObjectBlob::OnEvent(float progress, const std::string& name) {
  if (name == kSpeedLow)
    speedMode = 1;
  else if (name == kSpeedNormal)
    speedMode = 0;
  else if (name == kScaleUp) {
    const float s = BlobPulseScale(progress);
    D3DXMatrixScaling(&scale, s, s, s);
  } else if (name == kFade)
    position.x = BlobFadeX(progress);
  return CEffectBlob::OnEvent(progress, name);  // "turn_on" / "turn_off"
}

float BlobSpeed(int speedMode) { return speedMode == 1 ? 0.6f : 1.0f; }

void BlobSourcePositions(float t, D3DXVECTOR3 out[3]) {
  const float tc = TableCos(t);
  out[0] = D3DXVECTOR3(0.5f * tc * sinf(t), 0.5f * tc * cosf(3 * TableSin(t)),
                       0.5f * sinf(7 * tc) * TableCos(t + 1) * TableCos(t + 3));
  out[1] = D3DXVECTOR3(0.5f * cosf(5 * t), 0.5f * tc * cosf(2 * tc), 0.5f * sinf(7 * tc));
  out[2] = D3DXVECTOR3(0.5f * cosf(TableSin(5 * t)), 0.5f * sinf(2 * TableSin(t)), 0.5f * sinf(7 * t));
}

D3DXMATRIX BlobLocalMatrix(const D3DXMATRIX& scale, float t, const D3DXVECTOR3& position) {
  D3DXMATRIX rx, ry, rz, move;
  D3DXMatrixRotationX(&rx, t);
  D3DXMatrixRotationY(&ry, 0.5f * t);
  D3DXMatrixRotationZ(&rz, 0.3f * t + 5.0f);
  D3DXMatrixTranslation(&move, position.x, position.y, position.z);
  return scale * rx * ry * rz * move;
}

float BlobPulseScale(float progress) { return 1.5f + 1.5f * EvaluateCurve(CurvePulse, progress); }

float BlobFadeX(float progress) { return -1.5f + (-7.0f - -1.5f) * progress; }

CObjectBlob::CObjectBlob(const char* name) : CEffectBlob(name) {
  D3DXMatrixScaling(&scale, 1.5f, 1.5f, 1.5f);
  InitGrid(2.0f, 2.0f, 2.0f, 25, 25, 25);
  sources.assign(3, D3DXVECTOR3(0, 0, 0));
  isoLevel = 3.0f;
}

bool CObjectBlob::PostCreate() {
  auto* camera = new HvCamera("blob_camera");
  camera->LookAt(D3DXVECTOR3(0, 0, -5), D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0));
  camera->SetProjection(1.0471976f, 1.333f, 0.1f, 50.0f);  // 60 degrees
  camera->Refresh();  // view x projection; the camera follows no node, so nothing else computes it
  node->AddProperty(new HvCameraProperty(camera), 3);
  for (uint32_t pass = 0; pass < 3; ++pass) node->SetPassMode(pass, HvPassSkip);
  node->SetPassMode(3, HvPassDraw);
  node->ClearFlag(HvFlags::Active);
  auto* clear = new HvClearProperty;  // the blob lies over whatever the earlier passes drew
  clear->flags = D3DCLEAR_ZBUFFER;
  clear->color[0] = clear->color[1] = clear->color[2] = 0, clear->color[3] = 1;
  clear->depth = 1.0f;
  clear->stencil = 0;
  node->AddProperty(clear, 3);
  OnEvent(-1.0f, kTurnOff);
  return true;
}

bool CObjectBlob::Update() {
  phase += HvTimer::GetFrameTime() * BlobSpeed(speedMode);
  BlobSourcePositions(phase, sources.data());
  node->SetMatrix(HvMatrixLocal, BlobLocalMatrix(scale, phase, position));
  node->Refresh();
  return CEffectBlob::Update();
}
