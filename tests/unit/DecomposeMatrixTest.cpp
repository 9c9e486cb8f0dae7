// Polar decomposition of affine matrices into translation, rotation and scale.
#include <gtest/gtest.h>
#include "engine/assets/HvDecomposeMatrix.h"

namespace {
const float Tolerance = 1e-5f;

// q and -q are the same rotation.
void ExpectSameRotation(const D3DXQUATERNION& got, const D3DXQUATERNION& want) {
  const float sign = D3DXQuaternionDot(&got, &want) < 0 ? -1.0f : 1.0f;
  EXPECT_NEAR(got.x * sign, want.x, Tolerance);
  EXPECT_NEAR(got.y * sign, want.y, Tolerance);
  EXPECT_NEAR(got.z * sign, want.z, Tolerance);
  EXPECT_NEAR(got.w * sign, want.w, Tolerance);
}

void ExpectVector(const D3DXVECTOR3& got, const D3DXVECTOR3& want) {
  EXPECT_NEAR(got.x, want.x, Tolerance);
  EXPECT_NEAR(got.y, want.y, Tolerance);
  EXPECT_NEAR(got.z, want.z, Tolerance);
}

// scale, then rotation, then translation (row vectors)
D3DXMATRIX Compose(const D3DXVECTOR3& s, const D3DXQUATERNION& q, const D3DXVECTOR3& t) {
  D3DXMATRIX ms, mr, mt;
  D3DXMatrixScaling(&ms, s.x, s.y, s.z);
  D3DXMatrixRotationQuaternion(&mr, &q);
  D3DXMatrixTranslation(&mt, t.x, t.y, t.z);
  return ms * mr * mt;
}

D3DXQUATERNION Rotation(float x, float y, float z, float angle) {
  D3DXQUATERNION q;
  D3DXVECTOR3 axis(x, y, z);
  D3DXQuaternionRotationAxis(&q, &axis, angle);
  return q;
}
}

TEST(DecomposeMatrixTest, RecoversTranslationRotationAndScale) {
  struct Case {
    const char* what;
    D3DXVECTOR3 scale;
    D3DXQUATERNION rotation;
    D3DXVECTOR3 translation;
  } cases[] = {
    {"translation only", {1, 1, 1}, {0, 0, 0, 1}, {10, -20, 30.5f}},
    {"rotation about y", {1, 1, 1}, Rotation(0, 1, 0, 0.7f), {0, 0, 0}},
    {"uniform scale 2 with rotation", {2, 2, 2}, Rotation(1, 2, 3, 1.1f), {5, 6, 7}},
    {"small uniform scale", {0.05f, 0.05f, 0.05f}, Rotation(0, 0, 1, -2.5f), {0, -12, 0}},
    {"non-uniform scale", {1, 2, 3}, Rotation(-1, 0.5f, 2, 0.4f), {1, 2, 3}},
    {"non-uniform without rotation", {4, 0.5f, 2}, {0, 0, 0, 1}, {0, 0, 0}},
    {"half turn", {1, 1, 1}, Rotation(0, 1, 0, D3DX_PI), {0, 0, 1600}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    D3DXVECTOR3 t, s;
    D3DXQUATERNION q;
    DecomposeMatrix(Compose(c.scale, c.rotation, c.translation), &t, &q, &s);
    ExpectVector(t, c.translation);
    ExpectSameRotation(q, c.rotation);
    ExpectVector(s, c.scale);
  }
}

TEST(DecomposeMatrixTest, MirrorStillGivesAProperRotation) {
  const D3DXQUATERNION r = Rotation(0, 0, 1, 0.3f);
  D3DXVECTOR3 t, s;
  D3DXQUATERNION q;
  DecomposeMatrix(Compose({-1, 1, 1}, r, {1, 1, 1}), &t, &q, &s);
  EXPECT_NEAR(D3DXQuaternionLength(&q), 1.0f, Tolerance);
  // Rebuilt with the rotation and the sign folded back in, the matrix comes out again.
  D3DXMATRIX rebuilt, mr;
  D3DXMatrixRotationQuaternion(&mr, &q);
  D3DXMatrixScaling(&rebuilt, -s.x, -s.y, -s.z);
  rebuilt *= mr;
  const D3DXMATRIX original = Compose({-1, 1, 1}, r, {0, 0, 0});
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(rebuilt(i, j), original(i, j), Tolerance) << i << "," << j;
}

TEST(DecomposeMatrixTest, SingularMatrixDoesNotBreakTheRotation) {
  D3DXVECTOR3 t, s;
  D3DXQUATERNION q;
  DecomposeMatrix(Compose({0, 1, 1}, Rotation(0, 1, 0, 0.5f), {3, 4, 5}), &t, &q, &s);
  ExpectVector(t, {3, 4, 5});
  EXPECT_NEAR(D3DXQuaternionLength(&q), 1.0f, Tolerance);
  DecomposeMatrix(D3DXMATRIX(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 1), &t, &q, &s);
  ExpectSameRotation(q, {0, 0, 0, 1});
  ExpectVector(s, {0, 0, 0});
}
