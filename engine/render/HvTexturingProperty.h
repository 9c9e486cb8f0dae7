// Binds up to eight textures with their sampler and texture-stage settings, and optionally the
// texture factor colour, for a subtree. Each stage is compared with the registers of the property in
// force (HvRenderRegisters), so that a nested property sends only what differs.
#pragma once
#include "HvProperty.h"
#include "HvTextureStageState.h"
#include "../assets/HvTexture.h"
#include <memory>

class HvTexturingProperty : public HvProperty {
public:
  static const uint32_t StageCount = 8;

  HvTexturingProperty() : HvProperty(HvPropertyTexturing, HvPriorityState) {}

  bool Apply(HvNode* node) override;
  bool Restore(HvNode* node) override;
  HvProperty* Clone() const override;  // same textures and stage states, own factor colour

  void SetStage(uint32_t stage, HvTexture* texture, HvTextureStageState* state);
  void ClearTexture(uint32_t stage);
  HvTexture* GetTexture(uint32_t stage) const { return stages[stage].texture.Get(); }
  HvTextureStageState* GetStageState(uint32_t stage) const { return stages[stage].state.Get(); }

  void SetTextureFactor(const float color[4]);  // r, g, b, a; copied into the property's own colour
  void ClearTextureFactor() { factor.reset(); }
  const float* GetTextureFactor() const { return factor ? factor->c : nullptr; }

private:
  struct Stage {
    HvRef<HvTexture> texture;
    HvRef<HvTextureStageState> state;
  };
  struct Color {
    float c[4];
  };

  Stage stages[StageCount];
  // The registers as Apply found them, given back by Restore.
  HvRef<HvTexture> previousTextures[StageCount];
  HvRef<HvTextureSampler> previousSamplers[StageCount];
  HvRef<HvTextureStageState> previousStates[StageCount];
  std::unique_ptr<Color> factor;         // null: the texture factor is left alone
  const float* previousFactor = nullptr; // not owned: the colour of an enclosing property
};
