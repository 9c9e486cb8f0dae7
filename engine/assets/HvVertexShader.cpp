#include "HvVertexShader.h"
#include "../core/HvCore.h"
#include "../core/HvRelease.h"

HvVertexShader::HvVertexShader(const char* name) : HvEngineObject(name) {
  SetFlag(HvFlags::Changed);
  HvCore::GetInstance()->GetPool(HvPoolVertexShader)->Add(this);
}

HvVertexShader::~HvVertexShader() {
  HvSafeRelease(shader);
  HvSafeRelease(declaration);
}
