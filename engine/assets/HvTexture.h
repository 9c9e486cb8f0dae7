// A 2D texture: a named engine object that owns one Direct3D texture. Registered in the texture pool.
#pragma once
#include "../core/HvObject.h"
#include <d3d9.h>

class HvTexture : public HvEngineObject {
public:
  explicit HvTexture(const char* name);
  ~HvTexture() override;

  IDirect3DTexture9* GetD3DTexture() const { return texture; }  // may be null

protected:
  IDirect3DTexture9* texture = nullptr;  // owned
};
