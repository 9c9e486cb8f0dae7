#include "HvTexturingProperty.h"
#include "HvDevice.h"

namespace {
// Writes a sampler record to stage s: each field that the current record does not already hold.
// Without a record the stage gets linear filtering and wrap addressing, unconditionally.
bool WriteSampler(HvDevice& d, DWORD s, const HvTextureSampler* record, const HvTextureSampler* current) {
  if (!record) {
    return d.SetSamplerState(s, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR) && d.SetSamplerState(s, D3DSAMP_MINFILTER, D3DTEXF_LINEAR) &&
           d.SetSamplerState(s, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR) && d.SetSamplerState(s, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP) &&
           d.SetSamplerState(s, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP) && d.SetSamplerState(s, D3DSAMP_ADDRESSW, D3DTADDRESS_WRAP);
  }
  for (uint32_t i = 0; i < HvTextureSampler::FieldCount; ++i)
    if (!current || current->Get(i) != record->Get(i))
      if (!d.SetSamplerState(s, HvTextureSampler::StateOf(i), record->Get(i))) return false;
  return true;
}

// Writes one half (colour or alpha) of a stage-state record: each value that the current record does
// not already hold. A current record whose same half is switched off never wrote its values, so it
// vouches for nothing.
bool WriteHalf(HvDevice& d, DWORD s, const D3DTEXTURESTAGESTATETYPE types[3], const uint32_t values[3],
               const uint32_t* currentValues) {
  for (int i = 0; i < 3; ++i)
    if (!currentValues || currentValues[i] != values[i])
      if (!d.SetTextureStageState(s, types[i], values[i])) return false;
  return true;
}

// Writes a stage-state record to stage s; without a record, the Direct3D defaults of that stage.
bool WriteStageState(HvDevice& d, DWORD s, const HvTextureStageState* record, const HvTextureStageState* current) {
  static const D3DTEXTURESTAGESTATETYPE colorTypes[3] = {D3DTSS_COLOROP, D3DTSS_COLORARG1, D3DTSS_COLORARG2};
  static const D3DTEXTURESTAGESTATETYPE alphaTypes[3] = {D3DTSS_ALPHAOP, D3DTSS_ALPHAARG1, D3DTSS_ALPHAARG2};
  if (!record) {
    const uint32_t colorOp = s == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE, alphaOp = s == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
    const uint32_t color[3] = {colorOp, D3DTA_TEXTURE, D3DTA_CURRENT}, alpha[3] = {alphaOp, D3DTA_TEXTURE, D3DTA_CURRENT};
    return WriteHalf(d, s, colorTypes, color, nullptr) && WriteHalf(d, s, alphaTypes, alpha, nullptr);
  }
  const uint32_t color[3] = {record->colorOp, record->colorArg1, record->colorArg2};
  const uint32_t alpha[3] = {record->alphaOp, record->alphaArg1, record->alphaArg2};
  uint32_t currentColor[3], currentAlpha[3];
  const bool colorKnown = current && current->useColor == 1, alphaKnown = current && current->useAlpha == 1;
  if (current) {
    currentColor[0] = current->colorOp, currentColor[1] = current->colorArg1, currentColor[2] = current->colorArg2;
    currentAlpha[0] = current->alphaOp, currentAlpha[1] = current->alphaArg1, currentAlpha[2] = current->alphaArg2;
  }
  if (record->useColor == 1 && !WriteHalf(d, s, colorTypes, color, colorKnown ? currentColor : nullptr)) return false;
  if (record->useAlpha == 1 && !WriteHalf(d, s, alphaTypes, alpha, alphaKnown ? currentAlpha : nullptr)) return false;
  return true;
}
}

void HvTexturingProperty::SetStage(uint32_t stage, HvTexture* texture, HvTextureStageState* state) {
  stages[stage].texture = texture;
  stages[stage].state = state;
}

void HvTexturingProperty::ClearTexture(uint32_t stage) { stages[stage].texture.Reset(); }

void HvTexturingProperty::SetTextureFactor(const float color[4]) {
  if (!factor) factor.reset(new Color);
  for (int i = 0; i < 4; ++i) factor->c[i] = color[i];
}

HvProperty* HvTexturingProperty::Clone() const {
  HvTexturingProperty* p = new HvTexturingProperty;
  for (uint32_t s = 0; s < StageCount; ++s) p->stages[s] = stages[s];
  if (factor) p->SetTextureFactor(factor->c);
  return p;
}

bool HvTexturingProperty::Apply(HvNode*) {
  HvRenderRegisters& r = Registers();
  HvDevice& d = Device();
  for (DWORD s = 0; s < StageCount; ++s) {
    if (HvTexture* t = stages[s].texture.Get()) {
      if (t != r.textures[s].Get() && !d.SetTexture(s, t)) return false;
      previousTextures[s] = r.textures[s];
      r.textures[s] = t;
      HvTextureSampler* sampler = t->GetSampler();
      if (sampler != r.samplers[s].Get() && !WriteSampler(d, s, sampler, r.samplers[s].Get())) return false;
      previousSamplers[s] = r.samplers[s];
      r.samplers[s] = sampler;
    }
    HvTextureStageState* state = stages[s].state.Get();
    if (state != r.stageStates[s].Get() && !WriteStageState(d, s, state, r.stageStates[s].Get())) return false;
    previousStates[s] = r.stageStates[s];
    r.stageStates[s] = state;
  }
  if (factor && factor->c != r.textureFactor) {
    if (!d.SetRenderState(D3DRS_TEXTUREFACTOR, ToD3DColor(factor->c))) return false;
    previousFactor = r.textureFactor;
    r.textureFactor = factor->c;
  }
  if (!stages[0].texture) {
    // Stage 0 is unbound for this subtree; the register says so, so that a nested property binds
    // its texture again and Restore gives the enclosing one back.
    previousTextures[0] = r.textures[0];
    r.textures[0].Reset();
    if (!d.SetTexture(0, nullptr)) return false;
  }
  return true;
}

bool HvTexturingProperty::Restore(HvNode*) {
  HvRenderRegisters& r = Registers();
  HvDevice& d = Device();
  for (DWORD s = 0; s < StageCount; ++s) {
    if (stages[s].texture || s == 0) {
      HvTexture* previous = previousTextures[s].Get();
      if (previous != r.textures[s].Get() && !d.SetTexture(s, previous)) return false;
      r.textures[s] = previous;
    }
    if (stages[s].texture) {
      HvTextureSampler* previous = previousSamplers[s].Get();
      if (previous != r.samplers[s].Get() && !WriteSampler(d, s, previous, r.samplers[s].Get())) return false;
      r.samplers[s] = previous;
    }
    HvTextureStageState* previous = previousStates[s].Get();
    if (previous != r.stageStates[s].Get() && !WriteStageState(d, s, previous, r.stageStates[s].Get())) return false;
    r.stageStates[s] = previous;
  }
  if (factor) {
    if (!d.SetRenderState(D3DRS_TEXTUREFACTOR, previousFactor ? ToD3DColor(previousFactor) : 0xFFFFFFFF)) return false;
    r.textureFactor = previousFactor;
  }
  if (!r.textures[0] && !d.SetTexture(0, nullptr)) return false;
  return true;
}
