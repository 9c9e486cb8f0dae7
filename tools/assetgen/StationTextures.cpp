// Station\ pictures: the model's own textures (st_*), the sky box faces, the wire grating and the
// desk with their JPEG stand-ins, the three environment cube maps and the toon, edge and hologram
// ramps that the ship effects load.
#include "StationTextures.h"

#include <algorithm>
#include <cmath>

#include "ImageWriters.h"
#include "ModelKit.h"
#include "Procedural.h"
#include "TextureKit.h"

namespace {

const Color4 kIce = Hex(0xbfeaff), kCyan = Hex(0x5ad8ff), kAmber = Hex(0xffa040), kNavy = Hex(0x0a1024);

// A bright horizontal light strip across a plating texture (corridor walls).
Image CorridorTexture() {
  PlateStyle st = Plates(512, 2, 2, Hex(0x8d9aae), 41);
  st.accentChance = 0.25f;
  Image img = PlatedTexture(st);
  for (int y = 0; y < 512; ++y) {
    float d = std::fabs(y - 256.0f);
    float strip = 1 - SmoothStep(6, 14, d);
    float halo = std::exp(-d * d / 900) * 0.35f;
    for (int x = 0; x < 512; ++x) {
      Color4& c = img.At(x, y);
      c = Mix(c, d < 14 ? Hex(0x1a222e) : c, d < 14 ? 0.7f : 0);
      c = Mix(c, Hex(0xe8fbff), strip);
      c = Mix(c, kCyan, halo * (1 - strip));
    }
  }
  return img;
}

// Blast door, both leaves side by side: hazard chevrons along the edges, a split ring emblem.
Image DoorTexture() {
  const int n = 256;
  PlateStyle st = Plates(n, 2, 3, Hex(0x6c7a90), 52);
  st.splitChance = 0;
  Image img = PlatedTexture(st);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      Color4& c = img.At(x, y);
      int edge = std::min(y, n - 1 - y);
      if (edge < 26) {
        bool stripe = ((x + y) / 16) % 2 == 0;
        c = Mix(c, stripe ? kAmber : Hex(0x15181d), 0.9f);
        if (edge < 4) c = Hex(0x101318);
      }
      float dx = x - n / 2.0f, dy = y - n / 2.0f, r = std::hypot(dx, dy);
      if (r > 44 && r < 58) c = Mix(c, Hex(0x20283a), 0.8f);
      if (r > 48 && r < 54) c = Mix(c, kCyan, 0.9f);
      if (std::fabs(dx) < 2.5f) c = Hex(0x08090c);  // the seam between the leaves
    }
  return img;
}

// Wire grating: square steel bars with transparent openings (alpha 0), four cells a tile.
Image WireTexture() {
  const int n = 256, cell = 64, bar = 12;
  Image img(n, n);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      int bx = std::min(x % cell, cell - 1 - x % cell), by = std::min(y % cell, cell - 1 - y % cell);
      int d = std::min(bx, by);
      if (d >= bar / 2) {
        img.At(x, y) = {0, 0, 0, 0};
        continue;
      }
      float shade = 0.55f + 0.35f * (1 - float(d) / (bar / 2));  // rounded bar: bright ridge
      float grime = TileFbm(x / 32.0f, y / 32.0f, 8, 3, 61);
      Color4 c = Mix(Hex(0x7a8698), Hex(0x3a4250), grime * 0.6f);
      c = {c.r * shade + 0.1f, c.g * shade + 0.1f, c.b * shade + 0.12f, 1};
      if (bx < bar / 2 && by < bar / 2) c = Mix(c, Hex(0xc8d2e0), 0.3f);  // welded crossings
      img.At(x, y) = c;
    }
  return img;
}

// Translucent console top: ice-blue glass with glowing readouts and amber keys.
Image DeskTexture() {
  const int n = 256;
  Image img(n, n);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      float g = TileFbm(x / 64.0f, y / 64.0f, 4, 3, 71);
      Color4 c = Mix(Hex(0x18406a), Hex(0x2a6a9a), g);
      c.a = 0.45f;
      int edge = std::min({x, y, n - 1 - x, n - 1 - y});
      if (edge < 6) c = {kIce.r, kIce.g, kIce.b, 0.9f};
      if (y > 24 && y < 120 && x > 24 && x < 232) {  // screen with graph lines
        float line = std::sin(x * 0.09f + std::sin(x * 0.021f) * 3) * 30 + 72;
        if (std::fabs(y - line) < 2.5f) c = {0.6f, 0.95f, 1.0f, 0.95f};
        if ((x - 24) % 26 == 0 || (y - 24) % 24 == 0) c = Mix(c, kCyan, 0.5f), c.a = 0.7f;
      }
      if (y > 150 && y < 232 && x > 24 && x < 232) {  // keys
        int kx = (x - 24) % 26, ky = (y - 150) % 20;
        if (kx > 3 && kx < 22 && ky > 3 && ky < 16) {
          bool lit = Hash2((x - 24) / 26, (y - 150) / 20, 72) % 5 == 0;
          c = lit ? Color4{1.0f, 0.66f, 0.3f, 0.95f} : Color4{0.35f, 0.55f, 0.75f, 0.75f};
        }
      }
      img.At(x, y) = c;
    }
  return img;
}

// Engine pod: rows follow the pod from the nozzle (top) to the intake (bottom).
Image EngineTexture() {
  const int n = 256;
  PlateStyle st = Plates(n, 4, 2, Hex(0x4a5466), 81);
  st.gap = Hex(0x161a22);
  st.rivets = false;
  Image img = PlatedTexture(st);
  for (int y = 0; y < n; ++y) {
    float v = (y + 0.5f) / n;
    for (int x = 0; x < n; ++x) {
      Color4& c = img.At(x, y);
      if (v < 0.14f) {  // nozzle: white-hot centre to amber to blue rim
        c = Ramp({{0.0f, Hex(0xffffff)}, {0.35f, Hex(0xffe0a0)}, {0.7f, kAmber}, {1.0f, Hex(0x3070c0)}}, v / 0.14f);
      } else if (v < 0.2f) {
        c = Mix(Hex(0x2a2f38), Hex(0x9aa4b4), (v - 0.14f) / 0.06f);
      } else if (v > 0.5f && v < 0.54f) {
        c = kCyan;  // stripe around the pod
      } else if (v > 0.86f) {
        c = Mix(c, Hex(0xb8c2d0), 0.5f);
      }
    }
  }
  return img;
}

// Cockpit glass: deep navy with a soft cyan sheen and frame ribs.
Image CanopyTexture() {
  const int n = 256;
  Image img(n, n);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      float u = (x + 0.5f) / n, v = (y + 0.5f) / n;
      float sheen = std::exp(-std::pow((u - 0.3f) * 6, 2.0f)) * 0.6f;
      Color4 c = Mix(Hex(0x081428), Hex(0x2a6a9a), 0.3f + 0.4f * v);
      c = Mix(c, Hex(0xbfeaff), sheen);
      if (std::fmod(v * 5, 1.0f) < 0.05f || std::fmod(u * 4, 1.0f) < 0.03f) c = Hex(0x2a3038);
      c.a = 1;
      img.At(x, y) = c;
    }
  return img;
}

// Landing pad top in polar form: u runs around, v from the rim (0) to the centre (1).
Image PadTexture() {
  const int n = 256;
  Image img(n, n);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      float u = (x + 0.5f) / n, v = (y + 0.5f) / n;
      float g = TileFbm(u * 8, v * 8, 8, 3, 91);
      Color4 c = Mix(Hex(0x3a4454), Hex(0x2a3240), g);
      if (v < 0.16f) c = Hex(0x596476);                                      // rim band
      if (v > 0.3f && v < 0.36f) c = (int(u * 24) % 2) ? kAmber : Hex(0x15181d);  // hazard ring
      if (v > 0.62f && v < 0.66f) c = kCyan;                                 // inner light ring
      if (v > 0.66f && std::fmod(u * 4, 1.0f) < 0.04f) c = kIce;             // cross marks
      c.a = 1;
      img.At(x, y) = c;
    }
  return img;
}

// A banded ice-and-amber planet for the spinning globe (equirectangular; row 0 is the south pole,
// since the sphere's v runs upwards).
Image GlobeTexture() {
  const int w = 512, h = 256;
  Image img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      float lat = ((y + 0.5f) / h - 0.5f) * kPi, lon = (x + 0.5f) / w * 2 * kPi;
      float turb = TileFbm(x / 32.0f, y / 32.0f, 16, 4, 101, 8);
      float band = std::sin(lat * 9 + turb * 3.5f) * 0.5f + 0.5f;
      Color4 c = Ramp({{0.0f, Hex(0x1a3a6a)}, {0.35f, Hex(0x5ab8e0)}, {0.6f, Hex(0xe8f4ff)}, {0.8f, Hex(0xffc080)},
                       {1.0f, Hex(0xc86020)}},
                      band);
      float storm = std::hypot((lon - 4.0f) * 1.5f, (lat + 0.35f) * 4);
      if (storm < 1) c = Mix(c, Hex(0xffe0b0), (1 - storm) * 0.8f);
      float pole = SmoothStep(1.2f, 1.5f, std::fabs(lat));
      c = Mix(c, Hex(0xf0f8ff), pole);
      c.a = 1;
      img.At(x, y) = c;
    }
  return img;
}

// One tileable face of an environment map; `kind` 0 = nebula, 1 = metal streaks, 2 = bright sky.
Image EnvironmentFace(int kind, int face) {
  const int n = 256;
  const uint32_t seed = 500 + kind * 10 + face;
  Image img(n, n);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      float fx = x / 32.0f, fy = y / 32.0f;
      Color4 c;
      if (kind == 0) {
        float cloud = TileFbm(fx, fy, 8, 5, seed);
        float hue = TileFbm(fx * 0.5f, fy * 0.5f, 4, 3, seed + 3);
        c = Mix(Hex(0x0a1430), Ramp({{0.0f, Hex(0x1a9fc0)}, {0.6f, Hex(0x8a5ad0)}, {1.0f, Hex(0xffb070)}}, hue),
                Clamp01((cloud - 0.35f) * 2.2f));
        uint32_t hs = Hash2(x / 8, y / 8, seed + 7);
        if ((hs & 63) == 0) {
          float sx = x % 8 - 3.5f, sy = y % 8 - 3.5f;
          c = Mix(c, kIce, Clamp01(1.2f - (sx * sx + sy * sy) * 0.25f));
        }
      } else if (kind == 1) {
        float streak = TileNoise(x / 128.0f, y / 3.0f, 2, seed, 85) * 0.6f + TileNoise(x / 64.0f, y / 9.0f, 4, seed + 1, 28) * 0.4f;
        float band = std::pow(std::fabs(std::sin((y / float(n) + face * 0.13f) * 2 * kPi * 2)), 12.0f);
        c = Mix(Hex(0x3a4658), Hex(0xc0cad8), streak);
        c = Mix(c, Hex(0xf4f8ff), band * 0.8f);
      } else {
        float cloud = TileFbm(fx * 0.5f, fy * 0.5f, 4, 5, seed);
        c = Mix(Hex(0x9ad0f0), Hex(0xffffff), Clamp01((cloud - 0.3f) * 2));
      }
      c.a = 1;
      img.At(x, y) = c;
    }
  return img;
}

bool WriteCube(const std::string& path, int kind) {
  std::array<std::vector<Image>, 6> faces;
  for (int f = 0; f < 6; ++f) faces[f] = MipChain(EnvironmentFace(kind, f));
  return WriteDdsCube(path, faces);
}

// White edge ramp with a black band for u >= 0.8: each mip level is drawn at its own size (a box
// filter would blur the band into grey). Texels whose centre lies at u >= 0.8 are black; levels too
// small for that keep their last texel black, and the 1x1 level is white.
std::vector<Image> EdgeRamp() {
  std::vector<Image> levels;
  for (int w = 256, h = 4;; w = std::max(1, w / 2), h = std::max(1, h / 2)) {
    Image img(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        bool black = (x + 0.5f) / w >= 0.8f || (w > 1 && x == w - 1);
        img.At(x, y) = black ? Color4{0, 0, 0, 1} : Color4{1, 1, 1, 1};
      }
    levels.push_back(img);
    if (w == 1 && h == 1) break;
  }
  return levels;
}

}  // namespace

Color4 StationSky(const Vec3& d) {
  Color4 c = NebulaSky(d.x, d.y, d.z, 1.0f, 7);
  // A banded gas giant off to the +x side, lit from the upper left, with a thin bright rim.
  const Vec3 centre = Normalize({0.8f, 0.25f, 0.55f}), light = Normalize({-0.4f, 0.6f, 0.7f});
  const float radius = 0.2f;
  Vec3 n = Normalize(d);
  float ang = std::acos(std::clamp(Dot(n, centre), -1.0f, 1.0f));
  if (ang < radius * 1.15f) {
    float halo = 1 - SmoothStep(radius, radius * 1.15f, ang);
    if (ang < radius) {
      // Point on the planet's sphere seen along n: offset from the centre direction.
      Vec3 off = (n - centre) * (1 / radius);
      float z = std::sqrt(std::max(0.0f, 1 - Dot(off, off)));
      Vec3 sn = Normalize(off + centre * z);
      float lat = Dot(off, Normalize({0.1f, 1, -0.2f}));
      float band = 0.5f + 0.5f * std::sin(lat * 14 + 2 * Noise3(sn.x * 4, sn.y * 4, sn.z * 4, 9));
      Color4 body = Ramp({{0.0f, Hex(0x8a3a10)}, {0.5f, Hex(0xe08a40)}, {1.0f, Hex(0xffe0b0)}}, band);
      float lit = Clamp01(Dot(sn, light) * 1.2f + 0.15f);
      body = {body.r * lit, body.g * lit, body.b * lit, 1};
      float edge = SmoothStep(radius * 0.97f, radius, ang);
      c = Mix(body, c, edge);
    }
    c = Mix(c, Hex(0xffd0a0), halo * 0.35f * (ang >= radius ? 1.0f : 0.0f));
  }
  c.a = 1;
  return c;
}

bool WriteStationTextures(const std::string& dir) {
  PlateStyle hull = Plates(512, 4, 4, Hex(0xc8d2de), 11);
  hull.gap = Hex(0x5a6472);
  hull.gapPx = 2;
  hull.grime = 0.15f;
  hull.accentChance = 0.12f;
  hull.rivets = false;

  PlateStyle wing = hull;
  wing.size = 256;
  wing.cols = 2;
  wing.rows = 2;
  wing.base = Hex(0x34507a);
  wing.gap = Hex(0x142033);
  wing.accentChance = 0.6f;
  wing.seed = 12;

  PlateStyle wall = Plates(512, 2, 4, Hex(0x9aa6b8), 21);
  wall.glow = Hex(0xd8f4ff);
  wall.glowChance = 0.12f;
  wall.accentChance = 0.1f;

  PlateStyle floor = Plates(512, 4, 4, Hex(0x5e6a7c), 22);
  floor.gap = Hex(0x161b24);
  floor.splitChance = 0;
  floor.accentChance = 0.08f;

  PlateStyle ceiling = Plates(512, 2, 2, Hex(0x6a7588), 23);
  ceiling.glow = Hex(0xeefaff);
  ceiling.glowChance = 0.4f;

  PlateStyle metal = Plates(256, 1, 2, Hex(0x7c8798), 24);
  metal.splitChance = 0;

  Image wire = WireTexture(), desk = DeskTexture();
  bool ok = WriteBmp24(dir + "st_hull.bmp", PlatedTexture(hull)) && WriteBmp24(dir + "st_wing.bmp", PlatedTexture(wing)) &&
            WriteBmp24(dir + "st_engine.bmp", EngineTexture()) && WriteBmp24(dir + "st_canopy.bmp", CanopyTexture()) &&
            WriteBmp24(dir + "st_wall.bmp", PlatedTexture(wall)) && WriteBmp24(dir + "st_floor.bmp", PlatedTexture(floor)) &&
            WriteBmp24(dir + "st_ceiling.bmp", PlatedTexture(ceiling)) &&
            WriteBmp24(dir + "st_metal.bmp", PlatedTexture(metal)) &&
            WriteBmp24(dir + "st_corridor.bmp", CorridorTexture()) && WriteBmp24(dir + "st_door.bmp", DoorTexture()) &&
            WriteBmp24(dir + "st_pad.bmp", PadTexture()) && WriteBmp24(dir + "st_globe.bmp", GlobeTexture());
  // The model names JPEG stand-ins, which the station swaps for the TGAs as it loads: never drawn, they
  // only have to load, so an 8x8 mip of their look saves decoding and mip-building 256x256 twice.
  auto standIn = [](const Image& img) { return MipChain(Flattened(img, kNavy))[5]; };
  ok = ok && WriteTga(dir + "wire.tga", wire, true) && WriteJpeg(dir + "wire.jpg", standIn(wire), 90) &&
       WriteTga(dir + "desk01.tga", desk, true) && WriteJpeg(dir + "desk01.jpg", standIn(desk), 90);
  ok = ok && WriteCube(dir + "CubeTexture.dds", 0) && WriteCube(dir + "CubeTexture2.dds", 1) &&
       WriteCube(dir + "CubeGlass.dds", 2);
  // Toon: three hard bands, bright facing the eye (u near 0) to dark at the silhouette (u near 1).
  ok = ok && WriteBmp24(dir + "toon.bmp", RampImage(256, {{0.0f, Hex(0xffffff)}, {0.3f, Hex(0xffffff)}, {0.3001f, Hex(0xb4b4b4)},
                                                          {0.62f, Hex(0xb4b4b4)}, {0.6201f, Hex(0x6e6e6e)}, {1.0f, Hex(0x6e6e6e)}}));
  ok = ok && WriteDds(dir + "edgeimage.dds", EdgeRamp());
  ok = ok && WriteTga(dir + "ice.tga",
                      RampImage(256, {{0.0f, Hex(0xe0ffff)}, {0.12f, Hex(0x5ae8ff)}, {0.45f, Hex(0x1a6a9a)}, {1.0f, Hex(0x020608)}}),
                      false);
  return ok;
}
