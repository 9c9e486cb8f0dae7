// orvanta_datacheck DIR: checks a generated data tree against what the show's code looks up: every
// file present, image formats, sizes and alpha, model structure and names, the tunnel's geometry and
// paths, and the soundtrack's MPEG format and length. Prints one line per failure; exit code 1 if any.
// orvanta_datacheck --same-models DIR1 DIR2: the models of two trees hold the same objects and values,
// whatever their form (binary or text).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "CheckKit.h"

namespace {

// A 32-bit sprite: size, a translucent border (nothing cut off at the edges) and visible content.
void CheckSprite(const std::string& dir, const std::string& name, int w, int h) {
  Picture p;
  if (!ReadTga(dir + name, p)) return Expect(false, name + ": not an uncompressed TGA");
  Expect(p.bits == 32 && p.w == w && p.h == h,
         name + ": expected 32-bit " + std::to_string(w) + "x" + std::to_string(h));
  int opaque = 0, clear = 0;
  for (int y = 0; y < p.h; ++y)
    for (int x = 0; x < p.w; ++x) {
      opaque += p.At(x, y)[3] > 200;
      clear += p.At(x, y)[3] == 0;
    }
  Expect(opaque > p.w * p.h / 100, name + ": hardly any visible pixels");
  Expect(clear > 0, name + ": no transparent pixels");
}

void CheckImages(const std::string& root) {
  Picture wall;
  if (!ReadBmp(root + "Tunnel/tun_wall.bmp", wall)) {
    Expect(false, "tun_wall.bmp: not a 24-bit BMP");
  } else {
    Expect(PowerOfTwo(wall.w) && PowerOfTwo(wall.h), "tun_wall.bmp: size not a power of two");
    Expect(Tiles(wall), "tun_wall.bmp: visible seam when tiled");
  }

  Picture flare;
  if (ReadTga(root + "Tunnel/tun_flare.tga", flare) && flare.bits == 32) {
    Expect(PowerOfTwo(flare.w) && flare.w == flare.h, "tun_flare.tga: not a square power of two");
    bool borderClear = true;
    for (int i = 0; i < flare.w; ++i)
      borderClear = borderClear && flare.At(i, 0)[3] == 0 && flare.At(i, flare.h - 1)[3] == 0 &&
                    flare.At(0, i)[3] == 0 && flare.At(flare.w - 1, i)[3] == 0;
    Expect(borderClear, "tun_flare.tga: alpha does not fall to 0 at the quad's edge");
    Expect(flare.At(flare.w / 2, flare.h / 2)[3] > 200, "tun_flare.tga: centre not bright");
    // Mirror symmetry in x: the billboard mirrors the quad.
    int worst = 0;
    for (int y = 0; y < flare.h; ++y)
      for (int x = 0; x < flare.w; ++x)
        worst = std::max(worst, std::abs(flare.At(x, y)[3] - flare.At(flare.w - 1 - x, y)[3]));
    Expect(worst <= 2, "tun_flare.tga: not symmetric");
  } else {
    Expect(false, "tun_flare.tga: not a 32-bit TGA");
  }

  Picture ramp;
  if (ReadBmp(root + "Blob/BlobColor.bmp", ramp)) {
    Expect(PowerOfTwo(ramp.w) && ramp.w >= 64, "BlobColor.bmp: width");
    Expect(ramp.Luma(0, 0) < 0.15f && ramp.Luma(ramp.w - 1, 0) > 0.8f, "BlobColor.bmp: not dark rim to bright core");
    bool rows = true;
    for (int y = 1; y < ramp.h; ++y)
      for (int x = 0; x < ramp.w; ++x) rows = rows && ramp.Luma(x, y) == ramp.Luma(x, 0);
    Expect(rows, "BlobColor.bmp: rows differ");
  } else {
    Expect(false, "BlobColor.bmp: not a 24-bit BMP");
  }

  CheckSprite(root, "Logo/LogoOrvanta.tga", 512, 256);
  for (const char* n : {"marsiden", "quelin", "brenholt", "tesrik"})
    CheckSprite(root, std::string("Credits/") + n + ".tga", 512, 128);
  for (const char* n : {"toon_sh", "rr_sh", "holo_sh", "pulse_sh"})
    CheckSprite(root, std::string("Shader/") + n + ".tga", 256, 64);
  CheckSprite(root, "Shader/greetings.tga", 2048, 32);
  Picture g;
  if (ReadTga(root + "Shader/greetings.tga", g) && g.w == 2048) {
    int lastText = 0;
    for (int y = 0; y < g.h; ++y)
      for (int x = 0; x < g.w; ++x)
        if (g.At(x, y)[3] > 0) lastText = std::max(lastText, x);
    Expect(lastText < 1350 && lastText > 1250, "greetings.tga: text must fill the left 1350 px, got up to x=" +
                                                    std::to_string(lastText));
  }
}

void CheckTunnel(const std::string& root) {
  const std::string dir = root + "Tunnel/";
  std::vector<XMesh> meshes;
  XFile x = CheckModel(dir, "tunnel.X", meshes);
  std::vector<std::string> frames;
  for (const auto& o : x.objects)
    if (o->type == "Frame") frames.push_back(o->name);
  Expect(frames == std::vector<std::string>{"Tunnel", "Geo_camera", "Geo_camera_target", "Geo_omni01", "Geo_omni02"},
         "tunnel.X: top-level frames");
  const XObject* tunnel = Find(x.objects, "Frame", "Tunnel");
  if (tunnel) {
    const XObject* m = Find(tunnel->children, "FrameTransformMatrix");
    bool identity = m && m->floats.size() == 16;
    for (int i = 0; identity && i < 16; ++i) identity = m->floats[i] == (i % 5 == 0 ? 1.0f : 0.0f);
    Expect(identity, "tunnel.X: Tunnel frame matrix is not the identity");
    Expect(!Find(tunnel->children, "Frame"), "tunnel.X: no frame may sit under Tunnel");
  }
  Expect(meshes.size() == 1 && meshes[0].colors == 0, "tunnel.X: one pos+normal+uv mesh expected");
  if (meshes.size() == 1) {
    const XMesh& m = meshes[0];
    float zmin = 1e9f, zmax = -1e9f, rmin = 1e9f, rmax = 0;
    bool inward = true;
    for (size_t i = 0; i < m.positions.size() / 3; ++i) {
      const float* p = &m.positions[i * 3];
      const float* n = &m.normals[i * 3];
      zmin = std::min(zmin, p[2]);
      zmax = std::max(zmax, p[2]);
      float r = std::hypot(p[0], p[1]);
      rmin = std::min(rmin, r);
      rmax = std::max(rmax, r);
      inward = inward && n[0] * p[0] + n[1] * p[1] < 0;
    }
    bool whole = true;
    for (size_t i = 0; i < m.positions.size() / 3; ++i) {
      float z = m.positions[i * 3 + 2], v = m.uvs[i * 2 + 1];
      if (z == zmin || z == zmax) whole = whole && std::fabs(v - std::round(v)) < 1e-4f;
    }
    Expect(whole, "tunnel.X: v must tile a whole number of times over the length");
    Expect(zmin == 0 && zmax >= 1500, "tunnel.X: tube must run from z = 0 to at least 1500");
    Expect(rmin > 50 && rmax < 90, "tunnel.X: radius out of range");
    Expect(inward, "tunnel.X: normals must point into the tube");
  }
  auto tracks = Tracks(x);
  for (const auto& t : tracks) Expect(t.second.type == 2, "tunnel.X: track " + t.first + " is not a position track");
  for (const char* n : {"Geo_camera", "Geo_camera_target", "Geo_omni01", "Geo_omni02"})
    Expect(tracks.count(n) && !tracks[n].ticks.empty() && tracks[n].ticks.back() >= 441600,
           std::string("tunnel.X: ") + n + " keys must reach 441600 ticks");
  const Track& cam = tracks["Geo_camera"];
  const Track& tgt = tracks["Geo_camera_target"];
  if (cam.ticks == tgt.ticks && cam.values.size() == cam.ticks.size() * 3) {
    bool rising = true, inside = true, ahead = true, lights = true;
    for (size_t i = 0; i < cam.ticks.size(); ++i) {
      const float* c = &cam.values[i * 3];
      if (i) rising = rising && c[2] > cam.values[i * 3 - 1] && cam.ticks[i] > cam.ticks[i - 1];
      inside = inside && std::hypot(c[0], c[1]) < 45;
      float d = tgt.values[i * 3 + 2] - c[2];
      ahead = ahead && d > 150 && d < 250;
      for (const char* n : {"Geo_omni01", "Geo_omni02"}) {
        const Track& l = tracks[n];
        if (l.values.size() != cam.values.size()) continue;
        float dz = l.values[i * 3 + 2] - c[2], r = std::hypot(l.values[i * 3], l.values[i * 3 + 1]);
        lights = lights && dz >= 100 && dz <= 400 && r > 10 && r < 55;
      }
    }
    Expect(rising, "tunnel.X: camera z must increase");
    Expect(inside, "tunnel.X: camera leaves the tube");
    Expect(ahead, "tunnel.X: target not about 200 ahead");
    Expect(lights, "tunnel.X: lights not 100-400 ahead and off-axis inside the tube");
  } else {
    Expect(false, "tunnel.X: camera and target tracks must share their key times");
  }

  std::vector<XMesh> quad;
  XFile light = CheckModel(dir, "Light.X", quad);
  Expect(quad.size() == 1 && quad[0].positions.size() == 12, "Light.X: one quad expected");
  if (quad.size() == 1 && !quad[0].materials.empty()) {
    const XObject* mat = quad[0].materials[0];
    Expect(mat->floats.size() >= 4 && mat->floats[0] == 1 && mat->floats[1] == 1 && mat->floats[2] == 1 &&
               mat->floats[3] == 1,
           "Light.X: material diffuse must be (1,1,1,1)");
    float extent = 0, zmax = 0;
    for (size_t i = 0; i < quad[0].positions.size(); i += 3) {
      extent = std::max({extent, std::fabs(quad[0].positions[i]), std::fabs(quad[0].positions[i + 1])});
      zmax = std::max(zmax, std::fabs(quad[0].positions[i + 2]));
    }
    Expect(zmax == 0 && extent > 15 && extent < 40, "Light.X: quad must lie in the XY plane, half-size about 25");
  }
}

// MPEG audio: every frame MPEG-1 Layer III, 44.1 kHz, not mono, one bitrate; total length in seconds.
void CheckMp3(const std::string& path) {
  std::string d = Load(path);
  size_t pos = 0;
  if (d.compare(0, 3, "ID3") == 0 && d.size() > 10)
    pos = 10 + ((uint8_t(d[6]) << 21) | (uint8_t(d[7]) << 14) | (uint8_t(d[8]) << 7) | uint8_t(d[9]));
  static const int kKbps[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
  size_t frames = 0;
  int bitrate = -1;
  bool format = true, cbr = true;
  while (pos + 4 <= d.size()) {
    uint32_t h = uint8_t(d[pos]) << 24 | uint8_t(d[pos + 1]) << 16 | uint8_t(d[pos + 2]) << 8 | uint8_t(d[pos + 3]);
    if ((h >> 21) != 0x7FF) break;
    int version = (h >> 19) & 3, layer = (h >> 17) & 3, rateIndex = (h >> 12) & 15, srIndex = (h >> 10) & 3;
    int padding = (h >> 9) & 1, mode = (h >> 6) & 3;
    format = format && version == 3 && layer == 1 && srIndex == 0 && mode != 3;
    if (!format || kKbps[rateIndex] == 0) break;
    if (bitrate < 0) bitrate = rateIndex;
    cbr = cbr && rateIndex == bitrate;
    pos += 144 * kKbps[rateIndex] * 1000 / 44100 + padding;
    ++frames;
  }
  const double seconds = frames * 1152.0 / 44100;
  Expect(format, "soundtrack: must be MPEG-1 Layer III, 44.1 kHz, stereo");
  Expect(cbr, "soundtrack: bitrate must be constant");
  Expect(pos >= d.size() - 128 && frames > 0, "soundtrack: stream ends in garbage");
  Expect(seconds >= 235.9, "soundtrack: only " + std::to_string(seconds) + " s long, needs at least 235.8");
}

bool SameObject(const XObject& a, const XObject& b) {
  if (a.type != b.type || a.name != b.name || a.floats != b.floats || a.dwords != b.dwords || a.text != b.text ||
      a.children.size() != b.children.size())
    return false;
  for (size_t i = 0; i < a.children.size(); ++i)
    if (!SameObject(*a.children[i], *b.children[i])) return false;
  return true;
}

void CompareModels(const std::string& first, const std::string& second) {
  for (const char* model : {"Tunnel/tunnel.X", "Tunnel/Light.X", "Station/Station.x", "Star/Star.x", "Room/Room.x"}) {
    const XFile a = ReadX(Load(first + model)), b = ReadX(Load(second + model));
    bool same = a.error.empty() && b.error.empty() && a.objects.size() == b.objects.size();
    for (size_t i = 0; same && i < a.objects.size(); ++i) same = SameObject(*a.objects[i], *b.objects[i]);
    Expect(same, std::string(model) + ": the two trees hold different models");
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--same-models") {
    CompareModels(std::string(argv[2]) + "/", std::string(argv[3]) + "/");
    if (Failures() == 0) std::printf("same models\n");
    return Failures() ? 1 : 0;
  }
  if (argc != 2) {
    std::fprintf(stderr, "usage: orvanta_datacheck DIR | --same-models DIR1 DIR2\n");
    return 2;
  }
  const std::string root = std::string(argv[1]) + "/";
  CheckImages(root);
  CheckTunnel(root);
  CheckStation(root);
  CheckStar(root);
  CheckRoom(root);
  CheckMp3(root + "Msx/Orvanta by Brenholt.mp3");
  if (Failures() == 0) std::printf("data tree OK\n");
  return Failures() ? 1 : 0;
}
