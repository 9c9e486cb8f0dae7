#include "HvTexture.h"
#include "../core/HvCore.h"
#include "../core/HvMessageBox.h"
#include "../core/HvRelease.h"
#include "../core/HvStartupTimes.h"
#include "../core/HvTrace.h"
#include "../render/HvDevice.h"
#include <d3dx9.h>
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>

static IDirect3DDevice9* D3DDevice() { return HvCore::GetInstance()->GetDevice()->GetD3DDevice(); }

namespace {
uint32_t U16(const std::string& b, size_t at) { return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8; }
uint32_t U32(const std::string& b, size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }
uint32_t U16BigEndian(const std::string& b, size_t at) { return uint32_t(uint8_t(b[at])) << 8 | uint8_t(b[at + 1]); }

// Texels a compressed picture may claim per byte of its file: far more than real pictures reach, far
// less than a damaged size field asks for.
const uint64_t MaxTexelsPerByte = 256;

// What the header of a BMP, TGA, DDS or JPEG file says about the picture's size: false if the size is
// absurd for the file, or (uncompressed data) if the texels it claims are not all in the file. The
// graphics library takes such sizes on trust: it allocates for them and reads past the data.
// Other formats go to the library unchecked.
bool PlausibleImage(const std::string& name, const std::string& b) {
  const uint64_t size = b.size();
  uint64_t width = 0, height = 0, pixelBytes = 0, pixelStart = 0;
  std::string extension = name.substr(std::min(name.size(), name.rfind('.') + 1));
  for (char& c : extension) c = char(tolower(uint8_t(c)));
  if (size >= 26 && b.compare(0, 2, "BM") == 0) {
    uint32_t bits, compression = 0;
    if (U32(b, 14) == 12) {  // the old core header
      width = U16(b, 18);
      height = U16(b, 20);
      bits = U16(b, 24);
    } else {
      if (size < 54) return false;
      const int32_t w = int32_t(U32(b, 18)), h = int32_t(U32(b, 22));  // a negative height: top row first
      if (w <= 0 || h == 0 || h == INT32_MIN) return false;
      width = uint64_t(w);
      height = uint64_t(h < 0 ? -int64_t(h) : h);
      bits = U16(b, 28);
      compression = U32(b, 30);
    }
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    if (compression == 0 || compression == 3) {  // plain rows, each a multiple of four bytes
      pixelStart = U32(b, 10);
      pixelBytes = (width * bits + 31) / 32 * 4 * height;
    }
  } else if (size >= 128 && b.compare(0, 4, "DDS ") == 0) {
    height = U32(b, 12);
    width = U32(b, 16);
    const uint32_t formatFlags = U32(b, 80), fourCC = U32(b, 84), bits = U32(b, 88);
    const uint32_t shape = U32(b, 112), levels = U32(b, 28);
    // A cube map holds six faces, a volume `depth` slices.
    const uint64_t faces = (shape & 0x200) ? 6 : (shape & 0x200000) ? std::max<uint32_t>(U32(b, 24), 1) : 1;
    // No level lies beyond the 1 x 1 one; the library would count through every level claimed.
    uint32_t possible = 1;
    for (uint64_t side = std::max(width, height); side > 1; side >>= 1) ++possible;
    if (levels > possible) return false;
    pixelStart = 128;
    if (!(formatFlags & 4)) {  // uncompressed: the top level of every face at the given bits
      if (bits == 0 || bits % 8 || bits > 128) return false;
      pixelBytes = width * height * (bits / 8) * faces;
    } else if (fourCC == MAKEFOURCC('D', 'X', 'T', '1')) {
      pixelBytes = (width + 3) / 4 * ((height + 3) / 4) * 8 * faces;
    } else if (fourCC >= MAKEFOURCC('D', 'X', 'T', '2') && fourCC <= MAKEFOURCC('D', 'X', 'T', '5')) {
      pixelBytes = (width + 3) / 4 * ((height + 3) / 4) * 16 * faces;
    }
  } else if (size >= 4 && uint8_t(b[0]) == 0xFF && uint8_t(b[1]) == 0xD8) {
    // The size is in the start-of-frame segment; the segments before it are skipped by their lengths.
    for (size_t at = 2;;) {
      if (at + 9 >= size || uint8_t(b[at]) != 0xFF) return false;
      const uint32_t marker = uint8_t(b[at + 1]);
      if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
        height = U16BigEndian(b, at + 5);
        width = U16BigEndian(b, at + 7);
        break;
      }
      if (marker == 0xDA || marker == 0xD9) return false;  // the picture data before any size
      at += 2 + U16BigEndian(b, at + 2);
    }
  } else if (extension == "tga") {
    if (size < 18) return false;
    const uint32_t type = uint8_t(b[2]), bits = uint8_t(b[16]);
    width = U16(b, 12);
    height = U16(b, 14);
    if (type == 1 || type == 2 || type == 3) {  // uncompressed, after the id and the colour map
      pixelStart = 18 + uint8_t(b[0]) + (b[1] ? U16(b, 5) * ((uint8_t(b[7]) + 7) / 8) : 0);
      pixelBytes = width * height * ((bits + 7) / 8);
    }
  } else {
    return true;
  }
  if (width == 0 || height == 0 || width * height > size * MaxTexelsPerByte) return false;
  return pixelStart <= size && pixelBytes <= size - pixelStart;
}

bool ReadWholeFile(const std::string& name, std::string& bytes) {
  FILE* f = fopen(name.c_str(), "rb");
  if (!f) return false;
  char block[65536];
  for (size_t n; (n = fread(block, 1, sizeof block, f)) > 0;) bytes.append(block, n);
  const bool ok = !ferror(f);
  fclose(f);
  return ok;
}
}  // namespace

HvTexture* HvTexture::CreateTextureFromFile(const std::string& name, DWORD filter) {
  HvObjectPool* pool = HvCore::GetInstance()->GetPool(HvPoolTexture);
  if (HvObject* found = pool->FindByName(name)) return static_cast<HvTexture*>(found);
  HvStartupStep step("texture loads", true);  // inside a model's load, that model's

  IDirect3DTexture9* loaded = nullptr;
  D3DXIMAGE_INFO info = {};
  std::string bytes;
  // Size, mip count and format come from the file; the full mip chain is built.
  HRESULT hr = E_FAIL;
  if (ReadWholeFile(name, bytes) && PlausibleImage(name, bytes))
    hr = D3DXCreateTextureFromFileInMemoryEx(D3DDevice(), bytes.data(), UINT(bytes.size()), 0, 0, 0, 0, D3DFMT_UNKNOWN,
                                             D3DPOOL_MANAGED, filter, D3DX_DEFAULT, 0, &info, nullptr, &loaded);
  if (SUCCEEDED(hr) && loaded && loaded->GetType() != D3DRTYPE_TEXTURE) HvSafeRelease(loaded);
  if (FAILED(hr) || !loaded) {
    HvShowError(("HvTexture::CreateTextureFromFile : Error loadind texture " + name).c_str());
    return nullptr;
  }
  TextureDesc desc;
  desc.width = info.Width;
  desc.height = info.Height;
  desc.mipLevels = info.MipLevels;
  desc.format = info.Format;
  HvTexture* t = new HvTexture(name.c_str(), desc);  // the pool takes the first reference
  t->texture = loaded;
  t->ClearFlag(HvFlags::Changed);
  HvTraceWrite("Texture '" + name + "' created");
  return t;
}

HvTexture::HvTexture(const char* name, TextureDesc desc) : HvEngineObject(name), desc(desc) {
  SetFlag(HvFlags::Changed);
  HvCore::GetInstance()->GetPool(HvPoolTexture)->Add(this);
}

// Release normally freed the texture already; this only catches an object dropped without it.
HvTexture::~HvTexture() { HvSafeRelease(texture); }

bool HvTexture::CreateResource() {
  HvSafeRelease(texture);  // a second call replaces the texture instead of leaking it
  HRESULT hr = desc.renderTarget
                   ? D3DDevice()->CreateTexture(desc.width, desc.height, 1, D3DUSAGE_RENDERTARGET, desc.format,
                                                D3DPOOL_DEFAULT, &texture, nullptr)
                   : D3DDevice()->CreateTexture(desc.width, desc.height, desc.mipLevels, 0, desc.format,
                                                D3DPOOL_MANAGED, &texture, nullptr);
  if (FAILED(hr)) {
    texture = nullptr;
    HvShowError("Error while creating texture");
    return false;
  }
  HvTraceWrite("Texture '" + GetName() + "' created");
  return true;
}

bool HvTexture::ReleaseResource() {
  if (texture) {
    HvSafeRelease(texture);
    HvTraceWrite("Texture '" + GetName() + "' released");
  }
  return true;
}

bool HvTexture::Release() {
  ReleaseResource();
  SetFlag(HvFlags::Released);
  return true;
}

// Managed textures survive a reset; render targets live in the default pool and must go.
bool HvTexture::OnDeviceLost() {
  if (desc.renderTarget) {
    ReleaseResource();
    SetFlag(HvFlags::Changed);
  }
  return true;
}

bool HvTexture::OnDeviceReset() { return !desc.renderTarget || Refresh(); }

bool HvTexture::Refresh() {
  if (!CreateResource()) return false;
  ClearFlag(HvFlags::Changed);
  return true;
}

bool HvTexture::HasTranslucentPixels() const {
  if (desc.format != D3DFMT_A8R8G8B8) return false;
  if (!texture || texture->GetType() != D3DRTYPE_TEXTURE) return false;
  // Never read past the level actually allocated, whatever the description says.
  D3DSURFACE_DESC level = {};
  if (FAILED(texture->GetLevelDesc(0, &level))) return false;
  const uint32_t width = std::min<uint32_t>(desc.width, level.Width);
  const uint32_t height = std::min<uint32_t>(desc.height, level.Height);
  D3DLOCKED_RECT rect;
  if (FAILED(texture->LockRect(0, &rect, nullptr, D3DLOCK_READONLY))) return false;
  bool translucent = false;
  const BYTE* row = static_cast<const BYTE*>(rect.pBits);
  for (uint32_t y = 0; y < height && !translucent; ++y, row += rect.Pitch)
    for (uint32_t x = 0; x < width; ++x)
      if (row[x * 4 + 3] != 255) {
        translucent = true;
        break;
      }
  if (FAILED(texture->UnlockRect(0))) return false;
  return translucent;
}
