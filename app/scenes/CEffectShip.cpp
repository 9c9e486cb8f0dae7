#include "CEffectShip.h"
#include "SceneShader.h"
#include "../../engine/core/HvTimer.h"
#include "../../engine/render/HvTexturingProperty.h"
#include <windows.h>

const char* const kShipCopyNames[4] = {"Ship_toon", "Ship_env_ref", "Ship_pulse", "Ship_holo"};

namespace {
const uint32_t kShipFormat = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;
const float kSpecular[4] = {0.7f, 0.7f, 0.7f, 1.0f};

// Lit from the camera, specular by material, plus a world-space reflection vector for the
// environment map on stage 1.
const char* const kSpecEnvText = R"(;------------------------------------------------------------
; SPECULAR ENVIRONMENT SHADER
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
#define TRANSFORM_WORLD 9
#define TRANSFORM_WORLD_1 10
#define TRANSFORM_WORLD_2 11
#define TRANSFORM_WORLD_3 12
#define EYE_VECTOR 13
#define AMBIENT_COLOR 14

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2

dp4 oPos.x, v0, c[ TRANSFORM_MATRIX ]
dp4 oPos.y, v0, c[ TRANSFORM_MATRIX_1 ]
dp4 oPos.z, v0, c[ TRANSFORM_MATRIX_2 ]
dp4 oPos.w, v0, c[ TRANSFORM_MATRIX_3 ]
mov oT0, v2

; N.L and N.H in object space, the light shining from the camera
mov r1, c[ LIGHT_DIRECTION_OS ]
dp3 r0.x, v1, r1
add r1, r1, c[ CAMERA_DIRECTION_OS ]
dp3 r1.w, r1, r1
rsq r1.w, r1.w
mul r1, r1, r1.w
dp3 r0.y, v1, r1
mov r0.zw, c[ MATERIAL_SPECULAR_POWER ].y
lit r2, r0
mov r3, c[ AMBIENT_COLOR ]
mad oD0, c[ MATERIAL_COLOR ], r2.y, r3
mul oD1, c[ MATERIAL_SPECULAR ], r2.z

; reflection vector E - 2 N (E.N) in world space
dp4 r4.x, v0, c[ TRANSFORM_WORLD ]
dp4 r4.y, v0, c[ TRANSFORM_WORLD_1 ]
dp4 r4.z, v0, c[ TRANSFORM_WORLD_2 ]
dp3 r5.x, v1, c[ TRANSFORM_WORLD ]
dp3 r5.y, v1, c[ TRANSFORM_WORLD_1 ]
dp3 r5.z, v1, c[ TRANSFORM_WORLD_2 ]
dp3 r5.w, r5, r5
rsq r5.w, r5.w
mul r5.xyz, r5, r5.w
sub r6.xyz, r4, c[ EYE_VECTOR ]
dp3 r6.w, r6, r6
rsq r6.w, r6.w
mul r6.xyz, r6, r6.w
dp3 r7.x, r6, r5
add r7.x, r7.x, r7.x
mad oT1.xyz, r5, -r7.x, r6
)";

// The lighting of the specular environment shader alone: the pulsing copy keeps its model textures.
const char* const kSpecEnvPulseText = R"(;------------------------------------------------------------
; SPECULAR SHADER
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
#define TRANSFORM_WORLD 9
#define TRANSFORM_WORLD_1 10
#define TRANSFORM_WORLD_2 11
#define TRANSFORM_WORLD_3 12
#define EYE_VECTOR 13
#define AMBIENT_COLOR 14

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2

dp4 oPos.x, v0, c[ TRANSFORM_MATRIX ]
dp4 oPos.y, v0, c[ TRANSFORM_MATRIX_1 ]
dp4 oPos.z, v0, c[ TRANSFORM_MATRIX_2 ]
dp4 oPos.w, v0, c[ TRANSFORM_MATRIX_3 ]
mov oT0, v2

; N.L and N.H in object space, the light shining from the camera
mov r1, c[ LIGHT_DIRECTION_OS ]
dp3 r0.x, v1, r1
add r1, r1, c[ CAMERA_DIRECTION_OS ]
dp3 r1.w, r1, r1
rsq r1.w, r1.w
mul r1, r1, r1.w
dp3 r0.y, v1, r1
mov r0.zw, c[ MATERIAL_SPECULAR_POWER ].y
lit r2, r0
mov r3, c[ AMBIENT_COLOR ]
mad oD0, c[ MATERIAL_COLOR ], r2.y, r3
mul oD1, c[ MATERIAL_SPECULAR ], r2.z
)";

// Both ramps are read at N.(-back vector): negative on faces turned to the camera, which the
// wrapping sampler turns into 1 - cos (bright facing the camera, the edge band at the rim).
const char* const kToonText = R"(;------------------------------------------------------------
; TOON SHADER
;------------------------------------------------------------
#define TRANSFORM_MATRIX 0
#define TRANSFORM_MATRIX_1 1
#define TRANSFORM_MATRIX_2 2
#define TRANSFORM_MATRIX_3 3
#define MATERIAL_COLOR 6
#define EYE_VECTOR 9

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2
def c20, 0, 0, 0, 1

dp4 oPos.x, v0, c[ TRANSFORM_MATRIX ]
dp4 oPos.y, v0, c[ TRANSFORM_MATRIX_1 ]
dp4 oPos.z, v0, c[ TRANSFORM_MATRIX_2 ]
dp4 oPos.w, v0, c[ TRANSFORM_MATRIX_3 ]
mov r0, c20
dp3 r0.x, v1, -c[ EYE_VECTOR ]
mov oT0, r0
mov oT1, r0
mov oD0, c[ MATERIAL_COLOR ]
)";

// Two reflection vectors: the true one and one off a normal shortened to 0.4, multiplied together
// on the texture stages.
const char* const kExtrodeText = R"(;------------------------------------------------------------
; DOUBLE REFLECTION SHADER
;------------------------------------------------------------
#define TRANSFORM_MATRIX 0
#define TRANSFORM_MATRIX_1 1
#define TRANSFORM_MATRIX_2 2
#define TRANSFORM_MATRIX_3 3
#define MATERIAL_COLOR 4
#define TRANSFORM_WORLD 5
#define TRANSFORM_WORLD_1 6
#define TRANSFORM_WORLD_2 7
#define TRANSFORM_WORLD_3 8
#define EYE_VECTOR 9

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2
def c10, 0.4, 0, 0, 0

dp4 oPos.x, v0, c[ TRANSFORM_MATRIX ]
dp4 oPos.y, v0, c[ TRANSFORM_MATRIX_1 ]
dp4 oPos.z, v0, c[ TRANSFORM_MATRIX_2 ]
dp4 oPos.w, v0, c[ TRANSFORM_MATRIX_3 ]
mov oD0, c[ MATERIAL_COLOR ]

; world position, unit world normal, unit eye-to-vertex vector E
dp4 r0.x, v0, c[ TRANSFORM_WORLD ]
dp4 r0.y, v0, c[ TRANSFORM_WORLD_1 ]
dp4 r0.z, v0, c[ TRANSFORM_WORLD_2 ]
dp3 r1.x, v1, c[ TRANSFORM_WORLD ]
dp3 r1.y, v1, c[ TRANSFORM_WORLD_1 ]
dp3 r1.z, v1, c[ TRANSFORM_WORLD_2 ]
dp3 r1.w, r1, r1
rsq r1.w, r1.w
mul r1.xyz, r1, r1.w
sub r2.xyz, r0, c[ EYE_VECTOR ]
dp3 r2.w, r2, r2
rsq r2.w, r2.w
mul r2.xyz, r2, r2.w

; E - 2 N (E.N), then the same with 0.4 N
dp3 r3.x, r2, r1
add r3.x, r3.x, r3.x
mad oT0.xyz, r1, -r3.x, r2
mul r1.xyz, r1, c10.x
dp3 r3.x, r2, r1
add r3.x, r3.x, r3.x
mad oT1.xyz, r1, -r3.x, r2
)";

// Moves every vertex along its normal by sin(TIME.x * z * frequency): waves run along the ship's
// length, denser as the show goes on (TIME grows with it); the frequency 0.2 keeps them a few object
// units apart. The angle is brought into -pi .. pi and its sine summed from four Taylor terms.
const char* const kPulseText = R"(;------------------------------------------------------------
; PULSE SHADER
;------------------------------------------------------------
#define TRANSFORM_MATRIX 0
#define TRANSFORM_MATRIX_1 1
#define TRANSFORM_MATRIX_2 2
#define TRANSFORM_MATRIX_3 3
#define TIME 4
#define TAYLOR 5
#define PI 6
#define MATERIAL_SPECULAR_POWER 7
#define LIGHT_DIRECTION_OS 8
#define CAMERA_DIRECTION_OS 9
#define AMBIENT_COLOR 10
#define MATERIAL_COLOR 11
#define MATERIAL_SPECULAR 12

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2
def c20, 1.0, 0.5, 0.2, 1.0 ; scale factor, 0.5, frequency, 1

; a = TIME.x * z * frequency into -pi .. pi: fraction of (a / 2 pi + 0.5), times 2 pi, minus pi
mul r0.x, v0.z, c[ TIME ].x
mul r0.x, r0.x, c20.z
mad r0.x, r0.x, c[ PI ].w, c[ PI ].y
expp r1.y, r0.x
mad r0.x, r1.y, c[ PI ].z, -c[ PI ].x

; sin a = (a, a^3, a^5, a^7) . TAYLOR
mul r1.x, r0.x, r0.x
dst r2, r1.xxxx, r1.xxxx
mul r2.w, r2.w, r2.y
mul r3, r2.xzyw, r0.x
dp4 r4.x, r3, c[ TAYLOR ]

; displaced position, w from TIME
mul r4.x, r4.x, c20.x
mul r5.xyz, v1, r4.x
add r5.xyz, r5, v0
mov r5.w, c[ TIME ].w
dp4 oPos.x, r5, c[ TRANSFORM_MATRIX ]
dp4 oPos.y, r5, c[ TRANSFORM_MATRIX_1 ]
dp4 oPos.z, r5, c[ TRANSFORM_MATRIX_2 ]
dp4 oPos.w, r5, c[ TRANSFORM_MATRIX_3 ]
mov oT0, v2

; N.L and N.H in object space, the light shining from the camera
mov r1, c[ LIGHT_DIRECTION_OS ]
dp3 r0.x, v1, r1
add r1, r1, c[ CAMERA_DIRECTION_OS ]
dp3 r1.w, r1, r1
rsq r1.w, r1.w
mul r1, r1, r1.w
dp3 r0.y, v1, r1
mov r0.zw, c[ MATERIAL_SPECULAR_POWER ].y
lit r6, r0
mov r7, c[ AMBIENT_COLOR ]
mad oD0, c[ MATERIAL_COLOR ], r6.y, r7
mul oD1, c[ MATERIAL_SPECULAR ], r6.z
)";

// The hologram ramp is read by the viewing angle: u = N.V with V = normalise(position + eye).
const char* const kHoloText = R"(;------------------------------------------------------------
; HOLOGRAM SHADER
;------------------------------------------------------------
#define TRANSFORM_MATRIX 0
#define TRANSFORM_MATRIX_1 1
#define TRANSFORM_MATRIX_2 2
#define TRANSFORM_MATRIX_3 3
#define TRANSFORM_WORLD 4
#define TRANSFORM_WORLD_1 5
#define TRANSFORM_WORLD_2 6
#define TRANSFORM_WORLD_3 7
#define INV_WORLD 8
#define INV_WORLD_1 9
#define INV_WORLD_2 10
#define INV_WORLD_3 11
#define MATERIAL_COLOR 12
#define EYE_POSITION 13

vs_1_1
dcl_position v0
dcl_normal v1
dcl_texcoord v2
def c20, 0, 0, 0, 1

dp4 oPos.x, v0, c[ TRANSFORM_MATRIX ]
dp4 oPos.y, v0, c[ TRANSFORM_MATRIX_1 ]
dp4 oPos.z, v0, c[ TRANSFORM_MATRIX_2 ]
dp4 oPos.w, v0, c[ TRANSFORM_MATRIX_3 ]
mov oD0, c[ MATERIAL_COLOR ]

add r0.xyz, v0, c[ EYE_POSITION ]
dp3 r0.w, r0, r0
rsq r0.w, r0.w
mul r0.xyz, r0, r0.w
mov r1, c20
dp3 r1.x, v1, r0
mov oT0, r1
)";

const ShaderBinding kSpecEnvBindings[] = {
  {0, HvConstWorldViewProjection}, {4, HvConstBackVectorObject}, {5, HvConstBackVectorObject},
  {6, HvConstMaterialColor},       {7, HvConstMaterialSpecular}, {8, HvConstMaterialPower},
  {9, HvConstWorld},               {13, HvConstEye},             {14, HvConstAmbient},
};
const ShaderBinding kToonBindings[] = {
  {0, HvConstWorldViewProjection}, {6, HvConstMaterialColor}, {9, HvConstBackVectorObject},
};
const ShaderBinding kExtrodeBindings[] = {{0, HvConstWorldViewProjection}, {5, HvConstWorld}, {9, HvConstEye}};
const float kExtrodeColor[4] = {1, 1, 1, 1};  // c4
const ShaderBinding kPulseBindings[] = {
  {0, HvConstWorldViewProjection}, {7, HvConstMaterialPower},  {8, HvConstBackVectorObject},
  {9, HvConstBackVectorObject},    {10, HvConstAmbient},       {11, HvConstMaterialColor},
  {12, HvConstMaterialSpecular},
};
const uint32_t kPulseTimeRegister = 4;
const float kPulseTaylor[4] = {1.0f, -0.1666667f, 0.0083333f, -0.000198413f};  // c5
const float kPulsePi[4] = {3.14159f, 0.5f, 6.28319f, 0.159155f};               // c6: pi, 1/2, 2 pi, 1/(2 pi)
const ShaderBinding kHoloBindings[] = {
  {0, HvConstWorldViewProjection}, {4, HvConstWorld}, {8, HvConstInverseWorld},
  {12, HvConstMaterialColor},      {13, HvConstEyeObject},
};

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
  SetShader(ship, CreateShaderProperty("ship_spec_env_VS", kSpecEnvText, kShipFormat, kSpecEnvBindings));
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
  SetShader(ship, CreateShaderProperty("ship_toon_vs", kToonText, kShipFormat, kToonBindings));
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
  HvVertexShaderProperty* shader = CreateShaderProperty("extrode", kExtrodeText, kShipFormat, kExtrodeBindings);
  shader->AddConstantValue(4, kExtrodeColor);
  SetShader(ship, shader);
  HvRef<HvTextureStageState> modulate4x = ColorStage(D3DTOP_MODULATE4X, D3DTA_TEXTURE, D3DTA_CURRENT);
  SetCubeStages(ship, modulate4x.Get());
}

void CEffectShip::SetupPulse() {
  HvNode* ship = shipNodes[Pulse].Get();
  SetShader(ship, CreateShaderProperty("ship_spec_env_pulse_VS", kSpecEnvPulseText, kShipFormat, kSpecEnvBindings));
  if (HvNode* first = SubNode(ship, 1)) {
    HvVertexShaderProperty* pulse = CreateShaderProperty("ship_pulse_vs", kPulseText, kShipFormat, kPulseBindings);
    pulse->AddConstantData(kPulseTimeRegister, shaderTime, 1);
    pulse->AddConstantValue(5, kPulseTaylor);
    pulse->AddConstantValue(6, kPulsePi);
    SetShader(first, pulse);
  }
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
  SetShader(ship, CreateShaderProperty("ship_holo_VS", kHoloText, kShipFormat, kHoloBindings));
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
