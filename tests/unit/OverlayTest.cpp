// The logo, credits and shader-caption overlays: their placement, scale and colour arithmetic at chosen
// progress values, and what their events do to their sprites (with small stand-in images).
#include <gtest/gtest.h>
#include "RealDevice.h"
#include "TestImages.h"
#include "app/scenes/CObjectCredits.h"
#include "app/scenes/CObjectLogo.h"
#include "app/scenes/CObjectShader.h"
#include "engine/core/HvCore.h"
#include "engine/core/HvMath.h"
#include "engine/ui2d/HvSprite.h"
#include <cmath>

TEST(OverlayArithmetic, LogoKeepsItsPixelSizeFrom1024x768AndShrinksBelow) {
  EXPECT_FLOAT_EQ(0.78125f, LogoScaleX(800));
  EXPECT_FLOAT_EQ(0.78125f, LogoScaleY(600));
  EXPECT_FLOAT_EQ(0.625f, LogoScaleX(640));
  EXPECT_FLOAT_EQ(0.625f, LogoScaleY(480));
  EXPECT_EQ(1.0f, LogoScaleX(1024));
  EXPECT_EQ(1.0f, LogoScaleY(1200));
  EXPECT_FLOAT_EQ(0.7f * 0.78125f, LogoScaleX(800, 0.7f));  // a flash's size on top of the fit
  EXPECT_EQ(0.7f, LogoScaleY(1024, 0.7f));
}

TEST(OverlayArithmetic, LogoFlashAndShakeFollowTheirEnvelopes) {
  LogoFlashLook start = LogoFlash(0);
  EXPECT_FLOAT_EQ(0, start.alpha);  // 0.7 x the flash curve at 0
  EXPECT_FLOAT_EQ(0.7f, start.size);
  EXPECT_FLOAT_EQ(0, start.rotation);
  LogoFlashLook early = LogoFlash(0.15f);  // the curve is 0.86 there
  EXPECT_FLOAT_EQ(0.7f * 0.86f, early.alpha);
  EXPECT_FLOAT_EQ(0.3f * 0.86f + 0.7f, early.size);
  EXPECT_NEAR(sinf(0.15f * 4 * D3DX_PI) * 3 * 0.85f * D3DX_PI / 180, early.rotation, 1e-6);
  LogoFlashLook peak = LogoFlash(0.2f);
  EXPECT_FLOAT_EQ(0.7f, peak.alpha);
  EXPECT_FLOAT_EQ(1.0f, peak.size);
  EXPECT_NEAR(0, LogoFlash(1).rotation, 1e-7);

  // Shaking: five swings of at most 3 degrees per event, dying away.
  EXPECT_NEAR(3 * 0.95f * D3DX_PI / 180, LogoShakeRotation(0.05f), 1e-6);   // the first crest
  EXPECT_NEAR(-3 * 0.85f * D3DX_PI / 180, LogoShakeRotation(0.15f), 1e-6);  // the first trough
  EXPECT_NEAR(0, LogoShakeRotation(0.1f), 1e-6);
  for (float p = 0; p <= 1; p += 0.01f) EXPECT_LE(fabsf(LogoShakeRotation(p)), 3 * D3DX_PI / 180 + 1e-6f);

  float at[2];
  LogoJitter(0, 1, -1, at);
  EXPECT_FLOAT_EQ(0.505f, at[0]);
  EXPECT_FLOAT_EQ(0.495f, at[1]);
  LogoJitter(0.5f, -1, 0.5f, at);
  EXPECT_FLOAT_EQ(0.4975f, at[0]);
  EXPECT_FLOAT_EQ(0.50125f, at[1]);
  LogoJitter(1, 1, 1, at);  // settled at the centre
  EXPECT_FLOAT_EQ(0.5f, at[0]);
  EXPECT_FLOAT_EQ(0.5f, at[1]);
}

TEST(OverlayArithmetic, CreditsBaselineByDisplayHeight) {
  EXPECT_EQ(0.63f, CreditsBaseline(600));
  EXPECT_EQ(0.68f, CreditsBaseline(768));
  EXPECT_EQ(0.715f, CreditsBaseline(720));
  EXPECT_FLOAT_EQ(-0.6f, CreditsSlideX(0));
  EXPECT_EQ(0.0f, CreditsSlideX(1));
}

TEST(OverlayArithmetic, CaptionsStandFlushRightAndTheGreetingsCrossTheScreen) {
  EXPECT_FLOAT_EQ(0.75f, CaptionX(1024));
  EXPECT_FLOAT_EQ(0.68f, CaptionX(640));  // 256 x 0.8 pixels from the right edge
  const uint32_t heights[] = {480, 600, 768, 1024};
  const float tops[] = {0.08f, 0.1f, 0.11f, 0.12f}, strips[] = {0.75f, 0.76f, 0.79f, 0.805f};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(tops[i], ShaderRows(heights[i]).captionTop) << heights[i];
    EXPECT_EQ(strips[i], ShaderRows(heights[i]).greetingsBaseline) << heights[i];
  }

  // 1024 x 768: the strip is 1350 / 1024 of the screen wide.
  const float w = 1350.0f / 1024;
  float lower[2], upper[2];
  GreetingsPositions(0, 1024, 768, 0.79f, lower, upper);
  EXPECT_FLOAT_EQ(1, lower[0]);       // just beyond the right edge
  EXPECT_FLOAT_EQ(-w, upper[0]);      // its right end at the left edge
  EXPECT_FLOAT_EQ(0.79f, lower[1]);
  EXPECT_FLOAT_EQ(1 - (32.0f / 768 + 0.79f), upper[1]);
  GreetingsPositions(1, 1024, 768, 0.79f, lower, upper);
  EXPECT_FLOAT_EQ(-w, lower[0]);      // gone past the left edge
  EXPECT_FLOAT_EQ(1, upper[0]);       // gone past the right edge

  // 640 x 480: both strips and the upper strip's height shrink by 0.8.
  GreetingsPositions(0.5f, 640, 480, 0.75f, lower, upper);
  const float w640 = 0.8f * 1350 / 640;
  EXPECT_FLOAT_EQ(1 - (w640 + 1) / 2, lower[0]);
  EXPECT_FLOAT_EQ((w640 + 1) / 2 - w640, upper[0]);
  EXPECT_FLOAT_EQ(1 - (0.8f * 32 / 480 + 0.75f), upper[1]);
}

// The overlays made from stand-in images in a folder of their own, on a 640 x 480 display.
class OverlayEventTest : public ::testing::Test {
protected:
  void SetUp() override {
    REQUIRE_REAL_DEVICE();
    core = HvCore::GetInstance();
    saved = core->GetSettings();
    core->GetSettings().displayWidth = 640;
    core->GetSettings().displayHeight = 480;
    GetCurrentDirectoryA(MAX_PATH, savedDirectory);
    for (const char* sub : {"Logo", "Credits", "Shader"}) CreateDirectoryA((root + sub).c_str(), nullptr);
    for (const char* file : {"Logo\\LogoOrvanta.tga", "Credits\\marsiden.tga", "Credits\\quelin.tga",
                             "Credits\\brenholt.tga", "Credits\\tesrik.tga", "Shader\\toon_sh.tga", "Shader\\rr_sh.tga",
                             "Shader\\holo_sh.tga", "Shader\\pulse_sh.tga", "Shader\\greetings.tga"}) {
      ASSERT_TRUE(WriteTga(root + file, 64, 32, 32, Texels(64 * 32, 0xFFFFFFFF)));
      files.push_back(root + file);
    }
    SetCurrentDirectoryA(root.c_str());
    spritesBefore = core->GetPool(HvPoolSprite)->GetCount();
  }
  void TearDown() override {
    if (!core) return;
    HvObjectPool* sprites = core->GetPool(HvPoolSprite);
    while (sprites->GetCount() > spritesBefore) sprites->Remove(sprites->GetMember(spritesBefore));
    SetCurrentDirectoryA(savedDirectory);
    core->GetSettings() = saved;
    for (const std::string& f : files) DeleteFileA(f.c_str());
    for (const char* sub : {"Logo", "Credits", "Shader"}) RemoveDirectoryA((root + sub).c_str());
  }

  std::string root = TestFolder();
  HvCore* core = nullptr;
  HvDeviceSettings saved = {};
  char savedDirectory[MAX_PATH] = "";
  std::vector<std::string> files;
  size_t spritesBefore = 0;
};

TEST_F(OverlayEventTest, LogoFadesInFlashesAndHides) {
  HvRef<CObjectLogo> logo = new CObjectLogo("Logo");
  ASSERT_TRUE(logo->Create());
  HvSprite* s = logo->GetSprite();
  EXPECT_FALSE(s->IsVisible());
  EXPECT_FLOAT_EQ(0.625f, s->GetScale()[0]);
  EXPECT_FLOAT_EQ(0, s->GetColor()[3]);
  EXPECT_FLOAT_EQ(320 - 0.625f * 32, s->GetTransform()._41);  // centred
  EXPECT_FLOAT_EQ(240 - 0.625f * 16, s->GetTransform()._42);

  logo->OnEvent(0, "turn_on");
  EXPECT_TRUE(s->IsVisible());
  EXPECT_TRUE(logo->HasFlag(HvFlags::Active));
  logo->OnEvent(0.25f, "set_alpha");
  EXPECT_FLOAT_EQ(0.25f, s->GetColor()[3]);
  logo->OnEvent(0, "set_alpha_total");
  EXPECT_FLOAT_EQ(1, s->GetColor()[3]);
  logo->OnEvent(0, "shake");  // the first shake moves the logo at once, by at most 0.005 of the screen
  EXPECT_NEAR(0.5f, s->GetPosition()[0], 0.005f);
  EXPECT_NEAR(0.5f, s->GetPosition()[1], 0.005f);
  EXPECT_FALSE(s->HasFlag(HvFlags::Changed));
  const float jittered[2] = {s->GetPosition()[0], s->GetPosition()[1]};
  logo->OnEvent(0, "turn_off");
  EXPECT_FALSE(s->IsVisible());
  EXPECT_FALSE(logo->HasFlag(HvFlags::Active));

  logo->OnEvent(0, "flash");  // shows itself again, at 70 % of its size
  EXPECT_TRUE(s->IsVisible());
  EXPECT_FLOAT_EQ(0.7f * 0.625f, s->GetScale()[0]);
  EXPECT_FLOAT_EQ(0.7f * 0.625f, s->GetScale()[1]);
  EXPECT_FLOAT_EQ(0, s->GetColor()[3]);
  logo->OnEvent(0.2f, "flash");
  EXPECT_FLOAT_EQ(0.7f, s->GetColor()[3]);
  EXPECT_FLOAT_EQ(0.625f, s->GetScale()[0]);
  EXPECT_EQ(jittered[0], s->GetPosition()[0]);  // keeps the last jitter
  EXPECT_EQ(jittered[1], s->GetPosition()[1]);
  EXPECT_FLOAT_EQ(jittered[0] * 640 - 0.625f * 32 * cosf(s->GetRotation()) + 0.625f * 16 * sinf(s->GetRotation()),
                  s->GetTransform()._41);
  logo->OnEvent(0, "turn_off");
  EXPECT_FALSE(s->IsVisible());
}

TEST_F(OverlayEventTest, CreditsShowThePlatesInTurn) {
  HvRef<CObjectCredits> credits = new CObjectCredits("Credits");
  ASSERT_TRUE(credits->Create());
  EXPECT_FLOAT_EQ(0.63f, credits->GetBaseline());
  for (uint32_t i = 0; i < CObjectCredits::PlateCount; ++i) {
    HvSprite* s = credits->GetSprite(i);
    EXPECT_FALSE(s->IsVisible());
    EXPECT_FLOAT_EQ(0.8f, s->GetScale()[0]);
    EXPECT_FLOAT_EQ(0.63f * 480, s->GetTransform()._42);
  }
  for (uint32_t i = 0; i < CObjectCredits::PlateCount; ++i) {
    HvSprite* s = credits->GetSprite(i);
    credits->OnEvent(0.5f, "show");
    EXPECT_TRUE(s->IsVisible());
    EXPECT_FLOAT_EQ(-0.3f * 640, s->GetTransform()._41);
    credits->OnEvent(0, "show_total");
    EXPECT_EQ(0.0f, s->GetTransform()._41);
    credits->OnEvent(0.25f, "hide");
    EXPECT_FLOAT_EQ(0.75f, s->GetColor()[3]);
    EXPECT_TRUE(s->IsVisible());
    credits->OnEvent(0, "hide_total");
    EXPECT_FALSE(s->IsVisible());
    EXPECT_EQ(i + 1, credits->GetCurrent());
    if (i + 1 < CObjectCredits::PlateCount) {
      EXPECT_FALSE(credits->GetSprite(i + 1)->IsVisible());
    }
  }
  // Past the last plate, further plate events change nothing.
  credits->OnEvent(0.5f, "show");
  credits->OnEvent(0, "hide_total");
  EXPECT_EQ(CObjectCredits::PlateCount, credits->GetCurrent());
  for (uint32_t i = 0; i < CObjectCredits::PlateCount; ++i) EXPECT_FALSE(credits->GetSprite(i)->IsVisible());
}

TEST_F(OverlayEventTest, ShaderCaptionsPulseSwitchAndTheGreetingsScroll) {
  HvRef<CObjectShader> shader = new CObjectShader("Shader_Overlay");
  ASSERT_TRUE(shader->Create());
  HvSprite* toon = shader->GetSprite(CObjectShader::Toon);
  EXPECT_FALSE(toon->IsVisible());
  EXPECT_FLOAT_EQ(0.68f * 640, toon->GetTransform()._41);
  EXPECT_FLOAT_EQ(0.08f * 480, toon->GetTransform()._42);
  EXPECT_EQ(shader->GetSprite(CObjectShader::GreetingsLower)->GetTexture(),
            shader->GetSprite(CObjectShader::GreetingsUpper)->GetTexture());

  shader->OnEvent(0.5f, "greetings");
  HvSprite* lower = shader->GetSprite(CObjectShader::GreetingsLower);
  HvSprite* upper = shader->GetSprite(CObjectShader::GreetingsUpper);
  EXPECT_TRUE(lower->IsVisible());
  EXPECT_TRUE(upper->IsVisible());
  EXPECT_FLOAT_EQ(0.75f, lower->GetPosition()[1]);
  EXPECT_LT(upper->GetPosition()[1], 0.25f);
  EXPECT_FALSE(toon->IsVisible());
  shader->OnEvent(0, "greetings_hide");
  EXPECT_FALSE(lower->IsVisible());
  EXPECT_FALSE(upper->IsVisible());

  shader->OnEvent(1, "hide");  // the pulse ends at 10 %
  EXPECT_TRUE(toon->IsVisible());
  EXPECT_FLOAT_EQ(0.1f, toon->GetColor()[3]);
  shader->OnEvent(0, "show_total");
  EXPECT_FLOAT_EQ(1, toon->GetColor()[3]);

  struct Switch { const char* event; uint32_t caption; };
  const Switch order[] = {{"sprite_env_ref", CObjectShader::ReflectRefract}, {"sprite_pulse", CObjectShader::Pulse},
                          {"sprite_holo", CObjectShader::Hologram}, {"sprite_pulse", CObjectShader::Pulse}};
  HvSprite* shown = toon;
  for (const Switch& sw : order) {
    shader->OnEvent(0, sw.event);
    EXPECT_FALSE(shown->IsVisible()) << sw.event;
    EXPECT_EQ(sw.caption, shader->GetCurrent());
    shown = shader->GetSprite(sw.caption);
    shader->OnEvent(1, "light_flash");
    EXPECT_TRUE(shown->IsVisible());
    EXPECT_FLOAT_EQ(0.6f, shown->GetColor()[3]);
  }
  shader->OnEvent(0.5f, "greetings");
  shader->OnEvent(0, "hide_all");
  for (uint32_t i = 0; i < CObjectShader::SpriteCount; ++i) EXPECT_FALSE(shader->GetSprite(i)->IsVisible()) << i;
  EXPECT_TRUE(shader->HasFlag(HvFlags::Active));
}
