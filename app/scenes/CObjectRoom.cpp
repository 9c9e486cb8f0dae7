#include "CObjectRoom.h"
#include "CObjectStar.h"
#include "SceneModel.h"
#include "ShowShaders.h"
#include "../CCore.h"
#include "../CEventCollector.h"
#include "../../engine/assets/HvAnimationController.h"
#include "../../engine/core/HvMath.h"
#include "../../engine/core/HvTimer.h"
#include "../../engine/render/HvCamera.h"
#include "../../engine/render/HvCameraProperty.h"
#include "../../engine/render/HvCullingProperty.h"
#include "../../engine/render/HvLightingProperty.h"
#include "../../engine/render/HvNode.h"
#include "../../engine/render/HvPointLight.h"
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

  HvRef<HvVertexShaderProperty> shading = CreateShaderProperty(kRoomShader);
  if (!ShaderMade(shading.Get())) return false;
  node->AddProperty(shading.Get(), 0);

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
  surface->AddProperty(CreateAlphaProperty(3, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA), pass);
  for (uint32_t kind : {HvPropertyVertexShader, HvPropertyCamera, HvPropertyLighting})
    surface->AddProperty(PropertyInForce(surface, kind, 0), pass);
  surface->SetPassMode(0, HvPassSkip);
  surface->SetPassMode(pass, HvPassDraw);

  float mirror[4][4];
  MirrorColumns(plane, mirror);
  HvRef<HvVertexShaderProperty> shading = CreateShaderProperty(kRoomMirrorShader, {&mirror[0][0]});
  if (!ShaderMade(shading.Get())) return false;
  node->AddProperty(shading.Get(), pass);
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
