#include "HvTexture.h"
#include "../core/HvCore.h"
#include "../core/HvRelease.h"

HvTexture::HvTexture(const char* name) : HvEngineObject(name) {
  SetFlag(HvFlags::Changed);
  HvCore::GetInstance()->GetPool(HvPoolTexture)->Add(this);
}

HvTexture::~HvTexture() { HvSafeRelease(texture); }
