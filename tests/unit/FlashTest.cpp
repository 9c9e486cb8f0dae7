// Screen flash: flash strength over an event's progress, and the quad shown only in frames that
// receive a flash, with the colour of that frame and in one pass only.
#include "SceneFixture.h"
#include "app/scenes/CObjectFlash.h"
#include "engine/core/HvMath.h"
#include "engine/render/HvNode.h"

namespace {
float Alpha(int kind, float p) {
  float c[4];
  FlashColor(kind, p, c);
  return c[3];
}

class FlashTest : public SceneTest {
protected:
  FlashTest() {
    HvFillSineTable();
    flash = new CObjectFlash("Flash_Screen");
    EXPECT_TRUE(flash->Create());
  }
  ~FlashTest() override { flash->Release(); }

  // One frame: the events delivered, the object's update, the render; returns the draw calls made.
  size_t Frame(std::initializer_list<std::pair<float, const char*>> events) {
    for (const auto& e : events) flash->OnEvent(e.first, e.second);
    EXPECT_TRUE(flash->Update());
    fake.ClearLog();
    EXPECT_TRUE(core->BeginFrame() && core->Render() && core->EndFrame());
    return fake.Count("DrawPrimitive");
  }
  std::vector<float> Constant0() { return fake.vertexConstants[0]; }

  HvRef<CObjectFlash> flash;
};
}

TEST(FlashColor, StrengthOfEachKindOverProgress) {
  HvFillSineTable();
  EXPECT_EQ(0.0f, Alpha(FlashBig, 0)) << "the flash curve starts at 0";
  EXPECT_EQ(0.0f, Alpha(FlashSmall, 0));
  EXPECT_EQ(0.0f, Alpha(FlashVerySmall, 0));
  EXPECT_EQ(1.0f, Alpha(FlashNewScene, 0)) << "a new scene starts fully white";
  EXPECT_FLOAT_EQ(1.0f, Alpha(FlashBig, 0.2f));
  EXPECT_FLOAT_EQ(0.7f, Alpha(FlashSmall, 0.2f));
  EXPECT_FLOAT_EQ(0.3f, Alpha(FlashVerySmall, 0.2f));
  EXPECT_FLOAT_EQ(0.7f * 0.86f, Alpha(FlashSmall, 0.15f)) << "between two curve samples";
  EXPECT_FLOAT_EQ(0.75f, Alpha(FlashNewScene, 0.25f));
  EXPECT_EQ(0.0f, Alpha(FlashBig, 1.0f));

  float c[4];
  FlashColor(FlashSmall, 0.5f, c);
  EXPECT_EQ((std::vector<float>{1, 1, 1}), std::vector<float>(c, c + 3)) << "flashes are white";
  FlashColor(FlashFadeToBlack, 0.4f, c);
  EXPECT_EQ((std::vector<float>{0, 0, 0, 0.4f}), std::vector<float>(c, c + 4));
  FlashColor(FlashFadeToBlack, 1.0f, c);
  EXPECT_EQ(1.0f, c[3]) << "fully black at the end of the fade";
}

TEST_F(FlashTest, QuadShownOnlyInFramesWithAFlashWithThatFramesColour) {
  EXPECT_EQ(0u, Frame({})) << "no event: hidden";
  EXPECT_FALSE(flash->GetNode()->HasFlag(HvFlags::Active));

  EXPECT_EQ(1u, Frame({{0.2f, "flash_small"}})) << "drawn once, by the alpha collector of pass 1";
  EXPECT_EQ((std::vector<float>{1, 1, 1, 0.7f}), Constant0()) << "c0 holds this frame's colour";
  EXPECT_EQ(FlashNone, flash->GetFlashKind()) << "the kind lasts one frame";

  EXPECT_EQ(0u, Frame({})) << "hidden again in the next frame without a flash";
  EXPECT_EQ(0u, Frame({{0.0f, "turn_on"}})) << "an event that is no flash shows nothing";

  EXPECT_EQ(1u, Frame({{0.2f, "flash_big"}, {0.2f, "flash_very_small"}}));
  EXPECT_FLOAT_EQ(0.3f, Constant0()[3]) << "the flash delivered last sets the kind";

  EXPECT_EQ(1u, Frame({{1.0f, "fade_screen"}}));
  EXPECT_EQ((std::vector<float>{0, 0, 0, 1}), Constant0());
}

TEST_F(FlashTest, SecondPassTakesOverTheOverlay) {
  EXPECT_EQ(0u, Frame({{0.0f, "use_2nd_pass"}})) << "no flash kind: still hidden";
  HvNode* node = flash->GetNode();
  EXPECT_EQ(HvPassSkip, node->GetPassMode(1));
  EXPECT_EQ(HvPassDraw, node->GetPassMode(2));
  EXPECT_EQ(1u, Frame({{0.3f, "flash_new_scene"}})) << "drawn once, not in both passes";
  EXPECT_FLOAT_EQ(0.7f, Constant0()[3]);
}
