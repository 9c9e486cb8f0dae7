#include "CEffectShip.h"
#include "ShowShaders.h"
#include "../../engine/core/HvTimer.h"
#include "../../engine/render/HvTexturingProperty.h"
#include <windows.h>

const char* const kShipCopyNames[4] = {"Ship_toon", "Ship_env_ref", "Ship_pulse", "Ship_holo"};

namespace {
const float kSpecular[4] = {0.7f, 0.7f, 0.7f, 1.0f};
// The scene's own values of the double reflection (its colour) and the pulse (its sine series).
const float kExtrodeColor[4] = {1, 1, 1, 1};
const float kPulseTaylor[4] = {1.0f, -0.1666667f, 0.0083333f, -0.000198413f};  // sin x = x - x^3/3! + x^5/5! - x^7/7!
const float kPulsePi[4] = {3.14159f, 0.5f, 6.28319f, 0.159155f};               // pi, 1/2, 2 pi, 1/(2 pi)

// Replaces the node's vertex-shader property of pass 0.
void SetShader(HvNode* node, HvVertexShaderProperty* property) {
  node->RemoveProperty(HvPropertyVertexShader, 0);
  node->AddProperty(property, 0);
}

HvTextureStageState* ColorStage(uint32_t op, uint32_t arg1, uint32_t arg2) {
  auto* s = new HvTextureStageState;
  s->useColor = 1;
  s->colorOp = op;
  s->colorArg1 = arg1;
  s->colorArg2 = arg2;
  return s;
}

HvTextureSampler* Sampler(std::initializer_list<std::pair<uint32_t, uint32_t>> fields) {
  auto* s = new HvTextureSampler;
  for (const auto& f : fields) s->SetSamplerField(f.first, f.second);
  return s;
}

// Calls f on every node of the subtree that has a texturing property in pass 0.
template <class F> void ForEachTextured(HvNode* node, F f) {
  if (auto* p = static_cast<HvTexturingProperty*>(node->FindProperty(HvPropertyTexturing, 0))) f(p);
  for (size_t i = 0; i < node->GetChildCount(); ++i) ForEachTextured(node->GetChild(i), f);
}

HvNode* SubNode(HvNode* ship, int material) {
  char name[16];
  snprintf(name, sizeof name, "Material_%d", material);
  return ship->FindNode(name);
}

// Sets material values on a named sub-node of the ship; a model without it is left as it is.
void SetSubNodeMaterial(HvNode* ship, int material, const float* diffuse, const float* specular, float power) {
  if (HvNode* n = SubNode(ship, material)) CObject::SetSubtreeMaterial(n, diffuse, specular, &power);
}
}  // namespace

CEffectShip::~CEffectShip() = default;

bool CEffectShip::PostCreate() {
  HvNode* ship = node ? node->FindNode("ship") : nullptr;
  if (!ship) return true;  // nothing to shade without the ship
  shipNodes[ShipModel] = ship;

  char savedDirectory[MAX_PATH] = "";
  GetCurrentDirectoryA(MAX_PATH, savedDirectory);
  SetCurrentDirectoryA("Station\\");
  environmentCube = HvTexture::CreateTextureFromFile("CubeTexture.dds", D3DX_DEFAULT);
  secondEnvironmentCube = HvTexture::CreateTextureFromFile("CubeTexture2.dds", D3DX_DEFAULT);
  toonRamp = HvTexture::CreateTextureFromFile("toon.bmp", D3DX_DEFAULT);
  edgeRamp = HvTexture::CreateTextureFromFile("edgeimage.dds", D3DX_DEFAULT);
  hologramRamp = HvTexture::CreateTextureFromFile("ice.tga", D3DX_DEFAULT);
  if (hologramRamp)
    hologramRamp->SetSampler(Sampler({{HvTextureSampler::AddressU, D3DTADDRESS_CLAMP}, {HvTextureSampler::AddressV, D3DTADDRESS_CLAMP}}));

  shipNodes[Specular] = ship;
  ship->SetFlag(HvFlags::Active);
  for (uint32_t i = 0; i < 4; ++i) {
    ship->SetFlag(HvNodeFlags::CloneProperties);  // each copy gets properties of its own
    HvNode* copy = ship->Clone();
    copy->SetName(kShipCopyNames[i]);
    if (ship->GetParent()) ship->GetParent()->AddChild(copy);
    copy->ClearFlag(HvFlags::Active);
    copy->Refresh();
    shipNodes[Toon + i] = copy;
  }
  SetupSpecular();
  SetupToon();
  SetupEnvReflection();
  SetupPulse();
  SetupHologram();
  SetCurrentDirectoryA(savedDirectory);
  return true;
}

bool CEffectShip::Update() {
  const float t = 0.3f * float(HvTimer::Now());
  shaderTime[0] = shaderTime[1] = shaderTime[2] = t;
  shaderTime[3] = 1.0f;
  return CObject::Update();
}

void CEffectShip::ShowShip(uint32_t variant) {
  for (const HvRef<HvNode>& n : shipNodes)
    if (n) n->ClearFlag(HvFlags::Active);
  if (shipNodes[variant]) shipNodes[variant]->SetFlag(HvFlags::Active);
}

void CEffectShip::SetupSpecular() {
  HvNode* ship = shipNodes[Specular].Get();
  SetShader(ship, CreateShaderProperty(kShipSpecEnvShader));
  HvRef<HvTextureStageState> blend = ColorStage(D3DTOP_BLENDFACTORALPHA, D3DTA_TEXTURE, D3DTA_CURRENT);
  SetEnvironmentStage(ship, environmentCube.Get(), blend.Get(), 0.2f);
  const float noPower = 0;
  SetSubtreeMaterial(ship, nullptr, kSpecular, &noPower);
  // Only materials 2 and 4 shine; material 3 shows no reflection.
  const float factorAlpha[3] = {0.4f, 0, 0.2f};  // materials 2, 3, 4
  for (int m = 2; m <= 4; ++m)
    if (HvNode* n = SubNode(ship, m)) SetEnvironmentStage(n, environmentCube.Get(), blend.Get(), factorAlpha[m - 2]);
  SetSubNodeMaterial(ship, 2, nullptr, kSpecular, 20);
  SetSubNodeMaterial(ship, 3, nullptr, nullptr, 0);
  SetSubNodeMaterial(ship, 4, nullptr, kSpecular, 60);
}

void CEffectShip::SetupToon() {
  HvNode* ship = shipNodes[Toon].Get();
  SetShader(ship, CreateShaderProperty(kShipToonShader));
  if (toonRamp)
    toonRamp->SetSampler(Sampler({{HvTextureSampler::MagFilter, D3DTEXF_POINT}, {HvTextureSampler::MinFilter, D3DTEXF_POINT},
                                  {HvTextureSampler::MipFilter, D3DTEXF_NONE}}));
  if (edgeRamp)
    edgeRamp->SetSampler(Sampler({{HvTextureSampler::MagFilter, D3DTEXF_POINT}, {HvTextureSampler::MinFilter, D3DTEXF_POINT},
                                  {HvTextureSampler::MipFilter, D3DTEXF_POINT}}));
  HvRef<HvTextureStageState> modulate = ColorStage(D3DTOP_MODULATE, D3DTA_CURRENT, D3DTA_TEXTURE);
  SetShipTextures(ship, toonRamp.Get(), edgeRamp.Get(), modulate.Get());
  const float noPower = 0;
  SetSubtreeMaterial(ship, nullptr, nullptr, &noPower);
  const float diffuse[4][4] = {{0.3f, 0.3f, 0.8f, 1}, {0.8f, 0.4f, 0.07f, 1}, {0.4f, 0.4f, 0.4f, 1}, {0.1f, 0.6f, 0.1f, 1}};
  for (int m = 1; m <= 4; ++m) SetSubNodeMaterial(ship, m, diffuse[m - 1], nullptr, 0);
}

void CEffectShip::SetupEnvReflection() {
  HvNode* ship = shipNodes[EnvReflection].Get();
  SetShader(ship, CreateShaderProperty(kShipExtrodeShader, {kExtrodeColor}));
  HvRef<HvTextureStageState> modulate4x = ColorStage(D3DTOP_MODULATE4X, D3DTA_TEXTURE, D3DTA_CURRENT);
  SetCubeStages(ship, modulate4x.Get());
}

void CEffectShip::SetupPulse() {
  HvNode* ship = shipNodes[Pulse].Get();
  SetShader(ship, CreateShaderProperty(kShipSpecEnvPulseShader));
  if (HvNode* first = SubNode(ship, 1)) SetShader(first, CreateShaderProperty(kShipPulseShader, {shaderTime, kPulseTaylor, kPulsePi}));
  const float power = 40;
  SetSubtreeMaterial(ship, nullptr, kSpecular, &power);
  SetSubNodeMaterial(ship, 2, nullptr, kSpecular, 20);
  SetSubNodeMaterial(ship, 3, nullptr, nullptr, 0);
  SetSubNodeMaterial(ship, 4, nullptr, kSpecular, 60);
}

void CEffectShip::SetupHologram() {
  HvNode* ship = shipNodes[Hologram].Get();
  SetHologramStage(ship);
  const float noPower = 0;
  SetSubtreeMaterial(ship, nullptr, nullptr, &noPower);
  ship->RemoveProperty(HvPropertyAlpha, 0);
  ship->AddProperty(CreateAlphaProperty(3, D3DBLEND_SRCCOLOR, D3DBLEND_ONE), 0);  // added onto the opaque scene
  SetShader(ship, CreateShaderProperty(kShipHoloShader));
  ship->InheritAlphaState();
}

void CEffectShip::SetShipTextures(HvNode* node, HvTexture* t0, HvTexture* t1, HvTextureStageState* state) {
  ForEachTextured(node, [&](HvTexturingProperty* p) {
    p->ClearTexture(0);
    p->ClearTexture(1);
    p->SetStage(0, t0, p->GetStageState(0));
    p->SetStage(1, t1, state);
  });
}

void CEffectShip::SetEnvironmentStage(HvNode* node, HvTexture* texture, HvTextureStageState* state, float factorAlpha) {
  const float factor[4] = {0, 0, 0, factorAlpha};
  ForEachTextured(node, [&](HvTexturingProperty* p) {
    p->ClearTexture(1);
    p->ClearTexture(2);
    p->SetStage(1, texture, state);
    p->SetTextureFactor(factor);
  });
}

void CEffectShip::SetCubeStages(HvNode* node, HvTextureStageState* state) {
  SetShipTextures(node, environmentCube.Get(), secondEnvironmentCube.Get(), state);
}

void CEffectShip::SetHologramStage(HvNode* node) {
  ForEachTextured(node, [&](HvTexturingProperty* p) {
    p->ClearTexture(0);
    p->SetStage(0, hologramRamp.Get(), p->GetStageState(0));
  });
}
