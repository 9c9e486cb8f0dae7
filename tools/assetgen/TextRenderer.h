// Renders text lines into images with FreeType (grey-level anti-aliasing, kerning, extra letter spacing).
// Fonts come from the system's font folders (Debian's DejaVu packages).
#pragma once
#include <string>

#include "Image.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

class TextRenderer {
 public:
  TextRenderer();
  ~TextRenderer();
  TextRenderer(const TextRenderer&) = delete;
  TextRenderer& operator=(const TextRenderer&) = delete;

  // Looks the file name up in the system font folders. False if not found or unreadable.
  bool LoadFont(const std::string& fileName);
  void SetPixelHeight(int px);
  void SetTracking(float px) { tracking_ = px; }  // extra advance after every glyph

  // Advance width of the line in pixels.
  float Measure(const std::string& text) const;
  // Font ascent above the baseline for the current height, in pixels.
  float Ascent() const;
  // Adds the glyph coverage (0..1) of the line to `mask`'s alpha, pen starting at (x, baseline).
  void Draw(Image& mask, float x, float baseline, const std::string& text) const;

 private:
  float Kerning(unsigned prev, unsigned glyph) const;  // pixels between two glyph indices

  FT_LibraryRec_* lib_ = nullptr;
  FT_FaceRec_* face_ = nullptr;
  float tracking_ = 0;
};

// Coverage mask of a line: an image of the given size whose alpha is the text coverage (colour white).
// align: 0 left (x is the left edge), 1 centred on x, 2 right (x is the right edge).
Image TextMask(const TextRenderer& font, int width, int height, float x, float baseline, const std::string& text,
               int align);
