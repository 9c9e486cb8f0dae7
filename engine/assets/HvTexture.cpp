#include "HvTexture.h"
#include "../core/HvCore.h"
#include "../core/HvMessageBox.h"
#include "../core/HvRelease.h"
#include "../core/HvStartupTimes.h"
#include "../core/HvTrace.h"
#include "../render/HvDevice.h"
#include <d3dx9.h>
#include <algorithm>

static IDirect3DDevice9* D3DDevice() { return HvCore::GetInstance()->GetDevice()->GetD3DDevice(); }

HvTexture* HvTexture::CreateTextureFromFile(const std::string& name, DWORD filter) {
  HvObjectPool* pool = HvCore::GetInstance()->GetPool(HvPoolTexture);
  if (HvObject* found = pool->FindByName(name)) return static_cast<HvTexture*>(found);
  HvStartupStep step("texture loads", true);  // inside a model's load, that model's

  IDirect3DTexture9* loaded = nullptr;
  D3DXIMAGE_INFO info = {};
  // Size, mip count and format come from the file; the full mip chain is built.
  HRESULT hr = D3DXCreateTextureFromFileExA(D3DDevice(), name.c_str(), 0, 0, 0, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED,
                                            filter, D3DX_DEFAULT, 0, &info, nullptr, &loaded);
  if (FAILED(hr) || !loaded) {
    HvShowError(("HvTexture::CreateTextureFromFile : Error loadind texture " + name).c_str());
    return nullptr;
  }
  if (loaded->GetType() != D3DRTYPE_TEXTURE) {
    loaded->Release();
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
