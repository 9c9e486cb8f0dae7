// The finale's arithmetic: the star's beat pulse and wobble, the mirror matrices of the floor
// reflections, the room's wall panels, and the mirrored copy of the star on a real device.
#include "RealDevice.h"
#include "SceneFixture.h"
#include "app/scenes/CObjectRoom.h"
#include "app/scenes/CObjectStar.h"
#include "app/scenes/SceneModel.h"
#include "engine/assets/HvVertexShader.h"
#include "engine/render/HvCullingProperty.h"
#include "engine/render/HvMaterialProperty.h"
#include "engine/render/HvNode.h"
#include "engine/render/HvTexturingProperty.h"
#include "engine/render/HvVertexShaderProperty.h"
#include <gtest/gtest.h>
#include <cmath>

namespace {
// p x M as the shaders compute it: one dp4 per column register.
D3DXVECTOR4 ThroughColumns(const float columns[4][4], const D3DXVECTOR4& p) {
  float out[4];
  for (int j = 0; j < 4; ++j)
    out[j] = p.x * columns[j][0] + p.y * columns[j][1] + p.z * columns[j][2] + p.w * columns[j][3];
  return D3DXVECTOR4(out);
}

struct Mesh {
  float rest[4][3] = {{20, 0, 0}, {0, -15, 5}, {3, 4, 12}, {0, 0, 0}};
  float normals[4][3] = {{1, 0, 0}, {0, -0.6f, 0.8f}, {0, 0, 1}, {0, 1, 0}};
  float phases[4] = {0.6f, 0.474f, 0.39f, 0.0f};
  float outP[4][3], outN[4][3];
  void Deform(float now, float blend, float wobble) {
    StarDeformVertices(&rest[0][0], &normals[0][0], phases, 4, now, blend, wobble, &outP[0][0], &outN[0][0]);
  }
};
}

TEST(StarTest, BeatPulseRisesToFourAndAHalfAtAFifthOfTheBeat) {
  EXPECT_FLOAT_EQ(StarPulseScale(0.0f), 3.0f);
  EXPECT_FLOAT_EQ(StarPulseScale(0.2f), 4.5f);
  EXPECT_FLOAT_EQ(StarPulseScale(0.15f), 3.0f + 1.5f * 0.86f);
  EXPECT_FLOAT_EQ(StarPulseScale(1.0f), 3.0f);

  // At 181.0 s the first beat (180.88 s, 0.5 s long) is at progress 0.24: curve 1 at 0.24 is 0.984.
  HvRef<CObjectStar> star = new CObjectStar("Star");
  star->OnEvent((181.0f - 180.88f) / 0.5f, "scale");
  EXPECT_NEAR(star->GetScaleFactor()[0], 3.0f + 1.5f * 0.984f, 1e-4f);
  EXPECT_EQ(star->GetScaleFactor()[0], star->GetScaleFactor()[2]);
  EXPECT_EQ(star->GetScaleFactor()[3], 1.0f);  // w stays 1: positions keep w = 1
}

TEST(StarTest, WobbleCalmsDownAndStopsForTheFall) {
  HvRef<CObjectStar> star = new CObjectStar("Star");
  star->OnEvent(0.25f, "blend_animations_end");
  EXPECT_FLOAT_EQ(star->GetBlend(), 0.75f);
  EXPECT_FLOAT_EQ(star->GetWobble(), 0.75f);
  star->OnEvent(0.0f, "animation_start");  // without a model controller: only the pose changes
  EXPECT_EQ(star->GetBlend(), -1.0f);
  EXPECT_EQ(star->GetWobble(), 0.0f);
}

TEST(StarTest, RestPoseAndZeroWobbleKeepTheRestVerticesExactly) {
  Mesh m;
  m.Deform(203.7f, -1.0f, 1.0f);  // rest pose, whatever the wobble
  for (int i = 0; i < 4; ++i)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(m.outP[i][c], m.rest[i][c]) << i;
  m.Deform(190.0f, 0.5f, 0.0f);  // all angles are 0
  for (int i = 0; i < 4; ++i)
    for (int c = 0; c < 3; ++c) {
      EXPECT_FLOAT_EQ(m.outP[i][c], m.rest[i][c]) << i;
      EXPECT_FLOAT_EQ(m.outN[i][c], m.normals[i][c]) << i;
    }
}

TEST(StarTest, OuterVerticesLagBehindTheCentreByTheirPhase) {
  // With blend b a vertex of phase a shows at time t + a b the rotation that phase 0 shows at t.
  const float t = 200.0f, blend = 0.8f, phase = 0.6f;
  const D3DXMATRIX centre = StarWobbleMatrix(t, 0.0f, blend, 1.0f);
  const D3DXMATRIX outer = StarWobbleMatrix(t + phase * blend, phase, blend, 1.0f);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(outer[i], centre[i], 1e-4f);
  EXPECT_GT(fabsf(StarWobbleMatrix(t, phase, blend, 1.0f)._11 - centre._11), 1e-3f);

  Mesh m;  // a rotation: lengths of positions and normals are kept
  m.Deform(t, blend, 1.0f);
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(D3DXVec3Length(reinterpret_cast<D3DXVECTOR3*>(m.outP[i])),
                D3DXVec3Length(reinterpret_cast<D3DXVECTOR3*>(m.rest[i])), 1e-3f);
    EXPECT_NEAR(D3DXVec3Length(reinterpret_cast<D3DXVECTOR3*>(m.outN[i])), 1.0f, 1e-4f);
  }
}

TEST(MirrorTest, FloorPlaneReflectsThroughTheSurfaceOriginAlongY) {
  D3DXMATRIX world;
  D3DXMatrixTranslation(&world, 35, -110, -20);
  const D3DXPLANE plane = FloorMirrorPlane(world);
  EXPECT_FLOAT_EQ(plane.a, 0.0f);
  EXPECT_FLOAT_EQ(plane.b, 1.0f);
  EXPECT_FLOAT_EQ(plane.c, 0.0f);
  EXPECT_FLOAT_EQ(plane.d, 110.0f);

  float columns[4][4];
  MirrorColumns(plane, columns);
  // A point 40 above the floor appears 40 below it; x and z stay; a point on the floor stays put.
  const D3DXVECTOR4 star = ThroughColumns(columns, D3DXVECTOR4(12, -70, 5, 1));
  EXPECT_FLOAT_EQ(star.x, 12.0f);
  EXPECT_FLOAT_EQ(star.y, -150.0f);
  EXPECT_FLOAT_EQ(star.z, 5.0f);
  EXPECT_FLOAT_EQ(star.w, 1.0f);
  const D3DXVECTOR4 onFloor = ThroughColumns(columns, D3DXVECTOR4(-80, -110, 33, 1));
  EXPECT_FLOAT_EQ(onFloor.y, -110.0f);
  EXPECT_FLOAT_EQ(onFloor.x, -80.0f);
}

TEST(RoomTest, WallPanelWaitsThenRisesAndFallsOnce) {
  CWallPanel panel = {0.0f, 0.25f, 60.0f};
  float offset = -1;
  EXPECT_FALSE(AdvanceWallPanel(panel, 0.1f, 1.0f, &offset));  // still waiting
  EXPECT_FLOAT_EQ(panel.delay, 0.15f);
  EXPECT_EQ(panel.phase, 0.0f);

  panel = {0.4f, 0.0f, 60.0f};
  ASSERT_TRUE(AdvanceWallPanel(panel, 0.1f, 0.5f, &offset));  // phase 0.5: the top of the pulse
  EXPECT_FLOAT_EQ(offset, 60.0f * 1.0f * 0.5f);

  panel = {0.95f, -0.9f, 60.0f};
  ASSERT_TRUE(AdvanceWallPanel(panel, 0.1f, 1.0f, &offset));  // past the end: back down, a new wait
  EXPECT_EQ(offset, 0.0f);
  EXPECT_EQ(panel.phase, 0.0f);
  EXPECT_GE(panel.delay, 0.0f);
  EXPECT_LT(panel.delay, 10.0f);
}

TEST(RoomTest, CameraJumpsAndWallAmountFollowTheirEvents) {
  HvRef<CObjectRoom> room = new CObjectRoom("Room");
  room->OnEvent(0.0f, "enable_walls");
  EXPECT_EQ(room->GetWallAmount(), 1.0f);
  room->OnEvent(0.25f, "fade_walls_animation");
  EXPECT_FLOAT_EQ(room->GetWallAmount(), 0.75f);
  room->OnEvent(0.0f, "reset_anim_camera");  // no model loaded: no controller to jump
  EXPECT_EQ(room->GetJumpCounter(), 0u);
}

using StarSceneTest = SceneTest;

TEST_F(StarSceneTest, FallDownLowersTheStarTwelveUnits) {
  HvRef<CObjectStar> star = new CObjectStar("Star");
  star->SetNode(new HvNode("Star.x"));
  HvNode* core = new HvNode("Sphere02");
  star->GetNode()->AddChild(core);
  star->OnEvent(0.5f, "fall_down");
  EXPECT_FLOAT_EQ(star->GetNode()->GetMatrix(HvMatrixLocal)._42, -6.0f);
  EXPECT_FLOAT_EQ(core->GetMatrix(HvMatrixWorld)._42, -6.0f);  // refreshed at once
}

TEST(StarMirrorTest, MirrorCopySharesSurfacesAndDrawsReflectedWithReversedCulling) {
  REQUIRE_REAL_DEVICE();
  HvRef<CObjectStar> star = new CObjectStar("Star");
  star->SetNode(new HvNode("Star.x"));
  HvNode* part = new HvNode("Sphere02");
  star->GetNode()->AddChild(part);
  HvRef<HvMaterialProperty> material = new HvMaterialProperty(new HvMaterial);
  HvRef<HvTexturingProperty> texturing = new HvTexturingProperty;
  part->AddProperty(material.Get(), 0);
  part->AddProperty(texturing.Get(), 0);

  const D3DXPLANE floor(0, 1, 0, 110);
  ASSERT_TRUE(star->SetupMirror(1, floor));
  ASSERT_TRUE(star->SetupMirror(2, floor));
  HvNode* n = star->GetNode();
  for (uint32_t pass : {1u, 2u}) {
    EXPECT_EQ(part->FindProperty(HvPropertyMaterial, pass), material.Get());
    EXPECT_EQ(part->FindProperty(HvPropertyTexturing, pass), texturing.Get());
    auto* cull = static_cast<HvCullingProperty*>(n->FindProperty(HvPropertyCulling, pass));
    ASSERT_NE(cull, nullptr);
    EXPECT_EQ(cull->cullMode, uint32_t(D3DCULL_CW));
    EXPECT_EQ(n->GetPassMode(pass), uint32_t(HvPassDraw));
  }
  EXPECT_EQ(n->GetPassMode(0), uint32_t(HvPassDraw));
  EXPECT_EQ(n->GetPassMode(3), uint32_t(HvPassInherit));

  auto* one = static_cast<HvVertexShaderProperty*>(n->FindProperty(HvPropertyVertexShader, 1));
  auto* two = static_cast<HvVertexShaderProperty*>(n->FindProperty(HvPropertyVertexShader, 2));
  ASSERT_TRUE(one && two);
  EXPECT_EQ(one->GetShader(), two->GetShader());  // made once, found the second time
  EXPECT_EQ(one->GetShader()->GetName(), "star_vertex_shader_mirror");
  EXPECT_NE(one->GetShader()->GetShader(), nullptr);  // the text assembled

  // The fixed registers c23..c26 reflect through the floor; c17 follows the scale factor.
  float columns[4][4] = {};
  const float* scale = nullptr;
  for (const HvShaderConstant& c : one->GetConstants()) {
    if (c.type == HvShaderConstant::Value && c.firstRegister >= 23 && c.firstRegister <= 26)
      memcpy(columns[c.firstRegister - 23], c.value, sizeof c.value);
    if (c.type == HvShaderConstant::Data && c.firstRegister == 17) scale = c.data;
  }
  EXPECT_EQ(scale, star->GetScaleFactor());
  const D3DXVECTOR4 below = ThroughColumns(columns, D3DXVECTOR4(0, 0, 0, 1));
  EXPECT_FLOAT_EQ(below.y, -220.0f);
  star->Release();
}
