#include "HvAnimationProperty.h"
#include <algorithm>

namespace {
// The keys around t: prev and next indices and the blend factor between them.
struct KeySpan {
  size_t prev, next;
  float factor;
};

template <class Key> KeySpan FindSpan(const std::vector<Key>& keys, float t) {
  t = std::min(t, float(keys.back().time));
  size_t i = 0;
  while (i + 1 < keys.size() && float(keys[i].time) < t) ++i;
  const size_t prev = i > 0 ? i - 1 : 0;
  const float t0 = float(keys[prev].time), t1 = float(keys[i].time);
  return {prev, i, t1 != t0 ? (t - t0) / (t1 - t0) : 0.0f};
}

template <class Key> uint32_t LastTime(const std::vector<Key>& keys) { return keys.empty() ? 0 : keys.back().time; }
}

uint32_t HvAnimationProperty::GetLastKeyTime() const {
  return std::max({LastTime(rotationKeys), LastTime(scaleKeys), LastTime(positionKeys), LastTime(matrixKeys)});
}

D3DXVECTOR3 HvAnimationProperty::SampleVector(const std::vector<HvVectorKey>& keys, float t) {
  const KeySpan s = FindSpan(keys, t);
  const HvVectorKey& a = keys[s.prev];
  const HvVectorKey& b = keys[s.next];
  return D3DXVECTOR3(a.x + (b.x - a.x) * s.factor, a.y + (b.y - a.y) * s.factor, a.z + (b.z - a.z) * s.factor);
}

D3DXQUATERNION HvAnimationProperty::SampleRotation(const std::vector<HvRotationKey>& keys, float t) {
  const KeySpan s = FindSpan(keys, t);
  const HvRotationKey& a = keys[s.prev];
  const HvRotationKey& b = keys[s.next];
  const D3DXQUATERNION qa(a.x, a.y, a.z, -a.w), qb(b.x, b.y, b.z, -b.w);
  D3DXQUATERNION q;
  D3DXQuaternionSlerp(&q, &qa, &qb, s.factor);
  return q;
}

const HvMatrixKey& HvAnimationProperty::SampleMatrix(const std::vector<HvMatrixKey>& keys, float t) {
  const KeySpan s = FindSpan(keys, t);
  return s.factor <= 0.5f ? keys[s.prev] : keys[s.next];
}

D3DXMATRIX HvAnimationProperty::Sample(uint32_t ticks, const D3DXMATRIX& preTransform) const {
  const float t = float(ticks);
  if (!matrixKeys.empty()) return D3DXMATRIX(SampleMatrix(matrixKeys, t).m);
  D3DXMATRIX m, part;
  D3DXMatrixIdentity(&m);
  if (!scaleKeys.empty()) {
    const D3DXVECTOR3 s = SampleVector(scaleKeys, t);
    m *= *D3DXMatrixScaling(&part, s.x, s.y, s.z);
  }
  if (!rotationKeys.empty()) {
    const D3DXQUATERNION q = SampleRotation(rotationKeys, t);
    m *= *D3DXMatrixRotationQuaternion(&part, &q);
  }
  if (!positionKeys.empty()) {
    const D3DXVECTOR3 p = SampleVector(positionKeys, t);
    m *= *D3DXMatrixTranslation(&part, p.x, p.y, p.z);
  } else {
    m._41 = preTransform._41;
    m._42 = preTransform._42;
    m._43 = preTransform._43;
  }
  return m;
}
