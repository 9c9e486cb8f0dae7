// The .X mesh builder: triangulation, vertex splitting by normal, material subsets.
#include <gtest/gtest.h>
#include "engine/assets/HvXMeshBuilder.h"
#include <set>

namespace {
// A unit cube: 8 corners, 6 quads, one normal per face (every corner is used with three normals).
HvXMeshSource Cube() {
  HvXMeshSource s;
  for (int i = 0; i < 8; ++i) s.positions.push_back(D3DXVECTOR3(float(i & 1), float(i >> 1 & 1), float(i >> 2 & 1)));
  s.faces = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
  s.hasNormals = true;
  s.normals = {{0, 0, -1}, {0, 0, 1}, {0, -1, 0}, {0, 1, 0}, {-1, 0, 0}, {1, 0, 0}};
  for (uint32_t f = 0; f < 6; ++f) s.faceNormals.push_back({f, f, f, f});
  s.hasTexCoords = true;
  for (int i = 0; i < 8; ++i) s.texCoords.push_back(D3DXVECTOR2(0.1f * i, 1.0f - 0.1f * i));
  return s;
}

D3DXVECTOR3 PositionOf(const HvXMesh& m, uint16_t index) {
  const float* p = m.vertices[index].position;
  return D3DXVECTOR3(p[0], p[1], p[2]);
}
}

TEST(XMeshBuilderTest, QuadBecomesTwoTrianglesFannedFromTheFirstCorner) {
  HvXMeshSource s;
  s.positions = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  s.faces = {{0, 1, 2, 3}};
  HvXMesh m;
  ASSERT_TRUE(HvXMeshBuilder::Build(s, m));
  EXPECT_EQ(m.vertexFormat, uint32_t(D3DFVF_XYZ));
  ASSERT_EQ(m.indices, (std::vector<uint16_t>{0, 1, 2, 0, 2, 3}));
  ASSERT_EQ(m.subsets.size(), 1u);
  EXPECT_EQ(m.subsets[0].faceCount, 2u);
  EXPECT_EQ(m.subsets[0].vertexCount, 4u);
  ASSERT_EQ(m.materials.size(), 1u);  // a mesh without a material list still gets one
  EXPECT_EQ(PositionOf(m, 2), D3DXVECTOR3(1, 1, 0));
}

TEST(XMeshBuilderTest, CubeWithFaceNormalsSplitsIntoTwentyFourVertices) {
  HvXMeshSource s = Cube();
  HvXMesh m;
  ASSERT_TRUE(HvXMeshBuilder::Build(s, m));
  EXPECT_EQ(m.vertexFormat, uint32_t(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1));
  ASSERT_EQ(m.vertices.size(), 24u);
  ASSERT_EQ(m.indices.size(), 36u);
  // Every triangle of face f uses vertices at that face's corners with that face's normal, and each
  // vertex keeps the texture coordinate of its position.
  std::set<std::pair<int, int>> distinct;
  for (size_t t = 0; t < 12; ++t) {
    const uint32_t f = uint32_t(t / 2);
    for (int k = 0; k < 3; ++k) {
      const HvXVertex& v = m.vertices[m.indices[t * 3 + k]];
      EXPECT_EQ(D3DXVECTOR3(v.normal), s.normals[f]) << "triangle " << t;
      const int corner = int(v.position[0]) | int(v.position[1]) << 1 | int(v.position[2]) << 2;
      EXPECT_EQ(D3DXVECTOR2(v.texCoord), s.texCoords[corner]);
      distinct.insert({corner, int(f)});
    }
  }
  EXPECT_EQ(distinct.size(), 24u);
}

TEST(XMeshBuilderTest, InterleavedMaterialsGiveContiguousSubsetsWithOwnVertexRanges) {
  // A strip of six triangles sharing edges, materials 2,0,1,2,0,1: every shared corner between
  // different materials must be duplicated.
  HvXMeshSource s;
  for (int i = 0; i < 8; ++i) s.positions.push_back(D3DXVECTOR3(float(i / 2), float(i % 2), 0));
  for (uint32_t t = 0; t < 6; ++t) s.faces.push_back({t, t + 1, t + 2});
  s.hasMaterialList = true;
  s.materialCount = 3;
  s.faceMaterials = {2, 0, 1, 2, 0, 1};
  s.materials.resize(3);
  for (int i = 0; i < 3; ++i) s.materials[i].power = float(i);
  HvXMesh m;
  ASSERT_TRUE(HvXMeshBuilder::Build(s, m));
  ASSERT_EQ(m.subsets.size(), 3u);
  uint32_t nextFace = 0, nextVertex = 0;
  for (uint32_t a = 0; a < 3; ++a) {
    const HvXSubset& sub = m.subsets[a];
    SCOPED_TRACE(a);
    EXPECT_EQ(sub.attribute, a);
    EXPECT_EQ(sub.faceStart, nextFace);
    EXPECT_EQ(sub.faceCount, 2u);
    EXPECT_EQ(sub.vertexStart, nextVertex);
    EXPECT_EQ(sub.vertexCount, 6u);  // two triangles three apart share no corner
    for (uint32_t i = sub.faceStart * 3; i < (sub.faceStart + sub.faceCount) * 3; ++i) {
      EXPECT_GE(m.indices[i], sub.vertexStart);
      EXPECT_LT(m.indices[i], sub.vertexStart + sub.vertexCount);
    }
    // The triangles of material a are the file's faces a' with faceMaterials[a'] == a, in order.
    for (uint32_t t = 0; t < 2; ++t) {
      const uint32_t fileFace = (a + 1) % 3 + 3 * t;
      for (int k = 0; k < 3; ++k)
        EXPECT_EQ(PositionOf(m, m.indices[(sub.faceStart + t) * 3 + k]), s.positions[s.faces[fileFace][k]]);
    }
    nextFace += sub.faceCount;
    nextVertex += sub.vertexCount;
  }
  EXPECT_EQ(nextVertex, m.vertices.size());
  EXPECT_EQ(m.materials[2].power, 2.0f);
}

TEST(XMeshBuilderTest, ShortMaterialListRepeatsItsLastEntry) {
  HvXMeshSource s;
  s.positions = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  s.faces = {{0, 1, 2}, {0, 2, 3}, {0, 1, 3}};
  s.hasMaterialList = true;
  s.materialCount = 2;
  s.faceMaterials = {1, 0};
  s.materials.resize(1);  // the second material is missing: it keeps the default
  HvXMesh m;
  ASSERT_TRUE(HvXMeshBuilder::Build(s, m));
  ASSERT_EQ(m.subsets.size(), 2u);
  EXPECT_EQ(m.subsets[0].faceCount, 2u);  // faces 1 and 2 (the repeated 0)
  EXPECT_EQ(m.subsets[1].faceCount, 1u);
  ASSERT_EQ(m.materials.size(), 2u);
  EXPECT_EQ(m.materials[1].diffuse[0], 1.0f);
}

TEST(XMeshBuilderTest, VertexColoursAreIndexedByPosition) {
  HvXMeshSource s;
  s.positions = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}};
  s.faces = {{0, 1, 2}};
  s.hasColors = true;
  s.colors = {{2, 0x80FF0000}};
  HvXMesh m;
  ASSERT_TRUE(HvXMeshBuilder::Build(s, m));
  EXPECT_EQ(m.vertexFormat, uint32_t(D3DFVF_XYZ | D3DFVF_DIFFUSE));
  EXPECT_EQ(m.vertices[2].color, 0x80FF0000u);
  EXPECT_EQ(m.vertices[0].color, 0xFFFFFFFFu);
}

TEST(XMeshBuilderTest, MalformedMeshesAreRefused) {
  struct Case {
    const char* what;
    void (*spoil)(HvXMeshSource&);
  } cases[] = {
    {"position index", [](HvXMeshSource& s) { s.faces[2][1] = 8; }},
    {"normal index", [](HvXMeshSource& s) { s.faceNormals[0][0] = 6; }},
    {"normal face size", [](HvXMeshSource& s) { s.faceNormals[1].pop_back(); }},
    {"normal face count", [](HvXMeshSource& s) { s.faceNormals.pop_back(); }},
    {"two-corner face", [](HvXMeshSource& s) { s.faces[0] = {0, 1}; s.faceNormals[0] = {0, 0}; }},
    {"texture coordinates", [](HvXMeshSource& s) { s.texCoords.pop_back(); }},
    {"colour index", [](HvXMeshSource& s) { s.hasColors = true; s.colors = {{8, 0}}; }},
    {"material index", [](HvXMeshSource& s) { s.hasMaterialList = true; s.materialCount = 2; s.faceMaterials = {0, 2}; }},
    {"material count", [](HvXMeshSource& s) { s.hasMaterialList = true; s.materialCount = 2000000000; }},
  };
  for (const Case& c : cases) {
    HvXMeshSource s = Cube();
    c.spoil(s);
    HvXMesh m;
    EXPECT_FALSE(HvXMeshBuilder::Build(s, m)) << c.what;
  }
}

TEST(XMeshBuilderTest, MoreThanSixtyFiveThousandVerticesAreRefused) {
  HvXMeshSource s;
  const uint32_t quads = 16384;  // 65536 vertices
  for (uint32_t q = 0; q < quads; ++q) {
    for (int k = 0; k < 4; ++k) s.positions.push_back(D3DXVECTOR3(float(q), float(k), 0));
    s.faces.push_back({q * 4, q * 4 + 1, q * 4 + 2, q * 4 + 3});
  }
  HvXMesh m;
  EXPECT_FALSE(HvXMeshBuilder::Build(s, m));
  s.faces.pop_back();  // 65532 used vertices: the unused ones are dropped
  ASSERT_TRUE(HvXMeshBuilder::Build(s, m));
  EXPECT_EQ(m.vertices.size(), 65532u);
  EXPECT_EQ(m.indices.back(), 65531);
}
