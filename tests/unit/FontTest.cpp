// Fonts on a real device: where queued texts land, their colour, the emptied queue, a device reset.
#include "CoreDeviceFixture.h"
#include "engine/ui2d/HvFont.h"

namespace {
struct Box {
  uint32_t left, top, right, bottom;  // pixels, right and bottom excluded
};

// Pixels in the box whose brightest channel is above 128; `redder` counts those with red above green.
uint32_t LitPixels(const std::vector<uint32_t>& pixels, uint32_t width, Box b, uint32_t* redder = nullptr) {
  uint32_t lit = 0;
  for (uint32_t y = b.top; y < b.bottom; ++y)
    for (uint32_t x = b.left; x < b.right; ++x) {
      const uint32_t p = pixels[y * width + x], r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, bl = p & 0xFF;
      if (std::max(r, std::max(g, bl)) <= 128) continue;
      ++lit;
      if (redder && r > g + 64) ++*redder;
    }
  return lit;
}

using FontTest = CoreDeviceTest;

TEST_F(FontTest, TheCoreOwnsTheDefaultArialFontInTheFontPool) {
  ASSERT_NE(nullptr, core->GetDefaultFont());
  EXPECT_EQ("Arial", core->GetDefaultFont()->GetName());
  EXPECT_EQ(core->GetDefaultFont(), core->GetPool(HvPoolFont)->FindByName("Arial"));
  EXPECT_EQ(-13, HvScreenFontHeight(20));  // 10 points on the 96-dpi test display
}

TEST_F(FontTest, QueuedTextsAreDrawnAtTheirPositionsOnceAndInTheirColour) {
  HvRef<HvFont> font = new HvFont("Test font");
  ASSERT_TRUE(font->PostCreate());
  font->AddText(100, 100, "HELLO");
  font->SetColor(1, 0, 0, 1);
  font->AddText(400, 300, "WORLD");
  bool drawn = false;
  DrawFrame([&] { drawn = font->Render(); });
  EXPECT_TRUE(drawn);
  EXPECT_EQ(0u, font->GetQueuedCount());

  uint32_t width = 0, red = 0, firstRed = 0;
  std::vector<uint32_t> pixels = ReadBackBuffer(width);
  ASSERT_FALSE(pixels.empty());
  EXPECT_GT(LitPixels(pixels, width, {100, 100, 200, 120}, &firstRed), 20u);
  EXPECT_EQ(0u, firstRed);  // queued before the colour changed: white
  const uint32_t second = LitPixels(pixels, width, {400, 300, 500, 320}, &red);
  EXPECT_GT(second, 20u);
  EXPECT_EQ(second, red);
  EXPECT_EQ(0u, LitPixels(pixels, width, {100, 0, 200, 99}));     // nothing above the top edge
  EXPECT_EQ(0u, LitPixels(pixels, width, {0, 130, 390, 290}));    // nor between the texts

  DrawFrame([&] { drawn = font->Render(); });  // nothing queued again: nothing drawn
  EXPECT_TRUE(drawn);
  pixels = ReadBackBuffer(width);
  EXPECT_EQ(0u, LitPixels(pixels, width, {0, 0, width, uint32_t(pixels.size() / width)}));
}

TEST_F(FontTest, AFontSurvivesALostAndResetDevice) {
  HvRef<HvFont> font = new HvFont("Reset font");
  ASSERT_TRUE(font->PostCreate());
  // As the core does it: every pool lets go of what a reset destroys, then makes it again.
  for (uint32_t i = 1; i < HvPoolCount; ++i) ASSERT_TRUE(core->GetEnginePool(i)->OnDeviceLost());
  D3DPRESENT_PARAMETERS p = HvMakePresentParameters(core->GetSettings());
  ASSERT_EQ(D3D_OK, Device()->Reset(&p));
  for (uint32_t i = 1; i < HvPoolCount; ++i) ASSERT_TRUE(core->GetEnginePool(i)->OnDeviceReset());
  font->AddText(10, 10, "AGAIN");
  bool drawn = false;
  DrawFrame([&] { drawn = font->Render(); });
  EXPECT_TRUE(drawn);
  uint32_t width = 0;
  const std::vector<uint32_t> pixels = ReadBackBuffer(width);
  ASSERT_FALSE(pixels.empty());
  EXPECT_GT(LitPixels(pixels, width, {10, 10, 110, 30}), 20u);
  EXPECT_TRUE(font->Release());
  EXPECT_TRUE(font->HasFlag(HvFlags::Released));
}
}
