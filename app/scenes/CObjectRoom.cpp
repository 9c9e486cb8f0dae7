#include "CObjectRoom.h"
#include "CObjectStar.h"
#include "../CCore.h"
#include "../CEventCollector.h"
#include "../../engine/assets/HvAnimationController.h"
#include "../../engine/core/HvMath.h"
#include "../../engine/core/HvTimer.h"
#include "../../engine/render/HvAlphaProperty.h"
#include "../../engine/render/HvCamera.h"
#include "../../engine/render/HvCameraProperty.h"
#include "../../engine/render/HvCullingProperty.h"
#include "../../engine/render/HvLightingProperty.h"
#include "../../engine/render/HvNode.h"
#include "../../engine/render/HvPointLight.h"
#include "../../engine/render/HvVertexShaderProperty.h"
#include <cstdio>

static const char* const kTurnOn = "turn_on";
static const char* const kEnableWalls = "enable_walls";
static const char* const kResetAnimCamera = "reset_anim_camera";
static const char* const kFadeWallsAnimation = "fade_walls_animation";
static const char* const kSpeedDown = "speed_down";
static const char* const kCameraFollowsStar = "camera_follows_star";
static const char* const kTurnOff = "turn_off";

bool CObjectRoom::ScheduleEvents() {
  Events().AddEvent(178.8f, this, kTurnOn);
  Events().AddEvent(195.44f, this, kEnableWalls);
  for (int k = 0; k < int(JumpCount); ++k)  // on the bars from 212.08 s to 228.72 s, every 2.08 s
    Events().AddEvent(212.08f + 2.08f * k, this, kResetAnimCamera);
  Events().AddTimedEvent(228.72f, 3.0f, this, kFadeWallsAnimation);
  Events().AddTimedEvent(228.72f, 3.0f, this, kSpeedDown);
  Events().AddEvent(228.72f, this, kCameraFollowsStar);
  Events().AddEvent(234.8f, this, kTurnOff);
  return true;
}

bool CObjectRoom::OnEvent(float progress, const std::string& name) {
  if (name == kEnableWalls) {
    wallAmount = 1.0f;
  } else if (name == kResetAnimCamera && controller && jumpCounter < JumpCount) {
    // A stopped controller would restart from 0 on Play; paused, it resumes at the time set here.
    if (controller->GetState() == HvAnimationController::Stopped) controller->Pause();
    controller->SetTime(jumpTimes[jumpCounter]);
    controller->Play();
    ++jumpCounter;
  } else if (name == kFadeWallsAnimation) {
    wallAmount = 1.0f - progress;
  } else if (name == kSpeedDown && controller) {
    controller->SetSpeed(1.0f - 0.5f * progress);
  } else if (name == kCameraFollowsStar && camera) {
    HvNode* star = HvCore::GetInstance()->GetSceneRoot()->FindNode("Star.x");
    if (HvNode* core = star ? star->FindNode("Sphere02") : nullptr) camera->SetTargetNode(core, false);
  }
  return CObject::OnEvent(progress, name);
}

// Point-light shader registers, all per node:
//   c0..c3  world-view-projection, transposed (selector 0)
//   c4..c7  World, transposed                 (selector 2)
//   c8      position of light 0               (selector 12 + light 0)
//   c9      (0, attenuation / range, 0, 0)    (selector 17 + light 0)
//   c10     colour of light 0                 (selector 16 + light 0)
//   c11     ambient colour                    (selector 11)
static const char* const kRoomShader = R"(;------------------------------------------------------------
; POINT LIGHT SHADER
; one point light in world space, intensity range / (attenuation * d)
;------------------------------------------------------------
#define TRANSFORM_MATRIX 0
#define TRANSFORM_MATRIX_1 1
#define TRANSFORM_MATRIX_2 2
#define TRANSFORM_MATRIX_3 3
#define WORLD 4
#define WORLD_1 5
#define WORLD_2 6
#define WORLD_3 7
#define LIGHT_POSITION_1 8
#define LIGHT_ATTENUATION_1 9
#define LIGHT_COLOR_1 10
#define AMBIENT_COLOR 11

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2

dp4 oPos.x, v0, c[ TRANSFORM_MATRIX ]
dp4 oPos.y, v0, c[ TRANSFORM_MATRIX_1 ]
dp4 oPos.z, v0, c[ TRANSFORM_MATRIX_2 ]
dp4 oPos.w, v0, c[ TRANSFORM_MATRIX_3 ]
dp4 r0.x, v0, c[ WORLD ]
dp4 r0.y, v0, c[ WORLD_1 ]
dp4 r0.z, v0, c[ WORLD_2 ]
dp4 r0.w, v0, c[ WORLD_3 ]
dp3 r1.x, v1, c[ WORLD ]
dp3 r1.y, v1, c[ WORLD_1 ]
dp3 r1.z, v1, c[ WORLD_2 ]
sub r2.xyz, c[ LIGHT_POSITION_1 ], r0
dp3 r3, r2, r2
rsq r4.yw, r3.x
mul r2.xyz, r2, r4.y
dst r5, r3, r4
dp4 r6.x, r5, c[ LIGHT_ATTENUATION_1 ]
rcp r6.x, r6.x
dp3 r7.x, r1, r2
mul r7.x, r7.x, r6.x
mad oD0, c[ LIGHT_COLOR_1 ], r7.x, c[ AMBIENT_COLOR ]
mov oT0, v2
)";

// Mirror variant: c0..c3 are filled as above but not read; the position goes World -> reflection ->
// view-projection. Lighting uses the unreflected world position.
//   c4..c10  as above               c16      ambient colour (selector 11)
//   c18..c21 view-projection, transposed (selector 3)
//   c23..c26 columns of the reflection matrix (fixed per floor)
static const char* const kRoomMirrorShader = R"(;------------------------------------------------------------
; POINT LIGHT SHADER, MIRRORED
; the point light shader drawn reflected through a floor plane
;------------------------------------------------------------
#define TRANSFORM_MATRIX 0
#define TRANSFORM_MATRIX_1 1
#define TRANSFORM_MATRIX_2 2
#define TRANSFORM_MATRIX_3 3
#define WORLD 4
#define WORLD_1 5
#define WORLD_2 6
#define WORLD_3 7
#define LIGHT_POSITION_1 8
#define LIGHT_ATTENUATION_1 9
#define LIGHT_COLOR_1 10
#define AMBIENT_COLOR 16
#define VIEW_PROJECTION 18
#define VIEW_PROJECTION_1 19
#define VIEW_PROJECTION_2 20
#define VIEW_PROJECTION_3 21
#define REFLECTION 23
#define REFLECTION_1 24
#define REFLECTION_2 25
#define REFLECTION_3 26

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2

dp4 r0.x, v0, c[ WORLD ]
dp4 r0.y, v0, c[ WORLD_1 ]
dp4 r0.z, v0, c[ WORLD_2 ]
dp4 r0.w, v0, c[ WORLD_3 ]
dp4 r8.x, r0, c[ REFLECTION ]
dp4 r8.y, r0, c[ REFLECTION_1 ]
dp4 r8.z, r0, c[ REFLECTION_2 ]
dp4 r8.w, r0, c[ REFLECTION_3 ]
dp4 oPos.x, r8, c[ VIEW_PROJECTION ]
dp4 oPos.y, r8, c[ VIEW_PROJECTION_1 ]
dp4 oPos.z, r8, c[ VIEW_PROJECTION_2 ]
dp4 oPos.w, r8, c[ VIEW_PROJECTION_3 ]
dp3 r1.x, v1, c[ WORLD ]
dp3 r1.y, v1, c[ WORLD_1 ]
dp3 r1.z, v1, c[ WORLD_2 ]
sub r2.xyz, c[ LIGHT_POSITION_1 ], r0
dp3 r3, r2, r2
rsq r4.yw, r3.x
mul r2.xyz, r2, r4.y
dst r5, r3, r4
dp4 r6.x, r5, c[ LIGHT_ATTENUATION_1 ]
rcp r6.x, r6.x
dp3 r7.x, r1, r2
mul r7.x, r7.x, r6.x
mad oD0, c[ LIGHT_COLOR_1 ], r7.x, c[ AMBIENT_COLOR ]
mov oT0, v2
)";

static const uint32_t kModelFormat = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;

CObjectRoom::CObjectRoom(const char* name) : CObject(name) {}

CObjectRoom::~CObjectRoom() = default;

static void RemoveAlpha(HvNode* n) {
  n->RemoveProperty(HvPropertyAlpha, 0);
  for (size_t i = 0; i < n->GetChildCount(); ++i) RemoveAlpha(n->GetChild(i));
}

bool CObjectRoom::Create() {
  HvCore* core = HvCore::GetInstance();
  node = LoadSceneModel("Room\\", "Room.x");
  if (!node || !HasNodes(node.Get(), "Room\\Room.x",
                         {"Camera", "CameraTarget", "Wall_0", "Wall_1", "Wall_2", "Wall_3", "no-anim-06", "no-anim-05"}))
    return false;
  RemoveAlpha(node.Get());  // the room is opaque; the floors get their blending per reflection pass

  camera = static_cast<HvCamera*>(core->GetPool(HvPoolCamera)->FindByName("star_camera"));
  if (!camera) camera = new HvCamera("star_camera");
  camera->LookAt(D3DXVECTOR3(0, 0, -250), D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0));
  camera->SetProjection(1.7453293f, 1.333f, 5.0f, 1500.0f);  // 100 degrees
  camera->Refresh();
  HvCameraProperty* view = new HvCameraProperty(camera.Get());
  for (uint32_t pass = 0; pass < 3; ++pass) node->AddProperty(view, pass);

  light = new HvPointLight;
  const float lightColor[4] = {0.69f, 0.77f, 0.78f, 1.0f};
  for (int i = 0; i < 4; ++i) light->color[i] = lightColor[i];
  light->range = 250.0f;
  light->attenuation = 1.0f;
  HvLightingProperty* lighting = new HvLightingProperty;
  const float ambient[4] = {0.1f, 0.1f, 0.2f, 1.0f};
  for (int i = 0; i < 4; ++i) lighting->ambient[i] = ambient[i];
  lighting->AddLight(light.Get());
  for (uint32_t pass = 0; pass < 3; ++pass) node->AddProperty(lighting, pass);

  const float noHighlight = 0.0f;
  SetSubtreeMaterial(node.Get(), nullptr, nullptr, &noHighlight);

  HvVertexShader* shader = FindOrCreateVertexShader("room_vertex_shader", kRoomShader, kModelFormat);
  if (!shader) return false;
  HvVertexShaderProperty* constants = new HvVertexShaderProperty(shader);
  constants->AddNodeConstant(0, HvConstWorldViewProjection);
  constants->AddNodeConstant(4, HvConstWorld);
  constants->AddNodeConstant(8, HvConstLightPosition + HvLightBit);
  constants->AddNodeConstant(9, HvConstLightAttenuation + HvLightBit);
  constants->AddNodeConstant(10, HvConstLightColor + HvLightBit);
  constants->AddNodeConstant(11, HvConstAmbient);
  node->AddProperty(constants, 0);

  controller = new HvAnimationController(node.Get());
  controller->SetLoopMode(HvAnimationController::Loop);

  camera->SetPositionNode(node->FindNode("Camera"), true);
  camera->SetTargetNode(node->FindNode("CameraTarget"), true);

  for (uint32_t k = 0; k < WallCount; ++k) {
    char wallName[16];
    snprintf(wallName, sizeof wallName, "Wall_%u", k);
    walls[k] = node->FindNode(wallName);
    for (size_t j = 0; walls[k] && j < walls[k]->GetChildCount(); ++j)
      panels[k].push_back({0.0f, RandomRange(0, 10), RandomRange(30, 90)});
  }

  for (uint32_t pass = 1; pass <= 2; ++pass) ShareSurfaceProperties(node.Get(), pass);
  if (!SetupReflection("no-anim-06", 1) || !SetupReflection("no-anim-05", 2)) return false;

  OnEvent(-1.0f, kTurnOff);
  return true;
}

D3DXPLANE FloorMirrorPlane(const D3DXMATRIX& surfaceWorld) {
  const D3DXVECTOR3 origin(surfaceWorld._41, surfaceWorld._42, surfaceWorld._43), up(0, 1, 0);
  D3DXPLANE plane;
  D3DXPlaneFromPointNormal(&plane, &origin, &up);
  return plane;
}

// The property of that kind in force at `n` in `pass`: its own or its nearest ancestor's.
static HvProperty* PropertyInForce(HvNode* n, uint32_t kind, uint32_t pass) {
  for (; n; n = n->GetParent())
    if (HvProperty* p = n->FindProperty(kind, pass)) return p;
  return nullptr;
}

bool CObjectRoom::SetupReflection(const char* surfaceName, uint32_t pass) {
  HvNode* surface = node->FindNode(surfaceName);
  if (!surface) return true;  // a model without this floor reflects nothing there
  const D3DXPLANE plane = FloorMirrorPlane(surface->GetMatrix(HvMatrixWorld));

  // The surface itself: drawn only in this pass, by the alpha collector, blended over the reflection
  // with the room's own shader, camera and light (the collector draws it outside the room's subtree).
  auto* blend = new HvAlphaProperty;
  blend->bucket = 3;
  blend->blendOp = D3DBLENDOP_ADD;
  blend->srcBlend = D3DBLEND_SRCALPHA;
  blend->destBlend = D3DBLEND_INVSRCALPHA;
  surface->AddProperty(blend, pass);
  for (uint32_t kind : {HvPropertyVertexShader, HvPropertyCamera, HvPropertyLighting})
    surface->AddProperty(PropertyInForce(surface, kind, 0), pass);
  surface->SetPassMode(0, HvPassSkip);
  surface->SetPassMode(pass, HvPassDraw);

  HvVertexShader* shader = FindOrCreateVertexShader("room_vertex_shader_mirror", kRoomMirrorShader, kModelFormat);
  if (!shader) return false;
  HvVertexShaderProperty* constants = new HvVertexShaderProperty(shader);
  constants->AddNodeConstant(0, HvConstWorldViewProjection);
  constants->AddNodeConstant(4, HvConstWorld);
  constants->AddNodeConstant(18, HvConstViewProjection);
  constants->AddNodeConstant(8, HvConstLightPosition + HvLightBit);
  constants->AddNodeConstant(9, HvConstLightAttenuation + HvLightBit);
  constants->AddNodeConstant(10, HvConstLightColor + HvLightBit);
  constants->AddNodeConstant(16, HvConstAmbient);
  AddMirrorConstants(constants, plane);
  node->AddProperty(constants, pass);
  node->AddProperty(new HvCullingProperty(D3DCULL_CW), pass);
  node->SetPassMode(0, HvPassDraw);
  node->SetPassMode(pass, HvPassDraw);

  HvObject* star = HvCore::GetInstance()->GetPool(HvPoolApplication)->FindByName("Star");
  if (auto* s = dynamic_cast<CObjectStar*>(star)) return s->SetupMirror(pass, plane);
  return true;  // no star: the room reflects itself only
}

bool CObjectRoom::Update() {
  if (HasFlag(HvFlags::FirstFrame) && controller) controller->Play();
  if (camera && light) {  // the light travels with the camera
    const D3DXVECTOR3& eye = camera->GetVector(HvCamera::Eye);
    light->position[0] = eye.x, light->position[1] = eye.y, light->position[2] = eye.z, light->position[3] = 1.0f;
  }

  if (!NearlyEqual(wallAmount, 0.0f)) {
    const float frameTime = HvTimer::GetFrameTime();
    for (uint32_t k = 0; k < WallCount; ++k) {
      if (!walls[k]) continue;
      for (size_t j = 0; j < panels[k].size() && j < walls[k]->GetChildCount(); ++j) {
        float offset;
        if (!AdvanceWallPanel(panels[k][j], frameTime, wallAmount, &offset)) continue;
        D3DXMATRIX lift;
        walls[k]->GetChild(j)->SetMatrix(HvMatrixLocal, *D3DXMatrixTranslation(&lift, 0, offset, 0));
      }
      walls[k]->Refresh();
    }
  }
  return CObject::Update();
}

bool AdvanceWallPanel(CWallPanel& panel, float frameTime, float amount, float* offset) {
  panel.delay -= frameTime;
  if (panel.delay > 0) return false;
  panel.phase += frameTime;
  *offset = EvaluateCurve(CurvePulse, panel.phase) * panel.height * amount;
  if (panel.phase >= 1.0f) {
    panel.phase = 0.0f;
    panel.delay = RandomRange(0, 10);
  }
  return true;
}

bool CObjectRoom::Release() {
  for (std::vector<CWallPanel>& p : panels) {
    p.clear();
    p.shrink_to_fit();
  }
  return CObject::Release();
}
