// The .X loader on small files written here: frames, matrices, meshes with materials and textures,
// animation tracks, bad input; and the show's real tunnel models.
#include <gtest/gtest.h>
#include "RealDevice.h"
#include "TestImages.h"
#include "engine/assets/HvTexture.h"
#include "engine/assets/HvXFileLoader.h"
#include "engine/render/HvAlphaProperty.h"
#include "engine/render/HvAnimationProperty.h"
#include "engine/render/HvGeometry.h"
#include "engine/render/HvMaterialProperty.h"
#include "engine/render/HvNode.h"
#include "engine/render/HvTexturingProperty.h"
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>

namespace {
std::string F(float v) {
  char s[32];
  snprintf(s, sizeof s, "%.6f", v);
  return s;
}

std::string MatrixText(const D3DXMATRIX& m) {
  std::string t = "FrameTransformMatrix { ";
  for (int i = 0; i < 16; ++i) t += F(m[i]) + (i < 15 ? "," : ";;");
  return t + " }\n";
}

D3DXMATRIX Translation(float x, float y, float z) {
  D3DXMATRIX m;
  return *D3DXMatrixTranslation(&m, x, y, z);
}

std::string MaterialText(float red, const std::string& texture = "") {
  std::string t = "Material { " + F(red) + ";0.500000;0.250000;1.000000;; 8.000000; 0.100000;0.200000;0.300000;; "
                  "0.000000;0.000000;0.000000;;";
  if (!texture.empty()) t += " TextureFilename { \"" + texture + "\"; }";
  return t + " }\n";
}

// A strip of `faces` triangles over 2 + faces vertices along x, with normals, texture coordinates
// and the given material per face; `materials` is the text of the Material objects, one per index used.
std::string MeshText(const std::string& name, const std::vector<int>& faceMaterials, const std::string& materials,
                     int badIndex = -1) {
  const int faces = int(faceMaterials.size()), vertices = faces + 2;
  std::string t = "Mesh " + name + " {\n" + std::to_string(vertices) + ";\n";
  for (int v = 0; v < vertices; ++v) t += F(float(v / 2)) + ";" + F(float(v % 2)) + ";0.000000;" + (v + 1 < vertices ? "," : ";");
  t += "\n" + std::to_string(faces) + ";\n";
  for (int f = 0; f < faces; ++f)
    t += "3;" + std::to_string(f) + "," + std::to_string(f + 1) + "," + std::to_string(f == badIndex ? 999 : f + 2) +
         (f + 1 < faces ? ";," : ";;");
  t += "\nMeshNormals { 1; 0.000000;0.000000;-1.000000;; " + std::to_string(faces) + ";";
  for (int f = 0; f < faces; ++f) t += std::string("3;0,0,0;") + (f + 1 < faces ? "," : ";");
  t += " }\nMeshTextureCoords { " + std::to_string(vertices) + ";";
  for (int v = 0; v < vertices; ++v) t += F(float(v) / 10) + ";" + F(float(v % 2)) + ";" + (v + 1 < vertices ? "," : ";");
  const int materialCount = *std::max_element(faceMaterials.begin(), faceMaterials.end()) + 1;
  t += " }\nMeshMaterialList { " + std::to_string(materialCount) + "; " + std::to_string(faces) + ";";
  for (int f = 0; f < faces; ++f) t += std::to_string(faceMaterials[f]) + (f + 1 < faces ? "," : ";");
  return t + "\n" + materials + "}\n}\n";
}

class XFileLoaderTest : public ::testing::Test {
protected:
  void SetUp() override {
    REQUIRE_REAL_DEVICE();
    GetCurrentDirectoryA(MAX_PATH, savedDirectory);
    SetCurrentDirectoryA(TestFolder().c_str());  // texture names in the files are plain names
    // Earlier tests' models leave one tree level per sweep.
    size_t total = 0, last;
    do {
      last = total;
      Sweep();
      total = 0;
      for (uint32_t p : {HvPoolGeometry, HvPoolNode, HvPoolTexture}) total += before[p] = Pool(p)->GetCount();
    } while (total != last);
  }
  void TearDown() override {
    if (savedDirectory[0]) SetCurrentDirectoryA(savedDirectory);
  }

  static HvObjectPool* Pool(uint32_t index) { return HvCore::GetInstance()->GetPool(index); }
  static void Sweep() {
    for (uint32_t p : {HvPoolGeometry, HvPoolNode, HvPoolTexture}) Pool(p)->Update();
  }
  void ExpectNoLeakAfterSweep() {
    Sweep();
    for (uint32_t p : {HvPoolGeometry, HvPoolNode, HvPoolTexture}) EXPECT_EQ(Pool(p)->GetCount(), before[p]) << "pool " << p;
  }

  static void Write(const std::string& file, const std::string& body) {
    std::ofstream(file, std::ios::binary) << "xof 0302txt 0032\n" << body;
  }

  // Loads `body` written as `file`; the loaded root is held by `model`.
  HvNode* Load(const std::string& file, const std::string& body) {
    Write(file, body);
    model = LoadXFile(file);
    return model.Get();
  }

  // Loading `body` fails; returns the messages shown.
  std::string FailingLoad(const std::string& file, const std::string& body) {
    Write(file, body);
    HvNode* got = reinterpret_cast<HvNode*>(1);
    const std::string messages = CaptureStderrOf([&] { got = LoadXFile(file); });
    EXPECT_EQ(got, nullptr);
    return messages;
  }

  template <class P> static P* Property(HvNode* n, uint32_t kind) { return static_cast<P*>(n->FindProperty(kind, 0)); }

  char savedDirectory[MAX_PATH] = {};
  size_t before[HvPoolCount] = {};
  HvRef<HvNode> model;
};
}

TEST_F(XFileLoaderTest, MeshWithThreeMaterialsPutsSubsetsOnTheFrameAndTwoChildren) {
  const std::string materials = MaterialText(0.0f) + MaterialText(0.5f) + MaterialText(1.0f);
  HvNode* root = Load("three.x", "Frame Strip {\n" + MeshText("S", {2, 0, 1, 2, 0, 1}, materials) + "}\n");
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->GetName(), "three.x");
  ASSERT_EQ(root->GetChildCount(), 1u);
  HvNode* strip = root->GetChild(0);
  EXPECT_EQ(strip->GetName(), "Strip");
  ASSERT_EQ(strip->GetChildCount(), 2u);
  HvNode* subsetNodes[3] = {strip, strip->GetChild(0), strip->GetChild(1)};
  EXPECT_EQ(subsetNodes[1]->GetName(), "_unknown_node_name_");
  EXPECT_EQ(subsetNodes[2]->GetName(), "_unknown_node_name_");
  for (int a = 0; a < 3; ++a) {
    SCOPED_TRACE(a);
    HvGeometry* g = subsetNodes[a]->GetGeometry();
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->GetVertexFormat(), uint32_t(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1));
    EXPECT_EQ(g->GetPrimitiveType(), uint32_t(D3DPT_TRIANGLELIST));
    ASSERT_EQ(g->GetVertexCount(), 6u);
    ASSERT_EQ(g->GetIndexCount(), 6u);
    EXPECT_NE(g->GetVertexBuffer(), nullptr);
    // Triangle t of material a is the file's face (a + 1) % 3 + 3t, with corners f, f+1, f+2.
    for (int t = 0; t < 2; ++t) {
      const int face = (a + 1) % 3 + 3 * t;
      for (int k = 0; k < 3; ++k) {
        const uint16_t i = g->GetIndices()[t * 3 + k];
        ASSERT_LT(i, 6);
        const int v = face + k;
        EXPECT_EQ(g->GetPositions()[i * 3], float(v / 2));
        EXPECT_EQ(g->GetPositions()[i * 3 + 1], float(v % 2));
        EXPECT_FLOAT_EQ(g->GetTexCoords()[i * 3], float(v) / 10);
        EXPECT_EQ(g->GetNormals()[i * 3 + 2], -1.0f);
      }
    }
    auto* m = Property<HvMaterialProperty>(subsetNodes[a], HvPropertyMaterial);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->material->color[0], 0.5f * a);
    EXPECT_EQ(m->material->color[1], 0.5f);
    EXPECT_EQ(m->material->specular[2], 0.3f);
    EXPECT_EQ(m->material->power, 8.0f);
    EXPECT_EQ(Property<HvTexturingProperty>(subsetNodes[a], HvPropertyTexturing), nullptr);
  }
}

TEST_F(XFileLoaderTest, FrameMatricesNamelessFramesAndReferences) {
  HvNode* root = Load("frames.x",
                      "Frame Outer {\n" + MatrixText(Translation(1, 0, 0)) + MatrixText(Translation(0, 2, 0)) +
                          MatrixText(Translation(0, 0, 3)) +
                          "Frame {\n" + MatrixText(Translation(0, 0, 5)) + MeshText("Inner", {0}, MaterialText(1)) +
                          "}\nFrame Child { }\n}\nFrame Copy { { Child } }\n");
  ASSERT_NE(root, nullptr);
  HvNode* outer = root->FindNode("Outer");
  ASSERT_NE(outer, nullptr);
  // First matrix: pre-transform; second: post-transform; the third and the nameless frame's are
  // ignored, as the node's two slots are taken.
  EXPECT_TRUE(outer->HasFlag(HvNodeFlags::UsePreTransform | HvNodeFlags::UsePostTransform));
  EXPECT_EQ(outer->GetMatrix(HvMatrixPreTransform)._41, 1.0f);
  EXPECT_EQ(outer->GetMatrix(HvMatrixPostTransform)._42, 2.0f);
  EXPECT_EQ(outer->GetMatrix(HvMatrixPostTransform)._43, 0.0f);
  // The nameless frame gave its mesh to Outer.
  ASSERT_NE(outer->GetGeometry(), nullptr);
  EXPECT_EQ(outer->GetGeometry()->GetIndexCount(), 3u);
  ASSERT_EQ(outer->GetChildCount(), 1u);
  EXPECT_EQ(outer->GetChild(0)->GetName(), "Child");
  // The reference made a node of its own under Copy.
  HvNode* copy = root->FindNode("Copy");
  ASSERT_NE(copy, nullptr);
  ASSERT_EQ(copy->GetChildCount(), 1u);
  EXPECT_EQ(copy->GetChild(0)->GetName(), "Child");
  EXPECT_NE(copy->GetChild(0), outer->GetChild(0));
}

TEST_F(XFileLoaderTest, AnimationKeysOfEveryKindReachTheirFrames) {
  D3DXMATRIX matrixKey, scale, rotation;
  D3DXMatrixScaling(&scale, 2, 2, 2);
  D3DXMatrixRotationY(&rotation, 0.5f);
  matrixKey = scale * rotation * Translation(7, 8, 9);
  std::string matrixValues;
  for (int i = 0; i < 16; ++i) matrixValues += F(matrixKey[i]) + (i < 15 ? "," : ";;");
  HvNode* root = Load(
      "anim.x",
      "Frame A { Frame B { } }\nFrame M { }\n"
      "AnimationSet Walk {\n"
      " Animation { { B } AnimationKey { 0; 2; 0;4;1.000000,0.000000,0.000000,0.000000;;, "
      "4800;4;0.000000,0.000000,1.000000,0.000000;;; }\n"
      "  AnimationKey { 1; 1; 0;3;1.000000,2.000000,3.000000;;; }\n"
      "  AnimationKey { 2; 1; 0;3;1.000000,1.000000,1.000000;;; }\n"
      "  AnimationKey { 2; 2; 100;3;4.000000,5.000000,6.000000;;, 9600;3;7.000000,8.000000,9.000000;;; }\n"
      "  AnimationOptions { 1; 0; } }\n"
      " Animation { AnimationKey { 4; 1; 2400;16;" + matrixValues + ";; } { M } }\n"
      "}\n");
  ASSERT_NE(root, nullptr);
  auto* b = Property<HvAnimationProperty>(root->FindNode("B"), HvPropertyAnimation);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(Property<HvAnimationProperty>(root->FindNode("A"), HvPropertyAnimation), nullptr);
  ASSERT_EQ(b->rotationKeys.size(), 2u);
  EXPECT_EQ(b->rotationKeys[1].time, 4800u);
  EXPECT_EQ(b->rotationKeys[1].y, 1.0f);  // file order w, x, y, z
  ASSERT_EQ(b->scaleKeys.size(), 1u);
  EXPECT_EQ(b->scaleKeys[0].z, 3.0f);
  ASSERT_EQ(b->positionKeys.size(), 2u);  // the later position keys replaced the earlier ones
  EXPECT_EQ(b->positionKeys[1].time, 9600u);
  EXPECT_EQ(b->GetLastKeyTime(), 9600u);

  auto* m = Property<HvAnimationProperty>(root->FindNode("M"), HvPropertyAnimation);
  ASSERT_NE(m, nullptr);
  ASSERT_EQ(m->rotationKeys.size(), 1u);
  EXPECT_TRUE(m->matrixKeys.empty());
  EXPECT_EQ(m->positionKeys[0].time, 2400u);
  EXPECT_NEAR(m->positionKeys[0].y, 8.0f, 1e-5f);
  EXPECT_NEAR(m->scaleKeys[0].x, 2.0f, 1e-5f);
  // The decomposed keys rebuild the matrix.
  const D3DXMATRIX rebuilt = m->Sample(2400, Translation(0, 0, 0));
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(rebuilt[i], matrixKey[i], 1e-4f) << i;
}

TEST_F(XFileLoaderTest, TexturesAreSharedAndTranslucentOnesGetAnAlphaPropertyFirst) {
  Texels opaque(16, 0xFF8040C0), translucent(16, 0xFF8040C0);
  translucent[5] = 0x80FFFFFF;
  ASSERT_TRUE(WriteBmp24("share_wall.bmp", 4, 4, opaque));
  ASSERT_TRUE(WriteTga("share_glow.tga", 4, 4, 32, translucent));
  ASSERT_TRUE(WriteTga("share_solid.tga", 4, 4, 32, opaque));
  const std::string body = "Frame P { " + MeshText("P", {0}, MaterialText(1, "share_wall.bmp")) + " }\n" +
                           "Frame Q { " + MeshText("Q", {0}, MaterialText(1, "share_wall.bmp")) + " }\n" +
                           "Frame R { " + MeshText("R", {0}, MaterialText(1, "share_glow.tga")) + " }\n" +
                           "Frame S { " + MeshText("S", {0}, MaterialText(1, "share_solid.tga")) + " }\n";
  HvNode* root = Load("textured.x", body);
  ASSERT_NE(root, nullptr);
  auto texture = [&](const char* node) {
    auto* t = Property<HvTexturingProperty>(root->FindNode(node), HvPropertyTexturing);
    return t ? t->GetTexture(0) : nullptr;
  };
  ASSERT_NE(texture("P"), nullptr);
  EXPECT_EQ(texture("P"), texture("Q"));
  EXPECT_EQ(texture("P")->GetName(), "share_wall.bmp");
  EXPECT_EQ(Property<HvAlphaProperty>(root->FindNode("P"), HvPropertyAlpha), nullptr);
  EXPECT_EQ(Property<HvAlphaProperty>(root->FindNode("S"), HvPropertyAlpha), nullptr);  // 32-bit but opaque

  HvNode* r = root->FindNode("R");
  ASSERT_EQ(r->GetPropertyCount(0), 3u);
  EXPECT_EQ(r->GetProperty(0, 0)->GetKind(), uint32_t(HvPropertyMaterial));
  ASSERT_EQ(r->GetProperty(1, 0)->GetKind(), uint32_t(HvPropertyAlpha));
  EXPECT_EQ(r->GetProperty(2, 0)->GetKind(), uint32_t(HvPropertyTexturing));
  auto* alpha = static_cast<HvAlphaProperty*>(r->GetProperty(1, 0));
  EXPECT_EQ(alpha->bucket, 3u);
  EXPECT_EQ(alpha->srcBlend, uint32_t(D3DBLEND_SRCALPHA));
  EXPECT_EQ(alpha->destBlend, uint32_t(D3DBLEND_INVSRCALPHA));

  // A second file naming the same texture loads no new one.
  const size_t textures = Pool(HvPoolTexture)->GetCount();
  HvRef<HvNode> second(LoadXFile("textured.x"));
  ASSERT_TRUE(second);
  EXPECT_EQ(Pool(HvPoolTexture)->GetCount(), textures);
  auto* t = Property<HvTexturingProperty>(second->FindNode("Q"), HvPropertyTexturing);
  EXPECT_EQ(t->GetTexture(0), texture("P"));
}

TEST_F(XFileLoaderTest, DroppedModelLeavesThePoolsAtTheNextSweep) {
  Texels opaque(16, 0xFF8040C0);
  ASSERT_TRUE(WriteBmp24("drop_wall.bmp", 4, 4, opaque));
  ASSERT_NE(Load("drop.x", "Frame D { " + MeshText("D", {0, 1}, MaterialText(1, "drop_wall.bmp") + MaterialText(0)) + " }"),
            nullptr);
  model.Reset();
  // One sweep per tree level at most: the root goes first, its children the sweep after.
  for (int i = 0; i < 4; ++i) Sweep();
  ExpectNoLeakAfterSweep();
}

TEST_F(XFileLoaderTest, BadInputEndsWithItsMessageAndLeavesNothingBehind) {
  Texels opaque(16, 0xFF8040C0);
  ASSERT_TRUE(WriteBmp24("bad_first.bmp", 4, 4, opaque));
  const std::string goodMesh = "Frame G { " + MeshText("G", {0}, MaterialText(1, "bad_first.bmp")) + " }\n";
  struct Case {
    const char* file;
    std::string body;
    const char* message;  // the only message shown
  } cases[] = {
    {"syntax.x", goodMesh + "Frame H { FrameTransformMatrix { 1.000000,2.000000 } }\n", "Error parsing file 'syntax.x'"},
    {"integer.x", goodMesh + "Frame H { FrameTransformMatrix { 1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;; } }\n",
     "Error parsing file 'integer.x'"},
    {"index.x", goodMesh + "Frame H { " + MeshText("H", {0, 0}, MaterialText(1), 1) + " }\n",
     "Invalid data in file 'index.x'"},
    {"noframe.x", goodMesh + "AnimationSet { Animation { { Nowhere } AnimationKey { 2; 1; 0;3;1.000000,1.000000,1.000000;;; } } }\n",
     "Error parsing file 'noframe.x'"},
    {"outside.x", goodMesh + "Frame Holder { AnimationSet { Animation { { G } AnimationKey { 2; 1; 0;3;1.000000,1.000000,1.000000;;; } } } }\n",
     "Invalid data in file 'outside.x'"},
    {"texture.x", goodMesh + "Frame H { " + MeshText("H", {0}, MaterialText(1, "nowhere.bmp")) + " }\n",
     "HvTexture::CreateTextureFromFile : Error loadind texture nowhere.bmp"},
    {"keys.x", goodMesh + "AnimationSet { Animation { { G } AnimationKey { 2; 1; 0;2;1.000000,1.000000;;; } } }\n",
     "Invalid data in file 'keys.x'"},
    {"garbage.x", "BM6 not a model at all", "Error parsing file 'garbage.x'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string messages = FailingLoad(c.file, c.body);
    EXPECT_NE(messages.find(c.message), std::string::npos) << messages;
    EXPECT_EQ(messages.find("MessageBox:"), messages.rfind("MessageBox:")) << messages;
    ExpectNoLeakAfterSweep();
  }
  EXPECT_NE(CaptureStderrOf([] { EXPECT_EQ(LoadXFile("missing.x"), nullptr); }).find("File 'missing.x' doesn't exist"),
            std::string::npos);
  ExpectNoLeakAfterSweep();
}

// The show's generated models, as the tunnel scene uses them.
TEST_F(XFileLoaderTest, TunnelModelsHaveTheNodesTheSceneLooksUp) {
  char data[MAX_PATH];
  GetFullPathNameA(ORVANTA_TEST_DATA "\\Tunnel", MAX_PATH, data, nullptr);
  ASSERT_TRUE(SetCurrentDirectoryA(data)) << data;
  const DWORD start = GetTickCount();
  HvRef<HvNode> tunnel(LoadXFile("tunnel.X"));
  const DWORD loadMs = GetTickCount() - start;
  ASSERT_TRUE(tunnel);
  for (const char* name : {"Tunnel", "Geo_camera", "Geo_camera_target", "Geo_omni01", "Geo_omni02"}) {
    HvNode* n = tunnel->FindNode(name);
    ASSERT_NE(n, nullptr) << name;
    EXPECT_EQ(n->GetParent(), tunnel.Get()) << name;
  }
  size_t nodes = 0, geometries = 0, triangles = 0, vertices = 0;
  std::function<void(HvNode*)> count = [&](HvNode* n) {
    ++nodes;
    if (HvGeometry* g = n->GetGeometry()) {
      ++geometries;
      triangles += g->GetPrimitiveCount();
      vertices += g->GetVertexCount();
    }
    for (size_t i = 0; i < n->GetChildCount(); ++i) count(n->GetChild(i));
  };
  count(tunnel->FindNode("Tunnel"));
  EXPECT_GT(geometries, 0u);
  EXPECT_GT(triangles, 1000u);
  EXPECT_EQ(tunnel->FindNode("Geo_camera")->GetGeometry(), nullptr);
  auto* path = static_cast<HvAnimationProperty*>(tunnel->FindNode("Geo_camera")->FindProperty(HvPropertyAnimation, 0));
  ASSERT_NE(path, nullptr);
  EXPECT_GE(path->GetLastKeyTime(), 441600u);
  printf("[ figures  ] tunnel.X: %lu ms, %zu nodes under Tunnel, %zu geometries, %zu triangles, %zu vertices\n",
         static_cast<unsigned long>(loadMs), nodes, geometries, triangles, vertices);

  HvRef<HvNode> light(LoadXFile("Light.X"));
  ASSERT_TRUE(light);
  HvNode* flare = light->GetChildCount() ? light->GetChild(0) : nullptr;
  ASSERT_NE(flare, nullptr);
  ASSERT_NE(flare->GetGeometry(), nullptr);
  EXPECT_EQ(flare->GetGeometry()->GetVertexFormat(), 0x112u);
  EXPECT_NE(flare->FindProperty(HvPropertyAlpha, 0), nullptr);  // the flare texture fades out
  EXPECT_NE(flare->FindProperty(HvPropertyTexturing, 0), nullptr);
}
