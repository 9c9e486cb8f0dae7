// Metaballs: the field, the polygonised surface (on the iso-surface, closed, capped at the mesh's
// capacity) and the scene's motion and event arithmetic.
#include "SceneFixture.h"
#include "app/scenes/CObjectBlob.h"
#include "app/scenes/MarchingCubes.h"
#include "engine/core/HvMath.h"
#include "engine/render/HvGeometry.h"
#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <random>
#include <set>
#include <tuple>

namespace {
const uint32_t kCapacity = CEffectBlob::MaxVertices / 3;  // triangles

// The blob's grid (2 x 2 x 2, 25 cells a side) with the given sources at iso level 3.
struct Blob : CEffectBlob {
  explicit Blob(std::vector<D3DXVECTOR3> at) : CEffectBlob("blob") {
    InitGrid(2, 2, 2, 25, 25, 25);
    sources = at;
    isoLevel = 3.0f;
    EvaluateField();
  }
  void UseGeometry(HvGeometry* g) { geometry = g; }
  void SetValue(int i, int j, int k, float v) { grid[Index(i, j, k)].value = v; }
  std::vector<float> positions, normals;
  uint32_t Surface(uint32_t maxTriangles = 100000) {
    positions.assign(9 * maxTriangles, 0);
    normals.assign(9 * maxTriangles, 0);
    return Triangulate(positions.data(), normals.data(), maxTriangles);
  }
};

float Length(const D3DXVECTOR3& v) { return D3DXVec3Length(&v); }

// Vertex v of an array of x, y, z triples.
D3DXVECTOR3 At(const std::vector<float>& a, size_t v) { return D3DXVECTOR3(a[3 * v], a[3 * v + 1], a[3 * v + 2]); }

float Field(const std::vector<D3DXVECTOR3>& sources, const D3DXVECTOR3& p) {
  float v = 0;
  for (const D3DXVECTOR3& c : sources) v += std::max(0.0f, 1 / Length(p - c) - 1);
  return v;
}

// Vertices merged within 2e-6 (neighbouring cells compute a shared vertex from opposite ends of its
// edge), then for every undirected edge the number of triangles that use it. Also counts the vertices.
std::map<std::pair<int, int>, int> EdgeUse(const std::vector<float>& positions, uint32_t triangles, int* vertexCount) {
  std::vector<D3DXVECTOR3> merged;
  std::map<std::tuple<int, int, int>, std::vector<int>> buckets;  // 0.01-unit cubes of merged vertices
  std::vector<int> id(3 * triangles);
  for (uint32_t v = 0; v < 3 * triangles; ++v) {
    const D3DXVECTOR3 p = At(positions, v);
    const int bx = int(floorf(p.x * 100)), by = int(floorf(p.y * 100)), bz = int(floorf(p.z * 100));
    id[v] = -1;
    for (int n = 0; n < 27 && id[v] < 0; ++n) {
      const auto b = buckets.find({bx + n % 3 - 1, by + n / 3 % 3 - 1, bz + n / 9 - 1});
      if (b == buckets.end()) continue;
      for (int m : b->second)
        if (Length(merged[m] - p) <= 2e-6f) id[v] = m;
    }
    if (id[v] < 0) {
      id[v] = int(merged.size());
      merged.push_back(p);
      buckets[{bx, by, bz}].push_back(id[v]);
    }
  }
  *vertexCount = int(merged.size());
  std::map<std::pair<int, int>, int> use;
  for (uint32_t t = 0; t < triangles; ++t)
    for (int e = 0; e < 3; ++e) {
      const int a = id[3 * t + e], b = id[3 * t + (e + 1) % 3];
      EXPECT_NE(a, b) << "degenerate triangle " << t;
      ++use[{std::min(a, b), std::max(a, b)}];
    }
  return use;
}

// A closed surface: every edge is shared by exactly two triangles. Returns the Euler characteristic.
int ExpectClosed(const std::vector<float>& positions, uint32_t triangles) {
  int vertices = 0;
  const auto use = EdgeUse(positions, triangles, &vertices);
  int open = 0;
  for (const auto& e : use) open += e.second != 2;
  EXPECT_EQ(0, open) << "edges not shared by exactly two triangles";
  return vertices - int(use.size()) + int(triangles);
}
}

TEST(BlobInterpolation, EndpointsWithinToleranceElseLinear) {
  const D3DXVECTOR3 a(0, 0, 0), b(1, 2, 4);
  EXPECT_EQ(a, InterpolateVertex(3.0f, a, b, 3.000005f, 5.0f)) << "level at a";
  EXPECT_EQ(b, InterpolateVertex(3.0f, a, b, 1.0f, 2.999995f)) << "level at b";
  EXPECT_EQ(a, InterpolateVertex(3.0f, a, b, 2.0f, 2.000001f)) << "equal values";
  const D3DXVECTOR3 q = InterpolateVertex(3.0f, a, b, 2.0f, 6.0f);
  EXPECT_FLOAT_EQ(0.25f, q.x);
  EXPECT_FLOAT_EQ(1.0f, q.z);
}

TEST(BlobField, SumOfSourcesWithTheCentreClampedTo99) {
  Blob blob({D3DXVECTOR3(0, 0, 0)});
  blob.InitGrid(2, 2, 2, 4, 4, 4);  // points every 0.5 from -1 to 1
  blob.EvaluateField();
  EXPECT_FLOAT_EQ(-1.0f, blob.GridPoint(0, 0, 0).x);
  EXPECT_FLOAT_EQ(0.5f, blob.GridPoint(3, 0, 0).x);
  EXPECT_FLOAT_EQ(99.0f, blob.GridPoint(2, 2, 2).value) << "a point on a source counts d as 0.01";
  EXPECT_FLOAT_EQ(1.0f, blob.GridPoint(2, 3, 2).value) << "d = 0.5";
  EXPECT_EQ(0.0f, blob.GridPoint(2, 4, 2).value) << "no negative contribution beyond d = 1";
  blob.Sources().push_back(D3DXVECTOR3(0, 0.5f, 0));
  blob.EvaluateField();
  EXPECT_FLOAT_EQ(99.0f + 1.0f, blob.GridPoint(2, 3, 2).value);
  EXPECT_EQ(blob.GridPoint(2, 2, 3).value, blob.GridPoint(2, 2, 1).value);
}

TEST(BlobSurface, OneSphereIsClosedAndOnTheIsoSurface) {
  const std::vector<D3DXVECTOR3> centre(3, D3DXVECTOR3(0, 0, 0));  // 3 (1/d - 1) = 3: radius 0.5
  Blob blob(centre);
  const uint32_t n = blob.Surface();
  ASSERT_GT(n, 200u);
  ASSERT_LT(n, kCapacity);
  float worst = 0;
  for (uint32_t v = 0; v < 3 * n; ++v) {
    const D3DXVECTOR3 p = At(blob.positions, v), normal = At(blob.normals, v);
    worst = std::max(worst, fabsf(Length(p) - 0.5f));
    EXPECT_NEAR(1.0f, Length(normal), 1e-4f);
    EXPECT_GT(fabsf(D3DXVec3Dot(&normal, &p)) / 0.5f, 0.85f) << "face normal far from the radius at " << v;
  }
  EXPECT_LT(worst, 0.005f) << "vertices off the sphere";
  EXPECT_EQ(2, ExpectClosed(blob.positions, n)) << "not a sphere's topology";
}

TEST(BlobSurface, MovingSourcesGiveClosedSurfaces) {
  HvFillSineTable();
  for (float t : {0.0f, 3.2f, 7.5f, 11.0f}) {
    std::vector<D3DXVECTOR3> at(3);
    BlobSourcePositions(t, at.data());
    Blob blob(at);
    const uint32_t n = blob.Surface();
    ASSERT_LT(n, kCapacity) << "at phase " << t;
    ExpectClosed(blob.positions, n);
    for (uint32_t v = 0; v < 3 * n; v += 7)
      EXPECT_NEAR(3.0f, Field(at, At(blob.positions, v)), 0.15f) << "phase " << t << " vertex " << v;
  }
}

// Random values, at least 0.1 away from the level, on a 20-cell grid whose border lies outside:
// every one of the 256 corner cases occurs, and their triangles must join into closed surfaces.
TEST(BlobSurface, EveryCornerCaseJoinsItsNeighboursWithoutCracks) {
  Blob blob({});
  const int n = 20;
  blob.InitGrid(2, 2, 2, n, n, n);
  std::mt19937 random(12345);  // the same sequence on every run
  for (int k = 0; k <= n; ++k)
    for (int j = 0; j <= n; ++j)
      for (int i = 0; i <= n; ++i) {
        const bool border = i == 0 || j == 0 || k == 0 || i == n || j == n || k == n;
        const uint32_t r = random();
        const float offset = 0.1f + (r >> 8) / 16777216.0f;
        blob.SetValue(i, j, k, border || r & 1 ? 3.0f - offset : 3.0f + offset);
      }
  std::set<uint32_t> cases;
  BlobCell cell;
  for (int k = 0; k < n; ++k)
    for (int j = 0; j < n; ++j)
      for (int i = 0; i < n; ++i) {
        for (int c = 0; c < 8; ++c)  // any order of the corners gives the same set of cases
          cell.value[c] = blob.GridPoint(i + (c & 1), j + (c >> 1 & 1), k + (c >> 2)).value;
        cases.insert(CubeIndex(cell, 3.0f));
      }
  EXPECT_EQ(256u, cases.size());
  const uint32_t triangles = blob.Surface();
  ASSERT_GT(triangles, 1000u);
  ExpectClosed(blob.positions, triangles);
}

TEST(BlobSurface, ExcessTrianglesAreDroppedNeverWrittenPastTheMesh) {
  std::vector<D3DXVECTOR3> lattice;  // 27 small balls: far more surface than the mesh holds
  for (float x : {-0.6f, 0.0f, 0.6f})
    for (float y : {-0.6f, 0.0f, 0.6f})
      for (float z : {-0.6f, 0.0f, 0.6f}) lattice.push_back(D3DXVECTOR3(x, y, z));
  Blob blob(lattice);
  const uint32_t all = blob.Surface();
  const std::vector<float> uncapped = blob.positions;
  ASSERT_GT(all, kCapacity);

  const float guard = 12345.0f;
  std::vector<float> positions(9 * (kCapacity + 10), guard), normals(9 * (kCapacity + 10), guard);
  EXPECT_EQ(kCapacity, blob.Triangulate(positions.data(), normals.data(), kCapacity));
  EXPECT_TRUE(std::all_of(positions.begin() + 9 * kCapacity, positions.end(), [&](float f) { return f == guard; }));
  EXPECT_TRUE(std::all_of(normals.begin() + 9 * kCapacity, normals.end(), [&](float f) { return f == guard; }));
  EXPECT_TRUE(std::equal(positions.begin(), positions.begin() + 9 * kCapacity, uncapped.begin()))
      << "the triangles kept are the first ones";
}

using BlobMeshTest = SceneTest;

TEST_F(BlobMeshTest, SurfaceGoesIntoTheGeometryUpToItsCapacity) {
  HvRef<HvGeometry> mesh = new HvGeometry({D3DPT_TRIANGLELIST, D3DFVF_XYZ | D3DFVF_NORMAL, CEffectBlob::MaxVertices, 0});
  ASSERT_TRUE(mesh->Refresh());
  Blob one(std::vector<D3DXVECTOR3>(3, D3DXVECTOR3(0, 0, 0)));
  one.UseGeometry(mesh.Get());
  const uint32_t n = one.Surface();
  fake.vertexUploads.clear();
  one.BuildSurface();
  EXPECT_EQ(n, mesh->GetPrimitivesToDraw());
  ASSERT_EQ(1u, fake.vertexUploads.size());
  EXPECT_EQ(0, memcmp(mesh->GetPositions(), one.positions.data(), 9 * n * sizeof(float)));

  std::vector<D3DXVECTOR3> spread;
  for (int i = 0; i < 27; ++i) spread.push_back(D3DXVECTOR3(0.6f * (i % 3 - 1), 0.6f * (i / 3 % 3 - 1), 0.6f * (i / 9 - 1)));
  Blob many(spread);
  many.UseGeometry(mesh.Get());
  many.BuildSurface();
  EXPECT_EQ(kCapacity, mesh->GetPrimitivesToDraw());
  EXPECT_FALSE(mesh->HasFlag(HvFlags::Changed)) << "uploaded";
}

TEST(BlobMotion, SourcesAtPhaseZeroUseTheTableSine) {
  HvFillSineTable();
  D3DXVECTOR3 s[3];
  BlobSourcePositions(0, s);
  // TableCos(1) and TableCos(3) read whole degrees: sin 147 and -sin 81.
  const float z0 = 0.5f * sinf(7) * sinf(147 * 0.017453292f) * -sinf(81 * 0.017453292f);
  EXPECT_FLOAT_EQ(0, s[0].x);
  EXPECT_FLOAT_EQ(0.5f, s[0].y);
  EXPECT_NEAR(z0, s[0].z, 1e-6f);
  EXPECT_FLOAT_EQ(0.5f, s[1].x);
  EXPECT_FLOAT_EQ(0.5f * cosf(2), s[1].y);
  EXPECT_FLOAT_EQ(0.5f * sinf(7), s[1].z);
  EXPECT_EQ(D3DXVECTOR3(0.5f, 0, 0), s[2]);
  BlobSourcePositions(0.5f, s);  // 0.5 rad + 90 degrees = 118.6 degrees: sin 118, not cos 0.5
  EXPECT_FLOAT_EQ(0.5f * sinf(118 * 0.017453292f) * sinf(0.5f), s[0].x);
}

TEST(BlobMotion, TransformScalesSpinsThenMoves) {
  D3DXMATRIX scale;
  D3DXMatrixScaling(&scale, 1.5f, 1.5f, 1.5f);
  const D3DXVECTOR3 position(-1.5f, 0, 0);
  D3DXVECTOR3 p;
  const D3DXVECTOR3 unitX(1, 0, 0), origin(0, 0, 0);
  D3DXMATRIX m = BlobLocalMatrix(scale, 0, position);
  D3DXVec3TransformCoord(&p, &unitX, &m);
  EXPECT_NEAR(1.5f * cosf(5) - 1.5f, p.x, 1e-5f) << "only the z turn of 5 rad at phase 0";
  EXPECT_NEAR(1.5f * sinf(5), p.y, 1e-5f);
  EXPECT_NEAR(0, p.z, 1e-5f);
  m = BlobLocalMatrix(scale, 2.7f, position);
  D3DXVec3TransformCoord(&p, &origin, &m);
  EXPECT_EQ(position, p) << "the translation comes last";
  D3DXVec3TransformCoord(&p, &unitX, &m);
  EXPECT_NEAR(1.5f, Length(p - position), 1e-5f);
}

TEST(BlobEvents, PulseFadeAndSpeed) {
  HvFillSineTable();
  EXPECT_FLOAT_EQ(1.5f, BlobPulseScale(0));
  EXPECT_FLOAT_EQ(3.0f, BlobPulseScale(0.5f));
  EXPECT_FLOAT_EQ(1.5f, BlobPulseScale(1));
  EXPECT_FLOAT_EQ(1.5f + 1.5f * 0.48f, BlobPulseScale(0.3f));
  EXPECT_FLOAT_EQ(-1.5f, BlobFadeX(0));
  EXPECT_FLOAT_EQ(-7.0f, BlobFadeX(1));

  HvRef<CObjectBlob> blob = new CObjectBlob("Effect_3d_blobs");
  EXPECT_EQ(1.5f, blob->GetScaleMatrix()._11);
  blob->OnEvent(0.5f, "scale_up");
  EXPECT_FLOAT_EQ(3.0f, blob->GetScaleMatrix()._22);
  EXPECT_FLOAT_EQ(3.0f, blob->GetScaleMatrix()._33);
  blob->OnEvent(1.0f, "fade");
  EXPECT_FLOAT_EQ(-7.0f, blob->GetPosition().x);
  blob->OnEvent(0, "speed_low");
  EXPECT_EQ(0.6f, BlobSpeed(blob->GetSpeedMode()));
  blob->OnEvent(0, "speed_normal");
  EXPECT_EQ(1.0f, BlobSpeed(blob->GetSpeedMode()));
}

// The scene's CPU work per frame over its 37.2 s at 30 frames/s: field and polygonisation, with the
// sources moving as in the show. Prints the median; fails only far above the 2 ms budget.
TEST(BlobSurface, PolygonisationTimePerFrame) {
  HvFillSineTable();
  Blob blob(std::vector<D3DXVECTOR3>(3));
  blob.positions.resize(9 * kCapacity), blob.normals.resize(9 * kCapacity);
  std::vector<double> ms;
  uint32_t most = 0;
  float phase = 0;
  for (float t = 16.8f; t < 54.0f; t += 1 / 30.0f) {
    phase += BlobSpeed(t >= 33.12f && t < 37.62f ? 1 : 0) / 30.0f;
    BlobSourcePositions(phase, blob.Sources().data());
    const auto start = std::chrono::steady_clock::now();
    blob.EvaluateField();
    most = std::max(most, blob.Triangulate(blob.positions.data(), blob.normals.data(), kCapacity));
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  }
  std::nth_element(ms.begin(), ms.begin() + ms.size() / 2, ms.end());
  const double median = ms[ms.size() / 2];
  printf("blob: median %.3f ms per frame over %zu frames, at most %u triangles\n", median, ms.size(), most);
  EXPECT_LT(median, 10.0);
  EXPECT_LT(most, kCapacity) << "the show's blob never needs more than the mesh holds";
}
