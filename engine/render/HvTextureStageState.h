// How one texture stage combines colour and alpha, as Direct3D texture-stage values. Either half is
// written only when its use field is 1. Shared by texturing properties.
#pragma once
#include "../core/HvObject.h"
#include <cstdint>

class HvTextureStageState : public HvRefCount {
public:
  uint32_t useColor = 0;      // 1: colorOp, colorArg1, colorArg2 are applied
  uint32_t colorOp = 0;       // D3DTOP_*
  uint32_t colorArg1 = 0;     // D3DTA_*
  uint32_t colorArg2 = 0;
  uint32_t useAlpha = 0;      // 1: alphaOp, alphaArg1, alphaArg2 are applied
  uint32_t alphaOp = 0;
  uint32_t alphaArg1 = 0;
  uint32_t alphaArg2 = 0;
};
