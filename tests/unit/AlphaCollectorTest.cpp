#include "SceneFixture.h"
#include "engine/render/HvAlphaCollector.h"
#include "engine/render/HvAlphaProperty.h"
#include "engine/render/HvCamera.h"
#include "engine/render/HvGeometry.h"
#include "engine/render/HvNode.h"

namespace {
class AlphaCollectorTest : public SceneTest {
protected:
  // A node with a triangle whose FVF identifies it in the draw log.
  HvNode* AddNode(HvNode* parent, uint32_t id, uint32_t bucket) {
    HvGeometry* g = new HvGeometry({D3DPT_TRIANGLELIST, D3DFVF_XYZ | (id << 16), 3, 0});
    g->Refresh();
    HvNode* n = new HvNode(std::to_string(id).c_str(), g);
    parent->AddChild(n);
    if (bucket != HvAlphaProperty::NoBucket) {
      HvAlphaProperty* alpha = new HvAlphaProperty;
      alpha->bucket = bucket;
      n->AddProperty(alpha, 0);
    }
    return n;
  }
  // The ids of the drawn nodes in order; "z" where depth writes were switched off.
  std::string Drawn() {
    std::string out;
    for (const FakeCall& c : fake.calls) {
      if (c.method == "SetFVF") out += std::to_string(c.a >> 16);
      if (c.method == "SetRenderState" && c.a == D3DRS_ZWRITEENABLE) out += c.b ? "Z" : "z";
    }
    return out;
  }
};
}

TEST_F(AlphaCollectorTest, TransparentSubtreesAreDrawnAfterThePassByBucketThenTreeOrder) {
  const uint32_t none = HvAlphaProperty::NoBucket;
  HvNode* late = AddNode(root, 1, 4);
  AddNode(late, 2, none);  // an opaque child travels with its transparent parent
  AddNode(root, 3, none);
  AddNode(root, 4, 3);
  AddNode(root, 5, 4);
  fake.ClearLog();
  ASSERT_TRUE(core->Render());
  EXPECT_EQ("3z4125ZzZzZzZ", Drawn()) << "pass 0, then the empty collectors of passes 1 to 3";
  EXPECT_EQ(DWORD(D3DCMP_LESSEQUAL), fake.renderStates[D3DRS_ZFUNC]);
  HvAlphaCollector* collector = core->GetAlphaCollector(0);
  EXPECT_EQ(2u, collector->GetCount(4));
  EXPECT_EQ(4u, static_cast<HvAlphaProperty*>(late->FindProperty(HvPropertyAlpha, 0))->bucket);
  EXPECT_EQ(DWORD(FALSE), fake.renderStates[D3DRS_ALPHABLENDENABLE]);

  ASSERT_TRUE(core->EndFrame());
  EXPECT_EQ(0u, collector->GetCount(4));
}

TEST_F(AlphaCollectorTest, EveryPassWritesAndRestoresTheDepthStateEvenWhenEmpty) {
  fake.ClearLog();
  ASSERT_TRUE(core->Render());
  EXPECT_EQ("zZzZzZzZ", Drawn());
  for (uint32_t pass = 0; pass < 4; ++pass)
    EXPECT_EQ("Alpha collector for pass " + std::to_string(pass), core->GetAlphaCollector(pass)->GetName());
}

TEST_F(AlphaCollectorTest, ACollectedNodeThatFailsKeepsItsBucket) {
  HvNode* glass = AddNode(root, 1, 2);
  fake.FailOn("DrawPrimitive");
  bool ok = true;
  MessagesOf([&] { ok = core->Render(); });
  EXPECT_FALSE(ok);
  EXPECT_EQ(2u, static_cast<HvAlphaProperty*>(glass->FindProperty(HvPropertyAlpha, 0))->bucket);
}

TEST_F(AlphaCollectorTest, CoreSetsUpTheRootWithTheDefaultCameraInEveryPass) {
  EXPECT_EQ("__SceneRoot__", root->GetName());
  EXPECT_EQ("Default_camera", core->GetDefaultCamera()->GetName());
  EXPECT_EQ(uint32_t(HvPassDraw), root->GetPassMode(0));
  for (uint32_t pass = 0; pass < 4; ++pass) {
    EXPECT_NE(nullptr, root->FindProperty(HvPropertyCamera, pass));
    if (pass) {
      EXPECT_EQ(uint32_t(HvPassSkip), root->GetPassMode(pass));
    }
  }
  EXPECT_EQ(4u, core->GetPool(HvPoolAlphaCollector)->GetCount());
}
