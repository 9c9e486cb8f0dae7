// Vertex-shader property: binding and nesting, fixed and caller-owned constants, and the per-node
// values computed from node, camera, material and lights.
#include "SceneFixture.h"
#include "engine/render/HvCamera.h"
#include "engine/render/HvDirectionalLight.h"
#include "engine/render/HvGeometry.h"
#include "engine/render/HvLightingProperty.h"
#include "engine/render/HvNode.h"
#include "engine/render/HvPointLight.h"
#include "engine/render/HvVertexShaderProperty.h"
#include <cstdio>

namespace {
class ShaderPropertyTest : public SceneTest {
protected:
  ShaderPropertyTest() {
    camera->LookAt(D3DXVECTOR3(3, 4, -10), D3DXVECTOR3(0, 1, 0), D3DXVECTOR3(0, 1, 0));
    camera->Refresh();
    device->Registers().camera = camera;
    D3DXMATRIX rotation, translation;
    D3DXMatrixRotationY(&rotation, 0.6f);
    D3DXMatrixTranslation(&translation, 5, -2, 7);
    world = rotation * translation;
    node->SetMatrix(HvMatrixWorld, world);
  }
  static HvNode* NodeWithGeometry(const char* name) {
    HvGeometry* g = new HvGeometry({D3DPT_TRIANGLELIST, D3DFVF_XYZ, 3, 0});
    g->Refresh();
    return new HvNode(name, g);
  }
  // The four floats the device holds in register r.
  D3DXVECTOR4 Register(UINT r) {
    const std::vector<float>& v = fake.vertexConstants[r];
    return v.size() == 4 ? D3DXVECTOR4(v[0], v[1], v[2], v[3]) : D3DXVECTOR4(-999, -999, -999, -999);
  }
  // Rows r..r+3 read as a matrix, transposed back.
  D3DXMATRIX Transposed(UINT r) {
    D3DXMATRIX m;
    for (int i = 0; i < 4; ++i) {
      D3DXVECTOR4 row = Register(r + i);
      m(0, i) = row.x, m(1, i) = row.y, m(2, i) = row.z, m(3, i) = row.w;
    }
    return m;
  }
  bool SetFor(HvVertexShaderProperty* p, HvNode* n) {
    EXPECT_TRUE(p->Apply(n));
    const bool ok = HvVertexShaderProperty::SetNodeConstants(n);
    EXPECT_TRUE(p->Restore(n));
    return ok;
  }

  HvRef<HvVertexShader> shader = new HvVertexShader("unit_vs", {"", 0x112});
  HvRef<HvCamera> camera = new HvCamera("unit_camera");
  HvRef<HvNode> node = NodeWithGeometry("drawn");
  D3DXMATRIX world;
};

D3DXVECTOR4 Transform(D3DXVECTOR4 v, const D3DXMATRIX& m) {
  D3DXVECTOR4 out;
  D3DXVec4Transform(&out, &v, &m);
  return out;
}

void ExpectNear(const D3DXVECTOR4& expected, const D3DXVECTOR4& actual, const char* what) {
  EXPECT_NEAR(expected.x, actual.x, 1e-4f) << what;
  EXPECT_NEAR(expected.y, actual.y, 1e-4f) << what;
  EXPECT_NEAR(expected.z, actual.z, 1e-4f) << what;
  EXPECT_NEAR(expected.w, actual.w, 1e-4f) << what;
}

void ExpectNear(const D3DXMATRIX& expected, const D3DXMATRIX& actual, const char* what) {
  for (int r = 0; r < 4; ++r)
    ExpectNear(D3DXVECTOR4(expected(r, 0), expected(r, 1), expected(r, 2), expected(r, 3)),
               D3DXVECTOR4(actual(r, 0), actual(r, 1), actual(r, 2), actual(r, 3)), what);
}
}

TEST_F(ShaderPropertyTest, NestedPropertyWithTheSameShaderSendsItsValuesButKeepsTheOuterOneInForce) {
  HvRef<HvVertexShaderProperty> outer = new HvVertexShaderProperty(shader.Get());
  HvRef<HvVertexShaderProperty> inner = new HvVertexShaderProperty(shader.Get());
  const float alpha[4] = {0.4f, 0, 0, 0};
  float scale[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  outer->AddNodeConstant(0, HvConstWorldViewProjection);
  inner->AddConstantValue(20, alpha);
  inner->AddConstantData(17, scale, 2);
  inner->AddNodeConstant(4, HvConstEye);

  ASSERT_TRUE(outer->Apply(node.Get()));
  EXPECT_EQ(1u, fake.Count("SetVertexShader"));
  EXPECT_EQ(0u, fake.Count("SetVertexShaderConstantF")) << "per-node entries wait for the node";
  fake.ClearLog();
  ASSERT_TRUE(inner->Apply(node.Get()));
  EXPECT_EQ(0u, fake.Count("SetVertexShader") + fake.Count("SetVertexDeclaration"));
  ASSERT_EQ(2u, fake.Count("SetVertexShaderConstantF"));
  ExpectNear(D3DXVECTOR4(0.4f, 0, 0, 0), Register(20), "value");
  ExpectNear(D3DXVECTOR4(5, 6, 7, 8), Register(18), "data");
  EXPECT_EQ(outer.Get(), device->Registers().vertexShaderProperty.Get());
  EXPECT_EQ(1u, inner->GetNesting());
  fake.ClearLog();
  ASSERT_TRUE(HvVertexShaderProperty::SetNodeConstants(node.Get()));
  ASSERT_EQ(1u, fake.Count("SetVertexShaderConstantF")) << "the outer property's entries only";
  EXPECT_EQ(0u, fake.Calls("SetVertexShaderConstantF")[0].a);
  EXPECT_EQ(4u, fake.Calls("SetVertexShaderConstantF")[0].b);
  fake.ClearLog();
  ASSERT_TRUE(inner->Restore(node.Get()));
  EXPECT_EQ(0u, fake.calls.size());
  EXPECT_EQ(0u, inner->GetNesting());
  ASSERT_TRUE(outer->Restore(node.Get()));
  ASSERT_EQ(1u, fake.Count("SetVertexShader"));
  EXPECT_EQ(0u, fake.Calls("SetVertexShader")[0].a) << "back to fixed function";
  EXPECT_FALSE(device->Registers().vertexShader || device->Registers().vertexShaderProperty);

  // Caller-owned data is read at every Apply; a clone copies the entries and shares the data.
  scale[4] = 50;
  HvRef<HvProperty> clone = inner->Clone();
  ASSERT_TRUE(clone->Apply(node.Get()));
  ExpectNear(D3DXVECTOR4(50, 6, 7, 8), Register(18), "data read again");
  EXPECT_EQ(3u, static_cast<HvVertexShaderProperty*>(clone.Get())->GetConstants().size());
  ASSERT_TRUE(clone->Restore(node.Get()));
}

TEST_F(ShaderPropertyTest, MatrixCameraAndMaterialSelectors) {
  HvRef<HvMaterial> material = new HvMaterial;
  const float color[4] = {0.5f, 0.25f, 1, 0.75f}, specular[4] = {0.7f, 0.7f, 0.7f, 1};
  std::copy(color, color + 4, material->color);
  std::copy(specular, specular + 4, material->specular);
  material->power = 20;
  device->Registers().material = material;
  HvRef<HvVertexShaderProperty> p = new HvVertexShaderProperty(shader.Get());
  const uint32_t selectors[] = {HvConstWorldViewProjection, HvConstInverseWorld, HvConstWorld, HvConstViewProjection,
                                HvConstEye, HvConstBackVector, HvConstEyeObject, HvConstBackVectorObject,
                                HvConstMaterialColor, HvConstMaterialSpecular, HvConstMaterialPower};
  UINT r = 0;
  for (uint32_t s : selectors) {
    p->AddNodeConstant(r, s);
    r += s <= HvConstViewProjection ? 4 : 1;
  }
  ASSERT_TRUE(SetFor(p.Get(), node.Get()));
  EXPECT_EQ(size_t(11), fake.Count("SetVertexShaderConstantF"));

  D3DXMATRIX inverse, expected;
  D3DXMatrixInverse(&inverse, nullptr, &world);
  ExpectNear(world * camera->GetViewProjection(), Transposed(0), "world-view-projection");
  ExpectNear(inverse, Transposed(4), "inverse world");
  ExpectNear(world, Transposed(8), "world");
  ExpectNear(camera->GetViewProjection(), Transposed(12), "view-projection");
  ExpectNear(D3DXVECTOR4(3, 4, -10, 1), Register(16), "eye");
  D3DXVECTOR3 back(3, 3, -10);
  D3DXVec3Normalize(&back, &back);
  ExpectNear(D3DXVECTOR4(back.x, back.y, back.z, 1), Register(17), "back vector");
  // Object space: the eye with translation, the back vector without, then unit length.
  ExpectNear(Transform(D3DXVECTOR4(3, 4, -10, 1), inverse), Register(18), "eye in object space");
  ExpectNear(Transform(D3DXVECTOR4(back.x, back.y, back.z, 0), inverse), Register(19), "back vector in object space");
  ExpectNear(D3DXVECTOR4(color), Register(20), "material colour");
  ExpectNear(D3DXVECTOR4(specular), Register(21), "material specular");
  ExpectNear(D3DXVECTOR4(20, 20, 20, 20), Register(22), "power");

  // Power 0 means no highlight: `lit` would give pow(N.H, 0) = 1, so the specular colour goes out black.
  material->power = 0;
  ASSERT_TRUE(SetFor(p.Get(), node.Get()));
  ExpectNear(D3DXVECTOR4(0, 0, 0, 1), Register(21), "specular at power 0");
  ExpectNear(D3DXVECTOR4(color), Register(20), "material colour at power 0");
  material->power = 0.5f;
  ASSERT_TRUE(SetFor(p.Get(), node.Get()));
  ExpectNear(D3DXVECTOR4(specular), Register(21), "specular at a small power");

  // A node without geometry sends nothing and succeeds.
  HvRef<HvNode> frame = new HvNode("frame");
  fake.ClearLog();
  EXPECT_TRUE(SetFor(p.Get(), frame.Get()));
  EXPECT_EQ(0u, fake.Count("SetVertexShaderConstantF"));
}

TEST_F(ShaderPropertyTest, LightSelectorsPickTheLowestLightBitAndFailOnAMissingOrWrongLight) {
  HvRef<HvLightingProperty> lighting = new HvLightingProperty;
  HvPointLight* lamp = new HvPointLight;
  lamp->position[0] = 10, lamp->position[1] = 20, lamp->position[2] = 30;
  lamp->range = 250, lamp->attenuation = 2;
  lamp->color[0] = 0.9f, lamp->color[1] = 0.8f, lamp->color[2] = 0.7f, lamp->color[3] = 1;
  HvDirectionalLight* sun = new HvDirectionalLight;
  sun->direction[0] = 0, sun->direction[1] = -2, sun->direction[2] = 0;
  lighting->AddLight(lamp);
  lighting->AddLight(sun);
  lighting->ambient[0] = 0.1f, lighting->ambient[1] = 0.2f, lighting->ambient[2] = 0.3f, lighting->ambient[3] = 1;
  device->Registers().lighting = lighting;

  HvRef<HvVertexShaderProperty> p = new HvVertexShaderProperty(shader.Get());
  p->AddNodeConstant(8, HvConstLightPosition + HvLightBit);          // 524
  p->AddNodeConstant(9, HvConstLightAttenuation + HvLightBit);       // 529
  p->AddNodeConstant(10, HvConstLightColor + (HvLightBit << 1) + (HvLightBit << 3));  // lowest bit: light 1
  p->AddNodeConstant(11, HvConstAmbient);
  p->AddNodeConstant(12, HvConstLightDirection + (HvLightBit << 1));
  p->AddNodeConstant(13, HvConstLightDirectionObject + (HvLightBit << 1));
  p->AddNodeConstant(14, HvConstLightPositionObject + HvLightBit);
  ASSERT_TRUE(SetFor(p.Get(), node.Get()));
  ExpectNear(D3DXVECTOR4(10, 20, 30, 0), Register(8), "light position");
  ExpectNear(D3DXVECTOR4(0, 2.0f / 250, 0, 0), Register(9), "attenuation term");
  ExpectNear(D3DXVECTOR4(1, 1, 1, 1), Register(10), "colour of light 1");
  ExpectNear(D3DXVECTOR4(0.1f, 0.2f, 0.3f, 1), Register(11), "ambient");
  ExpectNear(D3DXVECTOR4(0, -2, 0, 0), Register(12), "direction");
  D3DXMATRIX inverse;
  D3DXMatrixInverse(&inverse, nullptr, &world);
  ExpectNear(Transform(D3DXVECTOR4(0, -1, 0, 0), inverse), Register(13), "direction in object space, unit length");
  ExpectNear(Transform(D3DXVECTOR4(10, 20, 30, 1), inverse), Register(14), "light position in object space, translation included");

  const uint32_t failing[] = {HvConstLightPosition,                        // no light bit
                              HvConstLightPosition + (HvLightBit << 1),    // light 1 is directional
                              HvConstLightDirection + HvLightBit,          // light 0 is a point light
                              HvConstLightAttenuation + (HvLightBit << 1),
                              HvConstLightColor + (HvLightBit << 2)};      // no light 2
  for (uint32_t s : failing) {
    HvRef<HvVertexShaderProperty> bad = new HvVertexShaderProperty(shader.Get());
    bad->AddNodeConstant(0, s);
    EXPECT_FALSE(SetFor(bad.Get(), node.Get())) << s;
  }
}

// Figures: constant uploads per node and frame for the point-light room layout, with one property on
// the parent of many drawn nodes, and with the same shader's property repeated on every node.
TEST_F(ShaderPropertyTest, UploadsPerNodeForThePointLightLayout) {
  HvRef<HvLightingProperty> lighting = new HvLightingProperty;
  lighting->AddLight(new HvPointLight);
  device->Registers().lighting = lighting;
  auto roomLayout = [&](HvVertexShaderProperty* p) {
    p->AddNodeConstant(0, HvConstWorldViewProjection);
    p->AddNodeConstant(4, HvConstWorld);
    p->AddNodeConstant(8, 524);
    p->AddNodeConstant(9, 529);
    p->AddNodeConstant(10, 528);
    p->AddNodeConstant(11, HvConstAmbient);
  };
  const int nodes = 10;
  HvRef<HvNode> parent = new HvNode("room");
  HvRef<HvVertexShaderProperty> shared = new HvVertexShaderProperty(shader.Get());
  roomLayout(shared.Get());
  parent->AddProperty(shared.Get(), 0);
  for (int i = 0; i < nodes; ++i) {
    HvNode* child = NodeWithGeometry("part");
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, float(i), 0, 0);
    child->SetMatrix(HvMatrixWorld, m);
    parent->AddChild(child);
  }
  struct Figures { size_t calls = 0, registers = 0, binds = 0; };
  auto frame = [&] {
    fake.ClearLog();
    Figures f;
    EXPECT_TRUE(parent->RenderPass(0));
    f.binds = fake.Count("SetVertexShader") + fake.Count("SetVertexDeclaration");
    for (const FakeCall& c : fake.Calls("SetVertexShaderConstantF")) {
      ++f.calls;
      f.registers += c.b;
    }
    return f;
  };
  // Registers whose upload for a node repeats the value the previous node left there.
  auto redundant = [&] {
    fake.vertexConstants.clear();
    fake.ClearLog();
    size_t same = 0;
    // Render node by node, comparing the register file before and after each node's uploads.
    for (size_t i = 0; i < parent->GetChildCount(); ++i) {
      HvNode* child = parent->GetChild(i);
      EXPECT_TRUE(shared->Apply(parent.Get()));
      std::map<UINT, std::vector<float>> previous = fake.vertexConstants;
      EXPECT_TRUE(HvVertexShaderProperty::SetNodeConstants(child));
      EXPECT_TRUE(shared->Restore(parent.Get()));
      for (auto& entry : fake.vertexConstants)
        if (previous.count(entry.first) && previous[entry.first] == entry.second) ++same;
    }
    return same;
  };
  ASSERT_TRUE(device->RestoreDefaultStates());
  const Figures one = frame();
  EXPECT_EQ(size_t(6 * nodes), one.calls);
  EXPECT_EQ(size_t(12 * nodes), one.registers);
  EXPECT_EQ(4u, one.binds) << "shader and declaration set once for the subtree and once back";
  const size_t same = redundant();

  // The same layout repeated on every node: nesting keeps the shader bound.
  for (size_t i = 0; i < parent->GetChildCount(); ++i) {
    HvVertexShaderProperty* own = new HvVertexShaderProperty(shader.Get());
    roomLayout(own);
    parent->GetChild(i)->AddProperty(own, 0);
  }
  const Figures nested = frame();
  EXPECT_EQ(4u, nested.binds) << "nested properties with the bound shader do not bind it again";
  EXPECT_EQ(one.registers, nested.registers);
  printf("[ figures  ] %d nodes, per node and frame: %zu constant uploads, %zu registers; %zu of %zu registers repeat "
         "the previous node's value; shader/declaration calls with nesting %zu, without it would be %d\n",
         nodes, one.calls / nodes, one.registers / nodes, same, one.registers, nested.binds, 4 * (nodes + 1));
}
