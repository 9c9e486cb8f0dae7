// Triangle meshes as the .X writer stores them: one material per mesh, per-vertex normals, one UV set
// and optional vertex colours. Front faces are clockwise as seen by the viewer, which with the
// left-handed cross product means Cross(b - a, c - a) points to the front side.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Math3.h"

struct Color4 {
  float r = 1, g = 1, b = 1, a = 1;
};

struct Material {
  Color4 diffuse;
  float power = 0;
  Vec3 specular;
  Vec3 emissive;
  std::string texture;  // plain file name in the model's folder; empty = untextured
};

struct Mesh {
  std::string name;
  std::vector<Vec3> positions;
  std::vector<Vec3> normals;        // unit length, one per position
  std::vector<Vec2> uvs;            // one per position
  std::vector<Color4> colors;       // empty, or one per position (0x152 meshes)
  std::vector<std::array<uint32_t, 3>> triangles;
  Material material;

  uint32_t AddVertex(const Vec3& p, const Vec3& n, const Vec2& uv);
  void AddTriangle(uint32_t a, uint32_t b, uint32_t c) { triangles.push_back({a, b, c}); }
};

// A grid surface p(s, t) over s, t in [0, 1] with (segS + 1) x (segT + 1) vertices. Normals come from
// central differences of p (so a surface that is periodic in s or t gets identical normals on both
// sides of its seam) and point along Cross(dp/ds, dp/dt), negated when `flip` is set. Triangles are
// wound so that their front side is the normal side. uv = (s * uScale, t * vScale).
struct SurfaceDesc {
  int segS = 1, segT = 1;
  float uScale = 1, vScale = 1;
  bool flip = false;
};
void AddSurface(Mesh& mesh, const SurfaceDesc& desc, const std::function<Vec3(float s, float t)>& p);

// Axis-aligned bounding box of the mesh positions.
void MeshBounds(const Mesh& mesh, Vec3& lo, Vec3& hi);
