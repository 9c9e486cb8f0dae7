#include "Image.h"

#include <algorithm>
#include <cmath>

Image::Image(int width, int height, const Color4& fill) : w_(width), h_(height), px_(size_t(width) * height, fill) {}

Color4& Image::Wrapped(int x, int y) {
  x %= w_;
  y %= h_;
  return At(x < 0 ? x + w_ : x, y < 0 ? y + h_ : y);
}

void Image::Blend(int x, int y, const Color4& c, float k) {
  if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
  Color4& d = At(x, y);
  float sa = Clamp01(c.a * k);
  float da = d.a * (1 - sa);
  float oa = sa + da;
  if (oa <= 0) {
    d = {c.r, c.g, c.b, 0};
    return;
  }
  d = {(c.r * sa + d.r * da) / oa, (c.g * sa + d.g * da) / oa, (c.b * sa + d.b * da) / oa, oa};
}

Image Image::Half() const {
  Image out(std::max(1, w_ / 2), std::max(1, h_ / 2));
  for (int y = 0; y < out.h_; ++y)
    for (int x = 0; x < out.w_; ++x) {
      // Average colour weighted by alpha so transparent texels do not darken the edges.
      Color4 sum{0, 0, 0, 0};
      float wsum = 0;
      int n = 0;
      for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx) {
          int sx = std::min(w_ - 1, x * 2 + dx), sy = std::min(h_ - 1, y * 2 + dy);
          const Color4& c = At(sx, sy);
          float wgt = c.a + 1e-4f;
          sum.r += c.r * wgt;
          sum.g += c.g * wgt;
          sum.b += c.b * wgt;
          sum.a += c.a;
          wsum += wgt;
          ++n;
        }
      out.At(x, y) = {sum.r / wsum, sum.g / wsum, sum.b / wsum, sum.a / n};
    }
  return out;
}

Image Image::Blurred(int radius, bool tile) const {
  Image a = *this, b = *this;
  auto pass = [&](const Image& src, Image& dst, bool horizontal) {
    const int n = horizontal ? w_ : h_, lines = horizontal ? h_ : w_;
    const float inv = 1.0f / (2 * radius + 1);
    for (int l = 0; l < lines; ++l)
      for (int i = 0; i < n; ++i) {
        Color4 s{0, 0, 0, 0};
        for (int k = -radius; k <= radius; ++k) {
          int j = i + k;
          if (tile) j = ((j % n) + n) % n;
          else j = std::clamp(j, 0, n - 1);
          const Color4& c = horizontal ? src.At(j, l) : src.At(l, j);
          s.r += c.r * c.a;
          s.g += c.g * c.a;
          s.b += c.b * c.a;
          s.a += c.a;
        }
        Color4& d = horizontal ? dst.At(i, l) : dst.At(l, i);
        d = s.a > 0 ? Color4{s.r / s.a, s.g / s.a, s.b / s.a, s.a * inv} : Color4{0, 0, 0, 0};
      }
  };
  for (int i = 0; i < 3; ++i) {
    pass(a, b, true);
    pass(b, a, false);
  }
  return a;
}

uint8_t Image::Byte(float v) { return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0f)); }

std::vector<Image> MipChain(const Image& top) {
  std::vector<Image> levels{top};
  while (levels.back().Width() > 1 || levels.back().Height() > 1) levels.push_back(levels.back().Half());
  return levels;
}

Color4 Mix(const Color4& a, const Color4& b, float t) {
  return {Lerp(a.r, b.r, t), Lerp(a.g, b.g, t), Lerp(a.b, b.b, t), Lerp(a.a, b.a, t)};
}

Color4 Ramp(const std::vector<RampStop>& stops, float t) {
  if (t <= stops.front().at) return stops.front().color;
  for (size_t i = 1; i < stops.size(); ++i)
    if (t <= stops[i].at)
      return Mix(stops[i - 1].color, stops[i].color, (t - stops[i - 1].at) / (stops[i].at - stops[i - 1].at));
  return stops.back().color;
}

Color4 Hex(uint32_t rgb, float a) {
  return {((rgb >> 16) & 255) / 255.0f, ((rgb >> 8) & 255) / 255.0f, (rgb & 255) / 255.0f, a};
}
