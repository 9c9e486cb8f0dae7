// A 2D texture: a named engine object that owns one Direct3D texture. Registered in the texture pool
// under its name, which for a loaded texture is the file path exactly as the caller spelled it.
#pragma once
#include "HvTextureSampler.h"
#include "../core/HvObject.h"
#include <d3d9.h>
#include <cstdint>
#include <string>

struct TextureDesc {
  uint32_t width = 0xFFFFFFFF;   // texels; all ones: unset
  uint32_t height = 0xFFFFFFFF;  // texels; all ones: unset
  uint32_t mipLevels = 1;
  D3DFORMAT format = D3DFMT_UNKNOWN;
  bool renderTarget = false;     // default pool, one level; dropped and re-made around a device reset
};

class HvTexture : public HvEngineObject {
public:
  // Shares one object per name: a name already in the texture pool returns that object without
  // reading the file. Null (after a message box) when the file cannot be loaded.
  static HvTexture* CreateTextureFromFile(const std::string& name, DWORD filter);

  HvTexture(const char* name, TextureDesc desc);  // no device resource yet: Changed is set
  ~HvTexture() override;

  virtual bool CreateResource();   // an empty texture from the description
  virtual bool ReleaseResource();
  virtual IDirect3DTexture9* GetD3DTexture() const { return texture; }  // may be null

  bool Release() override;
  bool OnDeviceLost() override;
  bool OnDeviceReset() override;
  bool Refresh() override;

  // Whether the top level holds a texel with alpha below 255; only A8R8G8B8 textures can.
  bool HasTranslucentPixels() const;

  const TextureDesc& GetDesc() const { return desc; }
  HvTextureSampler* GetSampler() const { return sampler.Get(); }  // null: the stage defaults apply
  void SetSampler(HvTextureSampler* s) { sampler = s; }

protected:
  IDirect3DTexture9* texture = nullptr;  // owned
  TextureDesc desc;
  HvRef<HvTextureSampler> sampler;
};
