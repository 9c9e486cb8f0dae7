// Building blocks for the hard-surface models (station, ship, star, room): planar panels with
// rectangular openings, boxes, surfaces of revolution, transformed copies with correct normals and
// winding, vertex painting, and smooth camera paths sampled into position keys.
// Convention (see Mesh.h): a face is front-facing towards Cross(b - a, c - a). For a panel seen from
// its front, `right` points to the viewer's right and `down` downwards, so u grows rightwards and v
// downwards as in the texture image.
#pragma once
#include <functional>
#include <vector>

#include "Mesh.h"
#include "XWriter.h"

// Rectangle in a panel's own (u, v) coordinates, in world units from the panel's top-left corner.
struct Rect2 {
  float u0, v0, u1, v1;
};

struct PanelDesc {
  Vec3 origin;                  // top-left corner as seen from the front
  Vec3 right{1, 0, 0};          // unit vector
  Vec3 down{0, -1, 0};          // unit vector, perpendicular to `right`
  float width = 1, height = 1;  // extent along right and down
  std::vector<Rect2> holes;     // openings left out of the panel
  float maxCell = 1e9f;         // cells are split until no side exceeds this (per-vertex lighting)
  float texel = 100;            // world units per texture repeat
  Vec2 uvOffset;                // added to the texture coordinates
};
// Adds the panel to `mesh`: a grid through every hole edge, cells inside a hole left out.
void AddPanel(Mesh& mesh, const PanelDesc& desc);

// Axis-aligned box from lo to hi with outward faces; `faces` picks them by bit:
// 1 = -x, 2 = +x, 4 = -y, 8 = +y, 16 = -z, 32 = +z. Texture repeats every `texel` units.
enum BoxFace { kBoxNegX = 1, kBoxPosX = 2, kBoxNegY = 4, kBoxPosY = 8, kBoxNegZ = 16, kBoxPosZ = 32, kBoxAll = 63 };
void AddBox(Mesh& mesh, const Vec3& lo, const Vec3& hi, float texel, int faces = kBoxAll, float maxCell = 1e9f);
// The same box seen from inside (faces point inwards), for rooms and pits.
void AddInnerBox(Mesh& mesh, const Vec3& lo, const Vec3& hi, float texel, int faces, float maxCell = 1e9f);
// The panel of one box face (a single BoxFace bit), facing out of the box or, with `inward`, into it.
PanelDesc BoxFacePanel(const Vec3& lo, const Vec3& hi, int face, bool inward);

// A wall slab: the inner face (as described by `inner`, with its openings) goes to `inside`
// together with the openings' reveals and, with `topCap`, the top edge; the outer face, `thickness`
// behind the inner one, goes to `outside`.
void AddSlab(Mesh& inside, Mesh& outside, const PanelDesc& inner, float thickness, bool topCap);

// Surface of revolution about +y: the profile gives (radius, y) for t in [0, 1]; normals come from
// the profile's tangent, so a profile that starts or ends on the axis closes cleanly without a seam.
// The outside faces front when the profile runs upwards on the right-hand side (t from bottom to
// top with radius >= 0); set `inside` for surfaces seen from within. uv = (s * uTiles, t * vTiles).
struct ProfilePoint {
  float r, y;
};
struct RevolveDesc {
  int around = 32, along = 16;
  float uTiles = 1, vTiles = 1;
  bool inside = false;
};
void AddRevolve(Mesh& mesh, const RevolveDesc& desc, const std::function<ProfilePoint(float t)>& profile);

// Appends `src` transformed by `m` (normals by the inverse transpose; winding reversed when the
// transform mirrors).
void AppendTransformed(Mesh& dst, const Mesh& src, const Mat4& m);

// Fills mesh.colors from a function of the vertex position and normal (0x152 meshes).
void PaintVertices(Mesh& mesh, const std::function<Color4(const Vec3& p, const Vec3& n)>& paint);

// Matrix helpers (row-vector convention, translation in row 4).
Mat4 Multiply(const Mat4& a, const Mat4& b);  // a then b
Mat4 Scaling(float sx, float sy, float sz);
Mat4 RotationX(float angle);
Mat4 RotationY(float angle);
Mat4 RotationZ(float angle);
Vec3 TransformPoint(const Vec3& p, const Mat4& m);

// A smooth path through (time, point) control points: cubic Hermite segments whose tangents are the
// neighbours' difference quotients (velocity is continuous, no overshoot at the ends).
struct PathPoint {
  float time;
  Vec3 point;
};
Vec3 SamplePath(const std::vector<PathPoint>& points, float time);
// Position keys every `step` seconds over [from, to] (both included), ticks = seconds x 4800.
std::vector<PositionKey> PathKeys(const std::function<Vec3(float)>& path, float from, float to, float step);
