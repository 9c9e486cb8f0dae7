// Damaged and hostile texture files through the real texture loader (HvTexture over the graphics
// utility layer) on the test device, seeded with the show's own files of every format it uses: BMP,
// TGA with 24 and 32 bits, JPEG, DDS with a plain texture and a cube map.
#include "Fuzz.h"
#include "RealDevice.h"
#include "engine/assets/HvTexture.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <d3dx9.h>
#include <cstring>

namespace {
// A header field: offset, size in bytes, byte order.
struct Field {
  size_t at, size;
  bool bigEndian;
  const char* name;
};

struct TextureSeed {
  std::string name, extension, bytes;
  std::vector<Field> fields;  // the fields that say how large the picture is and how it is laid out
};

// The size fields of a JPEG sit in its start-of-frame segment, wherever that is.
std::vector<Field> JpegFields(const std::string& b) {
  std::vector<Field> fields;
  for (size_t i = 2; i + 9 < b.size();) {
    if (uint8_t(b[i]) != 0xFF) break;
    const uint8_t marker = uint8_t(b[i + 1]);
    const size_t length = size_t(uint8_t(b[i + 2])) << 8 | uint8_t(b[i + 3]);
    fields.push_back({i + 2, 2, true, "segment length"});
    if (marker >= 0xC0 && marker <= 0xC2) {
      fields.push_back({i + 5, 2, true, "height"});
      fields.push_back({i + 7, 2, true, "width"});
      fields.push_back({i + 9, 1, false, "components"});
    }
    if (marker == 0xDA) break;  // the entropy-coded data follows
    i += 2 + length;
  }
  return fields;
}

std::vector<Field> FieldsOf(const std::string& extension, const std::string& bytes) {
  if (extension == "bmp")
    return {{2, 4, false, "file size"}, {10, 4, false, "pixel offset"}, {14, 4, false, "header size"},
            {18, 4, false, "width"},    {22, 4, false, "height"},       {28, 2, false, "bits per pixel"},
            {30, 4, false, "compression"}, {34, 4, false, "image size"}, {46, 4, false, "palette size"}};
  if (extension == "tga")
    return {{0, 1, false, "id length"},  {1, 1, false, "colour map type"}, {2, 1, false, "image type"},
            {5, 2, false, "colour map length"}, {12, 2, false, "width"}, {14, 2, false, "height"},
            {16, 1, false, "bits per pixel"}, {17, 1, false, "descriptor"}};
  if (extension == "dds")
    return {{4, 4, false, "header size"}, {8, 4, false, "flags"},    {12, 4, false, "height"},
            {16, 4, false, "width"},       {20, 4, false, "pitch"},  {24, 4, false, "depth"},
            {28, 4, false, "mip count"},   {80, 4, false, "pixel format flags"}, {84, 4, false, "four CC"},
            {88, 4, false, "bits per pixel"}, {92, 4, false, "red mask"}, {108, 4, false, "caps"},
            {112, 4, false, "cube faces"}};
  return JpegFields(bytes);
}

void SetField(std::string& bytes, const Field& f, uint32_t v) {
  for (size_t k = 0; k < f.size && f.at + k < bytes.size(); ++k)
    bytes[f.at + k] = char(v >> (8 * (f.bigEndian ? f.size - 1 - k : k)));
}

std::string Mutate(const TextureSeed& seed, std::string& bytes, FuzzRun& run) {
  const Field* field = seed.fields.empty() ? nullptr : &seed.fields[run.Below(unsigned(seed.fields.size()))];
  switch (run.Below(5)) {
    case 0: {
      const unsigned flips = 1 + run.Below(4);
      // Flips in the first bytes hit the headers far more often than the pixels.
      std::string head = bytes.substr(0, std::min<size_t>(bytes.size(), run.Below(2) ? 160 : bytes.size()));
      FuzzFlipBytes(head, run, flips, std::string("\x00\xFF\x7F\x80\x01", 5));
      bytes.replace(0, head.size(), head);
      return std::to_string(flips) + " bytes flipped";
    }
    case 1: {  // truncated: inside the header, or the pixels cut short
      const size_t at = run.Below(3) == 0 ? run.Below(160) : run.Below(unsigned(bytes.size()));
      bytes.resize(std::min(bytes.size(), at));
      return "cut at byte " + std::to_string(at);
    }
    case 2:
    case 3: {  // a size, pitch or layout field made absurd
      if (!field) break;
      const uint32_t values[] = {0, 1, 2, 3, 7, 15, 16, 24, 31, 32, 33, 64, 255, 4095, 4096, 8192, 8193, 16385,
                                 65535, 65536, 100000, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0xFFFFFFFEu};
      const uint32_t v = values[run.Below(sizeof values / sizeof *values)];
      SetField(bytes, *field, v);
      return std::string(field->name) + " -> " + std::to_string(v);
    }
    case 4: {  // a field one off, as a wrong pitch or size would be
      if (!field) break;
      uint32_t v = 0;
      for (size_t k = 0; k < field->size && field->at + k < bytes.size(); ++k)
        v |= uint32_t(uint8_t(bytes[field->at + k])) << (8 * (field->bigEndian ? field->size - 1 - k : k));
      const uint32_t changed = run.Below(2) ? v + 1 + run.Below(4) : v * 2;
      SetField(bytes, *field, changed);
      return std::string(field->name) + " " + std::to_string(v) + " -> " + std::to_string(changed);
    }
  }
  FuzzFlipBytes(bytes, run, 1, "");
  return "1 byte flipped";
}

class TextureFuzzTest : public ::testing::Test {
protected:
  void SetUp() override {
    REQUIRE_REAL_DEVICE();
    Pool()->Update();
    before = Pool()->GetCount();
  }
  static HvObjectPool* Pool() { return HvCore::GetInstance()->GetPool(HvPoolTexture); }

  // Loads `bytes` as a texture file: it loads without a message, or fails with exactly one; once
  // swept, the pool holds no more than before.
  void Check(const std::string& extension, const std::string& bytes, FuzzRun* run, const std::string& label,
             bool mustFail = false) {
    const std::string file = TestFolder() + "fuzz." + extension;
    ASSERT_TRUE(FuzzWriteFile(file, bytes));
    int messages = 0;
    const std::string log = FuzzCapture(
        [&] {
          HvTexture* t = HvTexture::CreateTextureFromFile(file, D3DX_DEFAULT);
          if (!t) return;
          t->HasTranslucentPixels();  // as a model's material does: reads every texel of the top level
          if (run) run->Loaded();
        },
        messages);
    const bool loaded = Pool()->FindByName(file) != nullptr;
    ASSERT_FALSE(loaded && mustFail) << label << ": loaded";
    if (loaded) ASSERT_EQ(messages, 0) << label << ": " << log;
    else {
      ASSERT_EQ(messages, 1) << label << ": " << log;
      ASSERT_NE(log.find("Error loadind texture " + file), std::string::npos) << label << ": " << log;
    }
    Pool()->Update();
    ASSERT_EQ(Pool()->GetCount(), before) << label;
  }

  size_t before = 0;
};
}  // namespace

TEST_F(TextureFuzzTest, DamagedTexturesLoadOrFailWithOneMessage) {
  const char* const files[] = {"Blob\\BlobColor.bmp", "Star\\star_core.bmp", "Station\\ice.tga", "Tunnel\\tun_flare.tga",
                               "Station\\wire.jpg", "Station\\edgeimage.dds", "Station\\CubeTexture.dds"};
  std::vector<TextureSeed> seeds;
  for (const char* f : files) {
    TextureSeed seed;
    seed.name = f;
    seed.extension = seed.name.substr(seed.name.rfind('.') + 1);
    seed.bytes = FuzzReadFile(std::string(ORVANTA_TEST_DATA) + "\\" + f);
    ASSERT_FALSE(seed.bytes.empty()) << f;
    seed.fields = FieldsOf(seed.extension, seed.bytes);
    Check(seed.extension, seed.bytes, nullptr, seed.name);  // each seed loads as it is
    seeds.push_back(seed);
  }
  EXPECT_EQ(seeds[2].bytes[16], 24) << "a 24-bit TGA among the seeds";
  EXPECT_EQ(seeds[3].bytes[16], 32) << "a 32-bit TGA among the seeds";
  EXPECT_EQ(uint8_t(seeds[6].bytes[113]), 0xFE) << "a cube map among the seeds";

  FuzzRun run("textures", 20);
  while (run.Next()) {
    const TextureSeed& seed = seeds[run.Below(unsigned(seeds.size()))];
    std::string bytes = seed.bytes;
    std::string what = Mutate(seed, bytes, run);
    if (run.Below(4) == 0) what += ", " + Mutate(seed, bytes, run);
    run.Describe(seed.name + ": " + what);
    Check(seed.extension, bytes, &run, run.Where());
    if (HasFatalFailure()) return;
  }
}

// Faults the fuzzing found: headers that made the graphics library read past the data or count
// through billions of mip levels. Each is refused before the library sees it.
TEST_F(TextureFuzzTest, HeadersClaimingMoreThanTheFileHoldsAreRefused) {
  auto seed = [](const char* file) { return FuzzReadFile(std::string(ORVANTA_TEST_DATA) + "\\" + file); };
  auto with = [](std::string bytes, size_t at, uint32_t value, size_t size = 4) {
    for (size_t k = 0; k < size; ++k) bytes[at + k] = char(value >> (8 * k));
    return bytes;
  };
  const std::string bmp = seed("Blob\\BlobColor.bmp"), tga = seed("Tunnel\\tun_flare.tga");
  const std::string dds = seed("Station\\edgeimage.dds"), cube = seed("Station\\CubeTexture.dds");
  const struct {
    const char *what, *extension;
    std::string bytes;
  } cases[] = {
      {"BMP of width -1", "bmp", with(bmp, 18, 0xFFFFFFFFu)},
      {"BMP of 65536 rows in 822 bytes", "bmp", with(bmp, 22, 65536)},
      {"BMP of height -2^31", "bmp", with(bmp, 22, 0x80000000u)},
      {"TGA of 65535 x 128 texels in 64 KB", "tga", with(tga, 12, 65535, 2)},
      {"TGA cut in its pixels", "tga", tga.substr(0, tga.size() / 2)},
      {"DDS of 2^31 - 1 mip levels", "dds", with(dds, 28, 0x7FFFFFFFu)},
      {"DDS pitch-sized width", "dds", with(dds, 16, 0x7FFFFFFFu)},
      {"cube map cut after three faces", "dds", cube.substr(0, cube.size() / 2)},
  };
  for (const auto& c : cases) Check(c.extension, c.bytes, nullptr, c.what, true);
}
