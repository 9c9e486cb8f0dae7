#include "SceneFixture.h"
#include "engine/render/HvAlphaProperty.h"
#include "engine/render/HvBillboardProperty.h"
#include "engine/render/HvCamera.h"
#include "engine/render/HvCameraProperty.h"
#include "engine/render/HvCullingProperty.h"
#include "engine/render/HvDirectionalLight.h"
#include "engine/render/HvLightingProperty.h"
#include "engine/render/HvMaterialProperty.h"
#include "engine/render/HvNode.h"
#include "engine/render/HvPointLight.h"
#include "engine/render/HvZBufferProperty.h"

namespace {
// A chain root -> outer -> inner, with properties added per test for pass 0.
class PropertyTest : public SceneTest {
protected:
  PropertyTest() {
    root->AddChild(outer);
    outer->AddChild(inner);
    root->Refresh();
  }
  // The render states written by one pass-0 traversal, as (state, value).
  std::vector<std::pair<DWORD, DWORD>> StatesOfOnePass() {
    fake.ClearLog();
    EXPECT_TRUE(root->RenderPass(0));
    std::vector<std::pair<DWORD, DWORD>> out;
    for (const FakeCall& c : fake.Calls("SetRenderState")) out.push_back({c.a, c.b});
    return out;
  }
  void ExpectRegistersEmpty() {
    HvRenderRegisters& r = device->Registers();
    EXPECT_FALSE(r.material || r.alpha || r.zBuffer || r.culling || r.lighting || r.camera);
  }
  HvNode* outer = new HvNode("outer");
  HvNode* inner = new HvNode("inner");
};

using States = std::vector<std::pair<DWORD, DWORD>>;

HvAlphaProperty* Blend(uint32_t src, uint32_t dest) {
  HvAlphaProperty* p = new HvAlphaProperty;
  p->srcBlend = src;
  p->destBlend = dest;
  return p;
}
}

TEST_F(PropertyTest, NestedAlphaWritesOnlyWhatDiffersAndOnlyTheOutermostSwitchesBlending) {
  outer->AddProperty(Blend(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA), 0);
  inner->AddProperty(Blend(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA), 0);
  EXPECT_EQ((States{{D3DRS_ALPHABLENDENABLE, TRUE}, {D3DRS_BLENDOP, D3DBLENDOP_ADD}, {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
                    {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA}, {D3DRS_ALPHABLENDENABLE, FALSE}}),
            StatesOfOnePass());
  inner->RemoveProperty(HvPropertyAlpha, 0);
  inner->AddProperty(Blend(D3DBLEND_SRCALPHA, D3DBLEND_ONE), 0);
  EXPECT_EQ((States{{D3DRS_ALPHABLENDENABLE, TRUE}, {D3DRS_BLENDOP, D3DBLENDOP_ADD}, {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
                    {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA}, {D3DRS_DESTBLEND, D3DBLEND_ONE},
                    {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA}, {D3DRS_ALPHABLENDENABLE, FALSE}}),
            StatesOfOnePass());
  ExpectRegistersEmpty();
}

TEST_F(PropertyTest, CullingComparesWithTheModeInForce) {
  outer->AddProperty(new HvCullingProperty(D3DCULL_CCW), 0);
  EXPECT_EQ((States{{D3DRS_CULLMODE, D3DCULL_CCW}}), StatesOfOnePass()) << "nothing on apply, CCW on restore";
  inner->AddProperty(new HvCullingProperty(D3DCULL_NONE), 0);
  EXPECT_EQ((States{{D3DRS_CULLMODE, D3DCULL_NONE}, {D3DRS_CULLMODE, D3DCULL_CCW}, {D3DRS_CULLMODE, D3DCULL_CCW}}),
            StatesOfOnePass());
}

TEST_F(PropertyTest, ZBufferAlwaysWritesBothStates) {
  HvZBufferProperty* z = new HvZBufferProperty;
  z->depthWrite = false;
  z->depthTest = false;
  z->strictLess = 1;
  outer->AddProperty(z, 0);
  HvZBufferProperty* strict = new HvZBufferProperty;
  strict->strictLess = 1;
  inner->AddProperty(strict, 0);
  EXPECT_EQ((States{{D3DRS_ZWRITEENABLE, FALSE}, {D3DRS_ZFUNC, D3DCMP_ALWAYS}, {D3DRS_ZWRITEENABLE, TRUE},
                    {D3DRS_ZFUNC, D3DCMP_LESS}, {D3DRS_ZWRITEENABLE, FALSE}, {D3DRS_ZFUNC, D3DCMP_ALWAYS},
                    {D3DRS_ZWRITEENABLE, TRUE}, {D3DRS_ZFUNC, D3DCMP_LESSEQUAL}}),
            StatesOfOnePass());
}

TEST_F(PropertyTest, LightingNestsAndSwitchesOffLightsTheOuterOneDoesNotHave) {
  HvLightingProperty* outerLights = new HvLightingProperty;
  HvPointLight* lamp = new HvPointLight;
  HvNode* anchor = new HvNode("anchor");
  anchor->SetMatrix(HvMatrixLocal, D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 7, 8, 9, 1));
  anchor->Refresh();
  lamp->SetNode(anchor, false);
  outerLights->AddLight(lamp);
  outerLights->ambient[0] = 1.0f;
  outer->AddProperty(outerLights, 0);
  HvLightingProperty* innerLights = new HvLightingProperty;
  innerLights->AddLight(new HvDirectionalLight);
  innerLights->AddLight(new HvDirectionalLight);
  inner->AddProperty(innerLights, 0);

  EXPECT_EQ((States{{D3DRS_LIGHTING, TRUE}, {D3DRS_AMBIENT, 0xFFFF0000}, {D3DRS_AMBIENT, 0xFF000000},
                    {D3DRS_AMBIENT, 0xFFFF0000}, {D3DRS_LIGHTING, FALSE}}),
            StatesOfOnePass());
  EXPECT_EQ(9.0f, fake.lights[0].Position.z) << "the point light follows its node";
  const auto enables = fake.Calls("LightEnable");
  ASSERT_EQ(5u, enables.size());  // outer 0; inner 0, 1; restore: outer 0, and light 1 off
  EXPECT_EQ(1u, enables[4].a);
  EXPECT_FALSE(fake.lightEnabled[1]) << "the inner light must not shine on the outer subtree";
  EXPECT_TRUE(fake.lightEnabled[0]);
  EXPECT_EQ(D3DLIGHT_POINT, fake.lights[0].Type);
}

TEST_F(PropertyTest, MaterialNestingSwitchesSpecularAndRestoresTheOuterMaterial) {
  HvMaterial* shiny = new HvMaterial;
  shiny->power = 8;
  outer->AddProperty(new HvMaterialProperty(shiny), 0);
  inner->AddProperty(new HvMaterialProperty(new HvMaterial), 0);
  EXPECT_EQ((States{{D3DRS_SPECULARENABLE, TRUE}, {D3DRS_SPECULARENABLE, FALSE}, {D3DRS_SPECULARENABLE, TRUE},
                    {D3DRS_SPECULARENABLE, FALSE}}),
            StatesOfOnePass());
  EXPECT_EQ(4u, fake.Count("SetMaterial"));
  ExpectRegistersEmpty();
}

TEST_F(PropertyTest, CameraAlreadyCurrentIsOnlyUpdated) {
  HvCamera* camera = core->GetDefaultCamera();
  outer->AddProperty(new HvCameraProperty(camera), 0);
  StatesOfOnePass();
  EXPECT_EQ(2u, fake.Count("SetTransform")) << "the root's activation only";
  HvCamera* other = new HvCamera("other");
  inner->AddProperty(new HvCameraProperty(other), 0);
  StatesOfOnePass();
  EXPECT_EQ(6u, fake.Count("SetTransform")) << "root, inner, back to the default camera";
  ExpectRegistersEmpty();
}

TEST_F(PropertyTest, BillboardFacesTheCameraWithoutCompoundingOverFrames) {
  HvCamera* camera = core->GetDefaultCamera();
  camera->LookAt(D3DXVECTOR3(10, 0, 0), D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 1, 0));
  inner->AddProperty(new HvBillboardProperty, 0);
  inner->SetMatrix(HvMatrixLocal, D3DXMATRIX(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 2, 0, 1));
  for (int frame = 0; frame < 3; ++frame) {
    StatesOfOnePass();
    const D3DXMATRIX& w = inner->GetMatrix(HvMatrixWorld);
    // Looking along -x: the node's z axis points from the eye to the target, its y axis stays up.
    EXPECT_NEAR(-1.0f, w._31, 1e-5f) << "frame " << frame;
    EXPECT_NEAR(1.0f, w._22, 1e-5f) << "frame " << frame;
    EXPECT_NEAR(2.0f, w._42, 1e-5f) << "frame " << frame;
    EXPECT_NEAR(0.0f, inner->GetMatrix(HvMatrixLocal)._31, 1e-5f) << "its own Local is back after the frame";
  }
}

TEST_F(PropertyTest, FailedStateWriteLeavesTheRegisterAlone) {
  outer->AddProperty(new HvCullingProperty(D3DCULL_NONE), 0);
  fake.FailOn("SetRenderState");
  std::string log = MessagesOf([&] { EXPECT_TRUE(root->RenderPass(0)) << "property failures do not stop drawing"; });
  EXPECT_NE(std::string::npos, log.find("Error while setting render state"));
  EXPECT_FALSE(device->Registers().culling);
}
