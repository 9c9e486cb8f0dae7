#include "CObjectStation.h"
#include "ShowShaders.h"
#include "../CCore.h"
#include "../CEventCollector.h"
#include "../../engine/assets/HvAnimationController.h"
#include "../../engine/assets/HvXFileLoader.h"
#include "../../engine/core/HvTimer.h"
#include "../../engine/render/HvCameraProperty.h"
#include "../../engine/render/HvCullingProperty.h"
#include "../../engine/render/HvGeometry.h"
#include "../../engine/render/HvLightingProperty.h"
#include "../../engine/render/HvTexturingProperty.h"
#include <windows.h>
#include <algorithm>
#include <cmath>

static const char* const kTurnOn = "turn_on";
static const char* const kTurnOff = "turn_off";
static const char* const kCameraFovCorridor = "camera_fov_corridor";
static const char* const kOpenDoor = "open_door";
static const char* const kEnableRoom = "enable_room";
static const char* const kCloseDoor = "close_door";
static const char* const kDisableCorridor = "disable_corridor";
static const char* const kSpecular = "specular";
static const char* const kCameraShake = "camera_shake";
static const char* const kSpeedDown = "speed_down";
static const char* const kToon = "toon";
static const char* const kToonCamera0 = "toon_camera_0";
static const char* const kToonCamera1 = "toon_camera_1";
static const char* const kToonCamera2 = "toon_camera_2";
static const char* const kEnvRef = "env_ref";
static const char* const kEnvRefCamera = "env_ref_camera";
static const char* const kEnvRefCameraZoom = "env_ref_camera_zoom";
static const char* const kEnvRefSpeedDown = "env_ref_speed_down";
static const char* const kPulse = "pulse";
static const char* const kEnvRefSpeedUp = "env_ref_speed_up";
static const char* const kHolo = "holo";

static const float kStartTime = 70.8f;  // s: "turn_on", and the camera path's time base

bool CObjectStation::ScheduleEvents() {
  AddEventsTo(Events());
  return true;
}

void CObjectStation::AddEventsTo(CEventCollector& events) {
  events.AddEvent(kStartTime, this, kTurnOn);
  events.AddEvent(178.8f, this, kTurnOff);
  events.AddTimedEvent(kStartTime, 10.0f, this, kCameraFovCorridor);
  events.AddTimedEvent(78.0f, 2.0f, this, kOpenDoor);
  events.AddEvent(78.0f, this, kEnableRoom);
  events.AddEvent(82.0f, this, kCloseDoor);
  events.AddEvent(82.0f, this, kDisableCorridor);
  events.AddTimedEvent(82.0f, 3.0f, this, kSpecular);
  events.AddTimedEvent(87.3f, 3.0f, this, kCameraShake);
  events.AddTimedEvent(103.7f, 0.5f, this, kSpeedDown);
  events.AddEvent(112.3f, this, kToon);
  events.AddTimedEvent(112.3f, 8.399994f, this, kToonCamera0);
  events.AddTimedEvent(120.7f, 8.400009f, this, kToonCamera1);
  events.AddTimedEvent(129.1f, 4.0599976f, this, kToonCamera2);
  events.AddEvent(133.16f, this, kEnvRef);
  events.AddTimedEvent(133.16f, 45.64f, this, kEnvRefCamera);
  // Zooms from 133.16 to 145.64 s every 4.16 s (a running sum), 2.08 s each.
  float zoom = 133.16f;
  for (int k = 0; k < 4; ++k, zoom += 4.16f) events.AddTimedEvent(zoom, 2.08f, this, kEnvRefCameraZoom);
  events.AddEvent(149.7f, this, kEnvRefSpeedDown);
  events.AddEvent(149.7f, this, kPulse);
  events.AddEvent(153.9f, this, kEnvRefSpeedUp);
  events.AddEvent(153.9f, this, kHolo);
  // Zooms from 153.9 to 166.38 s every 4.16 s (a running sum), 2.08 s each.
  zoom = 153.9f;
  for (int k = 0; k < 4; ++k, zoom += 4.16f) events.AddTimedEvent(zoom, 2.08f, this, kEnvRefCameraZoom);
  events.AddEvent(170.5f, this, kEnvRefSpeedDown);
  events.AddEvent(170.5f, this, kPulse);
}

bool CObjectStation::OnEvent(float p, const std::string& name) {
  if (name == kToon) ShowShip(Toon);
  else if (name == kEnvRef) ShowShip(EnvReflection);
  else if (name == kPulse) ShowShip(Pulse);
  else if (name == kHolo) ShowShip(Hologram);
  else if (name == kCameraFovCorridor) SetFieldOfView(CorridorFieldOfView(p));
  else if (name == kOpenDoor) SetDoors(p);
  else if (name == kCloseDoor) SetDoors(0);
  else if (name == kSpeedDown) {
    if (animationController) animationController->SetSpeed(SpeedDownFactor(p));
  } else if (name == kCameraShake) ShakeCamera(p);
  else if (name == kEnableRoom) {
    if (room) room->SetFlag(HvFlags::Active);
  } else if (name == kDisableCorridor) {
    if (corridor) corridor->ClearFlag(HvFlags::Active);
  } else if (name == kToonCamera0) SetCameraPath(0, p);
  else if (name == kToonCamera1) SetCameraPath(1, p);
  else if (name == kToonCamera2) SetCameraPath(2, p);
  else if (name == kEnvRefCamera) SetCameraPath(3, p);
  else if (name == kEnvRefCameraZoom) SetFieldOfView(ZoomFieldOfView(p));
  else if (name == kEnvRefSpeedDown) orbitSpeed = 0.2f;
  else if (name == kEnvRefSpeedUp) orbitSpeed = 1.0f;
  else if (name == kSpecular && shipNodes[ShipModel]) {
    const float specular[4] = {0.7f, 0.7f, 0.7f, 1.0f};
    const float power = 100.0f - 60.0f * p;
    SetSubtreeMaterial(shipNodes[ShipModel].Get(), nullptr, specular, &power);
  }
  return CObject::OnEvent(p, name);
}

float CorridorFieldOfView(float p) { return 10.0f + 70.0f * p; }
float ZoomFieldOfView(float p) { return 80.0f + 10.0f * sinf(p * 18.849556f); }
float SpeedDownFactor(float p) { return 1.0f - 0.65f * p; }
float DoorOffset(float p) { return 110.0f * p; }
float ShakeOffset(float p) { return sinf(p * 47.1238899f) * 30.0f * (1.0f - p); }
float AdvanceOrbitPhase(float phase, float frameTime, float speed) { return phase + frameTime * speed * 0.5f; }

static const float kOrbitRadius = 900.0f;
static const float kOrbitHeight = 200.0f;

D3DXVECTOR3 OrbitEye(const D3DXVECTOR3& s, float a) {
  return D3DXVECTOR3(s.x + kOrbitRadius * sinf(a), s.y + kOrbitHeight, s.z + kOrbitRadius * cosf(a));
}

D3DXVECTOR3 DescentEye(const D3DXVECTOR3& s, float p) { return D3DXVECTOR3(s.x, s.y + 1500.0f - 500.0f * p, s.z); }

namespace {
const float kDegree = 0.017453292f;  // rad
const float kAspect = 1.333f;
const float kNear = 30.0f;
const float kFar = 5700.0f;

bool IsNamed(const HvNode* n, const char* const* names, size_t count) {
  return std::any_of(names, names + count, [n](const char* s) { return n->GetName() == s; });
}
}  // namespace

CObjectStation::CObjectStation(const char* name) : CEffectShip(name) {}
CObjectStation::~CObjectStation() = default;

bool CObjectStation::Create() {
  char savedDirectory[MAX_PATH] = "";
  GetCurrentDirectoryA(MAX_PATH, savedDirectory);
  SetCurrentDirectoryA("Station\\");
  HvNode* model = LoadXFile("Station.x");
  // The loader has said why it could not load the model; a scene without it, or without the nodes
  // its flight, doors, glass and ship variants work on, cannot run.
  if (!model || !HasNodes(model, "Station\\Station.x",
                          {"ship", "Material_1", "Material_2", "Material_3", "Material_4", "SkyBox", "glass_station",
                           "glass_corridor", "Wentylator", "Camera", "camera", "cameratarget", "Sphere02", "Corridor",
                           "Room", "Sufit", "Object55", "Plane20"})) {
    SetCurrentDirectoryA(savedDirectory);
    return false;
  }
  node = model;
  HvCore::GetInstance()->GetSceneRoot()->AddChild(model);
  model->Refresh();
  SetupScene();
  SetCurrentDirectoryA(savedDirectory);
  return true;
}

void CObjectStation::SetupScene(bool groupByShader) {
  HvNode* root = node.Get();
  wireTexture = HvTexture::CreateTextureFromFile("wire.tga", D3DX_DEFAULT);
  deskTexture = HvTexture::CreateTextureFromFile("desk01.tga", D3DX_DEFAULT);
  const float noColor[4] = {0, 0, 0, 0};  // no specular highlights anywhere in the station
  const float noPower = 0;
  SetSubtreeMaterial(root, nullptr, noColor, &noPower);

  camera = new HvCamera("camera_space_station");
  camera->LookAt(D3DXVECTOR3(0, 0, -350), D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0));
  camera->SetProjection(80.0f * kDegree, kAspect, kNear, kFar);
  camera->Refresh();
  root->AddProperty(new HvCameraProperty(camera.Get()), 0);
  root->AddProperty(new HvCameraProperty(camera.Get()), 1);

  light = new HvPointLight;
  light->range = 1000.0f;
  light->attenuation = 1.0f;
  auto* lighting = new HvLightingProperty;
  const float ambient[4] = {0.1f, 0.1f, 0.1f, 1.0f};
  std::copy(ambient, ambient + 4, lighting->ambient);
  lighting->AddLight(light.Get());
  root->AddProperty(lighting, 0);

  stationShader = CreateShaderProperty(kStationShader);
  root->AddProperty(stationShader.Get(), 0);
  vertexPaintShader = CreateShaderProperty(kVertexPaintShader);

  // The camera path runs on show time: its keys start at the scene's start.
  if (HvNode* path = root->FindNode("Camera")) {
    animationController = new HvAnimationController(path);
    animationController->SetLoopMode(HvAnimationController::Once);
    animationController->SetSpeed(1.0f);
    const CCore* app = dynamic_cast<const CCore*>(HvCore::GetInstance());
    animationController->SetTime(std::max(kStartTime, app ? app->GetShowStartOffset() : kShowStartOffset));
    if (animationController->GetState() == HvAnimationController::Stopped) animationController->Pause();
  }
  cameraNode = root->FindNode("camera");
  if (cameraNode) camera->SetPositionNode(cameraNode.Get(), true);
  if (HvNode* target = root->FindNode("cameratarget")) camera->SetTargetNode(target, true);

  ApplyStationShading(root);
  for (const char* name : {"ship", "SkyBox", "glass_station", "glass_corridor", "Wentylator", "Camera"})
    if (HvNode* n = root->FindNode(name)) n->SetFlag(HvNodeFlags::SkipGrouping);
  if (groupByShader) root->GroupByVertexShader(0);
  SetupSkyBox(groupByShader);
  SetupGlass();

  leftDoor = root->FindNode("Object55");
  rightDoor = root->FindNode("Plane20");
  sphere = root->FindNode("Sphere02");
  fan = root->FindNode("Wentylator");
  corridor = root->FindNode("Corridor");
  room = root->FindNode("Room");
  ceiling = root->FindNode("Sufit");
  root->InheritAlphaState();
  OnEvent(-1.0f, kTurnOff);
}

void CObjectStation::ApplyStationShading(HvNode* n) {
  static const char* const kOwnShading[] = {"ship", "SkyBox", "glass_station", "glass_corridor"};
  if (IsNamed(n, kOwnShading, 4)) return;
  if (HvGeometry* g = n->GetGeometry()) {
    if (g->GetVertexFormat() == kStationShader.vertexFormat) n->AddProperty(stationShader.Get(), 0);
    else if (g->GetVertexFormat() == kVertexPaintShader.vertexFormat) n->AddProperty(vertexPaintShader.Get(), 0);
  }
  // The model names stand-in JPEGs; the see-through versions with alpha replace them.
  if (auto* t = static_cast<HvTexturingProperty*>(n->FindProperty(HvPropertyTexturing, 0))) {
    const HvTexture* stage0 = t->GetTexture(0);
    const bool wire = stage0 && stage0->GetName() == "wire.jpg";
    const bool desk = stage0 && stage0->GetName() == "desk01.jpg";
    if (wire || desk) {
      t->SetStage(0, wire ? wireTexture.Get() : deskTexture.Get(), t->GetStageState(0));
      n->RemoveProperty(HvPropertyAlpha, 0);
      n->AddProperty(CreateAlphaProperty(4, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA), 0);
    }
    if (desk) n->AddProperty(new HvCullingProperty(D3DCULL_NONE), 0);  // seen from both sides
  }
  for (size_t i = 0; i < n->GetChildCount(); ++i) ApplyStationShading(n->GetChild(i));
}

void CObjectStation::SetupSkyBox(bool groupByShader) {
  HvNode* sky = node->FindNode("SkyBox");
  if (!sky) return;
  sky->AddProperty(CreateShaderProperty(kSkyBoxShader), 0);
  HvRef<HvVertexShaderProperty> colored = CreateShaderProperty(kSkyBoxVertexColorShader);
  for (size_t i = 0; i < sky->GetChildCount(); ++i) {
    HvNode* face = sky->GetChild(i);
    const HvGeometry* g = face->GetGeometry();
    if (g && g->GetVertexFormat() == kSkyBoxVertexColorShader.vertexFormat) face->AddProperty(colored.Get(), 0);
  }
  if (groupByShader) sky->GroupByVertexShader(0);
}

void CObjectStation::SetupGlass() {
  HvRef<HvTexture> cube = HvTexture::CreateTextureFromFile("CubeGlass.dds", D3DX_DEFAULT);
  HvRef<HvAlphaProperty> additive = CreateAlphaProperty(3, D3DBLEND_SRCCOLOR, D3DBLEND_ONE);
  const struct {
    const char* name;
    float alpha;
  } panes[] = {{"glass_station", 0.4f}, {"glass_corridor", 0.3f}};
  for (const auto& pane : panes) {
    HvNode* glass = node->FindNode(pane.name);
    if (!glass) continue;
    auto* texturing = new HvTexturingProperty;
    texturing->SetStage(0, cube.Get(), nullptr);
    glass->AddProperty(texturing, 0);
    glass->AddProperty(additive.Get(), 0);
    const float alpha[4] = {pane.alpha, pane.alpha, pane.alpha, pane.alpha};
    glass->AddProperty(CreateShaderProperty(kGlassShader, {alpha}), 0);
  }
}

bool CObjectStation::Update() {
  if (HasFlag(HvFlags::FirstFrame) && animationController) animationController->Play();
  const D3DXVECTOR3 behind = camera->GetVector(HvCamera::Eye) + 10.0f * camera->GetVector(HvCamera::BackVector);
  light->position[0] = behind.x;
  light->position[1] = behind.y;
  light->position[2] = behind.z;
  light->position[3] = 1.0f;
  const float t = float(HvTimer::Now());
  D3DXMATRIX m;
  if (sphere) {
    sphere->SetMatrix(HvMatrixLocal, *D3DXMatrixRotationY(&m, 0.5f * t));
    sphere->Refresh();
  }
  if (fan) {
    D3DXMatrixRotationY(&m, 4.0f * t);
    for (size_t i = 0; i < fan->GetChildCount(); ++i) fan->GetChild(i)->SetMatrix(HvMatrixLocal, m);
    fan->Refresh();
  }
  return CEffectShip::Update();
}

void CObjectStation::SetFieldOfView(float degrees) {
  camera->SetProjection(degrees * kDegree, kAspect, kNear, kFar);
  camera->Refresh();
}

void CObjectStation::SetDoors(float p) {
  D3DXMATRIX m;
  if (leftDoor) {
    leftDoor->SetMatrix(HvMatrixLocal, *D3DXMatrixTranslation(&m, DoorOffset(p), 0, 0));
    leftDoor->Refresh();
  }
  if (rightDoor) {
    rightDoor->SetMatrix(HvMatrixLocal, *D3DXMatrixTranslation(&m, -DoorOffset(p), 0, 0));
    rightDoor->Refresh();
  }
}

void CObjectStation::ShakeCamera(float p) {
  if (!cameraNode) return;
  D3DXMATRIX m;
  cameraNode->SetMatrix(HvMatrixLocal, *D3DXMatrixTranslation(&m, 0, ShakeOffset(p), 0));
  cameraNode->Refresh();
}

void CObjectStation::SetCameraPath(uint32_t index, float p) {
  if (!shipNodes[ShipModel]) return;
  const D3DXVECTOR3 ship = shipNodes[ShipModel]->GetWorldPosition();
  D3DXVECTOR3 eye, up(0, 1, 0);
  switch (index) {
  case 0:
    camera->SetPositionNode(nullptr, false);
    camera->SetTargetNode(nullptr, false);
    if (animationController) animationController->Stop();
    eye = OrbitEye(ship, -D3DX_PI * p);
    break;
  case 1:
    eye = OrbitEye(ship, D3DX_PI * p);
    break;
  case 2:  // straight down onto the ship through the opened ceiling
    if (ceiling) ceiling->ClearFlag(HvFlags::Active);
    eye = DescentEye(ship, p);
    up = D3DXVECTOR3(0, 0, 1);
    break;
  default:
    if (ceiling) ceiling->SetFlag(HvFlags::Active);
    orbitPhase = AdvanceOrbitPhase(orbitPhase, HvTimer::GetFrameTime(), orbitSpeed);
    eye = OrbitEye(ship, D3DX_PI * orbitPhase);
    break;
  }
  camera->LookAt(eye, ship, up);
  camera->Refresh();
}
