#include "CObjectStar.h"
#include "../CCore.h"
#include "../CEventCollector.h"
#include "../../engine/assets/HvAnimationController.h"
#include "../../engine/assets/HvVertexShader.h"
#include "../../engine/assets/HvXFileLoader.h"
#include "../../engine/core/HvMath.h"
#include "../../engine/core/HvTimer.h"
#include "../../engine/render/HvCamera.h"
#include "../../engine/render/HvCameraProperty.h"
#include "../../engine/render/HvCullingProperty.h"
#include "../../engine/render/HvDirectionalLight.h"
#include "../../engine/render/HvGeometry.h"
#include "../../engine/render/HvLightingProperty.h"
#include "../../engine/render/HvNode.h"
#include "../../engine/render/HvVertexShaderProperty.h"
#include <cmath>
#include <windows.h>

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

// Star shader registers (c0..c8 per node, c9 the object's scale factor):
//   c0..c3  world-view-projection, transposed       (selector 0)
//   c4      camera back vector, object space        (selector 7)
//   c5      direction of light 0, object space      (selector 15 + light 0)
//   c6..c8  material colour, specular colour, power (selectors 8, 9, 10)
//   c9      scale factor (x, y, z, 1)               (the object's data)
static const char* const kStarShader = R"(;------------------------------------------------------------
; STAR SHADER
; scaled position, one directional light in object space,
; diffuse and specular per vertex
;------------------------------------------------------------
#define TRANSFORM_MATRIX 0
#define TRANSFORM_MATRIX_1 1
#define TRANSFORM_MATRIX_2 2
#define TRANSFORM_MATRIX_3 3
#define CAMERA_DIRECTION_OS 4
#define LIGHT_DIRECTION_OS 5
#define MATERIAL_COLOR 6
#define MATERIAL_SPECULAR 7
#define MATERIAL_SPECULAR_POWER 8
#define SCALE_FACTOR 9

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2

mul r0, v0, c[ SCALE_FACTOR ]
dp4 oPos.x, r0, c[ TRANSFORM_MATRIX ]
dp4 oPos.y, r0, c[ TRANSFORM_MATRIX_1 ]
dp4 oPos.z, r0, c[ TRANSFORM_MATRIX_2 ]
dp4 oPos.w, r0, c[ TRANSFORM_MATRIX_3 ]
mov r1, -c[ LIGHT_DIRECTION_OS ]
add r2.xyz, r1, c[ CAMERA_DIRECTION_OS ]
dp3 r2.w, r2, r2
rsq r2.w, r2.w
mul r2.xyz, r2, r2.w
dp3 r3.x, v1, r1
dp3 r3.y, v1, r2
mov r3.w, c[ MATERIAL_SPECULAR_POWER ].y
lit r4, r3
mul oD0, c[ MATERIAL_COLOR ], r4.y
mul oD1, c[ MATERIAL_SPECULAR ], r4.z
mov oT0, v2
)";

// Mirror shader registers:
//   c4..c8   as in the star shader, except c5: direction of light 0 in world space (selector 14 + light 0)
//   c9..c12  World, transposed                      (selector 2)
//   c13..c16 view-projection, transposed            (selector 3)
//   c17      scale factor                           (the object's data)
//   c23..c26 columns of the reflection matrix       (fixed by SetupMirror)
static const char* const kStarMirrorShader = R"(;------------------------------------------------------------
; STAR MIRROR SHADER
; as the star shader, drawn reflected through a plane
;------------------------------------------------------------
#define CAMERA_DIRECTION_OS 4
#define LIGHT_DIRECTION 5
#define MATERIAL_COLOR 6
#define MATERIAL_SPECULAR 7
#define MATERIAL_SPECULAR_POWER 8
#define TRANSFORM_WORLD 9
#define TRANSFORM_WORLD_1 10
#define TRANSFORM_WORLD_2 11
#define TRANSFORM_WORLD_3 12
#define VIEW_PROJECTION 13
#define VIEW_PROJECTION_1 14
#define VIEW_PROJECTION_2 15
#define VIEW_PROJECTION_3 16
#define SCALE_FACTOR 17
#define REFLECTION 23
#define REFLECTION_1 24
#define REFLECTION_2 25
#define REFLECTION_3 26

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2

mul r0, v0, c[ SCALE_FACTOR ]
dp4 r5.x, r0, c[ TRANSFORM_WORLD ]
dp4 r5.y, r0, c[ TRANSFORM_WORLD_1 ]
dp4 r5.z, r0, c[ TRANSFORM_WORLD_2 ]
dp4 r5.w, r0, c[ TRANSFORM_WORLD_3 ]
dp4 r6.x, r5, c[ REFLECTION ]
dp4 r6.y, r5, c[ REFLECTION_1 ]
dp4 r6.z, r5, c[ REFLECTION_2 ]
dp4 r6.w, r5, c[ REFLECTION_3 ]
dp4 oPos.x, r6, c[ VIEW_PROJECTION ]
dp4 oPos.y, r6, c[ VIEW_PROJECTION_1 ]
dp4 oPos.z, r6, c[ VIEW_PROJECTION_2 ]
dp4 oPos.w, r6, c[ VIEW_PROJECTION_3 ]
mov r1, -c[ LIGHT_DIRECTION ]
add r2.xyz, r1, c[ CAMERA_DIRECTION_OS ]
dp3 r2.w, r2, r2
rsq r2.w, r2.w
mul r2.xyz, r2, r2.w
dp3 r3.x, v1, r1
dp3 r3.y, v1, r2
mov r3.w, c[ MATERIAL_SPECULAR_POWER ].y
lit r4, r3
mul oD0, c[ MATERIAL_COLOR ], r4.y
mul oD1, c[ MATERIAL_SPECULAR ], r4.z
mov oT0, v2
)";

static const uint32_t kModelFormat = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;

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

  HvVertexShader* shader = FindOrCreateVertexShader("star_vertex_shader", kStarShader, kModelFormat);
  if (!shader) return false;
  HvVertexShaderProperty* constants = new HvVertexShaderProperty(shader);
  constants->AddNodeConstant(0, HvConstWorldViewProjection);
  constants->AddNodeConstant(4, HvConstBackVectorObject);
  constants->AddNodeConstant(5, HvConstLightDirectionObject + HvLightBit);
  constants->AddNodeConstant(6, HvConstMaterialColor);
  constants->AddNodeConstant(7, HvConstMaterialSpecular);
  constants->AddNodeConstant(8, HvConstMaterialPower);
  constants->AddConstantData(9, scaleFactor, 1);
  node->AddProperty(constants, 0);

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
  HvVertexShader* shader = FindOrCreateVertexShader("star_vertex_shader_mirror", kStarMirrorShader, kModelFormat);
  if (!shader) return false;
  HvVertexShaderProperty* constants = new HvVertexShaderProperty(shader);
  constants->AddNodeConstant(9, HvConstWorld);
  constants->AddNodeConstant(13, HvConstViewProjection);
  constants->AddNodeConstant(4, HvConstBackVectorObject);
  constants->AddNodeConstant(5, HvConstLightDirection + HvLightBit);
  constants->AddNodeConstant(6, HvConstMaterialColor);
  constants->AddNodeConstant(7, HvConstMaterialSpecular);
  constants->AddNodeConstant(8, HvConstMaterialPower);
  constants->AddConstantData(17, scaleFactor, 1);
  AddMirrorConstants(constants, plane);
  node->AddProperty(constants, pass);
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

void MirrorColumns(const D3DXPLANE& plane, float columns[4][4]) {
  D3DXMATRIX m;
  D3DXMatrixReflect(&m, &plane);
  for (int j = 0; j < 4; ++j)
    for (int i = 0; i < 4; ++i) columns[j][i] = m.m[i][j];
}

void AddMirrorConstants(HvVertexShaderProperty* constants, const D3DXPLANE& plane) {
  float columns[4][4];
  MirrorColumns(plane, columns);
  for (uint32_t j = 0; j < 4; ++j) constants->AddConstantValue(23 + j, columns[j]);
}

void ShareSurfaceProperties(HvNode* n, uint32_t pass) {
  for (uint32_t kind : {HvPropertyMaterial, HvPropertyTexturing})
    if (HvProperty* p = n->FindProperty(kind, 0)) n->AddProperty(p, pass);
  for (size_t i = 0; i < n->GetChildCount(); ++i) ShareSurfaceProperties(n->GetChild(i), pass);
}

HvNode* LoadSceneModel(const char* folder, const char* fileName) {
  char savedDirectory[MAX_PATH] = "";
  GetCurrentDirectoryA(MAX_PATH, savedDirectory);
  SetCurrentDirectoryA(folder);
  HvNode* model = LoadXFile(fileName);
  SetCurrentDirectoryA(savedDirectory);
  if (!model) return nullptr;
  HvCore::GetInstance()->GetSceneRoot()->AddChild(model);
  model->Refresh();
  return model;
}

HvVertexShader* FindOrCreateVertexShader(const char* name, const char* text, uint32_t vertexFormat) {
  HvObjectPool* pool = HvCore::GetInstance()->GetPool(HvPoolVertexShader);
  if (HvObject* found = pool->FindByName(name)) return static_cast<HvVertexShader*>(found);
  HvVertexShader* shader = new HvVertexShader(name, {text, vertexFormat});
  return shader->Refresh() ? shader : nullptr;
}
