#include "SceneFixture.h"
#include "engine/assets/HvVertexShader.h"
#include "engine/render/HvGeometry.h"
#include <cstring>

namespace {
std::vector<float> Floats(const std::vector<BYTE>& bytes, size_t count) {
  std::vector<float> out(count);
  memcpy(out.data(), bytes.data(), count * 4);
  return out;
}
}

using GeometryTest = SceneTest;

TEST_F(GeometryTest, SizesCountsAndNames) {
  HvRef<HvGeometry> a = new HvGeometry({D3DPT_TRIANGLELIST, D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1, 9, 0});
  HvRef<HvGeometry> b = new HvGeometry({D3DPT_POINTLIST, D3DFVF_XYZRHW | D3DFVF_SPECULAR | D3DFVF_TEX1 | D3DFVF_TEXCOORDSIZE1(0), 4, 6});
  HvRef<HvGeometry> c = new HvGeometry({D3DPT_TRIANGLESTRIP, D3DFVF_XYZ, 6, 0});
  HvRef<HvGeometry> d = new HvGeometry({D3DPT_LINESTRIP, D3DFVF_XYZ, 2, 5});
  EXPECT_EQ(36u, a->GetVertexSize());
  EXPECT_EQ(24u, b->GetVertexSize());
  EXPECT_EQ(3u, a->GetPrimitiveCount());
  EXPECT_EQ(0u, b->GetPrimitiveCount()) << "an indexed point list";
  EXPECT_EQ(4u, c->GetPrimitiveCount());
  EXPECT_EQ(4u, d->GetPrimitiveCount());
  EXPECT_EQ(1.0f, a->GetDiffuse()[3]);
  EXPECT_EQ(nullptr, a->GetSpecular());
  EXPECT_EQ(nullptr, a->GetIndices());
  const int first = atoi(a->GetName().c_str() + strlen("Geometry_"));
  EXPECT_EQ("Geometry_" + std::to_string(first + 1), b->GetName());
  EXPECT_EQ(a.Get(), core->GetPool(HvPoolGeometry)->FindByName(a->GetName()));
}

TEST_F(GeometryTest, UploadsOnlyThePrimitivesToDrawAndDrawsThem) {
  HvRef<HvGeometry> g = new HvGeometry({D3DPT_TRIANGLELIST, D3DFVF_XYZ | D3DFVF_DIFFUSE, 9, 0});
  for (int i = 0; i < 27; ++i) g->GetPositions()[i] = float(i);
  g->GetDiffuse()[4] = 0.5f;
  g->SetPrimitivesToDraw(2);
  ASSERT_TRUE(g->Refresh());
  EXPECT_FALSE(g->HasFlag(HvFlags::Changed));
  const auto created = fake.Calls("CreateVertexBuffer");
  ASSERT_EQ(1u, created.size());
  EXPECT_EQ(9u * 16, created[0].a);
  EXPECT_EQ(DWORD(D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC), created[0].b);
  EXPECT_EQ(DWORD(D3DLOCK_DISCARD), fake.Calls("VertexBuffer::Lock")[0].c);
  ASSERT_EQ(1u, fake.vertexUploads.size());
  const std::vector<BYTE>& bytes = fake.vertexUploads[0];
  const std::vector<float> v = Floats(bytes, 4 * 6);
  EXPECT_EQ(15.0f, v[5 * 4]) << "vertex 5 x";
  DWORD colour;
  memcpy(&colour, &bytes[16 + 12], 4);
  EXPECT_EQ(0xFF7FFFFFu, colour);
  EXPECT_EQ(0.0f, Floats(bytes, 9 * 4)[6 * 4]) << "vertex 6 is not uploaded";

  fake.ClearLog();
  ASSERT_TRUE(g->Render());
  EXPECT_EQ((std::vector<std::string>{"SetFVF", "SetStreamSource", "DrawPrimitive"}), fake.Methods());
  EXPECT_EQ(2u, fake.Calls("DrawPrimitive")[0].c);
  EXPECT_EQ(16u, fake.Calls("SetStreamSource")[0].c);

  g->SetPrimitivesToDraw(50);  // more than the buffer holds
  fake.vertexUploads.clear();
  ASSERT_TRUE(g->Refresh());
  fake.ClearLog();
  g->Render();
  EXPECT_EQ(3u, fake.Calls("DrawPrimitive")[0].c);
}

TEST_F(GeometryTest, IndexedRhwGeometryUploadsIndicesAndAFourthCoordinate) {
  HvRef<HvGeometry> g = new HvGeometry({D3DPT_TRIANGLELIST, D3DFVF_XYZRHW | D3DFVF_TEX1, 4, 6});
  const uint16_t indices[6] = {0, 1, 2, 2, 1, 3};
  memcpy(g->GetIndices(), indices, sizeof indices);
  g->GetPositions()[0] = 3.0f;
  g->GetTexCoords()[1] = 0.25f;
  ASSERT_TRUE(g->Refresh());
  EXPECT_EQ(12u, fake.Calls("CreateIndexBuffer")[0].a);
  EXPECT_EQ(DWORD(D3DFMT_INDEX16), fake.Calls("CreateIndexBuffer")[0].c);
  const std::vector<float> v = Floats(fake.vertexUploads.back(), 6);
  EXPECT_EQ((std::vector<float>{3, 0, 0, 1, 0, 0.25f}), v);
  fake.ClearLog();
  ASSERT_TRUE(g->Render());
  EXPECT_EQ((std::vector<std::string>{"SetFVF", "SetStreamSource", "SetIndices", "DrawIndexedPrimitive"}), fake.Methods());
  EXPECT_EQ(4u, fake.Calls("DrawIndexedPrimitive")[0].b);
  EXPECT_EQ(2u, fake.Calls("DrawIndexedPrimitive")[0].c);
}

TEST_F(GeometryTest, BoundShaderDescribesTheVerticesInsteadOfTheFvf) {
  struct StubShader : HvVertexShader {
    StubShader() : HvVertexShader("stub", {"", 0}) {}
  };
  HvRef<HvVertexShader> shader = new StubShader;
  HvRef<HvGeometry> g = new HvGeometry({D3DPT_TRIANGLELIST, D3DFVF_XYZ, 3, 0});
  ASSERT_TRUE(g->Refresh());
  device->SetVertexShader(shader.Get());
  fake.ClearLog();
  ASSERT_TRUE(g->Render());
  EXPECT_EQ(0u, fake.Count("SetFVF"));
}

TEST_F(GeometryTest, LostDeviceReleasesAndResetRebuildsTheSameVertices) {
  HvRef<HvGeometry> g = new HvGeometry({D3DPT_TRIANGLELIST, D3DFVF_XYZ, 3, 3});
  for (int i = 0; i < 9; ++i) g->GetPositions()[i] = float(i + 1);
  ASSERT_TRUE(g->Refresh());
  EXPECT_EQ(2, fake.LiveBuffers());
  const std::vector<BYTE> before = fake.vertexUploads.back();
  ASSERT_TRUE(core->GetEnginePool(HvPoolGeometry)->OnDeviceLost());
  EXPECT_EQ(0, fake.LiveBuffers());
  EXPECT_EQ(nullptr, g->GetVertexBuffer());
  ASSERT_TRUE(core->GetEnginePool(HvPoolGeometry)->OnDeviceReset());
  EXPECT_EQ(2, fake.LiveBuffers());
  EXPECT_EQ(before, fake.vertexUploads.back());
}

TEST_F(GeometryTest, FailuresAreReportedAndRetriedOnTheNextRefresh) {
  HvRef<HvGeometry> g = new HvGeometry({D3DPT_TRIANGLELIST, D3DFVF_XYZ, 6, 0});
  fake.caps.MaxPrimitiveCount = 1;
  bool ok = true;
  EXPECT_NE(std::string::npos, MessagesOf([&] { ok = g->Refresh(); }).find("Too many primitives"));
  EXPECT_FALSE(ok);
  fake.caps.MaxPrimitiveCount = 100;
  fake.FailOn("VertexBuffer::Lock");
  EXPECT_NE(std::string::npos, MessagesOf([&] { ok = g->Refresh(); }).find("Error locking vertex buffer"));
  EXPECT_FALSE(ok);
  EXPECT_TRUE(g->HasFlag(HvFlags::Changed));
  fake.ClearFailures();
  EXPECT_TRUE(g->Refresh());
  EXPECT_EQ(1u, fake.Count("CreateVertexBuffer")) << "the buffer made before the failed lock is kept";
}

TEST_F(GeometryTest, CloneCopiesArraysAndMayChangeTheFormat) {
  HvRef<HvGeometry> g = new HvGeometry({D3DPT_TRIANGLELIST, D3DFVF_XYZ | D3DFVF_NORMAL, 3, 3});
  g->GetPositions()[4] = 2.0f;
  g->GetNormals()[2] = 1.0f;
  g->GetIndices()[1] = 2;
  HvRef<HvGeometry> same = g->Clone();
  ASSERT_TRUE(same);
  EXPECT_EQ(2.0f, same->GetPositions()[4]);
  EXPECT_EQ(1.0f, same->GetNormals()[2]);
  EXPECT_EQ(2, same->GetIndices()[1]);
  EXPECT_NE(g->GetPositions(), same->GetPositions());
  HvRef<HvGeometry> lean = g->Clone(D3DFVF_XYZ);
  EXPECT_EQ(nullptr, lean->GetNormals());
  EXPECT_EQ(12u, lean->GetVertexSize());
  float box[6];
  g->GetBoundingBox(box);
  EXPECT_EQ((std::vector<float>{0, 0, 0, 0, 2, 0}), std::vector<float>(box, box + 6));
}
