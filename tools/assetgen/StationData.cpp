// Station\: the space station model (sky box, corridor with its doors, the hall with the ship, fans,
// globe, balcony and desk, glass panes) with the camera flight in absolute show time, and its pictures.
//
// Layout in world units (y up): the hall is the box |x|, |z| <= 1200 from the floor at y = -400 to
// the ceiling `Sufit` at y = 900, walls 40 thick. The ship hangs at the origin (the orbit centre S).
// The corridor runs along z from -2100 to the hall's -z wall (z = -1240 ... -1200), floor y = 80,
// ceiling y = 320, |x| <= 130; the doorway in that wall is |x| <= 110, y = 80 ... 320, and the two
// door leaves sit in the wall's thickness at z = -1220. The sky box is a cube of half-size 2400.
#include <cmath>
#include <filesystem>
#include <functional>

#include "DataSets.h"
#include "ImageWriters.h"
#include "ModelKit.h"
#include "ShipModel.h"
#include "StationTextures.h"

namespace {

constexpr float kHall = 1200, kWall = 40, kFloorY = -400, kCeilY = 900, kTopY = 940;
constexpr float kCorridorEnd = -2100, kCorridorHalf = 130, kCorridorFloor = 80, kCorridorTop = 320;
constexpr float kDoorHalf = 110, kDoorZ = -1220;
constexpr float kSkyHalf = 2400;
constexpr float kShipScale = 40 / kShipUnits;  // the ship about 490 long in the hall
constexpr float kPitHalf = 160, kPitDepth = 100, kPitAt = 750;  // fan pits at (+-750, +-750)
const Vec3 kGlobeAt(-850, -90, 0);
constexpr float kGlobeRadius = 150;
constexpr int kSkyFaceSize = 512;

Mesh NewMesh(const char* name, const char* texture) {
  Mesh m;
  m.name = std::string(name) + "_geo";  // frames take the plain names
  m.material.diffuse = {1, 1, 1, 1};
  if (texture) m.material.texture = texture;
  return m;
}

void Put(XWriter& x, const char* frame, const Mesh& mesh, const Mat4& transform = Mat4()) {
  x.BeginFrame(frame, transform);
  x.WriteMesh(mesh);
  x.EndFrame();
}

// Window openings of a hall wall, in the wall panel's (u, v) coordinates (u along the wall from its
// left end as seen from inside, v down from the top at kTopY): three at -600, 0, +600.
std::vector<Rect2> Windows(float wallLength) {
  std::vector<Rect2> holes;
  for (float c : {-600.0f, 0.0f, 600.0f}) {
    float u = wallLength / 2 + c;
    holes.push_back({u - 160, kTopY - 560, u + 160, kTopY + 40});
  }
  return holes;
}

// Lighting painted into the hall's surfaces: darker towards the floor edges and corners, a cool
// tint low on the walls, warm near the doorway.
Color4 HallPaint(const Vec3& p, const Vec3&) {
  float edge = std::fmax(std::fabs(p.x), std::fabs(p.z)) / kHall;
  float low = 1 - SmoothStep(kFloorY, kFloorY + 260, p.y);
  float door = std::exp(-(p.x * p.x + (p.z + kHall) * (p.z + kHall) + (p.y - 200) * (p.y - 200)) / (2 * 320 * 320));
  Color4 c = Mix({0.95f, 0.97f, 1.0f, 1}, {0.55f, 0.8f, 1.0f, 1}, low * 0.6f);
  c = Mix(c, {1.0f, 0.72f, 0.42f, 1}, door * 0.7f);
  float shade = 1 - 0.3f * SmoothStep(0.7f, 1.0f, edge) * (p.y < kFloorY + 1 ? 1.0f : 0.5f);
  return {c.r * shade, c.g * shade, c.b * shade, 1};
}

Color4 CorridorPaint(const Vec3& p, const Vec3&) {
  float door = SmoothStep(-1500, -1240, p.z), back = 1 - SmoothStep(kCorridorEnd, kCorridorEnd + 300, p.z);
  Color4 c = Mix({0.8f, 0.9f, 1.0f, 1}, {1.0f, 0.74f, 0.45f, 1}, door * 0.8f);
  float shade = 1 - 0.35f * back;
  return {c.r * shade, c.g * shade, c.b * shade, 1};
}

void WriteSkyBox(XWriter& x, const std::string& dir, bool& ok) {
  static const char* const kNames[6] = {"px", "nx", "py", "ny", "pz", "nz"};
  static const int kFaces[6] = {kBoxPosX, kBoxNegX, kBoxPosY, kBoxNegY, kBoxPosZ, kBoxNegZ};
  const Vec3 lo(-kSkyHalf, -kSkyHalf, -kSkyHalf), hi(kSkyHalf, kSkyHalf, kSkyHalf);
  x.BeginFrame("SkyBox", Mat4());
  for (int f = 0; f < 6; ++f) {
    const std::string name = kNames[f], texture = "st_sky_" + name + ".jpg";
    PanelDesc p = BoxFacePanel(lo, hi, kFaces[f], true);
    // Texture coordinates inset by half a texel, so wrapping never blends in the opposite edge.
    p.texel = p.width / (1 - 1.0f / kSkyFaceSize);
    p.uvOffset = {0.5f / kSkyFaceSize, 0.5f / kSkyFaceSize};
    Image img(kSkyFaceSize, kSkyFaceSize);
    for (int y = 0; y < kSkyFaceSize; ++y)
      for (int i = 0; i < kSkyFaceSize; ++i) {
        float u = (i + 0.5f) / kSkyFaceSize, v = (y + 0.5f) / kSkyFaceSize;
        img.At(i, y) = StationSky(p.origin + p.right * (u * p.width) + p.down * (v * p.height));
      }
    ok = ok && WriteJpeg(dir + texture, img, 92);
    Mesh face = NewMesh(("SkyMesh_" + name).c_str(), texture.c_str());
    AddPanel(face, p);
    PaintVertices(face, [](const Vec3&, const Vec3&) { return Color4{1, 1, 1, 1}; });
    Put(x, ("Sky_" + name).c_str(), face);
  }
  x.EndFrame();
}

void WriteCorridor(XWriter& x) {
  Mesh shell = NewMesh("CorridorShell", "st_corridor.bmp"), roofTop;  // the roof's top is never seen
  Mesh floor = NewMesh("CorridorFloor", "st_floor.bmp"), ribs = NewMesh("CorridorRibs", "st_metal.bmp");
  Mesh glass = NewMesh("CorridorGlass", nullptr);
  const float len = -kHall - kWall - kCorridorEnd, h = kCorridorTop - kCorridorFloor, w = 2 * kCorridorHalf;
  const Vec3 lo(-kCorridorHalf, kCorridorFloor, kCorridorEnd), hi(kCorridorHalf, kCorridorTop, -kHall - kWall);
  AddInnerBox(shell, lo, hi, h, kBoxNegX | kBoxPosX | kBoxNegZ, 60);
  AddInnerBox(floor, lo, hi, w / 2, kBoxNegY, 60);
  // Ceiling with four skylights between the ribs; panes halfway up their reveals.
  PanelDesc ceiling = BoxFacePanel(lo, hi, kBoxPosY, true);
  ceiling.texel = h;
  ceiling.maxCell = 60;
  const float step = len / 4;
  for (int k = 0; k < 4; ++k) {
    float zc = kCorridorEnd + step * (k + 0.5f);
    // The ceiling seen from below runs from x = +130 (u = 0) and from the doorway end (v = 0).
    const float v0 = hi.z - (zc + 60), v1 = hi.z - (zc - 60);
    ceiling.holes.push_back({kCorridorHalf - 70, v0, kCorridorHalf + 70, v1});
    AddBox(glass, {-70, kCorridorTop + 20, zc - 60}, {70, kCorridorTop + 20, zc + 60}, 140, kBoxNegY);
    if (k > 0) {
      float zr = kCorridorEnd + step * k;
      for (float side : {-1.0f, 1.0f}) {
        float x0 = side < 0 ? -kCorridorHalf : kCorridorHalf - 14;
        AddBox(ribs, {x0, kCorridorFloor, zr - 12}, {x0 + 14, kCorridorTop, zr + 12}, 60,
               (side < 0 ? kBoxPosX : kBoxNegX) | kBoxNegZ | kBoxPosZ);
      }
      AddBox(ribs, {-kCorridorHalf, kCorridorTop - 16, zr - 12}, {kCorridorHalf, kCorridorTop, zr + 12}, 60,
             kBoxNegY | kBoxNegZ | kBoxPosZ);
    }
  }
  AddSlab(shell, roofTop, ceiling, 40, false);
  PaintVertices(shell, CorridorPaint);
  glass.material.diffuse = {1, 1, 1, 1};
  x.BeginFrame("Corridor", Mat4());
  Put(x, "CorridorWalls", shell);
  Put(x, "CorridorDeck", floor);
  Put(x, "CorridorFrames", ribs);
  Put(x, "glass_corridor", glass);
  x.EndFrame();
}

// One door leaf, spanning x from x0 to x1 (local, frame at the doorway's bottom centre). The door
// picture spans both leaves: u = 0.5 at the seam.
Mesh DoorLeaf(const char* name, float x0, float x1) {
  Mesh m = NewMesh(name, "st_door.bmp");
  const float h = kCorridorTop - kCorridorFloor + 8, span = 2 * (kDoorHalf + 4);
  PanelDesc front{{x0, h, -4}, {1, 0, 0}, {0, -1, 0}, x1 - x0, h};
  front.texel = span;
  front.uvOffset = {x0 / span + 0.5f, 0};
  AddPanel(m, front);
  PanelDesc back{{x1, h, 4}, {-1, 0, 0}, {0, -1, 0}, x1 - x0, h};
  back.texel = span;
  back.uvOffset = {0.5f - x1 / span, 0};
  AddPanel(m, back);
  AddBox(m, {x0, 0, -4}, {x1, h, 4}, 40, kBoxNegX | kBoxPosX | kBoxPosY | kBoxNegY);
  return m;
}

void WriteHall(XWriter& x, const std::vector<Mesh>& shipParts) {
  Mesh walls = NewMesh("HallWalls", "st_wall.bmp"), outer = NewMesh("HallOuter", "st_metal.bmp");
  Mesh floor = NewMesh("HallFloor", "st_floor.bmp"), metal = NewMesh("HallMetal", "st_metal.bmp");
  Mesh glass = NewMesh("HallGlass", nullptr);
  const float height = kTopY - kFloorY;
  // Walls seen from inside; the +-x walls run the full length including the corners.
  struct WallDef {
    Vec3 origin, right;
    float length;
    bool windows, door;
  };
  const float full = 2 * (kHall + kWall);
  const WallDef defs[4] = {
      {{-kHall, kTopY, kHall}, {1, 0, 0}, 2 * kHall, true, false},                      // +z, facing -z
      {{kHall, kTopY, kHall + kWall}, {0, 0, -1}, full, true, false},                   // +x, facing -x
      {{kHall, kTopY, -kHall}, {-1, 0, 0}, 2 * kHall, false, true},                     // -z, facing +z
      {{-kHall, kTopY, -kHall - kWall}, {0, 0, 1}, full, true, false}};                 // -x, facing +x
  for (const WallDef& d : defs) {
    PanelDesc p{d.origin, d.right, {0, -1, 0}, d.length, height + kWall};
    p.texel = 330;
    p.maxCell = 110;
    if (d.windows) p.holes = Windows(d.length);
    if (d.door) p.holes.push_back({d.length / 2 - kDoorHalf, kTopY - kCorridorTop, d.length / 2 + kDoorHalf, kTopY - kCorridorFloor});
    AddSlab(walls, outer, p, kWall, true);
    const Vec3 in = Normalize(Cross(d.right, {0, -1, 0}));
    for (const Rect2& hole : d.windows ? p.holes : std::vector<Rect2>{}) {
      // Pane halfway through the wall, facing into the hall.
      PanelDesc pane{d.origin + d.right * hole.u0 + Vec3(0, -hole.v0, 0) - in * (kWall / 2), d.right, {0, -1, 0},
                     hole.u1 - hole.u0, hole.v1 - hole.v0};
      AddPanel(glass, pane);
    }
    // Columns between the windows: front and both sides.
    for (float c : {-900.0f, -300.0f, 300.0f, 900.0f}) {
      Vec3 at = d.origin + d.right * (d.length / 2 + c);
      Vec3 a = at - d.right * 30 + Vec3(0, kFloorY - kTopY, 0), b = at + d.right * 30 + in * 30;
      Vec3 lo(std::fmin(a.x, b.x), kFloorY, std::fmin(a.z, b.z)), hi(std::fmax(a.x, b.x), kCeilY, std::fmax(a.z, b.z));
      int faces = std::fabs(in.x) > 0.5f ? (in.x > 0 ? kBoxPosX : kBoxNegX) | kBoxNegZ | kBoxPosZ
                                         : (in.z > 0 ? kBoxPosZ : kBoxNegZ) | kBoxNegX | kBoxPosX;
      AddBox(metal, lo, hi, 120, faces | kBoxPosY, 200);
    }
  }
  // Floor with four fan pits under wire gratings.
  Mesh grates = NewMesh("FanGrates", "wire.jpg");
  PanelDesc fp = BoxFacePanel({-kHall, kFloorY - kWall, -kHall}, {kHall, kFloorY, kHall}, kBoxPosY, false);
  fp.texel = 300;
  fp.maxCell = 100;
  for (float sx : {-1.0f, 1.0f})
    for (float sz : {-1.0f, 1.0f}) {
      float cx = sx * kPitAt, cz = sz * kPitAt;
      fp.holes.push_back({cx - kPitHalf + kHall, kHall - cz - kPitHalf, cx + kPitHalf + kHall, kHall - cz + kPitHalf});
      AddInnerBox(metal, {cx - kPitHalf, kFloorY - kPitDepth, cz - kPitHalf}, {cx + kPitHalf, kFloorY, cz + kPitHalf}, 100,
                  kBoxNegX | kBoxPosX | kBoxNegY | kBoxNegZ | kBoxPosZ);
      AddBox(grates, {cx - kPitHalf, kFloorY, cz - kPitHalf}, {cx + kPitHalf, kFloorY, cz + kPitHalf}, 80, kBoxPosY);
    }
  AddPanel(floor, fp);
  PaintVertices(walls, HallPaint);
  PaintVertices(floor, HallPaint);

  // Balcony outside the doorway: a grating in a frame of beams, side rails, two legs.
  Mesh balconyGrate = NewMesh("BalconyGrate", "wire.jpg");
  AddBox(balconyGrate, {-200, kCorridorFloor, -kHall}, {200, kCorridorFloor, -980}, 80, kBoxPosY);
  AddBox(metal, {-220, kCorridorFloor - 20, -980}, {220, kCorridorFloor, -960}, 60, kBoxAll & ~kBoxNegZ);
  for (float s : {-1.0f, 1.0f}) {
    float x0 = s < 0 ? -220 : 200;
    AddBox(metal, {x0, kCorridorFloor - 20, -kHall}, {x0 + 20, kCorridorFloor, -980}, 60, kBoxAll & ~kBoxNegZ & ~kBoxPosZ);
    AddBox(metal, {x0 + 5, kCorridorFloor, -kHall}, {x0 + 15, kCorridorFloor + 90, -966}, 60,
           kBoxNegX | kBoxPosX | kBoxPosY | kBoxPosZ);
    AddBox(metal, {x0, kFloorY, -980}, {x0 + 20, kCorridorFloor - 20, -960}, 60, kBoxAll & ~kBoxPosY & ~kBoxNegY);
  }
  // Console on the balcony: a stand and a translucent top with a tilted screen (drawn two-sided).
  AddBox(metal, {125, kCorridorFloor, -1160}, {165, kCorridorFloor + 68, -1100}, 60, kBoxAll & ~kBoxNegY);
  Mesh desk = NewMesh("DeskMesh", "desk01.jpg");
  AddBox(desk, {95, kCorridorFloor + 70, -1180}, {195, kCorridorFloor + 78, -1080}, 100);
  PanelDesc screen{{135, kCorridorFloor + 150, -1090}, {0, 0, -1}, Normalize({-20, -70, 0}), 80, std::hypot(20.0f, 70.0f)};
  screen.texel = 80;
  AddPanel(desk, screen);

  // Landing pad under the ship and the globe's pedestal.
  Mesh pad = NewMesh("PadMesh", "st_pad.bmp");
  RevolveDesc rd;
  rd.around = 64;
  rd.along = 24;
  rd.uTiles = 1;
  rd.vTiles = 1;
  AddRevolve(pad, rd, [](float t) {
    if (t < 0.1f) return ProfilePoint{380, Lerp(kFloorY, kFloorY + 14, t / 0.1f)};
    if (t < 0.16f) return ProfilePoint{Lerp(380, 366, (t - 0.1f) / 0.06f), Lerp(kFloorY + 14, kFloorY + 20, (t - 0.1f) / 0.06f)};
    return ProfilePoint{366 * (1 - (t - 0.16f) / 0.84f), kFloorY + 20};
  });
  Mesh pedestal;
  rd.around = 32;
  // Flared foot, slim column widening under the globe, and a flat top (its own surface: the edge
  // between them is sharp).
  AddRevolve(pedestal, rd, [](float t) {
    float y = Lerp(0, 200, t);
    return ProfilePoint{50 + 40 * std::exp(-y / 14) + 50 * SmoothStep(150, 200, y), y};
  });
  rd.along = 1;
  AddRevolve(pedestal, rd, [](float t) { return ProfilePoint{100 * (1 - t), 200}; });
  rd.along = 24;
  AppendTransformed(metal, pedestal, Mat4::Translation({kGlobeAt.x, kFloorY, kGlobeAt.z}));
  Mesh globe = NewMesh("GlobeMesh", "st_globe.bmp");
  rd.around = 48;
  rd.along = 32;
  AddRevolve(globe, rd, [](float t) {
    return ProfilePoint{kGlobeRadius * std::sin(kPi * t), -kGlobeRadius * std::cos(kPi * t)};
  });

  // Fans: five pitched blades around a hub, origin at the hub.
  Mesh rotor = NewMesh("Rotor", "st_metal.bmp");
  Mesh hub, blade;
  rd.around = 24;
  rd.along = 8;
  AddRevolve(hub, rd, [](float t) {
    return ProfilePoint{t < 0.8f ? 32.0f : 32 * (1 - (t - 0.8f) / 0.2f), Lerp(-14, 14, std::fmin(t / 0.8f, 1.0f))};
  });
  AppendTransformed(rotor, hub, Mat4());
  AddBox(blade, {0, -3, -22}, {110, 3, 22}, 60);
  for (int k = 0; k < 5; ++k)
    AppendTransformed(rotor, blade, Multiply(Multiply(RotationX(0.4f), Mat4::Translation({28, 0, 0})), RotationY(k * 2 * kPi / 5)));

  x.BeginFrame("Room", Mat4());
  Put(x, "HallWalls", walls);
  Put(x, "HallHull", outer);
  Put(x, "HallFloor", floor);
  Put(x, "HallMetal", metal);
  Mesh ceiling = NewMesh("CeilingMesh", "st_ceiling.bmp");
  AddBox(ceiling, {-kHall, kCeilY, -kHall}, {kHall, kTopY, kHall}, 400, kBoxNegY | kBoxPosY, 400);
  Put(x, "Sufit", ceiling);
  Put(x, "FanGrates", grates);
  Put(x, "BalconyGrate", balconyGrate);
  Put(x, "Desk", desk);
  Put(x, "LandingPad", pad);
  x.BeginFrame("Wentylator", Mat4());
  int n = 0;
  for (float sx : {-1.0f, 1.0f})
    for (float sz : {-1.0f, 1.0f}) {
      ++n;
      Mesh r = rotor;
      r.name = "Rotor_" + std::to_string(n);
      Put(x, ("Fan_" + std::to_string(n)).c_str(), r, Mat4::Translation({sx * kPitAt, kFloorY - 50, sz * kPitAt}));
    }
  x.EndFrame();
  Put(x, "Sphere02", globe, Mat4::Translation(kGlobeAt));
  Put(x, "glass_station", glass);
  Mat4 ship = Scaling(kShipScale, kShipScale, kShipScale);
  x.BeginFrame("ship", ship);
  for (size_t i = 0; i < shipParts.size(); ++i) Put(x, ("Material_" + std::to_string(i + 1)).c_str(), shipParts[i]);
  x.EndFrame();
  x.EndFrame();
}

// Camera flight in show seconds (the controller plays absolute show ticks). Corridor until 78 s,
// through the doorway at about 81 s, then half a turn around the ship from the door side over the
// +x side, low past the fans and up high, ending on the orbit (radius 900, 200 above S) at a = 0.
Vec3 Orbit(float a, float r, float y) { return {r * std::sin(a), y, r * std::cos(a)}; }

std::vector<PathPoint> EyePath() {
  return {{70.8f, {0, 200, -2000}}, {74.0f, {12, 206, -1800}}, {78.0f, {-10, 196, -1560}}, {80.0f, {0, 200, -1400}},
          {81.0f, {0, 204, -1200}}, {82.0f, {30, 210, -960}},  {85.0f, Orbit(2.75f, 920, 150)},
          {88.0f, Orbit(2.25f, 900, 70)},   {91.0f, Orbit(1.8f, 860, -60)},  {94.0f, Orbit(1.45f, 700, -140)},
          {97.0f, Orbit(1.25f, 800, 300)},  {100.0f, Orbit(1.15f, 980, 520)}, {103.7f, Orbit(0.95f, 920, 260)},
          {106.9f, Orbit(0.0f, 900, 200)},  {108.5f, Orbit(-0.05f, 900, 200)}};
}

std::vector<PathPoint> TargetPath() {
  return {{70.8f, {0, 198, -1200}}, {78.0f, {0, 200, -1000}}, {80.0f, {0, 180, -700}}, {81.0f, {0, 140, -450}},
          {82.5f, {0, 20, -150}},   {84.0f, {0, 0, 0}},       {94.0f, {0, -40, 0}},   {97.0f, {0, -80, 0}},
          {100.0f, {0, -60, 0}},    {103.7f, {0, 0, 0}},      {108.5f, {0, 0, 0}}};
}

}  // namespace

constexpr float kFlightStart = 70.8f, kFlightEnd = 108.5f;

bool WriteStationData(const std::string& root) {
  const std::string dir = root + "/Station/";
  std::filesystem::create_directories(dir);
  bool ok = WriteStationTextures(dir);
  XWriter x;
  WriteSkyBox(x, dir, ok);
  WriteCorridor(x);
  Put(x, "Object55", DoorLeaf("DoorRight", 0, kDoorHalf + 4), Mat4::Translation({0, kCorridorFloor - 4, kDoorZ}));
  Put(x, "Plane20", DoorLeaf("DoorLeft", -kDoorHalf - 4, 0), Mat4::Translation({0, kCorridorFloor - 4, kDoorZ}));
  const auto parts = ShipMeshes();
  WriteHall(x, std::vector<Mesh>(parts.begin(), parts.end()));

  const auto eye = EyePath(), target = TargetPath();
  auto eyeKeys = PathKeys([&](float t) { return SamplePath(eye, t); }, kFlightStart, kFlightEnd, 0.1f);
  auto targetKeys = PathKeys([&](float t) { return SamplePath(target, t); }, kFlightStart, kFlightEnd, 0.1f);
  x.BeginFrame("Camera", Mat4());
  x.BeginFrame("camera", Mat4::Translation(eyeKeys.front().position));
  x.EndFrame();
  x.BeginFrame("cameratarget", Mat4::Translation(targetKeys.front().position));
  x.EndFrame();
  x.EndFrame();
  x.BeginAnimationSet("StationFlight");
  x.WritePositionTrack("camera", eyeKeys);
  x.WritePositionTrack("cameratarget", targetKeys);
  x.EndAnimationSet();
  return ok && x.Save(dir + "Station.x");
}
