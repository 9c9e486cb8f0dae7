#include "TextRenderer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <filesystem>

namespace {
const char* const kFontFolders[] = {"/usr/share/fonts/truetype/dejavu", "/usr/share/fonts/truetype/liberation",
                                    "/usr/share/fonts/truetype"};
}

TextRenderer::TextRenderer() { FT_Init_FreeType(&lib_); }

TextRenderer::~TextRenderer() {
  if (face_) FT_Done_Face(face_);
  if (lib_) FT_Done_FreeType(lib_);
}

bool TextRenderer::LoadFont(const std::string& fileName) {
  if (!lib_) return false;
  for (const char* folder : kFontFolders) {
    std::string path = std::string(folder) + "/" + fileName;
    if (!std::filesystem::exists(path)) continue;
    if (face_) FT_Done_Face(face_);
    face_ = nullptr;
    return FT_New_Face(lib_, path.c_str(), 0, &face_) == 0;
  }
  return false;
}

void TextRenderer::SetPixelHeight(int px) {
  if (face_) FT_Set_Pixel_Sizes(face_, 0, px);
}

float TextRenderer::Ascent() const { return face_ ? face_->size->metrics.ascender / 64.0f : 0; }

float TextRenderer::Kerning(unsigned prev, unsigned glyph) const {
  if (!prev || !glyph) return 0;
  FT_Vector k;
  FT_Get_Kerning(face_, prev, glyph, FT_KERNING_DEFAULT, &k);
  return k.x / 64.0f;
}

float TextRenderer::Measure(const std::string& text) const {
  if (!face_) return 0;
  float x = 0;
  FT_UInt prev = 0;
  for (unsigned char ch : text) {
    FT_UInt glyph = FT_Get_Char_Index(face_, ch);
    x += Kerning(prev, glyph);
    if (FT_Load_Glyph(face_, glyph, FT_LOAD_DEFAULT) == 0) x += face_->glyph->advance.x / 64.0f + tracking_;
    prev = glyph;
  }
  return x - tracking_;
}

void TextRenderer::Draw(Image& mask, float x, float baseline, const std::string& text) const {
  if (!face_) return;
  FT_UInt prev = 0;
  for (unsigned char ch : text) {
    FT_UInt glyph = FT_Get_Char_Index(face_, ch);
    x += Kerning(prev, glyph);
    prev = glyph;
    // Sub-pixel pen position: shift the outline by the fraction before rendering.
    float whole = std::floor(x);
    FT_Vector shift{static_cast<FT_Pos>((x - whole) * 64), 0};
    FT_Set_Transform(face_, nullptr, &shift);
    if (FT_Load_Glyph(face_, glyph, FT_LOAD_RENDER) != 0) continue;
    FT_GlyphSlot g = face_->glyph;
    const FT_Bitmap& bm = g->bitmap;
    int ox = int(whole) + g->bitmap_left, oy = int(std::lround(baseline)) - g->bitmap_top;
    for (unsigned r = 0; r < bm.rows; ++r)
      for (unsigned c = 0; c < bm.width; ++c) {
        int px = ox + int(c), py = oy + int(r);
        if (px < 0 || py < 0 || px >= mask.Width() || py >= mask.Height()) continue;
        Color4& d = mask.At(px, py);
        d.a = Clamp01(d.a + bm.buffer[r * bm.pitch + c] / 255.0f);
      }
    x += g->advance.x / 64.0f + tracking_;
  }
  FT_Set_Transform(face_, nullptr, nullptr);
}

Image TextMask(const TextRenderer& font, int width, int height, float x, float baseline, const std::string& text,
               int align) {
  Image mask(width, height, {1, 1, 1, 0});
  float w = font.Measure(text);
  float left = align == 0 ? x : (align == 1 ? x - w / 2 : x - w);
  font.Draw(mask, left, baseline, text);
  return mask;
}
