#include "SceneFixture.h"
#include "engine/render/HvAlphaCollector.h"
#include "engine/render/HvAlphaProperty.h"
#include "engine/render/HvClearProperty.h"
#include "engine/render/HvCullingProperty.h"
#include "engine/render/HvGeometry.h"
#include "engine/render/HvMaterialProperty.h"
#include "engine/render/HvNode.h"

namespace {
// Logs "apply name" / "restore name" into a shared list.
class LogProperty : public HvProperty {
public:
  LogProperty(std::vector<std::string>& log, const char* name, uint32_t kind, uint32_t priority)
      : HvProperty(kind, priority), log(log), name(name) {}
  bool Apply(HvNode*) override { log.push_back("apply " + name); return true; }
  bool Restore(HvNode*) override { log.push_back("restore " + name); return true; }
  std::vector<std::string>& log;
  std::string name;
};

HvGeometry* MakeTriangle() {
  HvGeometry* g = new HvGeometry({D3DPT_TRIANGLELIST, D3DFVF_XYZ, 3, 0});
  g->Refresh();
  return g;
}

D3DXMATRIX Translation(float x, float y, float z) {
  D3DXMATRIX m;
  D3DXMatrixTranslation(&m, x, y, z);
  return m;
}

D3DXMATRIX Scaling(float s) {
  D3DXMATRIX m;
  D3DXMatrixScaling(&m, s, s, s);
  return m;
}

void ExpectMatrix(const D3DXMATRIX& want, const D3DXMATRIX& got) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(want[i], got[i], 1e-5f) << "element " << i;
}
}

using NodeTest = SceneTest;

TEST_F(NodeTest, RefreshComposesLocalPreAndParentButPostTransformOnlyForItself) {
  HvNode* parent = new HvNode("parent");
  HvNode* child = new HvNode("child");
  HvNode* grandchild = new HvNode("grandchild");
  root->AddChild(parent);
  parent->AddChild(child);
  child->AddChild(grandchild);
  parent->SetMatrix(HvMatrixLocal, Translation(1, 0, 0));
  child->SetMatrix(HvMatrixPreTransform, Scaling(2));
  child->SetMatrix(HvMatrixLocal, Translation(0, 1, 0));
  child->SetMatrix(HvMatrixPostTransform, Translation(0, 0, 5));
  EXPECT_TRUE(child->HasFlag(HvNodeFlags::UsePreTransform | HvNodeFlags::UsePostTransform | HvFlags::Changed));
  ASSERT_TRUE(parent->Refresh());

  const D3DXMATRIX base = Translation(0, 1, 0) * Scaling(2) * Translation(1, 0, 0);
  ExpectMatrix(base, child->GetMatrix(HvMatrixChildBase));
  ExpectMatrix(Translation(0, 0, 5) * base, child->GetMatrix(HvMatrixWorld));
  ExpectMatrix(base, grandchild->GetMatrix(HvMatrixWorld));
  EXPECT_FALSE(child->HasFlag(HvFlags::Changed));

  child->SetMatrix(HvMatrixAltPreTransform, Scaling(3));
  child->SetFlag(HvNodeFlags::Animated);
  child->Refresh();
  ExpectMatrix(Translation(0, 1, 0) * Scaling(3) * Translation(1, 0, 0), grandchild->GetMatrix(HvMatrixWorld));

  parent->SetFlag(HvNodeFlags::UseLocalAsWorld);
  parent->Refresh();
  ExpectMatrix(Translation(0, 1, 0), child->GetMatrix(HvMatrixWorld));  // its Local only, no post-transform
  ExpectMatrix(D3DXMATRIX(Scaling(1)), grandchild->GetMatrix(HvMatrixWorld));
  EXPECT_FALSE(child->HasFlag(HvNodeFlags::UseLocalAsWorld));
}

TEST_F(NodeTest, PropertiesApplyByPriorityAndRestoreInListOrder) {
  std::vector<std::string> log;
  HvNode* node = new HvNode("n");
  root->AddChild(node);
  node->AddProperty(new LogProperty(log, "A", HvPropertyMaterial, 1), 0);
  node->AddProperty(new LogProperty(log, "B", HvPropertyCulling, 1), 0);
  node->AddProperty(new LogProperty(log, "shader", HvPropertyVertexShader, 0), 0);
  node->AddProperty(new LogProperty(log, "camera", HvPropertyCamera, 2), 0);
  ASSERT_TRUE(node->RenderPass(0));
  EXPECT_EQ((std::vector<std::string>{"apply camera", "apply A", "apply B", "apply shader", "restore camera",
                                      "restore A", "restore B", "restore shader"}),
            log);
  EXPECT_EQ(HvNoPass, node->GetCurrentPass());
  node->RemoveProperty(HvPropertyCulling, 0);
  EXPECT_EQ(nullptr, node->FindProperty(HvPropertyCulling, 0));
  EXPECT_EQ(nullptr, node->FindProperty(HvPropertyCulling, 3));
  EXPECT_EQ(nullptr, node->GetProperty(3, 0));
}

TEST_F(NodeTest, PassModesDecideWhoDrawsAndInactiveNodesHideTheirSubtree) {
  std::vector<std::string> log;
  HvNode* skipped = new HvNode("skipped", MakeTriangle());
  HvNode* inner = new HvNode("inner", MakeTriangle());
  HvNode* drawn = new HvNode("drawn", MakeTriangle());
  root->AddChild(skipped);
  skipped->AddChild(inner);
  skipped->AddChild(drawn);
  skipped->SetPassMode(0, HvPassSkip);
  skipped->AddProperty(new LogProperty(log, "skipped", HvPropertyMaterial, 1), 0);
  drawn->SetPassMode(0, HvPassDraw);
  drawn->SetPassMode(2, HvPassDraw);

  fake.ClearLog();
  ASSERT_TRUE(root->RenderPass(0));
  EXPECT_EQ(1u, fake.Count("DrawPrimitive")) << "only the node that sets Draw again";
  EXPECT_EQ((std::vector<std::string>{"apply skipped", "restore skipped"}), log);
  EXPECT_EQ(uint32_t(HvPassDraw), g_drawMode) << "the traversal restores the draw mode";

  fake.ClearLog();
  for (uint32_t pass = 1; pass < 4; ++pass) ASSERT_TRUE(root->RenderPass(pass));
  EXPECT_EQ(1u, fake.Count("DrawPrimitive")) << "later passes draw only where a node asks";

  skipped->ClearFlag(HvFlags::Active);
  log.clear();
  fake.ClearLog();
  ASSERT_TRUE(root->RenderPass(0));
  EXPECT_EQ(0u, fake.Count("DrawPrimitive"));
  EXPECT_TRUE(log.empty());
}

TEST_F(NodeTest, GeometryIsDrawnWithTheWorldTransformAndAFailedDrawAbortsTheTraversal) {
  HvNode* node = new HvNode("n", MakeTriangle());
  root->AddChild(node);
  node->SetMatrix(HvMatrixLocal, Translation(4, 5, 6));
  node->Refresh();
  fake.ClearLog();
  ASSERT_TRUE(root->RenderPass(0));
  EXPECT_EQ(6.0f, fake.transforms[D3DTS_WORLD]._43);
  const std::vector<std::string> methods = fake.Methods();  // the root's camera comes first: view, projection
  EXPECT_EQ((std::vector<std::string>{"SetTransform", "SetTransform", "SetTransform", "SetFVF", "SetStreamSource",
                                      "DrawPrimitive"}),
            methods);

  fake.FailOn("DrawPrimitive");
  bool ok = true;
  EXPECT_NE(std::string::npos, MessagesOf([&] { ok = root->RenderPass(0); }).find("Error while drawing primitive"));
  EXPECT_FALSE(ok);
}

TEST_F(NodeTest, FindNodeSearchesDepthFirstPreOrder) {
  HvNode* a = new HvNode("a");
  HvNode* deep = new HvNode("twin");
  HvNode* b = new HvNode("twin");
  root->AddChild(a);
  a->AddChild(deep);
  root->AddChild(b);
  EXPECT_EQ(deep, root->FindNode("twin"));
  EXPECT_EQ(nullptr, root->FindNode("Twin"));
  EXPECT_EQ(root, root->FindNode("__SceneRoot__"));
  root->RemoveChild(a);
  EXPECT_EQ(b, root->FindNode("twin"));
  EXPECT_EQ(nullptr, a->GetParent());
}

TEST_F(NodeTest, CloneSharesOrCopiesAsItsFlagsSay) {
  HvRef<HvNode> top = new HvNode("top", MakeTriangle());
  HvNode* child = new HvNode("child", MakeTriangle());
  top->AddChild(child);
  HvMaterialProperty* material = new HvMaterialProperty(new HvMaterial);
  material->material->power = 8;
  child->AddProperty(material, 1);
  HvCullingProperty* culling = new HvCullingProperty(D3DCULL_NONE);  // a kind that cannot copy itself
  child->AddProperty(culling, 1);
  top->SetMatrix(HvMatrixLocal, Translation(1, 2, 3));

  HvRef<HvNode> shared = top->Clone();
  EXPECT_EQ(top->GetGeometry(), shared->GetGeometry());
  EXPECT_EQ(material, shared->GetChild(0)->FindProperty(HvPropertyMaterial, 1));
  EXPECT_EQ(nullptr, shared->GetParent());
  EXPECT_EQ(3.0f, shared->GetMatrix(HvMatrixLocal)._43);
  EXPECT_EQ("child", shared->GetChild(0)->GetName());

  top->SetFlag(HvNodeFlags::CloneGeometry | HvNodeFlags::CloneProperties);
  HvRef<HvNode> copied = top->Clone();
  HvNode* copiedChild = copied->GetChild(0);
  EXPECT_NE(top->GetGeometry(), copied->GetGeometry());
  EXPECT_NE(child->GetGeometry(), copiedChild->GetGeometry());
  auto* copiedMaterial = static_cast<HvMaterialProperty*>(copiedChild->FindProperty(HvPropertyMaterial, 1));
  ASSERT_NE(nullptr, copiedMaterial);
  EXPECT_NE(material, copiedMaterial);
  EXPECT_NE(material->material.Get(), copiedMaterial->material.Get());
  EXPECT_EQ(8.0f, copiedMaterial->material->power);
  EXPECT_EQ(culling, copiedChild->FindProperty(HvPropertyCulling, 1)) << "shared, not dropped";
  EXPECT_FALSE(top->HasFlag(HvNodeFlags::CloneGeometry));
  EXPECT_FALSE(copied->HasFlag(HvNodeFlags::CloneGeometry));
  EXPECT_TRUE(copied->HasFlag(HvNodeFlags::CloneProperties));
  EXPECT_EQ(0u, child->GetFlags() & (HvNodeFlags::CloneGeometry | HvNodeFlags::CloneProperties));
}

TEST_F(NodeTest, GroupByVertexShaderGathersChildrenUnderNumberedGroups) {
  HvRef<HvProperty> a = new HvProperty(HvPropertyVertexShader, 0), b = new HvProperty(HvPropertyVertexShader, 0);
  HvRef<HvProperty> outer = new HvProperty(HvPropertyVertexShader, 0);
  HvNode* top = new HvNode("top");
  root->AddChild(top);
  top->AddProperty(outer.Get(), 0);
  HvNode* group = new HvNode("group");
  top->AddChild(group);
  HvProperty* given[] = {a.Get(), b.Get(), a.Get(), outer.Get(), a.Get()};
  std::vector<HvNode*> kids;
  for (HvProperty* p : given) {
    kids.push_back(new HvNode("kid"));
    group->AddChild(kids.back());
    kids.back()->AddProperty(p, 0);
  }
  group->GroupByVertexShader(0);

  ASSERT_EQ(3u, group->GetChildCount());
  EXPECT_EQ(kids[3], group->GetChild(0)) << "the child with the inherited shader stays, without it";
  EXPECT_EQ(nullptr, kids[3]->FindProperty(HvPropertyVertexShader, 0));
  HvNode* first = group->GetChild(1);
  HvNode* second = group->GetChild(2);
  EXPECT_EQ("_DummyNode_0", first->GetName());
  EXPECT_EQ("_DummyNode_1", second->GetName());
  EXPECT_EQ(a.Get(), first->FindProperty(HvPropertyVertexShader, 0));
  EXPECT_EQ(b.Get(), second->FindProperty(HvPropertyVertexShader, 0));
  ASSERT_EQ(3u, first->GetChildCount());
  EXPECT_EQ(kids[0], first->GetChild(0));
  EXPECT_EQ(kids[2], first->GetChild(1));
  EXPECT_EQ(kids[4], first->GetChild(2));
  ASSERT_EQ(1u, second->GetChildCount());
  EXPECT_EQ(kids[1], second->GetChild(0));
  for (HvNode* k : kids) EXPECT_EQ(nullptr, k->FindProperty(HvPropertyVertexShader, 0));

  HvNode* lone = new HvNode("lone");
  lone->AddProperty(b.Get(), 0);
  group->AddChild(lone);
  group->SetFlag(HvNodeFlags::SkipGrouping);
  group->GroupByVertexShader(0);
  EXPECT_EQ(4u, group->GetChildCount()) << "left alone once";
  EXPECT_FALSE(group->HasFlag(HvNodeFlags::SkipGrouping));
}

TEST_F(NodeTest, InheritAlphaStateCopiesTheNearestAncestorsStateIntoDivertedNodes) {
  HvRef<HvProperty> distantMaterial = new HvMaterialProperty, closeMaterial = new HvMaterialProperty, clear = new HvClearProperty;
  HvRef<HvProperty> culling = new HvCullingProperty;
  HvNode* grand = new HvNode("grand");
  HvNode* parent = new HvNode("parent");
  HvNode* glass = new HvNode("glass");
  root->AddChild(grand);
  grand->AddChild(parent);
  parent->AddChild(glass);
  grand->AddProperty(distantMaterial.Get(), 0);
  grand->AddProperty(culling.Get(), 0);
  parent->AddProperty(closeMaterial.Get(), 0);
  parent->AddProperty(clear.Get(), 0);
  HvAlphaProperty* alpha = new HvAlphaProperty;
  alpha->bucket = 4;
  glass->AddProperty(alpha, 0);
  glass->SetPassMode(1, HvPassSkip);
  grand->AddProperty(distantMaterial.Get(), 1);
  glass->AddProperty(alpha, 1);

  ASSERT_TRUE(grand->InheritAlphaState());
  EXPECT_EQ(closeMaterial.Get(), glass->FindProperty(HvPropertyMaterial, 0));
  EXPECT_EQ(culling.Get(), glass->FindProperty(HvPropertyCulling, 0));
  EXPECT_EQ(nullptr, glass->FindProperty(HvPropertyClear, 0));
  EXPECT_NE(nullptr, glass->FindProperty(HvPropertyCamera, 0)) << "the root's camera";
  EXPECT_EQ(4u, glass->GetPropertyCount(0));
  EXPECT_EQ(nullptr, glass->FindProperty(HvPropertyMaterial, 1)) << "a pass it skips";
  EXPECT_EQ(nullptr, parent->FindProperty(HvPropertyCulling, 0)) << "opaque nodes are left alone";
}
