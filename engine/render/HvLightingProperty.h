// Fixed-function lighting for a subtree: an ambient colour and an ordered list of lights, light i
// going to the device's light index i. With a vertex shader bound the shader reads the lights from
// its constants instead.
#pragma once
#include "HvLight.h"
#include "HvProperty.h"
#include <vector>

class HvLightingProperty : public HvProperty {
public:
  HvLightingProperty() : HvProperty(HvPropertyLighting, HvPriorityState) {}
  bool Apply(HvNode* node) override;
  bool Restore(HvNode* node) override;

  void AddLight(HvLight* light) { lights.push_back(light); }

  std::vector<HvRef<HvLight>> lights;
  float ambient[4] = {0, 0, 0, 1};         // r, g, b, a
  HvRef<HvLightingProperty> previous;      // the lighting property in force before Apply

private:
  // Sends lights 0..n-1 of a property and switches off the indices above them that are still on.
  static bool SendLights(const HvLightingProperty& p, bool prepare);
};
