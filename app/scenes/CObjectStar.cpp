#include "CObjectStar.h"
#include "SceneModel.h"
#include "ShowShaders.h"
#include "../CEventCollector.h"
#include "../../engine/assets/HvAnimationController.h"
#include "../../engine/core/HvMath.h"
#include "../../engine/core/HvTimer.h"
#include "../../engine/render/HvCamera.h"
#include "../../engine/render/HvCameraProperty.h"
#include "../../engine/render/HvCullingProperty.h"
#include "../../engine/render/HvDirectionalLight.h"
#include "../../engine/render/HvGeometry.h"
#include "../../engine/render/HvLightingProperty.h"
#include "../../engine/render/HvNode.h"
#include <cmath>

static const char* const kTurnOn = "turn_on";
static const char* const kBlendAnimations = "blend_animations";
static const char* const kScale = "scale";
static const char* const kBlendAnimationsEnd = "blend_animations_end";
static const char* const kAnimationStart = "animation_start";
static const char* const kFallDown = "fall_down";
static const char* const kTurnOff = "turn_off";

bool CObjectStar::ScheduleEvents() {
  Events().AddEvent(178.8f, this, kTurnOn);
  Events().AddTimedEvent(182.8f, 15.0f, this, kBlendAnimations);
  for (int k = 0; k <= 22; ++k)  // one beat a bar: 180.88 s to 226.64 s, every 2.08 s
    Events().AddTimedEvent(180.88f + 2.08f * k, 0.5f, this, kScale);
  Events().AddTimedEvent(222.48f, 6.24f, this, kBlendAnimationsEnd);
  Events().AddEvent(228.72f, this, kAnimationStart);
  Events().AddTimedEvent(228.72f, 1.3f, this, kFallDown);
  Events().AddEvent(234.8f, this, kTurnOff);
  return true;
}

bool CObjectStar::OnEvent(float progress, const std::string& name) {
  if (name == kBlendAnimations) {
    blend = progress;
  } else if (name == kScale) {
    const float s = StarPulseScale(progress);
    scaleFactor[0] = scaleFactor[1] = scaleFactor[2] = s;
  } else if (name == kBlendAnimationsEnd) {
    blend = 1.0f - progress;
    wobble = 1.0f - progress;
  } else if (name == kAnimationStart) {
    if (controller) controller->Play();
    blend = -1.0f;
    wobble = 0.0f;
  } else if (name == kFallDown && node) {
    D3DXMATRIX drop;
    node->SetMatrix(HvMatrixLocal, *D3DXMatrixTranslation(&drop, 0, -12.0f * progress, 0));
    node->Refresh();
  }
  return CObject::OnEvent(progress, name);
}

float StarPulseScale(float progress) { return 3.0f + (4.5f - 3.0f) * EvaluateCurve(CurveFlash, progress); }

CObjectStar::CObjectStar(const char* name) : CObject(name) {}

CObjectStar::~CObjectStar() = default;

bool CObjectStar::Create() {
  node = LoadSceneModel("Star\\", "Star.x");
  if (!node || !HasNodes(node.Get(), "Star\\Star.x", {"Sphere02"})) return false;  // the room camera's target
  node->SetFlag(HvNodeFlags::CloneGeometry);
  restCopy = node->Clone();

  controller = new HvAnimationController(node.Get());
  controller->SetLoopMode(HvAnimationController::Once);
  controller->SetSpeed(1.0f);

  camera = new HvCamera("star_camera");
  camera->LookAt(D3DXVECTOR3(0, 0, 200), D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0));
  camera->SetProjection(2.0943952f, 1.333f, 1.0f, 500.0f);  // 120 degrees
  camera->Refresh();
  HvCameraProperty* view = new HvCameraProperty(camera.Get());
  for (uint32_t pass = 0; pass < 3; ++pass) node->AddProperty(view, pass);

  const float color[4] = {0.56f, 0.276f, 0.27f, 1.0f};
  const float power = 30.0f;
  SetSubtreeMaterial(node.Get(), color, color, &power);

  light = new HvDirectionalLight;
  HvLightingProperty* lighting = new HvLightingProperty;  // ambient black
  lighting->AddLight(light.Get());
  for (uint32_t pass = 0; pass < 3; ++pass) node->AddProperty(lighting, pass);

  HvRef<HvVertexShaderProperty> shading = CreateShaderProperty(kStarShader, {scaleFactor});
  if (!ShaderMade(shading.Get())) return false;
  node->AddProperty(shading.Get(), 0);

  FillPhases(restCopy ? restCopy.Get() : node.Get());
  OnEvent(-1.0f, kTurnOff);  // hidden until its entrance
  return true;
}

// Phase of each vertex: 0.03 per unit of distance from the centre, so that outer vertices lag.
void CObjectStar::FillPhases(HvNode* n) {
  if (HvGeometry* g = n->GetGeometry()) {
    const float* p = g->GetPositions();
    for (uint32_t i = 0; p && i < g->GetVertexCount(); ++i)
      phases.push_back(0.03f * sqrtf(p[3 * i] * p[3 * i] + p[3 * i + 1] * p[3 * i + 1] + p[3 * i + 2] * p[3 * i + 2]));
  }
  for (size_t i = 0; i < n->GetChildCount(); ++i) FillPhases(n->GetChild(i));
}

bool CObjectStar::Update() {
  size_t firstVertex = 0;
  if (node && restCopy) Deform(node.Get(), restCopy.Get(), firstVertex, float(HvTimer::Now()));
  if (camera) {
    D3DXVECTOR3 toOrigin = -camera->GetVector(HvCamera::Eye);
    D3DXVec3Normalize(&toOrigin, &toOrigin);
    light->direction[0] = toOrigin.x, light->direction[1] = toOrigin.y, light->direction[2] = toOrigin.z;
    light->direction[3] = 1.0f;
  }
  return CObject::Update();
}

void CObjectStar::Deform(HvNode* model, HvNode* rest, size_t& firstVertex, float now) {
  HvGeometry* g = model->GetGeometry();
  HvGeometry* r = rest->GetGeometry();
  if (g && r && g->GetVertexCount() == r->GetVertexCount() && g->GetPositions() && r->GetPositions()) {
    const size_t count = g->GetVertexCount();
    if (firstVertex + count <= phases.size()) {
      StarDeformVertices(r->GetPositions(), r->GetNormals(), &phases[firstVertex], count, now, blend, wobble,
                         g->GetPositions(), g->GetNormals());
      g->Refresh();
    }
    firstVertex += count;
  }
  for (size_t i = 0; i < model->GetChildCount() && i < rest->GetChildCount(); ++i)
    Deform(model->GetChild(i), rest->GetChild(i), firstVertex, now);
}

D3DXMATRIX StarWobbleMatrix(float now, float phase, float blend, float wobble) {
  const float u = (now - phase * blend) * 0.5f;
  D3DXMATRIX x, y, z;
  D3DXMatrixRotationX(&x, 2.0f * wobble * sinf(u + 1.0f));
  D3DXMatrixRotationY(&y, 3.0f * wobble * sinf(u));
  D3DXMatrixRotationZ(&z, 5.0f * wobble * cosf(u));
  return x * y * z;
}

void StarDeformVertices(const float* restPositions, const float* restNormals, const float* phases, size_t count,
                        float now, float blend, float wobble, float* positions, float* normals) {
  const bool restPose = NearlyEqual(blend, -1.0f);
  for (size_t i = 0; i < count; ++i) {
    const D3DXVECTOR3* p = reinterpret_cast<const D3DXVECTOR3*>(restPositions + 3 * i);
    const D3DXVECTOR3* n = restNormals ? reinterpret_cast<const D3DXVECTOR3*>(restNormals + 3 * i) : nullptr;
    D3DXVECTOR3* outP = reinterpret_cast<D3DXVECTOR3*>(positions + 3 * i);
    D3DXVECTOR3* outN = normals ? reinterpret_cast<D3DXVECTOR3*>(normals + 3 * i) : nullptr;
    if (restPose) {
      *outP = *p;
      if (outN && n) *outN = *n;
      continue;
    }
    const D3DXMATRIX m = StarWobbleMatrix(now, phases[i], blend, wobble);
    D3DXVec3TransformCoord(outP, p, &m);
    if (outN && n) D3DXVec3TransformCoord(outN, n, &m);
  }
}

bool CObjectStar::SetupMirror(uint32_t pass, const D3DXPLANE& plane) {
  if (!node) return false;
  ShareSurfaceProperties(node.Get(), pass);
  float mirror[4][4];
  MirrorColumns(plane, mirror);
  HvRef<HvVertexShaderProperty> shading = CreateShaderProperty(kStarMirrorShader, {scaleFactor, &mirror[0][0]});
  if (!ShaderMade(shading.Get())) return false;
  node->AddProperty(shading.Get(), pass);
  node->AddProperty(new HvCullingProperty(D3DCULL_CW), pass);
  node->SetPassMode(0, HvPassDraw);
  node->SetPassMode(pass, HvPassDraw);
  return true;
}

bool CObjectStar::Release() {
  phases.clear();
  phases.shrink_to_fit();
  return CObject::Release();
}
