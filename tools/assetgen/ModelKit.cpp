#include "ModelKit.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {

// Sorted, de-duplicated break positions over [0, length], each interval split to at most maxCell.
std::vector<float> Breaks(float length, std::vector<float> cuts, float maxCell) {
  cuts.push_back(0);
  cuts.push_back(length);
  std::sort(cuts.begin(), cuts.end());
  std::vector<float> out;
  for (size_t i = 0; i < cuts.size(); ++i) {
    float c = std::clamp(cuts[i], 0.0f, length);
    if (!out.empty() && c - out.back() < 1e-4f) continue;
    if (!out.empty()) {
      float from = out.back();
      int pieces = int(std::ceil((c - from) / maxCell - 1e-4f));
      for (int k = 1; k < pieces; ++k) out.push_back(from + (c - from) * k / pieces);
    }
    out.push_back(c);
  }
  return out;
}

bool SamePoint(const Vec3& a, const Vec3& b) { return Length(a - b) < 1e-6f; }

}  // namespace

void AddPanel(Mesh& mesh, const PanelDesc& d) {
  std::vector<float> uc, vc;
  for (const Rect2& h : d.holes) {
    uc.insert(uc.end(), {h.u0, h.u1});
    vc.insert(vc.end(), {h.v0, h.v1});
  }
  const std::vector<float> us = Breaks(d.width, uc, d.maxCell), vs = Breaks(d.height, vc, d.maxCell);
  const Vec3 n = Normalize(Cross(d.right, d.down));
  std::map<std::pair<size_t, size_t>, uint32_t> index;
  auto vertex = [&](size_t i, size_t j) {
    auto it = index.find({i, j});
    if (it != index.end()) return it->second;
    Vec3 p = d.origin + d.right * us[i] + d.down * vs[j];
    uint32_t v = mesh.AddVertex(p, n, {us[i] / d.texel + d.uvOffset.x, vs[j] / d.texel + d.uvOffset.y});
    index[{i, j}] = v;
    return v;
  };
  for (size_t j = 0; j + 1 < vs.size(); ++j)
    for (size_t i = 0; i + 1 < us.size(); ++i) {
      float cu = (us[i] + us[i + 1]) / 2, cv = (vs[j] + vs[j + 1]) / 2;
      bool open = false;
      for (const Rect2& h : d.holes) open = open || (cu > h.u0 && cu < h.u1 && cv > h.v0 && cv < h.v1);
      if (open) continue;
      uint32_t a = vertex(i, j), b = vertex(i + 1, j), c = vertex(i, j + 1), e = vertex(i + 1, j + 1);
      mesh.AddTriangle(a, b, c);
      mesh.AddTriangle(b, e, c);
    }
}

PanelDesc BoxFacePanel(const Vec3& lo, const Vec3& hi, int face, bool inward) {
  PanelDesc p;
  const Vec3 size = hi - lo;
  switch (face) {
    case kBoxPosY: p = {{lo.x, hi.y, hi.z}, {1, 0, 0}, {0, 0, -1}, size.x, size.z}; break;
    case kBoxNegY: p = {{lo.x, lo.y, lo.z}, {1, 0, 0}, {0, 0, 1}, size.x, size.z}; break;
    case kBoxPosX: p = {{hi.x, hi.y, lo.z}, {0, 0, 1}, {0, -1, 0}, size.z, size.y}; break;
    case kBoxNegX: p = {{lo.x, hi.y, hi.z}, {0, 0, -1}, {0, -1, 0}, size.z, size.y}; break;
    case kBoxPosZ: p = {{hi.x, hi.y, hi.z}, {-1, 0, 0}, {0, -1, 0}, size.x, size.y}; break;
    default: p = {{lo.x, hi.y, lo.z}, {1, 0, 0}, {0, -1, 0}, size.x, size.y}; break;
  }
  if (inward) {  // same plane, seen from the other side
    p.origin = p.origin + p.right * p.width;
    p.right = -p.right;
  }
  return p;
}

namespace {

void AddBoxFaces(Mesh& mesh, const Vec3& lo, const Vec3& hi, float texel, int faces, float maxCell, bool inward) {
  for (int bit = 1; bit <= kBoxPosZ; bit <<= 1) {
    if (!(faces & bit)) continue;
    PanelDesc p = BoxFacePanel(lo, hi, bit, inward);
    p.texel = texel;
    p.maxCell = maxCell;
    AddPanel(mesh, p);
  }
}

}  // namespace

void AddBox(Mesh& mesh, const Vec3& lo, const Vec3& hi, float texel, int faces, float maxCell) {
  AddBoxFaces(mesh, lo, hi, texel, faces, maxCell, false);
}

void AddInnerBox(Mesh& mesh, const Vec3& lo, const Vec3& hi, float texel, int faces, float maxCell) {
  AddBoxFaces(mesh, lo, hi, texel, faces, maxCell, true);
}

void AddSlab(Mesh& inside, Mesh& outside, const PanelDesc& in, float t, bool topCap) {
  AddPanel(inside, in);
  const Vec3 back = -Normalize(Cross(in.right, in.down));  // from the inner face into the slab
  PanelDesc out = in;
  out.origin = in.origin + back * t + in.right * in.width;
  out.right = -in.right;
  out.holes.clear();
  for (const Rect2& h : in.holes) out.holes.push_back({in.width - h.u1, h.v0, in.width - h.u0, h.v1});
  AddPanel(outside, out);
  // Reveals face into their opening; the cap faces up (against `down`).
  auto face = [&](const Vec3& origin, const Vec3& right, const Vec3& down, float w, float h) {
    PanelDesc p = in;
    p.origin = origin;
    p.right = right;
    p.down = down;
    p.width = w;
    p.height = h;
    p.holes.clear();
    p.uvOffset = {0, 0};
    AddPanel(inside, p);
  };
  for (const Rect2& h : in.holes) {
    const Vec3 c = in.origin + in.right * h.u0 + in.down * h.v0;
    const float w = h.u1 - h.u0, ht = h.v1 - h.v0;
    face(c, back, in.down, t, ht);                                                // left side
    face(c + in.right * w + back * t, -back, in.down, t, ht);                     // right side
    face(c, in.right, back, w, t);                                                // top
    face(c + in.down * ht + back * t, in.right, -back, w, t);                     // bottom
  }
  if (topCap) face(in.origin + back * t, in.right, -back, in.width, t);
}

void AddRevolve(Mesh& mesh, const RevolveDesc& d, const std::function<ProfilePoint(float t)>& profile) {
  const uint32_t base = static_cast<uint32_t>(mesh.positions.size());
  const float h = 0.25f / d.along;
  for (int j = 0; j <= d.along; ++j) {
    float t = float(j) / d.along;
    ProfilePoint p = profile(t);
    if (std::fabs(p.r) < 1e-3f) p.r = 0;  // on the axis: the ring collapses to one point
    ProfilePoint p0 = profile(std::max(0.0f, t - h)), p1 = profile(std::min(1.0f, t + h));
    float dr = p1.r - p0.r, dy = p1.y - p0.y;
    float nr = dy, ny = -dr;  // outward for a profile running upwards
    if (d.inside) nr = -nr, ny = -ny;
    for (int i = 0; i <= d.around; ++i) {
      float s = float(i) / d.around, a = 2 * kPi * s;
      float c = std::cos(a), sn = std::sin(a);
      mesh.AddVertex({p.r * c, p.y, p.r * sn}, {nr * c, ny, nr * sn}, {s * d.uTiles, t * d.vTiles});
    }
  }
  const uint32_t row = d.around + 1;
  auto tri = [&](uint32_t a, uint32_t b, uint32_t c) {
    if (SamePoint(mesh.positions[a], mesh.positions[b]) || SamePoint(mesh.positions[b], mesh.positions[c]) ||
        SamePoint(mesh.positions[a], mesh.positions[c]))
      return;  // collapsed at the axis
    mesh.AddTriangle(a, b, c);
  };
  for (int j = 0; j < d.along; ++j)
    for (int i = 0; i < d.around; ++i) {
      uint32_t a = base + j * row + i, b = a + 1, c = a + row, e = c + 1;
      // Cross(next around, next along) points inwards for an upward profile.
      if (d.inside) {
        tri(a, b, c);
        tri(b, e, c);
      } else {
        tri(a, c, b);
        tri(b, c, e);
      }
    }
}

Mat4 Multiply(const Mat4& a, const Mat4& b) {
  Mat4 r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      float s = 0;
      for (int k = 0; k < 4; ++k) s += a.m[i][k] * b.m[k][j];
      r.m[i][j] = s;
    }
  return r;
}

Mat4 Scaling(float sx, float sy, float sz) {
  Mat4 r;
  r.m[0][0] = sx;
  r.m[1][1] = sy;
  r.m[2][2] = sz;
  return r;
}

Mat4 RotationX(float angle) {
  Mat4 r;
  float c = std::cos(angle), s = std::sin(angle);
  r.m[1][1] = c, r.m[1][2] = s, r.m[2][1] = -s, r.m[2][2] = c;
  return r;
}

Mat4 RotationY(float angle) {
  Mat4 r;
  float c = std::cos(angle), s = std::sin(angle);
  r.m[0][0] = c, r.m[0][2] = -s, r.m[2][0] = s, r.m[2][2] = c;
  return r;
}

Mat4 RotationZ(float angle) {
  Mat4 r;
  float c = std::cos(angle), s = std::sin(angle);
  r.m[0][0] = c, r.m[0][1] = s, r.m[1][0] = -s, r.m[1][1] = c;
  return r;
}

Vec3 TransformPoint(const Vec3& p, const Mat4& m) {
  return {p.x * m.m[0][0] + p.y * m.m[1][0] + p.z * m.m[2][0] + m.m[3][0],
          p.x * m.m[0][1] + p.y * m.m[1][1] + p.z * m.m[2][1] + m.m[3][1],
          p.x * m.m[0][2] + p.y * m.m[1][2] + p.z * m.m[2][2] + m.m[3][2]};
}

void AppendTransformed(Mesh& dst, const Mesh& src, const Mat4& m) {
  // Normals transform by the cofactor matrix of the upper 3x3 (inverse transpose up to a factor).
  auto a = [&](int r, int c) { return m.m[r][c]; };
  float cof[3][3];
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) {
      int r1 = (r + 1) % 3, r2 = (r + 2) % 3, c1 = (c + 1) % 3, c2 = (c + 2) % 3;
      cof[r][c] = a(r1, c1) * a(r2, c2) - a(r1, c2) * a(r2, c1);
    }
  const float det = a(0, 0) * cof[0][0] + a(0, 1) * cof[0][1] + a(0, 2) * cof[0][2];
  const uint32_t base = static_cast<uint32_t>(dst.positions.size());
  for (size_t i = 0; i < src.positions.size(); ++i) {
    const Vec3& n = src.normals[i];
    Vec3 tn(n.x * cof[0][0] + n.y * cof[1][0] + n.z * cof[2][0], n.x * cof[0][1] + n.y * cof[1][1] + n.z * cof[2][1],
            n.x * cof[0][2] + n.y * cof[1][2] + n.z * cof[2][2]);
    if (det < 0) tn = -tn;
    dst.AddVertex(TransformPoint(src.positions[i], m), tn, src.uvs[i]);
    if (!src.colors.empty()) dst.colors.push_back(src.colors[i]);
  }
  for (const auto& t : src.triangles) {
    if (det < 0) dst.AddTriangle(base + t[0], base + t[2], base + t[1]);
    else dst.AddTriangle(base + t[0], base + t[1], base + t[2]);
  }
}

void PaintVertices(Mesh& mesh, const std::function<Color4(const Vec3& p, const Vec3& n)>& paint) {
  mesh.colors.resize(mesh.positions.size());
  for (size_t i = 0; i < mesh.positions.size(); ++i) mesh.colors[i] = paint(mesh.positions[i], mesh.normals[i]);
}

Vec3 SamplePath(const std::vector<PathPoint>& pts, float time) {
  if (time <= pts.front().time) return pts.front().point;
  if (time >= pts.back().time) return pts.back().point;
  size_t k = 0;
  while (k + 2 < pts.size() && time > pts[k + 1].time) ++k;
  auto tangent = [&](size_t i) {
    size_t lo = i > 0 ? i - 1 : i, hi = i + 1 < pts.size() ? i + 1 : i;
    return (pts[hi].point - pts[lo].point) * (1.0f / (pts[hi].time - pts[lo].time));
  };
  const float h = pts[k + 1].time - pts[k].time, u = (time - pts[k].time) / h;
  const float u2 = u * u, u3 = u2 * u;
  return pts[k].point * (2 * u3 - 3 * u2 + 1) + tangent(k) * (h * (u3 - 2 * u2 + u)) +
         pts[k + 1].point * (3 * u2 - 2 * u3) + tangent(k + 1) * (h * (u3 - u2));
}

std::vector<PositionKey> PathKeys(const std::function<Vec3(float)>& path, float from, float to, float step) {
  std::vector<PositionKey> keys;
  const int n = int(std::lround((to - from) / step));
  for (int i = 0; i <= n; ++i) {
    float t = from + (to - from) * i / n;
    keys.push_back({uint32_t(std::lround(double(t) * kTicksPerSecond)), path(t)});
  }
  return keys;
}
