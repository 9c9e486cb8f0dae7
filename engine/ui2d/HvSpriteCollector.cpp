#include "HvSpriteCollector.h"
#include "HvSprite.h"
#include "../assets/HvTexture.h"
#include "../core/HvCore.h"
#include "../core/HvRelease.h"
#include "../render/HvDevice.h"
#include <d3dx9.h>

HvSpriteCollector::HvSpriteCollector(const char* name) : HvEngineObject(name) {
  HvCore::GetInstance()->GetPool(HvPoolSpriteCollector)->Add(this);
}

// Release normally freed the sprite object already; this only catches a collector dropped without it.
HvSpriteCollector::~HvSpriteCollector() { HvSafeRelease(sprite); }

bool HvSpriteCollector::PostCreate() {
  HvSafeRelease(sprite);
  return HvCheckResult(D3DXCreateSprite(HvCore::GetInstance()->GetDevice()->GetD3DDevice(), &sprite),
                       "Cannot create Direct3D sprite object");
}

bool HvSpriteCollector::Render() {
  HvObjectPool* pool = HvCore::GetInstance()->GetPool(HvPoolSprite);
  if (pool->GetCount() == 0 || !sprite) return true;
  if (!HvCheckResult(sprite->Begin(D3DXSPRITE_ALPHABLEND), "Error while begining drawing sprites")) return false;
  const D3DXVECTOR3 origin(0, 0, 0);
  for (size_t i = 0; i < pool->GetCount(); ++i) {
    const auto* s = static_cast<const HvSprite*>(pool->GetMember(i));
    // A sprite whose image could not be loaded was reported then; it is left out rather than ending the show.
    if (!s->IsVisible() || !s->GetTexture() || !s->GetTexture()->GetD3DTexture()) continue;
    if (!HvCheckResult(sprite->SetTransform(&s->GetTransform()), "Error while setting sprite transform")) return false;
    if (!HvCheckResult(sprite->Draw(s->GetTexture()->GetD3DTexture(), nullptr, &origin, &origin, ToD3DColor(s->GetColor())),
                       "Error while drawing sprite"))
      return false;
  }
  return HvCheckResult(sprite->End(), "Error while ending drawing sprites");
}

bool HvSpriteCollector::OnDeviceLost() {
  return !sprite || HvCheckResult(sprite->OnLostDevice(), "Error while releasing D3D Sprite");
}

bool HvSpriteCollector::OnDeviceReset() {
  return !sprite || HvCheckResult(sprite->OnResetDevice(), "Error while reseting D3D Sprite");
}

bool HvSpriteCollector::Release() {
  HvSafeRelease(sprite);
  SetFlag(HvFlags::Released);
  return true;
}
