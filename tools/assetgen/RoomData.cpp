// Room\: the room under the star. Inside |x|, |z| <= 300, from the mirror floor at y = -110 to the
// ceiling at y = 210. `Wall_0`...`Wall_3` (+z, +x, -z, -x) each carry the solid wall in their own
// frame and five panels as translation-only child frames standing 10 in front of it, which the
// scene lifts by up to 90. The floor is two mirror surfaces with their frame origin on the surface:
// `no-anim-06` the centre square |x|, |z| <= 150 at y = -110, `no-anim-05` the surrounding ring half
// a unit lower (so its reflection pass cannot overdraw the centre's tint). Nothing lies below them.
// `Camera`/`CameraTarget` loop over 36 s; the scene's jump times land on different shots.
#include <cmath>
#include <filesystem>

#include "DataSets.h"
#include "ImageWriters.h"
#include "ModelKit.h"
#include "Procedural.h"
#include "TextureKit.h"

namespace {

constexpr float kHalf = 300, kFloorY = -110, kCeilY = 210, kOuterFloorDrop = 0.5f, kInner = 150;
constexpr int kPanels = 5;
constexpr float kPanelWidth = 96, kPanelGap = 14, kPanelTop = 50, kPanelDepth = 8, kPanelStandOff = 2;
constexpr float kPillar = 30;
constexpr float kLoopSeconds = 36;

Mesh NewMesh(const std::string& name, const char* texture) {
  Mesh m;
  m.name = name;
  m.material.diffuse = {1, 1, 1, 1};
  m.material.texture = texture;
  return m;
}

// Camera stations (time, angle about y, distance, height) between which the camera glides.
struct Shot {
  float time, angle, distance, height;
};
const Shot kShots[] = {{0, 0.0f, 230, 40},   {2, 0.5f, 210, 60},   {5, 1.3f, 170, 10},   {8, 2.0f, 150, -20},
                       {10, 2.3f, 140, -40}, {13, 3.3f, 170, -10}, {15, 4.3f, 230, 65},  {18, 5.2f, 160, -25},
                       {19, 5.5f, 150, 0},   {22, 6.4f, 210, 50},  {25, 7.4f, 180, -30}, {28, 8.2f, 220, 40},
                       {31, 9.0f, 190, 0},   {34, 9.8f, 160, 55},  {36, 10.2f, 170, 40}};

Vec3 CameraAt(float t) {
  std::vector<PathPoint> polar;
  for (const Shot& s : kShots) polar.push_back({s.time, {s.angle, s.distance, s.height}});
  Vec3 p = SamplePath(polar, t);
  return {p.y * std::sin(p.x), p.z, p.y * std::cos(p.x)};
}

Vec3 TargetAt(float t) { return {6 * std::sin(0.3f * t), 4 + 6 * std::sin(0.23f * t), 6 * std::cos(0.27f * t)}; }

Image WallTexture() {
  PlateStyle st;
  st.size = 256;
  st.cols = 2;
  st.rows = 2;
  st.base = Hex(0x22304a);
  st.gap = Hex(0x5ad8ff);  // seams glow
  st.gapPx = 2;
  st.grime = 0.25f;
  st.glow = Hex(0x7fe0ff);
  st.glowChance = 0.15f;
  st.seed = 401;
  return PlatedTexture(st);
}

Image PanelTexture() {
  PlateStyle st;
  st.size = 256;
  st.cols = 1;
  st.rows = 3;
  st.base = Hex(0x8a9ab4);
  st.splitChance = 0;
  st.accentChance = 0.5f;
  st.seed = 402;
  Image img = PlatedTexture(st);
  for (int y = 0; y < 256; ++y)
    for (int x = 118; x < 138; ++x) img.At(x, y) = Mix(img.At(x, y), Hex(0xd8f4ff), 1 - std::fabs(x - 127.5f) / 10);
  return img;
}

Image CeilingTexture() {
  PlateStyle st;
  st.size = 256;
  st.base = Hex(0x3a4660);
  st.glow = Hex(0xeefaff);
  st.glowChance = 0.3f;
  st.seed = 403;
  return PlatedTexture(st);
}

// Mirror floors: the colour tints the reflection; alpha (0.5 to 0.7) sets how much of it shows.
Image FloorTexture(bool centre) {
  const int n = 256;
  Image img(n, n);
  for (int y = 0; y < n; ++y)
    for (int x = 0; x < n; ++x) {
      float g = TileFbm(x / 32.0f, y / 32.0f, 8, 4, centre ? 411 : 412);
      int cell = centre ? 128 : 64, ex = std::min(x % cell, cell - 1 - x % cell), ey = std::min(y % cell, cell - 1 - y % cell);
      bool seam = std::min(ex, ey) < 2;
      Color4 c = centre ? Mix(Hex(0x10182c), Hex(0x283a5c), g) : Mix(Hex(0x1c222e), Hex(0x3a4454), g);
      if (seam) c = centre ? Hex(0x5ad8ff) : Hex(0xffa040);
      c.a = seam ? 0.68f : 0.52f + 0.1f * g;
      img.At(x, y) = c;
    }
  return img;
}

}  // namespace

bool WriteRoomData(const std::string& root) {
  const std::string dir = root + "/Room/";
  std::filesystem::create_directories(dir);
  XWriter x;

  // Ceiling and corner pillars.
  Mesh shell = NewMesh("RoomShellMesh", "room_ceiling.bmp");
  AddInnerBox(shell, {-kHalf, kFloorY, -kHalf}, {kHalf, kCeilY, kHalf}, 150, kBoxPosY, 40);
  Mesh pillars = NewMesh("PillarMesh", "room_wall.bmp");
  for (float sx : {-1.0f, 1.0f})
    for (float sz : {-1.0f, 1.0f}) {
      Vec3 a(sx * kHalf, kFloorY, sz * kHalf), b(sx * (kHalf - kPillar), kCeilY, sz * (kHalf - kPillar));
      AddBox(pillars, {std::fmin(a.x, b.x), kFloorY, std::fmin(a.z, b.z)}, {std::fmax(a.x, b.x), kCeilY, std::fmax(a.z, b.z)}, 80,
             (sx > 0 ? kBoxNegX : kBoxPosX) | (sz > 0 ? kBoxNegZ : kBoxPosZ), 40);
    }
  x.BeginFrame("RoomShell", Mat4());
  x.WriteMesh(shell);
  x.EndFrame();
  x.BeginFrame("Pillars", Mat4());
  x.WriteMesh(pillars);
  x.EndFrame();

  // Walls seen from inside: +z, +x, -z, -x, each with its row of panels.
  const Vec3 origins[4] = {{-kHalf, kCeilY, kHalf}, {kHalf, kCeilY, kHalf}, {kHalf, kCeilY, -kHalf}, {-kHalf, kCeilY, -kHalf}};
  const Vec3 rights[4] = {{1, 0, 0}, {0, 0, -1}, {-1, 0, 0}, {0, 0, 1}};
  const float rowWidth = kPanels * kPanelWidth + (kPanels - 1) * kPanelGap;
  for (int k = 0; k < 4; ++k) {
    const Vec3 in = Normalize(Cross(rights[k], {0, -1, 0}));
    Mesh wall = NewMesh("WallMesh_" + std::to_string(k), "room_wall.bmp");
    PanelDesc p{origins[k], rights[k], {0, -1, 0}, 2 * kHalf, kCeilY - kFloorY};
    p.texel = 160;
    p.maxCell = 40;
    AddPanel(wall, p);
    x.BeginFrame("Wall_" + std::to_string(k), Mat4());
    x.WriteMesh(wall);
    for (int j = 0; j < kPanels; ++j) {
      // Frame at the panel's bottom centre on the wall's face; the box stands off the wall.
      float u = kHalf - rowWidth / 2 + j * (kPanelWidth + kPanelGap) + kPanelWidth / 2;
      Vec3 at = origins[k] + rights[k] * u + Vec3(0, kFloorY - kCeilY, 0);
      Vec3 c0 = rights[k] * (-kPanelWidth / 2) + in * kPanelStandOff;
      Vec3 c1 = rights[k] * (kPanelWidth / 2) + in * (kPanelStandOff + kPanelDepth) + Vec3(0, kPanelTop - kFloorY, 0);
      Vec3 lo(std::fmin(c0.x, c1.x), 0, std::fmin(c0.z, c1.z)), hi(std::fmax(c0.x, c1.x), c1.y, std::fmax(c0.z, c1.z));
      int back = std::fabs(in.x) > 0.5f ? (in.x > 0 ? kBoxNegX : kBoxPosX) : (in.z > 0 ? kBoxNegZ : kBoxPosZ);
      Mesh panel = NewMesh("PanelMesh_" + std::to_string(k) + "_" + std::to_string(j), "room_panel.bmp");
      AddBox(panel, lo, hi, kPanelTop - kFloorY, kBoxAll & ~back, 40);
      x.BeginFrame("Panel_" + std::to_string(k) + "_" + std::to_string(j), Mat4::Translation(at));
      x.WriteMesh(panel);
      x.EndFrame();
    }
    x.EndFrame();
  }

  // Mirror floors, local y = 0 on the frame's origin.
  Mesh centre = NewMesh("MirrorCentreMesh", "room_floor1.tga"), ring = NewMesh("MirrorRingMesh", "room_floor2.tga");
  PanelDesc fc = BoxFacePanel({-kInner, -1, -kInner}, {kInner, 0, kInner}, kBoxPosY, false);
  fc.texel = 150;
  fc.maxCell = 40;
  AddPanel(centre, fc);
  PanelDesc fr = BoxFacePanel({-kHalf, -1, -kHalf}, {kHalf, 0, kHalf}, kBoxPosY, false);
  fr.texel = 150;
  fr.maxCell = 40;
  fr.holes.push_back({kHalf - kInner, kHalf - kInner, kHalf + kInner, kHalf + kInner});
  AddPanel(ring, fr);
  x.BeginFrame("no-anim-06", Mat4::Translation({0, kFloorY, 0}));
  x.WriteMesh(centre);
  x.EndFrame();
  x.BeginFrame("no-anim-05", Mat4::Translation({0, kFloorY - kOuterFloorDrop, 0}));
  x.WriteMesh(ring);
  x.EndFrame();

  auto camera = PathKeys(CameraAt, 0, kLoopSeconds, 0.1f), target = PathKeys(TargetAt, 0, kLoopSeconds, 0.1f);
  x.BeginFrame("Camera", Mat4::Translation(camera.front().position));
  x.EndFrame();
  x.BeginFrame("CameraTarget", Mat4::Translation(target.front().position));
  x.EndFrame();
  x.BeginAnimationSet("RoomCamera");
  x.WritePositionTrack("Camera", camera);
  x.WritePositionTrack("CameraTarget", target);
  x.EndAnimationSet();

  return x.Save(dir + "Room.x") && WriteBmp24(dir + "room_wall.bmp", WallTexture()) &&
         WriteBmp24(dir + "room_panel.bmp", PanelTexture()) && WriteBmp24(dir + "room_ceiling.bmp", CeilingTexture()) &&
         WriteTga(dir + "room_floor1.tga", FloorTexture(true), true) &&
         WriteTga(dir + "room_floor2.tga", FloorTexture(false), true);
}
