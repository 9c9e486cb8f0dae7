// The space-station scene and its five ship shadings, set up on a small in-memory stand-in for the
// station model with the recording device: what each ship copy carries, which copy the timeline
// shows, the doors, the camera's field of view, path speed and orbit, and the value rules.
#include "SceneFixture.h"
#include "StationModel.h"
#include "app/CEventCollector.h"
#include "app/scenes/CObjectStation.h"
#include "engine/assets/HvAnimationController.h"
#include "engine/core/HvTimer.h"
#include "engine/render/HvAlphaProperty.h"
#include "engine/render/HvMaterialProperty.h"
#include "engine/render/HvTexturingProperty.h"
#include <cmath>

namespace {
const char* const kCopies[] = {"ship", "Ship_toon", "Ship_env_ref", "Ship_pulse", "Ship_holo"};

class StationTest : public SceneTest {
protected:
  StationTest() {
    model = BuildStationModel();
    root->AddChild(model);
    station = new CObjectStation("SpaceStation");
    station->SetNode(model);
    messages = MessagesOf([&] {
      station->SetupScene();
      station->PostCreate();
    });
    station->AddEventsTo(events);
    events.DispatchAt(0, 0);  // show time 0
  }
  ~StationTest() override { HvTimer::SetFixedStep(0); }

  void ShowTime(float t) { events.DispatchAt(t, 0); }

  HvNode* Find(const char* name) const { return model->FindNode(name); }
  HvNode* Sub(const char* copy, const char* sub) const { return Find(copy)->FindNode(sub); }
  static HvTexturingProperty* Texturing(HvNode* n) {
    return static_cast<HvTexturingProperty*>(n->FindProperty(HvPropertyTexturing, 0));
  }
  static HvMaterial* Material(HvNode* n) {
    return static_cast<HvMaterialProperty*>(n->FindProperty(HvPropertyMaterial, 0))->material.Get();
  }
  static std::string ShaderOf(HvNode* n) {
    auto* p = static_cast<HvVertexShaderProperty*>(n->FindProperty(HvPropertyVertexShader, 0));
    return p ? p->GetShader()->GetName() : "";
  }
  // The names of the ship copies that are switched on.
  std::string ShownShips() const {
    std::string shown;
    for (const char* name : kCopies)
      if (Find(name)->HasFlag(HvFlags::Active)) shown += shown.empty() ? name : std::string(" ") + name;
    return shown;
  }
  float LeftDoorX() const { return Find("Object55")->GetMatrix(HvMatrixLocal)._41; }
  float RightDoorX() const { return Find("Plane20")->GetMatrix(HvMatrixLocal)._41; }
  float FieldOfViewDegrees() const { return station->GetCamera()->GetFieldOfView() / 0.017453292f; }

  HvNode* model = nullptr;
  HvRef<CObjectStation> station;
  CEventCollector events;
  std::string messages;  // message boxes shown while the scene was set up
};
}  // namespace

TEST_F(StationTest, EveryShaderAssemblesAndEachShipCopyCarriesItsOwn) {
  EXPECT_EQ(messages, "");
  EXPECT_EQ(ShaderOf(Find("ship")), "ship_spec_env_VS");
  EXPECT_EQ(ShaderOf(Find("Ship_toon")), "ship_toon_vs");
  EXPECT_EQ(ShaderOf(Find("Ship_env_ref")), "extrode");
  EXPECT_EQ(ShaderOf(Find("Ship_pulse")), "ship_spec_env_pulse_VS");
  EXPECT_EQ(ShaderOf(Sub("Ship_pulse", "Material_1")), "ship_pulse_vs");
  EXPECT_EQ(ShaderOf(Sub("Ship_pulse", "Material_2")), "");
  EXPECT_EQ(ShaderOf(Find("Ship_holo")), "ship_holo_VS");
  // The copies hang beside the ship; the pulse reads the object's own shader time.
  EXPECT_EQ(Find("Ship_holo")->GetParent(), Find("ship")->GetParent());
  auto* pulse = static_cast<HvVertexShaderProperty*>(Sub("Ship_pulse", "Material_1")->FindProperty(HvPropertyVertexShader, 0));
  bool readsTime = false;
  for (const HvShaderConstant& c : pulse->GetConstants())
    readsTime |= c.type == HvShaderConstant::Data && c.firstRegister == 4 && c.data == station->GetShaderTime();
  EXPECT_TRUE(readsTime);
}

TEST_F(StationTest, ShipCopiesHaveTheirOwnStagesAndMaterials) {
  // Specular: model texture kept, environment blended by the factor alpha of each material.
  HvTexturingProperty* m2 = Texturing(Sub("ship", "Material_2"));
  EXPECT_EQ(m2->GetTexture(0)->GetName(), "st_hull.bmp");
  EXPECT_EQ(m2->GetTexture(1)->GetName(), "CubeTexture.dds");
  EXPECT_EQ(m2->GetStageState(1)->colorOp, uint32_t(D3DTOP_BLENDFACTORALPHA));
  const float alphas[4] = {0.2f, 0.4f, 0.0f, 0.2f};
  const int powers[4] = {0, 20, 0, 60};
  for (int m = 0; m < 4; ++m) {
    HvNode* n = Sub("ship", ("Material_" + std::to_string(m + 1)).c_str());
    EXPECT_FLOAT_EQ(Texturing(n)->GetTextureFactor()[3], alphas[m]) << m + 1;
    EXPECT_FLOAT_EQ(Material(n)->power, float(powers[m])) << m + 1;
  }
  // Toon: both ramps, its own diffuse colours; the ship's materials stay as they were.
  HvNode* toon1 = Sub("Ship_toon", "Material_1");
  EXPECT_EQ(Texturing(toon1)->GetTexture(0)->GetName(), "toon.bmp");
  EXPECT_EQ(Texturing(toon1)->GetTexture(1)->GetName(), "edgeimage.dds");
  EXPECT_EQ(Texturing(toon1)->GetStageState(1)->colorArg1, uint32_t(D3DTA_CURRENT));
  EXPECT_FLOAT_EQ(Material(toon1)->color[2], 0.8f);
  EXPECT_FLOAT_EQ(Material(Sub("ship", "Material_1"))->color[2], 1.0f);
  EXPECT_EQ(Texturing(toon1)->GetTexture(1)->GetSampler()->Get(HvTextureSampler::MipFilter), uint32_t(D3DTEXF_POINT));
  // Double reflection: the two cube maps multiplied 4x.
  HvTexturingProperty* env = Texturing(Sub("Ship_env_ref", "Material_3"));
  EXPECT_EQ(env->GetTexture(0)->GetName(), "CubeTexture.dds");
  EXPECT_EQ(env->GetTexture(1)->GetName(), "CubeTexture2.dds");
  EXPECT_EQ(env->GetStageState(1)->colorOp, uint32_t(D3DTOP_MODULATE4X));
  // Pulse: model textures, power 40 except materials 2 to 4.
  EXPECT_EQ(Texturing(Sub("Ship_pulse", "Material_1"))->GetTexture(0)->GetName(), "st_hull.bmp");
  EXPECT_FLOAT_EQ(Material(Sub("Ship_pulse", "Material_1"))->power, 40.0f);
  // Hologram: the clamped ice ramp, added onto the scene after the opaque geometry.
  HvTexture* ice = Texturing(Sub("Ship_holo", "Material_4"))->GetTexture(0);
  EXPECT_EQ(ice->GetName(), "ice.tga");
  EXPECT_EQ(ice->GetSampler()->Get(HvTextureSampler::AddressU), uint32_t(D3DTADDRESS_CLAMP));
  auto* additive = static_cast<HvAlphaProperty*>(Find("Ship_holo")->FindProperty(HvPropertyAlpha, 0));
  ASSERT_NE(additive, nullptr);
  EXPECT_EQ(additive->bucket, 3u);
  EXPECT_EQ(additive->srcBlend, uint32_t(D3DBLEND_SRCCOLOR));
  EXPECT_EQ(additive->destBlend, uint32_t(D3DBLEND_ONE));
  EXPECT_EQ(Find("ship")->FindProperty(HvPropertyAlpha, 0), nullptr);
}

TEST_F(StationTest, TimelineShowsOneShipCopyAtATime) {
  EXPECT_FALSE(model->HasFlag(HvFlags::Active));  // built switched off
  const struct {
    float time;
    const char* shown;
  } cues[] = {{70.8f, "ship"},         {84.0f, "ship"},       {112.3f, "Ship_toon"},  {133.0f, "Ship_toon"},
              {133.16f, "Ship_env_ref"}, {149.7f, "Ship_pulse"}, {153.9f, "Ship_holo"}, {170.5f, "Ship_pulse"}};
  for (const auto& cue : cues) {
    ShowTime(cue.time);
    EXPECT_EQ(ShownShips(), cue.shown) << cue.time;
  }
  EXPECT_TRUE(model->HasFlag(HvFlags::Active));
  ShowTime(178.8f);
  EXPECT_FALSE(model->HasFlag(HvFlags::Active));
  EXPECT_FALSE(station->HasFlag(HvFlags::Active));
}

TEST_F(StationTest, SpecularCueFadesTheHighlightOfTheWholeShip) {
  ShowTime(82.0f);
  EXPECT_FLOAT_EQ(Material(Sub("ship", "Material_4"))->power, 100.0f);
  ShowTime(83.5f);
  EXPECT_FLOAT_EQ(Material(Sub("ship", "Material_1"))->power, 70.0f);
  ShowTime(86.0f);
  EXPECT_FLOAT_EQ(Material(Sub("ship", "Material_2"))->power, 40.0f);
  EXPECT_FLOAT_EQ(Material(Sub("Ship_toon", "Material_2"))->power, 0.0f);
}

TEST_F(StationTest, DoorsSlideOpenFrom78To80AndSnapShutAt82) {
  ShowTime(77.9f);
  EXPECT_FLOAT_EQ(LeftDoorX(), 0.0f);
  ShowTime(79.0f);
  EXPECT_NEAR(LeftDoorX(), 55.0f, 0.01f);
  EXPECT_NEAR(RightDoorX(), -55.0f, 0.01f);
  EXPECT_NEAR(Find("Object55")->GetMatrix(HvMatrixWorld)._41, 55.0f, 0.01f);  // refreshed at once
  ShowTime(80.5f);
  EXPECT_FLOAT_EQ(LeftDoorX(), 110.0f);
  EXPECT_FLOAT_EQ(RightDoorX(), -110.0f);
  EXPECT_TRUE(Find("Corridor")->HasFlag(HvFlags::Active));
  ShowTime(82.0f);
  EXPECT_EQ(LeftDoorX(), 0.0f);
  EXPECT_EQ(RightDoorX(), 0.0f);
  EXPECT_FALSE(Find("Corridor")->HasFlag(HvFlags::Active));
  EXPECT_TRUE(Find("Room")->HasFlag(HvFlags::Active));
}

TEST_F(StationTest, FieldOfViewWidensInTheCorridorAndSwingsAroundEightyWhenZooming) {
  ShowTime(70.8f);
  EXPECT_NEAR(FieldOfViewDegrees(), 10.0f, 0.01f);
  ShowTime(75.8f);
  EXPECT_NEAR(FieldOfViewDegrees(), 45.0f, 0.01f);
  ShowTime(81.0f);
  EXPECT_NEAR(FieldOfViewDegrees(), 80.0f, 0.01f);
  ShowTime(133.16f + 2.08f / 12);  // a quarter swing into the first zoom
  EXPECT_NEAR(FieldOfViewDegrees(), 90.0f, 0.05f);
  ShowTime(136.0f);
  EXPECT_NEAR(FieldOfViewDegrees(), 80.0f, 0.01f);
  EXPECT_NEAR(station->GetCamera()->GetAspect(), 1.333f, 1e-6f);
  EXPECT_FLOAT_EQ(station->GetCamera()->GetFarPlane(), 5700.0f);
}

TEST_F(StationTest, PathSlowsDownAt103_7AndIsLeftForTheOrbitAt112_3) {
  HvAnimationController* path = station->GetAnimationController();
  ASSERT_NE(path, nullptr);
  EXPECT_EQ(path->GetState(), uint32_t(HvAnimationController::Paused));
  EXPECT_FLOAT_EQ(path->GetTime(), 70.8f);  // the keys count show time
  ShowTime(103.95f);
  EXPECT_NEAR(path->GetSpeed(), 0.675f, 1e-4f);
  ShowTime(105.0f);
  EXPECT_NEAR(path->GetSpeed(), 0.35f, 1e-5f);
  EXPECT_NE(station->GetCamera()->GetPositionNode(), nullptr);
  ShowTime(112.3f);
  EXPECT_EQ(station->GetCamera()->GetPositionNode(), nullptr);
  EXPECT_EQ(station->GetCamera()->GetTargetNode(), nullptr);
  EXPECT_EQ(path->GetState(), uint32_t(HvAnimationController::Stopped));
}

TEST_F(StationTest, FreeOrbitRunsFiveTimesSlowerAfterSpeedDownAndKeepsItsPhase) {
  HvTimer::SetFixedStep(0.1);
  HvTimer::Reset();
  HvTimer::Tick();
  HvTimer::Tick();  // from here every frame lasts 0.1 s
  const D3DXVECTOR3 ship = Find("ship")->GetWorldPosition();
  ShowTime(140.0f);
  float before = station->GetOrbitPhase();
  ShowTime(140.1f);
  const float fast = station->GetOrbitPhase() - before;
  EXPECT_NEAR(fast, 0.05f, 1e-5f);  // half a turn per second
  ShowTime(149.7f);
  EXPECT_FLOAT_EQ(station->GetOrbitSpeed(), 0.2f);
  before = station->GetOrbitPhase();
  ShowTime(149.8f);
  EXPECT_NEAR(station->GetOrbitPhase() - before, fast / 5, 1e-5f);
  ShowTime(153.9f);
  EXPECT_FLOAT_EQ(station->GetOrbitSpeed(), 1.0f);
  ShowTime(170.5f);
  EXPECT_FLOAT_EQ(station->GetOrbitSpeed(), 0.2f);
  // The eye stays on the circle 900 around and 200 above the ship, looking at it.
  const D3DXVECTOR3 eye = station->GetCamera()->GetVector(HvCamera::Eye);
  EXPECT_NEAR(std::hypot(eye.x - ship.x, eye.z - ship.z), 900.0f, 0.01f);
  EXPECT_NEAR(eye.y - ship.y, 200.0f, 0.01f);
  EXPECT_EQ(station->GetCamera()->GetVector(HvCamera::Target), ship);
}

TEST_F(StationTest, DescentHidesTheCeilingWhichReturnsForTheOrbit) {
  const D3DXVECTOR3 ship = Find("ship")->GetWorldPosition();
  ShowTime(129.1f);
  EXPECT_FALSE(Find("Sufit")->HasFlag(HvFlags::Active));
  EXPECT_NEAR(station->GetCamera()->GetVector(HvCamera::Eye).y - ship.y, 1500.0f, 0.01f);
  ShowTime(133.16f);
  EXPECT_TRUE(Find("Sufit")->HasFlag(HvFlags::Active));
}

TEST_F(StationTest, LightHangsTenUnitsBehindTheCamera) {
  ShowTime(70.8f);
  station->Update();
  const HvCamera* c = station->GetCamera();
  const D3DXVECTOR3 expected = c->GetVector(HvCamera::Eye) + 10.0f * c->GetVector(HvCamera::BackVector);
  const float* at = station->GetLight()->position;
  EXPECT_NEAR(at[0], expected.x, 1e-3f);
  EXPECT_NEAR(at[1], expected.y, 1e-3f);
  EXPECT_NEAR(at[2], expected.z, 1e-3f);
  EXPECT_EQ(station->GetAnimationController()->GetState(), uint32_t(HvAnimationController::Playing));
}

TEST_F(StationTest, StationShadingSkipsOwnShadedPartsAndSeeThroughMaterialsBlend) {
  // Grouping moved the meshes under group nodes that carry their shader.
  auto shaderAbove = [](HvNode* n) {
    for (; n; n = n->GetParent())
      if (auto* p = static_cast<HvVertexShaderProperty*>(n->FindProperty(HvPropertyVertexShader, 0)))
        return p->GetShader()->GetName();
    return std::string();
  };
  EXPECT_EQ(shaderAbove(Find("Corridor")), "space_station_vertex_shader");
  EXPECT_EQ(shaderAbove(Find("Room")), "vertex_paint");
  EXPECT_EQ(shaderAbove(Find("sky_front")), "sky_box_vs_vertex_color");
  EXPECT_EQ(shaderAbove(Find("sky_plain")), "sky_box_vs");
  EXPECT_EQ(ShaderOf(Find("glass_corridor")), "glass_vs");
  EXPECT_EQ(Texturing(Find("Corridor"))->GetTexture(0)->GetName(), "wire.tga");
  EXPECT_EQ(Texturing(Find("desk"))->GetTexture(0)->GetName(), "desk01.tga");
  EXPECT_NE(Find("desk")->FindProperty(HvPropertyCulling, 0), nullptr);
  EXPECT_EQ(Find("Corridor")->FindProperty(HvPropertyCulling, 0), nullptr);
  auto* glassAlpha = static_cast<HvAlphaProperty*>(Find("glass_station")->FindProperty(HvPropertyAlpha, 0));
  EXPECT_EQ(glassAlpha, Find("glass_corridor")->FindProperty(HvPropertyAlpha, 0));
  EXPECT_EQ(glassAlpha->destBlend, uint32_t(D3DBLEND_ONE));
  EXPECT_EQ(static_cast<HvAlphaProperty*>(Find("desk")->FindProperty(HvPropertyAlpha, 0))->bucket, 4u);
}

TEST(StationValues, EventRulesMeetTheirEnds) {
  EXPECT_FLOAT_EQ(CorridorFieldOfView(0), 10.0f);
  EXPECT_FLOAT_EQ(CorridorFieldOfView(1), 80.0f);
  EXPECT_FLOAT_EQ(ZoomFieldOfView(0), 80.0f);
  EXPECT_NEAR(ZoomFieldOfView(1), 80.0f, 1e-3f);
  EXPECT_FLOAT_EQ(SpeedDownFactor(1), 0.35f);
  EXPECT_FLOAT_EQ(DoorOffset(1), 110.0f);
  EXPECT_EQ(ShakeOffset(0), 0.0f);
  EXPECT_NEAR(ShakeOffset(1), 0.0f, 1e-5f);
  float biggest = 0, zoomLow = 80, zoomHigh = 80;
  for (int i = 0; i <= 1000; ++i) {
    const float p = i / 1000.0f;
    biggest = std::max(biggest, std::fabs(ShakeOffset(p)));
    zoomLow = std::min(zoomLow, ZoomFieldOfView(p));
    zoomHigh = std::max(zoomHigh, ZoomFieldOfView(p));
  }
  EXPECT_LE(biggest, 30.0f);
  EXPECT_GT(biggest, 25.0f);
  EXPECT_NEAR(zoomLow, 70.0f, 0.01f);
  EXPECT_NEAR(zoomHigh, 90.0f, 0.01f);
  const D3DXVECTOR3 s(10, 20, 30);
  EXPECT_EQ(OrbitEye(s, 0), D3DXVECTOR3(10, 220, 930));
  EXPECT_EQ(DescentEye(s, 1), D3DXVECTOR3(10, 1020, 30));
  EXPECT_FLOAT_EQ(AdvanceOrbitPhase(1.0f, 0.5f, 0.2f), 1.05f);
}
