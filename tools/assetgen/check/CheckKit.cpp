#include "CheckKit.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

namespace {

int failures = 0;

}  // namespace

int Failures() { return failures; }

void Expect(bool ok, const std::string& what) {
  if (!ok) {
    std::printf("FAILED: %s\n", what.c_str());
    ++failures;
  }
}

std::string Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}



bool ReadBmp(const std::string& path, Picture& p) {
  std::string d = Load(path);
  if (d.size() < 54 || d.compare(0, 2, "BM") != 0 || U16(d, 28) != 24 || U32(d, 30) != 0) return false;
  p.w = int(U32(d, 18));
  p.h = int(U32(d, 22));
  p.bits = 24;
  const size_t pitch = (p.w * 3 + 3) & ~3u, off = U32(d, 10);
  if (d.size() < off + pitch * p.h) return false;
  p.bgra.resize(size_t(p.w) * p.h * 4);
  for (int y = 0; y < p.h; ++y)
    for (int x = 0; x < p.w; ++x) {
      const char* s = &d[off + (p.h - 1 - y) * pitch + x * 3];
      uint8_t* t = &p.bgra[(size_t(y) * p.w + x) * 4];
      t[0] = s[0], t[1] = s[1], t[2] = s[2], t[3] = 255;
    }
  return true;
}

bool ReadTga(const std::string& path, Picture& p) {
  std::string d = Load(path);
  if (d.size() < 18 || d[1] != 0 || d[2] != 2) return false;  // uncompressed true colour only
  p.w = int(U16(d, 12));
  p.h = int(U16(d, 14));
  p.bits = uint8_t(d[16]);
  const int bpp = p.bits / 8;
  const bool topDown = d[17] & 0x20;
  if ((p.bits != 24 && p.bits != 32) || (p.bits == 32 && (d[17] & 15) != 8)) return false;
  const size_t off = 18 + uint8_t(d[0]);
  if (d.size() < off + size_t(p.w) * p.h * bpp) return false;
  p.bgra.resize(size_t(p.w) * p.h * 4);
  for (int y = 0; y < p.h; ++y)
    for (int x = 0; x < p.w; ++x) {
      const char* s = &d[off + (size_t(topDown ? y : p.h - 1 - y) * p.w + x) * bpp];
      uint8_t* t = &p.bgra[(size_t(y) * p.w + x) * 4];
      t[0] = s[0], t[1] = s[1], t[2] = s[2], t[3] = bpp == 4 ? uint8_t(s[3]) : 255;
    }
  return true;
}



bool Tiles(const Picture& p) {
  // The step across a wrap edge is no bigger than a few typical steps inside.
  double stepX = 0, stepY = 0, edgeX = 0, edgeY = 0;
  for (int i = 0; i < p.h; ++i) {
    for (int x = 1; x < p.w; ++x) stepX += std::fabs(p.Luma(x, i) - p.Luma(x - 1, i)) / (p.w - 1);
    edgeX += std::fabs(p.Luma(0, i) - p.Luma(p.w - 1, i));
  }
  for (int i = 0; i < p.w; ++i) {
    for (int y = 1; y < p.h; ++y) stepY += std::fabs(p.Luma(i, y) - p.Luma(i, y - 1)) / (p.h - 1);
    edgeY += std::fabs(p.Luma(i, 0) - p.Luma(i, p.h - 1));
  }
  return edgeX <= 3 * stepX && edgeY <= 3 * stepY;
}

bool ReadDds(const std::string& path, DdsFile& dds, std::string& error) {
  std::string d = Load(path);
  if (d.size() < 128 || U32(d, 0) != 0x20534444 || U32(d, 4) != 124) return (error = "not a DDS file"), false;
  const int h = int(U32(d, 12)), w = int(U32(d, 16));
  const uint32_t mips = std::max<uint32_t>(1, U32(d, 28)), flags = U32(d, 80), bits = U32(d, 88);
  if (!(flags & 0x40) || !(flags & 0x1) || bits != 32 || U32(d, 92) != 0x00FF0000 || U32(d, 104) != 0xFF000000)
    return (error = "not uncompressed A8R8G8B8"), false;
  dds.cube = (U32(d, 112) & 0x200) != 0;
  size_t off = 128;
  for (int f = 0; f < (dds.cube ? 6 : 1); ++f) {
    dds.faces.emplace_back();
    for (uint32_t m = 0, lw = w, lh = h; m < mips; ++m, lw = std::max(1u, lw / 2), lh = std::max(1u, lh / 2)) {
      Picture p;
      p.w = int(lw), p.h = int(lh), p.bits = 32;
      const size_t bytes = size_t(lw) * lh * 4;
      if (d.size() < off + bytes) return (error = "file shorter than its levels"), false;
      p.bgra.assign(d.begin() + off, d.begin() + off + bytes);
      off += bytes;
      dds.faces.back().push_back(std::move(p));
    }
  }
  if (off != d.size()) return (error = "trailing bytes after the levels"), false;
  return true;
}

bool IsBaselineJpeg(const std::string& path) {
  std::string d = Load(path);
  if (d.size() < 4 || uint8_t(d[0]) != 0xFF || uint8_t(d[1]) != 0xD8) return false;
  for (size_t i = 2; i + 4 <= d.size();) {  // walk the marker segments up to the frame header
    if (uint8_t(d[i]) != 0xFF) return false;
    uint8_t m = uint8_t(d[i + 1]);
    if (m == 0xC0) return true;
    if (m >= 0xC1 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC) return false;
    i += 2 + (uint8_t(d[i + 2]) << 8 | uint8_t(d[i + 3]));
  }
  return false;
}

const XObject* Find(const std::vector<std::unique_ptr<XObject>>& list, const std::string& type,
                    const std::string& name) {
  for (const auto& o : list)
    if (o->type == type && (name.empty() || o->name == name)) return o.get();
  return nullptr;
}

namespace {

// Limits of the platform's .X text parser: names of at most 31 characters, 200 children per
// object, 2000 objects inside one top-level object, 500 top-level objects.
constexpr size_t kMaxName = 31, kMaxChildren = 200, kMaxSubObjects = 2000, kMaxTopLevel = 500;

size_t CountObjects(const XObject& o) {
  size_t n = 1;
  for (const auto& c : o.children) n += CountObjects(*c);
  return n;
}

}  // namespace

XFile CheckModel(const std::string& dir, const std::string& name, std::vector<XMesh>& meshes) {
  XFile x = ReadX(Load(dir + name));
  Expect(x.error.empty(), name + ": " + x.error);
  Expect(x.objects.size() <= kMaxTopLevel, name + ": too many top-level objects for the parser");
  for (const auto& o : x.objects)
    Expect(CountObjects(*o) - 1 <= kMaxSubObjects, name + ": " + o->type + " " + o->name + " holds too many objects");
  std::map<std::string, int> names;
  std::vector<const XObject*> stack;
  for (const auto& o : x.objects) stack.push_back(o.get());
  while (!stack.empty()) {
    const XObject* o = stack.back();
    stack.pop_back();
    if (o->type != "ref" && !o->name.empty()) Expect(++names[o->name] == 1, name + ": name repeated: " + o->name);
    Expect(o->name.size() <= kMaxName, name + ": name too long for the parser: " + o->name);
    Expect(o->children.size() <= kMaxChildren, name + ": " + o->name + " has too many children");
    for (const auto& c : o->children) stack.push_back(c.get());
    if (o->type != "Mesh") continue;
    XMesh m;
    std::string error;
    if (!DecodeMesh(*o, m, error)) {
      Expect(false, name + ": mesh " + o->name + ": " + error);
      continue;
    }
    const size_t n = m.positions.size() / 3;
    Expect(n <= 65535, name + ": mesh " + o->name + " has more than 65535 vertices");
    Expect(m.materials.size() == 1, name + ": mesh " + o->name + " must have exactly one material");
    bool unit = true, winding = true;
    for (size_t i = 0; i < n; ++i) {
      const float* v = &m.normals[i * 3];
      unit = unit && std::fabs(std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]) - 1) < 1e-3f;
    }
    // Front faces are clockwise in the left-handed system: Cross(b - a, c - a) lies on the normals' side.
    for (size_t f = 0; f + 2 < m.faces.size(); f += 3) {
      const float* a = &m.positions[m.faces[f] * 3];
      const float* b = &m.positions[m.faces[f + 1] * 3];
      const float* c = &m.positions[m.faces[f + 2] * 3];
      float e1[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]}, e2[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
      float cr[3] = {e1[1] * e2[2] - e1[2] * e2[1], e1[2] * e2[0] - e1[0] * e2[2], e1[0] * e2[1] - e1[1] * e2[0]};
      float dot = 0;
      for (int k = 0; k < 3; ++k) dot += cr[0] * m.normals[m.faces[f + k] * 3] + cr[1] * m.normals[m.faces[f + k] * 3 + 1] +
                                         cr[2] * m.normals[m.faces[f + k] * 3 + 2];
      winding = winding && dot > 0;
    }
    Expect(unit, name + ": mesh " + o->name + " has non-unit normals");
    Expect(winding, name + ": mesh " + o->name + " has faces wound against their normals");
    for (const XObject* mat : m.materials) {
      const XObject* tex = Find(mat->children, "TextureFilename");
      if (tex) Expect(std::ifstream(dir + tex->text).good(), name + ": texture " + tex->text + " missing");
    }
    meshes.push_back(std::move(m));
  }
  return x;
}


std::map<std::string, Track> Tracks(const XFile& x) {
  std::map<std::string, Track> tracks;
  for (const auto& o : x.objects) {
    if (o->type != "AnimationSet") continue;
    for (const auto& a : o->children) {
      const XObject* ref = Find(a->children, "ref");
      const XObject* key = Find(a->children, "AnimationKey");
      if (!ref || !key || key->dwords.size() < 2) continue;
      Track& t = tracks[ref->name];
      t.type = int(key->dwords[0]);
      for (size_t i = 2; i + 1 < key->dwords.size(); i += 2) t.ticks.push_back(key->dwords[i]);
      t.values = key->floats;
    }
  }
  return tracks;
}

void TrackPosition(const Track& t, uint32_t tick, float out[3]) {
  out[0] = out[1] = out[2] = 0;
  if (t.type != 2 || t.ticks.empty() || t.values.size() != t.ticks.size() * 3) return;
  size_t k = 0;
  while (k + 1 < t.ticks.size() && t.ticks[k + 1] <= tick) ++k;
  float f = 0;
  if (k + 1 < t.ticks.size() && tick > t.ticks[k]) f = float(tick - t.ticks[k]) / float(t.ticks[k + 1] - t.ticks[k]);
  for (int c = 0; c < 3; ++c) {
    float a = t.values[k * 3 + c], b = k + 1 < t.ticks.size() ? t.values[(k + 1) * 3 + c] : a;
    out[c] = a + (b - a) * f;
  }
}

namespace {

void MatMul(const float* a, const float* b, float* out) {
  float r[16];
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      r[i * 4 + j] = 0;
      for (int k = 0; k < 4; ++k) r[i * 4 + j] += a[i * 4 + k] * b[k * 4 + j];
    }
  std::copy(r, r + 16, out);
}

const float kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// Visits every frame depth-first with its model-space matrix.
template <typename F>
void WalkFrames(const std::vector<std::unique_ptr<XObject>>& list, const float* parentWorld, const std::string& parent,
                std::vector<std::string>& path, F&& visit) {
  for (const auto& c : list) {
    if (c->type != "Frame") continue;
    float world[16];
    const XObject* m = Find(c->children, "FrameTransformMatrix");
    if (m && m->floats.size() == 16) MatMul(m->floats.data(), parentWorld, world);
    else std::copy(parentWorld, parentWorld + 16, world);
    path.push_back(c->name);
    visit(*c, world, parent, path);
    WalkFrames(c->children, world, c->name, path, visit);
    path.pop_back();
  }
}

template <typename F>
void WalkFile(const XFile& x, F&& visit) {
  std::vector<std::string> path;
  WalkFrames(x.objects, kIdentity, "", path, visit);
}

}  // namespace

bool PlacedMesh::Under(const std::string& frame) const {
  return std::find(frames.begin(), frames.end(), frame) != frames.end();
}

std::vector<PlacedMesh> PlaceMeshes(const XFile& x) {
  std::vector<PlacedMesh> out;
  WalkFile(x, [&](const XObject& f, const float* world, const std::string&, const std::vector<std::string>& path) {
    for (const auto& c : f.children) {
      if (c->type != "Mesh") continue;
      PlacedMesh pm;
      std::string error;
      if (!DecodeMesh(*c, pm.mesh, error)) continue;
      pm.frames = path;
      std::copy(world, world + 16, pm.world);
      const size_t n = pm.mesh.positions.size() / 3;
      for (size_t i = 0; i < n; ++i) {
        const float* p = &pm.mesh.positions[i * 3];
        const float* v = &pm.mesh.normals[i * 3];
        float wn[3];
        for (int k = 0; k < 3; ++k) {
          pm.positions.push_back(p[0] * world[k] + p[1] * world[4 + k] + p[2] * world[8 + k] + world[12 + k]);
          wn[k] = v[0] * world[k] + v[1] * world[4 + k] + v[2] * world[8 + k];  // rotation and uniform scale only
        }
        float len = std::sqrt(wn[0] * wn[0] + wn[1] * wn[1] + wn[2] * wn[2]);
        for (float c2 : wn) pm.normals.push_back(len > 0 ? c2 / len : 0);
      }
      out.push_back(std::move(pm));
    }
  });
  return out;
}

std::map<std::string, FrameInfo> Frames(const XFile& x) {
  std::map<std::string, FrameInfo> out;
  WalkFile(x, [&](const XObject& f, const float* world, const std::string& parent, const std::vector<std::string>&) {
    FrameInfo info{&f, parent, {}};
    std::copy(world, world + 16, info.world);
    out[f.name] = info;
  });
  return out;
}

bool TranslationOnly(const float* m) {
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c)
      if (std::fabs(m[r * 4 + c] - (r == c ? 1.0f : 0.0f)) > 1e-6f) return false;
  return true;
}
