#include "HvSprite.h"
#include "../assets/HvTexture.h"
#include "../core/HvCore.h"

static uint32_t spritesMade = 0;  // names the sprites Sprite_0, Sprite_1, ... in creation order

D3DXMATRIX HvSpriteTransform(const float position[2], const float pivot[2], const float scale[2], float rotation,
                             float screenWidth, float screenHeight, float textureWidth, float textureHeight) {
  D3DXMATRIX m, step;
  D3DXMatrixTranslation(&m, -textureWidth * pivot[0], -textureHeight * pivot[1], 0);
  m *= *D3DXMatrixScaling(&step, scale[0], scale[1], 1);
  m *= *D3DXMatrixRotationZ(&step, rotation);
  m *= *D3DXMatrixTranslation(&step, screenWidth * position[0], screenHeight * position[1], 0);
  return m;
}

HvSprite::HvSprite(const std::string& file, float x, float y)
    : HvEngineObject(("Sprite_" + std::to_string(spritesMade++)).c_str()),
      texture(HvTexture::CreateTextureFromFile(file, D3DX_DEFAULT)),
      position{x, y} {
  D3DXMatrixIdentity(&transform);
  Refresh();
  HvCore::GetInstance()->GetPool(HvPoolSprite)->Add(this);
}

HvSprite::~HvSprite() = default;

bool HvSprite::Refresh() {
  const HvDeviceSettings& s = HvCore::GetInstance()->GetSettings();
  const float tw = texture ? float(texture->GetDesc().width) : 0;
  const float th = texture ? float(texture->GetDesc().height) : 0;
  transform = HvSpriteTransform(position, pivot, scale, rotation, float(s.displayWidth), float(s.displayHeight), tw, th);
  ClearFlag(HvFlags::Changed);
  return true;
}
