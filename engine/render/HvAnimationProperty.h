// Carries the keyframes of one animated node, read by the animation controller. Applying and
// restoring it does nothing; it cannot be cloned. Keys are in ascending time order.
#pragma once
#include "HvProperty.h"
#include <vector>

struct HvRotationKey { uint32_t time; float w, x, y, z; };  // ticks; quaternion in file order
struct HvVectorKey { uint32_t time; float x, y, z; };       // scale or position
struct HvMatrixKey { uint32_t time; float m[16]; };         // row-major

class HvAnimationProperty : public HvProperty {
public:
  HvAnimationProperty() : HvProperty(HvPropertyAnimation, HvPriorityState) {}

  std::vector<HvRotationKey> rotationKeys;
  std::vector<HvVectorKey> scaleKeys;
  std::vector<HvVectorKey> positionKeys;
  std::vector<HvMatrixKey> matrixKeys;
};
