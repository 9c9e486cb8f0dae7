// Writes a stand-in for the dialog picture: a 24-bit BMP of 150 x 106 pixels (the 100 x 65 dialog-unit
// picture frame at the dialog font's usual base units), a dark blue gradient with a light border.
#include <cstdint>
#include <cstdio>
#include <vector>

static void Put16(std::vector<uint8_t>& b, uint32_t v) { b.push_back(v & 0xFF); b.push_back((v >> 8) & 0xFF); }
static void Put32(std::vector<uint8_t>& b, uint32_t v) { Put16(b, v & 0xFFFF); Put16(b, v >> 16); }

int main(int argc, char** argv) {
  if (argc != 2) { fprintf(stderr, "usage: orvanta_dialogbmp FILE\n"); return 2; }
  const uint32_t width = 150, height = 106;
  const uint32_t stride = (width * 3 + 3) & ~3u;  // rows padded to 4 bytes
  const uint32_t headerSize = 14 + 40, imageSize = stride * height;
  std::vector<uint8_t> b;
  b.push_back('B'); b.push_back('M');
  Put32(b, headerSize + imageSize); Put32(b, 0); Put32(b, headerSize);
  Put32(b, 40); Put32(b, width); Put32(b, height); Put16(b, 1); Put16(b, 24); Put32(b, 0); Put32(b, imageSize);
  Put32(b, 2835); Put32(b, 2835); Put32(b, 0); Put32(b, 0);
  for (uint32_t y = 0; y < height; ++y) {  // bottom-up
    for (uint32_t x = 0; x < width; ++x) {
      const bool border = x < 2 || y < 2 || x >= width - 2 || y >= height - 2;
      const uint8_t blue = uint8_t(border ? 230 : 60 + 150 * y / height), green = uint8_t(border ? 220 : 20 + 60 * y / height);
      b.push_back(blue); b.push_back(green); b.push_back(uint8_t(border ? 200 : 10));
    }
    for (uint32_t pad = width * 3; pad < stride; ++pad) b.push_back(0);
  }
  FILE* f = fopen(argv[1], "wb");
  if (!f || fwrite(b.data(), 1, b.size(), f) != b.size() || fclose(f) != 0) {
    fprintf(stderr, "orvanta_dialogbmp: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
