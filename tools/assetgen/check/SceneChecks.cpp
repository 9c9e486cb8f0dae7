// Checks of the station, star and room data: the nodes the scenes look up, vertex formats, textures
// and their formats, environment maps and ramps, camera paths against the show's times, the star's
// rest pose and fall, the room's mirror floors.
#include <algorithm>
#include <cmath>
#include <set>

#include "CheckKit.h"

namespace {

constexpr uint32_t kTicks = 4800;

struct Box3 {
  float lo[3] = {1e30f, 1e30f, 1e30f}, hi[3] = {-1e30f, -1e30f, -1e30f};
  void Add(const float* p) {
    for (int k = 0; k < 3; ++k) lo[k] = std::min(lo[k], p[k]), hi[k] = std::max(hi[k], p[k]);
  }
  bool Inside(const float* p, float margin) const {
    for (int k = 0; k < 3; ++k)
      if (p[k] < lo[k] + margin || p[k] > hi[k] - margin) return false;
    return true;
  }
};

Box3 LocalBounds(const XMesh& m) {
  Box3 b;
  for (size_t i = 0; i + 2 < m.positions.size(); i += 3) b.Add(&m.positions[i]);
  return b;
}

Box3 WorldBounds(const std::vector<PlacedMesh>& meshes, const std::string& under) {
  Box3 b;
  for (const PlacedMesh& pm : meshes)
    if (pm.Under(under))
      for (size_t i = 0; i + 2 < pm.positions.size(); i += 3) b.Add(&pm.positions[i]);
  return b;
}

// Six times the enclosed volume; positive when the faces point outwards.
double SignedVolume(const XMesh& m) {
  double v = 0;
  for (size_t f = 0; f + 2 < m.faces.size(); f += 3) {
    const float* a = &m.positions[m.faces[f] * 3];
    const float* b = &m.positions[m.faces[f + 1] * 3];
    const float* c = &m.positions[m.faces[f + 2] * 3];
    v += a[0] * (double(b[1]) * c[2] - double(b[2]) * c[1]) + a[1] * (double(b[2]) * c[0] - double(b[0]) * c[2]) +
         a[2] * (double(b[0]) * c[1] - double(b[1]) * c[0]);
  }
  return v;
}

float Distance(const float* a, const float* b) { return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]); }

std::string Texture(const XMesh& m) {
  const XObject* t = m.materials.empty() ? nullptr : Find(m.materials[0]->children, "TextureFilename");
  return t ? t->text : "";
}

const XObject* MeshIn(const XObject& frame) { return Find(frame.children, "Mesh"); }

// Model texture named in a .X file: power-of-two size, opaque (24-bit, JPEG or all alpha 255)
// unless `translucent` is allowed.
void CheckModelTexture(const std::string& dir, const std::string& file, const std::string& model) {
  const std::string ext = file.substr(file.find_last_of('.') + 1), what = model + ": texture " + file;
  Picture p;
  if (ext == "jpg") return Expect(IsBaselineJpeg(dir + file), what + " is not a baseline JPEG");
  bool read = ext == "bmp" ? ReadBmp(dir + file, p) : ext == "tga" && ReadTga(dir + file, p);
  if (!read) return Expect(false, what + " is not a 24-bit BMP or uncompressed TGA");
  Expect(PowerOfTwo(p.w) && PowerOfTwo(p.h), what + " size is not a power of two");
}

bool Opaque(const std::string& path) {
  Picture p;
  if (path.size() > 4 && path.compare(path.size() - 4, 4, ".jpg") == 0) return true;
  if (!ReadBmp(path, p) && !ReadTga(path, p)) return false;
  for (size_t i = 3; i < p.bgra.size(); i += 4)
    if (p.bgra[i] != 255) return false;
  return true;
}

void CheckTracksShareTimes(const Track& a, const Track& b, const std::string& what) {
  Expect(a.type == 2 && b.type == 2, what + ": position keys expected");
  Expect(!a.ticks.empty() && a.ticks == b.ticks, what + ": camera and target must share their key times");
  bool rising = true;
  for (size_t i = 1; i < a.ticks.size(); ++i) rising = rising && a.ticks[i] > a.ticks[i - 1];
  Expect(rising, what + ": key times must increase");
}

void CheckEnvironmentMaps(const std::string& dir) {
  for (const char* name : {"CubeTexture.dds", "CubeTexture2.dds", "CubeGlass.dds"}) {
    DdsFile dds;
    std::string error;
    if (!ReadDds(dir + name, dds, error)) {
      Expect(false, std::string(name) + ": " + error);
      continue;
    }
    Expect(dds.cube && dds.faces.size() == 6, std::string(name) + ": not a cube map with six faces");
    for (size_t f = 0; f < dds.faces.size(); ++f) {
      const auto& levels = dds.faces[f];
      Expect(levels[0].w == 256 && levels[0].h == 256 && levels.size() == 9,
             std::string(name) + ": faces must be 256x256 with a full mip chain");
      Expect(Tiles(levels[0]), std::string(name) + ": face " + std::to_string(f) + " does not tile");
    }
  }
}

void CheckRamps(const std::string& dir) {
  Picture toon;
  if (ReadBmp(dir + "toon.bmp", toon)) {
    std::vector<float> bands;
    bool falling = true;
    for (int x = 0; x < toon.w; ++x) {
      float l = toon.Luma(x, 0);
      if (bands.empty() || std::fabs(l - bands.back()) > 1e-3f) bands.push_back(l);
      falling = falling && (x == 0 || l <= toon.Luma(x - 1, 0) + 1e-3f);
    }
    Expect(PowerOfTwo(toon.w) && bands.size() >= 3 && bands.size() <= 4, "toon.bmp: needs 3 to 4 hard bands");
    Expect(falling && bands.front() > 0.9f && bands.back() < bands.front() - 0.3f, "toon.bmp: must run bright to dark");
  } else {
    Expect(false, "toon.bmp: not a 24-bit BMP");
  }
  DdsFile edge;
  std::string error;
  if (ReadDds(dir + "edgeimage.dds", edge, error)) {
    const auto& levels = edge.faces[0];
    Expect(!edge.cube && levels[0].w == 256 && levels[0].h == 4 && levels.size() == 9,
           "edgeimage.dds: must be a 256x4 2-D texture with a full mip chain");
    bool crisp = true;
    for (const Picture& p : levels)
      for (int y = 0; p.w >= 4 && y < p.h; ++y)
        for (int x = 0; x < p.w; ++x) {
          float u = (x + 0.5f) / p.w, l = p.Luma(x, y);
          if (u >= 0.8f) crisp = crisp && l < 0.02f;
          if (u < 0.75f) crisp = crisp && l > 0.98f;
        }
    Expect(crisp, "edgeimage.dds: every level must be white with a black band for u >= 0.8");
  } else {
    Expect(false, "edgeimage.dds: " + error);
  }
  Picture ice;
  if (ReadTga(dir + "ice.tga", ice) && ice.bits == 24) {
    const uint8_t* rim = ice.At(0, 0);
    Expect(rim[0] > 200 && rim[1] > 200 && rim[2] < rim[1], "ice.tga: must start bright cyan");
    Expect(ice.Luma(ice.w - 1, 0) < 0.1f, "ice.tga: must end near black");
  } else {
    Expect(false, "ice.tga: not a 24-bit TGA");
  }
}

void CheckSwappedTextures(const std::string& dir) {
  for (const char* base : {"wire", "desk01"}) {
    const std::string b = base;
    Expect(IsBaselineJpeg(dir + b + ".jpg"), b + ".jpg: not a baseline JPEG");
    Picture p;
    if (!ReadTga(dir + b + ".tga", p) || p.bits != 32) {
      Expect(false, b + ".tga: not a 32-bit TGA");
      continue;
    }
    int see = 0;
    for (size_t i = 3; i < p.bgra.size(); i += 4) see += p.bgra[i] < 255;
    Expect(PowerOfTwo(p.w) && PowerOfTwo(p.h) && see > 0, b + ".tga: must be a power of two with translucent texels");
  }
}

}  // namespace

void CheckStation(const std::string& root) {
  const std::string dir = root + "Station/", file = "Station.x";
  std::vector<XMesh> all;
  XFile x = CheckModel(dir, file, all);
  auto frames = Frames(x);
  for (const char* n : {"ship", "Material_1", "Material_2", "Material_3", "Material_4", "SkyBox", "glass_station",
                        "glass_corridor", "Wentylator", "Camera", "camera", "cameratarget", "Sphere02", "Corridor",
                        "Room", "Sufit", "Object55", "Plane20"})
    Expect(frames.count(n) != 0, file + ": node " + n + " missing");
  if (Failures()) return;  // the rest relies on the nodes
  const auto meshes = PlaceMeshes(x);
  std::set<std::string> textures;
  for (const PlacedMesh& pm : meshes) {
    const size_t n = pm.mesh.positions.size() / 3;
    Expect(pm.mesh.colors == 0 || pm.mesh.colors == n, file + ": a mesh in " + pm.frames.back() + " is neither 0x112 nor 0x152");
    if (!Texture(pm.mesh).empty()) textures.insert(Texture(pm.mesh));
  }
  for (const std::string& t : textures)
    if (t != "wire.jpg" && t != "desk01.jpg") CheckModelTexture(dir, t, file);
  Expect(textures.count("wire.jpg") && textures.count("desk01.jpg"), file + ": materials must name wire.jpg and desk01.jpg");
  CheckSwappedTextures(dir);
  CheckEnvironmentMaps(dir);
  CheckRamps(dir);

  // Frames: no scale anywhere but the ship's uniform one; dummies and doors translation-only.
  for (const auto& f : frames) {
    const XObject* m = Find(f.second.frame->children, "FrameTransformMatrix");
    if (!m || f.first == "ship") continue;
    bool unscaled = true;
    for (int r = 0; r < 3; ++r)
      unscaled = unscaled && std::fabs(std::hypot(m->floats[r * 4], m->floats[r * 4 + 1], m->floats[r * 4 + 2]) - 1) < 1e-4f;
    Expect(unscaled, file + ": frame " + f.first + " carries a scale");
  }
  for (const char* n : {"camera", "cameratarget", "Object55", "Plane20"}) {
    const XObject* m = Find(frames[n].frame->children, "FrameTransformMatrix");
    Expect(m && TranslationOnly(m->floats.data()), file + ": " + n + " must be translation-only");
  }
  Expect(!MeshIn(*frames["camera"].frame) && !MeshIn(*frames["cameratarget"].frame), file + ": camera dummies carry meshes");
  Expect(frames["camera"].parent == "Camera" && frames["cameratarget"].parent == "Camera",
         file + ": camera and cameratarget must sit in Camera");
  for (std::string p = frames["ship"].parent; !p.empty(); p = frames[p].parent)
    Expect(p == "Room", file + ": ship must hang from the root or Room, not " + p);
  for (const char* n : {"Object55", "Plane20"})
    for (std::string p = frames[n].parent; !p.empty(); p = frames[p].parent)
      Expect(p != "Corridor", file + ": door " + std::string(n) + " must sit outside Corridor");

  // The ship: four single-material pos+normal+uv parts with opaque textures, closed and facing out,
  // about 480 long in the hall at a uniform scale. The pulse shader moves the hull's vertices by up to
  // one object unit: the hull (Material_1) must be at least ten units across either way for that
  // to stay a ripple on it.
  const float* sw = frames["ship"].world;
  const float scale = std::hypot(sw[0], sw[1], sw[2]);
  Expect(std::fabs(std::hypot(sw[4], sw[5], sw[6]) - scale) < 1e-3f && std::fabs(std::hypot(sw[8], sw[9], sw[10]) - scale) < 1e-3f,
         file + ": ship scale must be uniform");
  Box3 shipBox;
  for (int k = 1; k <= 4; ++k) {
    const std::string name = "Material_" + std::to_string(k);
    const XObject* mo = MeshIn(*frames[name].frame);
    XMesh m;
    std::string error;
    if (!mo || !DecodeMesh(*mo, m, error)) {
      Expect(false, file + ": " + name + " has no mesh");
      continue;
    }
    Box3 b = LocalBounds(m);
    shipBox.Add(b.lo), shipBox.Add(b.hi);
    if (k == 1)
      Expect(b.hi[0] - b.lo[0] >= 10 && b.hi[1] - b.lo[1] >= 10,
             file + ": the hull must be at least 10 units wide and high (the pulse moves it by up to 1)");
    Expect(frames[name].parent == "ship" && m.colors == 0, file + ": " + name + " must be a pos+normal+uv mesh in ship");
    Expect(!Texture(m).empty() && Opaque(dir + Texture(m)), file + ": " + name + " needs an opaque texture");
    Expect(SignedVolume(m) > 0, file + ": " + name + " faces inwards");
  }
  const float length = shipBox.hi[2] - shipBox.lo[2];
  Expect(length * scale > 400 && length * scale < 600, file + ": ship must be about 480 long in the hall");

  // Sky box faces: vertex colours, all white, facing the centre. Glass: untextured, no colours.
  for (const auto& f : frames) {
    if (f.second.parent != "SkyBox") continue;
    const XObject* mo = MeshIn(*f.second.frame);
    const XObject* colors = mo ? Find(mo->children, "MeshVertexColors") : nullptr;
    bool white = colors != nullptr;
    for (float c : colors ? colors->floats : std::vector<float>()) white = white && c == 1.0f;
    Expect(white, file + ": sky face " + f.first + " needs white vertex colours");
  }
  for (const PlacedMesh& pm : meshes) {
    bool inward = true;
    for (size_t i = 0; pm.Under("SkyBox") && i < pm.positions.size(); i += 3)
      inward = inward && pm.normals[i] * pm.positions[i] + pm.normals[i + 1] * pm.positions[i + 1] +
                                 pm.normals[i + 2] * pm.positions[i + 2] < 0;
    Expect(inward, file + ": sky faces must face the centre");
    if (pm.Under("glass_station") || pm.Under("glass_corridor"))
      Expect(Texture(pm.mesh).empty() && pm.mesh.colors == 0, file + ": glass must be untextured pos+normal+uv");
  }
  XMesh sphere;
  std::string error;
  if (DecodeMesh(*MeshIn(*frames["Sphere02"].frame), sphere, error)) {
    Box3 b = LocalBounds(sphere);
    bool centred = true;
    for (int k = 0; k < 3; ++k) centred = centred && std::fabs(b.lo[k] + b.hi[k]) < 0.02f * (b.hi[k] - b.lo[k]);
    Expect(centred, file + ": Sphere02 must be centred on its origin");
  }

  // Hall and ceiling around the orbit centre S.
  const float S[3] = {sw[12], sw[13], sw[14]};
  const Box3 ceiling = WorldBounds(meshes, "Sufit"), corridor = WorldBounds(meshes, "Corridor");
  Expect(-ceiling.lo[0] >= 1100 && ceiling.hi[0] >= 1100 && -ceiling.lo[2] >= 1100 && ceiling.hi[2] >= 1100,
         file + ": the hall must reach 1100 from the centre");
  Expect(ceiling.lo[1] < S[1] + 1000 && ceiling.lo[1] > S[1] + 260, file + ": Sufit must lie between the orbit and S.y + 1000");

  // Camera flight in absolute show ticks.
  auto tracks = Tracks(x);
  const Track& cam = tracks["camera"];
  const Track& tgt = tracks["cameratarget"];
  CheckTracksShareTimes(cam, tgt, file);
  if (cam.ticks.empty()) return;
  Expect(cam.ticks.front() == 339840 && cam.ticks.back() >= 518400, file + ": camera keys must run 339840 -> 518400 ticks");
  auto at = [&](const Track& t, float seconds, float* p) { TrackPosition(t, uint32_t(std::lround(seconds * kTicks)), p); };
  float p[3], q[3];
  at(cam, 78.0f, p);
  Expect(corridor.Inside(p, 30), file + ": camera must still be in the corridor at 78 s");
  const Box3 leaf = WorldBounds(meshes, "Object55");
  const float doorZ = (leaf.lo[2] + leaf.hi[2]) / 2;
  float crossing = 0;
  for (float s = 70.8f; s < 108; s += 0.02f) {
    at(cam, s, p);
    if (p[2] > doorZ) {
      crossing = s;
      break;
    }
  }
  Expect(crossing >= 80.0f && crossing < 81.8f, file + ": camera must pass the open doorway between 80 and 82 s");
  at(cam, crossing, p);
  Expect(std::fabs(p[0]) < leaf.hi[0] - 30 && p[1] > leaf.lo[1] + 30 && p[1] < leaf.hi[1] - 30,
         file + ": camera passes too close to the door frame");
  bool inHall = true, clear = true;
  for (float s = 82.0f; s <= 108.5f; s += 0.1f) {
    at(cam, s, p);
    inHall = inHall && std::fabs(p[0]) < ceiling.hi[0] - 60 && std::fabs(p[2]) < ceiling.hi[2] - 60 && p[1] < ceiling.lo[1] - 60;
    clear = clear && Distance(p, S) > 350;
  }
  at(cam, 82.0f, p);
  Expect(p[2] > doorZ + 60, file + ": camera must be past the doors when they close at 82 s");
  Expect(inHall, file + ": camera leaves the hall after 82 s");
  Expect(clear, file + ": camera flies into the ship");
  at(cam, 108.0f, p);
  at(tgt, 108.0f, q);
  const float end[3] = {S[0], S[1] + 200, S[2] + 900};
  Expect(Distance(p, end) < 60 && Distance(q, S) < 60, file + ": flight must end near S + (0, 200, 900) looking at S");
}

void CheckStar(const std::string& root) {
  const std::string dir = root + "Star/", file = "Star.x";
  std::vector<XMesh> all;
  XFile x = CheckModel(dir, file, all);
  auto frames = Frames(x);
  Expect(frames.count("Sphere02") && MeshIn(*frames["Sphere02"].frame), file + ": core Sphere02 missing");
  size_t vertices = 0;
  float radius = 0;
  for (const XMesh& m : all) {
    vertices += m.positions.size() / 3;
    Box3 b = LocalBounds(m);
    float size = 0;
    for (int k = 0; k < 3; ++k) size = std::max(size, b.hi[k] - b.lo[k]);
    bool centred = true;
    for (int k = 0; k < 3; ++k) centred = centred && std::fabs(b.lo[k] + b.hi[k]) < 0.05f * size;
    Expect(centred, file + ": every mesh must be centred on its origin");
    Expect(m.colors == 0 && !Texture(m).empty() && Opaque(dir + Texture(m)), file + ": meshes must be opaque textured pos+normal+uv");
    Expect(SignedVolume(m) > 0, file + ": a mesh faces inwards");
    radius = std::max(radius, size / 2);
    if (!Texture(m).empty()) CheckModelTexture(dir, Texture(m), file);
  }
  Expect(vertices <= 5000, file + ": more than 5000 vertices");
  Expect(radius > 15 && radius < 30, file + ": radius must be about 20");

  // Rest pose at tick 0; the fall ends small, low, and above the floor (the scene adds 12 down).
  auto tracks = Tracks(x);
  Expect(!tracks.empty(), file + ": no animation");
  for (const auto& t : tracks) {
    const std::string& name = t.first;
    const Track& k = t.second;
    if (k.ticks.empty() || !frames.count(name)) continue;
    const XObject* m = Find(frames[name].frame->children, "FrameTransformMatrix");
    const size_t width = k.type == 4 ? 16 : 3;
    bool rest = k.ticks.front() == 0 && m && k.values.size() == k.ticks.size() * width;
    for (size_t i = 0; rest && i < width; ++i)
      rest = std::fabs(k.values[i] - (k.type == 4 ? m->floats[i] : m->floats[12 + i])) < 1e-4f;
    Expect(rest, file + ": track " + name + " must start at tick 0 on the frame's rest pose");
    Expect(k.ticks.back() >= 24000 && k.ticks.back() <= 36000, file + ": fall keys must end near 28800 ticks");
    if (k.type == 4 && k.values.size() == k.ticks.size() * 16) {
      const float* last = &k.values[k.values.size() - 16];
      const float s = std::hypot(last[0], last[1], last[2]), y = last[13] - 12;
      Expect(s > 0.02f && s < 0.1f, file + ": the star must shrink to about 5 %");
      Expect(y < -60 && y - 3 * s * radius > -110, file + ": the star must fall towards the floor but not through it");
    }
  }
}

void CheckRoom(const std::string& root) {
  const std::string dir = root + "Room/", file = "Room.x";
  std::vector<XMesh> all;
  XFile x = CheckModel(dir, file, all);
  auto frames = Frames(x);
  const auto meshes = PlaceMeshes(x);
  for (const PlacedMesh& pm : meshes) {
    Expect(pm.mesh.colors == 0 && !Texture(pm.mesh).empty(), file + ": meshes must be textured pos+normal+uv");
    if (!Texture(pm.mesh).empty()) CheckModelTexture(dir, Texture(pm.mesh), file);
  }
  for (int k = 0; k < 4; ++k) {
    const std::string name = "Wall_" + std::to_string(k);
    if (!frames.count(name)) {
      Expect(false, file + ": " + name + " missing");
      continue;
    }
    int panels = 0;
    bool moving = true;
    for (const auto& c : frames[name].frame->children) {
      if (c->type != "Frame") continue;
      ++panels;
      const XObject* m = Find(c->children, "FrameTransformMatrix");
      moving = moving && m && TranslationOnly(m->floats.data()) && MeshIn(*c);
    }
    Expect(MeshIn(*frames[name].frame) && panels > 0 && moving,
           file + ": " + name + " needs a solid wall and translation-only panel children");
  }

  // Mirror floors: horizontal, origin on the surface, coplanar near y = -110, together covering the
  // floor exactly once, with nothing beneath them.
  float floorY[2] = {0, 0};
  const char* floors[2] = {"no-anim-06", "no-anim-05"};
  for (int i = 0; i < 2; ++i) {
    if (!frames.count(floors[i]) || !MeshIn(*frames[floors[i]].frame)) {
      Expect(false, file + ": mirror floor " + floors[i] + " missing");
      return;
    }
    const XObject* m = Find(frames[floors[i]].frame->children, "FrameTransformMatrix");
    floorY[i] = frames[floors[i]].world[13];
    XMesh mesh;
    std::string error;
    DecodeMesh(*MeshIn(*frames[floors[i]].frame), mesh, error);
    bool flat = m && TranslationOnly(m->floats.data());
    for (size_t v = 0; v + 2 < mesh.positions.size(); v += 3)
      flat = flat && mesh.positions[v + 1] == 0 && mesh.normals[v] == 0 && mesh.normals[v + 1] == 1 && mesh.normals[v + 2] == 0;
    Expect(flat, file + ": " + floors[i] + " must be a +y floor through its frame's origin");
    Expect(floorY[i] > -115 && floorY[i] < -105, file + ": " + floors[i] + " must lie near y = -110");
    Picture p;
    bool alpha = ReadTga(dir + Texture(mesh), p) && p.bits == 32;
    for (size_t a = 3; alpha && a < p.bgra.size(); a += 4) alpha = p.bgra[a] >= 128 && p.bgra[a] <= 179;
    Expect(alpha, file + ": " + floors[i] + " needs a 32-bit texture with alpha 0.5 to 0.7");
  }
  Expect(std::fabs(floorY[0] - floorY[1]) <= 1, file + ": the mirror floors must be coplanar");
  Box3 room;
  for (int k = 0; k < 4; ++k) {
    Box3 b = WorldBounds(meshes, "Wall_" + std::to_string(k));
    room.Add(b.lo), room.Add(b.hi);
  }
  bool once = true, beneath = false;
  for (int gz = 1; gz < 40; ++gz)
    for (int gx = 1; gx < 40; ++gx) {
      float px = room.lo[0] + (room.hi[0] - room.lo[0]) * (gx + 0.37f) / 40, pz = room.lo[2] + (room.hi[2] - room.lo[2]) * (gz + 0.41f) / 40;
      int cover = 0;
      for (const PlacedMesh& pm : meshes) {
        if (!pm.Under(floors[0]) && !pm.Under(floors[1])) continue;
        for (size_t f = 0; f + 2 < pm.mesh.faces.size(); f += 3) {
          const float* a = &pm.positions[pm.mesh.faces[f] * 3];
          const float* b = &pm.positions[pm.mesh.faces[f + 1] * 3];
          const float* c = &pm.positions[pm.mesh.faces[f + 2] * 3];
          auto side = [&](const float* u, const float* v) { return (v[0] - u[0]) * (pz - u[2]) - (v[2] - u[2]) * (px - u[0]); };
          float s1 = side(a, b), s2 = side(b, c), s3 = side(c, a);
          cover += (s1 >= 0 && s2 >= 0 && s3 >= 0) || (s1 <= 0 && s2 <= 0 && s3 <= 0);
        }
      }
      once = once && cover == 1;
    }
  const float lowest = std::min(floorY[0], floorY[1]);
  for (const PlacedMesh& pm : meshes)
    for (size_t i = 1; i < pm.positions.size(); i += 3) beneath = beneath || pm.positions[i] < lowest - 1e-3f;
  Expect(once, file + ": the mirror floors must cover the floor exactly once");
  Expect(!beneath, file + ": nothing may lie beneath the mirror floors");

  // Camera: a 36 s loop; every jump lands on its own shot near the star, above the floor.
  auto tracks = Tracks(x);
  const Track& cam = tracks["Camera"];
  const Track& tgt = tracks["CameraTarget"];
  CheckTracksShareTimes(cam, tgt, file);
  if (cam.ticks.empty()) return;
  Expect(cam.ticks.front() == 0 && cam.ticks.back() >= 159840, file + ": camera keys must run 0 -> 159840 ticks");
  const float jumps[] = {15, 13, 10, 19, 25, 18, 10, 25, 2};
  const float origin[3] = {0, 0, 0};
  float prev[3] = {1e9f, 1e9f, 1e9f};
  for (float j : jumps) {
    float p[3], q[3];
    TrackPosition(cam, uint32_t(j * kTicks), p);
    TrackPosition(tgt, uint32_t(j * kTicks), q);
    float d = Distance(p, origin);
    Expect(d >= 120 && d <= 250 && p[1] > lowest + 20 && Distance(q, origin) < 40,
           file + ": shot at " + std::to_string(int(j)) + " s must be 120-250 from the star, above the floor, aimed at it");
    Expect(Distance(p, prev) > 60, file + ": jump to " + std::to_string(int(j)) + " s lands on the previous shot");
    std::copy(p, p + 3, prev);
  }
  bool inside = true;
  for (size_t i = 0; i + 2 < cam.values.size(); i += 3) inside = inside && room.Inside(&cam.values[i], 20);
  Expect(inside, file + ": camera leaves the room");
}
