// Sprites: the placement arithmetic, and what the collector really draws on a device: placement,
// colour modulation, visibility, drawing order, and a sprite whose image is missing.
#include <gtest/gtest.h>
#include "RealDevice.h"
#include "TestImages.h"
#include "../programs/PictureScene.h"
#include "engine/core/HvCore.h"
#include "engine/render/HvDevice.h"
#include "engine/ui2d/HvSprite.h"
#include "engine/ui2d/HvSpriteCollector.h"
#include <d3dx9.h>
#include <vector>

namespace {
D3DXVECTOR2 Place(const D3DXMATRIX& m, float x, float y) {
  D3DXVECTOR4 out;
  D3DXVECTOR4 in(x, y, 0, 1);
  D3DXVec4Transform(&out, &in, &m);
  return D3DXVECTOR2(out.x, out.y);
}
}

TEST(SpriteTransform, PivotScaleRotationAndPositionComposeInOrder) {
  const float half[2] = {0.5f, 0.5f}, one[2] = {1, 1};
  // A 256 x 128 image centred on 800 x 600.
  D3DXMATRIX m = HvSpriteTransform(half, half, one, 0, 800, 600, 256, 128);
  D3DXVECTOR2 topLeft = Place(m, 0, 0), bottomRight = Place(m, 256, 128);
  EXPECT_FLOAT_EQ(272, topLeft.x);
  EXPECT_FLOAT_EQ(236, topLeft.y);
  EXPECT_FLOAT_EQ(528, bottomRight.x);
  EXPECT_FLOAT_EQ(364, bottomRight.y);

  // Scaling and rotating happen about the pivot, before the move to the position.
  const float scale[2] = {2, 0.5f}, topLeftPivot[2] = {0, 0}, at[2] = {0.25f, 0.5f};
  m = HvSpriteTransform(at, half, scale, D3DX_PI / 2, 800, 600, 256, 128);
  D3DXVECTOR2 centre = Place(m, 128, 64), right = Place(m, 256, 64);
  EXPECT_NEAR(200, centre.x, 1e-3);
  EXPECT_NEAR(300, centre.y, 1e-3);
  EXPECT_NEAR(200, right.x, 1e-3);  // +x of the image (256 px wide, scaled by 2) now points down
  EXPECT_NEAR(300 + 256, right.y, 1e-3);

  m = HvSpriteTransform(at, topLeftPivot, scale, 0, 800, 600, 256, 128);
  EXPECT_FLOAT_EQ(200 + 512, Place(m, 256, 128).x);
  EXPECT_FLOAT_EQ(300 + 64, Place(m, 256, 128).y);
}

class SpriteDrawTest : public ::testing::Test {
protected:
  void SetUp() override {
    REQUIRE_REAL_DEVICE();
    core = HvCore::GetInstance();
    pool = core->GetPool(HvPoolSprite);
    ASSERT_TRUE(WriteTga(dir + "white.tga", 16, 16, 32, Texels(256, 0xFFFFFFFF)));
    ASSERT_TRUE(WriteTga(dir + "green.tga", 16, 16, 32, Texels(256, 0xFF00FF00)));
    collector = core->GetDefaultSpriteCollector();
    ASSERT_TRUE(collector->PostCreate());
  }
  void TearDown() override {
    for (HvSprite* s : made) pool->Remove(s);
  }

  HvSprite* Make(const std::string& file, float x, float y) {
    auto* s = new HvSprite(dir + file, x, y);
    made.push_back(s);
    return s;
  }

  // Draws the sprites over a black back buffer and reads it back.
  bool Draw() {
    IDirect3DDevice9* d = core->GetDevice()->GetD3DDevice();
    bool ok = SUCCEEDED(d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000, 1, 0)) && SUCCEEDED(d->BeginScene());
    ok = ok && collector->Render();
    ok = SUCCEEDED(d->EndScene()) && ok;
    width = core->GetSettings().displayWidth;
    return ok && ReadBackBuffer(d, width, core->GetSettings().displayHeight, pixels);
  }
  DWORD At(int x, int y) const { return pixels[y * width + x] & 0xFFFFFF; }

  std::string dir = TestFolder();
  HvCore* core = nullptr;
  HvObjectPool* pool = nullptr;
  HvSpriteCollector* collector = nullptr;
  std::vector<HvSprite*> made;
  std::vector<DWORD> pixels;
  UINT width = 0;
};

TEST_F(SpriteDrawTest, DrawsActiveSpritesInCreationOrderWithTheirColour) {
  HvSprite* white = Make("white.tga", 0, 0);           // at (0, 0)
  HvSprite* green = Make("green.tga", 0, 0);           // over the white one's right half
  green->SetPosition(8.0f / core->GetSettings().displayWidth, 0);
  green->Refresh();
  HvSprite* dimmed = Make("white.tga", 0, 0);          // half-bright red, further right
  dimmed->SetPosition(40.0f / core->GetSettings().displayWidth, 0);
  dimmed->SetColor(1, 0, 0, 0.5f);
  dimmed->Refresh();
  HvSprite* hidden = Make("white.tga", 0, 0.5f);
  hidden->SetVisible(false);
  HvSprite* clear = Make("white.tga", 0.5f, 0);
  clear->SetColor(1, 1, 1, 0);
  ASSERT_TRUE(Draw());
  EXPECT_EQ(0xFFFFFFu, At(2, 2));
  EXPECT_EQ(0x00FF00u, At(12, 2));   // the later sprite covers the earlier one
  EXPECT_EQ(0x00FF00u, At(20, 12));
  EXPECT_EQ(0u, At(30, 2));
  const DWORD red = At(44, 8);
  EXPECT_NEAR(0x80, int(red >> 16), 2) << std::hex << red;  // modulated, blended over black
  EXPECT_EQ(0u, red & 0xFFFF);
  const HvDeviceSettings& s = core->GetSettings();
  EXPECT_EQ(0u, At(4, s.displayHeight / 2 + 4));  // inactive: skipped
  EXPECT_EQ(0u, At(s.displayWidth / 2 + 4, 4));   // alpha 0: invisible

  white->SetVisible(false);
  ASSERT_TRUE(Draw());
  EXPECT_EQ(0u, At(2, 2));
}

TEST_F(SpriteDrawTest, ASpriteWithoutItsImageIsLeftOutOfTheFrame) {
  std::string messages = CaptureStderrOf([&] { Make("missing.tga", 0, 0); });
  EXPECT_NE(std::string::npos, messages.find("Error loadind texture " + dir + "missing.tga"));
  Make("white.tga", 0.5f, 0.5f);
  messages = CaptureStderrOf([&] { EXPECT_TRUE(Draw()); });
  EXPECT_EQ("", messages);
  const HvDeviceSettings& s = core->GetSettings();
  EXPECT_EQ(0xFFFFFFu, At(s.displayWidth / 2 + 2, s.displayHeight / 2 + 2));
}
