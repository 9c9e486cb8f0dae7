// RGBA float image (0..1 per channel, straight alpha) that the texture and overlay generators draw into.
// Row 0 is the top row.
#pragma once
#include <cstdint>
#include <vector>

#include "Mesh.h"

class Image {
 public:
  Image() = default;
  Image(int width, int height, const Color4& fill = {0, 0, 0, 0});

  int Width() const { return w_; }
  int Height() const { return h_; }
  Color4& At(int x, int y) { return px_[size_t(y) * w_ + x]; }
  const Color4& At(int x, int y) const { return px_[size_t(y) * w_ + x]; }
  // Coordinates wrap around, so tiling textures can be drawn across their edges.
  Color4& Wrapped(int x, int y);

  // Composites c with coverage k (0..1) over the pixel ("over" operator, straight alpha).
  void Blend(int x, int y, const Color4& c, float k);
  // Box-filtered half-size image (the next mip level); odd sizes round down, never below 1.
  Image Half() const;
  // Gaussian-like blur (three box passes) of all channels, radius in pixels; wraps when `tile` is set.
  Image Blurred(int radius, bool tile) const;

  // 8-bit channel value with rounding, clamped.
  static uint8_t Byte(float v);

 private:
  int w_ = 0, h_ = 0;
  std::vector<Color4> px_;
};

// Full mip chain down to 1x1, level 0 first.
std::vector<Image> MipChain(const Image& top);

Color4 Mix(const Color4& a, const Color4& b, float t);
// Piecewise-linear colour ramp through (position, colour) stops sorted by position.
struct RampStop {
  float at;
  Color4 color;
};
Color4 Ramp(const std::vector<RampStop>& stops, float t);
// Colour from 0xRRGGBB.
Color4 Hex(uint32_t rgb, float a = 1);
