#include "SceneFixture.h"
#include "../programs/PictureScene.h"
#include "engine/render/HvAlphaCollector.h"
#include "engine/render/HvNode.h"
#include <windows.h>
#include <cstdio>

namespace {
class FrameTest : public SceneTest {
protected:
  bool Frame() { return core->BeginFrame() && core->Render() && core->EndFrame(); }
};
}

TEST_F(FrameTest, PictureSceneFrameIsStableAndLeavesNoStateBehind) {
  BuildPictureScene(4.0f / 3.0f);
  fake.ClearLog();
  ASSERT_TRUE(Frame());
  const size_t stateCalls = fake.StateCalls();
  const std::vector<std::string> first = fake.Methods();
  EXPECT_EQ(3u, fake.Count("DrawPrimitive")) << "cube and billboard in the pass, the strip after it";
  printf("picture scene: %u Direct3D state calls per frame\n", unsigned(stateCalls));
  RecordProperty("StateCalls", int(stateCalls));

  fake.ClearLog();
  ASSERT_TRUE(Frame());
  EXPECT_EQ(first, fake.Methods()) << "the second frame makes the same calls";
  HvRenderRegisters& r = device->Registers();
  EXPECT_FALSE(r.material || r.alpha || r.zBuffer || r.culling || r.lighting || r.camera);
  EXPECT_EQ(0u, core->GetAlphaCollector(0)->GetCount(4));
}

TEST_F(FrameTest, TraversalOfAThousandEmptyNodes) {
  // 10 groups of 9 groups of 10 leaves: 1,000 nodes under the root, no geometry.
  for (int a = 0; a < 10; ++a) {
    HvNode* na = new HvNode("a");
    root->AddChild(na);
    for (int b = 0; b < 9; ++b) {
      HvNode* nb = new HvNode("b");
      na->AddChild(nb);
      for (int c = 0; c < 10; ++c) nb->AddChild(new HvNode("c"));
    }
  }
  root->Refresh();
  const int runs = 2000;
  LARGE_INTEGER f, t0, t1;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t0);
  for (int i = 0; i < runs; ++i) ASSERT_TRUE(root->RenderPass(0));
  QueryPerformanceCounter(&t1);
  const double us = double(t1.QuadPart - t0.QuadPart) * 1e6 / double(f.QuadPart) / runs;
  printf("RenderPass over 1,000 empty nodes: %.1f us\n", us);
  RecordProperty("Microseconds", int(us));
  EXPECT_LT(us, 5000.0);
}
