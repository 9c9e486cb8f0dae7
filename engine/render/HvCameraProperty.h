// Makes a camera current for a subtree: updates it (it follows its nodes) and, when it is not
// already current, sets the device's view and projection transforms.
#pragma once
#include "HvCamera.h"
#include "HvProperty.h"

class HvCameraProperty : public HvProperty {
public:
  explicit HvCameraProperty(HvCamera* c = nullptr) : HvProperty(HvPropertyCamera, HvPriorityCamera), camera(c) {}
  bool Apply(HvNode* node) override;
  bool Restore(HvNode* node) override;

  HvRef<HvCamera> camera;
  HvRef<HvCamera> previous;  // the camera current before Apply
};
