#include "TextureKit.h"

#include <algorithm>
#include <cmath>

#include "Procedural.h"

namespace {

struct PlateRect {
  int x0, y0, x1, y1;  // pixel bounds, half-open
  uint32_t id;
};

}  // namespace

Image PlatedTexture(const PlateStyle& st) {
  const int n = st.size;
  // Lay out the plates: a regular grid, some cells split in two.
  std::vector<PlateRect> plates;
  const int cw = n / st.cols, ch = n / st.rows;
  for (int r = 0; r < st.rows; ++r)
    for (int c = 0; c < st.cols; ++c) {
      uint32_t h = Hash2(c, r, st.seed);
      PlateRect p{c * cw, r * ch, (c + 1) * cw, (r + 1) * ch, h};
      if ((h & 1023) / 1023.0f < st.splitChance) {
        if (cw >= ch) {
          int mid = p.x0 + cw / 2;
          plates.push_back({p.x0, p.y0, mid, p.y1, h * 3u});
          plates.push_back({mid, p.y0, p.x1, p.y1, h * 5u});
        } else {
          int mid = p.y0 + ch / 2;
          plates.push_back({p.x0, p.y0, p.x1, mid, h * 3u});
          plates.push_back({p.x0, mid, p.x1, p.y1, h * 5u});
        }
      } else {
        plates.push_back(p);
      }
    }
  Image img(n, n);
  const int period = std::max(4, n / 32);
  for (const PlateRect& p : plates) {
    const float tint = ((p.id >> 8) & 255) / 255.0f * 2 * st.tint - st.tint;
    const bool glow = ((p.id >> 16) & 1023) / 1023.0f < st.glowChance;
    const bool accent = !glow && ((p.id >> 4) & 1023) / 1023.0f < st.accentChance;
    for (int y = p.y0; y < p.y1; ++y)
      for (int x = p.x0; x < p.x1; ++x) {
        const int ex = std::min(x - p.x0, p.x1 - 1 - x), ey = std::min(y - p.y0, p.y1 - 1 - y);
        const int edge = std::min(ex, ey);
        Color4 c;
        if (edge < st.gapPx) {
          c = st.gap;
        } else {
          float grime = TileFbm(x * float(period) / n, y * float(period) / n, period, 4, st.seed + 17);
          float streak = TileNoise(x * 4.0f / n, y * float(n / 2) / n, 4, st.seed + 31, n / 2);
          c = Mix(st.base, st.gap, std::clamp(st.grime * (grime - 0.3f) * 1.6f + tint, -0.3f, 0.8f));
          float s = (streak - 0.5f) * st.streaks;
          c = {c.r + s, c.g + s, c.b + s, 1};
          const int inner = edge - st.gapPx;
          if (inner < st.bevelPx) {
            // Light falls from the top left: left and top bevels bright, right and bottom dark.
            bool lit = (ex == edge) ? (x - p.x0 < p.x1 - 1 - x) : (y - p.y0 < p.y1 - 1 - y);
            c = Mix(c, lit ? Color4{1, 1, 1, 1} : Color4{0, 0, 0, 1}, 0.28f * (1 - float(inner) / st.bevelPx));
          }
          const int w = p.x1 - p.x0, h = p.y1 - p.y0;
          if (glow) {
            // Light panel: a bright inset with a soft falloff to its frame.
            float k = SmoothStep(float(st.gapPx + st.bevelPx + 2), float(st.gapPx + st.bevelPx + 8), float(edge));
            c = Mix(c, st.glow, k);
          }
          if (accent) {
            int band = h / 7;
            if (y - p.y0 > h - 2 * band && y - p.y0 < h - band && ex > st.gapPx + 6) c = Mix(c, st.accent, 0.85f);
          }
          if (st.rivets && !glow) {
            for (int cx : {p.x0 + 9, p.x1 - 10})
              for (int cy : {p.y0 + 9, p.y1 - 10}) {
                float r = std::hypot(float(x - cx), float(y - cy));
                if (r < 2.6f && w > 30 && h > 30) c = Mix(Hex(0xd0d8e4), Hex(0x30363f), r / 2.6f);
              }
          }
        }
        c.a = 1;
        img.At(x, y) = c;
      }
  }
  return img;
}

Image RampImage(int width, const std::vector<RampStop>& stops) {
  Image img(width, 1);
  for (int x = 0; x < width; ++x) img.At(x, 0) = Ramp(stops, (x + 0.5f) / width);
  return img;
}

Color4 NebulaSky(float dx, float dy, float dz, float brightness, uint32_t seed) {
  float len = std::sqrt(dx * dx + dy * dy + dz * dz);
  dx /= len, dy /= len, dz /= len;
  const float f = 2.2f;
  // Domain warp makes the clouds stringy rather than blobby.
  float wx = Fbm3(dx * f + 5, dy * f, dz * f, 3, seed + 3) - 0.5f;
  float wy = Fbm3(dx * f, dy * f + 9, dz * f, 3, seed + 7) - 0.5f;
  float cloud = Fbm3(dx * f + wx * 1.6f, dy * f + wy * 1.6f, dz * f, 5, seed);
  float veil = Fbm3(dx * 4.5f, dy * 4.5f, dz * 4.5f, 3, seed + 11);
  float band = std::exp(-dy * dy * 3.5f);  // a milky band around the horizon
  float density = Clamp01((cloud - 0.42f) * 2.6f) * (0.35f + 0.65f * band);
  Color4 space = Mix(Hex(0x02040c), Hex(0x0a1430), band * 0.8f);
  Color4 cloudCol = Ramp({{0.0f, Hex(0x1a3a6a)}, {0.45f, Hex(0x1a9fc0)}, {0.75f, Hex(0x8a5ad0)}, {1.0f, Hex(0xffb070)}},
                         Clamp01(veil * 1.4f - 0.1f));
  Color4 c = Mix(space, cloudCol, Clamp01(density * brightness));
  // Stars: hashed cells on a fine lattice, a few bright ones with a cross glint.
  const float cells = 220;
  float sx = dx * cells, sy = dy * cells, sz = dz * cells;
  int ix = int(std::floor(sx)), iy = int(std::floor(sy)), iz = int(std::floor(sz));
  uint32_t h = Hash2(ix * 73 + iz * 19, iy * 31 - iz * 7, seed + 101);
  if ((h & 255) < 14) {
    float ox = sx - ix - 0.5f, oy = sy - iy - 0.5f, oz = sz - iz - 0.5f;
    float d2 = ox * ox + oy * oy + oz * oz;
    float mag = ((h >> 8) & 255) / 255.0f;
    float star = std::exp(-d2 / (0.02f + 0.05f * mag * mag)) * (0.4f + 0.8f * mag);
    Color4 tint = (h >> 20) & 1 ? Hex(0xcfe8ff) : Hex(0xffe6c0);
    c = Mix(c, tint, Clamp01(star));
  }
  c.a = 1;
  return c;
}

void CubeFaceDirection(int face, float u, float v, float& dx, float& dy, float& dz) {
  // u, v in [-1, 1], v downwards on the face image.
  switch (face) {
    case 0: dx = 1, dy = -v, dz = -u; break;   // +X
    case 1: dx = -1, dy = -v, dz = u; break;   // -X
    case 2: dx = u, dy = 1, dz = v; break;     // +Y
    case 3: dx = u, dy = -1, dz = -v; break;   // -Y
    case 4: dx = u, dy = -v, dz = 1; break;    // +Z
    default: dx = -u, dy = -v, dz = -1; break;  // -Z
  }
}

Image Flattened(const Image& img, const Color4& backdrop) {
  Image out(img.Width(), img.Height(), backdrop);
  for (int y = 0; y < img.Height(); ++y)
    for (int x = 0; x < img.Width(); ++x) out.Blend(x, y, img.At(x, y), 1);
  return out;
}
