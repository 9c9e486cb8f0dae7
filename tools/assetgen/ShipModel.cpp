#include "ShipModel.h"

#include <cmath>

#include "ModelKit.h"

namespace {

// Hull profile for t from the tail (0) to the nose (1): (radius, position along the axis). A rounded
// tail cap, a body that swells to its widest a third of the way, and an ogive nose.
ProfilePoint HullProfile(float t) {
  const float cap = 0.08f, r0 = 0.72f;
  if (t < cap) {
    float a = t / cap * kPi / 2;
    return {r0 * std::sin(a), -6 + 0.35f * (1 - std::cos(a))};
  }
  float u = (t - cap) / (1 - cap);
  float y = -5.65f + 11.65f * u;
  float r;
  if (u < 0.35f) {
    r = r0 + 0.33f * std::sin(u / 0.35f * kPi / 2);
  } else {
    float x = (u - 0.35f) / 0.65f;
    r = 1.05f * std::pow(std::max(0.0f, 1 - x * x), 0.6f);
  }
  return {r, y};
}

// Maps a surface built around +y onto the ship's +z axis with the given width (x) and height (y)
// scales; the revolve's texture seam (u = 0) ends up underneath.
Mat4 AxisToZ(float width, float height, const Vec3& at) {
  Mat4 m;
  m.m[0][0] = width;
  m.m[0][1] = 0;
  m.m[1][1] = 0;
  m.m[1][2] = 1;
  m.m[2][2] = 0;
  m.m[2][1] = -height;
  m.m[3][0] = at.x, m.m[3][1] = at.y, m.m[3][2] = at.z;
  return Multiply(RotationY(-kPi / 2), m);
}

// A tapered, swept, slightly dihedral airfoil from the root (x = rootX) outwards along +x; the
// section is a lens.
struct WingShape {
  float rootX, span;
  float rootLE, tipLE;        // leading-edge z
  float rootChord, tipChord;
  float rootY, tipY;
  float thickness;            // fraction of the chord
};

void AddWing(Mesh& mesh, const WingShape& w, int around, int along) {
  SurfaceDesc desc;
  desc.segS = around;
  desc.segT = along;
  desc.flip = true;  // the section runs so that Cross(ds, dt) points into the wing
  AddSurface(mesh, desc, [&](float s, float t) {
    float a = 2 * kPi * s;
    float chord = Lerp(w.rootChord, w.tipChord, t), le = Lerp(w.rootLE, w.tipLE, t);
    // Thins to a fifth at the tip (a fully closed tip would leave flat, unoriented slivers).
    float close = 0.2f + 0.8f * std::sqrt(std::max(0.0f, 1 - std::pow(t, 8.0f)));
    float z = le - chord * (1 - std::cos(a)) / 2;
    float y = Lerp(w.rootY, w.tipY, t) + w.thickness * chord * 0.5f * std::sin(a) * (0.75f + 0.25f * std::cos(a)) * close;
    return Vec3(w.rootX + w.span * t, y, z);
  });
}

// Engine pod profile along its axis from the nozzle's centre (t = 0, recessed) to the intake tip.
ProfilePoint PodProfile(float t) {
  struct P {
    float t, r, y;
  };
  static const P pts[] = {{0.0f, 0.0f, 0.38f},  {0.14f, 0.40f, 0.02f}, {0.2f, 0.5f, 0.0f},  {0.26f, 0.56f, 0.12f},
                          {0.55f, 0.6f, 1.6f},  {0.8f, 0.56f, 3.0f},   {0.9f, 0.4f, 3.55f}, {0.96f, 0.18f, 3.85f},
                          {1.0f, 0.0f, 3.95f}};
  size_t k = 0;
  while (k + 2 < std::size(pts) && t > pts[k + 1].t) ++k;
  float f = Clamp01((t - pts[k].t) / (pts[k + 1].t - pts[k].t));
  return {Lerp(pts[k].r, pts[k + 1].r, f), Lerp(pts[k].y, pts[k + 1].y, f)};
}

Material ShipMaterial(const char* texture) {
  Material m;
  m.diffuse = {0.95f, 0.95f, 1.0f, 1};
  m.power = 20;
  m.specular = {0.7f, 0.7f, 0.7f};
  m.texture = texture;
  return m;
}

}  // namespace

std::array<Mesh, 4> ShipMeshes() {
  // Built in design units (about 12 long, the hull about 2.1 wide and 1.3 high) and scaled by
  // kShipUnits at the end: the pulse shader moves the hull's vertices by up to one object unit, which
  // must stay a small ripple on the hull, not a change of its shape.
  std::array<Mesh, 4> parts, design;
  const char* const names[4] = {"HullMesh", "WingMesh", "EngineMesh", "CanopyMesh"};
  const char* const textures[4] = {"st_hull.bmp", "st_wing.bmp", "st_engine.bmp", "st_canopy.bmp"};
  for (int i = 0; i < 4; ++i) {
    parts[i].name = names[i];
    parts[i].material = ShipMaterial(textures[i]);
  }

  // Hull: the pulse's ripples are about 0.65 object units long at its show times (sin of
  // 0.06 * t * z for t from 150 to 179 s), far below a pixel along a hull of some 150 units. Rings
  // 0.638 units apart, close to that length, sample them as a wave 11 to 25 rings long that runs
  // along the hull in both pulse scenes; rings much closer would draw a shimmer of sub-pixel spikes.
  Mesh hull;
  RevolveDesc hd;
  hd.around = 64;
  hd.along = kHullRings;
  hd.uTiles = 2;
  hd.vTiles = 6;
  AddRevolve(hull, hd, HullProfile);
  AppendTransformed(design[0], hull, AxisToZ(1.0f, 0.62f, {0, 0, 0}));

  // Wings, mirrored for the left side.
  Mesh wing;
  AddWing(wing, {0.3f, 4.3f, 1.0f, -2.7f, 4.6f, 1.2f, -0.25f, 0.1f, 0.075f}, 48, 24);
  AppendTransformed(design[1], wing, Mat4());
  AppendTransformed(design[1], wing, Scaling(-1, 1, 1));

  // Engine pods beside the tail.
  Mesh pod;
  RevolveDesc pd;
  pd.around = 40;
  pd.along = 60;
  AddRevolve(pod, pd, PodProfile);
  for (float side : {-1.0f, 1.0f}) AppendTransformed(design[2], pod, AxisToZ(1, 1, {1.55f * side, -0.1f, -6.3f}));

  // Canopy: an ellipsoid half sunk into the hull behind the nose; a swept tail fin on the spine.
  Mesh bubble;
  RevolveDesc cd;
  cd.around = 40;
  cd.along = 24;
  AddRevolve(bubble, cd, [](float t) { return ProfilePoint{std::sin(kPi * t), -std::cos(kPi * t)}; });
  AppendTransformed(design[3], bubble, Multiply(Scaling(0.36f, 1.3f, 0.5f), AxisToZ(1, 1, {0, 0.45f, 2.0f})));
  Mesh fin;
  AddWing(fin, {0.3f, 1.9f, -2.6f, -4.7f, 2.8f, 1.0f, 0, 0, 0.09f}, 32, 16);
  AppendTransformed(design[3], fin, RotationZ(kPi / 2));
  for (int i = 0; i < 4; ++i) AppendTransformed(parts[i], design[i], Scaling(kShipUnits, kShipUnits, kShipUnits));
  return parts;
}
