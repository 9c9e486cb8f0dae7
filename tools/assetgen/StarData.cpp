// Star\: the spiky star above the room. Every mesh is centred on the star's centre (the wobble
// rotates vertices about their mesh's origin), radius about 24 before the shader's x3 scale.
// `StarBody` carries the fall: the tick-0 key is the rest pose (identity), then over 6 s the star
// sinks 93 units, spins and shrinks to 5 % (the scene itself drops it another 12), ending just above
// the room's floor at y = -110.
#include <cmath>
#include <filesystem>

#include "DataSets.h"
#include "ImageWriters.h"
#include "ModelKit.h"
#include "Procedural.h"
#include "TextureKit.h"

namespace {

constexpr float kCoreRadius = 12;
constexpr float kFallSeconds = 6, kFallDepth = 93, kEndScale = 0.05f, kSpin = 1.5f;

// Rotation taking +y onto the unit direction d (a proper rotation, no mirroring).
Mat4 AlignY(const Vec3& d) {
  Vec3 ref = std::fabs(d.y) > 0.9f ? Vec3(1, 0, 0) : Vec3(0, 1, 0);
  Vec3 b1 = Normalize(Cross(d, ref)), b2 = Cross(b1, d);
  Mat4 m;
  const Vec3 rows[3] = {b1, d, b2};
  for (int r = 0; r < 3; ++r) m.m[r][0] = rows[r].x, m.m[r][1] = rows[r].y, m.m[r][2] = rows[r].z;
  return m;
}

Mesh Spikes(const char* name, const std::vector<Vec3>& dirs, float base, float baseRadius, float tip) {
  Mesh cone;
  RevolveDesc rd;
  rd.around = 12;
  rd.along = 6;
  AddRevolve(cone, rd, [&](float t) { return ProfilePoint{baseRadius * (1 - t), Lerp(base, tip, t)}; });
  Mesh m;
  m.name = name;
  m.material.diffuse = {1, 1, 1, 1};
  m.material.texture = "star_spike.bmp";
  for (const Vec3& d : dirs) AppendTransformed(m, cone, AlignY(Normalize(d)));
  return m;
}

Image CoreTexture() {
  const int n = 256;
  Image img(n, n / 2);
  for (int y = 0; y < n / 2; ++y)
    for (int x = 0; x < n; ++x) {
      float cells = TileFbm(x / 16.0f, y / 16.0f, 16, 4, 301, 8);
      float crack = std::fabs(cells - 0.5f) * 2;
      Color4 c = Ramp({{0.0f, Hex(0x6a3020)}, {0.25f, Hex(0xffb070)}, {1.0f, Hex(0xfff4e0)}}, crack);
      c.a = 1;
      img.At(x, y) = c;
    }
  return img;
}

// Spikes: rows run from the base (top) to the tip; bright streaks brightening towards the tip.
Image SpikeTexture() {
  const int n = 128;
  Image img(n, n);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      float v = (y + 0.5f) / n;
      float streak = TileNoise(x / 8.0f, y / 64.0f, 16, 311, 2);
      Color4 c = Mix(Hex(0xc87048), Hex(0xfff0d0), Clamp01(v * 0.8f + streak * 0.4f));
      c.a = 1;
      img.At(x, y) = c;
    }
  return img;
}

}  // namespace

bool WriteStarData(const std::string& root) {
  const std::string dir = root + "/Star/";
  std::filesystem::create_directories(dir);
  const float phi = (1 + std::sqrt(5.0f)) / 2, iphi = 1 / phi;
  std::vector<Vec3> ico, dodeca;
  for (float a : {-1.0f, 1.0f})
    for (float b : {-1.0f, 1.0f}) {
      ico.insert(ico.end(), {{0, a, b * phi}, {a, b * phi, 0}, {a * phi, 0, b}});
      dodeca.insert(dodeca.end(), {{0, a * iphi, b * phi}, {a * iphi, b * phi, 0}, {a * phi, 0, b * iphi}});
      for (float c : {-1.0f, 1.0f}) dodeca.push_back({a, b, c});
    }

  Mesh core;
  core.name = "CoreMesh";
  core.material.diffuse = {1, 1, 1, 1};
  core.material.texture = "star_core.bmp";
  RevolveDesc rd;
  rd.around = 32;
  rd.along = 20;
  AddRevolve(core, rd, [](float t) { return ProfilePoint{kCoreRadius * std::sin(kPi * t), -kCoreRadius * std::cos(kPi * t)}; });

  XWriter x;
  x.BeginFrame("StarBody", Mat4());
  x.BeginFrame("Sphere02", Mat4());
  x.WriteMesh(core);
  x.EndFrame();
  x.BeginFrame("LongSpikes", Mat4());
  x.WriteMesh(Spikes("LongSpikeMesh", ico, 9, 3.6f, 24));
  x.EndFrame();
  x.BeginFrame("ShortSpikes", Mat4());
  x.WriteMesh(Spikes("ShortSpikeMesh", dodeca, 9, 2.6f, 17));
  x.EndFrame();
  x.EndFrame();

  std::vector<MatrixKey> fall;
  for (int i = 0; i <= 60; ++i) {
    float t = kFallSeconds * i / 60, f = t / kFallSeconds;
    float s = 1 - (1 - kEndScale) * SmoothStep(0, 1, f);
    Mat4 m = Multiply(Multiply(Scaling(s, s, s), RotationY(kSpin * t * f)), Mat4::Translation({0, -kFallDepth * f * f, 0}));
    fall.push_back({uint32_t(std::lround(t * kTicksPerSecond)), m});
  }
  x.BeginAnimationSet("StarFall");
  x.WriteMatrixTrack("StarBody", fall);
  x.EndAnimationSet();
  return x.Save(dir + "Star.x") && WriteBmp24(dir + "star_core.bmp", CoreTexture()) &&
         WriteBmp24(dir + "star_spike.bmp", SpikeTexture());
}
