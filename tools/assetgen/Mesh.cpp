#include "Mesh.h"

uint32_t Mesh::AddVertex(const Vec3& p, const Vec3& n, const Vec2& uv) {
  positions.push_back(p);
  normals.push_back(Normalize(n));
  uvs.push_back(uv);
  return static_cast<uint32_t>(positions.size() - 1);
}

void AddSurface(Mesh& mesh, const SurfaceDesc& desc, const std::function<Vec3(float s, float t)>& p) {
  // Difference step: a small fraction of one grid cell.
  const float hs = 0.05f / desc.segS, ht = 0.05f / desc.segT;
  const uint32_t base = static_cast<uint32_t>(mesh.positions.size());
  for (int j = 0; j <= desc.segT; ++j) {
    for (int i = 0; i <= desc.segS; ++i) {
      float s = float(i) / desc.segS, t = float(j) / desc.segT;
      Vec3 ds = p(s + hs, t) - p(s - hs, t);
      Vec3 dt = p(s, t + ht) - p(s, t - ht);
      Vec3 n = Cross(ds, dt);
      if (desc.flip) n = -n;
      mesh.AddVertex(p(s, t), n, {s * desc.uScale, t * desc.vScale});
    }
  }
  const uint32_t row = desc.segS + 1;
  for (int j = 0; j < desc.segT; ++j) {
    for (int i = 0; i < desc.segS; ++i) {
      uint32_t a = base + j * row + i, b = a + 1, c = a + row, d = c + 1;
      // Cross(b - a, c - a) runs along Cross(dp/ds, dp/dt): that winding faces the unflipped normal.
      if (desc.flip) {
        mesh.AddTriangle(a, c, b);
        mesh.AddTriangle(b, c, d);
      } else {
        mesh.AddTriangle(a, b, c);
        mesh.AddTriangle(b, d, c);
      }
    }
  }
}

void MeshBounds(const Mesh& mesh, Vec3& lo, Vec3& hi) {
  lo = hi = mesh.positions.empty() ? Vec3() : mesh.positions[0];
  for (const Vec3& p : mesh.positions) {
    lo = {std::fmin(lo.x, p.x), std::fmin(lo.y, p.y), std::fmin(lo.z, p.z)};
    hi = {std::fmax(hi.x, p.x), std::fmax(hi.y, p.y), std::fmax(hi.z, p.z)};
  }
}
