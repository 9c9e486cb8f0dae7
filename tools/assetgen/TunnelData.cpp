// Tunnel\: the tube that the camera flies through, its camera, target and light paths, the flare quad,
// the wall texture and the flare texture.
#include <cmath>
#include <filesystem>

#include "DataSets.h"
#include "ImageWriters.h"
#include "Procedural.h"
#include "XWriter.h"

namespace {

constexpr float kLength = 1600;      // tube extent along z: beyond the 1500 far plane
constexpr float kRadius = 70;        // mean inner radius
constexpr float kRibPeriod = 80;     // one rib and one row of panels; 20 per tube
constexpr int kRingsPerPeriod = 20;  // crowded at the ribs, sparse between them
constexpr int kAround = 48;
constexpr float kUTiles = 4;          // wall texture repeats around the tube
constexpr float kPathSeconds = 96;    // camera path length in controller seconds
constexpr float kKeyStep = 0.2f;      // seconds between keys
constexpr float kSpeed = 55;          // z units per controller second
constexpr float kTargetAhead = 200;   // the camera looks this far down the path

// Inner radius at angle a (radians) and depth z: eight shallow facets and a rib every kRibPeriod.
float WallRadius(float a, float z) {
  float d = std::fabs(z - kRibPeriod * std::round(z / kRibPeriod));
  float rib = 1 - SmoothStep(5, 10, d);
  return kRadius + 3 * std::cos(8 * a) - 7 * rib;
}

// Ring depth for the tube parameter t in [0, 1]: rings bunch up at the ribs (z = k * kRibPeriod).
float RingZ(float t) {
  float periods = t * kLength / kRibPeriod;
  return kRibPeriod * (periods - 0.6f / (2 * kPi) * std::sin(2 * kPi * periods));
}

Mesh TunnelWall() {
  Mesh mesh;
  mesh.name = "TunnelWall";
  SurfaceDesc desc;
  desc.segS = kAround;
  desc.segT = int(kLength / kRibPeriod) * kRingsPerPeriod;
  desc.uScale = kUTiles;
  // Cross(dp/ds, dp/dt) points outwards for this parametrisation; the tube is seen from inside.
  desc.flip = true;
  AddSurface(mesh, desc, [](float s, float t) {
    float a = 2 * kPi * s, z = RingZ(t), r = WallRadius(a, z);
    return Vec3(r * std::cos(a), r * std::sin(a), z);
  });
  for (size_t i = 0; i < mesh.positions.size(); ++i) mesh.uvs[i].y = mesh.positions[i].z / kRibPeriod;
  mesh.material.diffuse = {1, 1, 1, 1};
  mesh.material.power = 30;
  mesh.material.specular = {0.7f, 0.7f, 0.7f};
  mesh.material.texture = "tun_wall.bmp";
  return mesh;
}

// Camera path at controller time tau: z grows steadily, the sway changes character from stretch to
// stretch so the jumps of the show land in different-looking places. Stays within 40 of the axis.
Vec3 PathPoint(float tau) {
  float w1 = 0.5f + 0.5f * std::sin(tau * 0.11f), w2 = 0.5f + 0.5f * std::sin(tau * 0.07f + 2);
  float w3 = 0.6f + 0.4f * std::cos(tau * 0.13f);
  float x = 22 * w1 * std::sin(0.55f * tau) + 10 * w2 * std::sin(1.3f * tau + 1);
  float y = 14 * w3 * std::sin(0.4f * tau + 2) + 8 * w2 * std::cos(1.1f * tau);
  return {x, y, kSpeed * tau};
}

// Light dummies: 100-400 ahead of the camera, 30-48 off the axis, circling at changing rates.
Vec3 LightPoint(float tau, int which) {
  float ahead = 250 + 150 * std::sin(0.23f * tau + 2.5f * which);
  float angle = 0.7f * tau + 1.5f * std::sin(0.17f * tau) + which * (kPi + 0.8f * std::sin(0.3f * tau));
  float r = 39 + 9 * std::sin(0.31f * tau + which);
  return {r * std::cos(angle), r * std::sin(angle), kSpeed * tau + ahead};
}

template <typename F>
std::vector<PositionKey> Track(F point) {
  std::vector<PositionKey> keys;
  const int n = int(kPathSeconds / kKeyStep);
  for (int i = 0; i <= n; ++i) {
    float tau = i * kKeyStep;
    keys.push_back({uint32_t(std::lround(tau * kTicksPerSecond)), point(tau)});
  }
  return keys;
}

bool WriteTunnelModel(const std::string& path) {
  XWriter x;
  x.BeginFrame("Tunnel", Mat4());
  x.WriteMesh(TunnelWall());
  x.EndFrame();
  auto camera = Track(PathPoint);
  auto target = Track([](float tau) { return PathPoint(tau + kTargetAhead / kSpeed); });
  auto omni1 = Track([](float tau) { return LightPoint(tau, 0); });
  auto omni2 = Track([](float tau) { return LightPoint(tau, 1); });
  const std::pair<const char*, const std::vector<PositionKey>*> dummies[] = {
      {"Geo_camera", &camera}, {"Geo_camera_target", &target}, {"Geo_omni01", &omni1}, {"Geo_omni02", &omni2}};
  for (const auto& d : dummies) {
    x.BeginFrame(d.first, Mat4::Translation(d.second->front().position));
    x.EndFrame();
  }
  x.BeginAnimationSet("TunnelFlight");
  for (const auto& d : dummies) x.WritePositionTrack(d.first, *d.second);
  x.EndAnimationSet();
  return x.Save(path);
}

// A 50 x 50 quad in the XY plane facing -z, textured with the flare.
bool WriteFlareModel(const std::string& path) {
  Mesh quad;
  quad.name = "FlareQuad";
  const float h = 25;
  const Vec3 n(0, 0, -1);
  uint32_t a = quad.AddVertex({-h, h, 0}, n, {0, 0}), b = quad.AddVertex({h, h, 0}, n, {1, 0});
  uint32_t c = quad.AddVertex({-h, -h, 0}, n, {0, 1}), d = quad.AddVertex({h, -h, 0}, n, {1, 1});
  quad.AddTriangle(a, b, c);
  quad.AddTriangle(b, d, c);
  quad.material.diffuse = {1, 1, 1, 1};
  quad.material.texture = "tun_flare.tga";
  XWriter x;
  x.BeginFrame("Flare", Mat4());
  x.WriteMesh(quad);
  x.EndFrame();
  return x.Save(path);
}

// Wall panels, one tile = a quarter of the circumference by one rib period. The rib band sits on the
// tile's top and bottom edge (v = 0), light strips run along the tube in the seam between tiles.
Image WallTexture() {
  const int size = 512;
  Image img(size, size);
  const Color4 steel = Hex(0x8a96a8), dark = Hex(0x3a4250), amber = Hex(0xffa040), cyan = Hex(0x5ad8ff);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      float grime = TileFbm(x / 32.0f, y / 32.0f, 16, 4, 11);
      float brushed = TileNoise(x / 64.0f, y / 2.0f, 8, 12, 256) * 0.06f;  // streaks across the tube
      int dy = std::min(y, size - 1 - y);  // distance to the rib line, the same on both wrap edges
      int col = x < 256 ? 0 : 1, row = y < 256 ? 0 : 1;
      float px = x - (col ? 264.0f : 8.0f), py = y - (row ? 262.0f : 44.0f);  // inside a panel
      const float pw = 240, ph = 206;
      Color4 c;
      if (dy < 56) {
        // Rib: darker ribbed steel with bolts.
        float groove = (dy % 14) < 2 ? 0.7f : 1.0f;
        c = Mix(dark, steel, 0.45f + 0.2f * grime);
        c = Mix(c, {0, 0, 0, 1}, 1 - groove);
        float bx = float((x + 32) % 64) - 32, by = float(dy) - 28;
        float r = std::sqrt(bx * bx + by * by);
        if (r < 7) c = Mix(Hex(0xb8c2d0), dark, r / 7 * 0.8f + (bx + by > 0 ? 0.2f : 0.0f));
        if (dy > 50) c = Mix(c, {0, 0, 0, 1}, 0.5f);
      } else if (px < 0 || py < 0 || px >= pw || py >= ph) {
        // Gaps between panels; the seam column carries the light strip.
        c = Mix(dark, {0, 0, 0, 1}, 0.3f);
        int sx = std::min(x, size - 1 - x);
        if (sx < 5) c = Mix(cyan, Hex(0xe8fbff), 1 - sx / 5.0f);
      } else {
        // Panel: bevelled plate, per-panel tint, rivets in the corners.
        float tint = (Hash2(col, row, 3) & 255) / 255.0f * 0.08f - 0.04f;
        c = Mix(steel, dark, 0.15f + 0.35f * grime + tint);
        c.r += brushed;
        c.g += brushed;
        c.b += brushed;
        float edge = std::min({px, py, pw - 1 - px, ph - 1 - py});
        if (edge < 4) {
          bool lit = px < 4 || py < 4;
          c = Mix(c, lit ? Hex(0xd8e0ea) : Hex(0x20242c), 0.6f * (1 - edge / 4));
        }
        for (float cx : {12.0f, pw - 12}) for (float cy : {12.0f, ph - 12}) {
          float r = std::hypot(px - cx, py - cy);
          if (r < 4.5f) c = Mix(Hex(0xc8d0dc), Hex(0x30363f), r / 4.5f);
        }
        if (col == 1 && row == 0 && px > 30 && px < pw - 30 && py > 30 && py < ph - 30) {
          // Vent slats.
          int s = int(py - 30) % 14;
          c = Mix(c, s < 8 ? Hex(0x14181e) : Hex(0xa8b2c0), s < 8 ? 0.8f : 0.3f);
        }
        if (col == 0 && row == 1 && py > ph - 34 && py < ph - 14) {
          // Hazard band.
          bool stripe = int(px + py) / 14 % 2 == 0;
          c = Mix(c, stripe ? amber : Hex(0x1a1a1a), 0.85f);
        }
        if (col == 0 && row == 0 && py > 18 && py < 30 && px > 20 && px < 120) c = Mix(c, amber, 0.8f);
        if (col == 1 && row == 1 && px > pw / 2 - 40 && px < pw / 2 + 40 && py > ph / 2 - 40 && py < ph / 2 + 40) {
          // Round hatch.
          float r = std::hypot(px - pw / 2, py - ph / 2);
          if (r < 38 && r > 30) c = Mix(c, r < 34 ? Hex(0x20262e) : Hex(0xc0c8d4), 0.7f);
        }
      }
      c.a = 1;
      img.At(x, y) = c;
    }
  return img;
}

// Radially symmetric flare: a hot core, a soft halo, a thin ring and six fine rays; alpha falls to
// zero well inside the quad's edge.
Image FlareTexture() {
  const int size = 128;
  Image img(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      float dx = (x + 0.5f) / size * 2 - 1, dy = (y + 0.5f) / size * 2 - 1;
      float r = std::sqrt(dx * dx + dy * dy), a = std::atan2(dy, dx);
      float core = std::exp(-r * r / 0.012f);
      float halo = std::exp(-r * r / 0.12f) * 0.55f;
      float ring = std::exp(-(r - 0.62f) * (r - 0.62f) / 0.0012f) * 0.22f;
      float rays = std::pow(std::fabs(std::cos(3 * a)), 60.0f) * std::exp(-r / 0.35f) * 0.8f;
      float fade = 1 - SmoothStep(0.75f, 0.97f, r);
      float alpha = Clamp01((core + halo + ring + rays) * fade);
      Color4 c = Ramp({{0.0f, Hex(0xffffff)}, {0.12f, Hex(0xfff2d8)}, {0.4f, Hex(0xffb060)}, {0.7f, Hex(0x60c8ff)}},
                      r);
      c.a = alpha;
      img.At(x, y) = c;
    }
  return img;
}

}  // namespace

bool WriteTunnelData(const std::string& root) {
  const std::string dir = root + "/Tunnel/";
  std::filesystem::create_directories(dir);
  return WriteTunnelModel(dir + "tunnel.X") && WriteFlareModel(dir + "Light.X") &&
         WriteBmp24(dir + "tun_wall.bmp", WallTexture()) && WriteTga(dir + "tun_flare.tga", FlareTexture(), true);
}
