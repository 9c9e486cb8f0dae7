#include "ImageWriters.h"

#include <cstdio>
#include <cstdint>
#include <jpeglib.h>

namespace {

class Bytes {
 public:
  void U8(uint32_t v) { data.push_back(static_cast<uint8_t>(v)); }
  void U16(uint32_t v) { U8(v); U8(v >> 8); }
  void U32(uint32_t v) { U16(v); U16(v >> 16); }
  void Zeros(size_t n) { data.insert(data.end(), n, 0); }
  std::vector<uint8_t> data;
};

bool Save(const std::string& path, const std::vector<uint8_t>& data) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool written = std::fwrite(data.data(), 1, data.size(), f) == data.size();
  return std::fclose(f) == 0 && written;
}

void PutBgra(Bytes& b, const Color4& c, bool alpha) {
  b.U8(Image::Byte(c.b));
  b.U8(Image::Byte(c.g));
  b.U8(Image::Byte(c.r));
  if (alpha) b.U8(Image::Byte(c.a));
}

// DDS header fields.
constexpr uint32_t kDdsdCaps = 0x1, kDdsdHeight = 0x2, kDdsdWidth = 0x4, kDdsdPitch = 0x8,
                   kDdsdPixelFormat = 0x1000, kDdsdMipMapCount = 0x20000;
constexpr uint32_t kDdpfAlphaPixels = 0x1, kDdpfRgb = 0x40;
constexpr uint32_t kCapsComplex = 0x8, kCapsTexture = 0x1000, kCapsMipMap = 0x400000;
constexpr uint32_t kCaps2CubeAllFaces = 0x200 | 0x400 | 0x800 | 0x1000 | 0x2000 | 0x4000 | 0x8000;

void DdsHeader(Bytes& b, int w, int h, size_t mips, bool cube) {
  b.U32(0x20534444);  // "DDS "
  b.U32(124);
  b.U32(kDdsdCaps | kDdsdHeight | kDdsdWidth | kDdsdPitch | kDdsdPixelFormat | (mips > 1 ? kDdsdMipMapCount : 0));
  b.U32(h);
  b.U32(w);
  b.U32(w * 4);  // pitch of level 0
  b.U32(0);      // depth
  b.U32(mips > 1 ? uint32_t(mips) : 0);
  b.Zeros(11 * 4);
  b.U32(32);  // pixel format size
  b.U32(kDdpfRgb | kDdpfAlphaPixels);
  b.U32(0);  // fourCC
  b.U32(32);
  b.U32(0x00FF0000);
  b.U32(0x0000FF00);
  b.U32(0x000000FF);
  b.U32(0xFF000000);
  b.U32(kCapsTexture | (mips > 1 || cube ? kCapsComplex : 0) | (mips > 1 ? kCapsMipMap : 0));
  b.U32(cube ? kCaps2CubeAllFaces : 0);
  b.Zeros(3 * 4);
}

bool ValidChain(const std::vector<Image>& levels, int w, int h) {
  if (levels.empty()) return false;
  for (const Image& level : levels) {
    if (level.Width() != w || level.Height() != h) return false;
    w = w > 1 ? w / 2 : 1;
    h = h > 1 ? h / 2 : 1;
  }
  return true;
}

void DdsLevels(Bytes& b, const std::vector<Image>& levels) {
  for (const Image& level : levels)
    for (int y = 0; y < level.Height(); ++y)
      for (int x = 0; x < level.Width(); ++x) PutBgra(b, level.At(x, y), true);
}

}  // namespace

bool WriteBmp24(const std::string& path, const Image& img) {
  const uint32_t pitch = (img.Width() * 3 + 3) & ~3u, size = pitch * img.Height();
  Bytes b;
  b.U16(0x4D42);  // "BM"
  b.U32(54 + size);
  b.U32(0);
  b.U32(54);
  b.U32(40);
  b.U32(img.Width());
  b.U32(img.Height());
  b.U16(1);
  b.U16(24);
  b.U32(0);  // BI_RGB
  b.U32(size);
  b.U32(2835);  // 72 dpi
  b.U32(2835);
  b.U32(0);
  b.U32(0);
  for (int y = img.Height() - 1; y >= 0; --y) {
    for (int x = 0; x < img.Width(); ++x) PutBgra(b, img.At(x, y), false);
    b.Zeros(pitch - img.Width() * 3);
  }
  return Save(path, b.data);
}

bool WriteTga(const std::string& path, const Image& img, bool withAlpha) {
  Bytes b;
  b.U8(0);  // no image id
  b.U8(0);  // no colour map
  b.U8(2);  // uncompressed true colour
  b.Zeros(5);
  b.U16(0);
  b.U16(0);
  b.U16(img.Width());
  b.U16(img.Height());
  b.U8(withAlpha ? 32 : 24);
  b.U8(withAlpha ? 8 : 0);  // alpha bits; origin bottom-left
  for (int y = img.Height() - 1; y >= 0; --y)
    for (int x = 0; x < img.Width(); ++x) PutBgra(b, img.At(x, y), withAlpha);
  return Save(path, b.data);
}

bool WriteJpeg(const std::string& path, const Image& img, int quality) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, f);
  cinfo.image_width = img.Width();
  cinfo.image_height = img.Height();
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  cinfo.dct_method = JDCT_ISLOW;  // exact integer transform: same bytes on every machine
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<uint8_t> row(img.Width() * 3);
  for (int y = 0; y < img.Height(); ++y) {
    for (int x = 0; x < img.Width(); ++x) {
      const Color4& c = img.At(x, y);
      row[x * 3] = Image::Byte(c.r);
      row[x * 3 + 1] = Image::Byte(c.g);
      row[x * 3 + 2] = Image::Byte(c.b);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return std::fclose(f) == 0;
}

bool WriteDds(const std::string& path, const std::vector<Image>& levels) {
  if (levels.empty() || !ValidChain(levels, levels[0].Width(), levels[0].Height())) return false;
  Bytes b;
  DdsHeader(b, levels[0].Width(), levels[0].Height(), levels.size(), false);
  DdsLevels(b, levels);
  return Save(path, b.data);
}

bool WriteDdsCube(const std::string& path, const std::array<std::vector<Image>, 6>& faces) {
  if (faces[0].empty()) return false;
  const int size = faces[0][0].Width();
  for (const auto& face : faces)
    if (face.size() != faces[0].size() || !ValidChain(face, size, size)) return false;
  Bytes b;
  DdsHeader(b, size, size, faces[0].size(), true);
  for (const auto& face : faces) DdsLevels(b, face);
  return Save(path, b.data);
}
