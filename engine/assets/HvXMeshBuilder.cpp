#include "HvXMeshBuilder.h"
#include "HvXDataReader.h"
#include "HvXTemplates.h"
#include <algorithm>
#include <map>

namespace {
bool ReadVectors(HvXDataReader& r, std::vector<D3DXVECTOR3>& v) {
  uint32_t n;
  if (!r.Dword(n) || !r.Holds(n, 12)) return false;
  v.resize(n);
  return r.Floats(&v[0].x, size_t(n) * 3);
}

bool ReadFaces(HvXDataReader& r, std::vector<std::vector<uint32_t>>& faces) {
  uint32_t n;
  if (!r.Dword(n) || !r.Holds(n, 4)) return false;
  faces.resize(n);
  for (std::vector<uint32_t>& f : faces) {
    uint32_t corners;
    if (!r.Dword(corners) || !r.Holds(corners, 4)) return false;
    f.resize(corners);
    for (uint32_t& i : f)
      if (!r.Dword(i)) return false;
  }
  return true;
}

// Clamped to 0..1 first, so that an out-of-range file value cannot wrap into another channel.
D3DCOLOR ToColor(const float c[4]) {
  auto channel = [](float v) { return D3DCOLOR(std::min(std::max(v, 0.0f), 1.0f) * 255.0f) & 0xFF; };
  return channel(c[3]) << 24 | channel(c[0]) << 16 | channel(c[1]) << 8 | channel(c[2]);
}

bool ReadMaterial(IDirectXFileData* object, HvXMaterial& m) {
  HvXDataReader r(object);
  float emissive[3];
  if (!r.Floats(m.diffuse, 4) || !r.Float(m.power) || !r.Floats(m.specular, 3) || !r.Floats(emissive, 3)) return false;
  m.specular[3] = 1.0f;
  return HvForEachXChild(object, [&](IDirectXFileData* child, bool) {
    if (HvXTypeOf(child) != HvTidTextureFilename) return true;
    const char* name = nullptr;
    HvXDataReader t(child);
    if (!t.String(name)) return false;
    m.textureFile = name;
    return true;
  });
}

bool ReadMaterialList(IDirectXFileData* object, HvXMeshSource& s) {
  HvXDataReader r(object);
  uint32_t n;
  if (!r.Dword(s.materialCount) || !r.Dword(n) || !r.Holds(n, 4)) return false;
  s.faceMaterials.resize(n);
  for (uint32_t& m : s.faceMaterials)
    if (!r.Dword(m)) return false;
  s.hasMaterialList = true;
  s.materials.clear();
  return HvForEachXChild(object, [&](IDirectXFileData* child, bool) {
    if (HvXTypeOf(child) != HvTidMaterial) return true;
    s.materials.emplace_back();
    return ReadMaterial(child, s.materials.back());
  });
}

bool ReadChild(IDirectXFileData* child, HvXMeshSource& s) {
  const GUID type = HvXTypeOf(child);
  HvXDataReader r(child);
  if (type == HvTidMeshNormals) {
    s.hasNormals = true;
    return ReadVectors(r, s.normals) && ReadFaces(r, s.faceNormals);
  }
  if (type == HvTidMeshTextureCoords) {
    uint32_t n;
    if (!r.Dword(n) || !r.Holds(n, 8)) return false;
    s.hasTexCoords = true;
    s.texCoords.resize(n);
    return r.Floats(&s.texCoords[0].x, size_t(n) * 2);
  }
  if (type == HvTidMeshVertexColors) {
    uint32_t n;
    if (!r.Dword(n) || !r.Holds(n, 20)) return false;
    s.hasColors = true;
    s.colors.resize(n);
    for (auto& c : s.colors) {
      float rgba[4];
      if (!r.Dword(c.first) || !r.Floats(rgba, 4)) return false;
      c.second = ToColor(rgba);
    }
    return true;
  }
  if (type == HvTidMeshMaterialList) return ReadMaterialList(child, s);
  return true;
}

// A vertex of the loaded mesh: a file position, and the normal it is used with (or none).
struct Corner {
  uint32_t position;
  uint32_t normal;
};
const uint32_t NoNormal = 0xFFFFFFFF;

bool Check(const HvXMeshSource& s) {
  const size_t nv = s.positions.size();
  for (size_t f = 0; f < s.faces.size(); ++f) {
    if (s.faces[f].size() < 3) return false;
    for (uint32_t i : s.faces[f])
      if (i >= nv) return false;
    if (!s.hasNormals) continue;
    if (f >= s.faceNormals.size() || s.faceNormals[f].size() != s.faces[f].size()) return false;
    for (uint32_t i : s.faceNormals[f])
      if (i >= s.normals.size()) return false;
  }
  if (s.hasTexCoords && s.texCoords.size() < nv) return false;
  for (const auto& c : s.colors)
    if (c.first >= nv) return false;
  // More materials than the file gives and than there are faces to use them: a damaged count, which
  // would otherwise size the material array.
  if (s.materialCount > std::max(s.materials.size(), s.faces.size())) return false;
  const uint32_t materials = std::max<uint32_t>(s.materialCount, 1);
  for (uint32_t m : s.faceMaterials)
    if (m >= materials) return false;
  return true;
}
}

bool HvXMeshBuilder::Read(IDirectXFileData* meshObject, HvXMeshSource& s) {
  HvXDataReader r(meshObject);
  if (!ReadVectors(r, s.positions) || !ReadFaces(r, s.faces)) return false;
  return HvForEachXChild(meshObject, [&](IDirectXFileData* child, bool) { return ReadChild(child, s); });
}

bool HvXMeshBuilder::Build(const HvXMeshSource& s, HvXMesh& mesh) {
  if (!Check(s)) return false;

  // Materials: the list's count, at least one; missing entries keep the default material.
  mesh.materials = s.materials;
  mesh.materials.resize(std::max<uint32_t>(s.materialCount, 1));

  // Loaded vertices: the file's positions first, each taking the first normal it is used with; a
  // position used with another normal gets an extra vertex after them.
  std::vector<Corner> loaded(s.positions.size(), Corner{0, NoNormal});
  for (uint32_t i = 0; i < loaded.size(); ++i) loaded[i].position = i;
  std::vector<bool> claimed(s.positions.size(), false);
  std::map<std::pair<uint32_t, uint32_t>, uint32_t> extra;

  struct Triangle {
    uint32_t attribute;
    uint32_t v[3];
  };
  std::vector<Triangle> triangles;
  std::vector<uint32_t> corner;
  for (size_t f = 0; f < s.faces.size(); ++f) {
    const std::vector<uint32_t>& face = s.faces[f];
    corner.resize(face.size());
    for (size_t k = 0; k < face.size(); ++k) {
      const uint32_t p = face[k], n = s.hasNormals ? s.faceNormals[f][k] : NoNormal;
      if (!claimed[p]) {
        claimed[p] = true;
        loaded[p].normal = n;
        corner[k] = p;
      } else if (loaded[p].normal == n) {
        corner[k] = p;
      } else {
        auto found = extra.emplace(std::make_pair(p, n), uint32_t(loaded.size()));
        if (found.second) loaded.push_back({p, n});
        corner[k] = found.first->second;
      }
    }
    uint32_t attribute = 0;
    if (!s.faceMaterials.empty()) attribute = s.faceMaterials[std::min(f, s.faceMaterials.size() - 1)];
    for (size_t k = 1; k + 1 < face.size(); ++k) triangles.push_back({attribute, {corner[0], corner[k], corner[k + 1]}});
  }
  std::stable_sort(triangles.begin(), triangles.end(),
                   [](const Triangle& a, const Triangle& b) { return a.attribute < b.attribute; });

  mesh.vertexFormat = D3DFVF_XYZ | (s.hasNormals ? D3DFVF_NORMAL : 0) | (s.hasColors ? D3DFVF_DIFFUSE : 0) |
                      (s.hasTexCoords ? D3DFVF_TEX1 : 0);
  std::vector<D3DCOLOR> colors(s.positions.size(), 0xFFFFFFFF);
  for (const auto& c : s.colors) colors[c.first] = c.second;

  mesh.vertices.clear();
  mesh.indices.clear();
  mesh.subsets.clear();
  std::vector<uint32_t> remap(loaded.size(), NoNormal);
  std::vector<uint32_t> used;
  for (size_t first = 0; first < triangles.size();) {
    size_t end = first;
    while (end < triangles.size() && triangles[end].attribute == triangles[first].attribute) ++end;
    // This subset's vertices, in loaded order, numbered from the end of the previous subset.
    used.clear();
    for (size_t t = first; t < end; ++t) used.insert(used.end(), triangles[t].v, triangles[t].v + 3);
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    HvXSubset subset = {triangles[first].attribute, uint32_t(first), uint32_t(end - first),
                        uint32_t(mesh.vertices.size()), uint32_t(used.size())};
    if (subset.vertexStart + subset.vertexCount > MaxVertices) return false;
    for (uint32_t v : used) {
      remap[v] = uint32_t(mesh.vertices.size());
      const Corner& c = loaded[v];
      HvXVertex out = {};
      std::copy(&s.positions[c.position].x, &s.positions[c.position].x + 3, out.position);
      if (c.normal != NoNormal) std::copy(&s.normals[c.normal].x, &s.normals[c.normal].x + 3, out.normal);
      out.color = colors[c.position];
      if (s.hasTexCoords) std::copy(&s.texCoords[c.position].x, &s.texCoords[c.position].x + 2, out.texCoord);
      mesh.vertices.push_back(out);
    }
    for (size_t t = first; t < end; ++t)
      for (uint32_t v : triangles[t].v) mesh.indices.push_back(uint16_t(remap[v]));
    mesh.subsets.push_back(subset);
    first = end;
  }
  return true;
}
