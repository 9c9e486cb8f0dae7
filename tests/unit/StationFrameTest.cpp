// The generated station model under the station scene: what one frame of its first pass costs in
// draw calls and shader binds with and without grouping the meshes by vertex shader. The device
// resources are real; the frame itself is drawn on the recording device.
#include "FakeDevice.h"
#include "RealDevice.h"
#include "app/scenes/CObjectStation.h"
#include "engine/assets/HvXFileLoader.h"
#include "engine/render/HvAlphaCollector.h"
#include "engine/render/HvDevice.h"
#include <windows.h>
#include <cstdio>

namespace {
struct FrameCost {
  size_t draws = 0;        // opaque traversal and alpha collector together
  size_t shaderBinds = 0;  // SetVertexShader calls
};

FrameCost StationFrame(bool groupByShader) {
  FrameCost cost;
  HvRef<CObjectStation> station = new CObjectStation("SpaceStation");
  HvRef<HvNode> model(LoadXFile("Station.x"));
  if (!model) return cost;
  model->Refresh();
  station->SetNode(model.Get());
  station->SetupScene(groupByShader);
  station->PostCreate();
  model->SetFlag(HvFlags::Active);

  HvCore* core = HvCore::GetInstance();
  HvDevice* device = core->GetDevice();
  IDirect3DDevice9* real = device->GetD3DDevice();
  FakeDevice fake;
  device->SetD3DDevice(&fake);
  model->RenderPass(0);
  core->GetAlphaCollector(0)->Render(0);
  core->GetAlphaCollector(0)->EndFrame();
  device->SetD3DDevice(real);
  device->RestoreDefaultStates();
  cost.draws = fake.Count("DrawIndexedPrimitive") + fake.Count("DrawPrimitive");
  cost.shaderBinds = fake.Count("SetVertexShader");
  return cost;
}
}  // namespace

TEST(StationFrame, GroupingByShaderCutsTheShaderBindsOfTheStation) {
  REQUIRE_REAL_DEVICE();
  char saved[MAX_PATH], data[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, saved);
  GetFullPathNameA(ORVANTA_TEST_DATA "\\Station", MAX_PATH, data, nullptr);
  ASSERT_TRUE(SetCurrentDirectoryA(data)) << data;
  const FrameCost before = StationFrame(false);
  const FrameCost after = StationFrame(true);
  SetCurrentDirectoryA(saved);
  ASSERT_GT(before.draws, 0u);
  EXPECT_EQ(after.draws, before.draws);  // the same meshes, only reordered
  EXPECT_LT(after.shaderBinds, before.shaderBinds);
  printf("[ figures  ] station pass 0: %zu draw calls; shader binds %zu ungrouped, %zu grouped\n", before.draws,
         before.shaderBinds, after.shaderBinds);
}
