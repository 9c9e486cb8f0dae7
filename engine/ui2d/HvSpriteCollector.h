// Draws every active sprite of the core's sprite pool once per frame through one D3DX sprite object,
// after the 3D passes: in pool (creation) order, so later sprites cover earlier ones, alpha blended.
// The core owns the one collector, "Default sprite collector"; it sits in the sprite collector pool.
#pragma once
#include "../core/HvObject.h"

struct ID3DXSprite;

class HvSpriteCollector : public HvEngineObject {
public:
  explicit HvSpriteCollector(const char* name);
  ~HvSpriteCollector() override;

  bool PostCreate() override;     // the D3DX sprite object on the core's device
  bool Render() override;         // the active sprites
  bool OnDeviceLost() override;
  bool OnDeviceReset() override;
  bool Release() override;

  ID3DXSprite* GetD3DXSprite() const { return sprite; }

private:
  ID3DXSprite* sprite = nullptr;  // owned; null until PostCreate and after Release
};
