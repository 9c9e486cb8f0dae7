// Logo\, Credits\ and Shader\: the 2D overlays (32-bit TGA sprites drawn 1:1), and the dialog picture.
// One look for all of them: white-to-ice-blue lettering with a teal glow, amber accents, deep navy
// backings that fade out towards the screen.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <functional>

#include "DataSets.h"
#include "ImageWriters.h"
#include "TextRenderer.h"

namespace {

const Color4 kNavy = Hex(0x0a1024), kIce = Hex(0xbfeaff), kTeal = Hex(0x1a9fc0), kAmber = Hex(0xffa040);
const char* const kBold = "DejaVuSans-Bold.ttf";
const char* const kLight = "DejaVuSans-ExtraLight.ttf";

std::string Upper(std::string s) {
  for (char& c : s) c = char(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// Composites src over dst (same size).
void Over(Image& dst, const Image& src) {
  for (int y = 0; y < dst.Height(); ++y)
    for (int x = 0; x < dst.Width(); ++x) dst.Blend(x, y, src.At(x, y), 1);
}

// Colours a coverage mask: fill(y) per row, keeping the mask's alpha scaled by `alpha`.
Image Colored(const Image& mask, const std::function<Color4(int x, int y)>& fill, float alpha = 1) {
  Image out(mask.Width(), mask.Height());
  for (int y = 0; y < mask.Height(); ++y)
    for (int x = 0; x < mask.Width(); ++x) {
      Color4 c = fill(x, y);
      c.a = mask.At(x, y).a * alpha * c.a;
      out.At(x, y) = c;
    }
  return out;
}

// Lettering with a soft drop shadow and a glow under a vertical top-to-bottom gradient.
void DrawLettering(Image& dst, const Image& mask, Color4 top, Color4 bottom, float glow, int glowRadius) {
  Over(dst, Colored(mask.Blurred(std::max(1, glowRadius * 2), false), [](int, int) { return Color4{0, 0, 0, 1}; },
                    0.55f));
  Over(dst, Colored(mask.Blurred(glowRadius, false), [&](int, int) { return kTeal; }, glow));
  int h = dst.Height();
  Over(dst, Colored(mask, [&](int, int y) { return Mix(top, bottom, float(y) / h); }));
}

// Largest pixel height up to `maxPx` at which the text fits into `width`.
int FitHeight(TextRenderer& font, const std::string& text, int maxPx, float width) {
  int px = maxPx;
  for (; px > 6; --px) {
    font.SetPixelHeight(px);
    if (font.Measure(text) <= width) break;
  }
  return px;
}

// A horizontal backing band: navy, alpha(x) from `alphaAt`, soft top and bottom edges.
void Backing(Image& img, int y0, int y1, const std::function<float(float)>& alphaAt) {
  for (int y = 0; y < img.Height(); ++y) {
    float edge = SmoothStep(float(y0) - 4, float(y0) + 4, float(y)) * (1 - SmoothStep(float(y1) - 4, float(y1) + 4, float(y)));
    for (int x = 0; x < img.Width(); ++x) {
      Color4 c = Mix(kNavy, Hex(0x14204a), float(y) / img.Height());
      c.a = alphaAt(float(x) / img.Width()) * edge;
      img.Blend(x, y, c, 1);
    }
  }
}

bool Logo(const std::string& path) {
  Image img(512, 256, {kNavy.r, kNavy.g, kNavy.b, 0});
  TextRenderer bold, light;
  if (!bold.LoadFont(kBold) || !light.LoadFont(kLight)) return false;
  const std::string title = "ORVANTA";
  bold.SetTracking(10);
  int px = FitHeight(bold, title, 120, 450);
  bold.SetPixelHeight(px);
  const float baseline = 150;
  Image mask = TextMask(bold, 512, 256, 256, baseline, title, 1);
  DrawLettering(img, mask, Hex(0xffffff), kIce, 0.9f, 5);
  // Amber rule under the title, fading out to both sides.
  for (int y = 166; y < 169; ++y)
    for (int x = 40; x < 472; ++x) {
      float k = 1 - std::fabs(x - 256.0f) / 216;
      img.Blend(x, y, kAmber, SmoothStep(0, 0.4f, k) * (y == 167 ? 1.0f : 0.45f));
    }
  light.SetPixelHeight(20);
  light.SetTracking(9);
  Image sub = TextMask(light, 512, 256, 256, 196, "REALTIME  DEMO", 1);
  Over(img, Colored(sub, [](int, int) { return Hex(0xe8f6ff); }, 0.9f));
  return WriteTga(path, img, true);
}

// Name plate: a backing band fading to the right, an amber tick, the role and the name.
bool CreditsPlate(const std::string& path, const std::string& name, const std::string& role) {
  Image img(512, 128, {kNavy.r, kNavy.g, kNavy.b, 0});
  Backing(img, 18, 110, [](float u) { return 0.8f * (1 - SmoothStep(0.45f, 1.0f, u)); });
  for (int y = 30; y < 98; ++y)
    for (int x = 20; x < 25; ++x) img.Blend(x, y, kAmber, 1);
  TextRenderer bold, light;
  if (!bold.LoadFont(kBold) || !light.LoadFont(kLight)) return false;
  light.SetPixelHeight(15);
  light.SetTracking(6);
  Over(img, Colored(TextMask(light, 512, 128, 40, 46, Upper(role), 0), [](int, int) { return kAmber; }));
  bold.SetTracking(5);
  bold.SetPixelHeight(FitHeight(bold, Upper(name), 46, 420));
  Image mask = TextMask(bold, 512, 128, 38, 92, Upper(name), 0);
  DrawLettering(img, mask, Hex(0xffffff), kIce, 0.6f, 3);
  return WriteTga(path, img, true);
}

// Caption 256 x 64, set flush right: label line and the effect's name.
bool Caption(const std::string& path, const std::string& word) {
  Image img(256, 64, {kNavy.r, kNavy.g, kNavy.b, 0});
  Backing(img, 6, 58, [](float u) { return 0.75f * SmoothStep(0.0f, 0.6f, u); });
  TextRenderer bold, light;
  if (!bold.LoadFont(kBold) || !light.LoadFont(kLight)) return false;
  light.SetPixelHeight(11);
  light.SetTracking(3);
  Over(img, Colored(TextMask(light, 256, 64, 244, 22, "VERTEX SHADER", 2), [](int, int) { return kAmber; }));
  bold.SetTracking(2);
  bold.SetPixelHeight(FitHeight(bold, word, 26, 228));
  Image mask = TextMask(bold, 256, 64, 244, 49, word, 2);
  DrawLettering(img, mask, Hex(0xffffff), kIce, 0.6f, 2);
  for (int y = 10; y < 54; ++y)
    for (int x = 250; x < 252; ++x) img.Blend(x, y, kAmber, 0.9f);
  return WriteTga(path, img, true);
}

// Greetings strip 2048 x 32: the text fills the left 1350 pixels, the rest stays fully transparent.
bool Greetings(const std::string& path) {
  const int used = 1350;
  const std::string text =
      "GREETINGS TO  VELMIRA  *  OSTRAKON  *  QUINTESSA  *  LUMBRA  *  FYRDAL  *  SARNOTH  *  IXILON  *  "
      "TAVREL  *  AND EVERYONE AT THE PARTY";
  Image img(2048, 32, {kNavy.r, kNavy.g, kNavy.b, 0});
  TextRenderer bold;
  if (!bold.LoadFont(kBold)) return false;
  bold.SetPixelHeight(FitHeight(bold, text, 20, used - 12));
  // Spread the letters so the line ends near the right edge of the used part.
  float spare = (used - 12) - bold.Measure(text);
  bold.SetTracking(std::clamp(spare / float(text.size() - 1), 0.0f, 6.0f));
  Image mask = TextMask(bold, 2048, 32, 6, 23, text, 0);
  DrawLettering(img, mask, Hex(0xffffff), kIce, 0.7f, 2);
  for (int y = 0; y < 32; ++y)
    for (int x = used; x < 2048; ++x) img.At(x, y).a = 0;
  return WriteTga(path, img, true);
}

}  // namespace

bool WriteOverlayData(const std::string& root) {
  namespace fs = std::filesystem;
  for (const char* d : {"/Logo", "/Credits", "/Shader"}) fs::create_directories(root + d);
  struct Plate {
    const char* file;
    const char* role;
  };
  // Showing order: the name on each plate is the file's name.
  const Plate plates[] = {{"marsiden", "code"}, {"quelin", "graphics"}, {"brenholt", "music"}, {"tesrik", "design"}};
  bool ok = Logo(root + "/Logo/LogoOrvanta.tga");
  for (const Plate& p : plates) ok = ok && CreditsPlate(root + "/Credits/" + p.file + ".tga", p.file, p.role);
  return ok && Caption(root + "/Shader/toon_sh.tga", "TOON") &&
         Caption(root + "/Shader/rr_sh.tga", "REFLECT + REFRACT") && Caption(root + "/Shader/holo_sh.tga", "HOLOGRAM") &&
         Caption(root + "/Shader/pulse_sh.tga", "PULSE") && Greetings(root + "/Shader/greetings.tga");
}

bool WriteDialogBitmap(const std::string& path) {
  const int w = 150, h = 105;
  Image img(w, h);
  // Navy backdrop with the tunnel's rings receding to a vanishing point.
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float dx = (x - w * 0.5f) / w, dy = (y - h * 0.42f) / w;
      float r = std::sqrt(dx * dx + dy * dy * 1.6f);
      float depth = 0.45f / (r + 0.03f);
      float ring = std::pow(0.5f + 0.5f * std::cos(depth * 6.2832f), 8.0f) * SmoothStep(0.05f, 0.3f, r);
      Color4 c = Mix(Hex(0x050814), Hex(0x123060), Clamp01(r * 1.8f));
      c = Mix(c, kTeal, ring * 0.45f);
      c = Mix(c, Hex(0xfff0d0), std::exp(-r * r / 0.0004f) * 0.9f);
      c.a = 1;
      img.At(x, y) = c;
    }
  TextRenderer bold, light;
  if (!bold.LoadFont(kBold) || !light.LoadFont(kLight)) return false;
  bold.SetTracking(2);
  bold.SetPixelHeight(FitHeight(bold, "ORVANTA", 28, 132));
  DrawLettering(img, TextMask(bold, w, h, w / 2.0f, 82, "ORVANTA", 1), Hex(0xffffff), kIce, 0.8f, 2);
  light.SetTracking(2);
  light.SetPixelHeight(FitHeight(light, "DEMO  *  BENCHMARK", 10, 136));
  Over(img, Colored(TextMask(light, w, h, w / 2.0f, 97, "DEMO  *  BENCHMARK", 1), [](int, int) { return kAmber; }));
  return WriteBmp24(path, img);
}
