#include "TestImages.h"
#include "engine/core/HvCore.h"
#include "engine/render/HvDevice.h"
#include <d3dx9.h>
#include <cstdio>
#include <cstring>

namespace {
struct File {
  explicit File(const std::string& path) : f(fopen(path.c_str(), "wb")) {}
  ~File() { if (f) fclose(f); }
  template <class T> void Put(T v) { fwrite(&v, sizeof v, 1, f); }
  void Bytes(const void* p, size_t n) { fwrite(p, 1, n, f); }
  bool Ok() const { return f && !ferror(f); }
  FILE* f;
};
}

bool WriteBmp24(const std::string& path, int width, int height, const Texels& texels) {
  const int pitch = (width * 3 + 3) & ~3;
  File f(path);
  if (!f.f) return false;
  f.Bytes("BM", 2);
  f.Put<uint32_t>(54 + pitch * height);
  f.Put<uint32_t>(0);
  f.Put<uint32_t>(54);
  f.Put<uint32_t>(40);
  f.Put<int32_t>(width);
  f.Put<int32_t>(height);  // positive: bottom-up rows
  f.Put<uint16_t>(1);
  f.Put<uint16_t>(24);
  for (int i = 0; i < 6; ++i) f.Put<uint32_t>(0);
  for (int y = height - 1; y >= 0; --y) {
    std::vector<uint8_t> row(pitch, 0);
    for (int x = 0; x < width; ++x) memcpy(&row[x * 3], &texels[y * width + x], 3);  // B, G, R
    f.Bytes(row.data(), row.size());
  }
  return f.Ok();
}

bool WriteTga(const std::string& path, int width, int height, int bitsPerPixel, const Texels& texels) {
  File f(path);
  if (!f.f) return false;
  const uint8_t header[12] = {0, 0, 2};  // no id, no palette, uncompressed true colour
  f.Bytes(header, sizeof header);
  f.Put<uint16_t>(width);
  f.Put<uint16_t>(height);
  f.Put<uint8_t>(bitsPerPixel);
  f.Put<uint8_t>(0x20 | (bitsPerPixel == 32 ? 8 : 0));  // top-down rows, alpha bits
  for (uint32_t t : texels) f.Bytes(&t, bitsPerPixel / 8);  // B, G, R (, A)
  return f.Ok();
}

bool WriteDds(const std::string& path, int width, int height, int faces, const Texels& texels) {
  File f(path);
  if (!f.f) return false;
  uint32_t h[32] = {};
  h[0] = 0x20534444;  // "DDS "
  h[1] = 124;
  h[2] = 0x1 | 0x2 | 0x4 | 0x8 | 0x1000;  // caps, height, width, pitch, pixel format
  h[3] = height;
  h[4] = width;
  h[5] = width * 4;
  h[19] = 32;          // pixel format size
  h[20] = 0x41;        // RGB with alpha
  h[22] = 32;
  h[23] = 0x00FF0000;  // R, G, B, A masks
  h[24] = 0x0000FF00;
  h[25] = 0x000000FF;
  h[26] = 0xFF000000;
  h[27] = 0x1000 | (faces == 6 ? 0x8 : 0);  // texture (, complex)
  h[28] = faces == 6 ? 0x200 | 0xFC00 : 0;  // cube map with all six faces
  f.Bytes(h, sizeof h);
  for (int face = 0; face < faces; ++face) f.Bytes(texels.data(), texels.size() * 4);
  return f.Ok();
}

bool WriteJpeg(const std::string& path, int width, int height, const Texels& texels) {
  IDirect3DDevice9* device = HvCore::GetInstance()->GetDevice()->GetD3DDevice();
  IDirect3DTexture9* t = nullptr;
  if (FAILED(device->CreateTexture(width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &t, nullptr))) return false;
  D3DLOCKED_RECT r;
  bool ok = SUCCEEDED(t->LockRect(0, &r, nullptr, 0));
  if (ok) {
    for (int y = 0; y < height; ++y) memcpy(static_cast<uint8_t*>(r.pBits) + y * r.Pitch, &texels[y * width], width * 4);
    t->UnlockRect(0);
    ok = SUCCEEDED(D3DXSaveTextureToFileA(path.c_str(), D3DXIFF_JPG, t, nullptr));
  }
  t->Release();
  return ok;
}
