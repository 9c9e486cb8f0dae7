// Five differently shaded copies of the space ship of the station model, side by side under the
// ship's parent: specular lighting with an environment map (the loaded node itself), a toon look, a
// doubled environment reflection, a pulsing surface and an additive hologram. The station scene
// derives from this class and shows one copy at a time. Requires the model (with its node "ship" and
// the sub-nodes "Material_1" .. "Material_4") to be the object's node before PostCreate.
#pragma once
#include "CObject.h"
#include "../../engine/assets/HvTexture.h"
#include "../../engine/render/HvNode.h"
#include "../../engine/render/HvTextureStageState.h"

class CEffectShip : public CObject {
public:
  // Indices into the ship nodes; ShipModel and Specular are the same node.
  enum ShipVariant : uint32_t { ShipModel = 0, Specular = 1, Toon = 2, EnvReflection = 3, Pulse = 4, Hologram = 5 };
  static const uint32_t ShipNodeCount = 6;

  explicit CEffectShip(const char* name) : CObject(name) {}
  ~CEffectShip() override;

  bool PostCreate() override;  // loads the ramps and cube maps from "Station\" and builds the copies
  bool Update() override;      // shader time
  bool ScheduleEvents() override { return true; }

  // Hides every copy, then shows the one given.
  void ShowShip(uint32_t variant);
  HvNode* GetShipNode(uint32_t variant) const { return shipNodes[variant].Get(); }
  const float* GetShaderTime() const { return shaderTime; }

protected:
  // On every textured node (pass 0) of the subtree: stages 0 and 1 get t0 and t1, the state goes with t1.
  static void SetShipTextures(HvNode* node, HvTexture* t0, HvTexture* t1, HvTextureStageState* state);
  // Stage 1 gets the texture and state, stage 2 is emptied; texture factor (0, 0, 0, factorAlpha).
  static void SetEnvironmentStage(HvNode* node, HvTexture* texture, HvTextureStageState* state, float factorAlpha);
  void SetCubeStages(HvNode* node, HvTextureStageState* state);  // the two environment cubes
  void SetHologramStage(HvNode* node);                           // stage 0: the hologram ramp

  HvRef<HvTexture> environmentCube;        // "CubeTexture.dds"
  HvRef<HvTexture> secondEnvironmentCube;  // "CubeTexture2.dds"
  HvRef<HvTexture> toonRamp;               // "toon.bmp"
  HvRef<HvTexture> edgeRamp;               // "edgeimage.dds"
  HvRef<HvTexture> hologramRamp;           // "ice.tga"
  HvRef<HvNode> shipNodes[ShipNodeCount];
  float shaderTime[4] = {0, 0, 0, 1};      // (0.3 t, 0.3 t, 0.3 t, 1), t in timer seconds; read by the pulse

private:
  void SetupSpecular();
  void SetupToon();
  void SetupEnvReflection();
  void SetupPulse();
  void SetupHologram();
};

// The names of the four copies made of "ship", in the order of the variants Toon .. Hologram.
extern const char* const kShipCopyNames[4];
