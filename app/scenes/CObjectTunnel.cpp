#include "CObjectTunnel.h"
#include "ShowShaders.h"
#include "../CCore.h"
#include "../CEventCollector.h"
#include "../../engine/assets/HvAnimationController.h"
#include "../../engine/assets/HvXFileLoader.h"
#include "../../engine/core/HvMath.h"
#include "../../engine/core/HvMessageBox.h"
#include "../../engine/render/HvAnimationProperty.h"
#include "../../engine/render/HvBillboardProperty.h"
#include "../../engine/render/HvCamera.h"
#include "../../engine/render/HvCameraProperty.h"
#include "../../engine/render/HvCullingProperty.h"
#include "../../engine/render/HvGeometry.h"
#include "../../engine/render/HvLightingProperty.h"
#include "../../engine/render/HvNode.h"
#include "../../engine/render/HvPointLight.h"
#include "../../engine/render/HvZBufferProperty.h"
#include <algorithm>
#include <cmath>
#include <string>
#include <windows.h>

static const char* const kTurnOn = "turn_on";
static const char* const kLightFlash1 = "light_flash_1";
static const char* const kLightFlash2 = "light_flash_2";
static const char* const kCameraShake = "camera_shake";
static const char* const kSpeedSlow = "tunnel_speed_slow";
static const char* const kSpeedUp = "tunnel_speed_up";
static const char* const kSpeedFast = "tunnel_speed_fast";
static const char* const kReset = "tunnel_reset";
static const char* const kSpeedDown = "tunnel_speed_down";
static const char* const kTurnOff = "turn_off";

static const float kFlashLength = 0.5f;      // s, each flash
static const float kFlashGap = 0.79f;        // s from the first light's flash to the second's
static const float kFlashPairGap = 1.29f;    // s from the second light's flash to the next pair

bool CObjectTunnel::ScheduleEvents() {
  CEventCollector& events = Events();
  // Flash pairs one bar (2.08 s) apart; the start is a running single-precision sum.
  auto flashPairs = [&](float t, int pairs) {
    for (int i = 0; i < pairs; ++i) {
      events.AddTimedEvent(t, kFlashLength, this, kLightFlash1);
      t += kFlashGap;
      events.AddTimedEvent(t, kFlashLength, this, kLightFlash2);
      t += kFlashPairGap;
    }
  };
  events.AddEvent(0.0f, this, kTurnOn);
  flashPairs(0.0f, 7);    // pairs from 0.0 to 12.48 s
  flashPairs(16.85f, 20); // pairs from 16.85 to 56.37 s
  events.AddTimedEvent(5.0f, 3.0f, this, kCameraShake);
  events.AddTimedEvent(0.0f, 16.0f, this, kSpeedSlow);
  events.AddTimedEvent(16.0f, 1.0f, this, kSpeedUp);
  events.AddTimedEvent(17.0f, 30.0f, this, kSpeedFast);
  for (uint32_t k = 0; k < kTunnelResetCount; ++k)  // 37.5 to 52.2 s, every 2.1 s
    events.AddEvent(37.5f + 2.1f * float(k), this, kReset);
  events.AddTimedEvent(53.0f, 18.0f, this, kSpeedDown);
  events.AddEvent(70.8f, this, kTurnOff);
  return true;
}

bool CObjectTunnel::OnEvent(float progress, const std::string& name) {
  if (name == kLightFlash1) {
    flashProgress[0] = progress;
  } else if (name == kLightFlash2) {
    flashProgress[1] = progress;
  } else if (name == kCameraShake) {
    ShakeCamera(progress);
  } else if (name == kSpeedSlow || name == kSpeedUp || name == kSpeedFast) {
    speedMode = name == kSpeedSlow ? TunnelSpeedSlow : name == kSpeedUp ? TunnelSpeedUp : TunnelSpeedFast;
    speedProgress = progress;
  } else if (name == kReset) {
    float seconds;
    if (TunnelResetTime(resetIndex, seconds)) {  // a reset past the table is ignored
      controller->SetTime(seconds);
      if (controller->GetState() == HvAnimationController::Stopped) controller->Pause();
      controller->Play();  // resumes at the time just set
      pathJumped = true;
      ++resetIndex;
    }
  } else if (name == kSpeedDown) {
    const TunnelPace pace = TunnelSlowDownAt(progress);
    controller->SetSpeed(pace.speed);
    SetProjection(pace.fovDegrees);
  }
  return CObject::OnEvent(progress, name);
}

static const float kDegree = 0.0174533f;     // radians
static const float kAspect = 1.333f;
static const float kNearPlane = 1.0f;
static const float kStartFov = 60.0f;        // degrees, until the speed-up
static const float kLightRange = 150.0f;     // scaled 0.3 (rest) to 1.5 (flash peak)
static const float kControllerSpeed = 2.0f;  // path seconds per show second until the first speed event

CObjectTunnel::CObjectTunnel(const char* name) : CObject(name) {}

CObjectTunnel::~CObjectTunnel() = default;

bool CObjectTunnel::Create() {
  char savedDirectory[512] = "";
  GetCurrentDirectoryA(sizeof savedDirectory, savedDirectory);
  SetCurrentDirectoryA("Tunnel\\");
  // The loader reports a file it cannot read, once: loading stops at the first failure.
  node = LoadXFile("tunnel.X");
  if (node) lightModels[0] = LoadXFile("Light.X");
  if (lightModels[0]) lightModels[1] = LoadXFile("Light.X");
  SetCurrentDirectoryA(savedDirectory);
  if (!lightModels[1] ||
      !HasNodes(node.Get(), "Tunnel\\tunnel.X", {"Geo_omni01", "Geo_omni02", "Tunnel", "Geo_camera", "Geo_camera_target"}))
    return false;
  HvNode* omni[2] = {node->FindNode("Geo_omni01"), node->FindNode("Geo_omni02")};
  segments[0] = node->FindNode("Tunnel");
  cameraNode = node->FindNode("Geo_camera");
  HvNode* cameraTarget = node->FindNode("Geo_camera_target");

  // Glowing flares: facing the camera, two-sided, never hidden by the tube, lit by ambient white only.
  for (int i = 0; i < 2; ++i) {
    HvNode* flare = lightModels[i].Get();
    omni[i]->AddChild(flare);
    flare->AddProperty(new HvCullingProperty(D3DCULL_NONE), 0);
    auto* z = new HvZBufferProperty;
    z->depthWrite = z->depthTest = false;
    flare->AddProperty(z, 0);
    flare->AddProperty(new HvBillboardProperty, 0);
    auto* glow = new HvLightingProperty;
    std::fill(glow->ambient, glow->ambient + 4, 1.0f);
    flare->AddProperty(glow, 0);
  }
  HvCore::GetInstance()->GetSceneRoot()->AddChild(node.Get());

  camera = new HvCamera("camera_in_tunnel");
  camera->LookAt(D3DXVECTOR3(0, 0, 100), D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0));
  SetProjection(kStartFov);
  node->AddProperty(new HvCameraProperty(camera.Get()), 0);
  camera->SetPositionNode(cameraNode.Get(), true);
  camera->SetTargetNode(cameraTarget, true);

  HvRef<HvVertexShaderProperty> shading = CreateShaderProperty(kTunnelShader);
  if (!ShaderMade(shading.Get())) return false;  // the assembler has said why
  segments[0]->AddProperty(shading.Get(), 0);

  auto* lighting = new HvLightingProperty;
  const float ambient[4] = {0.1f, 0.1f, 0.1f, 1.0f};
  std::copy(ambient, ambient + 4, lighting->ambient);
  for (int i = 0; i < 2; ++i) {
    lights[i] = new HvPointLight;
    lights[i]->range = kLightRange;
    lights[i]->attenuation = 1.0f;
    lights[i]->SetNode(omni[i], true);
    lighting->AddLight(lights[i].Get());
  }
  node->AddProperty(lighting, 0);

  const float specular[4] = {0.7f, 0.7f, 0.7f, 1.0f}, power = 30.0f;
  SetSubtreeMaterial(node.Get(), nullptr, specular, &power);

  node->InheritAlphaState();
  node->Refresh();

  TunnelSubtreeBounds(segments[0].Get(), bounds);
  tunnelLength = bounds[5] - bounds[2];
  const D3DXVECTOR3 origin = segments[0]->GetWorldPosition();
  tunnelOrigin[0] = origin.x, tunnelOrigin[1] = origin.y, tunnelOrigin[2] = origin.z;

  segments[1] = segments[0]->Clone();
  node->AddChild(segments[1].Get());
  D3DXMATRIX ahead;
  D3DXMatrixTranslation(&ahead, 0, 0, tunnelLength);
  segments[1]->SetMatrix(HvMatrixLocal, segments[0]->GetMatrix(HvMatrixWorld) * ahead);
  segments[1]->Refresh();

  controller = new HvAnimationController(node.Get());
  controller->SetLoopMode(HvAnimationController::Loop);
  controller->SetSpeed(kControllerSpeed);

  for (HvRef<HvNode>& s : segments) s->ClearFlag(HvFlags::Active);  // placed by the first Update
  OnEvent(-1.0f, kTurnOff);
  return true;
}

bool CObjectTunnel::Update() {
  if (HasFlag(HvFlags::FirstFrame)) controller->Play();
  UpdateLightFlashes();
  UpdateSegments();
  if (speedMode != -1) {
    const TunnelPace pace = TunnelPaceFor(speedMode, speedProgress);
    controller->SetSpeed(pace.speed);
    if (pace.fovDegrees >= 0) SetProjection(pace.fovDegrees);
  }
  speedMode = -1;
  return CObject::Update();
}

void CObjectTunnel::UpdateLightFlashes() {
  const D3DXVECTOR3& eye = camera->GetVector(HvCamera::Eye);
  for (int i = 0; i < 2; ++i) {
    const TunnelFlash flash = TunnelFlashAt(flashProgress[i]);
    lights[i]->range = flash.range;
    const D3DXVECTOR3 toEye = D3DXVECTOR3(lights[i]->position[0], lights[i]->position[1], lights[i]->position[2]) - eye;
    D3DXMATRIX scale, spin;  // the flare turns by a degree per unit of distance as the camera passes
    D3DXMatrixScaling(&scale, flash.flareScale, flash.flareScale, flash.flareScale);
    D3DXMatrixRotationZ(&spin, D3DXVec3Length(&toEye) * kDegree);
    lightModels[i]->SetMatrix(HvMatrixLocal, scale * spin);
    flashProgress[i] = -1.0f;
  }
}

void CObjectTunnel::UpdateSegments() {
  float cameraZ = cameraNode->GetWorldPosition().z;
  // After a jump the node still holds last frame's place until the controller's own update, later in
  // this frame: the segments would miss the camera for a frame. Sample the new place from the path.
  auto* path = static_cast<HvAnimationProperty*>(cameraNode->FindProperty(HvPropertyAnimation, 0));
  if (pathJumped && path) {
    const uint32_t ticks = uint32_t(double(HvAnimationController::TicksPerSecond) * double(controller->GetTime()));
    const D3DXMATRIX place = path->Sample(ticks, cameraNode->GetMatrix(HvMatrixPreTransform));
    const D3DXMATRIX world = cameraNode->GetMatrix(HvMatrixLocal) * place * cameraNode->GetParent()->GetMatrix(HvMatrixChildBase);
    cameraZ = world._43;
  }
  pathJumped = false;
  const uint32_t moved = PlaceTunnelSegments(segmentState, cameraZ, tunnelOrigin[2] + bounds[5], tunnelLength);
  for (int i = 0; i < 2; ++i) {
    if (moved & (1u << i)) {
      D3DXMATRIX shift;
      D3DXMatrixTranslation(&shift, 0, 0, tunnelLength * float(segmentState.index[i]));
      segments[i]->SetMatrix(HvMatrixLocal, shift);
    }
    segments[i]->SetFlag(HvFlags::Active, segmentState.shown[i]);
  }
}

// The path writes the node's AltPreTransform; the shake rides on top of it in Local.
void CObjectTunnel::ShakeCamera(float progress) {
  D3DXMATRIX offset;
  D3DXMatrixTranslation(&offset, 0, TunnelShakeOffset(progress), 0);
  cameraNode->SetMatrix(HvMatrixLocal, offset);
}

void CObjectTunnel::SetProjection(float fovDegrees) {
  camera->SetProjection(fovDegrees * kDegree, kAspect, kNearPlane, kTunnelFarPoint);
  camera->Update();
}

int32_t TunnelSegmentIndex(float z, float farEnd, float length) {
  if (!(length > 0) || !std::isfinite(z)) return 0;
  int32_t n = 0;
  while (z > farEnd) {
    z -= length;
    ++n;
  }
  return n;
}

uint32_t PlaceTunnelSegments(TunnelSegmentState& state, float cameraZ, float farEnd, float length) {
  const int32_t wanted[2] = {TunnelSegmentIndex(cameraZ, farEnd, length),
                             TunnelSegmentIndex(cameraZ + kTunnelFarPoint, farEnd, length)};
  const bool both = wanted[0] != wanted[1];
  uint32_t moved = 0;
  for (int i = 0; i < 2; ++i) {
    state.shown[i] = i == 0 || both;
    if (state.shown[i] && state.index[i] != wanted[i]) {
      state.index[i] = wanted[i];
      moved |= 1u << i;
    }
  }
  return moved;
}

TunnelFlash TunnelFlashAt(float progress) {
  const float e = EvaluateCurve(CurveFlash, progress);
  return {kLightRange * 0.3f + (kLightRange * 1.5f - kLightRange * 0.3f) * e, (e + 1.0f) * 0.5f};
}

TunnelPace TunnelPaceFor(int32_t speedMode, float progress) {
  switch (speedMode) {
    case TunnelSpeedSlow: return {1.0f, -1.0f};
    case TunnelSpeedUp: return {1.0f + progress, kStartFov + (120.0f - kStartFov) * progress};
    case TunnelSpeedFast: return {3.0f, 120.0f};
    default: return {kControllerSpeed, -1.0f};
  }
}

TunnelPace TunnelSlowDownAt(float progress) {
  const float d = EvaluateCurve(CurveDecay, progress);
  return {(3.0f - 0.4f) * d + 0.4f, (1.0f - d) * 40.0f + 120.0f};
}

float TunnelShakeOffset(float progress) { return std::sin(progress * 47.1238899f) * 8.0f * (1.0f - progress); }

bool TunnelSubtreeBounds(HvNode* n, float box[6]) {
  bool found = false;
  if (HvGeometry* g = n->GetGeometry()) {
    g->GetBoundingBox(box);
    found = true;
  }
  for (size_t i = 0; i < n->GetChildCount(); ++i) {
    float child[6];
    if (!TunnelSubtreeBounds(n->GetChild(i), child)) continue;
    for (int a = 0; a < 3; ++a) {
      box[a] = found ? std::min(box[a], child[a]) : child[a];
      box[3 + a] = found ? std::max(box[3 + a], child[3 + a]) : child[3 + a];
    }
    found = true;
  }
  return found;
}

bool TunnelResetTime(uint32_t index, float& seconds) {
  static const float times[] = {20, 70, 45, 35, 60, 30, 20, 70};  // path s: the stretches the jumps show
  static_assert(sizeof times / sizeof times[0] == kTunnelResetCount, "one time per reset event");
  if (index >= kTunnelResetCount) return false;
  seconds = times[index];
  return true;
}
