// Carries the keyframes of one animated node, read by the animation controller (HvAnimationController).
// Applying and restoring it does nothing; it cannot be cloned. Keys are in ascending time order, as
// the file gives them; times are ticks (4800 per second).
#pragma once
#include "HvProperty.h"
#include <d3dx9.h>
#include <vector>

struct HvRotationKey { uint32_t time; float w, x, y, z; };  // ticks; quaternion in file order
struct HvVectorKey { uint32_t time; float x, y, z; };       // scale or position
struct HvMatrixKey { uint32_t time; float m[16]; };         // row-major

class HvAnimationProperty : public HvProperty {
public:
  HvAnimationProperty() : HvProperty(HvPropertyAnimation, HvPriorityState) {}

  // The largest time among the last keys of the four arrays; 0 without keys.
  uint32_t GetLastKeyTime() const;

  // The node's animation matrix at `ticks`. Matrix keys, if any, decide alone; otherwise scale, then
  // rotation, then translation, each from its keys. Without position keys the translation row of
  // `preTransform` (the node's own frame matrix) is kept.
  D3DXMATRIX Sample(uint32_t ticks, const D3DXMATRIX& preTransform) const;

  // One key array at tick t: clamped to the last key, linear between the keys around t, the first
  // key's value before it. Each array must not be empty.
  static D3DXVECTOR3 SampleVector(const std::vector<HvVectorKey>& keys, float t);
  // Slerp between the two keys; a key (w, x, y, z) is the quaternion (x, y, z, -w).
  static D3DXQUATERNION SampleRotation(const std::vector<HvRotationKey>& keys, float t);
  // No blending: the earlier key up to half way, the later one after.
  static const HvMatrixKey& SampleMatrix(const std::vector<HvMatrixKey>& keys, float t);

  std::vector<HvRotationKey> rotationKeys;
  std::vector<HvVectorKey> scaleKeys;
  std::vector<HvVectorKey> positionKeys;
  std::vector<HvMatrixKey> matrixKeys;  // never filled by the loader: it decomposes matrix keys
};
