// Textures: sharing by file name, the formats the loader reads, translucency, failures, device reset.
#include <gtest/gtest.h>
#include "RealDevice.h"
#include "TestImages.h"
#include "engine/assets/HvTexture.h"
#include <d3dx9.h>

namespace {
// 4 x 3 texels, all opaque, with distinct corners so that a flipped or shifted image shows.
Texels Opaque() {
  Texels t(12, 0xFF808080);
  t[0] = 0xFFFF0000;   // top left: red
  t[3] = 0xFF00FF00;   // top right: green
  t[8] = 0xFF0000FF;   // bottom left: blue
  t[11] = 0xFFFFFFFF;  // bottom right: white
  return t;
}

uint32_t TopLevelTexel(HvTexture* t, int x, int y) {
  D3DLOCKED_RECT r;
  if (FAILED(t->GetD3DTexture()->LockRect(0, &r, nullptr, D3DLOCK_READONLY))) return 0xDEADBEEF;
  uint32_t v = reinterpret_cast<const uint32_t*>(static_cast<const BYTE*>(r.pBits) + y * r.Pitch)[x];
  t->GetD3DTexture()->UnlockRect(0);
  return v;
}

HvTexture* Load(const std::string& path) { return HvTexture::CreateTextureFromFile(path, D3DX_DEFAULT); }

class TextureTest : public ::testing::Test {
protected:
  void SetUp() override { REQUIRE_REAL_DEVICE(); }
  std::string dir = TestFolder();
};
}

TEST_F(TextureTest, OneObjectPerNameAndTheFileIsReadOnce) {
  const std::string path = dir + "shared.bmp";
  ASSERT_TRUE(WriteBmp24(path, 4, 3, Opaque()));
  HvObjectPool* pool = HvCore::GetInstance()->GetPool(HvPoolTexture);
  const size_t before = pool->GetCount();
  HvTexture* first = Load(path);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->GetName(), path);
  EXPECT_FALSE(first->HasFlag(HvFlags::Changed));
  ASSERT_TRUE(DeleteFileA(path.c_str()));  // a second read would now fail
  EXPECT_EQ(Load(path), first);
  EXPECT_EQ(pool->GetCount(), before + 1);

  // Other spellings of the same file are other keys.
  ASSERT_TRUE(WriteBmp24(path, 4, 3, Opaque()));
  std::string upper = dir + "SHARED.BMP", forward = path;
  forward.replace(forward.rfind('\\'), 1, "/");
  HvTexture* byUpper = Load(upper);
  HvTexture* byForward = Load(forward);
  EXPECT_NE(byUpper, nullptr);
  EXPECT_NE(byForward, nullptr);
  EXPECT_NE(byUpper, first);
  EXPECT_NE(byForward, first);
  EXPECT_NE(byForward, byUpper);
}

TEST_F(TextureTest, EveryFormatLoadsWithTheFileSizeAndTexels) {
  const Texels texels = Opaque();
  struct Case {
    const char* file;
    bool (*write)(const std::string&, const Texels&);
    D3DFORMAT format;
    bool exact;  // lossless format: texels compared exactly
  } cases[] = {
    {"f.bmp", [](const std::string& p, const Texels& t) { return WriteBmp24(p, 4, 3, t); }, D3DFMT_R8G8B8, true},
    {"f24.tga", [](const std::string& p, const Texels& t) { return WriteTga(p, 4, 3, 24, t); }, D3DFMT_R8G8B8, true},
    {"f32.tga", [](const std::string& p, const Texels& t) { return WriteTga(p, 4, 3, 32, t); }, D3DFMT_A8R8G8B8, true},
    {"f.dds", [](const std::string& p, const Texels& t) { return WriteDds(p, 4, 3, 1, t); }, D3DFMT_A8R8G8B8, true},
    {"f.jpg", [](const std::string& p, const Texels& t) { return WriteJpeg(p, 4, 3, t); }, D3DFMT_UNKNOWN, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    ASSERT_TRUE(c.write(dir + c.file, texels));
    HvTexture* t = Load(dir + c.file);
    ASSERT_NE(t, nullptr);
    ASSERT_NE(t->GetD3DTexture(), nullptr);
    EXPECT_EQ(t->GetDesc().width, 4u);
    EXPECT_EQ(t->GetDesc().height, 3u);
    EXPECT_FALSE(t->GetDesc().renderTarget);
    if (c.format != D3DFMT_UNKNOWN) {
      EXPECT_EQ(t->GetDesc().format, c.format);
    }
    if (!c.exact) continue;
    EXPECT_EQ(TopLevelTexel(t, 0, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(TopLevelTexel(t, 3, 0) & 0xFFFFFF, 0x00FF00u);
    EXPECT_EQ(TopLevelTexel(t, 0, 2) & 0xFFFFFF, 0x0000FFu);
  }
}

TEST_F(TextureTest, CubeMapFileGivesATwoDimensionalTextureOfOneFace) {
  Texels face(16 * 16, 0xFF204060);
  ASSERT_TRUE(WriteDds(dir + "cube.dds", 16, 16, 6, face));
  HvTexture* t = Load(dir + "cube.dds");
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->GetD3DTexture()->GetType(), D3DRTYPE_TEXTURE);
  EXPECT_EQ(t->GetDesc().width, 16u);
  EXPECT_EQ(TopLevelTexel(t, 5, 5), 0xFF204060u);
}

TEST_F(TextureTest, OnlyA32BitTextureWithAnAlphaBelow255IsTranslucent) {
  Texels texels = Opaque();
  ASSERT_TRUE(WriteTga(dir + "opaque32.tga", 4, 3, 32, texels));
  ASSERT_TRUE(WriteDds(dir + "opaque32.dds", 4, 3, 1, texels));
  texels[11] = 0xFEFFFFFF;  // last texel of the last row: a scan that stops a row or texel early misses it
  ASSERT_TRUE(WriteTga(dir + "last254.tga", 4, 3, 32, texels));
  ASSERT_TRUE(WriteTga(dir + "last254_24.tga", 4, 3, 24, texels));
  texels[11] = 0xFFFFFFFF;
  texels[4] = 0x00FFFFFF;   // first texel of the middle row, fully transparent
  ASSERT_TRUE(WriteTga(dir + "row1.tga", 4, 3, 32, texels));

  EXPECT_FALSE(Load(dir + "opaque32.tga")->HasTranslucentPixels());
  EXPECT_FALSE(Load(dir + "opaque32.dds")->HasTranslucentPixels());
  EXPECT_TRUE(Load(dir + "last254.tga")->HasTranslucentPixels());
  EXPECT_TRUE(Load(dir + "row1.tga")->HasTranslucentPixels());
  EXPECT_FALSE(Load(dir + "last254_24.tga")->HasTranslucentPixels());
}

TEST_F(TextureTest, MissingFileShowsTheMessageAndGivesNull) {
  HvObjectPool* pool = HvCore::GetInstance()->GetPool(HvPoolTexture);
  const size_t before = pool->GetCount();
  HvTexture* t = reinterpret_cast<HvTexture*>(1);
  std::string err = CaptureStderrOf([&] { t = Load("no_such_dir\\missing.tga"); });
  EXPECT_EQ(t, nullptr);
  EXPECT_EQ(pool->GetCount(), before);
  EXPECT_NE(err.find("caption \"Orvanta\", text \"HvTexture::CreateTextureFromFile : Error loadind texture "
                     "no_such_dir\\missing.tga\", style 0x30"),
            std::string::npos)
      << err;
}

TEST_F(TextureTest, RenderTargetIsRemadeAroundAResetAndAManagedTextureIsKept) {
  TextureDesc d;
  d.width = 64;
  d.height = 32;
  d.format = D3DFMT_A8R8G8B8;
  d.renderTarget = true;
  HvRef<HvTexture> target = new HvTexture("unit_render_target", d);
  EXPECT_TRUE(target->HasFlag(HvFlags::Changed));
  EXPECT_EQ(target->GetD3DTexture(), nullptr);
  ASSERT_TRUE(target->Refresh());
  EXPECT_FALSE(target->HasFlag(HvFlags::Changed));
  ASSERT_NE(target->GetD3DTexture(), nullptr);

  EXPECT_TRUE(target->OnDeviceLost());
  EXPECT_EQ(target->GetD3DTexture(), nullptr);
  EXPECT_TRUE(target->HasFlag(HvFlags::Changed));
  EXPECT_TRUE(target->OnDeviceReset());
  ASSERT_NE(target->GetD3DTexture(), nullptr);
  EXPECT_FALSE(target->HasFlag(HvFlags::Changed));
  D3DSURFACE_DESC level;
  target->GetD3DTexture()->GetLevelDesc(0, &level);
  EXPECT_EQ(level.Width, 64u);
  EXPECT_EQ(level.Height, 32u);
  EXPECT_EQ(level.Format, D3DFMT_A8R8G8B8);
  EXPECT_EQ(level.Usage, DWORD(D3DUSAGE_RENDERTARGET));
  EXPECT_EQ(level.Pool, D3DPOOL_DEFAULT);
  EXPECT_EQ(target->GetD3DTexture()->GetLevelCount(), 1u);

  ASSERT_TRUE(WriteBmp24(dir + "managed.bmp", 4, 3, Opaque()));
  HvTexture* managed = Load(dir + "managed.bmp");
  IDirect3DTexture9* before = managed->GetD3DTexture();
  EXPECT_TRUE(managed->OnDeviceLost());
  EXPECT_TRUE(managed->OnDeviceReset());
  EXPECT_EQ(managed->GetD3DTexture(), before);

  EXPECT_TRUE(target->Release());
  EXPECT_EQ(target->GetD3DTexture(), nullptr);
  EXPECT_TRUE(target->HasFlag(HvFlags::Released));
}

TEST_F(TextureTest, SamplerRecordDefaultsAndFieldOrder) {
  HvRef<HvTextureSampler> s = new HvTextureSampler;
  const uint32_t defaults[] = {D3DTADDRESS_WRAP, D3DTADDRESS_WRAP, D3DTADDRESS_WRAP, D3DTEXF_POINT, D3DTEXF_POINT, D3DTEXF_NONE};
  for (uint32_t i = 0; i < 6; ++i) EXPECT_EQ(s->Get(i), defaults[i]) << i;
  s->SetSamplerField(HvTextureSampler::AddressV, D3DTADDRESS_CLAMP);
  s->SetSamplerField(HvTextureSampler::MipFilter, D3DTEXF_LINEAR);
  s->SetSamplerField(6, 99);  // out of range: ignored
  EXPECT_EQ(s->Get(1), uint32_t(D3DTADDRESS_CLAMP));
  EXPECT_EQ(s->Get(5), uint32_t(D3DTEXF_LINEAR));
  EXPECT_EQ(HvTextureSampler::StateOf(1), D3DSAMP_ADDRESSV);
  EXPECT_EQ(HvTextureSampler::StateOf(5), D3DSAMP_MIPFILTER);
}
